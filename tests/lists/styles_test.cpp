// Text styles on their store: the keys and forms written, taking and applying by the flags,
// the window background as none, the list's order, renaming, deleting and a removed style.
#include "lists/kvstyle.h"
#include "lists/kvstyles.h"
#include "richtext/texrichdocument.h"
#include "store/texinifile.h"
#include "support/testenv.h"

#include <QTextBlock>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

class Styles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        base = env.Dir(u"settings"_qs) + u"Styles"_qs;
        store = std::make_unique<TexIniFile>(base, 40, false);
        KvFontSpec layout;
        layout.font = QFont(u"Arial"_qs, 10);
        doc.SetLayoutFont(layout);
        doc.SetBackgroundColor(Qt::white);
        doc.LoadPlainText(u"eins zwei\ndrei"_qs);
    }
    KvStyle::Store Store()
    {
        return [this]() -> TexIniFile& { return *store; };
    }
    QStringList Section(const QString& section)
    {
        TexIniFile fresh(base, 40, false);
        return fresh.ReadSectionValues(section);
    }

    korvtest::SandboxEnv env;
    QString base;
    std::unique_ptr<TexIniFile> store;
    TexRichDocument doc;
};

TEST_F(Styles, TheKeysInTheirOrderAndForm)
{
    doc.SetSelection(0, 4);
    KvCharAttributes a;
    a.name = u"Courier New"_qs;
    a.size = 12;
    a.bold = a.italic = true;
    a.color = KvColor::clRed;
    a.background = KvColor::clYellow;
    a.charset = 0;
    a.pitch = 2;
    KvParaAttributes p;
    p.startIndent = 720;
    p.offset = -360;
    p.alignment = KvParaAttributes::Centre;
    p.lineSpacingRule = KvParaAttributes::Lines;
    p.lineSpacing = 30;
    p.numbering = KvParaAttributes::Arabic;
    p.numberingStyle = KvParaAttributes::Parentheses;
    doc.ApplyAttributes(a, KvCharAttributes::All, p, KvParaAttributes::AllFields);
    KvStyles styles(Store());
    ASSERT_NE(styles.Create(u"Alles"_qs, doc, KvColor::clWindow, true, true), nullptr);
    EXPECT_EQ(styles.SectionOf(u"Alles"_qs), u"Styl0000001"_qs);
    EXPECT_EQ(Section(u"Styl0000001"_qs),
              (QStringList{u"Descr=Alles"_qs, u"TextA=1"_qs, u"ParaA=1"_qs,
                           u"Font=Courier New,12,BI,2,clRed,0"_qs, u"BgColor=clYellow"_qs,
                           u"StartIndent=720"_qs, u"Offset=-360"_qs, u"RightIndent=0"_qs,
                           u"SpaceBefore=0"_qs, u"SpaceAfter=0"_qs, u"Alignment=2"_qs,
                           u"LineSpacingRule=5"_qs, u"LineSpacing=30"_qs, u"NumberingStyle=256"_qs,
                           u"Numbering=2"_qs}));
    // Read again: the same attributes.
    KvStyles again(Store());
    const KvStyle* read = again.Find(u"Alles"_qs);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Chars(), styles.Find(u"Alles"_qs)->Chars());
    EXPECT_EQ(read->Para(), styles.Find(u"Alles"_qs)->Para());
    EXPECT_EQ(read->Kind(), 2);
}

TEST_F(Styles, TextOnlyLeavesParagraphsAndStoresNoParagraphKeys)
{
    doc.SetSelection(0, 4);
    KvCharAttributes bold;
    bold.bold = true;
    doc.ApplyAttributes(bold, KvCharAttributes::Bold, {}, 0);
    KvStyles styles(Store());
    styles.Create(u"Fett"_qs, doc, KvColor::clWindow, true, false);
    for (const QString& line : Section(u"Styl0000001"_qs))
        EXPECT_FALSE(line.startsWith(u"StartIndent") || line.startsWith(u"Alignment"))
            << line.toStdString();
    doc.SetSelection(10, 4);
    KvParaAttributes centred;
    centred.alignment = KvParaAttributes::Centre;
    doc.SetSelectionParagraph(centred);
    ASSERT_TRUE(styles.Apply(u"Fett"_qs, doc));
    EXPECT_TRUE(doc.SelectionCharAttributes().bold);
    EXPECT_EQ(doc.SelectionParagraph().alignment, KvParaAttributes::Centre);
}

TEST_F(Styles, ThePageBackgroundIsStoredAsTheWindowColour)
{
    doc.SetSelection(0, 4);
    KvCharAttributes white;
    white.background = KvColor::clWhite;
    doc.ApplyAttributes(white, KvCharAttributes::Background, {}, 0);
    KvStyles styles(Store());
    styles.Create(u"Weiss"_qs, doc, KvColor::clWhite, true, false);
    EXPECT_TRUE(Section(u"Styl0000001"_qs).contains(u"BgColor=clWindow"_qs));
    // Applied, the window colour removes a background instead of painting one.
    doc.SetSelection(5, 4);
    KvCharAttributes yellow;
    yellow.background = KvColor::clYellow;
    doc.ApplyAttributes(yellow, KvCharAttributes::Background, {}, 0);
    styles.Apply(u"Weiss"_qs, doc);
    EXPECT_EQ(doc.SelectionCharAttributes().background, KvColor::clWindow);
    EXPECT_FALSE(doc.SaveRtf().contains("\\red255\\green255\\blue0;")) << "no yellow left";
}

TEST_F(Styles, TheListsOrder)
{
    KvStyles styles(Store());
    for (const QString& name : {u"apfel"_qs, u"Birne"_qs, u"Äpfel"_qs, u"Straße"_qs, u"STRASSE"_qs})
        styles.Create(name, doc, KvColor::clWindow, true, false);
    QStringList order;
    for (const KvStyles::Entry& e : styles.List())
        order << e.name;
    EXPECT_EQ(order,
              (QStringList{u"Äpfel"_qs, u"apfel"_qs, u"Birne"_qs, u"STRASSE"_qs, u"Straße"_qs}));
    EXPECT_TRUE(KvStyles::SortKey(u"Äpfel"_qs).startsWith(u"AEPFEL"_qs));
}

TEST_F(Styles, RenameDeleteAndTheRemovedStyle)
{
    KvStyles styles(Store());
    KvStyle* one = styles.Create(u"Eins"_qs, doc, KvColor::clWindow, false, true);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->Kind(), 1);
    EXPECT_EQ(styles.Create(u"Eins"_qs, doc, KvColor::clWindow, true, false), nullptr)
        << "a name is taken once";
    EXPECT_TRUE(styles.NameExists(u"Eins"_qs));
    ASSERT_TRUE(styles.Rename(u"Eins"_qs, u"Zwei"_qs));
    EXPECT_FALSE(styles.NameExists(u"Eins"_qs));
    EXPECT_TRUE(Section(u"Styl0000001"_qs).contains(u"Descr=Zwei"_qs));
    EXPECT_FALSE(styles.Rename(u"Eins"_qs, u"Drei"_qs));

    KvStyle style(Store(), u"Styl0000001"_qs);
    EXPECT_EQ(style.Name(), u"Zwei"_qs);
    style.Remove();
    EXPECT_TRUE(Section(u"Styl0000001"_qs).isEmpty());
    try {
        style.SetName(u"x"_qs);
        FAIL() << "a removed style refuses";
    } catch (const KvStyle::EObjectRemoved& e) {
        EXPECT_EQ(e.Message(),
                  u"Textformat 'Zwei' wurde bereits entfernt, Operation nicht möglich."_qs);
    }
    EXPECT_THROW(style.Save(), KvStyle::EObjectRemoved);
    EXPECT_THROW(style.ApplyTo(doc), KvStyle::EObjectRemoved);
}

TEST_F(Styles, LoadingTakesTheLaterOfTwoWithOneNameAndDefaults)
{
    store->WriteString(u"Styl0000001"_qs, u"Descr"_qs, u"Doppelt"_qs);
    store->WriteString(u"Styl0000001"_qs, u"Font"_qs, u"Arial,8,,0,clWindowText,0"_qs);
    store->WriteString(u"Styl0000002"_qs, u"Descr"_qs, u"Doppelt"_qs);
    store->WriteString(u"Styl0000002"_qs, u"Font"_qs, u"Arial,20,,0,clWindowText,0"_qs);
    store->WriteString(u"Styl0000003"_qs, u"ParaA"_qs, u"1"_qs);
    store->UpdateFile();
    KvStyles styles(Store());
    ASSERT_EQ(styles.List().size(), 2);
    EXPECT_EQ(styles.Find(u"Doppelt"_qs)->Chars().size, 20);
    EXPECT_EQ(styles.Find(u"Doppelt"_qs)->Chars().background, KvColor::clWindow);
    const KvStyle* unnamed = styles.Find(u"*unbenannt*"_qs);
    ASSERT_NE(unnamed, nullptr) << "no Descr: 5800";
    EXPECT_EQ(unnamed->Kind(), 2) << "TextA defaults to true";
    // A new style takes the first free section.
    EXPECT_EQ(styles.Create(u"Neu"_qs, doc, KvColor::clWindow, true, false)->Section(),
              u"Styl0000004"_qs);
}

} // namespace
