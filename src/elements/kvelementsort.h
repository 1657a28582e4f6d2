#pragma once

#include <QCollator>
#include <QList>

class KvObject;

// How element names compare when sorting: German collation whatever LANG says, letter case
// ignored, digits as characters (numeric mode off).
class KvNameOrder
{
public:
    KvNameOrder();
    // <0, 0, >0 as a sorts before, with or after b.
    int Compare(const QString& a, const QString& b) const;
    // Keys compare as Compare does, without collating both names again each time.
    QCollatorSortKey Key(const QString& name) const;

private:
    QCollator m_collator;
};

namespace KvElementSort {

// The swap rule of ElementsToSwap: a and b (in this order) change places. Order 0: the
// name of a sorts after that of b; 1: a is a page and b a folder, or both of one kind and
// a's name after b's; 2: the same with folders last; any other order never swaps. The
// kind is "page" when the id contains "Page", else "folder".
bool ElementsToSwap(const KvObject& a, const KvObject& b, int order, const KvNameOrder& names);
// The children of folder in sorted order: a stable sort by the swap rule, the order that
// repeated adjacent swaps reach.
QList<KvObject*> SortedChildren(const KvObject& folder, int order);
// Puts folder's children (and the tree nodes that follow them) into sorted order. Memory
// only. True when the order changed.
bool SortChildren(KvObject& folder, int order);

} // namespace KvElementSort
