#include "model/kvnotebookbuild.h"

#include "app/kvtexts.h"
#include "model/kvdircontext.h"
#include "model/kvpage.h"
#include "model/kvpasswordlist.h"
#include "platform/applog.h"
#include "store/kvdirstores.h"
#include "store/texmeminifile.h"

namespace {

const QString kTopFolder = u"TopFolder"_qs;
const QString kTrashFolder = u"TrashFolder"_qs;

// Installs the snapshots as read sources and always removes them again.
class ReadSourceGuard
{
public:
    ReadSourceGuard(TexMemIniFile* object, TexMemIniFile* folder, TexMemIniFile* page)
    {
        KvReadSources::Install(object, folder, page);
    }
    ~ReadSourceGuard() { KvReadSources::Remove(); }
    ReadSourceGuard(const ReadSourceGuard&) = delete;
    ReadSourceGuard& operator=(const ReadSourceGuard&) = delete;
};

} // namespace

std::unique_ptr<KvFolder> KvElementFactory::CreateRoot(const QString& id, quint8 kind)
{
    return std::make_unique<KvFolder>(id, nullptr, kind, true);
}

KvFolder* KvElementFactory::CreateFolder(const QString& id, KvFolder* parent, bool atEnd)
{
    return new KvFolder(id, parent, KvFolder::NormalFolder, atEnd); // owned by parent
}

KvPage* KvElementFactory::CreatePage(const QString& id, KvFolder* parent, bool atEnd)
{
    return new KvPage(id, parent, atEnd); // owned by parent
}

KvNotebook::KvNotebook() = default;
KvNotebook::~KvNotebook()
{
    Reset();
}
KvNotebook::KvNotebook(KvNotebook&&) noexcept = default;
KvNotebook& KvNotebook::operator=(KvNotebook&&) noexcept = default;

void KvNotebook::Reset()
{
    trash.reset();
    top.reset();
    objectSnapshot.reset();
}

namespace KvNotebookBuild {

KvNotebook Build(KvElementFactory& factory, const std::function<void(KvNotebook&)>& beforeLoad)
{
    KV_LOG_SCOPE("KvNotebookBuild::Build");
    KvNotebook nb;
    nb.objectSnapshot = std::make_unique<TexMemIniFile>(KvDirStores::ObjectStore());
    TexMemIniFile folders(KvDirStores::FolderStore());
    TexMemIniFile pages(KvDirStores::PageStore());
    {
        ReadSourceGuard sources(nb.objectSnapshot.get(), &folders, &pages);
        nb.top = factory.CreateRoot(kTopFolder, KvFolder::TopFolder);
        nb.trash = factory.CreateRoot(kTrashFolder, KvFolder::TrashFolder);
        if (beforeLoad)
            beforeLoad(nb);
        nb.top->LoadChildren();
        nb.trash->LoadChildren();
        ResolveAllReferrers();
        KvPasswordList::Clear();
    }
    return nb;
}

QStringList FindLostIds(KvPropReader& objectSnapshot)
{
    KV_LOG_SCOPE("KvNotebookBuild::FindLostIds");
    QStringList lost;
    for (const QString& id : FindUnreferencedSections(objectSnapshot)) {
        if (id == kTopFolder || id == kTrashFolder)
            continue;
        if ((id.contains(u"Page"_qs) || id.contains(u"Fldr"_qs)) && !lost.contains(id))
            lost.append(id);
    }
    return lost;
}

QString RecoveryFolderName(const QDateTime& when)
{
    return KvTexts::Message(5070, {when.toString(u"dd.MM.yyyy HH:mm"_qs)});
}

KvRecoveryResult RecoverLostElements(KvFolder& top, KvPropReader& objectSnapshot,
                                     KvElementFactory& factory, const QDateTime& when,
                                     const std::function<void(KvFolder&)>& storeTop)
{
    KvLogScope log("KvNotebookBuild::RecoverLostElements");
    KvRecoveryResult result;
    const QStringList lost = FindLostIds(objectSnapshot);
    if (lost.isEmpty()) {
        log.Exit(1);
        return result;
    }
    TexIniFile& objects = KvDirContext::ObjStore();
    const QString id = objects.NewSectionName(u"Fldr"_qs);
    KvFolder* folder = factory.CreateFolder(id, &top);
    if (storeTop)
        storeTop(top);
    else
        top.Store();
    folder->SetName(RecoveryFolderName(when));
    for (const QString& lostId : lost) {
        // An element that came back with an earlier one (a lost folder's child) is there.
        if (FindObject(lostId))
            continue;
        if (lostId.contains(u"Page"_qs)) {
            factory.CreatePage(lostId, folder);
        } else {
            KvFolder* sub = factory.CreateFolder(lostId, folder);
            sub->LoadChildren();
        }
        result.recovered.append(lostId);
    }
    ResolveAllReferrers();
    folder->Store();
    objects.UpdateFile();
    result.folder = folder;
    return result;
}

} // namespace KvNotebookBuild
