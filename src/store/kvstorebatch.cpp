#include "store/kvstorebatch.h"

#include "platform/applog.h"
#include "platform/kvatomicfile.h"
#include "store/kvbatchjournal.h"
#include "store/kvdirstores.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <exception>
#include <optional>

namespace {

int g_depth = 0;
// Content files written inside the batch are synced together, before the member files.
std::optional<KvAtomicFile::DeferSync> g_deferSync;
// The begun journal of this batch is on disk.
bool g_begun = false;
// A redo journal whose member files could not all be written: it is completed before the
// stores write anything else.
QString g_outstanding;

QStringList& pendingDeletes()
{
    static QStringList files;
    return files;
}

QList<std::pair<QString, QString>>& pendingRenames()
{
    static QList<std::pair<QString, QString>> renames;
    return renames;
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

QString dataDir()
{
    return KvDirStores::IsOpen() ? KvDirStores::DataDir() : QString();
}

// The name of path inside the data directory; empty when it lies elsewhere.
QString nameIn(const QString& dir, const QString& path)
{
    if (dir.isEmpty() || !path.startsWith(dir))
        return QString();
    const QString name = path.mid(dir.size());
    return name.contains(u'/') ? QString() : name;
}

void setGuards(const std::function<void()>& guard)
{
    for (TexIniFile* store : directoryStores())
        store->SetFlushGuard(guard);
}

// Rolls forward a journal left by a batch whose member files could not all be written.
void completeOutstanding()
{
    if (g_outstanding.isEmpty())
        return;
    const QString dir = g_outstanding;
    if (KvBatchJournal::Exists(dir))
        KvBatchJournal::Recover(dir, true); // raises when it still cannot write
    g_outstanding.clear();
    setGuards({});
}

// Ends the outermost batch without writing a member: the changes stay pending for the next
// flush, the noted files stay, and a begun journal goes (the pages it would undo may still
// be written by a later flush).
void abandon(const QList<TexIniFile*>& stores, const QString& dir)
{
    for (TexIniFile* store : stores)
        store->EndBatchUnwritten();
    pendingDeletes().clear();
    pendingRenames().clear();
    if (std::exchange(g_begun, false))
        KvBatchJournal::Remove(dir);
}

// Ends the outermost batch: the content files written in it are synced, the journal names
// every member file to write and what goes after, then the members are written and the
// noted files deleted and renamed.
void finish(bool raise)
{
    const QList<TexIniFile*> stores = directoryStores();
    const QString dir = dataDir();
    auto fail = [&](std::exception_ptr e) {
        abandon(stores, dir);
        if (raise)
            std::rethrow_exception(e);
        KvAppLog::Write(u"KvStoreBatch: the stores could not be written; the changes wait"_qs);
    };
    const int syncError = KvAtomicFile::SyncDeferred();
    g_deferSync.reset();
    if (syncError != 0)
        return fail(std::make_exception_ptr(TexIniFile::EIniFileFlush(dir, syncError)));

    KvBatchJournal::Redo redo;
    QStringList outsideDeletes; // files the journal cannot name (not in the directory)
    try {
        completeOutstanding();
        for (TexIniFile* store : stores) {
            std::vector<std::pair<QString, QByteArray>> writes;
            store->PendingWrites(writes);
            for (auto& [path, bytes] : writes) {
                const QString name = nameIn(dir, path);
                if (name.isEmpty())
                    throw TexIniFile::EIniFileFlush(path, EINVAL);
                redo.writes.emplace_back(name, std::move(bytes));
            }
        }
        for (const QString& path : std::as_const(pendingDeletes())) {
            if (!QFileInfo::exists(path))
                continue;
            const QString name = nameIn(dir, path);
            if (name.isEmpty())
                outsideDeletes.append(path);
            else
                redo.deletes.append(name);
        }
        for (const auto& [from, to] : std::as_const(pendingRenames())) {
            const QString fromName = nameIn(dir, from);
            const QString toName = nameIn(dir, to);
            if (!fromName.isEmpty() && !toName.isEmpty() && QFileInfo::exists(from))
                redo.renames.append({fromName, toName});
        }
        if (!redo.IsEmpty())
            KvBatchJournal::WriteRedo(dir, redo);
    } catch (...) {
        return fail(std::current_exception());
    }
    g_begun = false;
    pendingDeletes().clear();
    pendingRenames().clear();

    std::exception_ptr first;
    for (TexIniFile* store : stores) {
        try {
            store->EndBatch();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    }
    if (first) {
        // The journal completes the change: before the next write of the stores, or at the
        // next opening.
        if (!redo.IsEmpty()) {
            g_outstanding = dir;
            setGuards(completeOutstanding);
        }
        if (raise)
            std::rethrow_exception(first);
        KvAppLog::Write(u"KvStoreBatch: the stores could not be written; the journal waits"_qs);
        return;
    }
    try {
        if (!redo.IsEmpty())
            KvBatchJournal::Complete(dir, redo);
        else if (KvBatchJournal::Exists(dir))
            KvBatchJournal::Remove(dir); // a begun change that wrote nothing
    } catch (...) {
        g_outstanding = dir;
        setGuards(completeOutstanding);
        if (raise)
            throw;
    }
    for (const QString& path : std::as_const(outsideDeletes)) {
        if (!QFile::remove(path))
            KvAppLog::Write(u"KvStoreBatch: cannot delete "_qs + path);
    }
}

} // namespace

KvStoreBatch::KvStoreBatch()
{
    KV_LOG_SCOPE("KvStoreBatch::KvStoreBatch");
    if (g_depth++ == 0) {
        g_deferSync.emplace();
        g_begun = false;
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

bool KvStoreBatch::RenameAfterWrite(const QString& fromPath, const QString& toPath)
{
    if (g_depth == 0)
        return false;
    pendingRenames().append({fromPath, toPath});
    return true;
}

void KvStoreBatch::NewPageContent(const QString& prefix, int number)
{
    if (g_depth == 0 || g_begun)
        return;
    const QString dir = dataDir();
    if (dir.isEmpty())
        return;
    KV_LOG_SCOPE("KvStoreBatch::NewPageContent");
    completeOutstanding();
    KvBatchJournal::WriteBegun(dir, prefix, number);
    g_begun = true;
}

void KvStoreBatch::CompleteOutstanding()
{
    completeOutstanding();
}

bool KvStoreBatch::Outstanding()
{
    return !g_outstanding.isEmpty();
}

void KvStoreBatch::Forget()
{
    g_outstanding.clear();
    setGuards({});
}
