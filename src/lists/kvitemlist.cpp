#include "lists/kvitemlist.h"

#include "app/kvtexts.h"
#include "lists/kvitemview.h"
#include "model/kvobject.h"
#include "model/kvsectionnames.h"
#include "platform/applog.h"
#include "store/texinifile.h"
#include "store/texmeminifile.h"

namespace {

const QString kItem = u"Item"_qs;
const QString kActItem = u"ActItem"_qs;
const QString kContinuation = u"Continuation"_qs;
const QString kExt = u"Ext"_qs;

bool Exists(const QString& id)
{
    const KvObject* obj = FindObject(id);
    return obj && !obj->IsRemoved();
}

} // namespace

KvItemList::EItemListRemoved::EItemListRemoved() : KvException(KvTexts::Text(30004)) {}

KvItemList::KvItemList(const QString& storePath, const QString& section)
    : m_section(section),
      m_ownedStore(std::make_unique<TexIniFile>(storePath, StoreSizeLimitKb, false)),
      m_store(m_ownedStore.get()), m_listenerName(section)
{
    Load();
}

KvItemList::KvItemList(TexIniFile& store, const QString& section)
    : m_section(section), m_store(&store), m_listenerName(section)
{
    Load();
}

KvItemList::KvItemList(TexIniFile& store, const QString& section, TexMemIniFile& snapshot)
    : m_section(section), m_store(&store), m_listenerName(section)
{
    LoadFrom(snapshot);
}

KvItemList::KvItemList(TexIniFile& store, const QString& section, New)
    : m_section(section), m_store(&store), m_listenerName(section)
{}

KvItemList::KvItemList(const KvItemList& other) : KvElementListener(other)
{
    copyFrom(other);
}

KvItemList& KvItemList::operator=(const KvItemList& other)
{
    if (this != &other)
        copyFrom(other);
    return *this;
}

KvItemList::~KvItemList() = default;

void KvItemList::copyFrom(const KvItemList& other)
{
    m_section = other.m_section;
    if (other.m_ownedStore) {
        m_ownedStore = std::make_unique<TexIniFile>(*other.m_ownedStore);
        m_store = m_ownedStore.get();
    } else {
        m_ownedStore.reset();
        m_store = other.m_store;
    }
    m_ids = other.m_ids;
    m_idSet = other.m_idSet;
    m_continuations = other.m_continuations;
    m_view = other.m_view;
    m_fullPath = other.m_fullPath;
    m_actItem = other.m_actItem;
    m_changed = other.m_changed;
    m_removed = other.m_removed;
    m_writable = other.m_writable;
    m_listenerName = other.m_listenerName;
}

void KvItemList::CheckRemoved() const
{
    if (m_removed)
        throw EItemListRemoved();
}

// ---- persistence

void KvItemList::Load()
{
    KV_LOG_SCOPE("KvItemList::Load");
    CheckRemoved();
    TexMemIniFile snapshot(*m_store);
    LoadFrom(snapshot);
}

void KvItemList::LoadFrom(TexMemIniFile& snapshot)
{
    CheckRemoved();
    m_ids.clear();
    m_idSet.clear();
    m_continuations.clear();
    QString section = m_section;
    // A chain that leads back to a section read before ends the list: it would never end.
    QSet<QString> visited{section.toLower()};
    for (bool first = true;; first = false) {
        const QStringList keys = snapshot.ReadSection(section);
        const QStringList values = snapshot.ReadSectionValues(section);
        if (first) {
            QHash<QString, QString> firstSection;
            for (qsizetype i = 0; i < keys.size() && i < values.size(); ++i)
                firstSection.insert(keys[i], firstSection.value(keys[i], values[i]));
            m_actItem = firstSection.value(kActItem);
            ReadExtra(firstSection);
        }
        QString next;
        for (qsizetype i = 0; i < keys.size() && i < values.size(); ++i) {
            const QString& key = keys[i];
            if (key.contains(kItem) && key != kActItem) {
                const QString& id = values[i];
                if (!id.isEmpty() && !m_idSet.contains(id)) {
                    m_idSet.insert(id);
                    m_ids.append(id);
                }
            } else if (key.contains(kContinuation) && !values[i].isEmpty()) {
                next = values[i];
                break;
            }
        }
        if (next.isEmpty() || visited.contains(next.toLower()))
            break;
        visited.insert(next.toLower());
        m_continuations.append(next);
        section = next;
    }
    m_changed = false;
}

QString KvItemList::selectedListedId() const
{
    const QString id = m_view ? m_view->SelectedId() : QString();
    return m_idSet.contains(id) ? id : QString();
}

void KvItemList::StoreActItem()
{
    CheckRemoved();
    if (!m_view)
        return;
    const QString id = selectedListedId();
    if (id == m_actItem)
        return;
    m_actItem = id;
    m_store->WriteString(m_section, kActItem, m_actItem);
}

void KvItemList::Save()
{
    KV_LOG_SCOPE("KvItemList::Save");
    Write();
    m_store->UpdateFile();
}

void KvItemList::Write()
{
    CheckRemoved();
    if (!m_changed) {
        StoreActItem();
        return;
    }
    if (m_view)
        m_actItem = selectedListedId();
    writeSections();
    m_changed = false;
}

// The continuation sections keep their names where they can, new ones take the first free
// "Ext" name; each section is replaced in one step in its member, the first one with the
// keys a derived list keeps there.
void KvItemList::writeSections()
{
    using KeyValues = TexProfileFile::KeyValues;
    std::vector<KeyValues> parts(1);
    for (qsizetype i = 0; i < m_ids.size(); ++i) {
        if (i > 0 && i % ItemsPerSection == 0)
            parts.emplace_back();
        parts.back().append({KvSectionNames::ItemKey(int(i) + 1), m_ids[i]});
    }
    QStringList names{m_section};
    for (size_t i = 1; i < parts.size(); ++i) {
        names.append(qsizetype(i) - 1 < m_continuations.size() ? m_continuations[qsizetype(i) - 1]
                                                               : m_store->NewSectionName(kExt));
        // Taken before the next name is asked for, so that the names differ.
        if (qsizetype(i) - 1 >= m_continuations.size())
            m_store->RewriteSection(names.back(), parts[i]);
    }
    for (size_t i = 1; i < parts.size(); ++i) {
        KeyValues keys = parts[i];
        if (i + 1 < parts.size())
            keys.append({kContinuation, names[qsizetype(i) + 1]});
        m_store->RewriteSection(names[qsizetype(i)], keys);
    }
    KeyValues first = parts[0];
    if (parts.size() > 1)
        first.append({kContinuation, names[1]});
    first.append({kActItem, m_actItem});
    first.append(ExtraKeys());
    m_store->RewriteSection(m_section, first);
    for (qsizetype i = qsizetype(parts.size()) - 1; i < m_continuations.size(); ++i)
        m_store->EraseSection(m_continuations[i]);
    m_continuations = names.mid(1);
}

void KvItemList::EraseSections()
{
    KV_LOG_SCOPE("KvItemList::EraseSections");
    CheckRemoved();
    m_store->EraseSection(m_section);
    for (const QString& section : std::as_const(m_continuations))
        m_store->EraseSection(section);
    m_continuations.clear();
}

void KvItemList::Remove()
{
    KV_LOG_SCOPE("KvItemList::Remove");
    CheckRemoved();
    ClearIds(false);
    EraseSections();
    m_store->UpdateFile();
    m_removed = true;
}

// ---- the view

void KvItemList::AttachView(KvItemView* view, bool fullPath)
{
    KV_LOG_SCOPE("KvItemList::AttachView");
    CheckRemoved();
    m_view = view;
    m_fullPath = fullPath;
    if (!m_view)
        return;
    m_view->ShowRows(m_ids, m_fullPath);
    m_view->SelectId(m_actItem);
}

void KvItemList::RebuildRows()
{
    CheckRemoved();
    if (!m_view)
        return;
    const QString selected = m_view->SelectedId();
    m_view->ShowRows(m_ids, m_fullPath);
    m_view->SelectId(selected);
}

// ---- the ids

int KvItemList::Add(const KvObject* obj, bool show)
{
    CheckRemoved();
    if (!obj)
        return 0;
    const QString& id = obj->Id();
    if (!m_idSet.contains(id)) {
        m_ids.append(id);
        m_idSet.insert(id);
        if (m_view && show)
            m_view->AppendRow(id);
        m_changed = true;
    }
    if (m_view && show)
        m_view->SelectId(id);
    return IndexOf(id);
}

void KvItemList::AddIds(const QStringList& ids)
{
    CheckRemoved();
    for (const QString& id : ids) {
        if (id.isEmpty() || m_idSet.contains(id))
            continue;
        m_ids.append(id);
        m_idSet.insert(id);
        m_changed = true;
    }
}

bool KvItemList::RemoveObject(const KvObject* obj)
{
    return obj && RemoveId(obj->Id());
}

bool KvItemList::RemoveId(const QString& id)
{
    CheckRemoved();
    if (!m_idSet.contains(id))
        return false;
    m_ids.removeOne(id);
    m_idSet.remove(id);
    if (m_view)
        m_view->RemoveRows({id});
    m_changed = true;
    return true;
}

bool KvItemList::RemoveAt(int index)
{
    CheckRemoved();
    if (index < 0 || index >= m_ids.size())
        return false;
    return RemoveId(m_ids.at(index));
}

int KvItemList::RemoveIds(const QSet<QString>& ids)
{
    CheckRemoved();
    // Whichever is smaller is walked, the other one looked up.
    QSet<QString> gone;
    if (ids.size() <= m_ids.size()) {
        for (const QString& id : ids) {
            if (m_idSet.contains(id))
                gone.insert(id);
        }
    } else {
        for (const QString& id : std::as_const(m_ids)) {
            if (ids.contains(id))
                gone.insert(id);
        }
    }
    if (gone.isEmpty())
        return 0;
    m_ids.removeIf([&gone](const QString& id) { return gone.contains(id); });
    m_idSet.subtract(gone);
    if (m_view)
        m_view->RemoveRows(gone);
    m_changed = true;
    return int(gone.size());
}

void KvItemList::ClearIds(bool keepRows)
{
    CheckRemoved();
    m_ids.clear();
    m_idSet.clear();
    if (m_view && !keepRows)
        m_view->ShowRows({}, m_fullPath);
    m_changed = true;
}

void KvItemList::Clear()
{
    ClearIds(false);
}

void KvItemList::swapAt(int a, int b)
{
    if (m_view)
        m_view->SwapRows(m_ids.at(a), m_ids.at(b));
    m_ids.swapItemsAt(a, b);
    m_changed = true;
}

bool KvItemList::MoveUp(int index)
{
    CheckRemoved();
    if (index <= 0 || index >= m_ids.size())
        return false;
    swapAt(index, index - 1);
    return true;
}

bool KvItemList::MoveDown(int index)
{
    CheckRemoved();
    return index >= 0 && index + 1 < m_ids.size() && MoveUp(index + 1);
}

bool KvItemList::MoveRow(const QString& id, bool up)
{
    CheckRemoved();
    const int at = IndexOf(id) - 1;
    if (at < 0)
        return false;
    const int step = up ? -1 : 1;
    for (int other = at + step; other >= 0 && other < m_ids.size(); other += step) {
        if (Exists(m_ids.at(other))) {
            swapAt(at, other);
            return true;
        }
    }
    return false;
}

int KvItemList::IndexOf(const QString& id) const
{
    CheckRemoved();
    return m_idSet.contains(id) ? int(m_ids.indexOf(id)) + 1 : 0;
}

bool KvItemList::Contains(const QString& id) const
{
    CheckRemoved();
    return m_idSet.contains(id);
}

const QStringList& KvItemList::Ids() const
{
    CheckRemoved();
    return m_ids;
}

int KvItemList::Count() const
{
    CheckRemoved();
    return int(m_ids.size());
}

// ---- the list hooks

void KvItemList::ForgetIds(const QStringList& ids)
{
    if (m_removed)
        return;
    RemoveIds(QSet<QString>(ids.begin(), ids.end()));
}

void KvItemList::Renewed(const QStringList& ids)
{
    if (m_removed || !m_view)
        return;
    for (const QString& id : ids) {
        if (m_idSet.contains(id)) {
            RebuildRows();
            return;
        }
    }
}

void KvItemList::EndBatch(bool save)
{
    if (save && m_writable && !m_removed && Dirty())
        Save();
}
