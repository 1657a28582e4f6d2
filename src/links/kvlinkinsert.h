#pragma once

#include <QString>

// What the hyperlink dialog (and "korvnote-cli link") writes for a target: the URL of a
// link of each type, with the path types of file and directory links.
namespace KvLinkInsert {

// The link types of the dialog, in its order.
enum class Type
{
    Element,
    Keyword,
    File,
    Directory,
    Internet,
    Ftp,
    Other
};
enum class PathType
{
    Absolute,
    Relative,
    Unc
};

// The scheme prefix the dialog shows for a type ("____://" for Other, which the user edits).
QString Prefix(Type type);
// The target box takes the text typed for these types; the others are filled by pickers.
bool TypedTarget(Type type);
// The picker button works for these types.
bool HasPicker(Type type);
// The path type applies to these.
bool HasPathType(Type type);

// A file or directory target in the path type asked for. A refused conversion gives its
// message (14520 with the data directory, or 14500 with the reason) and the target
// unchanged, which may still be written; a path with "<" or ">" cannot be written at all.
struct PathTarget
{
    QString target;
    QString refusal;
    bool mayWriteUnchanged = true;
};
PathTarget ForPath(const QString& path, PathType type, const QString& dataDir);

// The URL for prefix and target: angle brackets of addresses percent-encoded, blanks
// taken out of the prefix.
QString Url(Type type, const QString& prefix, const QString& target);

} // namespace KvLinkInsert
