// Writing with KvRtfWriter and reading back with KvRtfReader gives the same document.
#include "richtext/rtfproperties.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"
#include "richtext/texrichdocument.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

namespace {

// What a character's format means to RTF, as comparable text.
QString CharSignature(const QTextCharFormat& f, const QTextDocument& doc)
{
    QStringList s;
    QString family = f.fontFamilies().toStringList().value(0);
    if (family.isEmpty())
        family = doc.defaultFont().family();
    const double pt = f.hasProperty(QTextFormat::FontPointSize) ? f.fontPointSize()
                                                                : doc.defaultFont().pointSizeF();
    s << family << QString::number(pt);
    if (f.fontWeight() >= QFont::DemiBold)
        s << u"bold"_qs;
    if (f.fontItalic())
        s << u"italic"_qs;
    if (f.underlineStyle() != QTextCharFormat::NoUnderline || f.fontUnderline())
        s << u"ul%1/%2"_qs.arg(int(f.underlineStyle()))
                 .arg(f.intProperty(KvRtfProp::UnderlineKind));
    if (f.fontStrikeOut())
        s << u"strike"_qs;
    if (f.hasProperty(QTextFormat::ForegroundBrush))
        s << u"fg"_qs + f.foreground().color().name();
    if (f.hasProperty(QTextFormat::BackgroundBrush))
        s << u"bg"_qs + f.background().color().name();
    if (f.verticalAlignment() != QTextCharFormat::AlignNormal)
        s << u"valign%1"_qs.arg(int(f.verticalAlignment()));
    if (const int shift = f.intProperty(KvRtfProp::BaselineShift))
        s << u"shift%1"_qs.arg(shift);
    if (f.boolProperty(KvRtfProp::Hidden))
        s << u"hidden"_qs;
    if (f.fontCapitalization() != QFont::MixedCase)
        s << u"caps%1"_qs.arg(int(f.fontCapitalization()));
    if (f.isAnchor())
        s << u"link:"_qs + f.anchorHref();
    if (f.hasProperty(KvRtfProp::FontCharset) && f.intProperty(KvRtfProp::FontCharset) != 0)
        s << u"charset%1"_qs.arg(f.intProperty(KvRtfProp::FontCharset));
    if (f.intProperty(KvRtfProp::FontPitch))
        s << u"pitch%1"_qs.arg(f.intProperty(KvRtfProp::FontPitch));
    if (f.isImageFormat()) {
        const QTextImageFormat img = f.toImageFormat();
        s << u"image %1x%2"_qs.arg(img.width()).arg(img.height());
        const QByteArray raw = f.property(KvRtfProp::RawRtfGroup).toByteArray();
        if (!raw.isEmpty())
            s << u"raw:"_qs + QString::fromLatin1(raw);
    }
    return s.join(u' ');
}

QString BlockSignature(const QTextBlock& b)
{
    const QTextBlockFormat f = b.blockFormat();
    QStringList s;
    s << u"align%1"_qs.arg(int(f.alignment() & Qt::AlignHorizontal_Mask));
    s << u"margins %1 %2 %3 %4 %5"_qs.arg(f.leftMargin())
             .arg(f.rightMargin())
             .arg(f.textIndent())
             .arg(f.topMargin())
             .arg(f.bottomMargin());
    if (f.lineHeightType() != QTextBlockFormat::SingleHeight)
        s << u"line %1 %2"_qs.arg(f.lineHeightType()).arg(f.lineHeight());
    for (const QTextOption::Tab& t : f.tabPositions())
        s << u"tab %1 %2"_qs.arg(t.position).arg(int(t.type));
    if (QTextList* list = b.textList()) {
        const QTextListFormat lf = list->format();
        s << u"list %1 [%2] [%3] item %4"_qs.arg(int(lf.style()))
                 .arg(lf.numberPrefix(), list->itemText(b))
                 .arg(list->itemNumber(b));
    }
    return s.join(u"; "_qs);
}

// The document as lines: one per block (its format) and one per run of equal characters.
QStringList Describe(const QTextDocument& doc)
{
    QStringList out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        QString where;
        if (QTextTable* t = qobject_cast<QTextTable*>(QTextCursor(b).currentFrame())) {
            const QTextTableCell cell = t->cellAt(b.position());
            where = u"cell %1,%2 of %3x%4: "_qs.arg(cell.row())
                        .arg(cell.column())
                        .arg(t->rows())
                        .arg(t->columns());
        }
        out << u"block "_qs + where + BlockSignature(b);
        QString runText;
        QString runSig;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QString sig = CharSignature(frag.charFormat(), doc);
            if (sig != runSig && !runText.isEmpty()) {
                out << u"  ["_qs + runText + u"] "_qs + runSig;
                runText.clear();
            }
            runSig = sig;
            runText += frag.text();
        }
        if (!runText.isEmpty())
            out << u"  ["_qs + runText + u"] "_qs + runSig;
    }
    return out;
}

QByteArray Png(const QImage& img)
{
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    return bytes;
}

QByteArray JpegPixel()
{
    QImage img(1, 1, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG");
    return bytes;
}

struct RoundTripCase
{
    const char* name;
    std::function<void(QTextDocument&)> build;
};

class RtfRoundTrip : public ::testing::TestWithParam<RoundTripCase>
{
};

TEST_P(RtfRoundTrip, ReadingWhatWasWrittenGivesTheSameDocument)
{
    const RoundTripCase& c = GetParam();
    QTextDocument original;
    original.setDefaultFont(QFont(u"Arial"_qs, 10));
    c.build(original);
    const QByteArray rtf = KvRtfWriter::Write(original);
    QTextDocument read;
    read.setDefaultFont(QFont(u"Arial"_qs, 10));
    const KvRtfReadResult result = KvRtfReader::Read(rtf, &read);
    EXPECT_TRUE(result.ok) << c.name;
    EXPECT_EQ(read.toRawText(), original.toRawText()) << c.name;
    EXPECT_EQ(Describe(read).join(u'\n').toStdString(),
              Describe(original).join(u'\n').toStdString())
        << c.name << "\n"
        << rtf.constData();
    EXPECT_EQ(KvRtfWriter::Write(read), rtf) << c.name << ": a second cycle changes nothing";
}

QTextCharFormat Fmt(const std::function<void(QTextCharFormat&)>& set)
{
    QTextCharFormat f;
    set(f);
    return f;
}

const RoundTripCase kCases[] = {
    {"plain paragraphs with an empty one and a trailing empty one",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         c.insertText(u"eins"_qs);
         c.insertBlock();
         c.insertBlock();
         c.insertText(u"drei"_qs);
         c.insertBlock();
     }},
    {"every character kind",
     [](QTextDocument& d) {
         QTextCursor(&d).insertText(
             u"ASCII {x} \\y\\ Grüße € „q“ αβγ 中文 \U0001F600 tab\there a\u00A0b soft\u2028break"_qs);
     }},
    {"mixed character styles in one line",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         c.insertText(u"normal "_qs);
         c.insertText(u"fett"_qs, Fmt([](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); }));
         c.insertText(u"fettkursiv"_qs, Fmt([](QTextCharFormat& f) {
                          f.setFontWeight(QFont::Bold);
                          f.setFontItalic(true);
                      }));
         c.insertText(u" durch"_qs, Fmt([](QTextCharFormat& f) { f.setFontStrikeOut(true); }));
         c.insertText(u" x"_qs, QTextCharFormat());
         c.insertText(u"2"_qs, Fmt([](QTextCharFormat& f) {
                          f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
                      }));
         c.insertText(u"H"_qs, QTextCharFormat());
         c.insertText(u"2"_qs, Fmt([](QTextCharFormat& f) {
                          f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
                      }));
         c.insertText(u"O"_qs, QTextCharFormat());
     }},
    {"underline kinds",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         c.insertText(u"single "_qs, Fmt([](QTextCharFormat& f) { f.setFontUnderline(true); }));
         c.insertText(u"dotted "_qs, Fmt([](QTextCharFormat& f) {
                          f.setUnderlineStyle(QTextCharFormat::DotLine);
                      }));
         c.insertText(u"wave "_qs, Fmt([](QTextCharFormat& f) {
                          f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
                      }));
         for (KvRtfUnderline kind :
              {KvRtfUnderline::Double, KvRtfUnderline::Words, KvRtfUnderline::Thick}) {
             c.insertText(u"kind "_qs, Fmt([kind](QTextCharFormat& f) {
                              f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
                              f.setProperty(KvRtfProp::UnderlineKind, int(kind));
                          }));
         }
     }},
    {"fonts sizes and colours",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         c.insertText(u"mono"_qs, Fmt([](QTextCharFormat& f) {
                          f.setFontFamilies({u"Courier New"_qs});
                          f.setFontPointSize(9);
                          f.setProperty(KvRtfProp::FontPitch, 1);
                      }));
         c.insertText(u" kyrillisch Жж"_qs, Fmt([](QTextCharFormat& f) {
                          f.setFontFamilies({u"Times New Roman"_qs});
                          f.setProperty(KvRtfProp::FontCharset, 204);
                          f.setFontPointSize(14.5);
                      }));
         c.insertText(u" rot auf gelb"_qs, Fmt([](QTextCharFormat& f) {
                          f.setForeground(QColor(200, 10, 20));
                          f.setBackground(QColor(255, 255, 0));
                      }));
         c.insertText(u" blau"_qs, Fmt([](QTextCharFormat& f) {
                          f.setForeground(QColor(0, 0, 255));
                          f.setFontPointSize(72);
                      }));
     }},
    {"hidden caps and baseline shift",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         c.insertText(u"sichtbar"_qs);
         c.insertText(u"versteckt"_qs,
                      Fmt([](QTextCharFormat& f) { f.setProperty(KvRtfProp::Hidden, true); }));
         c.insertText(u"gross"_qs, Fmt([](QTextCharFormat& f) {
                          f.setFontCapitalization(QFont::AllUppercase);
                      }));
         c.insertText(u"kapitälchen"_qs,
                      Fmt([](QTextCharFormat& f) { f.setFontCapitalization(QFont::SmallCaps); }));
         c.insertText(u"hoch"_qs,
                      Fmt([](QTextCharFormat& f) { f.setProperty(KvRtfProp::BaselineShift, 6); }));
         c.insertText(u"tief"_qs,
                      Fmt([](QTextCharFormat& f) { f.setProperty(KvRtfProp::BaselineShift, -4); }));
     }},
    {"paragraph alignment indents spacing and tabs",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         QTextBlockFormat b;
         b.setAlignment(Qt::AlignHCenter);
         c.setBlockFormat(b);
         c.insertText(u"mitte"_qs);
         b = QTextBlockFormat();
         b.setAlignment(Qt::AlignRight);
         b.setLeftMargin(48);
         b.setRightMargin(16);
         b.setTextIndent(-24);
         c.insertBlock(b);
         c.insertText(u"rechts eingerückt"_qs);
         b = QTextBlockFormat();
         b.setAlignment(Qt::AlignJustify);
         b.setTopMargin(8);
         b.setBottomMargin(12);
         b.setTabPositions({QTextOption::Tab(96, QTextOption::LeftTab),
                            QTextOption::Tab(192, QTextOption::RightTab),
                            QTextOption::Tab(240, QTextOption::CenterTab)});
         c.insertBlock(b);
         c.insertText(u"a\tb\tc"_qs);
     }},
    {"line spacing rules",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         const std::pair<int, bool> rules[] = {{360, true}, {-300, false}, {280, false}};
         bool first = true;
         for (auto [twips, mult] : rules) {
             QTextBlockFormat b;
             b.setProperty(KvRtfProp::LineSpacingTwips, twips);
             b.setProperty(KvRtfProp::LineSpacingMult, mult);
             if (mult)
                 b.setLineHeight(twips * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
             else if (twips < 0)
                 b.setLineHeight(-twips / 15.0, QTextBlockFormat::FixedHeight);
             else
                 b.setLineHeight(twips / 15.0, QTextBlockFormat::MinimumHeight);
             if (first)
                 c.setBlockFormat(b);
             else
                 c.insertBlock(b);
             first = false;
             c.insertText(u"zeile %1"_qs.arg(twips));
         }
     }},
    {"bullet and numbered lists",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         c.insertText(u"vorher"_qs);
         c.insertBlock();
         QTextListFormat bullets;
         bullets.setStyle(QTextListFormat::ListDisc);
         c.createList(bullets);
         c.insertText(u"punkt eins"_qs);
         c.insertBlock();
         c.insertText(u"punkt zwei"_qs);
         c.insertBlock(QTextBlockFormat());
         c.insertText(u"dazwischen"_qs);
         const QTextListFormat::Style styles[] = {QTextListFormat::ListDecimal,
                                                  QTextListFormat::ListLowerAlpha,
                                                  QTextListFormat::ListUpperRoman};
         for (QTextListFormat::Style style : styles) {
             c.insertBlock(QTextBlockFormat());
             QTextListFormat numbers;
             numbers.setStyle(style);
             numbers.setNumberPrefix(u"("_qs);
             numbers.setNumberSuffix(u")"_qs);
             c.createList(numbers);
             c.insertText(u"erstens"_qs);
             c.insertBlock();
             c.insertText(u"zweitens"_qs);
         }
     }},
    {"nested lists",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         QTextListFormat outer;
         outer.setStyle(QTextListFormat::ListDisc);
         c.createList(outer);
         c.insertText(u"oben"_qs);
         c.insertBlock();
         QTextListFormat inner;
         inner.setStyle(QTextListFormat::ListDisc); // the reader knows one bullet kind
         inner.setIndent(2);
         c.createList(inner);
         c.insertText(u"innen"_qs);
         c.insertBlock(QTextBlockFormat());
         QTextListFormat deep;
         deep.setStyle(QTextListFormat::ListLowerRoman);
         deep.setIndent(3);
         deep.setNumberSuffix(u"."_qs);
         c.createList(deep);
         c.insertText(u"tief"_qs);
     }},
    {"links",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         c.insertText(u"siehe "_qs);
         QTextCharFormat link;
         link.setAnchor(true);
         link.setAnchorHref(u"http://example.org/pfad?a=1&b=2"_qs);
         link.setForeground(QColor(0, 0, 255));
         link.setFontUnderline(true);
         c.insertText(u"Beispiel"_qs, link);
         c.insertText(u" und "_qs, QTextCharFormat());
         link.setAnchorHref(u"file://*Page0000012*(Plan)"_qs);
         c.insertText(u"Plan"_qs, link);
         c.insertText(u" <http://sichtbar.example> Ende"_qs, QTextCharFormat());
     }},
    {"names and addresses beyond ASCII",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         c.insertText(u"Schrift"_qs, Fmt([](QTextCharFormat& f) {
                          f.setFontFamilies({u"Grüne Schrift {1}"_qs});
                      }));
         QTextCharFormat link;
         link.setAnchor(true);
         link.setAnchorHref(u"file://*Keyword:Grüße \\ 中*"_qs);
         c.insertText(u"Stichwort"_qs, link);
     }},
    {"png picture and kept raw group",
     [](QTextDocument& d) {
         QImage img(5, 3, QImage::Format_RGB32);
         img.fill(QColor(10, 200, 30));
         d.addResource(QTextDocument::ImageResource, QUrl(u"p1"_qs), Png(img));
         QTextCursor c(&d);
         c.insertText(u"Bild "_qs);
         QTextImageFormat f;
         f.setName(u"p1"_qs);
         f.setWidth(10);
         f.setHeight(6);
         c.insertImage(f);
         c.insertText(u" Metafile "_qs, QTextCharFormat());
         QTextImageFormat raw;
         raw.setName(u"raw1"_qs);
         raw.setWidth(20);
         raw.setHeight(20);
         raw.setProperty(
             KvRtfProp::RawRtfGroup,
             QByteArray("{\\pict\\wmetafile8\\picw529\\pich529\\picwgoal300\\pichgoal300 "
                        "010009000003}"));
         d.addResource(QTextDocument::ImageResource, QUrl(u"raw1"_qs), img);
         c.insertText(QString(QChar::ObjectReplacementCharacter), raw);
         c.insertText(u" Ende"_qs, QTextCharFormat());
     }},
    {"table between paragraphs",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         c.insertText(u"vor der Tabelle"_qs);
         QTextTableFormat tf;
         tf.setBorder(1);
         tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
         tf.setCellPadding(2);
         tf.setCellSpacing(0);
         QTextTable* t = c.insertTable(2, 3, tf);
         const char* texts[] = {"a", "b", "c", "d", "", "f"};
         for (int i = 0; i < 6; ++i)
             t->cellAt(i / 3, i % 3).firstCursorPosition().insertText(QString::fromUtf8(texts[i]));
         QTextCursor cell = t->cellAt(1, 2).lastCursorPosition();
         cell.insertBlock();
         cell.insertText(u"f2"_qs, Fmt([](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); }));
         QTextCursor after(&d);
         after.movePosition(QTextCursor::End);
         after.insertText(u"nach der Tabelle"_qs);
     }},
    {"table at the very start",
     [](QTextDocument& d) {
         QTextCursor c(&d);
         QTextTableFormat tf;
         tf.setBorder(1);
         tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
         tf.setCellPadding(2);
         tf.setCellSpacing(0);
         QTextTable* t = c.insertTable(1, 2, tf);
         t->cellAt(0, 0).firstCursorPosition().insertText(u"x"_qs);
         t->cellAt(0, 1).firstCursorPosition().insertText(u"y"_qs);
     }},
};

INSTANTIATE_TEST_SUITE_P(Table, RtfRoundTrip, ::testing::ValuesIn(kCases));

// Load and save three times: the bytes of the first save stay the same.
TEST(RtfRoundTripCycles, LoadSaveIsIdempotent)
{
    const QByteArray inputs[] = {
        // As the rich-edit control writes, ending with \par.
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n{\\colortbl "
        ";\\red255\\green0\\blue0;}"
        "\r\n\\viewkind4\\uc1\\pard\\f0\\fs20 Hallo \\b fett\\b0  \\cf1 rot\\cf0\\par\r\n"
        "\\pard\\qc\\f1\\fs28 Mitte\\par\r\n\\pard\\par\r\n}\r\n",
        // Without a final \par, with a list and a link.
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
        "\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"
        "\\fi-360\\li720 eins\\par{\\pntext\\f1\\'b7\\tab}zwei\\par\\pard "
        "{\\field{\\*\\fldinst{HYPERLINK \"http://x.example\"}}{\\fldrslt{\\ul x}}} ende}",
        // A table and a non-Latin text.
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\uc1 vor\\par\\trowd\\cellx2000\\cellx4000"
        "\\pard\\intbl \\u945?\\cell b\\cell\\row\\pard nach\\par}",
        // Another code page, Unicode with two fallback bytes, a JPEG and a metafile.
        "{\\rtf1\\ansi\\ansicpg1251\\deff0{\\fonttbl{\\f0\\fcharset204 Arial;}}\\uc2 "
        "\\'c0\\'e1 \\u8364??x {\\pict\\jpegblip\\picw1\\pich1\\picwgoal300\\pichgoal300 " +
            QByteArray(JpegPixel().toHex()) + "} {\\pict\\wmetafile8\\picw10\\pich10 0100}\\par}",
    };
    for (const QByteArray& input : inputs) {
        TexRichDocument doc;
        doc.LoadRtf(input);
        const QByteArray first = doc.SaveRtf();
        const int blocks = doc.Document()->blockCount();
        for (int cycle = 2; cycle <= 3; ++cycle) {
            doc.LoadRtf(doc.SaveRtf());
            EXPECT_EQ(doc.SaveRtf().toStdString(), first.toStdString()) << "cycle " << cycle;
            EXPECT_EQ(doc.Document()->blockCount(), blocks);
        }
    }
}

TEST(RtfRoundTripCycles, PlainTextSurvivesAndHiddenTextStaysOut)
{
    TexRichDocument doc;
    QTextCursor c(doc.Document());
    c.insertText(u"Anfang "_qs);
    QTextCharFormat hidden;
    hidden.setProperty(KvRtfProp::Hidden, true);
    c.insertText(u"geheim"_qs, hidden);
    c.insertText(u" Ende"_qs, QTextCharFormat());
    c.insertBlock();
    c.insertText(u"zweite Zeile"_qs);
    const QString before = doc.PlainText();
    EXPECT_EQ(before, u"Anfang  Ende\nzweite Zeile"_qs);
    doc.LoadRtf(doc.SaveRtf());
    EXPECT_EQ(doc.PlainText(), before);
    EXPECT_TRUE(doc.Document()->toPlainText().contains(u"geheim"_qs)) << "hidden text is kept";
}

} // namespace
