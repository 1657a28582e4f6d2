#include "ui/kvresultitemview.h"

#include "ui/kvresultlistview.h"

void KvResultItemView::ShowRows(const QStringList& ids, bool fullPath)
{
    m_view.ShowIds(ids, fullPath);
}

bool KvResultItemView::AppendRow(const QString& id)
{
    const int before = m_view.Count();
    m_view.AppendIds({id});
    return m_view.Count() > before;
}

void KvResultItemView::RemoveRows(const QSet<QString>& ids)
{
    m_view.RemoveIds(ids);
}

void KvResultItemView::SwapRows(const QString& a, const QString& b)
{
    m_view.SwapRows(a, b);
}

QStringList KvResultItemView::RowIds() const
{
    return m_view.Ids();
}

QString KvResultItemView::SelectedId() const
{
    return m_view.CurrentId();
}

void KvResultItemView::SelectId(const QString& id)
{
    if (!m_view.SelectId(id))
        m_view.clearSelection();
}
