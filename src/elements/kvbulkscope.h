#pragma once

#include "lists/kvelementlists.h"
#include "store/kvstorebatch.h"
#include "store/waitcrsr.h"

#include <optional>

struct KvElementEnv;
class KvFolder;
class KvObject;

// One element command over many elements: a store batch (each changed member file written
// once at the end), one batch of the element lists (one save), the wait cursor, and the
// folders whose store was asked for stored once at the end, by id. The end comes also after
// an error or a stop: what was done is stored. Scopes nest; the outermost one ends the
// batch.
class KvBulkScope
{
public:
    explicit KvBulkScope(KvElementEnv& env, bool saveLists = true);
    // Ends the scope unless Commit did; failures are logged.
    ~KvBulkScope();
    KvBulkScope(const KvBulkScope&) = delete;
    KvBulkScope& operator=(const KvBulkScope&) = delete;

    // Stores the waiting folders and writes the stores; raises the first failure.
    void Commit();

    // Stores folder now, or at the end of the outermost scope when one is open.
    static void StoreFolder(KvElementEnv& env, KvFolder& folder);
    // Stores now the waiting folders that are obj or lie below it (before obj is rebuilt
    // from the stores).
    static void StoreWaitingWithin(KvElementEnv& env, const KvObject& obj);

private:
    void end(bool raise);

    KvElementEnv& m_env;
    bool m_outer = false;
    bool m_open = true;
    std::optional<WaitCrsr> m_wait;
    std::optional<KvStoreBatch> m_stores;
    std::optional<KvElementLists::Batch> m_lists;
};
