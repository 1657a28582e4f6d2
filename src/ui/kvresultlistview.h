#pragma once

#include "lists/kvelementlistener.h"
#include "lists/kvresultlist.h"
#include "ui/kvelementlistmodel.h"

#include <QTreeView>
#include <functional>

// An element list of the search — the search window's and the main window's result
// lists, the keyword dialog's elements — as a report view over KvResultList: its row
// format, its sort rule on column clicks, the full-path switch. It follows the element
// commands' list hooks: forgotten elements lose their rows, renewed ones are rebuilt. Rows
// hold ids, and the selection is kept by id through every rebuild.
class KvResultListView : public QTreeView, public KvElementListener
{
    Q_OBJECT
public:
    explicit KvResultListView(QWidget* parent = nullptr);
    ~KvResultListView() override;

    // The images by number (the navigation tree's image list); none without a source.
    void SetImageSource(std::function<QIcon(int)> images);
    // The name in log lines of the list hooks.
    void SetListenerName(const QString& name) { m_listenerName = name; }

    const KvResultList& List() const { return m_list; }
    int Count() const { return int(m_list.Count()); }
    QStringList Ids() const { return m_list.Ids(); }

    // Rows for those ids that still name elements, at the end; the list is unsorted.
    void AppendIds(const QStringList& ids);
    // The rows of these ids in order (those that still exist); the list is unsorted.
    void SetIds(const QStringList& ids);
    void Clear();
    bool FullPath() const { return m_list.FullPath(); }
    // Rebuilds every row with the setting, keeping the order and the selection.
    void SetFullPath(bool fullPath);
    // Rebuilds the row of id where it stands (a new name, new properties); false when the
    // list has no row for it. The list is unsorted afterwards.
    bool UpdateRow(const QString& id);
    // A click on a column's header; ignored while locked and for at most one row.
    void SortByColumn(int column);
    // While a search runs, column clicks do not sort.
    void SetSortLocked(bool locked) { m_sortLocked = locked; }
    bool SortLocked() const { return m_sortLocked; }

    // The ids of the selected rows, in list order.
    QStringList SelectedIds() const;
    int SelectedCount() const;
    // The element of the one selected row; empty unless exactly one row is selected.
    QString SelectedId() const;
    // The element of the current row when it is selected, else of the one selected row;
    // empty when neither names one.
    QString CurrentId() const;
    // Selects the row of id alone and scrolls it into view; false when there is none.
    bool SelectId(const QString& id);
    // The internal hyperlink texts of the selected rows, in list order, joined by CR LF.
    QString SelectedLinkTexts() const;

    // Width of the first column; at least KvSearchFormSettings::MinColumnWidth.
    int FirstColumnWidth() const;
    void SetFirstColumnWidth(int width);

    // KvElementListener
    QString ListenerName() const override { return m_listenerName; }
    void ForgetIds(const QStringList& ids) override;
    void Renewed(const QStringList& ids) override;
    void BeginBatch() override;
    void EndBatch(bool save) override;

Q_SIGNALS:
    // A double click or Enter on a row: its element is to be shown.
    void showRequested();
    // The element hooks took rows away or rebuilt them.
    void rowsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    KvElementListModel::Row modelRow(const KvResultRow& row) const;
    // The model shows the list anew; the rows of keep stay selected.
    void showList(const QStringList& keep);
    void updateHeaders();
    void applyRenewed();

    KvResultList m_list;
    KvElementListModel* m_model = nullptr;
    std::function<QIcon(int)> m_images;
    QString m_listenerName = u"ResultLV"_qs;
    bool m_sortLocked = false;
    int m_batchDepth = 0;
    QStringList m_renewed; // waiting for the end of the batch
    bool m_changedInBatch = false;
};
