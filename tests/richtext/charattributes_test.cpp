// The attribute adapter: every character attribute code applied, written as RTF, read and
// taken again comes back the same; subsets apply as one step; paragraph subsets and
// numbering change only what they name.
#include "richtext/charattributes.h"
#include "richtext/paraattributes.h"
#include "richtext/rtfproperties.h"
#include "richtext/texrichdocument.h"

#include <QGuiApplication>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

inline void PrintTo(const KvCharAttributes& a, std::ostream* os)
{
    *os << a.name.toStdString() << ',' << a.size << ',' << (a.bold ? "B" : "")
        << (a.italic ? "I" : "") << (a.underline ? "U" : "") << (a.strikeOut ? "S" : "")
        << ",pitch " << a.pitch << ",colour " << std::hex << a.color << ",background "
        << a.background << std::dec << ",charset " << a.charset;
}

namespace {

using C = KvCharAttributes;

// The text every case works on; the attributes go to "zwei".
constexpr int kStart = 5;
constexpr int kLength = 4;

std::unique_ptr<TexRichDocument> Page()
{
    auto doc = std::make_unique<TexRichDocument>();
    KvFontSpec layout;
    layout.font = QFont(u"DejaVu Sans"_qs, 10);
    layout.charset = 1;
    doc->SetLayoutFont(layout);
    doc->LoadPlainText(u"eins zwei drei"_qs);
    return doc;
}

struct CharCase
{
    const char* name;
    unsigned mask;
    KvCharAttributes applied;  // the fields of mask count
    KvCharAttributes expected; // after writing and reading: the fields of mask
    const char* rtf;           // a piece the writer makes of it
    const char* notInRtf = nullptr;
};

C With(std::function<void(C&)> set)
{
    C a;
    a.name = u"Liberation Serif"_qs;
    set(a);
    return a;
}

// The fields of mask from a, the others from b.
C Masked(const C& a, const C& b, unsigned mask)
{
    C r = b;
    if (mask & C::Name) {
        // A new name drops the old font's charset and pitch.
        r.name = a.name;
        r.charset = 0;
        r.pitch = 0;
    }
    if (mask & C::Size)
        r.size = a.size;
    if (mask & C::Color)
        r.color = a.color;
    if (mask & C::Background)
        r.background = a.background;
    if (mask & C::Bold)
        r.bold = a.bold;
    if (mask & C::Italic)
        r.italic = a.italic;
    if (mask & C::Underline)
        r.underline = a.underline;
    if (mask & C::StrikeOut)
        r.strikeOut = a.strikeOut;
    if (mask & C::Charset)
        r.charset = a.charset;
    if (mask & C::Pitch)
        r.pitch = a.pitch;
    return r;
}

class CharAttributesTable : public ::testing::TestWithParam<CharCase>
{
};

TEST_P(CharAttributesTable, AppliedWrittenReadAndTakenAgain)
{
    const CharCase& c = GetParam();
    auto doc = Page();
    doc->SetSelection(kStart, kLength);
    const C before = doc->SelectionCharAttributes();
    doc->ApplyAttributes(c.applied, c.mask, {}, 0);
    EXPECT_EQ(doc->SelectionCharAttributes(), Masked(c.applied, before, c.mask))
        << c.name << ": applied";
    doc->SetSelection(0, 4);
    EXPECT_EQ(doc->SelectionCharAttributes(), before) << c.name << ": outside the selection";

    const QByteArray rtf = doc->SaveRtf();
    EXPECT_TRUE(rtf.contains(c.rtf)) << c.name << "\n" << rtf.constData();
    if (c.notInRtf)
        EXPECT_FALSE(rtf.contains(c.notInRtf)) << c.name << "\n" << rtf.constData();

    TexRichDocument read;
    read.SetLayoutFont(doc->LayoutFont());
    read.LoadRtf(rtf);
    read.SetSelection(kStart, kLength);
    const C back = read.SelectionCharAttributes();
    EXPECT_EQ(Masked(back, {}, c.mask), Masked(c.expected, {}, c.mask)) << c.name << ": read";

    // Taken again from the text read and applied to the same text: the same RTF.
    auto again = Page();
    again->SetSelection(kStart, kLength);
    again->ApplyAttributes(back, c.mask, {}, 0);
    EXPECT_EQ(again->SaveRtf(), rtf) << c.name << ": taken again";
}

const CharCase kChars[] = {
    {"name", C::Name, With([](C&) {}), With([](C& a) { a.charset = 0; }),
     "\\fnil\\fcharset0 Liberation Serif;"},
    {"size", C::Size, With([](C& a) { a.size = 14; }), With([](C& a) { a.size = 14; }),
     "\\fs28 zwei"},
    {"colour", C::Color, With([](C& a) { a.color = KvColor::clRed; }),
     With([](C& a) { a.color = KvColor::clRed; }), "\\red255\\green0\\blue0;", nullptr},
    {"automatic colour", C::Color, With([](C& a) { a.color = KvColor::clWindowText; }),
     With([](C& a) { a.color = KvColor::clWindowText; }), " zwei", "\\colortbl"},
    {"background", C::Background, With([](C& a) { a.background = KvColor::clYellow; }),
     With([](C& a) { a.background = KvColor::clYellow; }), "\\highlight1 zwei"},
    {"no background", C::Background, With([](C& a) { a.background = KvColor::clWindow; }),
     With([](C& a) { a.background = KvColor::clWindow; }), " zwei", "\\highlight"},
    {"bold", C::Bold, With([](C& a) { a.bold = true; }), With([](C& a) { a.bold = true; }),
     "\\b zwei\\b0"},
    {"italic", C::Italic, With([](C& a) { a.italic = true; }), With([](C& a) { a.italic = true; }),
     "\\i zwei\\i0"},
    {"underline", C::Underline, With([](C& a) { a.underline = true; }),
     With([](C& a) { a.underline = true; }), "\\ul zwei\\ulnone"},
    {"strike-out", C::StrikeOut, With([](C& a) { a.strikeOut = true; }),
     With([](C& a) { a.strikeOut = true; }), "\\strike zwei\\strike0"},
    {"cyrillic charset", C::Name | C::Charset, With([](C& a) { a.charset = 204; }),
     With([](C& a) { a.charset = 204; }), "\\fcharset204 Liberation Serif;"},
    {"system default charset", C::Name | C::Charset, With([](C& a) { a.charset = 1; }),
     With([](C& a) { a.charset = 0; }), "\\fcharset0 Liberation Serif;", "\\fcharset1"},
    {"variable pitch", C::Name | C::Pitch, With([](C& a) { a.pitch = 1; }),
     With([](C& a) { a.pitch = 1; }), "\\fnil\\fprq2\\fcharset0 Liberation Serif;"},
    {"fixed pitch", C::Name | C::Pitch, With([](C& a) { a.pitch = 2; }),
     With([](C& a) { a.pitch = 2; }), "\\fmodern\\fprq1\\fcharset0 Liberation Serif;"},
    {"default pitch", C::Name | C::Pitch, With([](C& a) { a.pitch = 0; }),
     With([](C& a) { a.pitch = 0; }), "\\fnil\\fcharset0 Liberation Serif;", "\\fprq"},
    {"the whole font", C::All, With([](C& a) {
         a.size = 12;
         a.color = KvColor::clBlue;
         a.background = KvColor::clLime;
         a.bold = a.italic = a.underline = a.strikeOut = true;
         a.charset = 0;
         a.pitch = 1;
     }),
     With([](C& a) {
         a.size = 12;
         a.color = KvColor::clBlue;
         a.background = KvColor::clLime;
         a.bold = a.italic = a.underline = a.strikeOut = true;
         a.charset = 0;
         a.pitch = 1;
     }),
     "\\b\\i\\ul\\strike zwei"},
};

INSTANTIATE_TEST_SUITE_P(Codes, CharAttributesTable, ::testing::ValuesIn(kChars),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& ch : n)
                                 ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
                             return n;
                         });

TEST(CharAttributes, UnsetAttributesReadAsTheLayoutFont)
{
    TexRichDocument doc;
    KvFontSpec layout;
    layout.font = QFont(u"Liberation Mono"_qs, 13);
    layout.font.setItalic(true);
    layout.color = KvColor::clMaroon;
    layout.charset = 238;
    layout.pitch = 2;
    doc.SetLayoutFont(layout);
    doc.LoadPlainText(u"abc"_qs);
    doc.SetSelection(0, 2);
    const C a = doc.SelectionCharAttributes();
    EXPECT_EQ(a.name, u"Liberation Mono"_qs);
    EXPECT_EQ(a.size, 13) << "never 0";
    EXPECT_TRUE(a.italic);
    EXPECT_EQ(a.color, KvColor::clMaroon);
    EXPECT_EQ(a.charset, 238);
    EXPECT_EQ(a.pitch, 2);
    EXPECT_EQ(a.background, KvColor::clWindow);
}

TEST(CharAttributes, PixelSizesCountAt96Dpi)
{
    QTextCharFormat f;
    f.setProperty(QTextFormat::FontPixelSize, 16);
    EXPECT_EQ(C::Read(f, KvFontSpec{}).size, 12);
    f.setFontPointSize(10.6);
    EXPECT_EQ(C::Read(f, KvFontSpec{}).size, 11) << "whole points";
}

TEST(CharAttributes, SystemColoursResolveThroughThePalette)
{
    auto doc = Page();
    doc->SetSelection(kStart, kLength);
    C a;
    a.color = KvColor::clHighlight;
    doc->ApplyAttributes(a, C::Color, {}, 0);
    EXPECT_EQ(doc->SelectionCharAttributes().color,
              KvColor::FromQColor(QGuiApplication::palette().color(QPalette::Highlight)));
}

TEST(CharAttributes, PitchIsTranslatedNotCopied)
{
    const struct
    {
        int store;
        int rtf;
    } kPitches[] = {{0, 0}, {1, 2}, {2, 1}};
    for (const auto& p : kPitches) {
        EXPECT_EQ(C::RtfPitch(p.store), p.rtf);
        EXPECT_EQ(C::StorePitch(p.rtf), p.store);
    }
}

TEST(CharAttributes, CharsetOneFontWritesUmlautsReadableAsAnsi)
{
    TexRichDocument doc;
    doc.LoadRtf("{\\rtf1\\ansi{\\fonttbl{\\f0\\fnil\\fcharset1 Arial;}}\\f0 Gr\\'fc\\'dfe\\par}");
    EXPECT_EQ(doc.PlainText(), u"Grüße"_qs);
    const QByteArray rtf = doc.SaveRtf();
    EXPECT_FALSE(rtf.contains("\\fcharset1")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("\\fcharset0 Arial;")) << rtf.constData();
    EXPECT_TRUE(rtf.contains("Gr\\'fc\\'dfe")) << rtf.constData();
}

TEST(CharAttributes, ASubsetIsOneUndoStepOverMixedText)
{
    auto doc = Page();
    doc->SetSelection(0, 4);
    C bold;
    bold.bold = true;
    doc->ApplyAttributes(bold, C::Bold, {}, 0);
    const QByteArray mixed = doc->SaveRtf();
    doc->SetSelection(0, 14);
    C big;
    big.size = 20;
    big.color = KvColor::clGreen;
    doc->ApplyAttributes(big, C::Size | C::Color, {}, 0);
    doc->SetSelection(0, 0);
    EXPECT_TRUE(doc->SelectionCharAttributes().bold) << "bold stays where it was";
    doc->SetSelection(6, 0);
    EXPECT_FALSE(doc->SelectionCharAttributes().bold);
    EXPECT_EQ(doc->SelectionCharAttributes().size, 20);
    doc->Document()->undo();
    EXPECT_EQ(doc->SaveRtf(), mixed) << "one step back";
}

TEST(CharAttributes, AutomaticColourAndNoBackgroundRemoveThem)
{
    auto doc = Page();
    doc->SetSelection(kStart, kLength);
    C a;
    a.color = KvColor::clRed;
    a.background = KvColor::clYellow;
    doc->ApplyAttributes(a, C::Color | C::Background, {}, 0);
    a.color = KvColor::clWindowText;
    a.background = KvColor::clWindow;
    doc->ApplyAttributes(a, C::Color | C::Background, {}, 0);
    QTextCursor c(doc->Document());
    c.setPosition(kStart + 1);
    EXPECT_FALSE(c.charFormat().hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(c.charFormat().hasProperty(QTextFormat::BackgroundBrush));
}

TEST(ParaAttributesMask, OnlyTheNamedFieldsChange)
{
    TexRichDocument doc;
    doc.LoadPlainText(u"eins\nzwei"_qs);
    KvParaAttributes first;
    first.startIndent = 300;
    first.offset = 150;
    first.alignment = KvParaAttributes::Centre;
    doc.SetSelection(0, 0);
    doc.SetSelectionParagraph(first);
    const QByteArray before = doc.SaveRtf();

    doc.SetSelection(0, 7);
    KvParaAttributes right;
    right.rightIndent = 450;
    right.startIndent = 999; // not in the mask
    doc.ApplyAttributes({}, 0, right, KvParaAttributes::RightIndentField);
    doc.SetSelection(0, 0);
    KvParaAttributes expect = first;
    expect.rightIndent = 450;
    EXPECT_EQ(doc.SelectionParagraph(), expect);
    doc.SetSelection(6, 0);
    KvParaAttributes second;
    second.rightIndent = 450;
    EXPECT_EQ(doc.SelectionParagraph(), second);

    // The start alone moves the whole paragraph: the offset stays.
    KvParaAttributes start;
    start.startIndent = 600;
    doc.SetSelection(0, 0);
    doc.ApplyAttributes({}, 0, start, KvParaAttributes::StartIndentField);
    EXPECT_EQ(doc.SelectionParagraph().startIndent, 600);
    EXPECT_EQ(doc.SelectionParagraph().offset, 150);

    // Nothing in the mask: not a byte changes.
    doc.Document()->undo();
    doc.Document()->undo();
    EXPECT_EQ(doc.SaveRtf(), before);
    doc.SetSelection(0, 9);
    doc.ApplyAttributes({}, 0, KvParaAttributes(), 0);
    EXPECT_EQ(doc.SaveRtf(), before);
}

TEST(ParaNumbering, OnlyTheSelectedParagraphsChange)
{
    TexRichDocument doc;
    doc.LoadPlainText(u"a\nb\nc"_qs);
    QTextCursor all(doc.Document());
    all.select(QTextCursor::Document);
    KvParaFormat::SetNumbering(all, QTextListFormat::ListDecimal, {}, u"."_qs);
    ASSERT_EQ(doc.Document()->begin().textList()->count(), 3);

    doc.SetSelection(2, 0); // "b"
    KvParaAttributes bullet;
    bullet.numbering = KvParaAttributes::Bullet;
    doc.ApplyAttributes({}, 0, bullet, KvParaAttributes::NumberingField);
    const QTextBlock a = doc.Document()->begin();
    const QTextBlock b = a.next();
    const QTextBlock c = b.next();
    ASSERT_TRUE(a.textList() && b.textList() && c.textList());
    EXPECT_EQ(a.textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(b.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(c.textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(a.blockFormat().indent(), b.blockFormat().indent()) << "b stays where it was";

    // The whole list changes as one.
    doc.SetSelection(0, 5);
    KvParaAttributes upper;
    upper.numbering = KvParaAttributes::UpperRoman;
    doc.ApplyAttributes({}, 0, upper, KvParaAttributes::NumberingField);
    EXPECT_EQ(doc.Document()->begin().textList()->count(), 3);
    EXPECT_EQ(doc.Document()->lastBlock().textList()->itemText(doc.Document()->lastBlock()),
              u"III."_qs);
}

} // namespace
