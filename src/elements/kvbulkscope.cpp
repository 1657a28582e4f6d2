#include "elements/kvbulkscope.h"

#include "elements/kvelementenv.h"
#include "elements/kvelementmove.h"
#include "elements/kvelementwindow.h"
#include "model/kvfolder.h"
#include "platform/applog.h"

#include <exception>

KvBulkScope::KvBulkScope(KvElementEnv& env, bool saveLists) : m_env(env)
{
    KV_LOG_SCOPE("KvBulkScope::KvBulkScope");
    m_env.Check();
    m_outer = m_env.bulkDepth++ == 0;
    if (m_outer)
        m_wait.emplace();
    m_stores.emplace();
    m_lists.emplace(*m_env.lists, saveLists);
}

KvBulkScope::~KvBulkScope()
{
    if (!m_open)
        return;
    try {
        end(false);
    } catch (...) {
        KvAppLog::Write(u"KvBulkScope: the end of a bulk change failed"_qs);
    }
}

void KvBulkScope::Commit()
{
    KV_LOG_SCOPE("KvBulkScope::Commit");
    if (m_open)
        end(true);
}

void KvBulkScope::end(bool raise)
{
    m_open = false;
    std::exception_ptr first;
    if (m_outer) {
        for (const QString& id : std::exchange(m_env.deferredSorts, {})) {
            auto* folder = dynamic_cast<KvFolder*>(FindObject(id));
            if (!folder || folder->IsRemoved())
                continue;
            try {
                KvElementMove(m_env).SortElements(*folder);
                StoreFolder(m_env, *folder);
            } catch (...) {
                if (!first)
                    first = std::current_exception();
            }
        }
        // Stored while the stores still batch: each member is then written once.
        const QStringList ids = std::exchange(m_env.deferredStores, {});
        for (const QString& id : ids) {
            auto* folder = dynamic_cast<KvFolder*>(FindObject(id));
            if (!folder || folder->IsRemoved())
                continue;
            try {
                m_env.window->StoreFolder(*folder);
            } catch (...) {
                if (!first)
                    first = std::current_exception();
            }
        }
    }
    --m_env.bulkDepth;
    if (m_outer)
        m_env.templateUsers.reset();
    // The stores first, then the lists' one save: a crash in between leaves a list naming
    // an element that went, which it drops when it loads (ids are never reused), rather
    // than a list that lost an element which is still there.
    try {
        if (raise && !first)
            m_stores->Commit();
        m_stores.reset();
    } catch (...) {
        if (!first)
            first = std::current_exception();
        m_stores.reset();
    }
    m_lists.reset();
    if (first) {
        if (raise)
            std::rethrow_exception(first);
        KvAppLog::Write(u"KvBulkScope: a store failed at the end of a bulk change"_qs);
    }
}

void KvBulkScope::StoreFolder(KvElementEnv& env, KvFolder& folder)
{
    if (env.bulkDepth > 0) {
        if (!env.deferredStores.contains(folder.Id()))
            env.deferredStores.append(folder.Id());
        return;
    }
    env.window->StoreFolder(folder);
}

void KvBulkScope::StoreWaitingWithin(KvElementEnv& env, const KvObject& obj)
{
    for (qsizetype i = 0; i < env.deferredStores.size();) {
        auto* folder = dynamic_cast<KvFolder*>(FindObject(env.deferredStores[i]));
        if (folder && !folder->IsRemoved() && (folder == &obj || folder->HasAncestor(&obj))) {
            env.deferredStores.removeAt(i);
            env.window->StoreFolder(*folder);
            continue;
        }
        ++i;
    }
}
