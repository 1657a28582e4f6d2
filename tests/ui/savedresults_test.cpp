// Saved search results in the main window: saved after a search, shown again at the next
// start, renamed, deleted; choosing one ends an unsaved search and lends its criteria to a
// new search; rows removed from it; the batch delete and move of the selected rows, also
// cancelled halfway; the lists written once after deletions.
#include "lists/kvitemlist.h"
#include "lists/kvsearchresult.h"
#include "lists/kvsearchresults.h"
#include "platform/kvfileseam.h"
#include "ui/kvmainlists.h"
#include "ui/kvmainsavedresults.h"
#include "ui/searchwindow.h"
#include "ui/tprogressf.h"

#include <QApplication>
#include <QComboBox>

using namespace korvtest;

namespace {

// Runs a hook at every message box before the script answers it.
class HookedPrompter : public KvScriptedPrompter
{
public:
    int MessageBox(const QString& title, const QString& text, int kind) override
    {
        if (hook)
            hook();
        return KvScriptedPrompter::MessageBox(title, text, kind);
    }
    std::function<void()> hook;
};

class SavedResults : public SearchWindow
{
protected:
    QComboBox& Box() const { return *Panel().SavedResults(); }
    QStringList Entries() const
    {
        QStringList texts;
        for (int i = 0; i < Box().count(); ++i)
            texts.append(Box().itemText(i));
        return texts;
    }
    KvSearchResults& Results() const { return *window->Lists().SavedResults().Results(); }
    // The saved results as a fresh load of the store reads them.
    std::unique_ptr<KvSearchResults> Stored() const
    {
        return std::make_unique<KvSearchResults>(dir + u"srchres"_qs);
    }
    // Searches for term in the top folder and closes the search window.
    void Search(const QString& term)
    {
        TSearchF* form = OpenSearch();
        form->FormInitialize(window->TopFolder());
        Start(form, term);
        form->CloseBtnClick();
        ASSERT_TRUE(WaitUntil([this] { return Form() == nullptr; }));
        Idle();
    }
    void Choose(int entry)
    {
        Box().setCurrentIndex(entry);
        Q_EMIT Box().activated(entry);
        Idle();
    }
    // Rows of a search that may be saved, all selected, the result list's menu prepared.
    void SelectRows(const QStringList& ids)
    {
        MainList().SetIds(ids);
        MainList().selectAll();
        Main().ResultLVPMPopup({5, 5});
        window->Controls().resultLVPM->close();
    }
    bool Enabled(const char* action) const { return A(QString::fromLatin1(action))->isEnabled(); }
};

TEST_F(SavedResults, SavedShownAgainRenamedAndDeleted)
{
    MakePlainNotebook();
    Open();
    EXPECT_EQ(Entries(), QStringList{KvTexts::Text(12084)});
    Search(u"Wort"_qs);
    EXPECT_EQ(Entries(), QStringList{u"'Wort'"_qs});
    EXPECT_TRUE(Enabled("SearchResSaveA"));
    EXPECT_FALSE(Enabled("SearchResDeleteA"));
    EXPECT_FALSE(Enabled("SearchResRenameA"));

    Run(u"SearchResSaveA"_qs);
    ASSERT_EQ(Box().count(), 2);
    EXPECT_EQ(Box().itemText(0), KvTexts::Text(12083));
    EXPECT_TRUE(Box().itemText(1).startsWith(u"'Wort'    ["_qs)) << Box().itemText(1).toStdString();
    EXPECT_EQ(Box().currentIndex(), 1);
    EXPECT_FALSE(Enabled("SearchResSaveA")) << "saved once";
    EXPECT_TRUE(Enabled("SearchResDeleteA"));
    EXPECT_TRUE(Enabled("SearchResRenameA"));
    ASSERT_EQ(Stored()->Count(), 1);
    EXPECT_EQ(Stored()->At(1)->Ids(), ManyPages());
    EXPECT_EQ(Stored()->At(1)->Criteria().SText1, u"Wort"_qs);

    // The next start shows it again.
    Close();
    Open();
    EXPECT_EQ(Box().currentIndex(), 1);
    EXPECT_EQ(MainList().Ids(), ManyPages());
    EXPECT_EQ(Panel().FoundLabel()->text(), u"40 "_qs + KvTexts::Text(12014));

    AnswerName(u"Alle Wörter"_qs);
    Run(u"SearchResRenameA"_qs);
    ASSERT_FALSE(named.isEmpty());
    EXPECT_EQ(named.last().title, KvTexts::Text(5063));
    EXPECT_TRUE(named.last().preset.startsWith(u"'Wort'"_qs));
    EXPECT_EQ(Box().itemText(1), u"Alle Wörter"_qs);
    EXPECT_EQ(Box().currentIndex(), 1);
    EXPECT_EQ(Stored()->At(1)->Descr(), u"Alle Wörter"_qs);

    prompter.Answer(KvAnswer::Yes);
    Run(u"SearchResDeleteA"_qs);
    ASSERT_FALSE(prompter.Messages().isEmpty());
    EXPECT_EQ(prompter.Messages().last().text, KvTexts::Text(5062));
    EXPECT_EQ(Entries(), QStringList{KvTexts::Text(12084)});
    EXPECT_TRUE(MainList().Ids().isEmpty());
    EXPECT_EQ(Stored()->Count(), 0);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(SavedResults, ChoosingOneEndsTheUnsavedSearchAndLendsItsCriteria)
{
    MakePlainNotebook();
    Open();
    Search(u"Wort"_qs);
    Run(u"SearchResSaveA"_qs);
    Search(u"Archiv"_qs);
    EXPECT_EQ(MainList().Ids(), QStringList{u"Page0000003"_qs});
    EXPECT_EQ(Box().itemText(0), u"'Archiv'"_qs);
    EXPECT_EQ(Box().currentIndex(), 0);
    EXPECT_TRUE(Enabled("SearchResSaveA"));

    Choose(1);
    EXPECT_EQ(MainList().Ids(), ManyPages());
    EXPECT_EQ(Box().itemText(0), KvTexts::Text(12083)) << "the unsaved search is over";
    Choose(0);
    EXPECT_EQ(MainList().Ids(), ManyPages()) << "entry 0 keeps the rows";
    EXPECT_FALSE(Enabled("SearchResSaveA"));
    EXPECT_FALSE(Enabled("SearchResDeleteA"));

    // A new search starts from the criteria of the saved result shown.
    Choose(1);
    Panel().NewSearchButton()->click();
    TSearchF* form = Form();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->CriteriaFromControls().SText1, u"Wort"_qs);
    form->CloseBtnClick();
    ASSERT_TRUE(WaitUntil([this] { return Form() == nullptr; }));
}

TEST_F(SavedResults, RowsRemovedLeaveTheSavedResult)
{
    MakePlainNotebook();
    Open();
    Search(u"Wort"_qs);
    Run(u"SearchResSaveA"_qs);
    MainList().SelectId(PageIdOf(12));
    Main().ResultLVPMPopup({5, 5});
    window->Controls().resultLVPM->close();
    Run(u"DeleteFromResPMI"_qs);
    EXPECT_FALSE(MainList().Ids().contains(PageIdOf(12)));
    EXPECT_NE(Find(PageIdOf(12)), nullptr) << "the element stays";
    EXPECT_FALSE(Stored()->At(1)->Ids().contains(PageIdOf(12)));
    EXPECT_EQ(Stored()->At(1)->Criteria().SText1, u"Wort"_qs) << "the criteria stay";
}

TEST_F(SavedResults, BatchDeleteHandlesAPageInADeletedFolderOnce)
{
    SetOption(u"MsgDelFolder"_qs, false);
    SetOption(u"MsgDelPage"_qs, false);
    MakePlainNotebook();
    Open();
    Results().NewCurrentSearch(KvSearchCrit{});
    SelectRows({u"Fldr0000003"_qs, PageIdOf(10), u"Page0000004"_qs});
    ASSERT_TRUE(Enabled("DeleteResA"));
    Run(u"DeleteResA"_qs);
    KvFolder* trash = window->TrashFolder();
    ASSERT_NE(Find(u"Fldr0000003"_qs), nullptr);
    EXPECT_TRUE(Find(u"Fldr0000003"_qs)->HasAncestor(trash));
    ASSERT_NE(Find(PageIdOf(10)), nullptr) << "a second delete would remove it for good";
    EXPECT_EQ(Find(PageIdOf(10))->Parent(), Find(u"Fldr0000003"_qs));
    EXPECT_EQ(Find(u"Page0000004"_qs)->Parent(), trash);
    EXPECT_TRUE(MainList().Ids().isEmpty()) << "deleted elements leave the list";
}

TEST_F(SavedResults, ClosingTheProgressWindowStopsTheBatchAndTheResultsAreWritten)
{
    SetOption(u"MsgDelPage"_qs, true);
    MakePlainNotebook();
    Open();
    Search(u"Wort"_qs);
    Run(u"SearchResSaveA"_qs);
    SelectRows({PageIdOf(10), PageIdOf(11), PageIdOf(12)});
    HookedPrompter hooked;
    KvPrompterScope scope(hooked);
    int questions = 0;
    QString progressTitle;
    hooked.hook = [&] {
        // At the second question the user closes the progress window.
        if (++questions != 2)
            return;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* p = qobject_cast<TProgressF*>(w); p && p->isVisible()) {
                progressTitle = p->windowTitle();
                p->close();
            }
        }
    };
    hooked.Answer(KvAnswer::Yes).Answer(KvAnswer::Yes).Answer(KvAnswer::Yes);
    {
        KvFileSeam::Scope count({KvFileSeam::Rename, u"*/srchres.0*"_qs, 1000, EIO, false});
        Run(u"DeleteResA"_qs);
        EXPECT_EQ(KvFileSeam::Seen(), 1) << "the saved results are written once, at the end";
    }
    EXPECT_EQ(progressTitle, KvTexts::Text(2202));
    EXPECT_EQ(questions, 2);
    KvFolder* trash = window->TrashFolder();
    EXPECT_EQ(Find(PageIdOf(10))->Parent(), trash);
    EXPECT_EQ(Find(PageIdOf(11))->Parent(), trash);
    EXPECT_NE(Find(PageIdOf(12))->Parent(), trash) << "stopped before the third";
    const QStringList stored = Stored()->At(1)->Ids();
    EXPECT_FALSE(stored.contains(PageIdOf(10)));
    EXPECT_FALSE(stored.contains(PageIdOf(11)));
    EXPECT_TRUE(stored.contains(PageIdOf(12)));
    EXPECT_EQ(hooked.Pending(), 1);
}

TEST_F(SavedResults, BatchMoveIntoAFolderAndNeverBelowItself)
{
    MakePlainNotebook();
    Open();
    Results().NewCurrentSearch(KvSearchCrit{});
    SelectRows({u"Page0000004"_qs, u"Fldr0000001"_qs, u"Fldr0000002"_qs});
    ASSERT_TRUE(Enabled("MoveResPMI"));
    AnswerChoice(u"Fldr0000002"_qs);
    prompter.Answer(KvAnswer::Ok);
    Run(u"MoveResPMI"_qs);
    EXPECT_EQ(Find(u"Page0000004"_qs)->Parent(), Find(u"Fldr0000002"_qs));
    // Projekte would go below itself: 5019 with its name, 5011; Alt is the target itself.
    EXPECT_EQ(Find(u"Fldr0000001"_qs)->Parent(), window->TopFolder());
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages().first().title, KvTexts::Text(5019) + u"'Projekte':"_qs);
    EXPECT_EQ(prompter.Messages().first().text, KvTexts::Text(5011));
    EXPECT_EQ(Find(u"Fldr0000002"_qs)->Parent(), Find(u"Fldr0000001"_qs));
    // Nothing chosen: nothing moves.
    SelectRows({u"Page0000005"_qs});
    AnswerChoice(QString());
    Run(u"MoveResPMI"_qs);
    EXPECT_EQ(Find(u"Page0000005"_qs)->Parent(), window->TopFolder());
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(SavedResults, ReadOnlySavesNothing)
{
    MakePlainNotebook();
    Open();
    Search(u"Wort"_qs);
    Run(u"SearchResSaveA"_qs);
    Close();
    const QByteArray stored = ReadAll(dir + u"srchres.001"_qs);
    Open(u"/dr"_qs);
    EXPECT_EQ(Box().currentIndex(), 1);
    EXPECT_FALSE(Enabled("SearchResDeleteA"));
    EXPECT_FALSE(Enabled("SearchResRenameA"));
    Search(u"Archiv"_qs);
    EXPECT_FALSE(Enabled("SearchResSaveA"));
    Choose(1);
    Close();
    EXPECT_EQ(ReadAll(dir + u"srchres.001"_qs), stored);
}

} // namespace
