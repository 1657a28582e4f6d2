#pragma once

#include <QString>
#include <optional>

class KvObject;

// One row of an element list (search results, bookmarks, keyword elements, history): the
// element's id, the caption, the folder column and the icon. Rows hold ids and are built
// anew from the element whenever it changed.
struct KvResultRow
{
    QString id;
    QString caption; // a page's name; "[Ordner: name]" for a folder
    QString folder;  // the folder column, with or without the full path
    int image = 0;   // status image 4 + status; a folder without status: 0 top, 1 trash, 2 other

    // The row of obj.
    static KvResultRow For(const KvObject& obj, bool fullPath);
    // The row of the element with that id; none when it no longer exists.
    static std::optional<KvResultRow> For(const QString& id, bool fullPath);
    // The element's internal hyperlink text, "<file://*id*(name)>".
    static QString LinkText(const KvObject& obj);

    bool operator==(const KvResultRow&) const = default;
};
