#include "richtext/paraattributes.h"
#include "richtext/rtfproperties.h"
#include "richtext/texrichdocument.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

namespace {

KvParaAttributes Attrs(std::initializer_list<std::pair<int KvParaAttributes::*, int>> values)
{
    KvParaAttributes a;
    for (auto [member, value] : values)
        a.*member = value;
    return a;
}

using A = KvParaAttributes;

struct ParaCase
{
    const char* name;
    KvParaAttributes attributes;
    QByteArray rtf; // what the writer makes of it
};

class ParaAttributesTable : public ::testing::TestWithParam<ParaCase>
{
};

// Applying attributes, reading them back, writing RTF and loading it again keep them.
TEST_P(ParaAttributesTable, ApplyReadAndRoundTrip)
{
    const ParaCase& c = GetParam();
    TexRichDocument doc;
    doc.LoadPlainText(u"eins\nzwei\ndrei"_qs);
    doc.SetSelection(2, 5); // the first two paragraphs
    doc.SetSelectionParagraph(c.attributes);
    EXPECT_EQ(doc.SelectionParagraph(), c.attributes) << c.name;
    doc.SetSelection(6, 0);
    EXPECT_EQ(doc.SelectionParagraph(), c.attributes) << c.name << ": second paragraph too";
    doc.SetSelection(11, 0);
    EXPECT_EQ(doc.SelectionParagraph(), KvParaAttributes()) << c.name << ": third untouched";

    const QByteArray rtf = doc.SaveRtf();
    EXPECT_TRUE(rtf.contains(c.rtf)) << c.name << "\n" << rtf.constData();
    TexRichDocument again;
    again.LoadRtf(rtf);
    again.SetSelection(1, 0);
    EXPECT_EQ(again.SelectionParagraph(), c.attributes) << c.name << ": after reading the RTF";
}

const ParaCase kParas[] = {
    {"defaults", KvParaAttributes(), "\\pard\\fs"},
    {"indents", Attrs({{&A::startIndent, 720}, {&A::offset, 360}, {&A::rightIndent, 300}}),
     "\\pard\\fi-360\\li1080\\ri300"},
    {"hanging first line", Attrs({{&A::startIndent, 0}, {&A::offset, -450}}), "\\pard\\fi450"},
    {"spacing", Attrs({{&A::spaceBefore, 120}, {&A::spaceAfter, 240}}), "\\pard\\sb120\\sa240"},
    {"right", Attrs({{&A::alignment, A::Right}}), "\\pard\\qr"},
    {"centre", Attrs({{&A::alignment, A::Centre}}), "\\pard\\qc"},
    {"justify", Attrs({{&A::alignment, A::Justify}}), "\\pard\\qj"},
    {"one and a half lines", Attrs({{&A::lineSpacingRule, A::Lines}, {&A::lineSpacing, 30}}),
     "\\sl360\\slmult1"},
    {"three lines", Attrs({{&A::lineSpacingRule, A::Lines}, {&A::lineSpacing, 60}}),
     "\\sl720\\slmult1"},
    {"at least", Attrs({{&A::lineSpacingRule, A::AtLeast}, {&A::lineSpacing, 300}}),
     "\\sl300\\slmult0"},
    {"exactly", Attrs({{&A::lineSpacingRule, A::Exactly}, {&A::lineSpacing, 280}}),
     "\\sl-280\\slmult0"},
    {"bullets", Attrs({{&A::numbering, A::Bullet}, {&A::numberingStyle, A::Period}}), "\\pnlvlblt"},
    {"arabic with period", Attrs({{&A::numbering, A::Arabic}, {&A::numberingStyle, A::Period}}),
     "\\pndec{\\pntxta .}"},
    {"letters in parentheses",
     Attrs({{&A::numbering, A::LowerLetter}, {&A::numberingStyle, A::Parentheses}}),
     "\\pnlcltr{\\pntxtb (}{\\pntxta )}"},
    {"roman with parenthesis",
     Attrs({{&A::numbering, A::UpperRoman}, {&A::numberingStyle, A::Parenthesis}}),
     "\\pnucrm{\\pntxta )}"},
    {"plain upper letters",
     Attrs({{&A::numbering, A::UpperLetter}, {&A::numberingStyle, A::Plain}}), "\\pnucltr}"},
};

INSTANTIATE_TEST_SUITE_P(Table, ParaAttributesTable, ::testing::ValuesIn(kParas));

TEST(ParaAttributes, SingleSpacingRulesReadAsSingle)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextBlockFormat bf;
    bf.setLineHeight(100, QTextBlockFormat::ProportionalHeight);
    c.setBlockFormat(bf);
    EXPECT_EQ(KvParaAttributes::Read(doc.begin()).lineSpacingRule, A::Single);
    const KvParaAttributes doubled = Attrs({{&A::lineSpacingRule, A::Double}});
    doubled.ApplyTo(c);
    const KvParaAttributes read = KvParaAttributes::Read(doc.begin());
    EXPECT_EQ(read.lineSpacingRule, A::Lines);
    EXPECT_EQ(read.lineSpacing, 40);
    Attrs({{&A::lineSpacingRule, A::Single}}).ApplyTo(c);
    EXPECT_FALSE(doc.begin().blockFormat().hasProperty(KvRtfProp::LineSpacingTwips));
    EXPECT_EQ(doc.begin().blockFormat().lineHeightType(), QTextBlockFormat::SingleHeight);
}

TEST(ParaAttributes, NumberingOffReturnsTheTextToItsIndent)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(u"a"_qs);
    c.insertBlock();
    c.insertText(u"b"_qs);
    QTextCursor all(&doc);
    all.select(QTextCursor::Document);
    KvParaFormat::SetNumbering(all, QTextListFormat::ListDecimal, {}, u"."_qs);
    ASSERT_NE(doc.begin().textList(), nullptr);
    EXPECT_EQ(doc.begin().textList(), doc.lastBlock().textList()) << "one list";
    EXPECT_EQ(doc.lastBlock().textList()->itemText(doc.lastBlock()), u"2."_qs);
    KvParaFormat::SetNumbering(all, QTextListFormat::ListStyleUndefined);
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        EXPECT_EQ(b.textList(), nullptr);
        EXPECT_EQ(b.blockFormat().indent(), 0);
    }
    EXPECT_TRUE(doc.isUndoAvailable());
}

TEST(RichDocumentSelection, CharFormatOnSelectionOrAsTypingFormat)
{
    TexRichDocument doc;
    doc.LoadPlainText(u"eins zwei"_qs);
    doc.SetSelection(5, 4);
    EXPECT_EQ(doc.SelectedText(), u"zwei"_qs);
    QTextCharFormat f;
    f.setFontFamilies({u"Courier New"_qs});
    f.setFontUnderline(true);
    doc.SetSelectionCharFormat(f);
    const QTextCharFormat got = doc.SelectionCharFormat();
    EXPECT_EQ(got.fontFamilies().toStringList().value(0), u"Courier New"_qs);
    EXPECT_TRUE(got.fontUnderline());
    EXPECT_TRUE(doc.IsModified());

    // A stale underline kind and charset from RTF go when the user sets new values.
    QTextCursor sel = doc.SelectionCursor();
    QTextCharFormat old;
    old.setProperty(KvRtfProp::UnderlineKind, int(KvRtfUnderline::Double));
    old.setProperty(KvRtfProp::FontCharset, 204);
    sel.mergeCharFormat(old);
    doc.SetSelectionCharFormat(f);
    EXPECT_EQ(doc.SelectionCharFormat().intProperty(KvRtfProp::UnderlineKind), 0);
    EXPECT_EQ(doc.SelectionCharFormat().intProperty(KvRtfProp::FontCharset), 0);

    doc.SetSelection(2, 0);
    bool asTyping = false;
    QObject::connect(&doc, &TexRichDocument::typingFormatRequested,
                     [&](const QTextCharFormat& t) { asTyping = t.fontUnderline(); });
    doc.SetSelectionCharFormat(f);
    EXPECT_TRUE(asTyping);
    EXPECT_FALSE(doc.SelectionCharFormat().fontUnderline()) << "no text changed";
}

} // namespace
