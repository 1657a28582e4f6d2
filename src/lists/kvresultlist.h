#pragma once

#include "lists/kvresultrow.h"

#include <QList>
#include <QSet>
#include <QStringList>

// The rows of a result list and the rules the list view shows them by: rows are added as
// hits arrive (a hit whose element is gone adds none), rebuilt for a changed element or a
// full-path switch, dropped for a forgotten element, and sorted by a column click. Any
// change but sorting leaves the list unsorted. No widgets: the window shows the rows.
class KvResultList
{
public:
    enum Column
    {
        CaptionColumn = 0,
        FolderColumn = 1
    };

    explicit KvResultList(bool fullPath = false) : m_fullPath(fullPath) {}

    const QList<KvResultRow>& Rows() const { return m_rows; }
    qsizetype Count() const { return m_rows.size(); }
    QStringList Ids() const;
    qsizetype IndexOf(const QString& id) const;

    // False (and no row) when the element no longer exists.
    bool Append(const QString& id);
    // The rows of ids in order, those of elements that still exist.
    void SetIds(const QStringList& ids);
    void Clear();
    // Rebuilds the row of id where it stands; false when id has no row.
    bool Update(const QString& id);
    // Rebuilds every row (an element's name or a folder's path changed), dropping the rows
    // of elements that are gone.
    void Refresh();
    // The rows of an element that was forgotten go; answers how many.
    qsizetype Remove(const QString& id);
    // The rows of these elements go, in one pass; answers how many.
    qsizetype RemoveIds(const QSet<QString>& ids);
    // Rows a and b change places; the list is unsorted afterwards.
    void Swap(qsizetype a, qsizetype b);

    bool FullPath() const { return m_fullPath; }
    // Rebuilds every row with the setting, keeping the order.
    void SetFullPath(bool fullPath);

    // A click on a column: the column sorted ascending already turns into the exact
    // reverse; any other click sorts that column ascending. Texts compare in upper case,
    // code point by code point; texts equal there keep their order. A list of at most one
    // row is left as it is.
    void SortByColumn(int column);
    int SortedColumn() const { return m_sortedColumn; }
    bool SortedDescending() const { return m_descending; }
    // The column's header: "Seite" or "Ordner", with the direction when sorted by it.
    QString HeaderText(int column) const;

    // The internal hyperlink texts of the rows, one a line.
    QString LinkTexts(const QList<qsizetype>& rows) const;

private:
    void Unsorted();

    QList<KvResultRow> m_rows;
    bool m_fullPath = false;
    int m_sortedColumn = -1;
    bool m_descending = false;
};
