#pragma once

#include "lists/kvelementlistener.h"

#include <QList>
#include <QStringList>
#include <memory>
#include <vector>

class KvAddStatus;
class KvItemView;
class KvSearchResult;
struct KvSearchCrit;
class TexIniFile;

// Every saved search result of a data directory, newest first, in a store of its own
// ("srchres", without a section index, read in one pass), and the entries of the list the
// window chooses them from: entry 0 stands for the current unsaved search (its automatic
// name) or is a header (12083 saved results exist, 12084 none do); entries 1…n are the
// saved results' display names. One saved result may be current: shown in the window's
// result list. While a batch is open, changed results are not written back; the list
// hooks open one for each command, and the batch end writes every changed result with one
// flush of the store, only when the directory is writable.
class KvSearchResults : public KvElementListener
{
public:
    static inline const QString CurrentSection = u"SearchResults"_qs;
    static inline const QString CurrentKey = u"CurrentEntry"_qs;

    // Opens the store on storePath and loads every section whose name holds "List";
    // catalogue names the statuses of 14 and above in the automatic names.
    explicit KvSearchResults(const QString& storePath, const KvAddStatus* catalogue = nullptr);
    ~KvSearchResults() override;
    KvSearchResults(const KvSearchResults&) = delete;
    KvSearchResults& operator=(const KvSearchResults&) = delete;

    // The entries of the drop-down list and the selected one.
    QStringList Entries() const;
    int SelectedEntry() const { return m_selected; }
    // The saved results, newest first (entry i is result i - 1).
    int Count() const { return int(m_results.size()); }
    KvSearchResult* At(int entry) const;
    // The entry of the result with that section; 0 when there is none.
    int EntryOf(const QString& section) const;
    KvSearchResult* CurrentSearchResult() const { return m_current; }
    bool UnsavedShown() const { return m_unsavedShown; }

    // Chooses an entry: above n nothing; 0 no result is current (the view keeps its rows);
    // else the chosen result is shown in view (the previous one unbound) and becomes
    // current, and entry 0 turns into the header, which ends an unsaved result.
    void SelectEntry(int entry, KvItemView* view, bool fullPath);
    // A search was started: entry 0 names it and is selected; no result is current.
    void NewCurrentSearch(const KvSearchCrit& crit);
    // Keeps the rows of view as a new result with crit (written at once unless a batch is
    // open); it becomes entry 1, selected and current, bound to view.
    KvSearchResult& SaveCurrent(const KvSearchCrit& crit, KvItemView* view, bool fullPath);
    // Removes the result of entry 1…n from the store; entry 0 becomes the header and is
    // selected, no result is current.
    void DeleteEntry(int entry);
    // The result of entry 1…n gets the name and is written (unless a batch is open).
    void RenameEntry(int entry, const QString& name);
    // The result that is current is no longer shown: it leaves the view.
    void DetachCurrent();

    // Every result forgets these elements (rows of the current one too).
    void RemoveIds(const QStringList& ids);
    void BeginBatch() override;
    // Lowers the batch counter, never below 0.
    void EndBatch();
    bool InBatch() const { return m_batch > 0; }
    // Writes every changed result with one flush, unless a batch is open or the directory
    // is read-only.
    void SaveAll();
    // Writes the selected entry (CurrentEntry), only when writable.
    void StoreCurrentEntry();

    // Save is possible for entry 0 while it names an unsaved search; delete and rename for
    // the saved results' entries.
    bool CanSave(int entry) const { return entry == 0 && m_unsavedShown; }
    bool CanDeleteOrRename(int entry) const { return entry >= 1 && entry <= Count(); }

    void SetWritable(bool writable) { m_writable = writable; }
    bool Writable() const { return m_writable; }
    TexIniFile& Store() const { return *m_store; }

    // KvElementListener
    QString ListenerName() const override { return u"KvSearchResults"_qs; }
    void ForgetIds(const QStringList& ids) override { RemoveIds(ids); }
    void Renewed(const QStringList& ids) override;
    void EndBatch(bool save) override;

private:
    QString header() const;

    std::unique_ptr<TexIniFile> m_store;
    const KvAddStatus* m_catalogue = nullptr;
    std::vector<std::unique_ptr<KvSearchResult>> m_results;
    KvSearchResult* m_current = nullptr;
    QString m_entry0;
    int m_selected = 0;
    bool m_unsavedShown = false;
    int m_batch = 0;
    bool m_writable = false;
};
