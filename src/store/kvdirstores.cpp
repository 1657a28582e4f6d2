#include "store/kvdirstores.h"

#include "platform/applog.h"
#include "platform/kvtexttable.h"
#include "store/kvstorebatch.h"

#include <QCoreApplication>
#include <exception>

namespace {

struct Stores
{
    QString dataDir;
    QString settingsDir;
    std::unique_ptr<KvObjStore> object;
    std::unique_ptr<TexIniFile> keyword;
    std::unique_ptr<TexIniFile> folder;
    std::unique_ptr<TexIniFile> page;
    std::unique_ptr<TexIniFile> dirProps;
    std::unique_ptr<TexIniFile> styles;
    bool cleanupRegistered = false;

    TexMemIniFile* objectSnapshot = nullptr;
    TexMemIniFile* folderSnapshot = nullptr;
    TexMemIniFile* pageSnapshot = nullptr;
};

Stores& stores()
{
    static Stores s;
    return s;
}

QString withSlash(const QString& dir)
{
    return dir.isEmpty() || dir.endsWith(u'/') ? dir : dir + u'/';
}

void closeAtExit()
{
    // Flush while the rest of the process (the log among it) is still there.
    Stores& s = stores();
    if (!s.cleanupRegistered && QCoreApplication::instance()) {
        qAddPostRoutine(KvDirStores::Close);
        s.cleanupRegistered = true;
    }
}

void replace(std::unique_ptr<TexIniFile>& store, const QString& basePath, bool useIndex)
{
    // Changes that cannot be written now were reported to the Store that made them.
    if (store)
        store->TryUpdateFile();
    auto fresh = std::make_unique<TexIniFile>(basePath, KvDirStores::SizeLimitKb, useIndex);
    store.swap(fresh); // the old one is destroyed here
}

template <typename T> T& checked(const std::unique_ptr<T>& p, const char16_t* name)
{
    if (!p)
        throw KvDirStores::ENotOpen(QString::fromUtf16(name));
    return *p;
}

} // namespace

namespace KvDirStores {

ENotOpen::ENotOpen(const QString& store) : KvException(KvTextTable::Message(5633, {store})) {}

void Reopen(const QString& dataDir)
{
    KV_LOG_SCOPE("KvDirStores::Reopen");
    Stores& s = stores();
    closeAtExit();
    s.dataDir = withSlash(dataDir);
    if (s.object)
        s.object->Reopen(s.dataDir);
    else
        s.object = std::make_unique<KvObjStore>(s.dataDir + KvObjStore::BaseName());
    replace(s.keyword, s.dataDir + u"keywords"_qs, true);
    replace(s.folder, s.dataDir + u"Fldrprps"_qs, true);
    replace(s.page, s.dataDir + u"Pageprps"_qs, true);
    // The old stores completed a waiting journal as they flushed, or left it to the next
    // opening of their directory.
    KvStoreBatch::Forget();
}

void Open(const QString& settingsDir)
{
    KV_LOG_SCOPE("KvDirStores::Open");
    Stores& s = stores();
    closeAtExit();
    s.settingsDir = withSlash(settingsDir);
    replace(s.dirProps, s.settingsDir + u"dirprps"_qs, false);
    replace(s.styles, s.settingsDir + u"Styles"_qs, false);
}

void FlushAll()
{
    KV_LOG_SCOPE("KvDirStores::FlushAll");
    Stores& s = stores();
    std::exception_ptr first;
    auto flush = [&first](TexIniFile& store) {
        try {
            store.UpdateFile();
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    };
    if (s.object)
        flush(s.object->Store());
    for (auto* store : {&s.keyword, &s.folder, &s.page, &s.dirProps, &s.styles}) {
        if (*store)
            flush(**store);
    }
    if (first)
        std::rethrow_exception(first);
}

void Close()
{
    Stores& s = stores();
    KvReadSources::Remove();
    s.object.reset();
    s.keyword.reset();
    s.folder.reset();
    s.page.reset();
    s.dirProps.reset();
    s.styles.reset();
    KvStoreBatch::Forget();
    // Closed stores name no directory, so whoever needs them next opens them again.
    s.dataDir.clear();
    s.settingsDir.clear();
    s.cleanupRegistered = false;
}

bool IsOpen()
{
    return stores().object != nullptr;
}
QString DataDir()
{
    return stores().dataDir;
}
QString SettingsDir()
{
    return stores().settingsDir;
}
KvObjStore& ObjStore()
{
    return checked(stores().object, u"objprps");
}
TexIniFile& ObjectStore()
{
    return ObjStore().Store();
}
TexIniFile& KeywordStore()
{
    return checked(stores().keyword, u"keywords");
}
TexIniFile& FolderStore()
{
    return checked(stores().folder, u"Fldrprps");
}
TexIniFile& PageStore()
{
    return checked(stores().page, u"Pageprps");
}
TexIniFile& DirPropsStore()
{
    return checked(stores().dirProps, u"dirprps");
}
TexIniFile& StylesStore()
{
    return checked(stores().styles, u"Styles");
}

} // namespace KvDirStores

namespace KvReadSources {

void Install(TexMemIniFile* object, TexMemIniFile* folder, TexMemIniFile* page)
{
    Stores& s = stores();
    s.objectSnapshot = object;
    s.folderSnapshot = folder;
    s.pageSnapshot = page;
}

void Remove()
{
    Install(nullptr, nullptr, nullptr);
}

bool SnapshotsInstalled()
{
    return stores().objectSnapshot != nullptr;
}

KvPropReader& Object()
{
    Stores& s = stores();
    if (s.objectSnapshot)
        return *s.objectSnapshot;
    return KvDirStores::ObjectStore();
}

KvPropReader& Folder()
{
    Stores& s = stores();
    if (s.folderSnapshot)
        return *s.folderSnapshot;
    return KvDirStores::FolderStore();
}

KvPropReader& Page()
{
    Stores& s = stores();
    if (s.pageSnapshot)
        return *s.pageSnapshot;
    return KvDirStores::PageStore();
}

} // namespace KvReadSources

KvSnapshotScope::KvSnapshotScope()
{
    KV_LOG_SCOPE("KvSnapshotScope::KvSnapshotScope");
    m_object = std::make_unique<TexMemIniFile>(KvDirStores::ObjectStore());
    m_folder = std::make_unique<TexMemIniFile>(KvDirStores::FolderStore());
    m_page = std::make_unique<TexMemIniFile>(KvDirStores::PageStore());
    KvReadSources::Install(m_object.get(), m_folder.get(), m_page.get());
}

KvSnapshotScope::~KvSnapshotScope()
{
    KvReadSources::Remove();
}
