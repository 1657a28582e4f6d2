#include "store/kvstorebatch.h"

#include "platform/applog.h"
#include "platform/kvatomicfile.h"
#include "store/kvdirstores.h"

#include <QFile>
#include <exception>
#include <optional>

namespace {

int g_depth = 0;
// Content files written inside the batch are synced together, before the member files.
std::optional<KvAtomicFile::DeferSync> g_deferSync;

QStringList& pendingDeletes()
{
    static QStringList files;
    return files;
}

// The four stores of the data directory that are open.
QList<TexIniFile*> directoryStores()
{
    QList<TexIniFile*> stores;
    if (!KvDirStores::IsOpen())
        return stores;
    // Page, folder and keyword sections first: a crash between the members then leaves
    // elements whose properties are written rather than listed ids without them.
    stores << &KvDirStores::PageStore() << &KvDirStores::FolderStore()
           << &KvDirStores::KeywordStore() << &KvDirStores::ObjectStore();
    return stores;
}

// Ends the outermost batch: every store writes; the noted files go when all could.
void finish(bool raise)
{
    g_deferSync.reset(); // syncs them
    std::exception_ptr first;
    for (TexIniFile* store : directoryStores()) {
        try {
            store->EndBatch();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    }
    const QStringList files = std::exchange(pendingDeletes(), {});
    if (!first) {
        for (const QString& path : files) {
            if (QFile::exists(path) && !QFile::remove(path))
                KvAppLog::Write(u"KvStoreBatch: cannot delete "_qs + path);
        }
    } else {
        KvAppLog::Write(
            u"KvStoreBatch: the stores could not be written; %1 content file(s) kept"_qs.arg(
                files.size()));
    }
    if (first && raise)
        std::rethrow_exception(first);
}

} // namespace

KvStoreBatch::KvStoreBatch()
{
    KV_LOG_SCOPE("KvStoreBatch::KvStoreBatch");
    if (g_depth++ == 0) {
        g_deferSync.emplace();
        for (TexIniFile* store : directoryStores())
            store->BeginBatch();
    }
}

KvStoreBatch::~KvStoreBatch()
{
    if (!m_open)
        return;
    m_open = false;
    if (--g_depth == 0) {
        try {
            finish(false);
        } catch (...) {
        }
    }
}

void KvStoreBatch::Commit()
{
    KV_LOG_SCOPE("KvStoreBatch::Commit");
    if (!m_open)
        return;
    m_open = false;
    if (--g_depth == 0)
        finish(true);
}

bool KvStoreBatch::Active()
{
    return g_depth > 0;
}

void KvStoreBatch::DeleteAfterWrite(const QString& path)
{
    if (g_depth > 0) {
        if (!pendingDeletes().contains(path))
            pendingDeletes().append(path);
        return;
    }
    if (QFile::exists(path) && !QFile::remove(path))
        KvAppLog::Write(u"KvStoreBatch: cannot delete "_qs + path);
}
