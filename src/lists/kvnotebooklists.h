#pragma once

#include <QString>
#include <memory>

class KvAddStatus;
class KvElementLists;
class KvItemList;
class KvSearchResults;

// The lists of one data directory that name its elements and live as long as it is open:
// the bookmarks ("Bookmarks" in the store "bookmark") and the saved search results (store
// "srchres"), each with a store of its own. Hooked into the element lists, they forget
// elements that go and write each store once at the end of a command, only when the
// directory is writable.
class KvNotebookLists
{
public:
    static inline const QString BookmarkStore = u"bookmark"_qs;
    static inline const QString ResultStore = u"srchres"_qs;
    static inline const QString HistoryStore = u"history"_qs;
    static inline const QString BookmarkSection = u"Bookmarks"_qs;

    // dataDir ends with "/"; catalogue names the statuses of 14 and above.
    KvNotebookLists(const QString& dataDir, bool writable, const KvAddStatus* catalogue);
    // Leaves the hooks.
    ~KvNotebookLists();
    KvNotebookLists(const KvNotebookLists&) = delete;
    KvNotebookLists& operator=(const KvNotebookLists&) = delete;

    static QString StorePath(const QString& dataDir, const QString& name);

    KvItemList& Bookmarks() const { return *m_bookmarks; }
    KvSearchResults& Results() const { return *m_results; }
    void Hook(KvElementLists& lists);

private:
    std::unique_ptr<KvItemList> m_bookmarks;
    std::unique_ptr<KvSearchResults> m_results;
    KvElementLists* m_hooked = nullptr;
};
