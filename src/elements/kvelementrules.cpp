#include "elements/kvelementrules.h"

#include "app/kvtexts.h"
#include "model/kvfolder.h"
#include "model/kvnewpagelayout.h"
#include "model/kvpage.h"

#include <QSet>

namespace {

const QString kTopFolder = u"TopFolder"_qs;
const QString kTrashFolder = u"TrashFolder"_qs;

QString Caption(int kindText, const QString& name)
{
    return KvTexts::Text(5060) + u' ' + KvTexts::Text(kindText) + u" '"_qs + name + u'\'';
}

bool Writable(const KvObject& obj)
{
    if (const auto* page = dynamic_cast<const KvPage*>(&obj))
        return page->GetWritable();
    if (const auto* folder = dynamic_cast<const KvFolder*>(&obj))
        return folder->GetWritable();
    return false;
}

// The folder uses page as the template of its own new-page layout.
bool UsesAsTemplate(KvFolder& folder, const QString& pageId)
{
    KvNewPageLayout* layout = folder.GetNewPageLayout();
    if (layout->Inherited())
        return false;
    const KvPage* t = layout->GetTemplatePage();
    return t && t->Id() == pageId;
}

} // namespace

namespace KvElementRules {

bool InTrash(const KvObject& obj, const KvFolder& trash)
{
    return obj.Id() == trash.Id() || obj.HasAncestor(&trash);
}

bool IsRoot(const KvObject& obj)
{
    const QString& id = obj.Id();
    return id == kTopFolder || id == kTrashFolder;
}

bool DeletePossible(const KvPage* page, bool fullAccess, bool busy, const KvElementOptions& o)
{
    if (!page || !fullAccess || !page->GetWritable() || busy)
        return false;
    return !(page->GetWriteProtect() && o.WPNoPageDelete);
}

bool DeletePossible(KvFolder* folder, bool fullAccess, bool busy, const KvElementOptions& o)
{
    if (!fullAccess || !folder || IsRoot(*folder) || !folder->GetWritable() || busy)
        return false;
    return !(o.WPNoFolderDelete && folder->ContainsWriteProtectedPage());
}

bool Move2FolderPossible(const KvPage* page, bool fullAccess, bool busy, const KvElementOptions& o)
{
    if (!page || !fullAccess || !page->GetWritable() || busy)
        return false;
    return !(page->GetWriteProtect() && o.WPNoPageMove);
}

bool Move2FolderPossible(KvFolder* folder, bool fullAccess, bool busy, const KvElementOptions& o)
{
    if (!fullAccess || !folder || IsRoot(*folder) || !folder->GetWritable() || busy)
        return false;
    return !(o.WPNoFolderMove && folder->ContainsWriteProtectedPage());
}

KvTopLast GetElemStateTopLast(const KvObject* obj)
{
    if (!obj || obj->IsRemoved() || !obj->Parent())
        return {};
    const int at = obj->IndexInParent();
    return {at == 1, at == obj->Parent()->ChildCount()};
}

std::optional<KvQuestion> DeletePageQuestion(KvPage& page, const KvElementOptions& o, KvFolder& top,
                                             KvFolder& trash)
{
    if (!o.MsgDelPage)
        return std::nullopt;
    const QString caption = Caption(5000, page.Name());
    if (!o.MsgDelPageWP && !o.MsgDelPageTempl && !o.MsgDelPageRef)
        return KvQuestion{caption, KvTexts::Text(5002)};
    if (o.MsgDelPageWP && page.GetWriteProtect())
        return KvQuestion{caption, KvTexts::Text(5002)};
    if (o.MsgDelPageTempl) {
        if (KvFolder* user = TemplateInFolder(page, top, trash))
            return KvQuestion{caption, KvTexts::Message(5054, {user->PathText(true, u"/"_qs)})};
    }
    if (o.MsgDelPageRef && !page.Referrers().isEmpty())
        return KvQuestion{caption,
                          KvTexts::Message(5056, {QString::number(page.Referrers().size())})};
    return std::nullopt;
}

std::optional<KvQuestion> DeleteFolderQuestion(KvFolder& folder, const KvElementOptions& o,
                                               KvFolder& top, KvFolder& trash)
{
    if (!o.MsgDelFolder)
        return std::nullopt;
    const QString caption = Caption(5001, folder.Name());
    if (!o.MsgDelFldrWP && !o.MsgDelFTempl && !o.MsgDelFRef)
        return KvQuestion{caption, KvTexts::Text(5003)};
    const QList<KvObject*> below = CollectDescendants(&folder);
    if (o.MsgDelFldrWP) {
        for (KvObject* obj : below) {
            if (auto* page = dynamic_cast<KvPage*>(obj); page && page->GetWriteProtect())
                return KvQuestion{caption, KvTexts::Text(5003)};
        }
    }
    if (o.MsgDelFTempl) {
        for (KvObject* obj : below) {
            auto* page = dynamic_cast<KvPage*>(obj);
            if (!page)
                continue;
            if (KvFolder* user = TemplateInFolder(*page, top, trash))
                return KvQuestion{
                    caption, KvTexts::Message(5055, {page->Name(), user->PathText(true, u"/"_qs)})};
        }
    }
    if (o.MsgDelFRef) {
        for (KvObject* obj : below) {
            if (!obj->Referrers().isEmpty())
                return KvQuestion{caption, KvTexts::Message(5057, {obj->Name()})};
        }
    }
    return std::nullopt;
}

std::optional<KvQuestion> MovePageQuestion(KvPage& page, const KvElementOptions& o)
{
    if (!page.GetWriteProtect() || !o.MsgMovePageWP)
        return std::nullopt;
    return KvQuestion{KvTexts::Text(5000) + u" '"_qs + page.Name() + u"':"_qs,
                      KvTexts::Text(5015) + u' ' + KvTexts::Text(5016)};
}

std::optional<KvQuestion> MoveFolderQuestion(KvFolder& folder, const KvElementOptions& o)
{
    if (!o.MsgMoveFldrWP || !folder.ContainsWriteProtectedPage())
        return std::nullopt;
    return KvQuestion{KvTexts::Text(5001) + u" '"_qs + folder.Name() + u"':"_qs,
                      KvTexts::Text(5013) + u' ' + KvTexts::Text(5014)};
}

bool ReferrerPossible(KvPage& page, const KvFolder& trash)
{
    if (InTrash(page, trash))
        return false;
    if (!page.IsReferrer())
        return true;
    page.ResolveTarget();
    const KvObject* target = page.Target();
    return !target || !InTrash(*target, trash);
}

QList<KvObject*> ReferrersOutside(KvFolder& trash)
{
    QList<KvObject*> outside;
    QSet<const KvObject*> seen;
    for (KvObject* obj : CollectDescendants(&trash)) {
        for (KvObject* r : obj->Referrers()) {
            if (!InTrash(*r, trash) && !seen.contains(r)) {
                seen.insert(r);
                outside.append(r);
            }
        }
    }
    return outside;
}

std::optional<KvQuestion> EmptyTrashQuestion(KvFolder& trash, const KvElementOptions& o)
{
    if (!o.MsgEmptyTrash)
        return std::nullopt;
    const qsizetype outside = ReferrersOutside(trash).size();
    return KvQuestion{KvTexts::Text(1117),
                      outside == 0 ? KvTexts::Text(5032)
                                   : KvTexts::Message(5524, {QString::number(outside)})};
}

KvFolder* TemplateInFolder(const KvPage& page, KvFolder& top, KvFolder& trash)
{
    const QString& id = page.Id();
    for (KvFolder* root : {&top, &trash}) {
        for (KvObject* obj : CollectDescendants(root)) {
            auto* folder = dynamic_cast<KvFolder*>(obj);
            if (folder && UsesAsTemplate(*folder, id))
                return folder;
        }
        if (UsesAsTemplate(*root, id))
            return root;
    }
    return nullptr;
}

bool CanStartDrag(KvObject& obj, bool fullAccess, bool searchRunning, const KvElementOptions& o)
{
    if (!fullAccess || searchRunning || IsRoot(obj) || !Writable(obj))
        return false;
    if (auto* page = dynamic_cast<KvPage*>(&obj))
        return !(page->GetWriteProtect() && (o.WPNoMousePageMove || o.WPNoPageMove));
    if (auto* folder = dynamic_cast<KvFolder*>(&obj)) {
        if (!o.WPNoMouseFolderMove && !o.WPNoFolderMove)
            return true;
        return !folder->ContainsWriteProtectedPage();
    }
    return false;
}

KvDropVerdict DropVerdict(const KvObject& drag, const KvObject& drop)
{
    if (drop.HasAncestor(&drag))
        return {false, 5011};
    const bool dropIsFolder = dynamic_cast<const KvFolder*>(&drop) != nullptr;
    const bool dragIsPage = dynamic_cast<const KvPage*>(&drag) != nullptr;
    if (dropIsFolder && (dragIsPage || drag.Id() != drop.Id()))
        return {true, 5012};
    return {false, 5010};
}

} // namespace KvElementRules
