#include "model/kvnewpagelayout.h"
#include "model/kvpagelayout.h"
#include "modelfixture.h"
#include "richtext/texrichdocument.h"

using namespace korvtest;

namespace {

class LayoutTest : public ModelFixture
{
protected:
    // Top folder -> A -> B; the top folder has a layout of its own.
    void SetUp() override
    {
        ModelFixture::SetUp();
        Fldr().WriteString(u"TopFolder"_qs, u"Font"_qs, u"Courier New,12,B,2,clRed,0"_qs);
        Fldr().WriteString(u"TopFolder"_qs, u"BgColor"_qs, u"clYellow"_qs);
        Fldr().WriteBool(u"TopFolder"_qs, u"WordWrap"_qs, false);
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        a = NewFolder(FldrId(1), top.get(), u"A"_qs);
        b = NewFolder(FldrId(2), a, u"B"_qs);
    }

    KvFolder* a = nullptr;
    KvFolder* b = nullptr;
};

TEST_F(LayoutTest, PageWithoutKeysShowsTheWindowColourAndWraps)
{
    KvPage* p = NewPage(PageId(1), top.get(), u"p"_qs);
    KvPageLayout* layout = p->GetLayout();
    EXPECT_EQ(layout->GetBgColor(), int(0x80000005u));
    EXPECT_TRUE(layout->GetWordWrap());
    EXPECT_FALSE(layout->IsModified());
}

TEST_F(LayoutTest, FolderWithoutFontInheritsFromTheNearestAncestor)
{
    KvNewPageLayout* lb = b->GetNewPageLayout();
    EXPECT_TRUE(lb->Inherited());
    EXPECT_EQ(lb->GetFont().font.family(), u"Courier New"_qs);
    EXPECT_TRUE(lb->GetFont().font.bold());
    EXPECT_EQ(lb->GetBgColor(), KvColor::clYellow);
    EXPECT_FALSE(lb->GetWordWrap());
    EXPECT_FALSE(top->GetNewPageLayout()->Inherited());

    lb->SetInherited(true); // marks the copied values changed
    EXPECT_TRUE(lb->IsModified());
    b->Store();
    for (const QString& key : {u"Font"_qs, u"BgColor"_qs, u"WordWrap"_qs, u"PageTempl"_qs})
        EXPECT_FALSE(Fldr().ValueExists(FldrId(2), key)) << key.toStdString();
}

TEST_F(LayoutTest, SwitchingInheritanceOffWritesTheCopiedValues)
{
    KvNewPageLayout* la = a->GetNewPageLayout();
    la->SetInherited(true);
    la->SetInherited(false);
    a->Store();
    EXPECT_EQ(Fldr().ReadString(FldrId(1), u"BgColor"_qs, QString()), u"clYellow"_qs);
    EXPECT_TRUE(Fldr()
                    .ReadString(FldrId(1), u"Font"_qs, QString())
                    .startsWith(u"Courier New,12,B,2,clRed"_qs));
    EXPECT_EQ(Fldr().ReadString(FldrId(1), u"WordWrap"_qs, QString()), u"0"_qs);

    a->ResetNewPageLayout();
    EXPECT_FALSE(a->GetNewPageLayout()->Inherited());
    b->ResetNewPageLayout();
    EXPECT_EQ(b->GetNewPageLayout()->GetBgColor(), KvColor::clYellow);
}

TEST_F(LayoutTest, OwnValuesEndInheritance)
{
    KvNewPageLayout* la = a->GetNewPageLayout();
    la->SetBgColor(KvColor::clWhite);
    EXPECT_FALSE(la->Inherited());
    a->Store();
    EXPECT_EQ(Fldr().ReadString(FldrId(1), u"BgColor"_qs, QString()), u"clWhite"_qs);
    b->ResetNewPageLayout();
    EXPECT_EQ(b->GetNewPageLayout()->GetBgColor(), KvColor::clWhite);
}

TEST_F(LayoutTest, TemplateOfAReferrerIsItsTarget)
{
    KvPage* target = NewPage(PageId(1), top.get(), u"Vorlage"_qs);
    target->Store();
    Obj().WriteString(PageId(2), u"Ref2"_qs, PageId(1));
    auto* referrer = new KvPage(PageId(2), top.get(), true);
    KvNewPageLayout* la = a->GetNewPageLayout();
    la->SetTemplatePage(referrer);
    ASSERT_NE(la->GetTemplatePage(), nullptr);
    EXPECT_EQ(la->GetTemplatePage()->Id(), PageId(1));
    a->Store();
    EXPECT_EQ(Fldr().ReadString(FldrId(1), u"PageTempl"_qs, QString()), PageId(1));
    la->SetTemplatePage(nullptr);
    a->Store();
    EXPECT_FALSE(Fldr().ValueExists(FldrId(1), u"PageTempl"_qs));
}

TEST_F(LayoutTest, StoredReferrerTemplateStandsForItsTarget)
{
    KvPage* target = NewPage(PageId(1), top.get(), u"Vorlage"_qs);
    target->Store();
    Obj().WriteString(PageId(2), u"Ref2"_qs, PageId(1));
    new KvPage(PageId(2), top.get(), true);
    Fldr().WriteString(FldrId(1), u"Font"_qs, u"Arial,10,,0,clWindowText,0"_qs);
    Fldr().WriteString(FldrId(1), u"PageTempl"_qs, PageId(2));
    a->ResetNewPageLayout();
    ASSERT_NE(a->GetNewPageLayout()->GetTemplatePage(), nullptr);
    EXPECT_EQ(a->GetNewPageLayout()->GetTemplatePage()->Id(), PageId(1));
    EXPECT_EQ(target->Referrers().size(), 1);
    target->Remove(); // its referrers go with it; the layout's stand-in is not one of them
    delete target;
    EXPECT_NE(a->GetNewPageLayout()->GetTemplatePage(), nullptr);
}

TEST_F(LayoutTest, TemplateForAVanishedPageCreatesNoSection)
{
    Fldr().WriteString(FldrId(1), u"Font"_qs, u"Arial,10,,0,clWindowText,0"_qs);
    Fldr().WriteString(FldrId(1), u"PageTempl"_qs, PageId(77));
    a->ResetNewPageLayout();
    EXPECT_NE(a->GetNewPageLayout()->GetTemplatePage(), nullptr);
    EXPECT_FALSE(Obj().SectionExists(PageId(77)));
}

TEST_F(LayoutTest, PageLayoutOfAReferrerUsesTheTargetsSection)
{
    KvPage* target = NewPage(PageId(1), top.get(), u"t"_qs);
    target->Store();
    Obj().WriteString(PageId(2), u"Ref2"_qs, PageId(1));
    auto* referrer = new KvPage(PageId(2), top.get(), true);
    EXPECT_EQ(referrer->GetLayout()->SectionName(), PageId(1));
    target->GetLayout()->SetBgColor(KvColor::clRed);
    target->Store();
    EXPECT_EQ(Page().ReadString(PageId(1), u"BgColor"_qs, QString()), u"clRed"_qs);
    EXPECT_FALSE(Page().ValueExists(PageId(1), u"WordWrap"_qs));
}

TEST_F(LayoutTest, ApplyToSetsOnlyTheChangedValues)
{
    KvPage* p = NewPage(PageId(1), top.get(), u"p"_qs);
    KvPageLayout* layout = p->GetLayout();
    TexRichDocument doc;
    doc.SetWordWrap(false);
    layout->SetBgColor(KvColor::clYellow);
    layout->ApplyTo(doc, true);
    EXPECT_EQ(doc.BackgroundColor(), QColor(255, 255, 0));
    EXPECT_FALSE(doc.WordWrap());
    layout->ApplyTo(doc, false);
    EXPECT_TRUE(doc.WordWrap());
}

} // namespace
