#include "model/kvfolder.h"

#include "app/kvtexts.h"
#include "model/kvdircontext.h"
#include "model/kvnewpagelayout.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "store/texinifile.h"

namespace {

const QString kActPage = u"ActPage"_qs;
const QString kStatus = u"Status"_qs;
const QString kPagesMultiLine = u"PagesMultiLine"_qs;
const QString kAutoSort = u"AutoSort"_qs;
const QString kNewElemsFirst = u"NewElemsFirst"_qs;

int DefaultNameText(quint8 kind)
{
    switch (kind) {
    case KvFolder::TopFolder:
        return 5802;
    case KvFolder::TrashFolder:
        return 5803;
    default:
        return 5800;
    }
}

} // namespace

KvFolder::KvFolder(const QString& id, KvFolder* parent, quint8 kind, bool atEnd)
    : KvObject(id), m_kind(kind)
{
    KV_LOG_SCOPE("KvFolder::KvFolder");
    if (parent)
        SetParent(parent, atEnd);
    KvPropReader& reader = KvDirContext::FldrReader();
    m_activePage = reader.ReadString(id, kActPage, QString());
    m_status = reader.ReadInteger(id, kStatus, 0);
    ReadTabMode();
    ReadSortSettings();
    if (Name().isEmpty()) {
        SetName(KvTexts::Text(DefaultNameText(kind)));
        // In read-only mode the default name stays in memory.
        if (ConstructionMayWrite())
            Store();
    }
    m_writable = true;
}

KvFolder::~KvFolder() = default;

bool KvFolder::AcceptsChildId(const QString& id) const
{
    if (HasChild(id) || id == Id())
        return false;
    // An element two folders list (a crash between their stores) is built once, where it
    // is met first; the other folder drops it when it is stored.
    if (const KvObject* live = FindObject(id); live && !live->IsRemoved() && live->Parent())
        return false;
    for (const KvObject* p = Parent(); p; p = p->Parent()) {
        if (p->Id() == id)
            return false;
    }
    return true;
}

quint8 KvFolder::Kind() const
{
    CheckRemoved();
    return m_kind;
}

KvFolder* KvFolder::ParentFolder() const
{
    return dynamic_cast<KvFolder*>(Parent());
}

KvPage* KvFolder::GetActivePage() const
{
    KV_LOG_SCOPE("KvFolder::GetActivePage");
    CheckRemoved();
    KvPage* first = nullptr;
    for (KvObject* child : Children()) {
        auto* page = dynamic_cast<KvPage*>(child);
        if (!page)
            continue;
        if (!m_activePage.isEmpty() && page->Id() == m_activePage)
            return page;
        if (!first)
            first = page;
    }
    return first;
}

void KvFolder::SetActivePage(KvPage* page)
{
    KV_LOG_SCOPE("KvFolder::SetActivePage");
    CheckRemoved();
    m_activePage = page ? page->Id() : QString();
}

const QString& KvFolder::ActivePageId() const
{
    CheckRemoved();
    return m_activePage;
}

quint8 KvFolder::GetTabMode() const
{
    CheckRemoved();
    return m_tabMode;
}

void KvFolder::SetTabMode(quint8 mode)
{
    CheckRemoved();
    m_tabMode = mode;
}

bool KvFolder::TabModeInherited() const
{
    CheckRemoved();
    return m_tabModeInherited;
}

void KvFolder::SetTabModeInherited(bool inherited)
{
    KV_LOG_SCOPE("KvFolder::SetTabModeInherited");
    CheckRemoved();
    m_tabModeInherited = inherited;
    if (inherited) {
        if (KvFolder* parent = ParentFolder())
            m_tabMode = parent->GetTabMode();
    }
}

void KvFolder::ReadTabMode()
{
    KV_LOG_SCOPE("KvFolder::ReadTabMode");
    CheckRemoved();
    KvPropReader& reader = KvDirContext::FldrReader();
    KvFolder* parent = ParentFolder();
    m_tabModeInherited = parent && !reader.ValueExists(Id(), kPagesMultiLine);
    if (m_tabModeInherited) {
        parent->ReadTabMode();
        m_tabMode = parent->GetTabMode();
        return;
    }
    const int mode = reader.ReadInteger(Id(), kPagesMultiLine, TabsMultiLine);
    if (mode == 0)
        m_tabMode = TabsSingleLine;
    else if (mode >= TabsMultiLine && mode <= NoTabs)
        m_tabMode = quint8(mode);
    else
        m_tabMode = TabsMultiLine; // an unknown value shows the usual tabs
}

bool KvFolder::GetAutoSort() const
{
    CheckRemoved();
    return m_autoSort;
}

void KvFolder::SetAutoSort(bool on)
{
    CheckRemoved();
    m_autoSort = on;
}

bool KvFolder::GetNewElemsFirst() const
{
    CheckRemoved();
    return m_newElemsFirst;
}

void KvFolder::SetNewElemsFirst(bool on)
{
    CheckRemoved();
    m_newElemsFirst = on;
}

bool KvFolder::SortInherited() const
{
    CheckRemoved();
    return m_sortInherited;
}

void KvFolder::SetSortInherited(bool inherited)
{
    KV_LOG_SCOPE("KvFolder::SetSortInherited");
    CheckRemoved();
    m_sortInherited = inherited;
    if (inherited) {
        if (KvFolder* parent = ParentFolder()) {
            m_autoSort = parent->GetAutoSort();
            m_newElemsFirst = parent->GetNewElemsFirst();
        }
    }
}

void KvFolder::ReadSortSettings()
{
    KV_LOG_SCOPE("KvFolder::ReadSortSettings");
    CheckRemoved();
    KvPropReader& reader = KvDirContext::FldrReader();
    KvFolder* parent = ParentFolder();
    m_sortInherited = parent && !reader.ValueExists(Id(), kAutoSort);
    if (m_sortInherited) {
        parent->ReadSortSettings();
        m_autoSort = parent->GetAutoSort();
        m_newElemsFirst = parent->GetNewElemsFirst();
        return;
    }
    m_autoSort = reader.ReadBool(Id(), kAutoSort, false);
    m_newElemsFirst = reader.ReadBool(Id(), kNewElemsFirst, false);
}

KvNewPageLayout* KvFolder::GetNewPageLayout()
{
    KV_LOG_SCOPE("KvFolder::GetNewPageLayout");
    CheckRemoved();
    if (!m_newPageLayout)
        m_newPageLayout = std::make_unique<KvNewPageLayout>(this);
    return m_newPageLayout.get();
}

void KvFolder::ResetNewPageLayout()
{
    KV_LOG_SCOPE("KvFolder::ResetNewPageLayout");
    CheckRemoved();
    m_newPageLayout.reset();
    m_newPageLayout = std::make_unique<KvNewPageLayout>(this);
}

bool KvFolder::GetWritable() const
{
    CheckRemoved();
    return m_writable;
}

void KvFolder::SetWritable(bool writable)
{
    KV_LOG_SCOPE("KvFolder::SetWritable");
    CheckRemoved();
    m_writable = writable;
    for (KvObject* child : Children()) {
        if (auto* page = dynamic_cast<KvPage*>(child))
            page->SetWritable(writable);
        else if (auto* folder = dynamic_cast<KvFolder*>(child))
            folder->SetWritable(writable);
    }
}

void KvFolder::Store()
{
    KV_LOG_SCOPE("KvFolder::Store");
    KvObject::Store();
    TexIniFile& store = KvDirContext::FldrStore();
    const QString& id = Id();
    const bool root = Parent() == nullptr;
    if (!m_activePage.isEmpty())
        store.WriteString(id, kActPage, m_activePage);
    if (!m_tabModeInherited || root)
        store.WriteInteger(id, kPagesMultiLine, m_tabMode);
    else
        store.DeleteKey(id, kPagesMultiLine);
    if (!m_sortInherited || root) {
        store.WriteBool(id, kAutoSort, m_autoSort);
        store.WriteBool(id, kNewElemsFirst, m_newElemsFirst);
    } else {
        store.DeleteKey(id, kAutoSort);
        store.DeleteKey(id, kNewElemsFirst);
    }
    if (m_newPageLayout && m_newPageLayout->IsModified())
        m_newPageLayout->Store();
    store.WriteInteger(id, kStatus, m_status);
    store.UpdateFile();
}

void KvFolder::Remove()
{
    KV_LOG_SCOPE("KvFolder::Remove");
    CheckRemoved();
    switch (m_kind) {
    case TopFolder:
        return;
    case TrashFolder:
        while (ChildCount() > 0) {
            KvObject* child = Children().last();
            child->Remove();
            if (ChildCount() > 0 && Children().last() == child)
                RemoveChild(child);
            Destroy(child);
        }
        return;
    default: {
        TexIniFile& store = KvDirContext::FldrStore();
        store.EraseSection(Id());
        store.UpdateFile();
        m_newPageLayout.reset();
        KvObject::Remove();
    }
    }
}

void KvFolder::RemoveChild(KvObject* child)
{
    KV_LOG_SCOPE("KvFolder::RemoveChild");
    CheckRemoved();
    if (!m_activePage.isEmpty() && child && child->IsRemoved() == false &&
        child->Id() == m_activePage)
        m_activePage.clear();
    KvObject::RemoveChild(child);
}

void KvFolder::CreateChild(const QString& id)
{
    KV_LOG_SCOPE("KvFolder::CreateChild");
    CheckRemoved();
    if (!AcceptsChildId(id))
        return;
    if (id.contains(u"Page"_qs)) {
        new KvPage(id, this, true); // owned by this folder's child list
    } else if (id.contains(u"Fldr"_qs)) {
        auto* folder = new KvFolder(id, this, NormalFolder, true);
        folder->LoadChildren();
    }
}

void KvFolder::CreateChildOfKind(const QString& id, const QString& prefix)
{
    KV_LOG_SCOPE("KvFolder::CreateChildOfKind");
    CheckRemoved();
    if (!AcceptsChildId(id))
        return;
    if (id.contains(u"Page"_qs)) {
        new KvPage(id, this, true);
    } else if (id.contains(u"Fldr"_qs)) {
        auto* folder = new KvFolder(id, this, NormalFolder, true);
        folder->LoadChildrenOfKind(prefix);
    }
}

bool KvFolder::ContainsWriteProtectedPage()
{
    KV_LOG_SCOPE("KvFolder::ContainsWriteProtectedPage");
    CheckRemoved();
    const QList<KvObject*> all = CollectDescendants(this);
    for (KvObject* obj : all) {
        if (auto* page = dynamic_cast<KvPage*>(obj); page && page->GetWriteProtect())
            return true;
    }
    return false;
}

bool KvFolder::HasSubfolders()
{
    KV_LOG_SCOPE("KvFolder::HasSubfolders");
    CheckRemoved();
    for (KvObject* child : Children()) {
        if (dynamic_cast<KvFolder*>(child))
            return true;
    }
    return false;
}

bool KvFolder::HasPages()
{
    KV_LOG_SCOPE("KvFolder::HasPages");
    CheckRemoved();
    for (KvObject* child : Children()) {
        if (dynamic_cast<KvPage*>(child))
            return true;
    }
    return false;
}

int KvFolder::GetStatus()
{
    CheckRemoved();
    return m_status;
}

void KvFolder::SetStatus(int status)
{
    KV_LOG_SCOPE("KvFolder::SetStatus");
    CheckRemoved();
    m_status = status;
}
