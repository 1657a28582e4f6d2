// Creating, renaming and deleting elements and emptying the trash in the window: through
// the menus' actions, the tree's context menu and the Del key, with the questions and the
// name dialog answered by the scripted prompter.
#include "commands/kvfoldercommands.h"
#include "elementwindow.h"

#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace {

using korvtest::WaitUntil;

class ElementEdit : public korvtest::ElementWindow
{
protected:
    QTabWidget* Tabs() const { return window->findChild<QTabWidget*>(u"PagePC"_qs); }
    QStringList TabTexts() const
    {
        QStringList texts;
        for (int i = 0; i < Tabs()->count(); ++i)
            texts.append(Tabs()->tabText(i));
        return texts;
    }
    bool On(const QString& action) const { return A(action)->isEnabled(); }
};

TEST_F(ElementEdit, CreatePageAskesNameAndStatusAndShowsTheNewPage)
{
    MakeNotebook([](KvFolder&, KvFolder&) {});
    Open();
    Show(u"Fldr0000001"_qs);

    // Cancel: nothing happens.
    AnswerName(QString());
    Run(u"CreateNewPageA"_qs);
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"Plan,Notiz,[Alt]"_qs);

    AnswerName(u"Protokoll"_qs, 2);
    Run(u"CreateNewPageA"_qs);
    ASSERT_EQ(named.size(), 2);
    EXPECT_EQ(named[1].title, KvTexts::Text(1002));
    EXPECT_EQ(named[1].preset, KvTexts::Text(5800));
    EXPECT_TRUE(named[1].withStatus);
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"Plan,Notiz,[Alt],Protokoll"_qs);
    EXPECT_EQ(NodeNames(u"Fldr0000001"_qs), u"Plan,Notiz,[Alt],Protokoll"_qs);
    KvPage* created = window->CurrentPage();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->Name(), u"Protokoll"_qs);
    EXPECT_EQ(created->GetStatus(), 2);
    EXPECT_EQ(window->ShownPage(), created);
    EXPECT_NE(Editor(), nullptr);
    EXPECT_EQ(TabTexts(), (QStringList{u"Plan"_qs, u"Notiz"_qs, u"Protokoll"_qs}));
    EXPECT_EQ(Tabs()->currentIndex(), 2);
    EXPECT_EQ(KvTreeNode::ObjectOf(Tree()->currentItem()), created);
    const QString id = created->Id();
    EXPECT_FALSE(prompter.Unexpected());

    // It is stored: it comes back with the notebook.
    Close();
    Open();
    auto* again = Find<KvPage>(id);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->Name(), u"Protokoll"_qs);
    EXPECT_EQ(again->GetStatus(), 2);
}

TEST_F(ElementEdit, NewElementsFirstPutTheNewTabFirst)
{
    MakeNotebook([](KvFolder& top, KvFolder&) {
        auto* projects = dynamic_cast<KvFolder*>(top.Children().first());
        projects->SetSortInherited(false);
        projects->SetNewElemsFirst(true);
    });
    Open();
    Show(u"Page0000002"_qs);
    AnswerName(u"Zuerst"_qs);
    Run(u"CreateNewPageA"_qs);
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"Zuerst,Plan,Notiz,[Alt]"_qs);
    EXPECT_EQ(TabTexts(), (QStringList{u"Zuerst"_qs, u"Plan"_qs, u"Notiz"_qs}));
    EXPECT_EQ(Tabs()->currentIndex(), 0);
    EXPECT_EQ(window->ShownPage()->Name(), u"Zuerst"_qs);
}

TEST_F(ElementEdit, CreateFolderShowsTheEmptyFolder)
{
    MakeNotebook();
    Open();
    Show(u"TopFolder"_qs);
    AnswerName(u"Reisen"_qs);
    Run(u"CreateNewFolderA"_qs);
    ASSERT_EQ(named.size(), 1);
    EXPECT_EQ(named[0].title, KvTexts::Text(1102));
    EXPECT_FALSE(named[0].withStatus);
    EXPECT_EQ(Names(u"TopFolder"_qs), u"[Projekte],Einkauf,Rezepte,[Reisen]"_qs);
    KvFolder* created = window->CurrentFolder();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->Name(), u"Reisen"_qs);
    EXPECT_EQ(window->CurrentPage(), nullptr);
    auto* notice = window->findChild<QLabel*>(u"NoPagesLbl"_qs);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_TRUE(notice->text().contains(KvTexts::Text(5500)));
}

TEST_F(ElementEdit, RenameFollowsInTreeAndTab)
{
    MakeNotebook();
    Open();
    Show(u"Page0000002"_qs);
    AnswerName(u"Notiz neu"_qs);
    Run(u"RenamePageA"_qs);
    ASSERT_EQ(named.size(), 1);
    EXPECT_EQ(named[0].title, KvTexts::Text(1004));
    EXPECT_EQ(named[0].preset, u"Notiz"_qs);
    EXPECT_EQ(Find(u"Page0000002"_qs)->Name(), u"Notiz neu"_qs);
    EXPECT_EQ(NodeOf(u"Page0000002"_qs)->text(0), u"Notiz neu"_qs);
    EXPECT_TRUE(TabTexts().contains(u"Notiz neu"_qs));

    AnswerName(u"Laufend"_qs);
    Run(u"RenameFolderA"_qs);
    EXPECT_EQ(named[1].title, KvTexts::Text(1104));
    EXPECT_EQ(named[1].preset, u"Projekte"_qs);
    EXPECT_EQ(NodeOf(u"Fldr0000001"_qs)->text(0), u"Laufend"_qs);
    // The top folder can be renamed too.
    Show(u"TopFolder"_qs);
    AnswerName(u"Alles"_qs);
    Run(u"RenameFolderA"_qs);
    Close();
    Open();
    EXPECT_EQ(Find(u"Page0000002"_qs)->Name(), u"Notiz neu"_qs);
    EXPECT_EQ(Find(u"Fldr0000001"_qs)->Name(), u"Laufend"_qs);
    EXPECT_EQ(window->TopFolder()->Name(), u"Alles"_qs);
}

TEST_F(ElementEdit, NamesWithNothingToShowAreRefusedAndSeparatorsBecomeBlanks)
{
    MakeNotebook();
    Open();
    Show(u"Fldr0000001"_qs);
    // The name dialog answers first with what shows as nothing, then with a name holding
    // separators and zero-width characters; the first OK must leave the dialog open.
    const auto answerTwice = [this](const QString& nothing, const QString& name) {
        prompter.Answer(KvAnswer::Ok);
        prompter.AnswerDialogWith(
            [nothing, name] {
                TNameF* d = TNameF::Active();
                if (!d)
                    return int(QDialog::Rejected);
                d->SetName(nothing);
                d->accept();
                if (d->result() == QDialog::Accepted)
                    return int(QDialog::Accepted);
                d->SetName(name);
                d->accept();
                return d->result();
            },
            TNameF::DialogName);
    };
    answerTwice(u"  \u2028 "_qs, u"Neue\u2029Seite\uFEFF"_qs);
    Run(u"CreateNewPageA"_qs);
    answerTwice(u"\u200B\t"_qs, u" Projekte\u200Dneu "_qs);
    Run(u"RenameFolderA"_qs);

    const auto messages = prompter.Messages();
    ASSERT_EQ(messages.size(), 2);
    for (const auto& m : messages) {
        EXPECT_EQ(m.title, KvTexts::Text(5004));
        EXPECT_EQ(m.text, KvTexts::Text(5005));
    }
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"Plan,Notiz,[Alt],Neue Seite"_qs);
    EXPECT_EQ(NodeNames(u"Fldr0000001"_qs), u"Plan,Notiz,[Alt],Neue Seite"_qs);
    EXPECT_TRUE(TabTexts().contains(u"Neue Seite"_qs)) << TabTexts().join(u',').toStdString();
    EXPECT_EQ(NodeOf(u"Fldr0000001"_qs)->text(0), u"Projekte neu"_qs);
    EXPECT_FALSE(prompter.Unexpected());
    Close();
    Open();
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"Plan,Notiz,[Alt],Neue Seite"_qs);
    EXPECT_EQ(Find(u"Fldr0000001"_qs)->Name(), u"Projekte neu"_qs);
}

TEST_F(ElementEdit, EmptyingTheTrashNamesTheReferrersOutsideThatGoWithIt)
{
    // A notebook of an older version: Rezepte in the trash, its referrer still outside.
    MakeNotebook([](KvFolder& top, KvFolder& trash) {
        KvElementFactory f;
        referrer(f, u"Page0000006"_qs, top, u"Page0000005"_qs);
        KvObject* recipes = FindObject(u"Page0000005"_qs);
        recipes->SetParent(&trash, true);
    });
    SetOption(u"MsgEmptyTrash"_qs, true);
    Open();
    ASSERT_EQ(Names(u"TrashFolder"_qs), u"Rezepte"_qs);
    ASSERT_NE(Find(u"Page0000006"_qs), nullptr);
    // No: the question names the referrer that would go, and nothing goes.
    prompter.Answer(KvAnswer::No);
    Run(u"EmptyTrashA"_qs);
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].title, KvTexts::Text(1117));
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Message(5524, {u"1"_qs}));
    EXPECT_EQ(Names(u"TrashFolder"_qs), u"Rezepte"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"EmptyTrashA"_qs);
    EXPECT_EQ(Names(u"TrashFolder"_qs), QString());
    EXPECT_EQ(Find(u"Page0000006"_qs), nullptr);
    // Nothing outside points into the trash: the plain question again.
    Show(u"Page0000004"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"DeletePageA"_qs);
    prompter.Answer(KvAnswer::No);
    Run(u"EmptyTrashA"_qs);
    EXPECT_EQ(prompter.Messages().last().text, KvTexts::Text(5032));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ElementEdit, DeleteMovesIntoTheTrashAndInsideTheTrashRemovesForGood)
{
    MakeNotebook();
    Open();
    Show(u"Page0000004"_qs);
    // No: nothing happens.
    prompter.Answer(KvAnswer::No);
    Run(u"DeletePageA"_qs);
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Text(5002));
    EXPECT_EQ(prompter.Messages()[0].title,
              KvTexts::Text(5060) + u' ' + KvTexts::Text(5000) + u" 'Einkauf'");
    EXPECT_EQ(Names(u"TopFolder"_qs), u"[Projekte],Einkauf,Rezepte"_qs);

    prompter.Answer(KvAnswer::Yes);
    Run(u"DeletePageA"_qs);
    EXPECT_EQ(Names(u"TopFolder"_qs), u"[Projekte],Rezepte"_qs);
    EXPECT_EQ(Names(u"TrashFolder"_qs), u"Einkauf"_qs);
    EXPECT_EQ(NodeNames(u"TrashFolder"_qs), u"Einkauf"_qs);
    // The page's folder is shown again.
    EXPECT_EQ(window->CurrentFolder(), window->TopFolder());
    EXPECT_NE(window->CurrentPage(), nullptr);
    EXPECT_TRUE(QFileInfo::exists(dir + u"Page0000004.kvp"_qs));

    // A folder goes with everything in it; its parent is shown.
    Show(u"Fldr0000002"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"DeleteFolderA"_qs);
    EXPECT_EQ(prompter.Messages().last().text, KvTexts::Text(5003));
    EXPECT_EQ(Names(u"TrashFolder"_qs), u"Einkauf,[Alt]"_qs);
    EXPECT_EQ(window->CurrentFolder()->Id(), u"Fldr0000001"_qs);

    // In the trash a delete is final: the content file goes too.
    Show(u"Page0000004"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"DeletePageA"_qs);
    EXPECT_EQ(Names(u"TrashFolder"_qs), u"[Alt]"_qs);
    EXPECT_EQ(FindObject(u"Page0000004"_qs), nullptr);
    EXPECT_FALSE(QFileInfo::exists(dir + u"Page0000004.kvp"_qs));
    EXPECT_FALSE(prompter.Unexpected());

    // A folder deleted for good leaves its parent stored: it does not come back.
    Show(u"Fldr0000002"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"DeleteFolderA"_qs);
    Close();
    Open();
    EXPECT_EQ(Names(u"TrashFolder"_qs), QString());
    EXPECT_EQ(Names(u"TopFolder"_qs), u"[Projekte],Rezepte"_qs);
    EXPECT_EQ(FindObject(u"Page0000003"_qs), nullptr);
}

TEST_F(ElementEdit, DeletingTheOnlyPageLeavesTheFolderWithItsNotice)
{
    MakeNotebook();
    Open();
    Show(u"Page0000003"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"DeletePageA"_qs);
    EXPECT_EQ(window->CurrentFolder()->Id(), u"Fldr0000002"_qs);
    EXPECT_EQ(window->CurrentPage(), nullptr);
    EXPECT_TRUE(window->findChild<QLabel*>(u"NoPagesLbl"_qs)->isVisible());
}

TEST_F(ElementEdit, EmptyTrashAsksAndRemovesEverything)
{
    MakeNotebook();
    Open();
    for (const QString& id : {u"Page0000004"_qs, u"Fldr0000002"_qs}) {
        Show(id);
        prompter.Answer(KvAnswer::Yes);
        Run(id.startsWith(u"Page") ? u"DeletePageA"_qs : u"DeleteFolderA"_qs);
    }
    ASSERT_EQ(Names(u"TrashFolder"_qs), u"Einkauf,[Alt]"_qs);
    Show(u"Page0000004"_qs); // a page of the trash is shown
    prompter.Answer(KvAnswer::No);
    Run(u"EmptyTrashA"_qs);
    EXPECT_EQ(prompter.Messages().last().text, KvTexts::Text(5032));
    EXPECT_EQ(prompter.Messages().last().title, KvTexts::Text(1117));
    EXPECT_EQ(Names(u"TrashFolder"_qs), u"Einkauf,[Alt]"_qs);

    prompter.Answer(KvAnswer::Yes);
    Run(u"EmptyTrashA"_qs);
    EXPECT_EQ(Names(u"TrashFolder"_qs), QString());
    EXPECT_EQ(Tree()->topLevelItem(1)->childCount(), 0);
    EXPECT_EQ(window->CurrentFolder(), window->TrashFolder());
    EXPECT_EQ(window->ShownPage(), nullptr);
    EXPECT_FALSE(QFileInfo::exists(dir + u"Page0000003.kvp"_qs));
    EXPECT_FALSE(QFileInfo::exists(dir + u"Page0000004.kvp"_qs));
    Idle();
    EXPECT_FALSE(On(u"EmptyTrashA"_qs));
    EXPECT_FALSE(prompter.Unexpected());
}

// The trash when the directory closes: emptied with the question when the option asks
// for it; a forced exit asks nobody and keeps the trash when the question is switched on.
TEST_F(ElementEdit, EmptyTrashAtExit)
{
    const struct
    {
        bool atExit, ask, forced;
        int answer; // 0: no question expected
        bool emptied;
    } kCases[] = {
        {false, true, false, 0, false},
        {true, true, false, KvAnswer::Yes, true},
        {true, true, false, KvAnswer::No, false},
        {true, false, false, 0, true},
        {true, true, true, 0, false},
        {true, false, true, 0, true},
    };
    int round = 0;
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.atExit << c.ask << c.forced << c.answer);
        // A notebook of its own, with a page in the trash.
        dir = env.Dir(u"case%1"_qs.arg(++round));
        KvPaths::ResetDataDirCache();
        MakeNotebook(
            [](KvFolder& top, KvFolder& trash) { top.Children().last()->SetParent(&trash, true); });
        SetOption(u"EmptyTrashAtExit"_qs, c.atExit);
        SetOption(u"MsgEmptyTrash"_qs, c.ask);
        Open();
        ASSERT_GT(window->TrashFolder()->ChildCount(), 0);
        prompter.Clear();
        if (c.answer)
            prompter.Answer(c.answer);
        if (c.forced) {
            window->Terminate();
            ASSERT_TRUE(WaitUntil([this] { return window->ExitSequenceRuns() == 1; }));
            window.reset();
            KvDirStores::Close();
        } else {
            Close();
        }
        EXPECT_EQ(prompter.Messages().size(), c.answer ? 1 : 0);
        KvPrompter::SetCurrent(&prompter); // a forced exit put the fallback in place
        Open();
        EXPECT_EQ(window->TrashFolder()->ChildCount() == 0, c.emptied);
        Close();
    }
}

TEST_F(ElementEdit, ReadOnlyDisablesEveryElementCommandAlsoInTheTreeMenu)
{
    MakeNotebook();
    Open();
    Show(u"Page0000002"_qs);
    const QStringList commands = {
        u"CreateNewPageA"_qs,   u"NewLinkA"_qs,        u"RenamePageA"_qs,
        u"DeletePageA"_qs,      u"PageMoveUpA"_qs,     u"PageMoveDownA"_qs,
        u"PageMove2FolderA"_qs, u"PageCopyA"_qs,       u"CreateReferrerA"_qs,
        u"CreateNewFolderA"_qs, u"RenameFolderA"_qs,   u"DeleteFolderA"_qs,
        u"FolderMoveUpA"_qs,    u"FolderMoveDownA"_qs, u"FolderMove2FolderA"_qs,
        u"FolderCopyA"_qs,      u"FolderPasteA"_qs,    u"SortFolderA"_qs,
        u"EmptyTrashA"_qs,
    };
    const QStringList items = {u"PageNewTVPMI"_qs,
                               u"FolderNewTVPMI"_qs,
                               u"RenPMI"_qs,
                               u"DelPMI"_qs,
                               u"MovePMI"_qs,
                               u"ElemCopyPMI"_qs,
                               u"CreateReferrerPMI"_qs,
                               u"FolderPastePMI"_qs,
                               u"TrashEmptyPMI"_qs};
    // With full access they work (the trash has a page, a copy waits for paste).
    Run(u"PageCopyA"_qs);
    Show(u"Page0000004"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"DeletePageA"_qs);
    Show(u"Fldr0000002"_qs);
    for (const QString& c : {u"CreateNewPageA"_qs, u"RenameFolderA"_qs, u"DeleteFolderA"_qs,
                             u"FolderCopyA"_qs, u"FolderPasteA"_qs, u"EmptyTrashA"_qs})
        EXPECT_TRUE(On(c)) << c.toStdString();
    TreeMenuOn(u"Fldr0000002"_qs);
    for (const QString& i :
         {u"PageNewTVPMI"_qs, u"FolderNewTVPMI"_qs, u"RenPMI"_qs, u"DelPMI"_qs, u"MovePMI"_qs,
          u"ElemCopyPMI"_qs, u"FolderPastePMI"_qs, u"TrashEmptyPMI"_qs})
        EXPECT_TRUE(On(i)) << i.toStdString();
    Close();

    Open(u"/dr"_qs);
    ASSERT_FALSE(window->Shell().fullAccess);
    for (const QString& id : {u"Page0000002"_qs, u"Fldr0000002"_qs}) {
        Show(id);
        for (const QString& c : commands)
            EXPECT_FALSE(On(c)) << id.toStdString() << " " << c.toStdString();
        TreeMenuOn(id);
        for (const QString& i : items)
            EXPECT_FALSE(On(i)) << id.toStdString() << " " << i.toStdString();
    }
}

TEST_F(ElementEdit, TreeMenuItemsActOnTheirNodeAndTheSelectionComesBack)
{
    MakeNotebook();
    Open();
    Show(u"Page0000001"_qs);
    KvObject* shown = window->ShownPage();

    // Rename the page under the menu, not the shown one.
    TreeMenuOn(u"Page0000005"_qs);
    AnswerName(u"Kochbuch"_qs);
    A(u"RenPMI"_qs)->trigger();
    Idle();
    EXPECT_EQ(named.last().preset, u"Rezepte"_qs);
    EXPECT_EQ(Find(u"Page0000005"_qs)->Name(), u"Kochbuch"_qs);
    EXPECT_EQ(Find(u"Page0000001"_qs)->Name(), u"Plan"_qs);
    EXPECT_EQ(window->ShownPage(), shown);
    EXPECT_EQ(KvTreeNode::ObjectOf(Tree()->currentItem()), shown);

    // A new page from the menu of another folder lands in that folder.
    TreeMenuOn(u"Fldr0000002"_qs);
    AnswerName(u"Neu in Alt"_qs);
    A(u"PageNewTVPMI"_qs)->trigger();
    Idle();
    EXPECT_EQ(Names(u"Fldr0000002"_qs), u"Archiv,Neu in Alt"_qs);

    // Delete from the menu of a folder.
    TreeMenuOn(u"Fldr0000002"_qs);
    prompter.Answer(KvAnswer::Yes);
    A(u"DelPMI"_qs)->trigger();
    Idle();
    EXPECT_EQ(Names(u"TrashFolder"_qs), u"[Alt]"_qs);
    // The roots cannot be deleted, moved or copied.
    TreeMenuOn(u"TopFolder"_qs);
    EXPECT_FALSE(On(u"DelPMI"_qs));
    EXPECT_FALSE(On(u"MovePMI"_qs));
    EXPECT_FALSE(On(u"ElemCopyPMI"_qs));
    EXPECT_TRUE(On(u"RenPMI"_qs));
    EXPECT_FALSE(On(u"CreateReferrerPMI"_qs));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ElementEdit, DelKeyDeletesTheSelectedNode)
{
    MakeNotebook();
    Open();
    Show(u"Page0000001"_qs);
    // The highlight moved without showing the page: Del acts on the highlighted page.
    window->SelectNodeQuietly(NodeOf(u"Page0000005"_qs));
    Tree()->setFocus();
    ASSERT_TRUE(WaitUntil([this] { return Tree()->hasFocus(); }));
    prompter.Answer(KvAnswer::Yes);
    QTest::keyClick(Tree(), Qt::Key_Delete);
    Idle();
    EXPECT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(Names(u"TrashFolder"_qs), u"Rezepte"_qs);
    EXPECT_EQ(Find(u"Page0000001"_qs)->Parent()->Id(), u"Fldr0000001"_qs);

    // A root is not deleted.
    window->SelectNodeQuietly(NodeOf(u"TopFolder"_qs));
    Tree()->setFocus();
    QTest::keyClick(Tree(), Qt::Key_Delete);
    Idle();
    EXPECT_EQ(prompter.Messages().size(), 1);
    EXPECT_FALSE(prompter.Unexpected());
}

} // namespace
