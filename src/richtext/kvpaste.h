#pragma once

#include <QByteArray>
#include <QList>

class QMimeData;
class QTextCursor;
class QTextDocument;

// Pasting into page text, without a widget. The kinds in the order a plain paste tries
// them: RTF through our own reader, a picture, HTML, plain text.
//
// Paragraphs: a pasted paragraph that comes with its paragraph mark brings its paragraph
// format; the pasted text after the last mark takes the format of the paragraph it lands
// in (the mark there stays the one it had).
namespace KvPaste {

enum class Kind
{
    Rtf,
    Picture,
    Html,
    Text
};

// The kinds the data offers, in paste order.
QList<Kind> Offered(const QMimeData& data);
// Inserts the data's content of that kind at the cursor, replacing the selection, as one
// step; false (nothing changed) when the data has no such content.
bool Insert(QTextCursor& cursor, const QMimeData& data, Kind kind);
// The first kind offered.
bool Insert(QTextCursor& cursor, const QMimeData& data);
// RTF at the cursor as above.
void InsertRtf(QTextCursor& cursor, const QByteArray& rtf);
// The content of a document at the cursor as above; marks: how many of its paragraphs
// came with their paragraph mark. Its pictures must be resources of the cursor's document.
void InsertDocument(QTextCursor& cursor, const QTextDocument& source, int marks);

// The selection as the clipboard's RTF: its last paragraph has its mark only when the
// selection took the mark, so that pasting tells whole paragraphs from a part of one.
QByteArray SelectionRtf(const QTextCursor& selection);

// The MIME types that carry RTF.
const QList<QString>& RtfTypes();

} // namespace KvPaste
