#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The rows an item list shows of its elements: a list view of the window, or rows kept
// without one (KvRowsView). A row stands for an element that exists, so rows and ids of a
// list differ where an element is gone. Rows are named by their element's id.
class KvItemView
{
public:
    virtual ~KvItemView() = default;

    // Replaces every row by the rows of those ids that name existing elements, in order,
    // in the row format of fullPath; the view is unsorted afterwards.
    virtual void ShowRows(const QStringList& ids, bool fullPath) = 0;
    // Appends the element's row in the format of the last ShowRows; false (no row) when the
    // element no longer exists.
    virtual bool AppendRow(const QString& id) = 0;
    // The rows of these elements go.
    virtual void RemoveRows(const QSet<QString>& ids) = 0;
    // The rows of two elements change places.
    virtual void SwapRows(const QString& a, const QString& b) = 0;
    // The element of each row, top to bottom.
    virtual QStringList RowIds() const = 0;
    // The element of the selected row; empty when none is selected.
    virtual QString SelectedId() const = 0;
    // Selects the element's row alone and brings it into view; an id without a row clears
    // the selection.
    virtual void SelectId(const QString& id) = 0;
};
