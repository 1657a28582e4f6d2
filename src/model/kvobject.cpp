#include "model/kvobject.h"

#include "app/kvtexts.h"
#include "model/kvdircontext.h"
#include "model/kvnewids.h"
#include "model/kvsectionnames.h"
#include "platform/applog.h"
#include "richtext/textmatch.h"
#include "store/kvdirstores.h"

#include <QHash>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

const QString kName = u"Name"_qs;
const QString kRef2 = u"Ref2"_qs;
const QString kItem = u"Item"_qs;
const QString kContinuation = u"Continuation"_qs;
const QString kKwds = u"Kwds"_qs;
const QString kExt = u"Ext"_qs;

// Hashed: the tree build looks every id up once; the id order is restored where it matters.
QHash<QString, KvObject*>& Registry()
{
    static QHash<QString, KvObject*> registry;
    return registry;
}

QString& Guard()
{
    static QString guard;
    return guard;
}

// Ids of every object whose notification is running. A chain of referrers that leads
// back to an object already being notified stops there instead of recursing.
QSet<QString>& Active()
{
    static QSet<QString> active;
    return active;
}

// Restores the guard when the notification ends, also when a handler throws.
class GuardScope
{
public:
    explicit GuardScope(const QString& id) : m_id(id), m_previous(Guard())
    {
        Guard() = id;
        Active().insert(id);
    }
    ~GuardScope()
    {
        Active().remove(m_id);
        Guard() = m_previous;
    }

private:
    QString m_id;
    QString m_previous;
};

} // namespace

KvObject::EObjectRemoved::EObjectRemoved(const QString& name)
    : KvException(KvTexts::Message(30001, {name}))
{}

KvObject::KvObject(const QString& id) : m_id(id)
{
    KV_LOG_SCOPE("KvObject::KvObject");
    KvPropReader& reader = KvDirContext::ObjReader();
    m_ref2 = reader.ReadString(m_id, kRef2, QString());
    m_name = reader.ReadString(m_ref2.isEmpty() ? m_id : m_ref2, kName, QString());
    if (!m_ref2.isEmpty()) {
        ResolveTarget();
    } else if (m_name.isEmpty()) {
        StoreAtConstruction();
    }
    auto& registry = Registry();
    if (!registry.contains(m_id))
        registry.insert(m_id, this);
}

KvObject::~KvObject()
{
    KV_LOG_SCOPE("KvObject::~KvObject");
    // Children go first, so that they find their parent still intact.
    while (!m_children.isEmpty()) {
        KvObject* child = m_children.takeLast();
        m_childIds.remove(child->m_id);
        child->m_parent = nullptr;
        delete child;
    }
    if (!m_removed) {
        try {
            NotifyReferrers(Destroyed);
        } catch (...) {
            // A destructor must not throw; the referrers are unbound anyway below.
        }
    }
    // Nobody may keep a pointer to this object.
    for (KvObject* r : std::as_const(m_referrers)) {
        if (r->m_target == this)
            r->m_target = nullptr;
    }
    if (m_target)
        m_target->m_referrers.removeAll(this);
    if (m_parent) {
        m_parent->m_children.removeAll(this);
        m_parent->m_childIds.remove(m_id);
    }
    auto& registry = Registry();
    auto it = registry.find(m_id);
    if (it != registry.end() && it.value() == this)
        registry.erase(it);
}

void KvObject::CheckRemoved() const
{
    if (m_removed)
        throw EObjectRemoved(m_name);
}

void KvObject::Destroy(KvObject* obj)
{
    delete obj;
}

void KvObject::StoreAtConstruction()
{
    // A section that already lists children (with its Name lost) must keep them: they
    // are read only after construction.
    const QStringList keys = KvDirContext::ObjReader().ReadSection(m_id);
    for (const QString& key : keys) {
        if (key.contains(kItem, Qt::CaseInsensitive) ||
            key.contains(kContinuation, Qt::CaseInsensitive)) {
            m_childListUnread = true;
            break;
        }
    }
    if (!ConstructionMayWrite())
        return;
    Store();
}

bool KvObject::ConstructionMayWrite()
{
    const KvDirContext& ctx = KvDirContext::Current();
    return ctx.writable && KvDirStores::IsOpen() && !KvReadOnlyConstruction::Active();
}

namespace {

int g_readOnlyConstruction = 0;

} // namespace

KvReadOnlyConstruction::KvReadOnlyConstruction()
{
    ++g_readOnlyConstruction;
}

KvReadOnlyConstruction::~KvReadOnlyConstruction()
{
    --g_readOnlyConstruction;
}

bool KvReadOnlyConstruction::Active()
{
    return g_readOnlyConstruction > 0;
}

const QString& KvObject::Id() const
{
    CheckRemoved();
    return m_id;
}

const QString& KvObject::Name() const
{
    CheckRemoved();
    return m_name;
}

int KvObject::ChildCount() const
{
    CheckRemoved();
    return int(m_children.size());
}

const QList<KvObject*>& KvObject::Children() const
{
    CheckRemoved();
    return m_children;
}

KvObject* KvObject::Parent() const
{
    CheckRemoved();
    return m_parent;
}

bool KvObject::HasChild(const QString& id) const
{
    CheckRemoved();
    return m_childIds.contains(id);
}

const QString& KvObject::Ref2() const
{
    CheckRemoved();
    return m_ref2;
}

bool KvObject::IsReferrer() const
{
    CheckRemoved();
    return !m_ref2.isEmpty();
}

KvObject* KvObject::Target() const
{
    CheckRemoved();
    return m_target;
}

QList<KvObject*> KvObject::Referrers() const
{
    CheckRemoved();
    return m_referrers;
}

QStringList KvObject::ContinuationSections() const
{
    CheckRemoved();
    return m_continuations;
}

const QString& KvObject::NotificationGuard()
{
    return Guard();
}

bool KvObject::IsBeingNotified(const QString& id)
{
    return Active().contains(id);
}

void KvObject::SetName(const QString& name)
{
    KV_LOG_SCOPE("KvObject::SetName");
    CheckRemoved();
    m_name = name;
    NotifyReferrers(NameChanged);
}

void KvObject::CollectChildIds(const QString& prefix, bool filter, QStringList& ids)
{
    KvPropReader& reader = KvDirContext::ObjReader();
    QString section = m_id;
    QStringList keys = reader.ReadSection(section);
    QSet<QString> visited{section.toLower()};
    m_childListUnread = false;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString& key = keys[i];
        if (key.contains(kItem)) {
            const QString value = reader.ReadString(section, key, QString());
            if (!filter || value.startsWith(prefix))
                ids.append(value);
        } else if (key.contains(kContinuation)) {
            const QString next = reader.ReadString(section, key, QString());
            // An empty or circular continuation ends the list instead of looping.
            if (next.isEmpty() || visited.contains(next.toLower()))
                break;
            visited.insert(next.toLower());
            section = next;
            if (!m_continuations.contains(next))
                m_continuations.append(next);
            keys = reader.ReadSection(section);
            i = -1;
        }
    }
}

void KvObject::LoadChildren()
{
    KV_LOG_SCOPE("KvObject::LoadChildren");
    CheckRemoved();
    QStringList ids;
    CollectChildIds(QString(), false, ids);
    for (const QString& id : std::as_const(ids))
        CreateChild(id);
}

void KvObject::LoadChildrenOfKind(const QString& prefix)
{
    KV_LOG_SCOPE("KvObject::LoadChildrenOfKind");
    CheckRemoved();
    QStringList ids;
    CollectChildIds(prefix, true, ids);
    for (const QString& id : std::as_const(ids))
        CreateChildOfKind(id, prefix);
}

void KvObject::EraseStoredSections()
{
    KV_LOG_SCOPE("KvObject::EraseStoredSections");
    CheckRemoved();
    TexIniFile* store = &KvDirContext::ObjStore();
    store->EraseSection(m_id);
    for (const QString& s : std::as_const(m_continuations))
        store->EraseSection(s);
    m_continuations.clear();
}

namespace {

// The section holds exactly these keys with these values, in this order.
bool SectionHolds(TexIniFile& store, const QString& section, const TexProfileFile::KeyValues& keys)
{
    const QStringList lines = store.ReadSectionValues(section);
    if (lines.size() != keys.size())
        return false;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (lines[i] != keys[i].first + u'=' + keys[i].second)
            return false;
    }
    return true;
}

} // namespace

// A crash at any moment must leave the old child list or the new one, although the list
// may span members that are flushed one by one. Only one existing section is therefore
// changed in place, the switch point: the first section whose content changes. The changed
// sections after it and the sections the list grows by are written under new names and
// flushed first, then the switch point is replaced in one step and flushed, and only then
// are the continuations no longer named erased. Sections that keep their content are left
// alone: storing an unchanged object writes nothing, and appending a child, renaming or
// removing the last child changes one section in place.
void KvObject::StoreSections(TexIniFile& store)
{
    using KeyValues = TexProfileFile::KeyValues;
    std::vector<KeyValues> parts(1);
    if (!m_ref2.isEmpty()) {
        parts[0].append({kRef2, m_ref2});
    } else {
        parts[0].append({kName, m_name});
        int number = 0;
        for (const KvObject* child : std::as_const(m_children)) {
            if (number > 0 && number % ItemsPerSection == 0)
                parts.emplace_back();
            parts.back().append({KvSectionNames::ItemKey(++number), child->m_id});
        }
    }
    const qsizetype count = qsizetype(parts.size());
    const qsizetype existing = std::min(count, m_continuations.size() + 1);
    // Section i as stored so far: the object's own section, then the continuations.
    auto sectionAt = [this](qsizetype i) { return i == 0 ? m_id : m_continuations[i - 1]; };

    // Which existing sections change while every section keeps its name; one followed by a
    // section the list grows by changes anyway, as it gets a continuation.
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < existing; ++i) {
        bool changed = i + 1 < count && i + 1 >= existing;
        if (!changed) {
            KeyValues content = parts[size_t(i)];
            if (i + 1 < count)
                content.append({kContinuation, sectionAt(i + 1)});
            changed = !SectionHolds(store, sectionAt(i), content);
        }
        if (changed) {
            if (first < 0)
                first = i;
            last = i;
        }
    }

    QStringList names; // names[0] stays empty: the object's id
    names.resize(count);
    for (qsizetype i = 1; i < existing; ++i)
        names[i] = m_continuations[i - 1];
    if (first >= 0) {
        // New names for the changed sections after the switch point and for the new ones;
        // each is taken before the next is asked for, so they come in order.
        QStringList fresh;
        try {
            for (qsizetype i = first + 1; i < count; ++i) {
                if (i > last && i < existing)
                    continue;
                names[i] = store.NewSectionName(kExt);
                store.RewriteSection(names[i], parts[size_t(i)]);
                fresh.append(names[i]);
            }
            for (qsizetype i = first + 1; i + 1 < count; ++i) {
                if (fresh.contains(names[i]))
                    store.WriteString(names[i], kContinuation, names[i + 1]);
            }
            // Written before the switch point names them, also inside a store batch.
            if (!fresh.isEmpty())
                store.UpdateFileNow();
        } catch (...) {
            // The old chain is still whole on disk; the new sections go again.
            try {
                for (const QString& section : std::as_const(fresh))
                    store.EraseSection(section);
            } catch (...) {
            }
            throw;
        }
        KeyValues content = parts[size_t(first)];
        if (first + 1 < count)
            content.append({kContinuation, names[first + 1]});
        store.RewriteSection(sectionAt(first), content);
        for (const QString& old : std::as_const(m_continuations)) {
            if (!names.contains(old) && !m_unnamedSections.contains(old))
                m_unnamedSections.append(old);
        }
        m_continuations = names.mid(1);
    }
    // Also when nothing changed here: the store may still hold what a failed flush left.
    // The switch point reaches the disk before the sections it no longer names are
    // erased, also inside a store batch.
    if (m_unnamedSections.isEmpty())
        store.UpdateFile();
    else
        store.UpdateFileNow();
    // The continuations no longer named, also those a failed flush left behind before. Once
    // erased in the store, a failed flush keeps the erasure pending there.
    if (m_unnamedSections.isEmpty())
        return;
    for (const QString& section : std::exchange(m_unnamedSections, {}))
        store.EraseSection(section);
    store.UpdateFile();
}

void KvObject::Store()
{
    KV_LOG_SCOPE("KvObject::Store");
    CheckRemoved();
    TexIniFile& store = KvDirContext::ObjStore();
    if (m_childListUnread) {
        // The children were never read: keep the stored list, write the name only.
        if (m_ref2.isEmpty())
            store.WriteString(m_id, kName, m_name);
        store.UpdateFile();
    } else {
        StoreSections(store);
    }
    if (m_pendingKeywords && m_ref2.isEmpty())
        StoreKeywords();
    if (Guard().isEmpty())
        NotifyReferrers(Stored);
}

void KvObject::StoreKeywords()
{
    KV_LOG_SCOPE("KvObject::StoreKeywords");
    CheckRemoved();
    TexIniFile* store = &KvDirContext::KwdStore();
    std::optional<QString> pending = m_pendingKeywords;
    if (!m_ref2.isEmpty() && m_target)
        pending = m_target->m_pendingKeywords;
    const QString& section = PropSection();
    if (pending) {
        if (!pending->isEmpty())
            store->WriteString(section, kKwds, *pending);
        else
            store->EraseSection(section);
    }
    store->UpdateFile();
    m_pendingKeywords.reset();
    if (!m_ref2.isEmpty() && m_target)
        m_target->m_pendingKeywords.reset();
}

void KvObject::Remove()
{
    KV_LOG_SCOPE("KvObject::Remove");
    CheckRemoved();
    m_removing = true;
    NotifyReferrers(Removed);
    while (!m_children.isEmpty()) {
        KvObject* child = m_children.last();
        child->Remove();
        // Remove detached it; make sure it is out of the list before it goes.
        if (!m_children.isEmpty() && m_children.last() == child) {
            m_children.removeLast();
            m_childIds.remove(child->m_id);
            child->m_parent = nullptr;
        }
        delete child;
    }
    Detach();
    EraseStoredSections();
    KvNewIds::NoteGone(m_id);
    KvDirContext::ObjStore().UpdateFile();
    KvDirContext::KwdStore().EraseSection(m_id);
    KvDirContext::KwdStore().UpdateFile();
    m_removed = true;
}

bool KvObject::InRemoval() const
{
    for (const KvObject* o = this; o; o = o->m_parent) {
        if (o->m_removing)
            return true;
    }
    return false;
}

void KvObject::MoveUp()
{
    KV_LOG_SCOPE("KvObject::MoveUp");
    CheckRemoved();
    if (!m_parent)
        return;
    QList<KvObject*>& siblings = m_parent->m_children;
    const qsizetype at = siblings.indexOf(this);
    if (at > 0)
        siblings.swapItemsAt(at, at - 1);
}

void KvObject::ReorderChildren(const QList<KvObject*>& order)
{
    KV_LOG_SCOPE("KvObject::ReorderChildren");
    CheckRemoved();
    // Only a permutation of the children is taken; anything else would lose or add one.
    if (order.size() != m_children.size())
        throw KvException(u"KvObject::ReorderChildren: %1 children, %2 given"_qs.arg(
            QString::number(m_children.size()), QString::number(order.size())));
    QSet<const KvObject*> given;
    for (const KvObject* child : order) {
        if (!child || child->m_parent != this || given.contains(child))
            throw KvException(u"KvObject::ReorderChildren: not a permutation of the children"_qs);
        given.insert(child);
    }
    m_children = order;
}

void KvObject::MoveDown()
{
    KV_LOG_SCOPE("KvObject::MoveDown");
    CheckRemoved();
    if (!m_parent)
        return;
    const QList<KvObject*>& siblings = m_parent->m_children;
    const qsizetype at = siblings.indexOf(this);
    if (at < 0 || at + 1 >= siblings.size())
        return;
    siblings.at(at + 1)->MoveUp();
}

void KvObject::AddChild(KvObject* child, bool atEnd)
{
    KV_LOG_SCOPE("KvObject::AddChild");
    CheckRemoved();
    if (!m_childIds.contains(child->m_id)) {
        if (atEnd)
            m_children.append(child);
        else
            m_children.prepend(child);
        m_childIds.insert(child->m_id);
    }
    if (!child->m_parent || child->m_parent->m_id != m_id)
        child->SetParent(this, true);
}

void KvObject::RemoveChild(KvObject* child)
{
    KV_LOG_SCOPE("KvObject::RemoveChild");
    CheckRemoved();
    if (m_childIds.contains(child->m_id)) {
        // Ids are unique in the list; from the end, because removals mostly take the last
        // child (emptying the trash, removing a folder's content).
        for (qsizetype i = m_children.size() - 1; i >= 0; --i) {
            if (m_children[i]->m_id == child->m_id) {
                m_children.removeAt(i);
                break;
            }
        }
        m_childIds.remove(child->m_id);
    }
    if (child->m_parent && child->m_parent->m_id == m_id)
        child->Detach();
}

void KvObject::SetParent(KvObject* newParent, bool atEnd)
{
    KV_LOG_SCOPE("KvObject::SetParent");
    CheckRemoved();
    if (m_parent)
        m_parent->RemoveChild(this);
    m_parent = newParent;
    if (newParent)
        newParent->AddChild(this, atEnd);
}

void KvObject::Detach()
{
    KV_LOG_SCOPE("KvObject::Detach");
    CheckRemoved();
    KvObject* oldParent = m_parent;
    m_parent = nullptr;
    if (oldParent)
        oldParent->RemoveChild(this);
}

int KvObject::IndexInParent() const
{
    KV_LOG_SCOPE("KvObject::IndexInParent");
    if (!m_parent)
        return 0;
    const QList<KvObject*>& siblings = m_parent->m_children;
    for (qsizetype i = 0; i < siblings.size(); ++i) {
        if (siblings[i]->m_id == m_id)
            return int(i + 1);
    }
    return -1;
}

bool KvObject::HasAncestor(const KvObject* obj) const
{
    KV_LOG_SCOPE("KvObject::HasAncestor");
    CheckRemoved();
    for (const KvObject* p = m_parent; p; p = p->m_parent) {
        if (p->m_id == obj->m_id)
            return true;
    }
    return false;
}

QString KvObject::PathText(bool includeSelf, const QString& separator) const
{
    KV_LOG_SCOPE("KvObject::PathText");
    CheckRemoved();
    QStringList names;
    for (const KvObject* p = m_parent; p; p = p->m_parent)
        names.prepend(p->m_name);
    if (includeSelf)
        names.append(m_name);
    return names.join(separator);
}

void KvObject::ResolveTarget()
{
    KV_LOG_SCOPE("KvObject::ResolveTarget");
    CheckRemoved();
    if (!m_target && !m_ref2.isEmpty()) {
        KvObject* found = FindObject(m_ref2);
        if (found && found != this && !found->m_removed) {
            m_target = found;
            if (m_name.isEmpty())
                m_name = found->m_name;
        }
    }
    if (m_target)
        m_target->AddReferrer(this);
}

void KvObject::AddReferrer(KvObject* obj)
{
    KV_LOG_SCOPE("KvObject::AddReferrer");
    CheckRemoved();
    if (!m_referrers.contains(obj))
        m_referrers.append(obj);
}

void KvObject::RemoveReferrer(KvObject* obj)
{
    KV_LOG_SCOPE("KvObject::RemoveReferrer");
    CheckRemoved();
    m_referrers.removeAll(obj);
}

QString KvObject::GetKeywords() const
{
    KV_LOG_SCOPE("KvObject::GetKeywords");
    CheckRemoved();
    if (!m_ref2.isEmpty()) {
        if (m_target)
            return m_target->GetKeywords();
        return KvDirContext::KwdStore().ReadString(m_ref2, kKwds, QString());
    }
    if (m_pendingKeywords)
        return *m_pendingKeywords;
    return KvDirContext::KwdStore().ReadString(m_id, kKwds, QString());
}

void KvObject::SetKeywords(const QString& text)
{
    KV_LOG_SCOPE("KvObject::SetKeywords");
    CheckRemoved();
    if (!m_ref2.isEmpty() && m_target) {
        m_target->SetKeywords(text);
        return;
    }
    m_pendingKeywords = text;
}

bool KvObject::AddKeyword(const QString& word)
{
    KV_LOG_SCOPE("KvObject::AddKeyword");
    CheckRemoved();
    QString w = word;
    if (w.endsWith(u' '))
        w.chop(1);
    const QString list = GetKeywords();
    if (list.size() + w.size() > MaxKeywordsLength)
        return false;
    if (w.isEmpty())
        return false;
    if (KvTextMatch::Contains(list, w, KvMatchOptions{true, false}))
        return false;
    QString updated;
    if (list.isEmpty())
        updated = w;
    else if (list.endsWith(u';'))
        updated = list + w;
    else
        updated = list + u';' + w;
    SetKeywords(updated);
    return true;
}

void KvObject::NotifyReferrers(NotifyKind kind)
{
    KV_LOG_SCOPE("KvObject::NotifyReferrers");
    if (m_removed || Active().contains(m_id)) {
        kvLogScope_.Exit(1);
        return;
    }
    // Neither referrer nor target: nobody to tell (the common case, kept cheap).
    if (m_ref2.isEmpty() && !m_target && m_referrers.isEmpty()) {
        kvLogScope_.Exit(2);
        return;
    }
    GuardScope guard(m_id);
    ResolveTarget();
    if (m_target) {
        PassToTarget(kind);
        if (m_target)
            m_target->NotifyReferrers(kind);
    }
    // A copy: handlers may remove referrers from the list.
    const QList<KvObject*> referrers = m_referrers;
    for (KvObject* r : referrers) {
        if (!m_referrers.contains(r) || Active().contains(r->m_id))
            continue;
        r->OnTargetNotify(kind);
        if (kind == Removed) {
            m_referrers.removeAll(r);
            KvObject* parent = r->m_parent;
            if (!r->m_removed)
                r->Remove();
            delete r;
            // The referrer's folder must forget it in the store too: a listed id without a
            // section would come back as an empty element at the next start. A folder that
            // is being removed is not stored: that would write back its erased sections.
            if (parent && !parent->m_removed && !parent->InRemoval() &&
                KvDirContext::Current().writable)
                parent->Store();
        }
    }
}

void KvObject::OnTargetNotify(NotifyKind kind)
{
    KV_LOG_SCOPE("KvObject::OnTargetNotify");
    if (m_removed)
        return;
    switch (kind) {
    case NameChanged:
        if (m_target)
            m_name = m_target->m_name;
        break;
    case Stored:
        Store();
        break;
    case Destroyed:
    case Removed:
        // Out of the target's list as well, so that no list keeps a pointer to an object
        // that no longer points back.
        if (m_target)
            m_target->m_referrers.removeAll(this);
        m_target = nullptr;
        if (kind == Removed)
            m_ref2.clear();
        break;
    }
}

void KvObject::PassToTarget(NotifyKind kind)
{
    KV_LOG_SCOPE("KvObject::PassToTarget");
    if (m_removed || !m_target)
        return;
    switch (kind) {
    case NameChanged:
        m_target->m_name = m_name;
        break;
    case Stored:
        m_target->Store();
        break;
    case Destroyed:
    case Removed:
        m_target->RemoveReferrer(this);
        m_target = nullptr;
        m_ref2.clear();
        break;
    }
}

KvObject* FindObject(const QString& id)
{
    return Registry().value(id, nullptr);
}

void ResolveAllReferrers()
{
    KV_LOG_SCOPE("ResolveAllReferrers");
    // Only referrers that are not bound yet have anything to do; they go in id order, so
    // that the referrer lists come out the same in every run.
    QList<KvObject*> unbound;
    for (KvObject* obj : std::as_const(Registry())) {
        if (!obj->m_removed && !obj->m_ref2.isEmpty() && !obj->m_target)
            unbound.append(obj);
    }
    std::sort(unbound.begin(), unbound.end(),
              [](const KvObject* a, const KvObject* b) { return a->m_id < b->m_id; });
    for (KvObject* obj : std::as_const(unbound))
        obj->ResolveTarget();
}

namespace {

void CollectInto(const KvObject* folder, QList<KvObject*>& out)
{
    for (KvObject* child : folder->Children()) {
        out.append(child);
        CollectInto(child, out);
    }
}

} // namespace

QList<KvObject*> CollectDescendants(const KvObject* folder)
{
    QList<KvObject*> out;
    CollectInto(folder, out);
    return out;
}

QSet<QString> FindListedIds(KvPropReader& store)
{
    KV_LOG_SCOPE("FindListedIds");
    QSet<QString> named;
    for (const QString& section : store.ReadSections()) {
        const QStringList keys = store.ReadSection(section);
        for (const QString& key : keys) {
            if (key.startsWith(kItem) || key == kContinuation)
                named.insert(store.ReadString(section, key, QString()));
        }
    }
    return named;
}

QStringList FindUnreferencedSections(KvPropReader& store)
{
    KV_LOG_SCOPE("FindUnreferencedSections");
    const QStringList sections = store.ReadSections();
    const QSet<QString> named = FindListedIds(store);
    QStringList result;
    for (const QString& section : sections) {
        if (!named.contains(section))
            result.append(section);
    }
    return result;
}

int RegisteredObjectCount()
{
    return int(Registry().size());
}
