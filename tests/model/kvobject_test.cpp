#include "modelfixture.h"

#include <functional>

using namespace korvtest;

namespace {

class ObjectTest : public ModelFixture
{
protected:
    // A top folder with n pages named "P<i>", stored.
    void BuildPages(int n)
    {
        for (int i = 1; i <= n; ++i)
            Obj().WriteString(PageId(i), u"Name"_qs, u"P"_qs + QString::number(i));
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        for (int i = 1; i <= n; ++i)
            new KvPage(PageId(i), top.get(), true);
        top->Store();
    }
};

struct ContinuationCase
{
    int children;
    QStringList sections; // TopFolder, then the continuation sections, in order
    QList<int> lastItem;  // number of the last item key in each section
};

void PrintTo(const ContinuationCase& c, std::ostream* os)
{
    *os << c.children << " children";
}

class ContinuationTest : public ObjectTest, public ::testing::WithParamInterface<ContinuationCase>
{
};

TEST_P(ContinuationTest, ChildListIsSplitIntoSectionsOf200AndReadBackInOrder)
{
    const ContinuationCase& c = GetParam();
    BuildPages(c.children);

    int item = 0;
    for (int s = 0; s < c.sections.size(); ++s) {
        const QString& section = c.sections[s];
        const QStringList keys = Obj().ReadSection(section);
        for (const QString& key : keys) {
            if (!key.startsWith(u"Item"_qs))
                continue;
            ++item;
            EXPECT_EQ(key, u"Item"_qs + QString::number(item).rightJustified(7, u'0'));
            EXPECT_EQ(Obj().ReadString(section, key, QString()), PageId(item));
        }
        EXPECT_EQ(item, c.lastItem[s]) << section.toStdString();
        const bool last = s + 1 == c.sections.size();
        EXPECT_EQ(Obj().ValueExists(section, u"Continuation"_qs), !last) << section.toStdString();
        if (!last)
            EXPECT_EQ(Obj().ReadString(section, u"Continuation"_qs, QString()), c.sections[s + 1]);
    }
    EXPECT_EQ(item, c.children);

    DestroyModel();
    ReopenStores();
    Build();
    ASSERT_EQ(top->ChildCount(), c.children);
    for (int i = 0; i < c.children; ++i)
        ASSERT_EQ(top->Children()[i]->Id(), PageId(i + 1));
    EXPECT_EQ(top->ContinuationSections(), c.sections.mid(1));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ContinuationTest,
    ::testing::Values(ContinuationCase{1, {u"TopFolder"_qs}, {1}},
                      ContinuationCase{200, {u"TopFolder"_qs}, {200}},
                      ContinuationCase{201, {u"TopFolder"_qs, u"Ext0000001"_qs}, {200, 201}},
                      ContinuationCase{450,
                                       {u"TopFolder"_qs, u"Ext0000001"_qs, u"Ext0000002"_qs},
                                       {200, 400, 450}}));

TEST_F(ObjectTest, StoringAgainErasesOldContinuationsAndReusesTheirNames)
{
    BuildPages(450);
    top->Store();
    top->Store();
    const QStringList sections = Obj().ReadSections();
    EXPECT_TRUE(sections.contains(u"Ext0000001"_qs));
    EXPECT_TRUE(sections.contains(u"Ext0000002"_qs));
    EXPECT_FALSE(sections.contains(u"Ext0000003"_qs));
    EXPECT_EQ(top->ContinuationSections(), (QStringList{u"Ext0000001"_qs, u"Ext0000002"_qs}));
}

TEST_F(ObjectTest, BrokenContinuationChainsEndTheList)
{
    Obj().WriteString(u"TopFolder"_qs, u"Name"_qs, u"Top"_qs);
    Obj().WriteString(u"TopFolder"_qs, u"Item0000001"_qs, PageId(1));
    Obj().WriteString(u"TopFolder"_qs, u"Continuation"_qs, u"Ext0000001"_qs);
    Obj().WriteString(u"Ext0000001"_qs, u"Item0000002"_qs, PageId(2));
    Obj().WriteString(u"Ext0000001"_qs, u"Continuation"_qs, u"TopFolder"_qs); // a cycle
    Obj().WriteString(PageId(1), u"Name"_qs, u"a"_qs);
    Obj().WriteString(PageId(2), u"Name"_qs, u"b"_qs);
    Build();
    ASSERT_EQ(top->ChildCount(), 2);
}

TEST_F(ObjectTest, FolderListingItselfOrAnAncestorIsNotBuiltAgain)
{
    Obj().WriteString(u"TopFolder"_qs, u"Name"_qs, u"Top"_qs);
    Obj().WriteString(u"TopFolder"_qs, u"Item0000001"_qs, FldrId(1));
    Obj().WriteString(FldrId(1), u"Name"_qs, u"F"_qs);
    Obj().WriteString(FldrId(1), u"Item0000001"_qs, FldrId(1));
    Obj().WriteString(FldrId(1), u"Item0000002"_qs, u"TopFolder"_qs);
    Obj().WriteString(FldrId(1), u"Item0000003"_qs, PageId(1));
    Obj().WriteString(FldrId(1), u"Item0000004"_qs, PageId(1));
    Obj().WriteString(PageId(1), u"Name"_qs, u"p"_qs);
    Build();
    ASSERT_EQ(top->ChildCount(), 1);
    EXPECT_EQ(top->Children()[0]->ChildCount(), 1); // the page, once
}

TEST_F(ObjectTest, LoadChildrenOfKindTakesOnlyThatKind)
{
    Obj().WriteString(u"TopFolder"_qs, u"Name"_qs, u"Top"_qs);
    Obj().WriteString(u"TopFolder"_qs, u"Item0000001"_qs, PageId(1));
    Obj().WriteString(u"TopFolder"_qs, u"Item0000002"_qs, FldrId(1));
    Obj().WriteString(u"TopFolder"_qs, u"Item0000003"_qs, u"Other01"_qs);
    Obj().WriteString(FldrId(1), u"Name"_qs, u"F"_qs);
    Obj().WriteString(FldrId(1), u"Item0000001"_qs, PageId(2));
    Obj().WriteString(FldrId(1), u"Item0000002"_qs, FldrId(2));
    Obj().WriteString(FldrId(2), u"Name"_qs, u"G"_qs);
    Obj().WriteString(PageId(1), u"Name"_qs, u"p"_qs);
    Obj().WriteString(PageId(2), u"Name"_qs, u"q"_qs);
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    top->LoadChildrenOfKind(u"Fldr"_qs);
    ASSERT_EQ(top->ChildCount(), 1);
    EXPECT_EQ(top->Children()[0]->Id(), FldrId(1));
    ASSERT_EQ(top->Children()[0]->ChildCount(), 1);
    EXPECT_EQ(top->Children()[0]->Children()[0]->Id(), FldrId(2));

    // One notebook lives at a time: an element already built under a folder is not built
    // a second time.
    top.reset();
    auto all = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    all->LoadChildren();
    EXPECT_EQ(all->ChildCount(), 2); // "Other01" is neither page nor folder
}

TEST_F(ObjectTest, SecondObjectWithSameIdIsNotRegistered)
{
    Obj().WriteString(PageId(1), u"Name"_qs, u"one"_qs);
    auto first = std::make_unique<KvPage>(PageId(1), nullptr, true);
    auto second = std::make_unique<KvPage>(PageId(1), nullptr, true);
    EXPECT_EQ(FindObject(PageId(1)), first.get());
    second.reset();
    EXPECT_EQ(FindObject(PageId(1)), first.get());
    first.reset();
    EXPECT_EQ(FindObject(PageId(1)), nullptr);
}

class ReferrerTest : public ObjectTest
{
protected:
    void SetUp() override
    {
        ObjectTest::SetUp();
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        folder = NewFolder(FldrId(1), top.get(), u"F"_qs);
        target = NewPage(PageId(1), folder, u"Target"_qs);
        target->Store();
        for (int i = 2; i <= 3; ++i) {
            Obj().WriteString(PageId(i), u"Ref2"_qs, PageId(1));
            referrers.append(new KvPage(PageId(i), top.get(), true));
        }
        top->Store();
        folder->Store();
    }

    KvFolder* folder = nullptr;
    KvPage* target = nullptr;
    QList<KvPage*> referrers;
};

TEST_F(ReferrerTest, ReferrerShowsTargetNameAndWritesOnlyRef2)
{
    for (KvPage* r : referrers) {
        EXPECT_EQ(r->Name(), u"Target"_qs);
        EXPECT_EQ(r->Target(), target);
        r->Store();
        EXPECT_EQ(Obj().ReadSection(r->Id()), QStringList{u"Ref2"_qs});
    }
    EXPECT_EQ(target->Referrers().size(), 2);
}

TEST_F(ReferrerTest, RenamingAnyMemberRenamesTheGroup)
{
    referrers[0]->SetName(u"Renamed"_qs);
    EXPECT_EQ(target->Name(), u"Renamed"_qs);
    EXPECT_EQ(referrers[1]->Name(), u"Renamed"_qs);
    target->SetName(u"Again"_qs);
    EXPECT_EQ(referrers[0]->Name(), u"Again"_qs);
    EXPECT_EQ(referrers[1]->Name(), u"Again"_qs);
}

TEST_F(ReferrerTest, StoringAReferrerStoresTheTarget)
{
    referrers[1]->SetName(u"Stored name"_qs);
    referrers[1]->Store();
    EXPECT_EQ(Obj().ReadString(PageId(1), u"Name"_qs, QString()), u"Stored name"_qs);
    EXPECT_EQ(Obj().ReadSection(PageId(2)), QStringList{u"Ref2"_qs});
}

TEST_F(ReferrerTest, RemovingTheTargetRemovesAllReferrersAndTheirSections)
{
    target->Remove();
    EXPECT_TRUE(target->IsRemoved());
    EXPECT_EQ(top->ChildCount(), 1); // only the folder is left
    EXPECT_FALSE(Obj().SectionExists(PageId(1)));
    EXPECT_FALSE(Obj().SectionExists(PageId(2)));
    EXPECT_FALSE(Obj().SectionExists(PageId(3)));
    EXPECT_EQ(FindObject(PageId(2)), nullptr);
    EXPECT_EQ(FindObject(PageId(3)), nullptr);
    delete target; // removed objects belong to whoever removed them
    folder->Store();

    // The referrers' folder no longer lists them: they do not come back.
    DestroyModel();
    ReopenStores();
    Build();
    EXPECT_EQ(top->ChildCount(), 1);
    EXPECT_EQ(FindObject(PageId(2)), nullptr);
}

TEST_F(ReferrerTest, DestroyingTheTargetUnbindsReferrers)
{
    folder->Detach();
    delete folder;
    EXPECT_EQ(referrers[0]->Target(), nullptr);
    EXPECT_EQ(referrers[0]->Name(), u"Target"_qs);
}

TEST_F(ReferrerTest, ReferrerKeywordsAreTheTargets)
{
    referrers[0]->SetKeywords(u"Alpha;Beta"_qs);
    EXPECT_EQ(target->GetKeywords(), u"Alpha;Beta"_qs);
    target->Store();
    EXPECT_EQ(Kwd().ReadString(PageId(1), u"Kwds"_qs, QString()), u"Alpha;Beta"_qs);
    EXPECT_FALSE(Kwd().SectionExists(PageId(2)));
}

struct HandlerCase
{
    KvObject::NotifyKind kind;
    bool onTarget; // PassToTarget on the referrer instead of OnTargetNotify
    bool stillBound;
    bool ref2Kept;
};

void PrintTo(const HandlerCase& c, std::ostream* os)
{
    *os << (c.onTarget ? "PassToTarget " : "OnTargetNotify ") << int(c.kind);
}

class HandlerTest : public ReferrerTest, public ::testing::WithParamInterface<HandlerCase>
{
};

TEST_P(HandlerTest, HandlersBindAndUnbindAsTheKindSays)
{
    const HandlerCase& c = GetParam();
    KvPage* r = referrers[0];
    if (c.onTarget)
        r->PassToTarget(c.kind);
    else
        r->OnTargetNotify(c.kind);
    EXPECT_EQ(r->Target() != nullptr, c.stillBound);
    EXPECT_EQ(r->Ref2().isEmpty(), !c.ref2Kept);
    EXPECT_EQ(target->Referrers().contains(r), c.stillBound);
}

INSTANTIATE_TEST_SUITE_P(Kinds, HandlerTest,
                         ::testing::Values(HandlerCase{KvObject::NameChanged, false, true, true},
                                           HandlerCase{KvObject::Stored, false, true, true},
                                           HandlerCase{KvObject::Destroyed, false, false, true},
                                           HandlerCase{KvObject::Removed, false, false, false},
                                           HandlerCase{KvObject::NameChanged, true, true, true},
                                           HandlerCase{KvObject::Stored, true, true, true},
                                           HandlerCase{KvObject::Destroyed, true, false, false},
                                           HandlerCase{KvObject::Removed, true, false, false}));

TEST_F(ReferrerTest, UnboundReferrerBindsAgainOnNextUse)
{
    KvPage* r = referrers[0];
    r->OnTargetNotify(KvObject::Destroyed);
    EXPECT_EQ(r->Target(), nullptr);
    r->SetName(u"wieder"_qs);
    EXPECT_EQ(r->Target(), target);
    EXPECT_EQ(target->Name(), u"wieder"_qs);
}

TEST_F(ReferrerTest, ReferrerCycleDoesNotRecurse)
{
    auto a = std::make_unique<KvPage>(PageId(8), nullptr, true);
    Obj().WriteString(PageId(9), u"Ref2"_qs, PageId(8));
    auto b = std::make_unique<KvPage>(PageId(9), nullptr, true);
    // Make a point at b as well: a chain that leads back to itself.
    Obj().WriteString(PageId(8), u"Ref2"_qs, PageId(9));
    auto a2 = std::make_unique<KvPage>(PageId(8), nullptr, true);
    a2->ResolveTarget();
    b->SetName(u"x"_qs);
    a2->SetName(u"y"_qs);
    SUCCEED();
}

struct KeywordCase
{
    QString list;
    QString word;
    bool added;
    QString after;
};

void PrintTo(const KeywordCase& c, std::ostream* os)
{
    *os << '"' << c.list.toStdString() << "\" + \"" << c.word.toStdString() << '"';
}

class KeywordTest : public ObjectTest, public ::testing::WithParamInterface<KeywordCase>
{
};

TEST_P(KeywordTest, AddKeywordAddsOnlyMissingWholeWords)
{
    const KeywordCase& c = GetParam();
    auto page = std::make_unique<KvPage>(PageId(1), nullptr, true);
    page->SetKeywords(c.list);
    EXPECT_EQ(page->AddKeyword(c.word), c.added);
    EXPECT_EQ(page->GetKeywords(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Words, KeywordTest,
    ::testing::Values(KeywordCase{u"plan;Idee"_qs, u"Plan "_qs, false, u"plan;Idee"_qs},
                      KeywordCase{u"Planung"_qs, u"Plan "_qs, true, u"Planung;Plan"_qs},
                      KeywordCase{QString(), u"Plan"_qs, true, u"Plan"_qs},
                      KeywordCase{u"a;"_qs, u"b"_qs, true, u"a;b"_qs},
                      KeywordCase{u"rot grün"_qs, u"GRÜN"_qs, false, u"rot grün"_qs},
                      KeywordCase{u"x"_qs, QString(), false, u"x"_qs}));

TEST_F(ObjectTest, KeywordListIsLimitedTo1000Characters)
{
    auto page = std::make_unique<KvPage>(PageId(1), nullptr, true);
    const QString list = QString(995, u'a');
    page->SetKeywords(list);
    EXPECT_TRUE(page->AddKeyword(u"bcde"_qs)); // 995 + 4 = 999
    EXPECT_EQ(page->GetKeywords().size(), 1000);
    EXPECT_FALSE(page->AddKeyword(u"x"_qs)); // 1000 + 1 > 1000
    EXPECT_EQ(page->GetKeywords().size(), 1000);
}

TEST_F(ObjectTest, EmptyKeywordListErasesTheSection)
{
    auto page = std::make_unique<KvPage>(PageId(1), nullptr, true);
    page->SetKeywords(u"k"_qs);
    page->StoreKeywords();
    EXPECT_TRUE(Kwd().SectionExists(PageId(1)));
    page->SetKeywords(QString());
    page->StoreKeywords();
    EXPECT_FALSE(Kwd().SectionExists(PageId(1)));
}

TEST_F(ObjectTest, MoveUpAndDownSwapSiblings)
{
    BuildPages(3);
    KvObject* second = top->Children()[1];
    second->MoveUp();
    EXPECT_EQ(top->Children()[0], second);
    EXPECT_EQ(second->IndexInParent(), 1);
    second->MoveDown();
    EXPECT_EQ(second->IndexInParent(), 2);
    top->Children()[2]->MoveDown(); // last: nothing
    EXPECT_EQ(top->Children()[2]->Id(), PageId(3));
}

TEST_F(ObjectTest, PathTextAndAncestors)
{
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvFolder* a = NewFolder(FldrId(1), top.get(), u"A"_qs);
    KvPage* p = NewPage(PageId(1), a, u"P"_qs);
    EXPECT_EQ(p->PathText(true, u"\\"_qs), top->Name() + u"\\A\\P"_qs);
    EXPECT_EQ(p->PathText(false, u"/"_qs), top->Name() + u"/A"_qs);
    EXPECT_TRUE(p->HasAncestor(top.get()));
    EXPECT_FALSE(a->HasAncestor(p));
    EXPECT_EQ(CollectDescendants(top.get()), (QList<KvObject*>{a, p}));
}

TEST_F(ObjectTest, UnreferencedSectionsAreThoseNoListNames)
{
    BuildPages(250);
    Obj().WriteString(PageId(999), u"Name"_qs, u"lost"_qs);
    Obj().UpdateFile();
    QStringList lost = FindUnreferencedSections(Obj());
    lost.sort();
    EXPECT_EQ(lost, (QStringList{PageId(999), u"TopFolder"_qs}));
}

TEST_F(ObjectTest, EmptyNamedFolderKeepsItsStoredChildren)
{
    Obj().WriteString(u"TopFolder"_qs, u"Name"_qs, u"Top"_qs);
    Obj().WriteString(u"TopFolder"_qs, u"Item0000001"_qs, FldrId(1));
    Obj().WriteString(FldrId(1), u"Item0000001"_qs, PageId(1)); // no Name key
    Obj().WriteString(PageId(1), u"Name"_qs, u"p"_qs);
    Obj().UpdateFile();
    Build();
    KvObject* f = top->Children()[0];
    EXPECT_EQ(f->Name(), KvTexts::Text(5800));
    ASSERT_EQ(f->ChildCount(), 1);
    EXPECT_EQ(Obj().ReadString(FldrId(1), u"Item0000001"_qs, QString()), PageId(1));
}

// Operations of a removed object, each expected to raise EObjectRemoved.
TEST_F(ObjectTest, RemovedObjectRefusesEveryOperation)
{
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvFolder* f = NewFolder(FldrId(1), top.get(), u"Gone"_qs);
    KvPage* p = NewPage(PageId(1), top.get(), u"Other"_qs);
    f->Remove();
    std::unique_ptr<KvFolder> owned(f);

    const std::vector<std::pair<const char*, std::function<void()>>> ops = {
        {"Id", [&] { (void)f->Id(); }},
        {"Name", [&] { (void)f->Name(); }},
        {"ChildCount", [&] { (void)f->ChildCount(); }},
        {"Children", [&] { (void)f->Children(); }},
        {"Parent", [&] { (void)f->Parent(); }},
        {"SetName", [&] { f->SetName(u"x"_qs); }},
        {"LoadChildren", [&] { f->LoadChildren(); }},
        {"LoadChildrenOfKind", [&] { f->LoadChildrenOfKind(u"Page"_qs); }},
        {"Store", [&] { f->Store(); }},
        {"StoreKeywords", [&] { f->StoreKeywords(); }},
        {"Remove", [&] { f->Remove(); }},
        {"MoveUp", [&] { f->MoveUp(); }},
        {"MoveDown", [&] { f->MoveDown(); }},
        {"AddChild", [&] { f->AddChild(p, true); }},
        {"RemoveChild", [&] { f->RemoveChild(p); }},
        {"CreateChild", [&] { f->CreateChild(PageId(5)); }},
        {"EraseStoredSections", [&] { f->EraseStoredSections(); }},
        {"SetParent", [&] { f->SetParent(top.get(), true); }},
        {"Detach", [&] { f->Detach(); }},
        {"HasAncestor", [&] { (void)f->HasAncestor(top.get()); }},
        {"PathText", [&] { (void)f->PathText(true, u"/"_qs); }},
        {"ResolveTarget", [&] { f->ResolveTarget(); }},
        {"AddReferrer", [&] { f->AddReferrer(p); }},
        {"GetKeywords", [&] { (void)f->GetKeywords(); }},
        {"SetKeywords", [&] { f->SetKeywords(u"a"_qs); }},
        {"AddKeyword", [&] { (void)f->AddKeyword(u"a"_qs); }},
        {"Kind", [&] { (void)f->Kind(); }},
        {"GetStatus", [&] { (void)f->GetStatus(); }},
        {"SetStatus", [&] { f->SetStatus(1); }},
        {"GetNewPageLayout", [&] { (void)f->GetNewPageLayout(); }},
        {"ReadTabMode", [&] { f->ReadTabMode(); }},
        {"SetWritable", [&] { f->SetWritable(false); }},
    };
    for (const auto& [name, op] : ops) {
        try {
            op();
            ADD_FAILURE() << name << " did not raise";
        } catch (const KvObject::EObjectRemoved& e) {
            EXPECT_TRUE(e.Message().contains(u"'Gone'"_qs)) << name;
        }
    }
    // The exempt ones answer quietly.
    EXPECT_TRUE(f->IsRemoved());
    EXPECT_EQ(f->IndexInParent(), 0);
    EXPECT_NO_THROW(f->OnTargetNotify(KvObject::NameChanged));
    EXPECT_NO_THROW(f->PassToTarget(KvObject::Stored));
    EXPECT_NO_THROW(f->NotifyReferrers(KvObject::Stored));
}

TEST_F(ObjectTest, RemovedPageRefusesPageOperations)
{
    KvPage* p = NewPage(PageId(1), nullptr, u"Gone page"_qs);
    std::unique_ptr<KvPage> owned(p);
    p->Remove();
    const std::vector<std::pair<const char*, std::function<void()>>> ops = {
        {"Load", [&] { p->Load(false, false); }},
        {"Unload", [&] { p->Unload(); }},
        {"GetEditor", [&] { (void)p->GetEditor(); }},
        {"GetLayout", [&] { (void)p->GetLayout(); }},
        {"SetWriteProtect", [&] { p->SetWriteProtect(true); }},
        {"SetStatus", [&] { p->SetStatus(2); }},
        {"SetPassword", [&] { p->SetPassword(u"x"_qs, false); }},
        {"CheckPassword", [&] { (void)p->CheckPassword(u"x"_qs); }},
        {"ContentFilePath", [&] { (void)p->ContentFilePath(); }},
    };
    for (const auto& [name, op] : ops) {
        EXPECT_THROW(op(), KvObject::EObjectRemoved) << name;
    }
    EXPECT_FALSE(p->IsLoaded());
}

} // namespace
