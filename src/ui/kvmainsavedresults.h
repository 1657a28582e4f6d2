#pragma once

#include "ui/kvresultitemview.h"

#include <QObject>

class KvSearchResults;
class TMainF;
struct KvCommandContext;
struct KvSearchCrit;

// The saved search results in the main window's result panel: the drop-down list
// SearchResCoB mirrors the entries of KvSearchResults, a chosen result shows in the result
// list ResultLV, and the commands save, delete and rename them and run the batch commands
// on the list's selected rows.
class KvMainSavedResults : public QObject
{
    Q_OBJECT
public:
    explicit KvMainSavedResults(TMainF& window);

    // Connects the drop-down list once the window's controls exist.
    void AttachPanel();
    // The results of the open directory (owned elsewhere), or none when it closes.
    void SetResults(KvSearchResults* results);
    KvSearchResults* Results() const { return m_results; }

    void Context(KvCommandContext& c) const;

    // The entry chosen in the drop-down list is shown (also when the search window is left
    // or closed).
    void SearchResCoBChange();
    // A search starts: a saved result shown leaves the list; entry 0 names the new search.
    void DetachCurrent();
    void NewCurrentSearch(const KvSearchCrit& crit);
    // The criteria of the saved result shown, for a new search; null when none is shown.
    const KvSearchCrit* CurrentCriteria() const;
    // Rows leave the saved result shown, which is written; false when none is shown.
    bool RemoveFromCurrent(const QStringList& ids);
    // Writes the selected entry and every changed result when the directory closes.
    void StoreAtExit(bool fullAccess);

    void SearchResSave();
    void SearchResDelete();
    void SearchResRename();
    void DeleteResPMIClick();
    void MoveResPMIClick();

private:
    // The drop-down list shows the entries and the selected one.
    void fillBox();
    void updateFoundLabel();
    bool fullPath() const;

    TMainF& m_w;
    KvSearchResults* m_results = nullptr;
    std::unique_ptr<KvResultItemView> m_view;
};
