#include "richtext/kvpaste.h"

#include "richtext/kvpicture.h"
#include "richtext/rtfproperties.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QMimeData>
#include <QPointer>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QUrl>

namespace {

QByteArray RtfOf(const QMimeData& data)
{
    for (const QString& type : KvPaste::RtfTypes()) {
        if (data.hasFormat(type))
            return data.data(type);
    }
    return {};
}

// The picture's bytes as the clipboard has them: PNG and JPEG kept, else encoded.
QByteArray PictureOf(const QMimeData& data)
{
    for (const char16_t* type : {u"image/png", u"image/jpeg"}) {
        const QString t = QString::fromUtf16(type);
        if (data.hasFormat(t))
            return data.data(t);
    }
    if (data.hasImage())
        return KvPicture::Encode(qvariant_cast<QImage>(data.imageData()));
    for (const QString& type : data.formats()) {
        if (type.startsWith(u"image/"))
            return data.data(type);
    }
    return {};
}

bool HasPicture(const QMimeData& data)
{
    if (data.hasImage())
        return true;
    for (const QString& type : data.formats()) {
        if (type.startsWith(u"image/"))
            return true;
    }
    return false;
}

// A block format without the list it belonged to in another document.
QTextBlockFormat Unlisted(QTextBlockFormat format)
{
    format.clearProperty(QTextFormat::ObjectIndex);
    return format;
}

// Gives a block a paragraph format and the list format it should be in (none: no list).
void SetParagraph(QTextCursor& c, const QTextBlock& block, const QTextBlockFormat& format,
                  const QTextListFormat* listFormat, QTextList* joinList)
{
    if (QTextList* list = block.textList())
        list->remove(block);
    c.setPosition(block.position());
    c.setBlockFormat(Unlisted(format));
    if (joinList)
        joinList->add(block);
    else if (listFormat)
        c.createList(*listFormat);
}

} // namespace

namespace KvPaste {

const QList<QString>& RtfTypes()
{
    static const QList<QString> types = {u"text/rtf"_qs, u"application/rtf"_qs,
                                         u"text/richtext"_qs};
    return types;
}

QList<Kind> Offered(const QMimeData& data)
{
    QList<Kind> kinds;
    if (!RtfOf(data).isEmpty())
        kinds << Kind::Rtf;
    if (HasPicture(data))
        kinds << Kind::Picture;
    if (data.hasHtml())
        kinds << Kind::Html;
    if (data.hasText())
        kinds << Kind::Text;
    return kinds;
}

void InsertDocument(QTextCursor& cursor, const QTextDocument& source, int marks)
{
    QTextDocument* doc = cursor.document();
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    const QTextBlock landing = doc->findBlock(cursor.position());
    const int landingNumber = landing.blockNumber();
    const QTextBlockFormat target = landing.blockFormat();
    const QPointer<QTextList> landingList = landing.textList();
    const QTextListFormat landingListFormat =
        landingList ? landingList->format() : QTextListFormat();

    const QTextBlock first = source.begin();
    const QTextBlockFormat firstFormat = first.blockFormat();
    const bool firstListed = first.textList() != nullptr;
    const QTextListFormat firstListFormat =
        firstListed ? first.textList()->format() : QTextListFormat();

    cursor.insertFragment(QTextDocumentFragment(&source));
    if (marks >= source.blockCount())
        cursor.insertBlock(); // the last pasted paragraph came with its mark
    if (marks > 0) {
        QTextCursor c(doc);
        // After the last mark: the paragraph the text landed in, with its mark.
        const QTextBlock tail = doc->findBlockByNumber(landingNumber + marks);
        if (tail.isValid()) {
            QTextList* join =
                landingList && landingList->count() > 0 ? landingList.data() : nullptr;
            SetParagraph(c, tail, target, landingList ? &landingListFormat : nullptr,
                         join != tail.textList() ? join : nullptr);
        }
        // The first pasted paragraph brings its own format.
        const QTextBlock head = doc->findBlockByNumber(landingNumber);
        if (head.isValid()) {
            QTextList* next =
                head.next().isValid() && firstListed ? head.next().textList() : nullptr;
            const bool sameList = next && next->format() == firstListFormat;
            SetParagraph(c, head, firstFormat, firstListed ? &firstListFormat : nullptr,
                         sameList ? next : nullptr);
        }
    }
    cursor.endEditBlock();
}

void InsertRtf(QTextCursor& cursor, const QByteArray& rtf)
{
    QTextDocument* doc = cursor.document();
    QTextDocument pasted;
    pasted.setDefaultFont(doc->defaultFont());
    const KvRtfReadResult read = KvRtfReader::Read(rtf, &pasted);
    // Pictures move over under names of this document, so that none replaces another.
    for (QTextBlock b = pasted.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.charFormat().isImageFormat())
                continue;
            QTextImageFormat f = frag.charFormat().toImageFormat();
            const QVariant image = pasted.resource(QTextDocument::ImageResource, QUrl(f.name()));
            if (!image.isValid())
                continue;
            f.setName(KvPicture::UniqueName(*doc));
            doc->addResource(QTextDocument::ImageResource, QUrl(f.name()), image);
            QTextCursor c(&pasted);
            c.setPosition(frag.position());
            c.setPosition(frag.position() + frag.length(), QTextCursor::KeepAnchor);
            c.setCharFormat(f);
        }
    }
    const int marks = pasted.blockCount() - (read.endedWithParagraphMark ? 0 : 1);
    InsertDocument(cursor, pasted, marks);
}

QByteArray SelectionRtf(const QTextCursor& selection)
{
    const QTextDocument* doc = selection.document();
    QTextDocument copy;
    copy.setDefaultFont(doc->defaultFont());
    QTextCursor(&copy).insertFragment(selection.selection());
    // A first paragraph copied with its mark keeps its format, also when the selection
    // began inside it (Qt's fragment leaves that format out).
    const QTextBlock sourceFirst = doc->findBlock(selection.selectionStart());
    if (copy.blockCount() > 1 && sourceFirst.isValid()) {
        QTextCursor c(&copy);
        c.setBlockFormat(Unlisted(sourceFirst.blockFormat()));
        if (QTextList* list = sourceFirst.textList(); list && !copy.begin().textList())
            c.createList(list->format());
    }
    for (QTextBlock b = copy.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat()) {
                const QUrl name(f.toImageFormat().name());
                copy.addResource(QTextDocument::ImageResource, name,
                                 doc->resource(QTextDocument::ImageResource, name));
            }
        }
    }
    KvRtfWriter::Options options;
    options.lastParagraphMark = false;
    return KvRtfWriter::Write(copy, options);
}

bool Insert(QTextCursor& cursor, const QMimeData& data, Kind kind)
{
    switch (kind) {
    case Kind::Rtf: {
        const QByteArray rtf = RtfOf(data);
        if (rtf.isEmpty())
            return false;
        InsertRtf(cursor, rtf);
        return true;
    }
    case Kind::Picture:
        return HasPicture(data) && KvPicture::Insert(cursor, PictureOf(data));
    case Kind::Html: {
        if (!data.hasHtml())
            return false;
        QTextDocument pasted;
        pasted.setDefaultFont(cursor.document()->defaultFont());
        pasted.setHtml(data.html());
        InsertDocument(cursor, pasted, pasted.blockCount() - 1);
        return true;
    }
    case Kind::Text:
        if (!data.hasText())
            return false;
        cursor.beginEditBlock();
        cursor.insertText(data.text());
        cursor.endEditBlock();
        return true;
    }
    return false;
}

bool Insert(QTextCursor& cursor, const QMimeData& data)
{
    const QList<Kind> kinds = Offered(data);
    return !kinds.isEmpty() && Insert(cursor, data, kinds.first());
}

} // namespace KvPaste
