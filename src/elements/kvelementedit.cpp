#include "elements/kvelementedit.h"

#include "app/kvtexts.h"
#include "elements/kvbulkscope.h"
#include "elements/kvelementask.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementids.h"
#include "elements/kvelementmove.h"
#include "elements/kvelementwindow.h"
#include "elements/kvpagetemplate.h"
#include "lists/kvelementlists.h"
#include "model/kvfolder.h"
#include "model/kvnamerule.h"
#include "model/kvnewpagelayout.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpage.h"
#include "model/kvpagelayout.h"
#include "platform/applog.h"

#include <QSet>
#include <memory>

namespace {

// Page id -> the folders (ids) whose own new-page layout has it as template.
QHash<QString, QStringList> GatherTemplateUsers(KvFolder& top, KvFolder& trash)
{
    QHash<QString, QStringList> users;
    for (KvFolder* root : {&top, &trash}) {
        QList<KvObject*> all{root};
        all += CollectDescendants(root);
        for (KvObject* obj : std::as_const(all)) {
            auto* f = dynamic_cast<KvFolder*>(obj);
            if (!f)
                continue;
            KvNewPageLayout* layout = f->GetNewPageLayout();
            if (layout->Inherited())
                continue;
            if (const KvPage* t = layout->GetTemplatePage())
                users[t->Id()].append(f->Id());
        }
    }
    return users;
}

// The folders whose own new-page layout has a template among pageIds lose it. The trash
// and the folders below it are visited only with inTrashToo. Inside a bulk scope the users
// of templates are gathered once.
void ClearTemplates(KvElementEnv& env, const QSet<QString>& pageIds, bool inTrashToo)
{
    if (pageIds.isEmpty())
        return;
    QHash<QString, QStringList> local;
    QHash<QString, QStringList>* users = &local;
    if (env.bulkDepth > 0) {
        if (!env.templateUsers)
            env.templateUsers = GatherTemplateUsers(*env.top, *env.trash);
        users = &*env.templateUsers;
    } else {
        local = GatherTemplateUsers(*env.top, *env.trash);
    }
    for (const QString& pageId : pageIds) {
        auto it = users->find(pageId);
        if (it == users->end())
            continue;
        QStringList& folders = it.value();
        for (qsizetype i = 0; i < folders.size();) {
            auto* f = dynamic_cast<KvFolder*>(FindObject(folders[i]));
            if (!f || f->IsRemoved() || (!inTrashToo && KvElementRules::InTrash(*f, *env.trash))) {
                ++i;
                continue;
            }
            KvNewPageLayout* layout = f->GetNewPageLayout();
            layout->SetTemplatePage(nullptr);
            layout->Store();
            folders.removeAt(i);
        }
        if (folders.isEmpty())
            users->erase(it);
    }
}

QSet<QString> PageIdsWithin(KvObject& obj)
{
    QSet<QString> ids;
    if (dynamic_cast<KvPage*>(&obj))
        ids.insert(obj.Id());
    for (KvObject* below : CollectDescendants(&obj)) {
        if (dynamic_cast<KvPage*>(below))
            ids.insert(below->Id());
    }
    return ids;
}

// The name rule once more below the dialog and the command line, which applied it already:
// no caller stores a name that the tree would show empty or broken.
QString RuledName(const QString& given)
{
    const QString name = KvNameRule::Clean(given);
    if (name.isEmpty())
        throw KvException(KvTexts::Text(5005));
    return name;
}

} // namespace

KvElementEdit::KvElementEdit(KvElementEnv& env) : m_env(env)
{
    m_env.Check();
}

// ---- create

KvPage* KvElementEdit::NewPage(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementEdit::NewPage");
    const KvPageTemplate::Proposal proposal = m_env.pageTemplate->Propose(folder);
    KvNameRequest request{1002, proposal.name, true, proposal.status};
    if (!m_env.window->AskName(request)) {
        kvLogScope_.Exit(1);
        return nullptr;
    }
    return CreateNewPage(folder, request.name, request.status);
}

KvPage* KvElementEdit::CreateNewPage(KvFolder& folder, const QString& given, int status)
{
    KV_LOG_SCOPE("KvElementEdit::CreateNewPage");
    const QString name = RuledName(given);
    KvPage* page = nullptr;
    {
        KvBulkScope bulk(m_env);
        page = m_env.factory->CreatePage(KvElementIds::NewPageId(), &folder,
                                         !folder.GetNewElemsFirst());
        page->SetName(name);
        page->SetStatus(status);
        folder.SetActivePage(page);
        if (folder.GetAutoSort())
            KvElementMove(m_env).AutoSort(folder);
        KvBulkScope::StoreFolder(m_env, folder);
        page->GetLayout()->AssignLayout(*folder.GetNewPageLayout());
        page->GetLayout()->Store();
        page->SetRestorePosition(m_env.options.RestoreCursorPos);
        page->Store();
        bulk.Commit();
    }
    m_env.window->TabsFollowOrder(folder);
    m_env.window->ShowElement(*page);
    m_env.window->CommandsChanged();
    m_env.pageTemplate->Fill(folder, *page);
    return page;
}

KvFolder* KvElementEdit::NewFolder(KvFolder& parent)
{
    KV_LOG_SCOPE("KvElementEdit::NewFolder");
    KvNameRequest request{1102, KvTexts::Text(5800), false, 0};
    if (!m_env.window->AskName(request)) {
        kvLogScope_.Exit(1);
        return nullptr;
    }
    return CreateNewFolder(parent, request.name);
}

KvFolder* KvElementEdit::CreateNewFolder(KvFolder& parent, const QString& given)
{
    KV_LOG_SCOPE("KvElementEdit::CreateNewFolder");
    const QString name = RuledName(given);
    KvFolder* folder = nullptr;
    {
        KvBulkScope bulk(m_env);
        folder = m_env.factory->CreateFolder(KvElementIds::NewFolderId(), &parent,
                                             !parent.GetNewElemsFirst());
        folder->SetName(name);
        if (parent.GetAutoSort())
            KvElementMove(m_env).AutoSort(parent);
        KvBulkScope::StoreFolder(m_env, parent);
        KvBulkScope::StoreFolder(m_env, *folder);
        bulk.Commit();
    }
    m_env.window->ShowElement(*folder);
    m_env.window->CommandsChanged();
    return folder;
}

// ---- rename

bool KvElementEdit::RenamePage(KvPage& page)
{
    KV_LOG_SCOPE("KvElementEdit::RenamePage");
    KvNameRequest request{1004, page.Name(), false, 0};
    if (!m_env.window->AskName(request))
        return false;
    RenamePage(page, request.name);
    return true;
}

bool KvElementEdit::RenameFolder(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementEdit::RenameFolder");
    KvNameRequest request{1104, folder.Name(), false, 0};
    if (!m_env.window->AskName(request))
        return false;
    RenameFolder(folder, request.name);
    return true;
}

void KvElementEdit::RenamePage(KvPage& page, const QString& given)
{
    KV_LOG_SCOPE("KvElementEdit::RenamePage");
    const QString name = RuledName(given);
    KvBulkScope bulk(m_env);
    page.SetName(name);
    try {
        page.Store();
    } catch (const KvPage::EWrongPassword&) {
        // The text of a locked page is not saved; the name was stored before.
    }
    QStringList renewed{page.Id()};
    for (KvObject* r : page.Referrers())
        renewed.append(r->Id());
    m_env.lists->Renewed(renewed);
    if (auto* parent = dynamic_cast<KvFolder*>(page.Parent()); parent && parent->GetAutoSort()) {
        KvElementMove(m_env).AutoSort(*parent);
        KvBulkScope::StoreFolder(m_env, *parent);
    }
    bulk.Commit();
}

void KvElementEdit::RenameFolder(KvFolder& folder, const QString& given)
{
    KV_LOG_SCOPE("KvElementEdit::RenameFolder");
    const QString name = RuledName(given);
    KvBulkScope bulk(m_env);
    folder.SetName(name);
    KvBulkScope::StoreFolder(m_env, folder);
    // The path of everything below changes with the name.
    QStringList renewed{folder.Id()};
    for (KvObject* obj : CollectDescendants(&folder))
        renewed.append(obj->Id());
    m_env.lists->Renewed(renewed);
    if (auto* parent = folder.ParentFolder(); parent && parent->GetAutoSort()) {
        KvElementMove(m_env).AutoSort(*parent);
        KvBulkScope::StoreFolder(m_env, *parent);
    }
    bulk.Commit();
}

// ---- confirmations and templates

bool KvElementEdit::DeletePageConfirmed(KvPage& page)
{
    KV_LOG_SCOPE("KvElementEdit::DeletePageConfirmed");
    return KvGoOn(
        KvElementRules::DeletePageQuestion(page, m_env.options, *m_env.top, *m_env.trash));
}

bool KvElementEdit::DeleteFolderConfirmed(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementEdit::DeleteFolderConfirmed");
    std::optional<KvQuestion> question;
    {
        WaitCrsr wait;
        question =
            KvElementRules::DeleteFolderQuestion(folder, m_env.options, *m_env.top, *m_env.trash);
    }
    return KvGoOn(question);
}

KvFolder* KvElementEdit::TemplateInFolder(const KvPage& page)
{
    return KvElementRules::TemplateInFolder(page, *m_env.top, *m_env.trash);
}

void KvElementEdit::RemoveTemplUsage(KvPage& page)
{
    KV_LOG_SCOPE("KvElementEdit::RemoveTemplUsage");
    WaitCrsr wait;
    ClearTemplates(m_env, {page.Id()}, true);
}

void KvElementEdit::RemoveTemplUsage(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementEdit::RemoveTemplUsage");
    WaitCrsr wait;
    ClearTemplates(m_env, PageIdsWithin(folder), false);
}

QStringList KvElementEdit::DeleteElemsFromLists(KvObject& element, bool saveLists)
{
    KV_LOG_SCOPE("KvElementEdit::DeleteElemsFromLists");
    if (auto* page = dynamic_cast<KvPage*>(&element))
        RemoveTemplUsage(*page);
    else if (auto* folder = dynamic_cast<KvFolder*>(&element))
        RemoveTemplUsage(*folder);
    QList<KvObject*> all = CollectDescendants(&element);
    all.append(&element);
    QStringList ids;
    QSet<QString> seen;
    auto add = [&](KvObject* obj) {
        if (!seen.contains(obj->Id())) {
            seen.insert(obj->Id());
            ids.append(obj->Id());
        }
    };
    for (KvObject* obj : std::as_const(all))
        add(obj);
    for (KvObject* obj : std::as_const(all)) {
        for (KvObject* r : obj->Referrers())
            add(r);
    }
    KvElementLists::Batch batch(*m_env.lists, saveLists);
    m_env.lists->ForgetIds(ids);
    return ids;
}

// ---- delete

bool KvElementEdit::DeletePage(KvPage& page)
{
    KV_LOG_SCOPE("KvElementEdit::DeletePage");
    if (!DeletePageConfirmed(page)) {
        kvLogScope_.Exit(1);
        return false;
    }
    if (KvElementRules::InTrash(page, *m_env.trash)) {
        RemoveForGood(page);
        return true;
    }
    KvBulkScope bulk(m_env);
    DeleteElemsFromLists(page, true);
    KvFolder* trash = m_env.trash;
    m_env.window->TreeBulkUpdate([&] { KvElementMove(m_env).Move(page, *trash, false); });
    bulk.Commit();
    m_env.window->CommandsChanged();
    return true;
}

bool KvElementEdit::DeleteFolder(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementEdit::DeleteFolder");
    if (!DeleteFolderConfirmed(folder)) {
        kvLogScope_.Exit(1);
        return false;
    }
    if (KvElementRules::InTrash(folder, *m_env.trash)) {
        RemoveForGood(folder);
        return true;
    }
    KvBulkScope bulk(m_env);
    DeleteElemsFromLists(folder, true);
    KvFolder* trash = m_env.trash;
    m_env.window->TreeBulkUpdate([&] { KvElementMove(m_env).Move(folder, *trash, false); });
    bulk.Commit();
    m_env.window->CommandsChanged();
    return true;
}

void KvElementEdit::RemoveForGood(KvObject& obj)
{
    KV_LOG_SCOPE("KvElementEdit::RemoveForGood");
    if (KvElementRules::IsRoot(obj))
        throw KvException(KvTexts::Message(30001, {obj.Name()}));
    KvBulkScope bulk(m_env);
    DeleteElemsFromLists(obj, true);
    if (m_env.batchList) {
        m_env.batchList->append(obj.Id());
        if (dynamic_cast<KvFolder*>(&obj)) {
            for (KvObject* below : CollectDescendants(&obj))
                m_env.batchList->append(below->Id());
        }
    }
    m_env.window->CheckPointer(obj, false);
    auto* parent = dynamic_cast<KvFolder*>(obj.Parent());
    // Taken out of the model and the stores, children first; the referrers go with their
    // target, and their folders are stored by the model.
    m_env.window->TreeBulkUpdate([&] {
        obj.Remove();
        std::unique_ptr<KvObject> gone(&obj); // detached by Remove: nobody else owns it
    });
    // The parent no longer lists it: without this store it would come back as an empty
    // element at the next start.
    if (parent) {
        KvBulkScope::StoreFolder(m_env, *parent);
        m_env.window->TabsFollowOrder(*parent);
    }
    bulk.Commit();
    m_env.window->CommandsChanged();
}

// ---- the trash

int KvElementEdit::EmptyTrash(QStringList* referrersOutside)
{
    KV_LOG_SCOPE("KvElementEdit::EmptyTrash");
    KvFolder& trash = *m_env.trash;
    if (!KvGoOn(KvElementRules::EmptyTrashQuestion(trash, m_env.options))) {
        kvLogScope_.Exit(1);
        return 0;
    }
    // Referrers outside go with their targets (the model removes them); which ones did is
    // known once the removal is over.
    QStringList outside;
    for (KvObject* r : KvElementRules::ReferrersOutside(trash))
        outside.append(r->Id());
    int removed = 0;
    KvBulkScope bulk(m_env);
    // Every element leaves the lists and loses its template use first: the ids are free
    // for new elements once they are removed, and nothing may still name them then.
    const QList<KvObject*> below = CollectDescendants(&trash);
    QStringList ids;
    QSet<QString> seen;
    QSet<QString> pageIds;
    for (KvObject* obj : below) {
        seen.insert(obj->Id());
        ids.append(obj->Id());
        if (dynamic_cast<KvPage*>(obj))
            pageIds.insert(obj->Id());
    }
    for (KvObject* obj : below) {
        for (KvObject* r : obj->Referrers()) {
            if (!seen.contains(r->Id())) {
                seen.insert(r->Id());
                ids.append(r->Id());
            }
        }
    }
    ClearTemplates(m_env, pageIds, true);
    m_env.lists->ForgetIds(ids);
    m_env.window->TreeBulkUpdate([&] {
        // From the last child to the first; a stop ends the removal after the current one.
        while (trash.ChildCount() > 0) {
            KvObject* child = trash.Children().last();
            const int count = int(CollectDescendants(child).size()) + 1;
            m_env.window->CheckPointer(*child, false);
            child->Remove();
            std::unique_ptr<KvObject> gone(child);
            removed += count;
            if (m_env.window->StopRequested())
                break;
        }
    });
    KvBulkScope::StoreFolder(m_env, trash);
    bulk.Commit();
    m_env.window->TabsFollowOrder(trash);
    m_env.window->CommandsChanged();
    if (referrersOutside) {
        for (const QString& id : std::as_const(outside)) {
            const KvObject* r = FindObject(id);
            if (!r || r->IsRemoved())
                referrersOutside->append(id);
        }
    }
    return removed;
}

int KvElementEdit::EmptyTrashAtExit(bool forced)
{
    KV_LOG_SCOPE("KvElementEdit::EmptyTrashAtExit");
    KvFolder& trash = *m_env.trash;
    if (!m_env.options.EmptyTrashAtExit || trash.ChildCount() == 0 || !m_env.fullAccess ||
        !trash.GetWritable())
        return 0;
    // Nobody answers a question during a forced exit; the trash stays as it is.
    if (forced && m_env.options.MsgEmptyTrash)
        return 0;
    return EmptyTrash();
}
