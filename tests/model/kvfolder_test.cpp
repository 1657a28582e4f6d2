#include "model/kvnotebookgenerator.h"
#include "modelfixture.h"

#include <QFile>

using namespace korvtest;

namespace {

constexpr int kAbsent = -1;

class FolderTest : public ModelFixture
{
protected:
    // Top folder -> A -> B, with PagesMultiLine / AutoSort values as given (kAbsent: none).
    void BuildChain(int topValue, int aValue, const QString& key)
    {
        Obj().WriteString(u"TopFolder"_qs, u"Name"_qs, u"Top"_qs);
        Obj().WriteString(u"TopFolder"_qs, u"Item0000001"_qs, FldrId(1));
        Obj().WriteString(FldrId(1), u"Name"_qs, u"A"_qs);
        Obj().WriteString(FldrId(1), u"Item0000001"_qs, FldrId(2));
        Obj().WriteString(FldrId(2), u"Name"_qs, u"B"_qs);
        if (topValue != kAbsent)
            Fldr().WriteInteger(u"TopFolder"_qs, key, topValue);
        if (aValue != kAbsent)
            Fldr().WriteInteger(FldrId(1), key, aValue);
        Build();
        a = static_cast<KvFolder*>(top->Children()[0]);
        b = static_cast<KvFolder*>(a->Children()[0]);
    }

    KvFolder* a = nullptr;
    KvFolder* b = nullptr;
};

struct TabModeCase
{
    int topValue;
    int aValue;
    quint8 expectTop;
    quint8 expectB;
    bool aInherited;
};

void PrintTo(const TabModeCase& c, std::ostream* os)
{
    *os << "top " << c.topValue << ", A " << c.aValue;
}

class TabModeTest : public FolderTest, public ::testing::WithParamInterface<TabModeCase>
{
};

TEST_P(TabModeTest, TabModeComesFromTheNearestFolderWithAValue)
{
    const TabModeCase& c = GetParam();
    BuildChain(c.topValue, c.aValue, u"PagesMultiLine"_qs);
    EXPECT_EQ(top->GetTabMode(), c.expectTop);
    EXPECT_FALSE(top->TabModeInherited());
    EXPECT_EQ(a->TabModeInherited(), c.aInherited);
    EXPECT_TRUE(b->TabModeInherited());
    EXPECT_EQ(b->GetTabMode(), c.expectB);
}

INSTANTIATE_TEST_SUITE_P(Chains, TabModeTest,
                         ::testing::Values(TabModeCase{kAbsent, kAbsent, 1, 1, true},
                                           TabModeCase{3, kAbsent, 3, 3, true},
                                           TabModeCase{3, 2, 3, 2, false},
                                           TabModeCase{1, 0, 1, 2, false}, // 0 reads as 2
                                           TabModeCase{0, kAbsent, 2, 2, true},
                                           TabModeCase{kAbsent, 3, 1, 3, false}));

TEST_F(FolderTest, StoringAnInheritingFolderDeletesItsTabModeKey)
{
    BuildChain(3, 2, u"PagesMultiLine"_qs);
    a->SetTabModeInherited(true);
    EXPECT_EQ(a->GetTabMode(), 3);
    a->Store();
    EXPECT_FALSE(Fldr().ValueExists(FldrId(1), u"PagesMultiLine"_qs));
    a->SetTabModeInherited(false);
    a->SetTabMode(KvFolder::NoTabs);
    a->Store();
    EXPECT_EQ(Fldr().ReadInteger(FldrId(1), u"PagesMultiLine"_qs, 0), 3);
    b->ReadTabMode();
    EXPECT_EQ(b->GetTabMode(), 3);
}

TEST_F(FolderTest, RootFolderAlwaysWritesItsSettings)
{
    BuildChain(kAbsent, kAbsent, u"PagesMultiLine"_qs);
    top->Store();
    EXPECT_EQ(Fldr().ReadInteger(u"TopFolder"_qs, u"PagesMultiLine"_qs, 0), 1);
    EXPECT_TRUE(Fldr().ValueExists(u"TopFolder"_qs, u"AutoSort"_qs));
    EXPECT_TRUE(Fldr().ValueExists(u"TopFolder"_qs, u"NewElemsFirst"_qs));
    EXPECT_EQ(Fldr().ReadInteger(u"TopFolder"_qs, u"Status"_qs, -1), 0);
}

TEST_F(FolderTest, SortSettingsAreInheritedTogether)
{
    BuildChain(1, kAbsent, u"AutoSort"_qs);
    Fldr().WriteBool(u"TopFolder"_qs, u"NewElemsFirst"_qs, true);
    top->ReadSortSettings();
    b->ReadSortSettings();
    EXPECT_TRUE(b->SortInherited());
    EXPECT_TRUE(b->GetAutoSort());
    EXPECT_TRUE(b->GetNewElemsFirst());

    b->SetSortInherited(false);
    b->SetAutoSort(false);
    b->Store();
    EXPECT_TRUE(Fldr().ValueExists(FldrId(2), u"AutoSort"_qs));
    EXPECT_TRUE(Fldr().ValueExists(FldrId(2), u"NewElemsFirst"_qs));
    b->SetSortInherited(true);
    EXPECT_TRUE(b->GetAutoSort());
    b->Store();
    EXPECT_FALSE(Fldr().ValueExists(FldrId(2), u"AutoSort"_qs));
    EXPECT_FALSE(Fldr().ValueExists(FldrId(2), u"NewElemsFirst"_qs));
}

TEST_F(FolderTest, NewFolderWithoutNameGetsTheDefaultAndIsStoredAtOnce)
{
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    trash = std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
    auto* f = new KvFolder(FldrId(7), top.get(), KvFolder::NormalFolder, true);
    EXPECT_EQ(f->Name(), u"*unbenannt*"_qs);
    EXPECT_EQ(top->Name(), u"Ordner"_qs);
    EXPECT_EQ(trash->Name(), u"Papierkorb"_qs);
    EXPECT_EQ(Obj().ReadString(FldrId(7), u"Name"_qs, QString()), u"*unbenannt*"_qs);
    EXPECT_EQ(Obj().ReadString(u"TrashFolder"_qs, u"Name"_qs, QString()), u"Papierkorb"_qs);
}

TEST_F(FolderTest, ActivePageFallsBackToTheFirstPageAndIsClearedOnRemoval)
{
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvFolder* f = NewFolder(FldrId(1), top.get(), u"F"_qs);
    EXPECT_EQ(f->GetActivePage(), nullptr);
    NewFolder(FldrId(2), f, u"sub"_qs);
    KvPage* p1 = NewPage(PageId(1), f, u"p1"_qs);
    KvPage* p2 = NewPage(PageId(2), f, u"p2"_qs);
    EXPECT_EQ(f->GetActivePage(), p1);
    f->SetActivePage(p2);
    EXPECT_EQ(f->GetActivePage(), p2);
    f->Store();
    EXPECT_EQ(Fldr().ReadString(FldrId(1), u"ActPage"_qs, QString()), PageId(2));
    p2->Remove();
    delete p2;
    EXPECT_TRUE(f->ActivePageId().isEmpty());
    EXPECT_EQ(f->GetActivePage(), p1);
    EXPECT_TRUE(f->HasPages());
    EXPECT_TRUE(f->HasSubfolders());
}

TEST_F(FolderTest, EmptyingTheTrashRemovesEverythingInItButTheTrash)
{
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    trash = std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
    KvFolder* f = NewFolder(FldrId(1), trash.get(), u"F"_qs);
    KvPage* p = NewPage(PageId(1), f, u"p"_qs);
    NewPage(PageId(2), trash.get(), u"q"_qs);
    f->SetStatus(3);
    f->Store();
    p->Store();
    trash->Store();
    WriteAll(Dir() + PageId(1) + u".kvp"_qs, "{\\rtf1 x}");
    WriteAll(Dir() + PageId(2) + u".kvp"_qs, "{\\rtf1 y}");

    trash->Remove();
    EXPECT_FALSE(trash->IsRemoved());
    EXPECT_EQ(trash->ChildCount(), 0);
    EXPECT_FALSE(QFile::exists(Dir() + PageId(1) + u".kvp"_qs));
    EXPECT_FALSE(QFile::exists(Dir() + PageId(2) + u".kvp"_qs));
    EXPECT_FALSE(Obj().SectionExists(FldrId(1)));
    EXPECT_FALSE(Obj().SectionExists(PageId(1)));
    EXPECT_FALSE(Fldr().SectionExists(FldrId(1)));
    EXPECT_EQ(FindObject(PageId(1)), nullptr);
}

// A folder removed with a referrer and its target below it leaves no section of its id in
// any store, so that a new folder with the same id starts clean.
struct ReferrerRemovalCase
{
    const char* name;
    bool referrerFirst;       // the referrer is listed before its target, which goes first
    bool referrerInSubfolder; // the referrer sits in a folder below the removed one
    bool targetOutside;       // the target is outside the removed folder
};

class FolderReferrerRemoval : public FolderTest,
                              public ::testing::WithParamInterface<ReferrerRemovalCase>
{
};

TEST_P(FolderReferrerRemoval, LeavesNoSectionOfTheFolder)
{
    const ReferrerRemovalCase& c = GetParam();
    Build();
    KvFolder* f = NewFolder(FldrId(1), top.get(), u"F"_qs);
    KvFolder* sub = NewFolder(FldrId(2), f, u"Unterordner"_qs);
    KvFolder* targetFolder = c.targetOutside ? top.get() : f;
    KvFolder* referrerFolder = c.referrerInSubfolder ? sub : f;
    auto addReferrer = [&] {
        Obj().WriteString(PageId(2), u"Ref2"_qs, PageId(1));
        new KvPage(PageId(2), referrerFolder, true);
    };
    if (c.referrerFirst)
        Obj().WriteString(PageId(1), u"Name"_qs, u"Ziel"_qs);
    KvPage* target = nullptr;
    if (c.referrerFirst) {
        target = new KvPage(PageId(1), nullptr, true); // registered before the referrer
        addReferrer();
        target->SetParent(targetFolder, true);
    } else {
        target = NewPage(PageId(1), targetFolder, u"Ziel"_qs);
        addReferrer();
    }
    ASSERT_EQ(static_cast<KvPage*>(FindObject(PageId(2)))->Target(), target);
    f->SetStatus(5);
    f->SetTabModeInherited(false);
    f->SetTabMode(KvFolder::NoTabs);
    f->SetSortInherited(false);
    f->SetAutoSort(true);
    f->SetActivePage(target);
    f->SetKeywords(u"Plan"_qs);
    for (KvObject* obj : CollectDescendants(top.get()))
        obj->Store();
    top->Store();
    ASSERT_TRUE(Fldr().SectionExists(FldrId(1)));
    ASSERT_TRUE(Kwd().SectionExists(FldrId(1)));

    f->Remove();
    delete f;
    top->Store();
    for (TexIniFile* store : {&Obj(), &Fldr(), &Page(), &Kwd()}) {
        for (const QString& id : {FldrId(1), FldrId(2), PageId(2)})
            EXPECT_FALSE(store->SectionExists(id)) << id.toStdString();
    }
    EXPECT_EQ(Obj().SectionExists(PageId(1)), c.targetOutside);
    ReopenStores();
    for (TexIniFile* store : {&Obj(), &Fldr(), &Page(), &Kwd()})
        EXPECT_FALSE(store->SectionExists(FldrId(1))) << "after a flush";

    KvFolder* again = NewFolder(FldrId(1), top.get(), u"Neu"_qs);
    EXPECT_EQ(again->GetStatus(), 0);
    EXPECT_TRUE(again->TabModeInherited());
    EXPECT_TRUE(again->SortInherited());
    EXPECT_TRUE(again->ActivePageId().isEmpty());
    EXPECT_TRUE(again->GetKeywords().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FolderReferrerRemoval,
    ::testing::Values(ReferrerRemovalCase{"ReferrerRemovedFirst", false, false, false},
                      ReferrerRemovalCase{"TargetRemovedFirst", true, false, false},
                      ReferrerRemovalCase{"ReferrerInSubfolder", false, true, false},
                      ReferrerRemovalCase{"TargetOutside", false, false, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FolderTest, RemoveOnTheTopFolderDoesNothing)
{
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    NewPage(PageId(1), top.get(), u"p"_qs);
    top->Remove();
    EXPECT_FALSE(top->IsRemoved());
    EXPECT_EQ(top->ChildCount(), 1);
}

TEST_F(FolderTest, WritableFlagReachesEveryPageAndFolderBelow)
{
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvFolder* f = NewFolder(FldrId(1), top.get(), u"F"_qs);
    KvPage* p = NewPage(PageId(1), f, u"p"_qs);
    p->SetWriteProtect(true);
    EXPECT_TRUE(top->ContainsWriteProtectedPage());
    top->SetWritable(false);
    EXPECT_FALSE(f->GetWritable());
    EXPECT_FALSE(p->GetWritable());
}

TEST_F(FolderTest, TenThousandChildrenBuildAndStore)
{
    KvGeneratorOptions o;
    o.elements = 10000;
    o.flat = true;
    o.trashPercent = 0;
    o.referrerPercent = 0;
    o.writePageFiles = false;
    const KvGeneratedNotebook nb = KvNotebookGenerator::Generate(Dir(), o);
    ReopenStores();
    Build();
    ASSERT_EQ(top->ChildCount(), 10000);
    top->Store();
    EXPECT_EQ(top->ContinuationSections().size(), 49);
    EXPECT_EQ(Obj().ReadString(top->ContinuationSections().last(), u"Item0010000"_qs, QString()),
              nb.pageIds.last());
}

} // namespace
