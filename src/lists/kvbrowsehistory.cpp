#include "lists/kvbrowsehistory.h"

#include "app/kvpaths.h"
#include "lists/kvitemlist.h"
#include "model/kvobject.h"
#include "model/kvsectionnames.h"
#include "platform/applog.h"
#include "store/texinifile.h"

KvBrowseHistory::KvBrowseHistory(const QString& storePath, const QString& user)
    : m_storePath(storePath), m_user(user.isEmpty() ? KvPaths::UserName() : user)
{}

KvBrowseHistory::~KvBrowseHistory()
{
    if (m_storePath.isEmpty())
        return;
    try {
        Save();
    } catch (const std::exception& e) {
        KvAppLog::Write(u"KvBrowseHistory: not saved: "_qs + QString::fromUtf8(e.what()));
    }
}

void KvBrowseHistory::SetLimit(int n)
{
    m_limit = n < 0 ? DefaultLimit : n;
    if (m_limit == 0) {
        Clear();
        return;
    }
    for (qsizetype i = 0; m_entries.size() > m_limit && i < m_entries.size();) {
        if (i + 1 == m_position) {
            ++i;
            continue;
        }
        m_entries.removeAt(i);
        if (i + 1 < m_position)
            --m_position;
    }
}

void KvBrowseHistory::AddEntry(const QString& id)
{
    if (id.isEmpty())
        return;
    m_entries.removeAll(id);
    m_entries.append(id);
    if (m_entries.size() > m_limit)
        m_entries.removeFirst();
    m_position = int(m_entries.size());
}

int KvBrowseHistory::RemoveIds(const QSet<QString>& ids)
{
    int removed = 0;
    for (qsizetype i = 0; i < m_entries.size();) {
        if (!ids.contains(m_entries[i])) {
            ++i;
            continue;
        }
        if (i + 1 <= m_position)
            --m_position;
        m_entries.removeAt(i);
        ++removed;
    }
    return removed;
}

int KvBrowseHistory::RemoveId(const QString& id)
{
    return RemoveIds({id});
}

void KvBrowseHistory::RemoveCurrent()
{
    if (m_position > 0)
        RemoveId(CurrentEntry());
}

void KvBrowseHistory::Clear()
{
    m_entries.clear();
    m_position = 0;
}

QString KvBrowseHistory::CurrentEntry() const
{
    return m_position > 0 && m_position <= m_entries.size() ? m_entries[m_position - 1] : QString();
}

QString KvBrowseHistory::GoToPrevious()
{
    if (m_position > 0)
        --m_position;
    return CurrentEntry();
}

QString KvBrowseHistory::GoToNext()
{
    if (m_position >= m_entries.size())
        return QString();
    ++m_position;
    return CurrentEntry();
}

QString KvBrowseHistory::SetPosition(int n)
{
    if (n < 1 || n > m_entries.size())
        return QString();
    m_position = n;
    return CurrentEntry();
}

bool KvBrowseHistory::CanGoPrevious(const QString& shownPage) const
{
    if (m_position == 0)
        return false;
    if (m_position == 1 && !shownPage.isEmpty())
        return CurrentEntry() != shownPage;
    return true;
}

QString KvBrowseHistory::PreviousTarget(bool pageShown)
{
    return m_position > 1 && pageShown ? GoToPrevious() : CurrentEntry();
}

void KvBrowseHistory::Leave(const QString& left)
{
    if (left.isEmpty())
        return;
    RemoveCurrent();
    AddEntry(left);
}

void KvBrowseHistory::SetStorePath(const QString& path)
{
    m_storePath = path;
    if (m_entries.isEmpty())
        Load();
}

void KvBrowseHistory::Load()
{
    KV_LOG_SCOPE("KvBrowseHistory::Load");
    if (m_storePath.isEmpty())
        return;
    for (const QString& id : ReadEntries(m_storePath, m_user)) {
        const KvObject* obj = FindObject(id);
        if (obj && !obj->IsRemoved())
            AddEntry(id);
    }
}

void KvBrowseHistory::Save()
{
    KV_LOG_SCOPE("KvBrowseHistory::Save");
    if (m_storePath.isEmpty())
        return;
    WriteEntries(m_storePath, m_user, m_entries);
    m_forgotten = false;
}

QStringList KvBrowseHistory::ReadEntries(const QString& storePath, const QString& user)
{
    TexIniFile store(storePath, KvItemList::StoreSizeLimitKb, false);
    QStringList ids;
    for (const QString& line : store.ReadSectionValues(user)) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).contains(u"Item"_qs) && eq + 1 < line.size())
            ids.append(line.mid(eq + 1));
    }
    return ids;
}

void KvBrowseHistory::WriteEntries(const QString& storePath, const QString& user,
                                   const QStringList& ids)
{
    TexIniFile store(storePath, KvItemList::StoreSizeLimitKb, false);
    TexProfileFile::KeyValues keys;
    for (qsizetype i = 0; i < ids.size(); ++i)
        keys.append({KvSectionNames::ItemKey(int(i) + 1), ids[i]});
    if (keys.isEmpty())
        store.EraseSection(user);
    else
        store.RewriteSection(user, keys);
    store.UpdateFile();
}

void KvBrowseHistory::ForgetIds(const QStringList& ids)
{
    if (RemoveIds(QSet<QString>(ids.begin(), ids.end())) > 0)
        m_forgotten = true;
}

void KvBrowseHistory::EndBatch(bool save)
{
    if (save && m_forgotten && !m_storePath.isEmpty())
        Save();
}
