#include "lists/kvresultlist.h"

#include "app/kvtexts.h"
#include "links/kvlink.h"
#include "lists/kvcodepointorder.h"
#include "model/kvobject.h"

#include <algorithm>

QStringList KvResultList::Ids() const
{
    QStringList ids;
    ids.reserve(m_rows.size());
    for (const KvResultRow& row : m_rows)
        ids.append(row.id);
    return ids;
}

qsizetype KvResultList::IndexOf(const QString& id) const
{
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].id == id)
            return i;
    }
    return -1;
}

void KvResultList::Unsorted()
{
    m_sortedColumn = -1;
    m_descending = false;
}

bool KvResultList::Append(const QString& id)
{
    std::optional<KvResultRow> row = KvResultRow::For(id, m_fullPath);
    if (!row)
        return false;
    m_rows.append(std::move(*row));
    Unsorted();
    return true;
}

void KvResultList::SetIds(const QStringList& ids)
{
    m_rows.clear();
    for (const QString& id : ids)
        Append(id);
    Unsorted();
}

void KvResultList::Clear()
{
    m_rows.clear();
    Unsorted();
}

bool KvResultList::Update(const QString& id)
{
    const qsizetype i = IndexOf(id);
    if (i < 0)
        return false;
    Unsorted();
    if (std::optional<KvResultRow> row = KvResultRow::For(id, m_fullPath))
        m_rows[i] = std::move(*row);
    else
        m_rows.removeAt(i);
    return true;
}

void KvResultList::Refresh()
{
    SetIds(Ids());
}

qsizetype KvResultList::Remove(const QString& id)
{
    const qsizetype removed = m_rows.removeIf([&](const KvResultRow& row) { return row.id == id; });
    if (removed)
        Unsorted();
    return removed;
}

qsizetype KvResultList::RemoveIds(const QSet<QString>& ids)
{
    const qsizetype removed =
        m_rows.removeIf([&](const KvResultRow& row) { return ids.contains(row.id); });
    if (removed)
        Unsorted();
    return removed;
}

void KvResultList::Swap(qsizetype a, qsizetype b)
{
    if (a < 0 || b < 0 || a >= m_rows.size() || b >= m_rows.size() || a == b)
        return;
    m_rows.swapItemsAt(a, b);
    Unsorted();
}

void KvResultList::SetFullPath(bool fullPath)
{
    m_fullPath = fullPath;
    Refresh();
}

void KvResultList::SortByColumn(int column)
{
    if (m_rows.size() <= 1)
        return;
    if (column == m_sortedColumn && !m_descending) {
        std::reverse(m_rows.begin(), m_rows.end());
        m_descending = true;
        return;
    }
    auto text = [column](const KvResultRow& row) -> const QString& {
        return column == FolderColumn ? row.folder : row.caption;
    };
    QList<std::pair<QString, KvResultRow>> keyed;
    keyed.reserve(m_rows.size());
    for (KvResultRow& row : m_rows)
        keyed.append({text(row).toUpper(), std::move(row)});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return KvCodePointLess()(a.first, b.first);
    });
    m_rows.clear();
    for (auto& [key, row] : keyed)
        m_rows.append(std::move(row));
    m_sortedColumn = column;
    m_descending = false;
}

QString KvResultList::HeaderText(int column) const
{
    QString text = KvTexts::Text(column == FolderColumn ? 5001 : 5000);
    if (column == m_sortedColumn)
        text += KvTexts::Text(m_descending ? 12028 : 12027);
    return text;
}

QString KvResultList::LinkTexts(const QList<qsizetype>& rows) const
{
    QStringList texts;
    for (const qsizetype i : rows) {
        if (i < 0 || i >= m_rows.size())
            continue;
        if (const KvObject* obj = FindObject(m_rows[i].id))
            texts.append(KvResultRow::LinkText(*obj));
    }
    return KvLink::JoinLinkTexts(texts);
}
