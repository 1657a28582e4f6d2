#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>

// The rows of an element list of the main window (search results, history): one row per
// element, named by its id, with its name, its folder and its status image. The lists
// hold ids, never pointers: a row outlives a moved or deleted element.
class KvElementListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Row
    {
        QString id;
        QString name;
        QString folder;
        QIcon image;
    };

    // headers: the column captions (text references are resolved).
    explicit KvElementListModel(const QStringList& headers, QObject* parent = nullptr);

    void SetRows(const QList<Row>& rows);
    void AppendRow(const Row& row);
    // Appends several rows in one step (a batch of hits).
    void AppendRows(const QList<Row>& rows);
    void ReplaceRow(int row, const Row& with);
    void RemoveRowAt(int row);
    void Clear();
    // The column captions (text references are resolved).
    void SetHeaders(const QStringList& headers);
    const Row& RowAt(int row) const { return m_rows.at(row); }
    QString IdAt(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    static constexpr int IdRole = Qt::UserRole + 1;

private:
    QStringList m_headers;
    QList<Row> m_rows;
};
