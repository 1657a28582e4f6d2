#include "lists/kvnotebooklists.h"

#include "lists/kvelementlists.h"
#include "lists/kvitemlist.h"
#include "lists/kvsearchresults.h"
#include "platform/applog.h"

KvNotebookLists::KvNotebookLists(const QString& dataDir, bool writable,
                                 const KvAddStatus* catalogue)
{
    KV_LOG_SCOPE("KvNotebookLists::KvNotebookLists");
    m_bookmarks = std::make_unique<KvItemList>(StorePath(dataDir, BookmarkStore), BookmarkSection);
    m_bookmarks->SetWritable(writable);
    m_results = std::make_unique<KvSearchResults>(StorePath(dataDir, ResultStore), catalogue);
    m_results->SetWritable(writable);
}

KvNotebookLists::~KvNotebookLists()
{
    if (m_hooked) {
        m_hooked->Remove(m_bookmarks.get());
        m_hooked->Remove(m_results.get());
    }
}

QString KvNotebookLists::StorePath(const QString& dataDir, const QString& name)
{
    return dataDir.endsWith(u'/') ? QString(dataDir + name) : QString(dataDir + u'/' + name);
}

void KvNotebookLists::Hook(KvElementLists& lists)
{
    lists.Add(m_bookmarks.get());
    lists.Add(m_results.get());
    m_hooked = &lists;
}
