#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

class QTextCursor;
class QTextDocument;

// Pictures in page text. A picture keeps its encoded bytes (KvRtfProp::PictureBytes): a PNG
// or JPEG is written back as it came, so a photo is never re-encoded into something larger.
namespace KvPicture {

// The bytes a picture keeps: PNG and JPEG as they are, another image format encoded as PNG;
// empty when the bytes are no picture. image, when given, gets the decoded picture.
QByteArray Keepable(const QByteArray& bytes, QImage* image = nullptr);
// A picture's bytes for an image that has none (PNG).
QByteArray Encode(const QImage& image);
// Inserts the picture at the cursor, replacing its selection, as one step; false (and
// nothing changed) when the bytes are no picture.
bool Insert(QTextCursor& cursor, const QByteArray& bytes);
// A name for a new image resource of the document that no other picture of it has.
QString UniqueName(QTextDocument& document);

} // namespace KvPicture
