// Pasting without a widget: the kinds a clipboard offers and their order, whole paragraphs
// bringing their format and parts taking the paragraph they land in; pictures keeping their
// encoded bytes; foreign objects shown at their size and written back as they came.
#include "richtext/kvpaste.h"
#include "richtext/kvpicture.h"
#include "richtext/rtfproperties.h"
#include "richtext/texrichdocument.h"

#include <QBuffer>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

using Kind = KvPaste::Kind;

QByteArray Encoded(const QImage& image, const char* format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

QImage Filled(int w, int h, QColor color)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(color);
    return img;
}

TEST(PasteKinds, OfferedInPasteOrder)
{
    const struct
    {
        const char* name;
        std::function<void(QMimeData&)> fill;
        QList<Kind> kinds;
    } kCases[] = {
        {"everything",
         [](QMimeData& d) {
             d.setText(u"t"_qs);
             d.setHtml(u"<b>t</b>"_qs);
             d.setData(u"text/rtf"_qs, "{\\rtf1 t}");
             d.setImageData(Filled(2, 2, Qt::red));
         },
         {Kind::Rtf, Kind::Picture, Kind::Html, Kind::Text}},
        {"text only", [](QMimeData& d) { d.setText(u"t"_qs); }, {Kind::Text}},
        {"application/rtf",
         [](QMimeData& d) { d.setData(u"application/rtf"_qs, "{\\rtf1 t}"); },
         {Kind::Rtf}},
        {"a JPEG file's bytes",
         [](QMimeData& d) { d.setData(u"image/jpeg"_qs, "x"); },
         {Kind::Picture}},
        {"nothing", [](QMimeData&) {}, {}},
    };
    for (const auto& c : kCases) {
        QMimeData data;
        c.fill(data);
        EXPECT_EQ(KvPaste::Offered(data), c.kinds) << c.name;
    }
}

// Source paragraphs: centred "eins", right "zwei", justified "drei".
std::unique_ptr<TexRichDocument> Source()
{
    auto doc = std::make_unique<TexRichDocument>();
    doc->LoadPlainText(u"eins\nzwei\ndrei"_qs);
    const Qt::Alignment aligns[] = {Qt::AlignHCenter, Qt::AlignRight, Qt::AlignJustify};
    QTextCursor c(doc->Document());
    int i = 0;
    for (QTextBlock b = doc->Document()->begin(); b.isValid(); b = b.next(), ++i) {
        QTextBlockFormat bf;
        bf.setAlignment(aligns[i]);
        c.setPosition(b.position());
        c.setBlockFormat(bf);
    }
    return doc;
}

struct ParagraphCase
{
    const char* name;
    int from, to; // the copied range of "eins\nzwei\ndrei"
    int at;       // where it lands in "xx yy"
    const char16_t* text;
    QList<Qt::Alignment> aligns;
};

class PasteParagraphs : public ::testing::TestWithParam<ParagraphCase>
{
};

TEST_P(PasteParagraphs, WholeParagraphsBringTheirFormat)
{
    const ParagraphCase& c = GetParam();
    auto source = Source();
    QTextCursor sel(source->Document());
    sel.setPosition(c.from);
    sel.setPosition(c.to, QTextCursor::KeepAnchor);
    const QByteArray rtf = KvPaste::SelectionRtf(sel);

    TexRichDocument target;
    target.LoadPlainText(u"xx yy"_qs);
    QTextCursor at(target.Document());
    at.setPosition(c.at);
    KvPaste::InsertRtf(at, rtf);
    EXPECT_EQ(target.PlainText(), QString::fromUtf16(c.text)) << c.name;
    QList<Qt::Alignment> aligns;
    for (QTextBlock b = target.Document()->begin(); b.isValid(); b = b.next())
        aligns << (b.blockFormat().alignment() & Qt::AlignHorizontal_Mask);
    EXPECT_EQ(aligns, c.aligns) << c.name;
    target.Document()->undo();
    EXPECT_EQ(target.PlainText(), u"xx yy"_qs) << c.name << ": one step";
}

constexpr Qt::Alignment L = Qt::AlignLeft, C = Qt::AlignHCenter, R = Qt::AlignRight,
                        J = Qt::AlignJustify;

const ParagraphCase kParagraphs[] = {
    {"part of one", 1, 3, 3, u"xx inyy", {L}},
    {"one with its mark, in the middle", 0, 5, 3, u"xx eins\nyy", {C, L}},
    {"one with its mark, at the start", 0, 5, 0, u"eins\nxx yy", {C, L}},
    {"two whole ones", 0, 10, 3, u"xx eins\nzwei\nyy", {C, R, L}},
    {"all, the last in part", 0, 14, 3, u"xx eins\nzwei\ndreiyy", {C, R, L}},
    {"the end of one with its mark", 2, 10, 3, u"xx ns\nzwei\nyy", {C, R, L}},
};

INSTANTIATE_TEST_SUITE_P(Cases, PasteParagraphs, ::testing::ValuesIn(kParagraphs));

TEST(PastePictures, JpegBytesStayJpeg)
{
    const QByteArray jpeg = Encoded(Filled(64, 48, QColor(200, 30, 30)), "JPG", 90);
    TexRichDocument doc;
    doc.LoadPlainText(u"ab"_qs);
    QTextCursor c(doc.Document());
    c.setPosition(1);
    ASSERT_TRUE(KvPicture::Insert(c, jpeg));
    const QByteArray rtf = doc.SaveRtf();
    EXPECT_TRUE(rtf.contains("\\jpegblip")) << "not re-encoded";
    EXPECT_TRUE(rtf.contains(jpeg.toHex().left(128))) << "the bytes themselves";
    EXPECT_LT(rtf.size(), 2 * jpeg.size() + 2000) << "about twice the picture, as hex";

    TexRichDocument again;
    again.LoadRtf(rtf);
    QTextCursor r(again.Document());
    r.setPosition(2);
    EXPECT_EQ(r.charFormat().property(KvRtfProp::PictureBytes).toByteArray(), jpeg);
    EXPECT_EQ(again.SaveRtf(), rtf) << "read and written again: the same";
}

TEST(PastePictures, OtherFormatsBecomePngAndNonPicturesAreRefused)
{
    TexRichDocument doc;
    doc.LoadPlainText(u"ab"_qs);
    QTextCursor c(doc.Document());
    EXPECT_FALSE(KvPicture::Insert(c, "this is no picture"));
    EXPECT_EQ(doc.PlainText(), u"ab"_qs);
    EXPECT_FALSE(doc.Document()->isUndoAvailable()) << "nothing changed";
    ASSERT_TRUE(KvPicture::Insert(c, Encoded(Filled(5, 5, Qt::blue), "BMP")));
    EXPECT_TRUE(doc.SaveRtf().contains("\\pngblip"));
}

TEST(PastePictures, AClipboardPictureIsPasted)
{
    QMimeData data;
    const QByteArray png = Encoded(Filled(4, 3, Qt::green), "PNG");
    data.setData(u"image/png"_qs, png);
    TexRichDocument doc;
    QTextCursor c(doc.Document());
    ASSERT_TRUE(KvPaste::Insert(c, data));
    QTextCursor r(doc.Document());
    r.setPosition(1);
    EXPECT_EQ(r.charFormat().property(KvRtfProp::PictureBytes).toByteArray(), png);
}

TEST(ForeignObjects, ShownAtTheirSizeWithTheResultPictureAndWrittenBackUnchanged)
{
    const QByteArray png = Encoded(Filled(8, 4, QColor(0, 0, 255)), "PNG");
    const QByteArray object = "{\\object\\objemb\\objw3000\\objh1500{\\*\\objclass Foreign.Thing}"
                              "{\\*\\objdata 01050000020000000b000000}"
                              "{\\result{\\pict\\pngblip\\picw8\\pich4\\picwgoal120\\pichgoal60 " +
                              png.toHex() + "}}}";
    const QByteArray rtf = "{\\rtf1\\ansi vor " + object + " nach\\par}";
    TexRichDocument doc;
    doc.LoadRtf(rtf);
    EXPECT_EQ(doc.PlainText(), u"vor \uFFFC nach"_qs);
    QTextCursor c(doc.Document());
    c.setPosition(5);
    const QTextImageFormat f = c.charFormat().toImageFormat();
    EXPECT_DOUBLE_EQ(f.width(), 3000 / 15.0) << "\\objw in pixels";
    EXPECT_DOUBLE_EQ(f.height(), 1500 / 15.0);
    const QImage shown =
        doc.Document()->resource(QTextDocument::ImageResource, QUrl(f.name())).value<QImage>();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), QSize(8, 4)) << "the result's picture";
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(0, 0, 255));
    EXPECT_TRUE(doc.SaveRtf().contains(object)) << "byte for byte";
}

} // namespace
