#pragma once

#include "lists/kvsearchcrit.h"

// The rules of the search window's boxes, apart from the widgets.
namespace KvSearchFormRules {

// Start may be pressed: there is a first term, or the date or the status filter is on.
inline bool StartPossible(const QString& firstTerm, bool dateFilter, bool statusFilter)
{
    return !firstTerm.isEmpty() || dateFilter || statusFilter;
}

// A click on the page-contents box (or its protected-pages box) left no place but page
// names: page names are searched.
inline void AfterContentsClick(KvSearchCrit& c)
{
    if (!c.PageC && !c.FldrN && !c.PageK && !c.FldrK)
        c.PageN = true;
}

// A click on any other place or filter box left no name and no keyword place: page
// contents are searched.
inline void AfterOtherClick(KvSearchCrit& c)
{
    if (!c.PageN && !c.FldrN && !c.PageK && !c.FldrK)
        c.PageC = true;
}

} // namespace KvSearchFormRules
