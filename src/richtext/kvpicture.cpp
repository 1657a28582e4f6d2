#include "richtext/kvpicture.h"

#include "richtext/rtfproperties.h"

#include <QBuffer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

namespace KvPicture {

QByteArray Encode(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        return {};
    return bytes;
}

QByteArray Keepable(const QByteArray& bytes, QImage* image)
{
    QImage decoded = QImage::fromData(bytes);
    if (decoded.isNull())
        return {};
    const bool kept = bytes.startsWith("\x89PNG") || bytes.startsWith("\xFF\xD8");
    QByteArray result = kept ? bytes : Encode(decoded);
    if (image)
        *image = std::move(decoded);
    return result;
}

QString UniqueName(QTextDocument& document)
{
    // The counter lives with the document, so that names are found in one step.
    static const char* kCounter = "korvPictureCounter";
    int n = document.property(kCounter).toInt();
    QString name;
    do {
        name = u"korv-picture-%1"_qs.arg(++n);
    } while (document.resource(QTextDocument::ImageResource, QUrl(name)).isValid());
    document.setProperty(kCounter, n);
    return name;
}

bool Insert(QTextCursor& cursor, const QByteArray& bytes)
{
    QTextDocument* doc = cursor.document();
    QImage image;
    const QByteArray kept = Keepable(bytes, &image);
    if (!doc || kept.isEmpty())
        return false;
    const QString name = UniqueName(*doc);
    doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    f.setWidth(image.width());
    f.setHeight(image.height());
    f.setProperty(KvRtfProp::PictureBytes, kept);
    cursor.beginEditBlock();
    cursor.insertImage(f);
    cursor.endEditBlock();
    return true;
}

} // namespace KvPicture
