#include "elements/kvbulkscope.h"

#include "elements/kvelementenv.h"
#include "elements/kvelementwindow.h"
#include "model/kvfolder.h"

KvBulkScope::KvBulkScope(KvElementEnv& env, bool saveLists) : m_env(env)
{
    m_outer = m_env.bulkDepth++ == 0;
    m_stores.emplace();
    m_lists.emplace(*m_env.lists, saveLists);
}

KvBulkScope::~KvBulkScope()
{
    if (m_open)
        end(false);
}

void KvBulkScope::Commit()
{
    end(true);
}

void KvBulkScope::end(bool raise)
{
    m_open = false;
    --m_env.bulkDepth;
    m_lists.reset();
    if (raise)
        m_stores->Commit();
    m_stores.reset();
}

void KvBulkScope::StoreFolder(KvElementEnv& env, KvFolder& folder)
{
    env.window->StoreFolder(folder);
}

void KvBulkScope::StoreWaitingWithin(KvElementEnv&, const KvObject&) {}
