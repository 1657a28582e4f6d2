#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class QTextDocument;

// The text formats of "show" and "convert": RTF through our reader and writer, plain text,
// HTML and Markdown through the document's own readers and writers.
namespace KvCliFormats {

enum class Format
{
    Rtf,
    Txt,
    Html,
    Md
};

// "rtf", "txt", "html", "md".
std::optional<Format> FromName(const QString& name);
// By the file ending: .rtf, .txt, .html/.htm, .md/.markdown (any letter case).
std::optional<Format> FromPath(const QString& path);

// Replaces the document's content; raises KvCliError for RTF that is not RTF.
void Read(const QByteArray& bytes, Format format, QTextDocument& doc);
// Text formats in UTF-8; plain text ends with a line end.
QByteArray Write(const QTextDocument& doc, Format format);

} // namespace KvCliFormats
