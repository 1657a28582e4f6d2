#include "model/kvnotebookbuild.h"

#include "app/kvtexts.h"
#include "model/kvdircontext.h"
#include "model/kvlostname.h"
#include "model/kvnewids.h"
#include "model/kvpage.h"
#include "model/kvpasswordlist.h"
#include "model/kvsectionnames.h"
#include "platform/applog.h"
#include "store/kvdirstores.h"
#include "store/texmeminifile.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <dirent.h>

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

// Ids of the page content files of the directory (names "<id>.<ext>" with "Page" in the
// id), in name order. A plain directory scan: the directory may hold many thousand files.
QStringList ContentFileIds(const QString& dir, const QString& ext)
{
    QStringList ids;
    DIR* d = ::opendir(QFile::encodeName(dir).constData());
    if (!d)
        return ids;
    const QString suffix = u'.' + ext;
    while (const dirent* e = ::readdir(d)) {
        const QString name = QFile::decodeName(e->d_name);
        if (name.endsWith(suffix, Qt::CaseInsensitive) && name.size() > suffix.size()) {
            const QString id = name.chopped(suffix.size());
            if (id.contains(u"Page"_qs))
                ids.append(id);
        }
    }
    ::closedir(d);
    std::sort(ids.begin(), ids.end());
    return ids;
}

// Every object below root, root included.
void CollectTree(KvObject* root, QList<KvObject*>& out)
{
    if (!root)
        return;
    out.append(root);
    out += CollectDescendants(root);
}

// Takes out the pages that have nothing but their place in a list: no name, no target, no
// content file, no page-store or keyword section, no referrer. Such a page was a referrer
// that lost its section (its target is known nowhere else), a referrer whose target left
// no trace, or a page whose section was lost before it was ever saved; kept, it would be
// an empty page without a name. Returns their ids; the folders that listed them are stored.
QStringList DropEmptyShells(KvFolder& top)
{
    QList<KvObject*> all;
    CollectTree(&top, all);
    CollectTree(FindObject(kTrashFolder), all);
    QStringList dropped;
    QList<KvObject*> parents;
    for (KvObject* obj : std::as_const(all)) {
        auto* page = dynamic_cast<KvPage*>(obj);
        if (!page || page->IsRemoved())
            continue;
        // A referrer whose target is gone with all it had (a damaged Ref2 names nothing)
        // shows nothing either.
        const bool dangling = page->IsReferrer() && !page->Target();
        if (!dangling && (page->IsReferrer() || !page->Name().isEmpty()))
            continue;
        const QString& id = page->Id();
        const QString& section = dangling ? page->Ref2() : id;
        if (QFileInfo::exists(page->ContentReadPath()) ||
            KvDirContext::PageStore().SectionExists(section) ||
            KvDirContext::KwdStore().SectionExists(section) || !page->Referrers().isEmpty())
            continue;
        KvObject* parent = page->Parent();
        dropped.append(id);
        page->Remove();
        delete page;
        if (parent && !parents.contains(parent))
            parents.append(parent);
    }
    for (KvObject* parent : std::as_const(parents))
        parent->Store();
    return dropped;
}

// Gives every element whose name was lost a name of its own; returns their ids. The name
// goes to the object store directly: the element needs nothing else stored.
QStringList NameNameless(KvFolder& top, KvPropReader& objectSnapshot,
                         const KvFolder* recoveryFolder)
{
    QList<KvObject*> all;
    CollectTree(&top, all);
    CollectTree(FindObject(kTrashFolder), all);
    TexIniFile& objects = KvDirContext::ObjStore();
    QStringList named;
    for (KvObject* obj : std::as_const(all)) {
        if (obj->IsRemoved() || obj->IsReferrer() || obj == recoveryFolder)
            continue;
        auto* folder = dynamic_cast<KvFolder*>(obj);
        bool lost = false;
        if (folder) {
            // A folder without a stored name got the default one at construction.
            lost = folder->Kind() == KvFolder::NormalFolder &&
                   objectSnapshot.ReadString(obj->Id(), u"Name"_qs, QString()).isEmpty() &&
                   objects.ReadString(obj->Id(), u"Name"_qs, QString()) == KvTexts::Text(5800);
        } else {
            lost = obj->Name().isEmpty();
        }
        if (!lost)
            continue;
        const QString name = KvLostName::For(*obj);
        obj->SetName(name);
        objects.WriteString(obj->Id(), u"Name"_qs, name);
        named.append(obj->Id());
    }
    return named;
}

// The id of a new folder: one never handed out, and none that a child list, a live object
// or a section of the object or folder store still names (an element whose section was
// lost may still be listed).
QString NewFolderId(KvPropReader& objectSnapshot)
{
    const QSet<QString> listed = FindListedIds(objectSnapshot);
    TexIniFile& objects = KvDirContext::ObjStore();
    TexIniFile& folders = KvDirContext::FldrStore();
    return KvNewIds::NewFolderId([&](const QString& id) {
        return listed.contains(id) || FindObject(id) || objects.SectionExists(id) ||
               folders.SectionExists(id);
    });
}

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

QStringList FindOrphanPageIds(KvPropReader& objectSnapshot)
{
    KV_LOG_SCOPE("KvNotebookBuild::FindOrphanPageIds");
    QSet<QString> sections;
    for (const QString& section : objectSnapshot.ReadSections())
        sections.insert(section.toLower());
    const KvDirContext& ctx = KvDirContext::Current();
    QStringList orphans;
    QSet<QString> seen;
    auto add = [&](const QString& id, bool hasSection) {
        const QString key = id.toLower();
        if (!id.contains(u"Page"_qs) || seen.contains(key) || FindObject(id))
            return;
        if (!hasSection && sections.contains(key))
            return; // its section stands for it: a lost element or one that no list reaches
        seen.insert(key);
        orphans.append(id);
    };
    // A page section that a list names, but a list that no folder reaches (a continuation
    // whose key was lost).
    for (const QString& section : objectSnapshot.ReadSections())
        add(section, true);
    for (const QString& section : KvDirContext::PageStore().ReadSections())
        add(section, false);
    for (const QString& id : ContentFileIds(ctx.DataDir(), ctx.fileExt))
        add(id, false);
    return orphans;
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
    const QStringList orphans = FindOrphanPageIds(objectSnapshot);
    TexIniFile& objects = KvDirContext::ObjStore();
    if (lost.isEmpty() && orphans.isEmpty()) {
        result.dropped = DropEmptyShells(top);
        result.named = NameNameless(top, objectSnapshot, nullptr);
        objects.UpdateFile();
        log.Exit(1);
        return result;
    }
    const QString id = NewFolderId(objectSnapshot);
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
    // Pages that no list reaches any more, or known only by their content file or page-store
    // section.
    for (const QString& orphanId : orphans) {
        if (FindObject(orphanId))
            continue; // listed by a folder that came back above
        factory.CreatePage(orphanId, folder);
        result.recovered.append(orphanId);
    }
    ResolveAllReferrers();
    result.dropped = DropEmptyShells(top);
    result.named = NameNameless(top, objectSnapshot, folder);
    folder->Store();
    objects.UpdateFile();
    result.folder = folder;
    return result;
}

} // namespace KvNotebookBuild
