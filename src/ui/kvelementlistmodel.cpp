#include "ui/kvelementlistmodel.h"

#include "ui/kvlanguageinit.h"

KvElementListModel::KvElementListModel(const QStringList& headers, QObject* parent)
    : QAbstractTableModel(parent)
{
    for (const QString& h : headers)
        m_headers.append(KvLanguageInit::Caption(h));
}

void KvElementListModel::SetHeaders(const QStringList& headers)
{
    QStringList resolved;
    for (const QString& h : headers)
        resolved.append(KvLanguageInit::Caption(h));
    if (resolved == m_headers)
        return;
    const bool sameCount = resolved.size() == m_headers.size();
    if (!sameCount)
        beginResetModel();
    m_headers = resolved;
    if (sameCount)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, int(m_headers.size()) - 1);
    else
        endResetModel();
}

void KvElementListModel::SetRows(const QList<Row>& rows)
{
    beginResetModel();
    m_rows = rows;
    endResetModel();
}

void KvElementListModel::AppendRow(const Row& row)
{
    beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size()));
    m_rows.append(row);
    endInsertRows();
}

void KvElementListModel::AppendRows(const QList<Row>& rows)
{
    if (rows.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + int(rows.size()) - 1);
    m_rows.append(rows);
    endInsertRows();
}

void KvElementListModel::ReplaceRow(int row, const Row& with)
{
    if (row < 0 || row >= m_rows.size())
        return;
    m_rows[row] = with;
    Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void KvElementListModel::RemoveRowAt(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

void KvElementListModel::Clear()
{
    SetRows({});
}

QString KvElementListModel::IdAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).id : QString();
}

int KvElementListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int KvElementListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant KvElementListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const Row& r = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == 0 ? r.name : r.folder;
    case Qt::DecorationRole:
        return index.column() == 0 ? QVariant(r.image) : QVariant();
    case IdRole:
        return r.id;
    default:
        return {};
    }
}

QVariant KvElementListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headers.size())
        return m_headers.at(section);
    return {};
}
