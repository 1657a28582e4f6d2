#include "elements/kvelementedit.h"
#include "elementsfixture.h"
#include "model/kvnewpagelayout.h"

#include <QFile>

using namespace korvtest;

namespace {

class EditTest : public ElementsFixture
{
protected:
    KvElementEdit Edit() { return KvElementEdit(env); }
    // Every id that some folder lists or that is a root, against the sections on disk.
    QStringList LostAfterReload()
    {
        Reload();
        return KvNotebookBuild::FindLostIds(*nb.objectSnapshot);
    }
};

TEST_F(EditTest, NewPageTakesTheTemplatesProposalAndHandsItTheStoredPage)
{
    KvFolder* f = AddFolder(Top(), u"F"_qs);
    window.names = {u"Neu"_qs};
    KvPage* page = Edit().NewPage(*f);
    ASSERT_TRUE(page);
    ASSERT_EQ(window.nameAsks.size(), 1);
    EXPECT_EQ(window.nameAsks[0].titleText, 1002);
    EXPECT_EQ(window.nameAsks[0].name, u"Vorlage"_qs);
    EXPECT_TRUE(window.nameAsks[0].withStatus);
    EXPECT_EQ(window.nameAsks[0].status, 3);
    EXPECT_EQ(pageTemplate.proposed, QStringList{f->Id()});
    EXPECT_EQ(pageTemplate.filled, QStringList{page->Id()});
    EXPECT_TRUE(pageTemplate.storedWhenFilled);
    EXPECT_EQ(page->Name(), u"Neu"_qs);
    EXPECT_EQ(page->GetStatus(), 3);
    EXPECT_TRUE(window.calls.contains(u"show "_qs + page->Id()));
    const QString id = page->Id();
    Reload();
    ASSERT_TRUE(Find<KvPage>(id));
    EXPECT_EQ(Find<KvPage>(id)->Name(), u"Neu"_qs);
    EXPECT_EQ(Find<KvPage>(id)->GetStatus(), 3);
}

TEST_F(EditTest, CreateAndRenameTakeNamesByTheNameRule)
{
    KvFolder* f = AddFolder(Top(), u"F"_qs);
    KvPage* page = Edit().CreateNewPage(*f, u" Neue\u2028Seite\uFEFF"_qs, 0);
    EXPECT_EQ(page->Name(), u"Neue Seite"_qs);
    KvFolder* folder = Edit().CreateNewFolder(*f, u"\u200BKiste\t"_qs);
    EXPECT_EQ(folder->Name(), u"Kiste"_qs);
    Edit().RenamePage(*page, u"Seite\u2029zwei "_qs);
    EXPECT_EQ(page->Name(), u"Seite zwei"_qs);
    Edit().RenameFolder(*folder, u"  Kiste\u2060eins"_qs);
    EXPECT_EQ(folder->Name(), u"Kiste eins"_qs);
    // Nothing left to show: 5005, and nothing changes.
    for (const QString& nothing : {u"   "_qs, u"\u2028\u2029"_qs, u"\uFEFF\u200D\r\n"_qs}) {
        EXPECT_THROW(Edit().CreateNewPage(*f, nothing, 0), KvException);
        EXPECT_THROW(Edit().CreateNewFolder(*f, nothing), KvException);
        EXPECT_THROW(Edit().RenamePage(*page, nothing), KvException);
        EXPECT_THROW(Edit().RenameFolder(*folder, nothing), KvException);
    }
    try {
        Edit().RenamePage(*page, u" "_qs);
    } catch (const KvException& e) {
        EXPECT_EQ(e.Message(), KvTexts::Text(5005));
    }
    EXPECT_EQ(Names(*f), u"Seite zwei,[Kiste eins]"_qs);
    const QString id = f->Id();
    Reload();
    EXPECT_EQ(Names(*Find<KvFolder>(id)), u"Seite zwei,[Kiste eins]"_qs);
}

TEST_F(EditTest, TheTemplateIsNotAskedToFillOnCancelNorForFolders)
{
    KvFolder* f = AddFolder(Top(), u"F"_qs);
    window.names = {std::nullopt};
    EXPECT_EQ(Edit().NewPage(*f), nullptr);
    EXPECT_EQ(f->ChildCount(), 0);
    EXPECT_TRUE(pageTemplate.filled.isEmpty());
    pageTemplate.proposed.clear();
    window.names = {u"Ordner neu"_qs};
    KvFolder* created = Edit().NewFolder(*f);
    ASSERT_TRUE(created);
    EXPECT_EQ(window.nameAsks.last().titleText, 1102);
    EXPECT_EQ(window.nameAsks.last().name, KvTexts::Text(5800));
    EXPECT_FALSE(window.nameAsks.last().withStatus);
    EXPECT_TRUE(pageTemplate.proposed.isEmpty());
    EXPECT_TRUE(pageTemplate.filled.isEmpty());
}

TEST_F(EditTest, NewElementsGoWhereTheFolderSaysAndAreStored)
{
    const struct
    {
        bool first, autoSort;
        const char* expected;
    } cases[] = {{false, false, "b,x,m,[n]"},
                 {true, false, "[n],m,b,x"},
                 {false, true, "b,m,[n],x"},
                 {true, true, "b,m,[n],x"}};
    for (const auto& c : cases) {
        KvFolder* f = AddFolder(Top(), u"F"_qs);
        AddPage(*f, u"b"_qs);
        AddPage(*f, u"x"_qs);
        f->SetSortInherited(false);
        f->SetNewElemsFirst(c.first);
        f->SetAutoSort(c.autoSort);
        f->Store();
        KvPage* page = Edit().CreateNewPage(*f, u"m"_qs, 0);
        Edit().CreateNewFolder(*f, u"n"_qs);
        EXPECT_EQ(f->ActivePageId(), page->Id());
        EXPECT_EQ(Names(*f), QString::fromUtf8(c.expected));
        const QString id = f->Id();
        Reload();
        EXPECT_EQ(Names(*Find<KvFolder>(id)), QString::fromUtf8(c.expected));
    }
}

TEST_F(EditTest, ANewPageNeverAdoptsALeftoverContentFile)
{
    AddPage(Top(), u"eins"_qs); // Page0000001
    const QString leftover = Dir() + u"Page0000002.kvp"_qs;
    WriteAll(leftover, "{\\rtf1 left behind}");
    KvPage* page = Edit().CreateNewPage(Top(), u"neu"_qs, 0);
    EXPECT_EQ(page->Id(), u"Page0000003"_qs);
    EXPECT_FALSE(QFile::exists(page->ContentFilePath()));
    EXPECT_EQ(ReadAll(leftover), QByteArray("{\\rtf1 left behind}"));
}

TEST_F(EditTest, RenamingRenewsTheListsOnceSavedAndSortsTheParent)
{
    KvFolder* f = AddFolder(Top(), u"F"_qs);
    KvPage* a = AddPage(*f, u"a"_qs);
    KvPage* b = AddPage(*f, u"b"_qs);
    KvPage* r = AddReferrer(Top(), *a);
    KvFolder* sub = AddFolder(*f, u"sub"_qs);
    KvPage* deep = AddPage(*sub, u"deep"_qs);
    f->SetSortInherited(false);
    f->SetAutoSort(true);
    Edit().RenamePage(*a, u"z"_qs);
    EXPECT_EQ(listener.renewed, (QStringList{a->Id(), r->Id()}));
    EXPECT_EQ(listener.saves, 1);
    EXPECT_EQ(r->Name(), u"z"_qs);
    EXPECT_EQ(Names(*f), u"b,[sub],z"_qs);
    listener.Reset();
    Edit().RenameFolder(*sub, u"c"_qs);
    EXPECT_EQ(listener.renewed, (QStringList{sub->Id(), deep->Id()}));
    EXPECT_EQ(listener.saves, 1);
    EXPECT_EQ(Names(*f), u"b,[c],z"_qs);
    const QString fid = f->Id();
    Q_UNUSED(b);
    Reload();
    EXPECT_EQ(Names(*Find<KvFolder>(fid)), u"b,[c],z"_qs);
}

TEST_F(EditTest, DeletingHandsTheListsTheElementItsSubtreeAndReferrersOnce)
{
    env.options.MsgDelPage = env.options.MsgDelFolder = false;
    KvFolder* f = AddFolder(Top(), u"F"_qs);
    KvFolder* sub = AddFolder(*f, u"sub"_qs);
    KvPage* p = AddPage(*sub, u"p"_qs);
    KvPage* r1 = AddReferrer(Top(), *p);
    KvPage* r2 = AddReferrer(*f, *p);
    // The move into the trash makes the elements anew: keep their ids, not the pointers.
    const QStringList below{sub->Id(), p->Id(), r2->Id(), f->Id()};
    const QString r1Id = r1->Id();
    ASSERT_TRUE(Edit().DeleteFolder(*f));
    // Below the folder in pre-order, the folder, then the referrers of all of them.
    EXPECT_EQ(listener.forgotten.mid(0, 4), below);
    EXPECT_EQ(listener.forgotten.last(), r1Id);
    EXPECT_EQ(listener.forgotten.size(), 5);
    EXPECT_EQ(listener.begins, 1);
    EXPECT_EQ(listener.ends, 1);
    EXPECT_EQ(listener.saves, 1);
    // Moved into the trash with the referrer outside it.
    EXPECT_EQ(Names(Trash()), u"[F],"_qs + Find<KvPage>(r1Id)->Name());
}

TEST_F(EditTest, AThrowingListenerIsReportedOnceAndStopsNothing)
{
    env.options.MsgDelPage = false;
    FakeListener broken(u"broken"_qs);
    broken.throws = true;
    FakeListener after(u"after"_qs);
    lists.Remove(&listener);
    lists.Add(&broken);
    lists.Add(&after);
    lists.Add(&listener);
    KvPage* p = AddPage(Top(), u"p"_qs);
    const QString id = p->Id();
    ASSERT_TRUE(Edit().DeletePage(*p));
    EXPECT_EQ(after.forgotten, QStringList{id});
    EXPECT_EQ(listener.forgotten, QStringList{id});
    EXPECT_EQ(after.saves, 1);
    EXPECT_EQ(reports, QStringList{u"the list is broken"_qs});
    EXPECT_EQ(Trash().Children().size(), 1);
    lists.Remove(&broken);
    lists.Remove(&after);
}

TEST_F(EditTest, RemovalInsideTheTrashStoresTheParentAndDeletesTheFiles)
{
    env.options.MsgDelPage = env.options.MsgDelFolder = false;
    KvFolder* t = AddFolder(Trash(), u"alt"_qs);
    KvPage* p = AddPage(*t, u"p"_qs, "{\\rtf1 p}");
    KvFolder* sub = AddFolder(*t, u"sub"_qs);
    KvPage* q = AddPage(*sub, u"q"_qs, "{\\rtf1 q}");
    const QString pFile = p->ContentFilePath();
    const QString qFile = q->ContentFilePath();
    paste.SetCopy(q->Id());
    ASSERT_TRUE(Edit().DeletePage(*p));
    EXPECT_FALSE(QFile::exists(pFile));
    ASSERT_TRUE(Edit().DeleteFolder(*sub));
    EXPECT_FALSE(QFile::exists(qFile));
    EXPECT_TRUE(paste.CopyId().isEmpty()); // the paste source forgot it
    const QString tid = t->Id();
    EXPECT_TRUE(LostAfterReload().isEmpty());
    EXPECT_EQ(Find<KvFolder>(tid)->ChildCount(), 0);
    EXPECT_EQ(Names(Trash()), u"[alt]"_qs);
}

TEST_F(EditTest, DeletingATemplateDropsItsUse)
{
    env.options.MsgDelPage = false;
    KvFolder* user = AddFolder(Top(), u"user"_qs);
    KvFolder* inTrash = AddFolder(Trash(), u"old"_qs);
    KvPage* t = AddPage(Top(), u"Vorlage"_qs);
    for (KvFolder* f : {user, inTrash}) {
        f->GetNewPageLayout()->SetTemplatePage(t);
        f->GetNewPageLayout()->Store();
    }
    ASSERT_TRUE(Edit().DeletePage(*t));
    EXPECT_EQ(user->GetNewPageLayout()->GetTemplatePage(), nullptr);
    EXPECT_EQ(inTrash->GetNewPageLayout()->GetTemplatePage(), nullptr);
    const QString uid = user->Id();
    Reload();
    EXPECT_EQ(Find<KvFolder>(uid)->GetNewPageLayout()->GetTemplatePage(), nullptr);
}

class EmptyTrashTest : public EditTest
{
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        KvStoreBatch quick;
        KvFolder* a = AddFolder(Trash(), u"a"_qs);
        files.append(AddPage(*a, u"a1"_qs, "{\\rtf1 a1}")->ContentFilePath());
        KvPage* target = AddPage(*a, u"a2"_qs, "{\\rtf1 a2}");
        files.append(target->ContentFilePath());
        outsideReferrer = AddReferrer(Top(), *target)->Id();
        files.append(AddPage(Trash(), u"b"_qs, "{\\rtf1 b}")->ContentFilePath());
        files.append(AddPage(Trash(), u"c"_qs, "{\\rtf1 c}")->ContentFilePath());
        below = CollectDescendants(&Trash()).size();
    }

    QStringList files;
    QString outsideReferrer;
    qsizetype below = 0;
};

TEST_F(EmptyTrashTest, AsksThenCleansEveryListThenRemovesAll)
{
    prompter.Answer(KvAnswer::No);
    EXPECT_EQ(Edit().EmptyTrash(), 0);
    EXPECT_EQ(CollectDescendants(&Trash()).size(), below);
    prompter.Answer(KvAnswer::Yes);
    // The referrer outside goes with its target: the question says so, and the command
    // learns which went.
    QStringList outside;
    EXPECT_EQ(Edit().EmptyTrash(&outside), int(below));
    EXPECT_EQ(prompter.Asked().last().text, KvTexts::Message(5524, {u"1"_qs}));
    EXPECT_EQ(prompter.Asked().first().text, prompter.Asked().last().text);
    EXPECT_EQ(outside, QStringList{outsideReferrer});
    EXPECT_EQ(Trash().ChildCount(), 0);
    EXPECT_EQ(listener.forgotten.size(), below + 1); // the referrer outside too
    EXPECT_TRUE(listener.forgotten.contains(outsideReferrer));
    EXPECT_EQ(listener.saves, 1);
    EXPECT_FALSE(FindObject(outsideReferrer));
    for (const QString& f : std::as_const(files))
        EXPECT_FALSE(QFile::exists(f)) << f.toStdString();
    EXPECT_TRUE(LostAfterReload().isEmpty());
    EXPECT_EQ(Trash().ChildCount(), 0);
    EXPECT_FALSE(FindObject(outsideReferrer));
}

TEST_F(EmptyTrashTest, AStopEndsAfterTheCurrentElementWhatWasRemovedStaysRemoved)
{
    env.options.MsgEmptyTrash = false;
    window.stopAfter = 0;
    EXPECT_EQ(Edit().EmptyTrash(), 1); // the last child, page "c"
    EXPECT_EQ(Names(Trash()), u"[a],b"_qs);
    EXPECT_FALSE(QFile::exists(files.last()));
    EXPECT_TRUE(QFile::exists(files.first()));
    EXPECT_TRUE(LostAfterReload().isEmpty());
    EXPECT_EQ(Names(Trash()), u"[a],b"_qs);
}

TEST_F(EmptyTrashTest, AtExit)
{
    const struct
    {
        const char* name;
        bool atExit, ask, forced;
        int answer; // 0: no question expected
        bool emptied;
    } cases[] = {
        {"option off", false, false, false, 0, false},
        {"forced exit never asks", true, true, true, 0, false},
        {"forced exit without question", true, false, true, 0, true},
        {"asked, No", true, true, false, KvAnswer::No, false},
        {"asked, Yes", true, true, false, KvAnswer::Yes, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (Trash().ChildCount() == 0)
            AddPage(Trash(), u"again"_qs);
        env.options.EmptyTrashAtExit = c.atExit;
        env.options.MsgEmptyTrash = c.ask;
        const qsizetype asked = prompter.Asked().size();
        if (c.answer)
            prompter.Answer(c.answer);
        Edit().EmptyTrashAtExit(c.forced);
        EXPECT_EQ(prompter.Asked().size() - asked, c.answer ? 1 : 0);
        EXPECT_EQ(Trash().ChildCount() == 0, c.emptied);
    }
}

} // namespace
