// The values of the paragraph dialog: centimetres in either notation, the entries of its
// lists, and what an edited copy applies (only what changed, exact twips where untouched).
#include "richtext/kvfontsizetext.h"
#include "richtext/kvparadialogvalues.h"
#include "richtext/texrichdocument.h"

#include <QLocale>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

using A = KvParaAttributes;
using V = KvParaDialogValues;

class ParaDialogValues : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

TEST_F(ParaDialogValues, CentimetresInEitherNotation)
{
    EXPECT_EQ(V::CmText(850), u"1,50"_qs);
    EXPECT_EQ(V::CmText(0), u"0,00"_qs);
    const struct
    {
        const char16_t* text;
        std::optional<int> twips;
    } kTexts[] = {
        {u"1,5", 850}, {u"1.5", 850},  {u" 2 ", 1134}, {u"", 0},     {u"10", 5669},
        {u"0", 0},     {u"10,01", {}}, {u"-1", {}},    {u"abc", {}}, {u"1,5cm", {}},
    };
    for (const auto& t : kTexts)
        EXPECT_EQ(V::ParseCm(QString::fromUtf16(t.text)), t.twips)
            << QString::fromUtf16(t.text).toStdString();
}

TEST_F(ParaDialogValues, LineSpacingEntries)
{
    const struct
    {
        int rule, value, entry;
    } kRules[] = {
        {A::Single, 0, 0},  {A::OneAndHalf, 0, 1}, {A::Double, 0, 2},     {A::Lines, 20, 0},
        {A::Lines, 30, 1},  {A::Lines, 40, 2},     {A::Lines, 60, 3},     {A::Lines, 80, 4},
        {A::Lines, 100, 5}, {A::Lines, 50, -1},    {A::Exactly, 280, -1}, {A::AtLeast, 300, -1},
    };
    for (const auto& r : kRules)
        EXPECT_EQ(V::LineSpacingEntry(r.rule, r.value), r.entry) << r.rule << "/" << r.value;
}

TEST_F(ParaDialogValues, OpenedFromAParagraph)
{
    A p;
    p.startIndent = 567;
    p.offset = 567;
    p.rightIndent = 1134;
    p.alignment = A::Centre;
    p.lineSpacingRule = A::Lines;
    p.lineSpacing = 30;
    p.numbering = A::LowerRoman;
    p.numberingStyle = A::Parentheses;
    const V v = V::From(p);
    EXPECT_EQ(v.firstIndent, u"1,00"_qs);
    EXPECT_EQ(v.followingIndent, u"2,00"_qs);
    EXPECT_EQ(v.rightIndent, u"2,00"_qs);
    EXPECT_EQ(v.alignment, 2);
    EXPECT_EQ(v.lineSpacing, 1);
    EXPECT_EQ(v.numbering, A::LowerRoman);
    EXPECT_EQ(v.numberingStyle, 2);
    A justified;
    justified.alignment = A::Justify;
    EXPECT_EQ(V::From(justified).alignment, -1) << "no entry for justified";
}

TEST_F(ParaDialogValues, OnlyWhatChangedIsApplied)
{
    A p;
    p.startIndent = 333; // not a whole hundredth of a centimetre
    p.offset = 111;
    p.rightIndent = 77;
    p.lineSpacingRule = A::Exactly;
    p.lineSpacing = 280;
    const V opened = V::From(p);

    auto applied = opened.Apply(opened, p);
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->mask, 0u) << "nothing changed";

    V edited = opened;
    edited.firstIndent = u"1"_qs;
    applied = edited.Apply(opened, p);
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->mask, unsigned(A::StartIndentField | A::OffsetField));
    EXPECT_EQ(applied->attributes.startIndent, 567);
    EXPECT_EQ(applied->attributes.startIndent + applied->attributes.offset, 444)
        << "the untouched following indent keeps its exact twips";

    edited = opened;
    edited.lineSpacing = 2;
    edited.alignment = 1;
    edited.spaceAfter = u"0.5"_qs;
    applied = edited.Apply(opened, p);
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->mask,
              unsigned(A::LineSpacingField | A::AlignmentField | A::SpaceAfterField));
    EXPECT_EQ(applied->attributes.lineSpacingRule, A::Lines);
    EXPECT_EQ(applied->attributes.lineSpacing, 40);
    EXPECT_EQ(applied->attributes.alignment, A::Right);
    EXPECT_EQ(applied->attributes.spaceAfter, 283);
    EXPECT_EQ(applied->attributes.rightIndent, 77);

    edited = opened;
    edited.numbering = A::Arabic;
    edited.numberingStyle = 1;
    applied = edited.Apply(opened, p);
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->mask, unsigned(A::NumberingField));
    EXPECT_EQ(applied->attributes.numberingStyle, A::Parenthesis);

    edited = opened;
    edited.rightIndent = u"11"_qs;
    int invalid = -1;
    EXPECT_FALSE(edited.Apply(opened, p, &invalid));
    EXPECT_EQ(invalid, 2);
}

TEST_F(ParaDialogValues, NoChangeChangesNoByteOverMixedParagraphs)
{
    TexRichDocument doc;
    doc.LoadPlainText(u"eins\nzwei"_qs);
    A first;
    first.startIndent = 333;
    first.alignment = A::Centre;
    doc.SetSelection(0, 0);
    doc.SetSelectionParagraph(first);
    const QByteArray before = doc.SaveRtf();
    doc.SetSelection(0, 9);
    const A p = doc.SelectionParagraph();
    const V opened = V::From(p);
    const auto applied = opened.Apply(opened, p);
    ASSERT_TRUE(applied);
    doc.ApplyAttributes({}, 0, applied->attributes, applied->mask);
    EXPECT_EQ(doc.SaveRtf(), before);
}

TEST(FontSizeText, WholePointsFromOneTo1638)
{
    const struct
    {
        const char16_t* text;
        std::optional<int> size;
    } kSizes[] = {{u"12", 12},  {u" 9 ", 9},   {u"1", 1},     {u"1638", 1638},
                  {u"0", {}},   {u"-3", {}},   {u"12,5", {}}, {u"12.5", {}},
                  {u"abc", {}}, {u"2000", {}}, {u"1639", {}}, {u"", {}}};
    for (const auto& s : kSizes)
        EXPECT_EQ(KvFontSizeText::Parse(QString::fromUtf16(s.text)), s.size)
            << QString::fromUtf16(s.text).toStdString();
}

} // namespace
