#include "elements/kvelementmove.h"
#include "elementsfixture.h"

using namespace korvtest;

namespace {

class MoveTest : public ElementsFixture
{
protected:
    KvElementMove Mover() { return KvElementMove(env); }
    QStringList LostAfterReload()
    {
        Reload();
        return KvNotebookBuild::FindLostIds(*nb.objectSnapshot);
    }
};

TEST_F(MoveTest, IntoATrashFolderTheReferrersGoAlong)
{
    KvFolder* home = AddFolder(Top(), u"home"_qs);
    KvFolder* elsewhere = AddFolder(Top(), u"elsewhere"_qs);
    KvFolder* trashSub = AddFolder(Trash(), u"old"_qs);
    KvPage* p = AddPage(*home, u"p"_qs);
    KvPage* r1 = AddReferrer(*elsewhere, *p);
    KvPage* r2 = AddReferrer(*home, *p);
    KvPage* inTrash = AddReferrer(Trash(), *p);
    const QString pid = p->Id(), r1id = r1->Id(), r2id = r2->Id(), tid = trashSub->Id();
    const QStringList moved = Mover().Move(*p, *trashSub, false);
    EXPECT_EQ(moved, (QStringList{pid, r1id, r2id}));
    EXPECT_FALSE(moved.contains(inTrash->Id()));
    EXPECT_EQ(Find<KvFolder>(tid)->ChildCount(), 3);
    EXPECT_EQ(home->ChildCount(), 0);
    EXPECT_EQ(elsewhere->ChildCount(), 0);
    // Every referrer is bound to the re-created target.
    EXPECT_EQ(Find<KvPage>(r1id)->Target(), FindObject(pid));
    EXPECT_TRUE(LostAfterReload().isEmpty());
    EXPECT_EQ(Find<KvFolder>(tid)->ChildCount(), 3);
}

TEST_F(MoveTest, OutOfTheTrashAReferrerBringsItsTarget)
{
    KvFolder* old = AddFolder(Trash(), u"old"_qs);
    KvPage* target = AddPage(*old, u"t"_qs);
    KvPage* r = AddReferrer(Trash(), *target);
    KvFolder* back = AddFolder(Top(), u"back"_qs);
    const QString tid = target->Id();
    const QStringList moved = Mover().Move(*r, *back, true);
    EXPECT_EQ(moved.size(), 2);
    EXPECT_EQ(moved.last(), tid);
    EXPECT_EQ(back->ChildCount(), 2);
    EXPECT_EQ(old->ChildCount(), 0);
    // A target outside the trash stays where it is.
    KvFolder* again = AddFolder(Top(), u"again"_qs);
    KvPage* r2 = AddReferrer(Trash(), *Find<KvPage>(tid));
    EXPECT_EQ(Mover().Move(*r2, *again, false).size(), 1);
}

TEST_F(MoveTest, ReCreatedWithTheSameIdTheListsRenewedTheWindowSavesFirst)
{
    KvFolder* from = AddFolder(Top(), u"from"_qs);
    KvFolder* sub = AddFolder(*from, u"sub"_qs);
    KvPage* deep = AddPage(*sub, u"deep"_qs, "{\\rtf1 deep}");
    KvFolder* to = AddFolder(Top(), u"to"_qs);
    const QString sid = sub->Id(), did = deep->Id();
    KvObject* created = Mover().MoveSingle(*sub, *to, true);
    EXPECT_EQ(created->Id(), sid);
    EXPECT_EQ(created->Parent(), to);
    EXPECT_EQ(Names(*created), u"deep"_qs);
    EXPECT_EQ(listener.renewed, (QStringList{sid, did}));
    EXPECT_EQ(listener.saves, 1);
    EXPECT_TRUE(window.calls.contains(u"check "_qs + sid + u" save"_qs));
    EXPECT_TRUE(window.calls.contains(u"select "_qs + sid));
    EXPECT_EQ(from->ChildCount(), 0);
    const QString fromId = from->Id(), toId = to->Id();
    EXPECT_TRUE(LostAfterReload().isEmpty());
    EXPECT_EQ(Find<KvFolder>(fromId)->ChildCount(), 0);
    EXPECT_EQ(Names(*Find<KvFolder>(toId)), u"[sub]"_qs);
    EXPECT_EQ(ReadAll(Find<KvPage>(did)->ContentFilePath()), QByteArray("{\\rtf1 deep}"));
}

TEST_F(MoveTest, TheTargetsSettingsPlaceTheElement)
{
    const struct
    {
        bool first, autoSort;
        const char* expected;
    } cases[] = {{false, false, "c,a,m"}, {true, false, "m,c,a"}, {false, true, "a,c,m"}};
    for (const auto& c : cases) {
        KvFolder* to = AddFolder(Top(), u"to"_qs);
        AddPage(*to, u"c"_qs);
        AddPage(*to, u"a"_qs);
        to->SetSortInherited(false);
        to->SetNewElemsFirst(c.first);
        to->SetAutoSort(c.autoSort);
        to->Store();
        KvPage* m = AddPage(Top(), u"m"_qs);
        Mover().Move(*m, *to, false);
        EXPECT_EQ(Names(*to), QString::fromUtf8(c.expected));
        const QString id = to->Id();
        Reload();
        EXPECT_EQ(Names(*Find<KvFolder>(id)), QString::fromUtf8(c.expected));
    }
}

TEST_F(MoveTest, AFolderCannotGoBelowItself)
{
    KvFolder* f = AddFolder(Top(), u"f"_qs);
    KvFolder* sub = AddFolder(*f, u"sub"_qs);
    KvFolder* other = AddFolder(Top(), u"other"_qs);
    EXPECT_THROW(Mover().Move(*f, *sub, false), KvException);
    EXPECT_THROW(Mover().Move(*f, *f, false), KvException);
    EXPECT_THROW(Mover().Move(Top(), *other, false), KvException);
    // The chooser asks again after 5011; Cancel ends.
    env.options.MsgMoveFldrWP = false;
    window.choices = {sub->Id(), other->Id()};
    const QString fid = f->Id();
    EXPECT_TRUE(Mover().FolderMove2Folder(*f));
    ASSERT_EQ(prompter.Asked().size(), 1);
    EXPECT_EQ(prompter.Asked()[0].text, KvTexts::Text(5011));
    EXPECT_EQ(prompter.Asked()[0].title, KvTexts::Text(5019) + u"'f':"_qs);
    EXPECT_EQ(Find<KvFolder>(fid)->Parent(), other);
    window.choices = {QString()};
    EXPECT_FALSE(Mover().FolderMove2Folder(*Find<KvFolder>(fid)));
}

TEST_F(MoveTest, UpDownAndPositionsAreStored)
{
    KvFolder* f = AddFolder(Top(), u"f"_qs);
    KvPage* a = AddPage(*f, u"a"_qs);
    AddPage(*f, u"b"_qs);
    KvPage* c = AddPage(*f, u"c"_qs);
    EXPECT_FALSE(Mover().PageMoveUpDown(*a, true));
    EXPECT_FALSE(Mover().PageMoveUpDown(*c, false));
    EXPECT_FALSE(Mover().FolderMoveUpDown(Top(), true));
    EXPECT_TRUE(Mover().PageMoveUpDown(*c, true));
    EXPECT_EQ(Names(*f), u"a,c,b"_qs);
    Mover().MoveToPosition(*a, 3);
    EXPECT_EQ(Names(*f), u"c,b,a"_qs);
    Mover().MoveToPosition(*a, 99);
    EXPECT_EQ(Names(*f), u"c,b,a"_qs);
    Mover().MoveToPosition(*a, 1);
    KvFolder* g = AddFolder(Top(), u"g"_qs);
    EXPECT_TRUE(Mover().FolderMoveUpDown(*g, true));
    EXPECT_EQ(Names(Top()), u"[g],[f]"_qs);
    const QString fid = f->Id();
    Reload();
    EXPECT_EQ(Names(*Find<KvFolder>(fid)), u"a,c,b"_qs);
    EXPECT_EQ(Names(Top()), u"[g],[f]"_qs);
}

} // namespace
