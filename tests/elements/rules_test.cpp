#include "app/kvtexts.h"
#include "elements/kvelementrules.h"
#include "elementsfixture.h"
#include "model/kvnewpagelayout.h"

using namespace korvtest;
using namespace KvElementRules;

namespace {

class RulesTest : public ElementsFixture
{
protected:
    void UseAsTemplate(KvFolder& folder, KvPage& page)
    {
        folder.GetNewPageLayout()->SetTemplatePage(&page);
        folder.GetNewPageLayout()->Store();
    }
};

// Options of the page question: master switch, write protection, template, referrers.
struct PageQuestionCase
{
    const char* name;
    bool msg, wp, templ, ref; // MsgDelPage, MsgDelPageWP, MsgDelPageTempl, MsgDelPageRef
    bool protectedPage;       // the page is write-protected
    int templateIn;           // 0 no template use, 1 a folder of the main tree, 2 of the trash
    int referrers;            // referrers of the page
    int text;                 // the question's text; 0: none
};

const PageQuestionCase kPageCases[] = {
    {"no master switch", false, true, true, true, true, 1, 2, 0},
    {"master switch only", true, false, false, false, false, 0, 0, 5002},
    {"protection asked, not protected", true, true, false, false, false, 0, 0, 0},
    {"protection asked, protected", true, true, false, false, true, 0, 0, 5002},
    {"template asked, used in the tree", true, false, true, false, false, 1, 0, 5054},
    {"template asked, used in the trash", true, false, true, false, false, 2, 0, 5054},
    {"template asked, not used", true, false, true, false, false, 0, 3, 0},
    {"referrers asked, three", true, false, false, true, false, 0, 3, 5056},
    {"referrers asked, none", true, false, false, true, true, 1, 0, 0},
    {"all asked, protection first", true, true, true, true, true, 1, 3, 5002},
    {"all asked, template before referrers", true, true, true, true, false, 1, 3, 5054},
    {"all asked, referrers last", true, true, true, true, false, 0, 3, 5056},
};

TEST_F(RulesTest, DeletePageQuestionFollowsOptionsAndState)
{
    KvFolder* trashFolder = AddFolder(Trash(), u"alt"_qs);
    for (const PageQuestionCase& c : kPageCases) {
        SCOPED_TRACE(c.name);
        KvFolder* home = AddFolder(Top(), u"home"_qs);
        KvFolder* user = AddFolder(Top(), u"user"_qs);
        KvPage* page = AddPage(*home, u"Seite"_qs);
        page->SetWriteProtect(c.protectedPage);
        if (c.templateIn == 1)
            UseAsTemplate(*user, *page);
        else if (c.templateIn == 2)
            UseAsTemplate(*trashFolder, *page);
        for (int i = 0; i < c.referrers; ++i)
            AddReferrer(*home, *page);
        KvElementOptions o;
        o.MsgDelPage = c.msg;
        o.MsgDelPageWP = c.wp;
        o.MsgDelPageTempl = c.templ;
        o.MsgDelPageRef = c.ref;
        const auto q = DeletePageQuestion(*page, o, Top(), Trash());
        if (c.text == 0) {
            EXPECT_FALSE(q.has_value()) << q->text.toStdString();
            continue;
        }
        ASSERT_TRUE(q.has_value());
        EXPECT_EQ(q->caption, u"Löschen von Seite 'Seite'"_qs);
        QString expected = KvTexts::Text(c.text);
        if (c.text == 5054)
            expected = KvTexts::Message(
                5054, {c.templateIn == 1 ? u"Ordner/user"_qs : u"Papierkorb/alt"_qs});
        else if (c.text == 5056)
            expected = KvTexts::Message(5056, {QString::number(c.referrers)});
        EXPECT_EQ(q->text, expected);
    }
}

struct FolderQuestionCase
{
    const char* name;
    bool msg, wp, templ, ref; // MsgDelFolder, MsgDelFldrWP, MsgDelFTempl, MsgDelFRef
    bool protectedPage;       // a page below is write-protected
    bool templatePage;        // a page below is a template of a folder outside
    bool referredPage;        // a page below has a referrer outside
    int text;
};

const FolderQuestionCase kFolderCases[] = {
    {"no master switch", false, true, true, true, true, true, true, 0},
    {"master switch only", true, false, false, false, false, false, false, 5003},
    {"protection asked, none", true, true, false, false, false, true, true, 0},
    {"protection asked, one deep down", true, true, false, false, true, false, false, 5003},
    {"template asked", true, false, true, false, false, true, false, 5055},
    {"template asked, none", true, false, true, false, true, false, true, 0},
    {"referrers asked", true, false, false, true, false, false, true, 5057},
    {"all asked, template before referrers", true, true, true, true, false, true, true, 5055},
    {"all asked, nothing applies", true, true, true, true, false, false, false, 0},
};

TEST_F(RulesTest, DeleteFolderQuestionFollowsOptionsAndState)
{
    for (const FolderQuestionCase& c : kFolderCases) {
        SCOPED_TRACE(c.name);
        KvFolder* folder = AddFolder(Top(), u"Projekt"_qs);
        KvFolder* sub = AddFolder(*folder, u"tief"_qs);
        AddPage(*folder, u"oben"_qs);
        KvPage* deep = AddPage(*sub, u"unten"_qs);
        KvFolder* outside = AddFolder(Top(), u"draußen"_qs);
        if (c.protectedPage)
            deep->SetWriteProtect(true);
        if (c.templatePage)
            UseAsTemplate(*outside, *deep);
        if (c.referredPage)
            AddReferrer(*outside, *deep);
        KvElementOptions o;
        o.MsgDelFolder = c.msg;
        o.MsgDelFldrWP = c.wp;
        o.MsgDelFTempl = c.templ;
        o.MsgDelFRef = c.ref;
        const auto q = DeleteFolderQuestion(*folder, o, Top(), Trash());
        if (c.text == 0) {
            EXPECT_FALSE(q.has_value()) << q->text.toStdString();
            continue;
        }
        ASSERT_TRUE(q.has_value());
        EXPECT_EQ(q->caption, u"Löschen von Ordner 'Projekt'"_qs);
        QString expected = KvTexts::Text(c.text);
        if (c.text == 5055)
            expected = KvTexts::Message(5055, {u"unten"_qs, u"Ordner/draußen"_qs});
        else if (c.text == 5057)
            expected = KvTexts::Message(5057, {u"unten"_qs});
        EXPECT_EQ(q->text, expected);
    }
}

TEST_F(RulesTest, MoveQuestionsAskOnlyForProtectedElements)
{
    KvFolder* folder = AddFolder(Top(), u"F"_qs);
    KvPage* page = AddPage(*folder, u"P"_qs);
    const struct
    {
        bool option, protectedPage, asks;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const auto& c : cases) {
        page->SetWriteProtect(c.protectedPage);
        KvElementOptions o;
        o.MsgMovePageWP = c.option;
        o.MsgMoveFldrWP = c.option;
        const auto pq = MovePageQuestion(*page, o);
        const auto fq = MoveFolderQuestion(*folder, o);
        EXPECT_EQ(pq.has_value(), c.asks);
        EXPECT_EQ(fq.has_value(), c.asks);
        if (c.asks) {
            EXPECT_EQ(pq->caption, u"Seite 'P':"_qs);
            EXPECT_EQ(pq->text, KvTexts::Text(5015) + u' ' + KvTexts::Text(5016));
            EXPECT_EQ(fq->caption, u"Ordner 'F':"_qs);
            EXPECT_EQ(fq->text, KvTexts::Text(5013) + u' ' + KvTexts::Text(5014));
        }
    }
}

TEST_F(RulesTest, DeleteAndMovePossibilities)
{
    KvFolder* folder = AddFolder(Top(), u"F"_qs);
    KvPage* page = AddPage(*folder, u"P"_qs);
    KvFolder* plain = AddFolder(Top(), u"G"_qs);
    struct Case
    {
        const char* name;
        bool full, busy, protectedPage, wpNoDelete, wpNoMove;
        bool pageDelete, pageMove, folderDelete, folderMove;
    };
    const Case cases[] = {
        {"all allowed", true, false, false, true, true, true, true, true, true},
        {"read-only", false, false, false, false, false, false, false, false, false},
        {"busy", true, true, false, false, false, false, false, false, false},
        {"protected, delete forbidden", true, false, true, true, false, false, true, false, true},
        {"protected, move forbidden", true, false, true, false, true, true, false, true, false},
        {"protected, nothing forbidden", true, false, true, false, false, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        page->SetWriteProtect(c.protectedPage);
        KvElementOptions o;
        o.WPNoPageDelete = o.WPNoFolderDelete = c.wpNoDelete;
        o.WPNoPageMove = o.WPNoFolderMove = c.wpNoMove;
        EXPECT_EQ(DeletePossible(page, c.full, c.busy, o), c.pageDelete);
        EXPECT_EQ(Move2FolderPossible(page, c.full, c.busy, o), c.pageMove);
        EXPECT_EQ(DeletePossible(folder, c.full, c.busy, o), c.folderDelete);
        EXPECT_EQ(Move2FolderPossible(folder, c.full, c.busy, o), c.folderMove);
        // A folder without protected pages only needs access and quiet.
        EXPECT_EQ(DeletePossible(plain, c.full, c.busy, o), c.full && !c.busy);
    }
    const KvElementOptions o;
    for (KvFolder* root : {&Top(), &Trash()}) {
        EXPECT_FALSE(DeletePossible(root, true, false, o));
        EXPECT_FALSE(Move2FolderPossible(root, true, false, o));
    }
    EXPECT_FALSE(DeletePossible(static_cast<KvPage*>(nullptr), true, false, o));
    EXPECT_FALSE(DeletePossible(static_cast<KvFolder*>(nullptr), true, false, o));
    // A page whose directory went read-only.
    page->SetWritable(false);
    EXPECT_FALSE(DeletePossible(page, true, false, o));
}

TEST_F(RulesTest, BusyProbeAnswersFromWhatIsInstalled)
{
    EXPECT_FALSE(busy.Any()); // no search installed yet
    EXPECT_FALSE(env.Busy());
    bool searching = true;
    busy.SetSearchProbe([&] { return searching; });
    EXPECT_TRUE(busy.SearchRunning());
    EXPECT_TRUE(env.Busy());
    searching = false;
    bool progress = true;
    busy.SetProgressProbe([&] { return progress; });
    EXPECT_FALSE(busy.SearchRunning());
    EXPECT_TRUE(busy.ProgressOpen());
    EXPECT_TRUE(env.Busy());
    progress = false;
    EXPECT_FALSE(env.Busy());
}

TEST_F(RulesTest, FirstAndLastAmongSiblings)
{
    KvFolder* folder = AddFolder(Top(), u"F"_qs);
    KvPage* a = AddPage(*folder, u"a"_qs);
    KvPage* b = AddPage(*folder, u"b"_qs);
    KvPage* c = AddPage(*folder, u"c"_qs);
    KvFolder* single = AddFolder(Top(), u"S"_qs);
    KvPage* only = AddPage(*single, u"only"_qs);
    const struct
    {
        KvObject* obj;
        bool first, last;
    } cases[] = {{a, true, false},   {b, false, false},      {c, false, true},
                 {only, true, true}, {&Top(), false, false}, {&Trash(), false, false}};
    for (const auto& x : cases) {
        const KvTopLast s = GetElemStateTopLast(x.obj);
        EXPECT_EQ(s.first, x.first) << x.obj->Name().toStdString();
        EXPECT_EQ(s.last, x.last) << x.obj->Name().toStdString();
    }
}

TEST_F(RulesTest, DropAcceptance)
{
    KvFolder* f = AddFolder(Top(), u"F"_qs);
    KvFolder* sub = AddFolder(*f, u"sub"_qs);
    KvPage* inSub = AddPage(*sub, u"p"_qs);
    KvFolder* other = AddFolder(Top(), u"other"_qs);
    KvPage* page = AddPage(*other, u"q"_qs);
    const struct
    {
        const char* name;
        KvObject* drag;
        KvObject* drop;
        bool accepted;
        int text;
    } cases[] = {
        {"page on a folder", page, f, true, 5012},
        {"page on its own folder", page, other, true, 5012},
        {"page on the trash", page, &Trash(), true, 5012},
        {"page on a page", page, inSub, false, 5010},
        {"folder on itself", f, f, false, 5010},
        {"folder on its sub-folder", f, sub, false, 5011},
        {"folder on a page below it", f, inSub, false, 5011},
        {"folder on its parent", sub, f, true, 5012},
        {"folder on another folder", f, other, true, 5012},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const KvDropVerdict v = DropVerdict(*c.drag, *c.drop);
        EXPECT_EQ(v.accepted, c.accepted);
        EXPECT_EQ(v.statusText, c.text);
    }
}

TEST_F(RulesTest, WhatMayBeDragged)
{
    KvFolder* f = AddFolder(Top(), u"F"_qs);
    KvPage* page = AddPage(*f, u"p"_qs);
    KvElementOptions none;
    none.WPNoMousePageMove = none.WPNoPageMove = false;
    none.WPNoMouseFolderMove = none.WPNoFolderMove = false;
    EXPECT_FALSE(CanStartDrag(Top(), true, false, none));
    EXPECT_FALSE(CanStartDrag(Trash(), true, false, none));
    EXPECT_TRUE(CanStartDrag(*page, true, false, none));
    EXPECT_FALSE(CanStartDrag(*page, false, false, none));
    EXPECT_FALSE(CanStartDrag(*page, true, true, none));
    page->SetWriteProtect(true);
    EXPECT_TRUE(CanStartDrag(*page, true, false, none));
    EXPECT_TRUE(CanStartDrag(*f, true, false, none));
    for (bool mouse : {true, false}) {
        KvElementOptions o = none;
        (mouse ? o.WPNoMousePageMove : o.WPNoPageMove) = true;
        (mouse ? o.WPNoMouseFolderMove : o.WPNoFolderMove) = true;
        EXPECT_FALSE(CanStartDrag(*page, true, false, o));
        EXPECT_FALSE(CanStartDrag(*f, true, false, o));
    }
}

} // namespace
