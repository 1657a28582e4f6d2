#include "richtext/rtfproperties.h"
#include "richtext/rtfwriter.h"

#include <QBuffer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

namespace {

// The body after the header: everything behind \uc1 up to the closing brace.
QByteArray Body(const QByteArray& rtf)
{
    const qsizetype start = rtf.indexOf("\\uc1") + 4;
    const qsizetype end = rtf.lastIndexOf('}');
    return rtf.mid(start, end - start);
}

QByteArray WriteText(const QString& text)
{
    QTextDocument doc;
    QTextCursor(&doc).insertText(text);
    return KvRtfWriter::Write(doc);
}

bool SevenBit(const QByteArray& bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

struct EscapeCase
{
    const char* name;
    QString text;
    QByteArray expected; // as it must appear in the body
};

class RtfWriterEscaping : public ::testing::TestWithParam<EscapeCase>
{
};

TEST_P(RtfWriterEscaping, WritesSevenBitEscapes)
{
    const EscapeCase& c = GetParam();
    const QByteArray rtf = WriteText(c.text);
    EXPECT_TRUE(SevenBit(rtf)) << c.name;
    EXPECT_TRUE(Body(rtf).contains(c.expected)) << c.name << "\n" << Body(rtf).constData();
}

const EscapeCase kEscapes[] = {
    {"ascii", u"Hallo Welt"_qs, " Hallo Welt"},
    {"latin-1 umlauts", u"Grüße"_qs, "Gr\\'fc\\'dfe"},
    {"cp1252 high range", u"€ „x“ – ™"_qs, "\\'80 \\'84x\\'93 \\'96 \\'99"},
    {"nbsp and soft hyphen", u"a\u00A0b\u00ADc"_qs, "a\\'a0b\\'adc"},
    {"braces and backslash", u"{a\\b}"_qs, "\\{a\\\\b\\}"},
    {"greek is unicode", u"αβ"_qs, "\\u945?\\u946?"},
    {"cyrillic", u"Жx"_qs, "\\u1046?x"},
    {"above 32767 negative", u"\uFB01"_qs, "\\u-1279?"},
    {"cjk", u"中"_qs, "\\u20013?"},
    {"astral as two surrogates", u"\U0001F600"_qs, "\\u-10179?\\u-8704?"},
    {"tab", u"a\tb"_qs, "a\\tab b"},
    {"soft line break", u"a\u2028b"_qs, "a\\line b"},
    {"C1 control unassigned in cp1252", u"\u0081"_qs, "\\u129?"},
    {"digits after a control word", u"\t1"_qs, "\\tab 1"},
};

INSTANTIATE_TEST_SUITE_P(Table, RtfWriterEscaping, ::testing::ValuesIn(kEscapes));

TEST(RtfWriter, HeaderLikeTheRichEditControl)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(u"Arial"_qs, 10));
    QTextCursor(&doc).insertText(u"x"_qs);
    const QByteArray rtf = KvRtfWriter::Write(doc);
    EXPECT_TRUE(rtf.startsWith(
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("{\\*\\generator Korvelle;}\\viewkind4\\uc1"));
    EXPECT_TRUE(rtf.endsWith("\\pard\\fs20 x\\par\r\n}\r\n")) << rtf.constData();
}

TEST(RtfWriter, EveryParagraphEndsWithPar)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(u"a"_qs);
    c.insertBlock();
    c.insertBlock();
    c.insertText(u"c"_qs);
    c.insertBlock();
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    EXPECT_EQ(body.count("\\pard"), 4) << body.constData();
    EXPECT_EQ(body.count("\\par\r\n"), 4) << body.constData();
}

TEST(RtfWriter, EmptyDocumentIsOneEmptyParagraph)
{
    QTextDocument doc;
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    EXPECT_EQ(body.count("\\par\r\n"), 1) << body.constData();
}

struct FormatCase
{
    const char* name;
    std::function<void(QTextCharFormat&)> apply;
    QByteArray on;  // control words before the text
    QByteArray off; // control words after it
};

class RtfWriterCharFormats : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(RtfWriterCharFormats, SwitchesOnAndBackOff)
{
    const FormatCase& c = GetParam();
    QTextDocument doc;
    doc.setDefaultFont(QFont(u"Arial"_qs, 10));
    QTextCursor cur(&doc);
    QTextCharFormat plain;
    QTextCharFormat fmt;
    c.apply(fmt);
    cur.insertText(u"a"_qs, plain);
    cur.insertText(u"X"_qs, fmt);
    cur.insertText(u"b"_qs, plain);
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    EXPECT_TRUE(body.contains(QByteArray("a" + c.on + " X" + c.off + " b"))) << c.name << "\n"
                                                                             << body.constData();
}

const FormatCase kFormats[] = {
    {"bold", [](QTextCharFormat& f) { f.setFontWeight(QFont::Bold); }, "\\b", "\\b0"},
    {"italic", [](QTextCharFormat& f) { f.setFontItalic(true); }, "\\i", "\\i0"},
    {"underline", [](QTextCharFormat& f) { f.setFontUnderline(true); }, "\\ul", "\\ulnone"},
    {"dotted underline", [](QTextCharFormat& f) { f.setUnderlineStyle(QTextCharFormat::DotLine); },
     "\\uld", "\\ulnone"},
    {"wave underline",
     [](QTextCharFormat& f) { f.setUnderlineStyle(QTextCharFormat::WaveUnderline); }, "\\ulwave",
     "\\ulnone"},
    {"double underline kind",
     [](QTextCharFormat& f) {
         f.setFontUnderline(true);
         f.setProperty(KvRtfProp::UnderlineKind, int(KvRtfUnderline::Double));
     },
     "\\uldb", "\\ulnone"},
    {"strike", [](QTextCharFormat& f) { f.setFontStrikeOut(true); }, "\\strike", "\\strike0"},
    {"superscript",
     [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); },
     "\\super", "\\nosupersub"},
    {"subscript",
     [](QTextCharFormat& f) { f.setVerticalAlignment(QTextCharFormat::AlignSubScript); }, "\\sub",
     "\\nosupersub"},
    {"raised", [](QTextCharFormat& f) { f.setProperty(KvRtfProp::BaselineShift, 6); }, "\\up6",
     "\\up0"},
    {"lowered", [](QTextCharFormat& f) { f.setProperty(KvRtfProp::BaselineShift, -4); }, "\\dn4",
     "\\up0"},
    {"hidden", [](QTextCharFormat& f) { f.setProperty(KvRtfProp::Hidden, true); }, "\\v", "\\v0"},
    {"caps", [](QTextCharFormat& f) { f.setFontCapitalization(QFont::AllUppercase); }, "\\caps",
     "\\caps0"},
    {"small caps", [](QTextCharFormat& f) { f.setFontCapitalization(QFont::SmallCaps); }, "\\scaps",
     "\\scaps0"},
    {"size", [](QTextCharFormat& f) { f.setFontPointSize(14.5); }, "\\fs29", "\\fs20"},
    {"colour", [](QTextCharFormat& f) { f.setForeground(QColor(255, 0, 0)); }, "\\cf1", "\\cf0"},
    {"highlight", [](QTextCharFormat& f) { f.setBackground(QColor(0, 255, 0)); }, "\\highlight1",
     "\\highlight0"},
    {"font", [](QTextCharFormat& f) { f.setFontFamilies({u"Courier New"_qs}); }, "\\f1", "\\f0"},
    {"font by family property",
     [](QTextCharFormat& f) { f.setProperty(QTextFormat::FontFamily, u"Courier New"_qs); }, "\\f1",
     "\\f0"},
};

INSTANTIATE_TEST_SUITE_P(Table, RtfWriterCharFormats, ::testing::ValuesIn(kFormats));

TEST(RtfWriter, FontTableKeepsCharsetAndPitch)
{
    QTextDocument doc;
    doc.setDefaultFont(QFont(u"Arial"_qs, 10));
    QTextCharFormat f;
    f.setFontFamilies({u"Courier New"_qs});
    f.setProperty(KvRtfProp::FontCharset, 204);
    f.setProperty(KvRtfProp::FontPitch, 1);
    QTextCursor(&doc).insertText(u"x"_qs, f);
    const QByteArray rtf = KvRtfWriter::Write(doc);
    EXPECT_TRUE(rtf.contains("{\\f1\\fmodern\\fprq1\\fcharset204 Courier New;}"))
        << rtf.constData();
}

TEST(RtfWriter, NonAnsiFontsGetUnicodeEscapesOnly)
{
    // \'xx would be read in the font's own code page (here Windows-1251).
    QTextDocument doc;
    doc.setDefaultFont(QFont(u"Arial"_qs, 10));
    QTextCharFormat cyr;
    cyr.setFontFamilies({u"Arial Cyr"_qs});
    cyr.setProperty(KvRtfProp::FontCharset, 204);
    QTextCursor c(&doc);
    c.insertText(u"€ä"_qs);
    c.insertText(u"€äЖ"_qs, cyr);
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    EXPECT_TRUE(body.contains(" \\'80\\'e4\\f1 \\u8364?\\u228?\\u1046?")) << body.constData();
}

TEST(RtfWriter, ColourTableListsEachColourOnce)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    QTextCharFormat blueOnRed;
    blueOnRed.setForeground(QColor(0, 0, 255));
    blueOnRed.setBackground(QColor(255, 0, 0));
    c.insertText(u"r"_qs, red);
    c.insertText(u"b"_qs, blueOnRed);
    const QByteArray rtf = KvRtfWriter::Write(doc);
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\cf2\\highlight1 b")) << rtf.constData();
}

struct ParaCase
{
    const char* name;
    std::function<void(QTextBlockFormat&)> apply;
    QByteArray expected;
};

class RtfWriterParagraphs : public ::testing::TestWithParam<ParaCase>
{
};

TEST_P(RtfWriterParagraphs, WritesParagraphProperties)
{
    const ParaCase& c = GetParam();
    QTextDocument doc;
    QTextCursor cur(&doc);
    QTextBlockFormat bf;
    c.apply(bf);
    cur.setBlockFormat(bf);
    cur.insertText(u"p"_qs);
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    EXPECT_TRUE(body.contains(QByteArray("\\pard" + c.expected))) << c.name << "\n"
                                                                  << body.constData();
}

const ParaCase kParas[] = {
    {"centre", [](QTextBlockFormat& f) { f.setAlignment(Qt::AlignHCenter); }, "\\qc"},
    {"right", [](QTextBlockFormat& f) { f.setAlignment(Qt::AlignRight); }, "\\qr"},
    {"justify", [](QTextBlockFormat& f) { f.setAlignment(Qt::AlignJustify); }, "\\qj"},
    {"indents",
     [](QTextBlockFormat& f) {
         f.setLeftMargin(48);
         f.setRightMargin(24);
         f.setTextIndent(-24);
     },
     "\\fi-360\\li720\\ri360"},
    {"spacing",
     [](QTextBlockFormat& f) {
         f.setTopMargin(8);
         f.setBottomMargin(16);
     },
     "\\sb120\\sa240"},
    {"proportional line height",
     [](QTextBlockFormat& f) { f.setLineHeight(150, QTextBlockFormat::ProportionalHeight); },
     "\\sl360\\slmult1"},
    {"exact line height",
     [](QTextBlockFormat& f) { f.setLineHeight(20, QTextBlockFormat::FixedHeight); },
     "\\sl-300\\slmult0"},
    {"kept line spacing rule",
     [](QTextBlockFormat& f) {
         f.setProperty(KvRtfProp::LineSpacingTwips, 276);
         f.setProperty(KvRtfProp::LineSpacingMult, true);
     },
     "\\sl276\\slmult1"},
    {"tab stops",
     [](QTextBlockFormat& f) {
         f.setTabPositions({QTextOption::Tab(96, QTextOption::LeftTab),
                            QTextOption::Tab(192, QTextOption::RightTab),
                            QTextOption::Tab(240, QTextOption::CenterTab)});
     },
     "\\tx1440\\tqr\\tx2880\\tqc\\tx3600"},
};

INSTANTIATE_TEST_SUITE_P(Table, RtfWriterParagraphs, ::testing::ValuesIn(kParas));

TEST(RtfWriter, ListsWritePntextAndPn)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    c.insertList(bullets);
    c.insertText(u"eins"_qs);
    c.insertBlock();
    c.insertText(u"zwei"_qs);
    c.insertBlock(QTextBlockFormat());
    QTextListFormat numbers;
    numbers.setStyle(QTextListFormat::ListUpperRoman);
    numbers.setNumberSuffix(u")"_qs);
    c.insertList(numbers);
    c.insertText(u"drei"_qs);
    c.insertBlock();
    c.insertText(u"vier"_qs);
    const QByteArray rtf = KvRtfWriter::Write(doc);
    EXPECT_TRUE(rtf.contains("{\\f1\\fnil\\fcharset2 Symbol;}")) << rtf.constData();
    EXPECT_EQ(
        rtf.count("{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'b7}}"), 2)
        << rtf.constData();
    EXPECT_TRUE(rtf.contains(
        "{\\pntext II)\\tab}{\\*\\pn\\pnlvlbody\\pnindent0\\pnstart1\\pnucrm{\\pntxta )}}"))
        << rtf.constData();
}

TEST(RtfWriter, LinkIsAHyperlinkField)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(u"see "_qs);
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(u"http://example.org/a?b=\"c\""_qs);
    link.setFontUnderline(true);
    c.insertText(u"exam"_qs, link);
    link.setFontWeight(QFont::Bold);
    c.insertText(u"ple"_qs, link);
    c.insertText(u" end"_qs, QTextCharFormat());
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    EXPECT_TRUE(body.contains("{\\field{\\*\\fldinst{HYPERLINK \"http://example.org/a?b=%22c%22\"}}"
                              "{\\fldrslt{\\ul exam\\b ple}}} end"))
        << body.constData();
}

TEST(RtfWriter, PicturesAsPngOrJpegHex)
{
    QTextDocument doc;
    QImage img(4, 2, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray jpeg;
    {
        QBuffer buf(&jpeg);
        buf.open(QIODevice::WriteOnly);
        ASSERT_TRUE(img.save(&buf, "JPEG"));
    }
    doc.addResource(QTextDocument::ImageResource, QUrl(u"img1"_qs), img);
    doc.addResource(QTextDocument::ImageResource, QUrl(u"img2"_qs), jpeg);
    QTextCursor c(&doc);
    QTextImageFormat f1;
    f1.setName(u"img1"_qs);
    c.insertImage(f1);
    QTextImageFormat f2;
    f2.setName(u"img2"_qs);
    f2.setWidth(8);
    f2.setHeight(4);
    c.insertImage(f2);
    const QByteArray rtf = KvRtfWriter::Write(doc);
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw4\\pich2\\picwgoal60\\pichgoal30\r\n89504e47"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains(QByteArray(
        "{\\pict\\jpegblip\\picw4\\pich2\\picwgoal120\\pichgoal60\r\n" + jpeg.left(16).toHex())))
        << rtf.constData();
}

TEST(RtfWriter, RawGroupWrittenBackUnchanged)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    const QByteArray raw = "{\\pict\\wmetafile8\\picw10\\pich10 0100}";
    QTextImageFormat f;
    f.setProperty(KvRtfProp::RawRtfGroup, raw);
    c.insertText(u"a"_qs);
    c.insertText(QString(QChar::ObjectReplacementCharacter), f);
    c.insertText(u"b"_qs, QTextCharFormat());
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    EXPECT_TRUE(body.contains(QByteArray("a" + raw + "b"))) << body.constData();
}

TEST(RtfWriter, TablesWriteRowsAndCells)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(u"vor"_qs);
    QTextTableFormat tf;
    tf.setColumnWidthConstraints(
        {QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::FixedLength, 200)});
    QTextTable* t = c.insertTable(2, 2, tf);
    t->cellAt(0, 0).firstCursorPosition().insertText(u"a"_qs);
    t->cellAt(0, 1).firstCursorPosition().insertText(u"b"_qs);
    t->cellAt(1, 0).firstCursorPosition().insertText(u"c"_qs);
    QTextCursor d = t->cellAt(1, 1).firstCursorPosition();
    d.insertText(u"d1"_qs);
    d.insertBlock();
    d.insertText(u"d2"_qs);
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    EXPECT_EQ(body.count("\\trowd"), 2) << body.constData();
    EXPECT_EQ(body.count("\\cellx1500"), 2);
    EXPECT_EQ(body.count("\\cellx4500"), 2);
    EXPECT_TRUE(body.contains("\\pard\\intbl a\\cell")) << body.constData();
    EXPECT_TRUE(body.contains("d1\\par\\pard\\intbl d2\\cell\\row")) << body.constData();
    EXPECT_TRUE(body.endsWith("\\row\r\n\\pard\\par\r\n")) << body.constData();
    EXPECT_TRUE(body.contains("vor\\par")) << body.constData();
}

TEST(RtfWriter, NestedTableBecomesParagraphsOfItsCell)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextTable* outer = c.insertTable(1, 2);
    outer->cellAt(0, 0).firstCursorPosition().insertText(u"aussen"_qs);
    QTextCursor inCell = outer->cellAt(0, 1).firstCursorPosition();
    QTextTable* inner = inCell.insertTable(1, 2);
    inner->cellAt(0, 0).firstCursorPosition().insertText(u"innen1"_qs);
    inner->cellAt(0, 1).firstCursorPosition().insertText(u"innen2"_qs);
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    EXPECT_EQ(body.count("\\row"), 1) << body.constData();
    EXPECT_TRUE(body.contains("\\pard\\intbl aussen\\cell")) << body.constData();
    const qsizetype i1 = body.indexOf("innen1");
    const qsizetype i2 = body.indexOf("innen2");
    ASSERT_GT(i1, 0);
    EXPECT_GT(i2, i1);
    EXPECT_LT(i2, body.indexOf("\\row"));
}

TEST(RtfWriter, MergedCellsUseSpansAndVerticalMerge)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextTableFormat noBorder;
    noBorder.setBorder(0);
    QTextTable* t = c.insertTable(2, 3, noBorder);
    t->mergeCells(0, 0, 1, 2);
    t->mergeCells(0, 2, 2, 1);
    const QByteArray body = Body(KvRtfWriter::Write(doc));
    QList<QByteArray> rows = body.split('\n');
    rows.removeIf([](const QByteArray& line) { return !line.contains("\\trowd"); });
    ASSERT_EQ(rows.size(), 2) << body.constData();
    EXPECT_TRUE(rows[0].contains("\\cellx6000\\clvmgf\\cellx9000")) << body.constData();
    EXPECT_TRUE(rows[1].contains("\\cellx3000\\cellx6000\\clvmrg\\cellx9000")) << body.constData();
    EXPECT_EQ(rows[0].count("\\cell") - rows[0].count("\\cellx"), 2) << body.constData();
}

// Checks outputs against an independent reader when one is installed.
TEST(RtfWriter, ForeignReaderSeesTheText)
{
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_qs);
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed; foreign-reader check skipped";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    struct Sample
    {
        QString name;
        std::function<void(QTextDocument&)> build;
        QStringList expected; // lines the text export must contain, in order
    };
    const Sample samples[] = {
        {u"chars"_qs,
         [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText(u"Grüße {x} \\ €"_qs);
             c.insertBlock();
             QTextCharFormat bold;
             bold.setFontWeight(QFont::Bold);
             c.insertText(u"αβγ \U0001F600 中文"_qs, bold);
         },
         {u"Grüße {x} \\ €"_qs, u"αβγ \U0001F600 中文"_qs}},
        {u"list"_qs,
         [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText(u"vorher"_qs);
             c.insertBlock();
             QTextListFormat lf;
             lf.setStyle(QTextListFormat::ListDecimal);
             c.createList(lf);
             c.insertText(u"erstens"_qs);
             c.insertBlock();
             c.insertText(u"zweitens"_qs);
         },
         {u"vorher"_qs, u"erstens"_qs, u"zweitens"_qs}},
        {u"table"_qs,
         [](QTextDocument& d) {
             QTextCursor c(&d);
             c.insertText(u"oben"_qs);
             QTextTable* t = c.insertTable(1, 2);
             t->cellAt(0, 0).firstCursorPosition().insertText(u"links"_qs);
             t->cellAt(0, 1).firstCursorPosition().insertText(u"rechts"_qs);
             QTextCursor end(&d);
             end.movePosition(QTextCursor::End);
             end.insertText(u"unten"_qs);
         },
         {u"oben"_qs, u"links"_qs, u"rechts"_qs, u"unten"_qs}},
    };
    QStringList files;
    for (const Sample& sample : samples) {
        QTextDocument doc;
        sample.build(doc);
        QFile f(dir.filePath(sample.name + u".rtf"_qs));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(KvRtfWriter::Write(doc));
        files << f.fileName();
    }
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(soffice, QStringList{u"--headless"_qs, u"--convert-to"_qs,
                                 u"txt:Text (encoded):UTF8"_qs, u"--outdir"_qs, dir.path()} +
                         files);
    ASSERT_TRUE(p.waitForFinished(180000));
    for (const Sample& sample : samples) {
        QFile out(dir.filePath(sample.name + u".txt"_qs));
        ASSERT_TRUE(out.open(QIODevice::ReadOnly)) << sample.name.toStdString();
        QString text = QString::fromUtf8(out.readAll());
        text.remove(QChar(0xFEFF));
        qsizetype at = 0;
        for (const QString& line : sample.expected) {
            const qsizetype found = text.indexOf(line, at);
            EXPECT_GE(found, 0) << sample.name.toStdString() << ": " << line.toStdString() << "\n"
                                << text.toStdString();
            if (found >= 0)
                at = found + line.size();
        }
    }
}

} // namespace
