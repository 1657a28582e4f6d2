// The search window with the main window: hits streaming into both lists, Stop, closing
// during a search, refining, sorting, the full path, showing a hit and a removed one, the
// busy commands, and the criteria the window keeps.
#include "app/kvoptionsg.h"
#include "lists/kvsearchtextcache.h"
#include "ui/kvmainlists.h"
#include "ui/kvmainsavedresults.h"
#include "ui/searchwindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTimer>
#include <cerrno>
#include <cstring>

using namespace korvtest;

namespace {

class SearchWindowTest : public SearchWindow
{
};

TEST_F(SearchWindowTest, HitsStreamIntoBothListsInExaminationOrder)
{
    MakeSearchNotebook();
    Open();
    TSearchF* form = OpenSearch();
    ASSERT_NE(form, nullptr);
    // The main window takes no input while the search window shows, and nothing waits.
    EXPECT_EQ(QApplication::activeModalWidget(), form);
    EXPECT_EQ(form->windowModality(), Qt::WindowModal);

    // At the tresor page the search runs, and every hit before it is in both lists.
    QStringList formRows;
    QStringList mainRows;
    bool running = false;
    QString mainCount;
    WhenTresorAsks([&] {
        running = form->SearchRunning();
        formRows = form->ResultList()->Ids();
        mainRows = MainList().Ids();
        mainCount = Panel().FoundLabel()->text();
        return int(KvAnswer::Ok);
    });
    Start(form, u"Wort"_qs);
    EXPECT_TRUE(running);
    EXPECT_EQ(formRows, ManyPages(kFirstMany, 29));
    EXPECT_EQ(mainRows, formRows);
    EXPECT_EQ(mainCount, u"20 "_qs + KvTexts::Text(12014));
    // All hits, in examination order, the tresor page among them.
    EXPECT_EQ(form->ResultList()->Ids(), ManyPages());
    EXPECT_EQ(MainList().Ids(), ManyPages());
    EXPECT_EQ(form->FoundLabel()->text(), u"40 "_qs + KvTexts::Text(12014));
    EXPECT_EQ(Panel().FoundLabel()->text(), form->FoundLabel()->text());
    EXPECT_EQ(form->StatusText(), KvTexts::Text(12016));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(SearchWindowTest, StopEndsTheSearchWithTheRowsFoundSoFar)
{
    MakeSearchNotebook();
    Open();
    TSearchF* form = OpenSearch();
    QSignalSpy ended(form, &TSearchF::searchEnded);
    QString emptyHint;
    WhenTresorAsks([&] {
        // While the search runs, a control without a hint says so.
        QStatusTipEvent tip{QString()};
        QCoreApplication::sendEvent(form, &tip);
        emptyHint = form->StatusText();
        form->StopBtnClick();
        return int(KvAnswer::Cancel);
    });
    Start(form, u"Wort"_qs);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(emptyHint, KvTexts::Text(12015));
    // Nothing after the stop: the pages behind the tresor page were never reported.
    EXPECT_EQ(form->ResultList()->Ids(), ManyPages(kFirstMany, 29));
    EXPECT_EQ(MainList().Ids(), ManyPages(kFirstMany, 29));
    EXPECT_FALSE(KvSearchThread::AnyRunning());
    EXPECT_TRUE(form->StartButton()->isEnabled());
    EXPECT_FALSE(form->StopButton()->isEnabled());
    EXPECT_TRUE(Panel().StopButton()->isHidden());
    EXPECT_FALSE(Panel().NewSearchButton()->isHidden());
    EXPECT_TRUE(Panel().Progress()->isHidden());
}

TEST_F(SearchWindowTest, ClosedDuringTheSearchItHidesAndTheRowsGoOn)
{
    MakeSearchNotebook();
    Open();
    TSearchF* form = OpenSearch();
    QPointer<TSearchF> guard(form);
    bool hidden = false;
    bool mainTakesInput = false;
    WhenTresorAsks([&] {
        form->CloseBtnClick();
        hidden = form->isHidden();
        mainTakesInput = QApplication::activeModalWidget() != form;
        return int(KvAnswer::Ok);
    });
    Start(form, u"Wort"_qs, false);
    // The window goes by itself when the search has ended; the rows reached the main list.
    ASSERT_TRUE(WaitUntil([&] { return guard.isNull(); }, 20000));
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(mainTakesInput);
    EXPECT_EQ(Form(), nullptr);
    EXPECT_EQ(MainList().Ids(), ManyPages());
    EXPECT_FALSE(Panel().isHidden());
    EXPECT_EQ(Panel().FoundLabel()->text(), u"40 "_qs + KvTexts::Text(12014));
    // It wrote its settings and histories.
    const TexProfileFile settings(KvPaths::SettingsFile());
    EXPECT_EQ(settings.ReadString(u"SearchF"_qs, u"Text0"_qs, {}), u"Wort"_qs);
    EXPECT_TRUE(settings.ValueExists(u"SearchF"_qs, u"SNames"_qs));
}

// Closes the search window from inside one of the search's reports (the password asked
// for it): the window hides, the search stops, and the window goes once it has ended.
TEST_F(SearchWindowTest, ClosedByItsFrameDuringTheSearchItStopsAndGoes)
{
    MakeSearchNotebook();
    Open();
    TSearchF* form = OpenSearch();
    QPointer<TSearchF> guard(form);
    QSignalSpy ended(form, &TSearchF::searchEnded);
    WhenTresorAsks([&] {
        form->close();
        EXPECT_TRUE(form->isHidden());
        return int(KvAnswer::Ok);
    });
    Start(form, u"Wort"_qs, false);
    ASSERT_TRUE(WaitUntil([&] { return guard.isNull(); }, 20000));
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(KvSearchThread::AnyRunning());
    // No row after the stop.
    EXPECT_EQ(MainList().Ids(), ManyPages(kFirstMany, 29));
}

class SearchWindowClosing : public SearchWindow, public ::testing::WithParamInterface<bool>
{
};

// The program ends (or the directory closes) while the search runs: the search window
// stops the search, waits for its workers and goes before the notebook does.
TEST_P(SearchWindowClosing, WhileTheSearchRuns)
{
    const bool wholeProgram = GetParam();
    MakeSearchNotebook();
    Open();
    TSearchF* form = OpenSearch();
    QPointer<TSearchF> guard(form);
    QSignalSpy ended(form, &TSearchF::searchEnded);
    bool runningAtClose = false;
    WhenTresorAsks([&] {
        // Once the answer has returned, the tresor page waits for its second look: the
        // search runs, and no report is on its way.
        QTimer::singleShot(0, window.get(), [&] {
            runningAtClose = guard && guard->SearchRunning() && !guard->Search()->InReport();
            if (wholeProgram)
                window->close();
            else
                window->DestroyFolderAndPages(false);
        });
        return int(KvAnswer::Cancel);
    });
    Start(form, u"Wort"_qs, false);
    ASSERT_TRUE(WaitUntil([&] { return guard.isNull(); }, 20000));
    EXPECT_TRUE(runningAtClose);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(KvSearchThread::AnyRunning());
    EXPECT_EQ(MainList().Count(), 0);
    EXPECT_EQ(window->TopFolder(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(ProgramOrDirectory, SearchWindowClosing, ::testing::Bool());

TEST_F(SearchWindowTest, RefiningExaminesOnlyTheListedElements)
{
    MakeSearchNotebook();
    Open();
    TSearchF* form = OpenSearch();
    WhenTresorAsks([] { return int(KvAnswer::Ok); });
    // "Text" is in the five small pages; "Seite 1" names ten of the many.
    Start(form, u"Text"_qs);
    EXPECT_EQ(form->ResultList()->Ids(),
              (QStringList{u"Page0000001"_qs, u"Page0000002"_qs, u"Page0000003"_qs,
                           u"Page0000004"_qs, u"Page0000005"_qs}));
    ASSERT_TRUE(form->InResultListButton()->isEnabled());
    form->InResultListButton()->setChecked(true);
    Start(form, u"Plan"_qs);
    EXPECT_EQ(form->ResultList()->Ids(), QStringList{u"Page0000001"_qs});
    // Refining a list without the many pages finds none of them.
    form->InResultListButton()->setChecked(true);
    Start(form, u"Wort"_qs);
    EXPECT_TRUE(form->ResultList()->Ids().isEmpty());
    // Nothing left to refine: a new search in the folder again.
    EXPECT_FALSE(form->InResultListButton()->isEnabled());
    EXPECT_FALSE(form->InResultListButton()->isChecked());
}

TEST_F(SearchWindowTest, ColumnClicksSortAndTheSecondClickReverses)
{
    MakeSearchNotebook();
    Open();
    TSearchF* form = OpenSearch();
    WhenTresorAsks([] { return int(KvAnswer::Cancel); });
    Start(form, u"Text"_qs);
    KvResultListView* list = form->ResultList();
    auto captions = [list] {
        QStringList out;
        for (const KvResultRow& r : list->List().Rows())
            out.append(r.caption);
        return out;
    };
    auto header = [list](int column) {
        return list->model()->headerData(column, Qt::Horizontal).toString();
    };
    list->header()->sectionClicked(0);
    const QStringList ascending = captions();
    EXPECT_EQ(ascending,
              (QStringList{u"Archiv"_qs, u"Einkauf"_qs, u"Notiz"_qs, u"Plan"_qs, u"Rezepte"_qs}));
    EXPECT_EQ(header(0), KvTexts::Text(5000) + KvTexts::Text(12027));
    EXPECT_EQ(header(1), KvTexts::Text(5001));
    list->header()->sectionClicked(0);
    QStringList reversed = ascending;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(captions(), reversed);
    EXPECT_EQ(header(0), KvTexts::Text(5000) + KvTexts::Text(12028));
    list->header()->sectionClicked(1);
    EXPECT_EQ(header(1), KvTexts::Text(5001) + KvTexts::Text(12027));
    EXPECT_EQ(header(0), KvTexts::Text(5000));
    EXPECT_EQ(list->List().Rows().first().folder, u"Notizen"_qs);

    // While a search runs, column clicks change nothing.
    WhenTresorAsks([&] {
        const QStringList before = MainList().Ids();
        MainList().header()->sectionClicked(0);
        EXPECT_EQ(MainList().Ids(), before);
        EXPECT_EQ(MainList().model()->headerData(0, Qt::Horizontal).toString(),
                  KvTexts::Text(5000));
        return int(KvAnswer::Ok);
    });
    Start(form, u"Seite 4"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(SearchWindowTest, FullPathShowsEveryFolderAboveAndFollowsTheMainBox)
{
    MakePlainNotebook();
    Open();
    TSearchF* form = OpenSearch();
    form->FullPathBox()->setChecked(false);
    Start(form, u"Archiv"_qs);
    // The page Archiv (name and text) and nothing else.
    ASSERT_EQ(form->ResultList()->Ids(), QStringList{u"Page0000003"_qs});
    EXPECT_EQ(form->ResultList()->List().Rows()[0].folder, u"Alt"_qs);
    EXPECT_FALSE(Panel().FullPathBox()->isChecked());
    EXPECT_EQ(MainList().List().Rows()[0].folder, u"Alt"_qs);
    // The main window's box sets both lists.
    Panel().FullPathBox()->setChecked(true);
    EXPECT_TRUE(form->FullPathBox()->isChecked());
    EXPECT_EQ(form->ResultList()->List().Rows()[0].folder, u"Notizen/Projekte/Alt"_qs);
    EXPECT_EQ(MainList().List().Rows()[0].folder, u"Notizen/Projekte/Alt"_qs);
    // A folder shows itself at the end of its path.
    Start(form, u"Alt"_qs);
    ASSERT_EQ(form->ResultList()->Ids().value(0), u"Fldr0000002"_qs);
    EXPECT_EQ(form->ResultList()->List().Rows()[0].caption,
              u"["_qs + KvTexts::Text(5001) + u": Alt]"_qs);
    EXPECT_EQ(form->ResultList()->List().Rows()[0].folder, u"Notizen/Projekte/Alt"_qs);
}

TEST_F(SearchWindowTest, AHitOpensMarkedAndTheListStaysForTheNext)
{
    MakeSearchNotebook();
    Open();
    TSearchF* form = OpenSearch();
    WhenTresorAsks([] { return int(KvAnswer::Ok); });
    Start(form, u"wort"_qs);
    ASSERT_GE(form->ResultList()->Count(), 3);
    // A double click on the second hit shows it with its folder and tab, marked.
    ASSERT_TRUE(form->ResultList()->SelectId(PageIdOf(11)));
    form->ResultLVDblClick();
    EXPECT_EQ(Form(), nullptr);
    EXPECT_TRUE(form->isHidden());
    EXPECT_EQ(window->ShownPage(), Find<KvPage>(PageIdOf(11)));
    EXPECT_EQ(window->CurrentFolder(), Find<KvFolder>(u"Fldr0000003"_qs));
    TexRichEdit* edit = Find<KvTVPage>(PageIdOf(11))->EditorWidget();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->SelectedText(), u"Wort"_qs);
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(MainList().SelectedIds(), QStringList{PageIdOf(11)});
    EXPECT_FALSE(Panel().isHidden());
    // The next hit from the main list: Enter on its row.
    MainList().setFocus();
    ASSERT_TRUE(MainList().SelectId(PageIdOf(12)));
    QTest::keyClick(&MainList(), Qt::Key_Return);
    EXPECT_EQ(window->ShownPage(), Find<KvPage>(PageIdOf(12)));
    EXPECT_EQ(Find<KvTVPage>(PageIdOf(12))->EditorWidget()->SelectedText(), u"Wort"_qs);
    EXPECT_EQ(window->focusWidget(), &MainList());
}

TEST_F(SearchWindowTest, AnElementGoneSinceTheSearchIsReported)
{
    MakePlainNotebook();
    Open();
    TSearchF* form = OpenSearch();
    Start(form, u"Text"_qs);
    form->CloseBtnClick();
    ASSERT_TRUE(WaitUntil([this] { return Form() == nullptr; }));
    // Archiv leaves the notebook without the element commands (its row stays).
    Show(u"Page0000004"_qs);
    KvObject* gone = Find(u"Page0000003"_qs);
    window->CheckPointer(gone, false);
    gone->Remove();
    delete gone;
    ASSERT_TRUE(MainList().SelectId(u"Page0000003"_qs));
    prompter.Answer(KvAnswer::Ok);
    Main().ShowSelectedResult();
    const QList<KvScriptedPrompter::Question> asked = prompter.Messages();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].title, KvTexts::Text(12020));
    EXPECT_EQ(asked[0].text, KvTexts::Text(12021));
    EXPECT_EQ(asked[0].kind, KvMsgKind::Warning);
    EXPECT_EQ(window->ShownPage(), Find<KvPage>(u"Page0000004"_qs));
}

TEST_F(SearchWindowTest, BothListsFollowTheElementCommands)
{
    MakePlainNotebook();
    Open();
    TSearchF* form = OpenSearch();
    Start(form, u"Text"_qs);
    form->FullPathBox()->setChecked(true);
    // The window closes with its rows in the main list; opened again it has them too.
    form->CloseBtnClick();
    ASSERT_TRUE(WaitUntil([this] { return Form() == nullptr; }));
    form = OpenSearch();
    ASSERT_EQ(form->ResultList()->Count(), 5);
    form->CloseBtnClick();
    ASSERT_TRUE(WaitUntil([this] { return Form() == nullptr; }));

    // A folder renamed: the paths below it follow.
    Show(u"Fldr0000001"_qs);
    AnswerName(u"Vorhaben"_qs);
    Run(u"RenameFolderA"_qs);
    ASSERT_EQ(Find(u"Fldr0000001"_qs)->Name(), u"Vorhaben"_qs);
    EXPECT_EQ(MainList().List().Rows()[MainList().List().IndexOf(u"Page0000003"_qs)].folder,
              u"Notizen/Vorhaben/Alt"_qs);
    // A page deleted into the trash leaves the list, and the count follows.
    Show(u"Page0000002"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"DeletePageA"_qs);
    EXPECT_EQ(MainList().List().IndexOf(u"Page0000002"_qs), -1);
    EXPECT_EQ(MainList().Count(), 4);
    EXPECT_EQ(Panel().FoundLabel()->text(), u"4 "_qs + KvTexts::Text(12014));
    // A page moved keeps its row, rebuilt at its new place.
    Show(u"Page0000004"_qs);
    AnswerChoice(u"Fldr0000002"_qs);
    Run(u"PageMove2FolderA"_qs);
    ASSERT_EQ(Find(u"Page0000004"_qs)->Parent(), Find(u"Fldr0000002"_qs));
    EXPECT_EQ(MainList().List().Rows()[MainList().List().IndexOf(u"Page0000004"_qs)].folder,
              u"Notizen/Vorhaben/Alt"_qs);
    // A single row follows a change of its element's properties.
    Find(u"Page0000001"_qs)->SetName(u"Planung"_qs);
    EXPECT_TRUE(window->SingleUpdateSearchRes(Find(u"Page0000001"_qs)));
    EXPECT_EQ(MainList().List().Rows()[0].caption, u"Planung"_qs);
    EXPECT_FALSE(window->SingleUpdateSearchRes(Find(u"Page0000010"_qs)));
}

TEST_F(SearchWindowTest, WhileASearchRunsTheNotebookMayNotChangeShape)
{
    MakeSearchNotebook();
    Open();
    const QStringList busyCommands = {u"DeletePageA"_qs,      u"DeleteFolderA"_qs,
                                      u"PageMove2FolderA"_qs, u"FolderMove2FolderA"_qs,
                                      u"FolderCopyA"_qs,      u"EmptyTrashA"_qs};
    // A page in the trash, so that emptying it is possible at all.
    Show(u"Page0000005"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"DeletePageA"_qs);
    // A page of an ordinary folder, so that every one of them applies.
    Show(u"Page0000001"_qs);
    window->UpdateCommandStates();
    for (const QString& name : busyCommands)
        EXPECT_TRUE(A(name)->isEnabled()) << name.toStdString();
    EXPECT_TRUE(A(u"CreateNewPageA"_qs)->isEnabled());

    TSearchF* form = OpenSearch();
    WhenTresorAsks([&] {
        window->UpdateCommandStates();
        EXPECT_TRUE(window->CommandContext().searchRunning);
        EXPECT_TRUE(window->Elements().busy.SearchRunning());
        for (const QString& name : busyCommands)
            EXPECT_FALSE(A(name)->isEnabled()) << name.toStdString();
        // Creating and renaming stay possible.
        EXPECT_TRUE(A(u"CreateNewPageA"_qs)->isEnabled());
        EXPECT_TRUE(A(u"RenamePageA"_qs)->isEnabled());
        return int(KvAnswer::Ok);
    });
    Start(form, u"Wort"_qs);
    window->UpdateCommandStates();
    EXPECT_FALSE(window->CommandContext().searchRunning);
    for (const QString& name : busyCommands)
        EXPECT_TRUE(A(name)->isEnabled()) << name.toStdString();
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(SearchWindowTest, StartNeedsAFirstTermOrAFilterAndALoneSecondTermMoves)
{
    MakePlainNotebook();
    Open();
    TSearchF* form = OpenSearch();
    form->TermBox()->setEditText(QString());
    form->Term2Box()->setEditText(u"Plan"_qs);
    form->EnableCommands();
    EXPECT_FALSE(form->StartButton()->isEnabled());
    auto* status = form->findChild<QCheckBox*>(u"SearchStatusCB"_qs);
    status->setChecked(true);
    form->EnableCommands();
    EXPECT_TRUE(form->StartButton()->isEnabled());
    // Status 0 and the lone second term, which becomes the first one.
    form->StartBtnClick();
    ASSERT_TRUE(WaitUntil([form] { return !form->SearchRunning(); }));
    EXPECT_EQ(form->TermBox()->currentText(), u"Plan"_qs);
    EXPECT_TRUE(form->Term2Box()->currentText().isEmpty());
    EXPECT_EQ(form->Criteria().SText1, u"Plan"_qs);
    EXPECT_EQ(form->ResultList()->Ids(), QStringList{u"Page0000001"_qs});
}

TEST_F(SearchWindowTest, EnterInTheTermBoxStarts)
{
    MakePlainNotebook();
    Open();
    TSearchF* form = OpenSearch();
    form->TermBox()->setFocus();
    form->TermBox()->setEditText(u"Einkauf"_qs);
    QTest::keyClick(form->TermBox()->lineEdit(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([form] { return !form->SearchRunning() && form->Search(); }));
    EXPECT_EQ(form->ResultList()->Ids(), QStringList{u"Page0000004"_qs});
    // What is typed is searched, although the history has a longer term beginning with it.
    form->TermBox()->setEditText(QString());
    QTest::keyClicks(form->TermBox()->lineEdit(), u"Einkau"_qs);
    QTest::keyClick(form->TermBox()->lineEdit(), Qt::Key_Return);
    ASSERT_TRUE(WaitUntil([form] { return !form->SearchRunning(); }));
    EXPECT_EQ(form->Criteria().SText1, u"Einkau"_qs);
    // Esc closes the window when no search runs.
    QTest::keyClick(form, Qt::Key_Escape);
    EXPECT_EQ(Form(), nullptr);
    EXPECT_TRUE(form->isHidden());
}

TEST_F(SearchWindowTest, ItOpensAgainWithTheLastCriteria)
{
    MakePlainNotebook();
    Open();
    Show(u"Fldr0000002"_qs);
    TSearchF* form = OpenSearch();
    // The current folder is the default one.
    EXPECT_EQ(form->SearchFolder(), Find<KvFolder>(u"Fldr0000002"_qs));
    form->findChild<QCheckBox*>(u"FullWord1CB"_qs)->setChecked(true);
    form->findChild<QComboBox*>(u"CondCoB"_qs)->setCurrentIndex(KvSearchCrit::Or);
    form->Term2Box()->setEditText(u"Einkauf"_qs);
    Start(form, u"Archiv"_qs);
    EXPECT_EQ(form->ResultList()->Ids(), QStringList{u"Page0000003"_qs});
    form->CloseBtnClick();
    ASSERT_TRUE(WaitUntil([this] { return Form() == nullptr; }));

    for (int startFolder : {0, 1}) {
        SCOPED_TRACE(startFolder);
        SetOption(u"StartFldrSearch"_qs, startFolder);
        Show(u"Page0000001"_qs);
        form = OpenSearch();
        const KvSearchCrit crit = form->CriteriaFromControls();
        EXPECT_EQ(crit.SText1, u"Archiv"_qs);
        EXPECT_TRUE(crit.WhWord1);
        EXPECT_EQ(crit.Cond, KvSearchCrit::Or);
        EXPECT_EQ(crit.SText2, u"Einkauf"_qs);
        // The folder of the search, or the top folder when the option says so.
        EXPECT_EQ(crit.Fldr, startFolder == 1 ? u"TopFolder"_qs : u"Fldr0000002"_qs);
        EXPECT_EQ(form->ResultList()->Ids(), QStringList{u"Page0000003"_qs});
        form->CloseBtnClick();
        ASSERT_TRUE(WaitUntil([this] { return Form() == nullptr; }));
    }
    // A new window of a new program reads them from the settings (the folder aside).
    Close();
    Open();
    form = OpenSearch();
    const KvSearchCrit crit = form->CriteriaFromControls();
    EXPECT_EQ(crit.SText1, u"Archiv"_qs);
    EXPECT_TRUE(crit.WhWord1);
    EXPECT_EQ(crit.Cond, KvSearchCrit::Or);
    EXPECT_EQ(crit.SText2, u"Einkauf"_qs);
    EXPECT_EQ(form->TermBox()->count(), 1);
}

TEST_F(SearchWindowTest, TheTreeMenuSearchesItsFolder)
{
    MakePlainNotebook();
    Open();
    Show(u"Page0000003"_qs);
    QTreeWidgetItem* node = NodeOf(u"Page0000003"_qs);
    ASSERT_NE(node, nullptr);
    Tree()->scrollToItem(node);
    window->FolderTvPopupMPopup(Tree()->visualItemRect(node).center());
    window->Controls().folderTvPopupM->close();
    ASSERT_TRUE(A(u"SearchTVPMI"_qs)->isEnabled());
    A(u"SearchTVPMI"_qs)->trigger();
    ASSERT_NE(Form(), nullptr);
    EXPECT_EQ(Form()->SearchFolder(), Find<KvFolder>(u"Fldr0000002"_qs));
}

TEST_F(SearchWindowTest, PasteAndTheLinksOfTheRows)
{
    MakePlainNotebook();
    Open();
    TSearchF* form = OpenSearch();
    QGuiApplication::clipboard()->setText(u"Rezepte"_qs);
    form->Term2Box()->setFocus();
    form->TermBox()->setFocus();
    form->TermBox()->setEditText(QString());
    form->EnableCommands();
    ASSERT_TRUE(form->findChild<QPushButton*>(u"PasteBtn"_qs)->isEnabled());
    form->PasteBtnClick();
    EXPECT_EQ(form->TermBox()->currentText(), u"Rezepte"_qs);
    Start(form, form->TermBox()->currentText());
    form->ResultList()->selectAll();
    form->HyperlinkPMIClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"<file://*Page0000005*(Rezepte)>"_qs);
}

TEST_F(SearchWindowTest, TheResultMenuFollowsItsRows)
{
    struct Case
    {
        const char* what;
        QStringList rows;
        QStringList enabled; // of the menu's commands; the others are disabled
    };
    const QStringList menu = {u"ShowResA"_qs,        u"RenameResA"_qs,   u"DeleteResA"_qs,
                              u"MoveResPMI"_qs,      u"CopyResA"_qs,     u"PropsResPMI"_qs,
                              u"PrintResA"_qs,       u"ExportResPMI"_qs, u"HyperlinkPMI"_qs,
                              u"DeleteFromResPMI"_qs};
    const QStringList all = {u"TopFolder"_qs, u"Fldr0000001"_qs, u"Page0000001"_qs,
                             u"Page0000002"_qs};
    const QStringList single = {u"ShowResA"_qs,        u"RenameResA"_qs, u"CopyResA"_qs,
                                u"DeleteResA"_qs,      u"MoveResPMI"_qs, u"HyperlinkPMI"_qs,
                                u"DeleteFromResPMI"_qs};
    const QList<Case> cases = {
        {"nothing selected", {}, {}},
        {"a page", {u"Page0000001"_qs}, single},
        {"a folder", {u"Fldr0000001"_qs}, single},
        {"the top folder: no copy",
         {u"TopFolder"_qs},
         {u"ShowResA"_qs, u"RenameResA"_qs, u"HyperlinkPMI"_qs, u"DeleteFromResPMI"_qs}},
        {"two rows",
         {u"Page0000001"_qs, u"Page0000002"_qs},
         {u"DeleteResA"_qs, u"MoveResPMI"_qs, u"HyperlinkPMI"_qs, u"DeleteFromResPMI"_qs}},
        {"the top folder and a page: no delete, no move",
         {u"TopFolder"_qs, u"Page0000002"_qs},
         {u"HyperlinkPMI"_qs, u"DeleteFromResPMI"_qs}},
    };
    MakePlainNotebook();
    Open();
    // The rows of a search that may be saved.
    MainList().SetIds(all);
    window->Lists().SavedResults().NewCurrentSearch(KvSearchCrit{});
    Idle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MainList().clearSelection();
        for (const QString& id : c.rows) {
            const int row = int(MainList().List().IndexOf(id));
            MainList().selectionModel()->select(MainList().model()->index(row, 0),
                                                QItemSelectionModel::Select |
                                                    QItemSelectionModel::Rows);
        }
        Main().ResultLVPMPopup({5, 5});
        window->Controls().resultLVPM->close();
        for (const QString& name : menu)
            EXPECT_EQ(A(name)->isEnabled(), c.enabled.contains(name)) << name.toStdString();
    }

    // Rename runs on the row's element; the row follows.
    MainList().SelectId(u"Page0000001"_qs);
    Main().ResultLVPMPopup({5, 5});
    window->Controls().resultLVPM->close();
    AnswerName(u"Planung"_qs);
    Run(u"RenameResA"_qs);
    EXPECT_EQ(Find(u"Page0000001"_qs)->Name(), u"Planung"_qs);
    EXPECT_EQ(MainList().List().Rows()[2].caption, u"Planung"_qs);
    // Removing rows leaves the elements.
    MainList().SelectId(u"Page0000002"_qs);
    Main().ResultLVPMPopup({5, 5});
    window->Controls().resultLVPM->close();
    Run(u"DeleteFromResPMI"_qs);
    EXPECT_EQ(MainList().Ids(),
              (QStringList{u"TopFolder"_qs, u"Fldr0000001"_qs, u"Page0000001"_qs}));
    EXPECT_NE(Find(u"Page0000002"_qs), nullptr);
    EXPECT_EQ(Panel().FoundLabel()->text(), u"3 "_qs + KvTexts::Text(12014));

    // Read-only: nothing that writes.
    Close();
    Open(u"/dr"_qs);
    MainList().SetIds(all);
    MainList().SelectId(u"Page0000001"_qs);
    Main().ResultLVPMPopup({5, 5});
    window->Controls().resultLVPM->close();
    for (const QString& name : menu)
        EXPECT_EQ(A(name)->isEnabled(), name == u"ShowResA" || name == u"HyperlinkPMI")
            << name.toStdString();
}

TEST_F(SearchWindowTest, BroughtUpAgainDuringItsSearchItStays)
{
    MakeSearchNotebook();
    Open();
    TSearchF* form = OpenSearch();
    WhenTresorAsks([&] {
        form->CloseBtnClick();
        EXPECT_TRUE(form->isHidden());
        A(u"PageSearchA"_qs)->trigger();
        EXPECT_EQ(Form(), form);
        EXPECT_TRUE(form->isVisible());
        return int(KvAnswer::Ok);
    });
    Start(form, u"Wort"_qs);
    Idle();
    EXPECT_EQ(Form(), form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->ResultList()->Ids(), ManyPages());
}

TEST_F(SearchWindowTest, TextsKeptFromAnotherDirectoryGoWhenOneOpens)
{
    MakePlainNotebook();
    KvSearchTextCache::Keep({u"/anderswo/Page0000001.kvp"_qs, 5, 1}, u"Text"_qs);
    ASSERT_GT(KvSearchTextCache::Bytes(), 0);
    Open();
    EXPECT_EQ(KvSearchTextCache::Bytes(), 0);
}

TEST_F(SearchWindowTest, PagesThatCouldNotBeReadAreNamedAfterTheSearch)
{
    MakePlainNotebook();
    const QString notiz = dir + u"Page0000002.kvp"_qs;
    const QString einkauf = dir + u"Page0000004.kvp"_qs;
    {
        // Einkauf is protected, and its encrypted content is broken.
        KvDirStores::Reopen(dir);
        protect(u"Page0000004"_qs, u"Einkauf-Text"_qs, false);
        KvDirStores::Close();
        WriteAll(einkauf, "kein gueltiger Datensatz");
        // A directory where the file of Notiz should be: it cannot be read (also as root).
        ASSERT_TRUE(QFile::remove(notiz));
        ASSERT_TRUE(QDir().mkdir(notiz));
    }
    Open();
    TSearchF* form = OpenSearch();
    prompter.Answer(KvAnswer::Ok);
    Start(form, u"Text"_qs);
    // The other pages were found; the broken ones count as not found and are named once,
    // in the table's words with the system's reason, as a warning.
    EXPECT_EQ(form->ResultList()->Ids(),
              (QStringList{u"Page0000001"_qs, u"Page0000003"_qs, u"Page0000005"_qs}));
    ASSERT_TRUE(WaitUntil([this] { return prompter.Messages().size() == 1; }));
    const KvScriptedPrompter::Question asked = prompter.Messages().first();
    EXPECT_EQ(asked.kind, KvMsgKind::Warning);
    EXPECT_EQ(asked.title, KvTexts::Text(12091));
    EXPECT_EQ(asked.text,
              QStringList({KvTexts::Text(12090),
                           u"Notiz (Page0000002): "_qs +
                               KvTexts::Message(
                                   5630, {notiz, QString::fromLocal8Bit(std::strerror(EISDIR))}),
                           u"Einkauf (Page0000004): "_qs + KvTexts::Message(12092, {einkauf})})
                  .join(u"\r\n"_qs));
}

TEST_F(SearchWindowTest, KeywordsThatCouldNotBeReadAreNamedOnce)
{
    MakePlainNotebook();
    Open();
    const QString member = dir + u"keywords.099"_qs;
    ASSERT_TRUE(MakeSocketFile(member));
    TSearchF* form = OpenSearch();
    prompter.Answer(KvAnswer::Ok);
    Start(form, u"Text"_qs);
    ASSERT_TRUE(WaitUntil([this] { return prompter.Messages().size() == 1; }));
    const KvScriptedPrompter::Question asked = prompter.Messages().first();
    EXPECT_EQ(asked.kind, KvMsgKind::Warning);
    EXPECT_EQ(asked.title, KvTexts::Text(12091));
    EXPECT_EQ(asked.text, KvTexts::Message(12094, {KvTexts::Message(5637, {member})}));
}

TEST_F(SearchWindowTest, TheFolderIsChosenAmongTheRoots)
{
    MakePlainNotebook();
    Open();
    TSearchF* form = OpenSearch();
    AnswerChoice(u"Fldr0000002"_qs);
    form->SearchFldrBtnClick();
    EXPECT_EQ(form->SearchFolder(), Find<KvFolder>(u"Fldr0000002"_qs));
    EXPECT_EQ(form->findChild<QLineEdit*>(u"SearchFolderE"_qs)->text(), u"Alt"_qs);
    // Cancelled, the folder stays.
    AnswerChoice({});
    form->SearchFldrBtnClick();
    EXPECT_EQ(form->SearchFolder(), Find<KvFolder>(u"Fldr0000002"_qs));
    Start(form, u"Text"_qs);
    EXPECT_EQ(form->ResultList()->Ids(), QStringList{u"Page0000003"_qs});
}

} // namespace
