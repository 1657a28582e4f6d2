#include "lists/kvrowsview.h"

void KvRowsView::ShowRows(const QStringList& ids, bool fullPath)
{
    m_list = KvResultList(fullPath);
    m_list.SetIds(ids);
    m_selected.clear();
}

bool KvRowsView::AppendRow(const QString& id)
{
    return m_list.Append(id);
}

void KvRowsView::RemoveRows(const QSet<QString>& ids)
{
    m_list.RemoveIds(ids);
    if (ids.contains(m_selected))
        m_selected.clear();
}

void KvRowsView::SwapRows(const QString& a, const QString& b)
{
    m_list.Swap(m_list.IndexOf(a), m_list.IndexOf(b));
}

void KvRowsView::SelectId(const QString& id)
{
    m_selected = m_list.IndexOf(id) >= 0 ? id : QString();
}
