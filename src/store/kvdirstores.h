#pragma once

#include "store/kvobjstore.h"
#include "store/kvpropreader.h"
#include "store/texmeminifile.h"

#include <memory>

// The process-wide property stores: object, keyword, folder and page store of the data
// directory; directory properties and styles in the settings directory. Callers resolve
// the directories; a store used before it was opened raises ENotOpen.
namespace KvDirStores {

class ENotOpen : public KvException
{
public:
    explicit ENotOpen(const QString& store);
};

inline constexpr int SizeLimitKb = 40;

// Opens (first call) or reopens the four stores of the data directory: the object store is
// reopened, then the keyword, folder and page stores each flushed and replaced.
void Reopen(const QString& dataDir);
// Opens the stores of the settings directory ("dirprps", "Styles").
void Open(const QString& settingsDir);
// Flushes every open store; when one cannot be written, raises the first store's
// EIniFileFlush after all were tried.
void FlushAll();
// Destroys every store; each flushes on the way.
void Close();
bool IsOpen();

QString DataDir();
QString SettingsDir();
KvObjStore& ObjStore();
TexIniFile& ObjectStore();
TexIniFile& KeywordStore();
TexIniFile& FolderStore();
TexIniFile& PageStore();
TexIniFile& DirPropsStore();
TexIniFile& StylesStore();

} // namespace KvDirStores

// Where newly constructed objects read their properties: the stores, or snapshots of them
// while the trees are built. Writes always go to the stores.
namespace KvReadSources {

// The snapshots stay owned by the caller and must outlive the installation.
void Install(TexMemIniFile* object, TexMemIniFile* folder, TexMemIniFile* page);
void Remove();
bool SnapshotsInstalled();
KvPropReader& Object();
KvPropReader& Folder();
KvPropReader& Page();

} // namespace KvReadSources

// Builds snapshots of the object, folder and page stores and installs them for its lifetime.
class KvSnapshotScope
{
public:
    KvSnapshotScope();
    ~KvSnapshotScope();
    KvSnapshotScope(const KvSnapshotScope&) = delete;
    KvSnapshotScope& operator=(const KvSnapshotScope&) = delete;

private:
    std::unique_ptr<TexMemIniFile> m_object;
    std::unique_ptr<TexMemIniFile> m_folder;
    std::unique_ptr<TexMemIniFile> m_page;
};
