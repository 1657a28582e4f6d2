#pragma once

#include "lists/kvitemview.h"
#include "lists/kvresultlist.h"

// Rows of an item list without a window: the rows a list view would show, with a
// selection. Serves korvnote-cli and the tests.
class KvRowsView : public KvItemView
{
public:
    const KvResultList& List() const { return m_list; }
    // Sorts the rows as a click on the column's header does.
    void SortByColumn(int column) { m_list.SortByColumn(column); }

    void ShowRows(const QStringList& ids, bool fullPath) override;
    bool AppendRow(const QString& id) override;
    void RemoveRows(const QSet<QString>& ids) override;
    void SwapRows(const QString& a, const QString& b) override;
    QStringList RowIds() const override { return m_list.Ids(); }
    QString SelectedId() const override { return m_selected; }
    void SelectId(const QString& id) override;

private:
    KvResultList m_list;
    QString m_selected;
};
