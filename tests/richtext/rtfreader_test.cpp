#include "richtext/rtfplaintext.h"
#include "richtext/rtfproperties.h"
#include "richtext/rtfreader.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <gtest/gtest.h>

namespace {

QString DocText(const QByteArray& rtf)
{
    QTextDocument doc;
    KvRtfReader::Read(rtf, &doc);
    return KvRtfPlainText::DocumentText(doc);
}

QByteArray Wrap(const char* body)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                      "{\\f1\\fnil\\fcharset2 Symbol;}{\\f2\\fnil\\fcharset204 Courier;}"
                      "{\\f3\\fnil\\fcharset128 MS Mincho;}{\\f4\\fnil\\fcharset238\\cpg1251 X;}"
                      "{\\f5\\fnil Nocharset;}}"
                      "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                      "\\viewkind4\\uc1\\pard\\f0\\fs20 ") +
           body + "}";
}

struct TextCase
{
    const char* name;
    QByteArray rtf;
    QString expected;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.name;
}

class RtfTextTest : public ::testing::TestWithParam<TextCase>
{
};

TEST_P(RtfTextTest, DocumentAndExtractorGiveTheExpectedText)
{
    const TextCase& c = GetParam();
    EXPECT_EQ(DocText(c.rtf), c.expected) << c.name;
    EXPECT_EQ(KvRtfPlainText::Extract(c.rtf), c.expected) << c.name;
}

const TextCase kTextCases[] = {
    {"plain", Wrap("Hello world\\par"), u"Hello world"_qs},
    {"lastParNoTrailingBlock", Wrap("a\\par b\\par"), u"a\nb"_qs},
    {"emptyParagraphKept", Wrap("a\\par\\par b"), u"a\n\nb"_qs},
    {"twoTrailingPars", Wrap("a\\par\\par"), u"a\n"_qs},
    {"noParAtEnd", Wrap("a\\par b"), u"a\nb"_qs},
    {"lineIsLineBreak", Wrap("a\\line b\\par"), u"a\nb"_qs},
    {"tab", Wrap("a\\tab b"), u"a\tb"_qs},
    {"hexAnsi1252", Wrap("\\'e4\\'f6\\'fc\\'df\\'80"), u"äöüß€"_qs},
    {"ansicpg1250", "{\\rtf1\\ansi\\ansicpg1250 \\'9a\\'e8\\'f8}", u"ščř"_qs},
    {"ansicpg0Is1252", "{\\rtf1\\ansi\\ansicpg0 \\'e4}", u"ä"_qs},
    {"fcharset204", Wrap("\\f2 \\'cf\\'f0\\'e8"), u"При"_qs},
    {"fcharsetDoubleByte", Wrap("\\f3 \\'82\\'a0\\'82\\'a2"), u"あい"_qs},
    {"doubleByteLiteralTrail", Wrap("\\f3 \\'83N"), u"ク"_qs},
    {"cpgBeatsCharset", Wrap("\\f4 \\'cf"), u"П"_qs},
    {"fontWithoutCharsetUsesAnsicpg", "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 A;}}\\f0 \\'cf}",
     u"П"_qs},
    {"unicodeWithFallback", Wrap("\\u8364?x"), u"€x"_qs},
    {"unicodeNegative", Wrap("\\u-4064?"), QString(QChar(0xF020))},
    {"unicodeSurrogatePair", Wrap("\\u-10179?\\u-8704?"), QString::fromUcs4(U"\U0001F600")},
    {"ucTwoSkipsHex", Wrap("\\uc2\\u12354\\'82\\'a0b"), u"あb"_qs},
    {"ucRestoredAtGroupEnd", Wrap("{\\uc2\\u228 xx}\\u246 yz"), u"äöz"_qs},
    {"skipEndsAtBrace", Wrap("\\uc3\\u228 {b}c"), u"äbc"_qs},
    {"skipCountsControlWord", Wrap("\\u228\\'e4b"), u"äb"_qs},
    {"skipCountsBinAsOne", Wrap("\\u228\\bin3 {}}b"), u"äb"_qs},
    {"uZeroDropped", Wrap("a\\u0 ?b"), u"ab"_qs},
    {"controlCharDropped", Wrap("a\\'01\\u7 ?b"), u"ab"_qs},
    {"symbolBullet", Wrap("\\u-3913 ?{\\f1\\'b7}"), u"••"_qs},
    {"specialSymbols", Wrap("a\\~b\\-c\\_d\\\\\\{\\}"), u"a b\u00ADc\u2011d\\{}"_qs},
    {"namedChars", Wrap("\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote"),
     u"—–•‘’“”"_qs},
    {"sectAndPage", Wrap("a\\sect b\\page c"), u"a\nb\nc"_qs},
    {"hiddenExcluded", Wrap("a{\\v hidden}b\\v x\\v0 c"), u"abc"_qs},
    {"fonttblUnbraced",
     "{\\rtf1\\ansi{\\fonttbl\\f0\\fnil\\fcharset0 A;\\f1\\fnil\\fcharset204 B;}\\f1 \\'cf}",
     u"П"_qs},
    {"infoSkipped", Wrap("{\\info{\\title T}{\\author A}}x"), u"x"_qs},
    {"ignorableSkipped", Wrap("{\\*\\generator G;}{\\*\\unknown {a}b}x"), u"x"_qs},
    {"unknownWordIgnored", Wrap("\\foo12 x{\\bar y}"), u"xy"_qs},
    {"binSkipped", Wrap("a{\\*\\blob\\bin5 }}}}}}b"), u"ab"_qs},
    {"stylesheetNotText", Wrap("{\\stylesheet{\\s0 Normal;}{\\s1\\li720 Heading 1;}}x"), u"x"_qs},
    {"hyperlinkField",
     Wrap("{\\field{\\*\\fldinst HYPERLINK \"http://x.org\"}{\\fldrslt link}} after"),
     u"link after"_qs},
    {"otherFieldKeepsResult", Wrap("{\\field{\\*\\fldinst PAGE}{\\fldrslt 7}}"), u"7"_qs},
    {"uprPrefersUd", Wrap("{\\upr{ansi}{\\*\\ud{\\u946 ?}}}"), u"β"_qs},
    {"pntextSkippedForList",
     Wrap("{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}\\fi-360\\li360 "
          "one\\par"),
     u"one"_qs},
    {"listtextWithoutListKept", Wrap("{\\listtext 1.\\tab}one\\par"), u"1.\tone"_qs},
    {"pictureIsObjectChar", Wrap("a{\\pict\\pngblip\\picw1\\pich1 0011}b"), u"a\uFFFCb"_qs},
    {"nonshppictSkipped",
     Wrap("{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 00}}"), u"\uFFFC"_qs},
    {"objectIsObjectChar", Wrap("{\\object\\objemb{\\*\\objdata 0102}{\\result text}}"),
     u"\uFFFC"_qs},
    {"table",
     Wrap("before\\par\\trowd\\cellx100\\cellx200\\pard\\intbl a\\cell b\\cell\\row"
          "\\trowd\\cellx100\\cellx200\\pard\\intbl c\\cell d\\cell\\row\\pard after\\par"),
     u"before\na\nb\nc\nd\nafter"_qs},
    {"tableShortRowAndExtraCell",
     Wrap("\\trowd\\cellx100\\cellx200\\pard\\intbl a\\cell\\row"
          "\\intbl b\\cell c\\cell d\\cell\\row\\pard"),
     u"\na\n\nb\nc\nd\n"_qs},
    {"nbspAndEmptyDocument", Wrap(""), QString()},
    {"notRtf", "just text", u"just text"_qs},
};

INSTANTIATE_TEST_SUITE_P(Cases, RtfTextTest, ::testing::ValuesIn(kTextCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Code pages: by the font's \\fcharset, by \\cpg and by \\ansicpg.

struct CodePageCase
{
    const char* name;
    const char* header; // document-level control words
    int charset;        // -1: the font has no \\fcharset
    const char* bytes;
    QString expected;
};

void PrintTo(const CodePageCase& c, std::ostream* os)
{
    *os << c.name;
}

class RtfCodePageTest : public ::testing::TestWithParam<CodePageCase>
{
};

TEST_P(RtfCodePageTest, BytesDecodeInTheFontsCodePage)
{
    const CodePageCase& c = GetParam();
    QByteArray rtf = QByteArray("{\\rtf1") + c.header + "{\\fonttbl{\\f0\\fnil";
    if (c.charset >= 0)
        rtf += "\\fcharset" + QByteArray::number(c.charset);
    rtf += " F;}}\\f0 " + QByteArray(c.bytes) + "}";
    QTextDocument doc;
    const KvRtfReadResult r = KvRtfReader::Read(rtf, &doc);
    EXPECT_EQ(KvRtfPlainText::DocumentText(doc), c.expected) << rtf.constData();
    EXPECT_EQ(KvRtfPlainText::Extract(rtf), c.expected) << rtf.constData();
    EXPECT_TRUE(r.warnings.isEmpty()) << r.warnings.join(u"; "_qs).toStdString();
}

const CodePageCase kCodePageCases[] = {
    {"charset0", "\\ansi\\ansicpg1251", 0, "\\'e4", u"ä"_qs},
    {"charset77MacRoman", "\\ansi", 77, "\\'8a", u"ä"_qs},
    {"charset78MacJapanese", "\\ansi", 78, "\\'82\\'a0", u"あ"_qs},
    {"charset89MacCyrillic", "\\ansi", 89, "\\'80", u"А"_qs},
    {"charset128", "\\ansi", 128, "\\'82\\'a0", u"あ"_qs},
    {"charset129", "\\ansi", 129, "\\'b0\\'a1", u"가"_qs},
    {"charset134", "\\ansi", 134, "\\'c4\\'e3", u"你"_qs},
    {"charset136", "\\ansi", 136, "\\'a4\\'40", u"一"_qs},
    {"charset161", "\\ansi", 161, "\\'e1", u"α"_qs},
    {"charset162", "\\ansi", 162, "\\'fd", u"ı"_qs},
    {"charset177", "\\ansi", 177, "\\'e0", u"א"_qs},
    {"charset178", "\\ansi", 178, "\\'c7", u"ا"_qs},
    {"charset186", "\\ansi", 186, "\\'e0", u"ą"_qs},
    {"charset204", "\\ansi", 204, "\\'c6", u"Ж"_qs},
    {"charset222", "\\ansi", 222, "\\'a1", u"ก"_qs},
    {"charset238", "\\ansi", 238, "\\'9a", u"š"_qs},
    {"charset2Symbol", "\\ansi", 2, "\\'b7", u"•"_qs},
    {"ansicpg437", "\\ansi\\ansicpg437", -1, "\\'81", u"ü"_qs},
    {"ansicpg850", "\\ansi\\ansicpg850", -1, "\\'9b", u"ø"_qs},
    {"ansicpg874", "\\ansi\\ansicpg874", -1, "\\'a1", u"ก"_qs},
    {"ansicpg10000", "\\mac\\ansicpg10000", -1, "\\'8a", u"ä"_qs},
    {"macWithoutAnsicpg", "\\mac", -1, "\\'8a", u"ä"_qs},
    {"ansicpg10007", "\\ansi\\ansicpg10007", -1, "\\'80", u"А"_qs},
    {"ansicpg65001", "\\ansi\\ansicpg65001", -1, "\\'c3\\'a4", u"ä"_qs},
    {"ansicpg932RawBytes", "\\ansi\\ansicpg932", -1, "\\'82\\'a0\\'82\\'a2", u"あい"_qs},
    {"charset1UsesAnsicpg", "\\ansi\\ansicpg1253", 1, "\\'e1", u"α"_qs},
};

INSTANTIATE_TEST_SUITE_P(Cases, RtfCodePageTest, ::testing::ValuesIn(kCodePageCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfReaderCodePages, UnavailableCodePageFallsBackWithAWarning)
{
    QTextDocument doc;
    const KvRtfReadResult r = KvRtfReader::Read("{\\rtf1\\ansi\\ansicpg99999 \\'e4}", &doc);
    EXPECT_EQ(KvRtfPlainText::DocumentText(doc), u"ä"_qs);
    EXPECT_FALSE(r.warnings.isEmpty());
}

// ---------------------------------------------------------------------------------------------

QTextCharFormat FormatAt(const QTextDocument& doc, const QString& word)
{
    const int pos = doc.toRawText().indexOf(word);
    EXPECT_GE(pos, 0) << word.toStdString();
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(pos + 1);
    return c.charFormat();
}

TEST(RtfReaderFormat, CharacterFormatting)
{
    QTextDocument doc;
    KvRtfReader::Read(
        Wrap("{\\b bold}{\\i ital}{\\ul under}{\\uldb dbl}{\\ulwave wav}{\\strike st}"
             "{\\super sup}{\\sub sb}{\\up6 upp}{\\fs40 big}{\\cf1 red}{\\highlight2 hl}"
             "{\\caps cap}{\\scaps scp}{\\v hid}{\\f2 cour}\\plain pl"),
        &doc);
    EXPECT_EQ(FormatAt(doc, u"bold"_qs).fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatAt(doc, u"ital"_qs).fontItalic());
    EXPECT_EQ(FormatAt(doc, u"under"_qs).underlineStyle(), QTextCharFormat::SingleUnderline);
    EXPECT_EQ(FormatAt(doc, u"dbl"_qs).intProperty(KvRtfProp::UnderlineKind),
              int(KvRtfUnderline::Double));
    EXPECT_EQ(FormatAt(doc, u"wav"_qs).underlineStyle(), QTextCharFormat::WaveUnderline);
    EXPECT_TRUE(FormatAt(doc, u"st"_qs).fontStrikeOut());
    EXPECT_EQ(FormatAt(doc, u"sup"_qs).verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(FormatAt(doc, u"sb"_qs).verticalAlignment(), QTextCharFormat::AlignSubScript);
    EXPECT_EQ(FormatAt(doc, u"upp"_qs).intProperty(KvRtfProp::BaselineShift), 6);
    EXPECT_DOUBLE_EQ(FormatAt(doc, u"big"_qs).fontPointSize(), 20.0);
    EXPECT_EQ(FormatAt(doc, u"red"_qs).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(FormatAt(doc, u"hl"_qs).background().color(), QColor(0, 0, 255));
    EXPECT_EQ(FormatAt(doc, u"cap"_qs).fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(FormatAt(doc, u"scp"_qs).fontCapitalization(), QFont::SmallCaps);
    EXPECT_TRUE(FormatAt(doc, u"hid"_qs).boolProperty(KvRtfProp::Hidden));
    EXPECT_EQ(FormatAt(doc, u"cour"_qs).fontFamilies().toStringList(), QStringList{u"Courier"_qs});
    EXPECT_EQ(FormatAt(doc, u"cour"_qs).intProperty(KvRtfProp::FontCharset), 204);
    const QTextCharFormat plain = FormatAt(doc, u"pl"_qs);
    EXPECT_NE(plain.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(plain.fontPointSize(), 12.0);
    EXPECT_FALSE(plain.boolProperty(KvRtfProp::Hidden));
}

TEST(RtfReaderFormat, ParagraphFormatting)
{
    QTextDocument doc;
    KvRtfReader::Read(
        Wrap("\\qc\\li1440\\ri720\\fi-360\\sb120\\sa240\\sl360\\slmult1\\tx720\\tqr\\tx2880 "
             "centre\\par\\pard\\qr right\\par\\pard\\qj\\sl-300 just\\par"),
        &doc);
    ASSERT_EQ(doc.blockCount(), 3);
    const QTextBlockFormat c = doc.begin().blockFormat();
    EXPECT_EQ(c.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_DOUBLE_EQ(c.leftMargin(), 96.0);
    EXPECT_DOUBLE_EQ(c.rightMargin(), 48.0);
    EXPECT_DOUBLE_EQ(c.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(c.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(c.bottomMargin(), 16.0);
    EXPECT_EQ(c.lineHeightType(), int(QTextBlockFormat::ProportionalHeight));
    EXPECT_DOUBLE_EQ(c.lineHeight(), 150.0);
    EXPECT_EQ(c.intProperty(KvRtfProp::LineSpacingTwips), 360);
    EXPECT_TRUE(c.boolProperty(KvRtfProp::LineSpacingMult));
    ASSERT_EQ(c.tabPositions().size(), 2);
    EXPECT_EQ(c.tabPositions()[1].type, QTextOption::RightTab);
    const QTextBlockFormat r = doc.begin().next().blockFormat();
    EXPECT_EQ(r.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_DOUBLE_EQ(r.leftMargin(), 0.0);
    const QTextBlockFormat j = doc.lastBlock().blockFormat();
    EXPECT_EQ(j.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(j.lineHeightType(), int(QTextBlockFormat::FixedHeight));
    EXPECT_DOUBLE_EQ(j.lineHeight(), 20.0);
}

struct ListCase
{
    const char* name;
    QByteArray rtf;
    QTextListFormat::Style style;
    QString prefix, suffix;
};

class RtfListTest : public ::testing::TestWithParam<ListCase>
{
};

TEST_P(RtfListTest, ParagraphsBecomeOneList)
{
    const ListCase& c = GetParam();
    QTextDocument doc;
    KvRtfReader::Read(c.rtf, &doc);
    EXPECT_EQ(KvRtfPlainText::DocumentText(doc), u"one\ntwo"_qs);
    QTextList* list = doc.begin().textList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(doc.lastBlock().textList(), list);
    EXPECT_EQ(list->count(), 2);
    EXPECT_EQ(list->format().style(), c.style);
    if (c.style != QTextListFormat::ListDisc) {
        EXPECT_EQ(list->format().numberPrefix(), c.prefix);
        EXPECT_EQ(list->format().numberSuffix(), c.suffix);
    }
}

QByteArray PnList(const char* kind, const char* before, const char* after)
{
    QByteArray pn = QByteArray("{\\*\\pn\\pnlvlbody\\") + kind + "\\pnstart1{\\pntxtb " + before +
                    "}{\\pntxta " + after + "}}";
    const QByteArray body =
        "{\\pntext 1)\\tab}" + pn + "\\fi-360\\li720 one\\par{\\pntext 2)\\tab}" + pn + "two\\par";
    return Wrap(body.constData());
}

QByteArray LsList(int nfc, const char* levelText)
{
    QByteArray header =
        QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}{\\*\\listtable{\\list\\listtemplateid1"
                   "{\\listlevel\\levelnfc") +
        QByteArray::number(nfc) + "\\levelstartat1{\\leveltext " + levelText +
        ";}{\\levelnumbers\\'01;}}{\\listname ;}\\listid7}}"
        "{\\*\\listoverridetable{\\listoverride\\listid7\\listoverridecount0\\ls1}}";
    return header + "\\pard\\ls1\\ilvl0{\\listtext 1.\\tab}one\\par{\\listtext 2.\\tab}two\\par}";
}

const ListCase kListCases[] = {
    {"pnBullet",
     Wrap("{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}one\\par"
          "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}two\\par"),
     QTextListFormat::ListDisc,
     {},
     {}},
    {"pnDecimalDot", PnList("pndec", "", "."), QTextListFormat::ListDecimal, u""_qs, u"."_qs},
    {"pnDecimalParen", PnList("pndec", "", ")"), QTextListFormat::ListDecimal, u""_qs, u")"_qs},
    {"pnDecimalBoth", PnList("pndec", "(", ")"), QTextListFormat::ListDecimal, u"("_qs, u")"_qs},
    {"pnLowerLetter", PnList("pnlcltr", "", "."), QTextListFormat::ListLowerAlpha, u""_qs, u"."_qs},
    {"pnUpperLetter", PnList("pnucltr", "", "."), QTextListFormat::ListUpperAlpha, u""_qs, u"."_qs},
    {"pnLowerRoman", PnList("pnlcrm", "", "."), QTextListFormat::ListLowerRoman, u""_qs, u"."_qs},
    {"pnUpperRoman", PnList("pnucrm", "", "."), QTextListFormat::ListUpperRoman, u""_qs, u"."_qs},
    {"lsDecimal", LsList(0, "\\'02\\'00."), QTextListFormat::ListDecimal, u""_qs, u"."_qs},
    {"lsParens", LsList(4, "\\'03(\\'00)"), QTextListFormat::ListLowerAlpha, u"("_qs, u")"_qs},
    {"lsBullet", LsList(23, "\\'01\\u8226 ?"), QTextListFormat::ListDisc, {}, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RtfListTest, ::testing::ValuesIn(kListCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfReaderFormat, HyperlinkBecomesAnchor)
{
    struct Case
    {
        QByteArray rtf;
        QString href;
    } cases[] = {
        {Wrap("{\\field{\\*\\fldinst HYPERLINK \"http://x.org/a\"}{\\fldrslt {\\ul link}}}"),
         u"http://x.org/a"_qs},
        {Wrap("{\\field{\\*\\fldinst {HYPER}{LINK \"http://x.org/b\" }}{\\fldrslt link}}"),
         u"http://x.org/b"_qs},
        {Wrap("{\\field{\\*\\fldinst HYPERLINK \\\\l \"mark\"}{\\fldrslt link}}"), u"#mark"_qs},
        {Wrap("{\\field{\\*\\fldinst HYPERLINK \"http://x.org\" \\\\o \"tip\"}{\\fldrslt link}}"),
         u"http://x.org"_qs},
    };
    for (const Case& c : cases) {
        QTextDocument doc;
        KvRtfReader::Read(c.rtf, &doc);
        const QTextCharFormat f = FormatAt(doc, u"link"_qs);
        EXPECT_TRUE(f.isAnchor()) << c.rtf.constData();
        EXPECT_EQ(f.anchorHref(), c.href) << c.rtf.constData();
    }
    QTextDocument doc;
    KvRtfReader::Read(Wrap("{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}} after"), &doc);
    EXPECT_FALSE(FormatAt(doc, u"after"_qs).isAnchor());
}

TEST(RtfReaderFormat, TableCells)
{
    QTextDocument doc;
    KvRtfReader::Read(
        Wrap("\\trowd\\cellx100\\cellx200\\pard\\intbl a\\cell b\\cell\\row"
             "\\trowd\\cellx100\\cellx200\\pard\\intbl c\\cell d\\par e\\cell\\row\\pard x"),
        &doc);
    QTextCursor c(&doc);
    c.setPosition(doc.toRawText().indexOf(u'a'));
    QTextTable* table = c.currentTable();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    const QTextTableCell cell = table->cellAt(1, 1);
    QTextCursor cc = cell.firstCursorPosition();
    cc.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    EXPECT_EQ(cc.selectedText(), u"d\u2029e"_qs);
}

TEST(RtfReaderFormat, PicturesBecomeImages)
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(Qt::red);
    QByteArray pngBytes;
    QBuffer buffer(&pngBytes);
    buffer.open(QIODevice::WriteOnly);
    pixel.save(&buffer, "PNG");
    const QByteArray png = pngBytes.toHex();
    QTextDocument doc;
    const QByteArray body = "{\\pict\\pngblip\\picw1\\pich1\\picwgoal300\\pichgoal150 " + png +
                            "}{\\pict\\wmetafile8\\picwgoal150\\pichgoal150 0102}";
    KvRtfReader::Read(Wrap(body.constData()), &doc);
    QTextCursor c(&doc);
    c.setPosition(1);
    const QTextImageFormat img = c.charFormat().toImageFormat();
    ASSERT_TRUE(img.isValid());
    EXPECT_DOUBLE_EQ(img.width(), 20.0);
    EXPECT_DOUBLE_EQ(img.height(), 10.0);
    const QVariant res = doc.resource(QTextDocument::ImageResource, QUrl(img.name()));
    EXPECT_EQ(res.value<QImage>().size(), QSize(1, 1));
    c.setPosition(2);
    const QTextImageFormat wmf = c.charFormat().toImageFormat();
    ASSERT_TRUE(wmf.isValid());
    const QByteArray raw = wmf.property(KvRtfProp::RawRtfGroup).toByteArray();
    EXPECT_EQ(raw, QByteArray("{\\pict\\wmetafile8\\picwgoal150\\pichgoal150 0102}"));
    EXPECT_FALSE(doc.resource(QTextDocument::ImageResource, QUrl(wmf.name())).isNull());
}

TEST(RtfReaderFormat, ReadingTwiceDoesNotGrowTheDocument)
{
    QTextDocument doc;
    KvRtfReader::Read(Wrap("a\\par b\\par"), &doc);
    EXPECT_EQ(doc.blockCount(), 2);
    KvRtfReader::Read(Wrap("a\\par b\\par"), &doc);
    EXPECT_EQ(doc.blockCount(), 2);
}

TEST(RtfReaderFormat, ResultReportsWarningsAndStyles)
{
    QTextDocument doc;
    const KvRtfReadResult r =
        KvRtfReader::Read(Wrap("{\\stylesheet{\\s0 Normal;}{\\s2 heading 2;}}{x"), &doc);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.styles.value(2), u"heading 2"_qs);
    EXPECT_FALSE(r.warnings.isEmpty()); // ends inside a group
    EXPECT_FALSE(KvRtfReader::Read("plain", &doc).ok);
}

struct MalformedCase
{
    const char* name;
    QByteArray rtf;
};

TEST(RtfReaderRobustness, MalformedInputGivesBestEffort)
{
    const MalformedCase cases[] = {
        {"unbalancedOpen", "{\\rtf1 a{b{c"},
        {"unbalancedClose", "{\\rtf1 a}}}}b"},
        {"truncatedWord", "{\\rtf1 a\\par"},
        {"truncatedHex", "{\\rtf1 a\\'4"},
        {"hugeNumber", "{\\rtf1\\fs99999999999999999999 a\\u99999999999 b\\uc2147483647 c}"},
        {"hugeBin", "{\\rtf1 a\\bin2147483647 xyz}"},
        {"negativeBin", "{\\rtf1 a\\bin-5 xyz}"},
        {"deepNesting", "{\\rtf1 " + QByteArray(200000, '{') + "x" + QByteArray(200000, '}') + "}"},
        {"deepIgnorable", "{\\rtf1 " + QByteArray(100000, '{').replace("{", "{\\*") + "x}"},
        {"hugeTableRow", "{\\rtf1 \\trowd" + QByteArray(5000, 'x').replace("x", "\\cellx1") +
                             "\\intbl a\\cell\\row}"},
    };
    for (const MalformedCase& c : cases) {
        QTextDocument doc;
        KvRtfReader::Read(c.rtf, &doc);
        const QString text = KvRtfPlainText::DocumentText(doc);
        EXPECT_EQ(text, KvRtfPlainText::Extract(c.rtf)) << c.name;
        EXPECT_LE(text.size(), c.rtf.size()) << c.name;
    }
}

} // namespace
