#include "elements/kvelementmove.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "elements/kvbulkscope.h"
#include "elements/kvelementask.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementsort.h"
#include "elements/kvelementwindow.h"
#include "lists/kvelementlists.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpage.h"
#include "platform/applog.h"

#include <QSet>
#include <memory>

namespace {

// The element and everything below it.
QList<KvObject*> WithDescendants(KvObject& obj)
{
    QList<KvObject*> all{&obj};
    all += CollectDescendants(&obj);
    return all;
}

bool Within(const KvObject& obj, const KvObject& root)
{
    return &obj == &root || obj.Id() == root.Id() || obj.HasAncestor(&root);
}

} // namespace

KvElementMove::KvElementMove(KvElementEnv& env) : m_env(env)
{
    m_env.Check();
}

bool KvElementMove::MovePageConfirmed(KvPage& page)
{
    KV_LOG_SCOPE("KvElementMove::MovePageConfirmed");
    return KvGoOn(KvElementRules::MovePageQuestion(page, m_env.options));
}

bool KvElementMove::MoveFolderConfirmed(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementMove::MoveFolderConfirmed");
    return KvGoOn(KvElementRules::MoveFolderQuestion(folder, m_env.options));
}

// ---- up / down

namespace {

bool StepAllowed(const KvObject& obj, bool up)
{
    if (KvElementRules::IsRoot(obj))
        return false;
    const KvTopLast state = KvElementRules::GetElemStateTopLast(&obj);
    if (!obj.Parent())
        return false;
    return up ? !state.first : !state.last;
}

} // namespace

bool KvElementMove::PageMoveUpDown(KvPage& page, bool up)
{
    KV_LOG_SCOPE("KvElementMove::PageMoveUpDown");
    if (!StepAllowed(page, up))
        return false;
    auto* parent = dynamic_cast<KvFolder*>(page.Parent());
    KvBulkScope bulk(m_env);
    m_env.window->TreeBulkUpdate([&] { up ? page.MoveUp() : page.MoveDown(); });
    // Stored at once: the order must not wait for the folder's next store.
    if (parent)
        KvBulkScope::StoreFolder(m_env, *parent);
    bulk.Commit();
    m_env.window->SelectElement(page);
    m_env.window->CommandsChanged();
    return true;
}

bool KvElementMove::FolderMoveUpDown(KvFolder& folder, bool up)
{
    KV_LOG_SCOPE("KvElementMove::FolderMoveUpDown");
    if (!StepAllowed(folder, up))
        return false;
    auto* parent = dynamic_cast<KvFolder*>(folder.Parent());
    KvBulkScope bulk(m_env);
    m_env.window->TreeBulkUpdate([&] { up ? folder.MoveUp() : folder.MoveDown(); });
    if (parent)
        KvBulkScope::StoreFolder(m_env, *parent);
    bulk.Commit();
    m_env.window->SelectElement(folder);
    m_env.window->CommandsChanged();
    return true;
}

void KvElementMove::MoveToPosition(KvObject& obj, int pos)
{
    KV_LOG_SCOPE("KvElementMove::MoveToPosition");
    auto* parent = dynamic_cast<KvFolder*>(obj.Parent());
    if (!parent)
        return;
    QList<KvObject*> order = parent->Children();
    order.removeOne(&obj);
    const qsizetype at = std::clamp<qsizetype>(pos - 1, 0, order.size());
    order.insert(at, &obj);
    KvBulkScope bulk(m_env);
    if (order != parent->Children())
        m_env.window->TreeBulkUpdate([&] { parent->ReorderChildren(order); });
    KvBulkScope::StoreFolder(m_env, *parent);
    bulk.Commit();
    m_env.window->TabsFollowOrder(*parent);
    m_env.window->CommandsChanged();
}

// ---- into another folder

bool KvElementMove::PageMove2Folder(KvPage& page)
{
    KV_LOG_SCOPE("KvElementMove::PageMove2Folder");
    if (!MovePageConfirmed(page))
        return false;
    auto* target =
        dynamic_cast<KvFolder*>(m_env.window->ChooseElement(KvChooseKind::Folder, page.Parent()));
    if (!target || target == page.Parent())
        return false;
    Move(page, *target, true);
    return true;
}

bool KvElementMove::FolderMove2Folder(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementMove::FolderMove2Folder");
    if (!MoveFolderConfirmed(folder))
        return false;
    while (true) {
        auto* target =
            dynamic_cast<KvFolder*>(m_env.window->ChooseElement(KvChooseKind::Folder, &folder));
        if (!target)
            return false;
        if (target->HasAncestor(&folder)) {
            KvPrompter::ShowMessage(KvTexts::Text(5019) + u'\'' + folder.Name() + u"':"_qs,
                                    KvTexts::Text(5011), KvMsgKind::Error);
            continue;
        }
        if (target == &folder || target == folder.Parent())
            return false;
        Move(folder, *target, true);
        return true;
    }
}

QStringList KvElementMove::Move(KvObject& element, KvFolder& target, bool select)
{
    KV_LOG_SCOPE("KvElementMove::Move");
    if (KvElementRules::IsRoot(element))
        throw KvException(KvTexts::Text(5011));
    if (Within(target, element))
        throw KvException(KvTexts::Text(5011));
    KvFolder& trash = *m_env.trash;
    KvBulkScope bulk(m_env);
    try {
        element.Store();
    } catch (const KvPage::EWrongPassword&) {
        // A locked page moves without its text being saved.
    }
    QStringList ids{element.Id()};
    QSet<QString> listed{element.Id()};
    const QList<KvObject*> moved = WithDescendants(element);
    if (KvElementRules::InTrash(target, trash)) {
        // Referrers go into the trash with their target.
        for (KvObject* obj : moved) {
            for (KvObject* r : obj->Referrers()) {
                if (listed.contains(r->Id()) || KvElementRules::InTrash(*r, trash) ||
                    Within(*r, element))
                    continue;
                listed.insert(r->Id());
                ids.append(r->Id());
            }
        }
    } else if (KvElementRules::InTrash(element, trash)) {
        // A referrer taken out of the trash brings its target along.
        for (KvObject* obj : moved) {
            if (!obj->IsReferrer())
                continue;
            obj->ResolveTarget();
            KvObject* t = obj->Target();
            if (!t || listed.contains(t->Id()) || Within(*t, element) ||
                !KvElementRules::InTrash(*t, trash))
                continue;
            listed.insert(t->Id());
            ids.append(t->Id());
        }
    }
    const QString targetId = target.Id();
    m_env.window->TreeBulkUpdate([&] {
        for (const QString& id : std::as_const(ids)) {
            KvObject* obj = FindObject(id);
            auto* to = dynamic_cast<KvFolder*>(FindObject(targetId));
            if (obj && !obj->IsRemoved() && to)
                MoveSingle(*obj, *to, select);
        }
    });
    auto* to = dynamic_cast<KvFolder*>(FindObject(targetId));
    if (to) {
        if (to->GetAutoSort())
            AutoSort(*to);
        KvBulkScope::StoreFolder(m_env, *to);
    }
    bulk.Commit();
    m_env.window->CommandsChanged();
    return ids;
}

KvObject* KvElementMove::MoveSingle(KvObject& element, KvFolder& target, bool select)
{
    KV_LOG_SCOPE("KvElementMove::MoveSingle");
    KvBulkScope bulk(m_env);
    // The window lets go of the element, after saving a page it shows and storing a folder
    // it shows: both are re-created from the stores.
    m_env.window->CheckPointer(element, true);
    KvBulkScope::StoreWaitingWithin(m_env, element);
    const QString id = element.Id();
    const bool isPage = dynamic_cast<KvPage*>(&element) != nullptr;
    QStringList renewed;
    // Referrers outside that lose their bound target when it is destroyed here.
    QStringList unbound;
    for (KvObject* obj : WithDescendants(element)) {
        renewed.append(obj->Id());
        for (KvObject* r : obj->Referrers()) {
            if (!Within(*r, element))
                unbound.append(r->Id());
        }
    }
    auto* oldParent = dynamic_cast<KvFolder*>(element.Parent());
    element.Detach();
    std::unique_ptr<KvObject> old(&element); // nobody owns it once detached
    if (oldParent)
        KvBulkScope::StoreFolder(m_env, *oldParent);
    old.reset();

    const bool atEnd = !target.GetNewElemsFirst();
    KvObject* created = nullptr;
    if (isPage) {
        KvPage* page = m_env.factory->CreatePage(id, &target, atEnd);
        target.SetActivePage(page);
        created = page;
    } else {
        KvFolder* folder = m_env.factory->CreateFolder(id, &target, atEnd);
        folder->LoadChildren();
        created = folder;
    }
    // Referrers and targets find each other again: those re-created here, and those outside
    // whose target was.
    for (KvObject* obj : WithDescendants(*created)) {
        if (obj->IsReferrer() && !obj->Target())
            obj->ResolveTarget();
    }
    for (const QString& rid : std::as_const(unbound)) {
        if (KvObject* r = FindObject(rid); r && !r->IsRemoved())
            r->ResolveTarget();
    }
    if (m_env.batchList)
        m_env.batchList->append(renewed);
    m_env.lists->Renewed(renewed);
    KvBulkScope::StoreFolder(m_env, target);
    if (oldParent)
        m_env.window->TabsFollowOrder(*oldParent);
    m_env.window->TabsFollowOrder(target);
    if (select)
        m_env.window->SelectElement(*created);
    else if (oldParent)
        m_env.window->SelectElement(*oldParent);
    bulk.Commit();
    return created;
}

// ---- sorting

bool KvElementMove::SortFolder(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementMove::SortFolder");
    if (m_env.options.MsgSortFolder &&
        KvPrompter::ShowMessage(KvTexts::Text(5064), KvTexts::Text(5065), KvMsgKind::AskYesNo) !=
            KvAnswer::Yes) {
        kvLogScope_.Exit(1);
        return false;
    }
    KvBulkScope bulk(m_env);
    SortElements(folder);
    // Stored at once, so that no later move or crash undoes it.
    KvBulkScope::StoreFolder(m_env, folder);
    bulk.Commit();
    return true;
}

void KvElementMove::SortElements(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementMove::SortElements");
    WaitCrsr wait;
    const int order = m_env.options.SortOrder;
    bool changed = false;
    m_env.window->TreeBulkUpdate([&] { changed = KvElementSort::SortChildren(folder, order); });
    if (changed)
        m_env.window->TabsFollowOrder(folder);
    m_env.window->CommandsChanged();
}

void KvElementMove::AutoSort(KvFolder& folder)
{
    if (m_env.bulkDepth == 0) {
        SortElements(folder);
        return;
    }
    if (!m_env.deferredSorts.contains(folder.Id()))
        m_env.deferredSorts.append(folder.Id());
}

void KvElementMove::SortFoldersBelow(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementMove::SortFoldersBelow");
    {
        KvBulkScope bulk(m_env);
        SortElements(folder);
        KvBulkScope::StoreFolder(m_env, folder);
        bulk.Commit();
    }
    QList<KvFolder*> below;
    for (KvObject* obj : CollectDescendants(&folder)) {
        if (auto* f = dynamic_cast<KvFolder*>(obj))
            below.append(f);
    }
    if (below.isEmpty())
        return;
    if (KvPrompter::ShowMessage(KvTexts::Text(5132), KvTexts::Text(5133), KvMsgKind::AskYesNo) !=
        KvAnswer::Yes)
        return;
    KvBulkScope bulk(m_env);
    for (KvFolder* f : std::as_const(below)) {
        if (!f->GetAutoSort())
            continue;
        SortElements(*f);
        KvBulkScope::StoreFolder(m_env, *f);
    }
    bulk.Commit();
}
