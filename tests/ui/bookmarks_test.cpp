// The bookmark dialog through the scripted prompter: each button, cancel, sorting then OK,
// the selected entry kept, read-only work, a bookmark whose element is gone; the properties
// dialogs' entry point; bookmarks cleaned when their elements are deleted.
#include "lists/kvitemlist.h"
#include "platform/kvfileseam.h"
#include "ui/elementwindow.h"
#include "ui/kvmainlists.h"
#include "ui/kvresultlistview.h"
#include "ui/tbookmarksf.h"

#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>

using namespace korvtest;

namespace {

class Bookmarks : public ElementWindow
{
protected:
    void SetUp() override
    {
        ElementWindow::SetUp();
        MakeNotebook();
        // Plan, a page that is gone, Alt, Einkauf.
        WriteAll(dir + u"bookmark.001"_qs, "[Bookmarks]\r\nItem0000001=Page0000001\r\n"
                                           "Item0000002=Page0000077\r\n"
                                           "Item0000003=Fldr0000002\r\n"
                                           "Item0000004=Page0000004\r\n");
    }

    QString Store() const { return dir + u"bookmark.001"_qs; }
    KvItemList& List() const { return *window->Lists().BookmarkList(); }
    // What a fresh load of the store lists.
    QStringList Stored() const { return KvItemList(dir + u"bookmark"_qs, u"Bookmarks"_qs).Ids(); }

    // Runs the bookmark command; work acts on the open dialog and gives its result.
    void WithDialog(const std::function<int(TBookmarksF&)>& work)
    {
        prompter.AnswerDialogWith(
            [work] {
                TBookmarksF* d = TBookmarksF::Active();
                if (!d)
                    return int(TBookmarksF::Cancelled);
                d->EnableCommands();
                return work(*d);
            },
            TBookmarksF::DialogName);
        Run(u"BookmarksA"_qs);
    }
    static void Select(TBookmarksF& d, const QString& id)
    {
        ASSERT_TRUE(d.List()->SelectId(id)) << id.toStdString();
        d.EnableCommands();
    }
};

const QString kPlan = u"Page0000001"_qs;
const QString kGone = u"Page0000077"_qs;
const QString kAlt = u"Fldr0000002"_qs;
const QString kEinkauf = u"Page0000004"_qs;
const QString kRezepte = u"Page0000005"_qs;

TEST_F(Bookmarks, EachButtonOnTheRowsElement)
{
    Open();
    struct ButtonCase
    {
        const char* what;
        std::function<void(TBookmarksF&)> press;
        QStringList ids;  // of the list afterwards
        QStringList rows; // of the dialog afterwards
    };
    const ButtonCase cases[] = {
        {"New adds the chosen element at the end, selected",
         [&](TBookmarksF& d) {
             AnswerChoice(kRezepte);
             d.NewBookmarkBtnClick();
             EXPECT_EQ(d.List()->SelectedId(), kRezepte);
         },
         {kPlan, kGone, kAlt, kEinkauf, kRezepte},
         {kPlan, kAlt, kEinkauf, kRezepte}},
        {"New with a bookmark already there only selects it",
         [&](TBookmarksF& d) {
             AnswerChoice(kAlt);
             d.NewBookmarkBtnClick();
             EXPECT_EQ(d.List()->SelectedId(), kAlt);
         },
         {kPlan, kGone, kAlt, kEinkauf},
         {kPlan, kAlt, kEinkauf}},
        {"Remove takes the selected row's element, not the id at its index",
         [&](TBookmarksF& d) {
             Select(d, kAlt); // row 1; id 1 is the element that is gone
             d.DelBookmarkBtnClick();
         },
         {kPlan, kGone, kEinkauf},
         {kPlan, kEinkauf}},
        {"Up swaps with the row above, passing the gone element's id",
         [&](TBookmarksF& d) {
             Select(d, kAlt);
             d.MoveUpBtnClick();
             EXPECT_EQ(d.List()->SelectedId(), kAlt);
         },
         {kAlt, kGone, kPlan, kEinkauf},
         {kAlt, kPlan, kEinkauf}},
        {"Down swaps with the row below",
         [&](TBookmarksF& d) {
             Select(d, kPlan);
             d.MoveDownBtnClick();
         },
         {kAlt, kGone, kPlan, kEinkauf},
         {kAlt, kPlan, kEinkauf}},
    };
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAll(Store(), "[Bookmarks]\r\nItem0000001=Page0000001\r\nItem0000002=Page0000077\r\n"
                          "Item0000003=Fldr0000002\r\nItem0000004=Page0000004\r\n");
        List().Load();
        QStringList rows;
        WithDialog([&](TBookmarksF& d) {
            c.press(d);
            rows = d.List()->Ids();
            return TBookmarksF::Closed;
        });
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(List().Ids(), c.ids);
        EXPECT_EQ(Stored(), c.ids) << "OK saves";
        EXPECT_EQ(List().View(), nullptr) << "the list is unbound";
    }
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Bookmarks, EnablingFollowsTheSelectedRow)
{
    Open();
    WithDialog([&](TBookmarksF& d) {
        EXPECT_TRUE(d.List()->isEnabled());
        EXPECT_FALSE(d.ShowButton()->isEnabled());
        EXPECT_TRUE(d.NewButton()->isEnabled());
        EXPECT_FALSE(d.DeleteButton()->isEnabled());
        Select(d, kPlan);
        EXPECT_TRUE(d.ShowButton()->isEnabled());
        EXPECT_TRUE(d.DeleteButton()->isEnabled());
        EXPECT_FALSE(d.UpButton()->isEnabled()) << "the first row";
        EXPECT_TRUE(d.DownButton()->isEnabled());
        Select(d, kEinkauf);
        EXPECT_TRUE(d.UpButton()->isEnabled());
        EXPECT_FALSE(d.DownButton()->isEnabled()) << "the last row";
        EXPECT_EQ(d.windowTitle(), KvTexts::Text(1229));
        return TBookmarksF::Cancelled;
    });
}

TEST_F(Bookmarks, CancelPutsTheListBackAsItWas)
{
    Open();
    const QByteArray stored = ReadAll(Store());
    WithDialog([&](TBookmarksF& d) {
        AnswerChoice(kRezepte);
        d.NewBookmarkBtnClick();
        Select(d, kPlan);
        d.DelBookmarkBtnClick();
        Select(d, kEinkauf);
        d.MoveUpBtnClick();
        EXPECT_EQ(d.List()->Ids(), (QStringList{kEinkauf, kAlt, kRezepte}));
        return TBookmarksF::Cancelled;
    });
    EXPECT_EQ(List().Ids(), (QStringList{kPlan, kGone, kAlt, kEinkauf}));
    EXPECT_FALSE(List().Changed());
    EXPECT_EQ(ReadAll(Store()), stored) << "nothing written";
    // Another dialog shows the list as it was.
    WithDialog([&](TBookmarksF& d) {
        EXPECT_EQ(d.List()->Ids(), (QStringList{kPlan, kAlt, kEinkauf}));
        return TBookmarksF::Cancelled;
    });
}

TEST_F(Bookmarks, SortedByTheSecondColumnThenOkStoresThatOrder)
{
    Open();
    WithDialog([&](TBookmarksF& d) {
        d.List()->header()->sectionClicked(1);
        // Folders: Alt is below Projekte, Plan in Projekte, Einkauf in the top folder.
        EXPECT_EQ(d.List()->Ids(), (QStringList{kAlt, kEinkauf, kPlan}));
        return TBookmarksF::Closed;
    });
    EXPECT_EQ(Stored(), (QStringList{kAlt, kEinkauf, kPlan})) << "the element that is gone goes";
}

TEST_F(Bookmarks, TheSelectionComesBackAndShowShowsTheElement)
{
    Open();
    WithDialog([&](TBookmarksF& d) {
        Select(d, kAlt);
        d.MoveUpBtnClick(); // changed: saved with the selection
        return TBookmarksF::Closed;
    });
    WithDialog([&](TBookmarksF& d) {
        EXPECT_EQ(d.List()->SelectedId(), kAlt);
        Select(d, kEinkauf);
        return TBookmarksF::ShowElement;
    });
    ASSERT_NE(window->ShownPage(), nullptr);
    EXPECT_EQ(window->ShownPage()->Id(), kEinkauf);
    WithDialog([&](TBookmarksF& d) {
        EXPECT_EQ(d.List()->SelectedId(), kEinkauf) << "also an unchanged list keeps it";
        return TBookmarksF::Cancelled;
    });
}

TEST_F(Bookmarks, FullPathRebuildsTheRowsAndIsKept)
{
    Open();
    WithDialog([&](TBookmarksF& d) {
        Select(d, kAlt);
        d.FullPathBox()->setChecked(true);
        d.ShowFullPathCBClick();
        EXPECT_EQ(d.List()->List().Rows().at(1).folder, u"Notizen/Projekte/Alt"_qs);
        EXPECT_EQ(d.List()->SelectedId(), kAlt);
        return TBookmarksF::Closed;
    });
    WithDialog([&](TBookmarksF& d) {
        EXPECT_TRUE(d.FullPathBox()->isChecked());
        return TBookmarksF::Cancelled;
    });
}

TEST_F(Bookmarks, ReadOnlyShowsButChangesAndWritesNothing)
{
    Open(u"/dr"_qs);
    const QByteArray stored = ReadAll(Store());
    WithDialog([&](TBookmarksF& d) {
        EXPECT_EQ(d.windowTitle(), KvTexts::Text(1229) + u' ' + KvTexts::Text(5201));
        Select(d, kAlt);
        EXPECT_TRUE(d.ShowButton()->isEnabled());
        EXPECT_FALSE(d.NewButton()->isEnabled());
        EXPECT_FALSE(d.DeleteButton()->isEnabled());
        EXPECT_FALSE(d.UpButton()->isEnabled());
        EXPECT_FALSE(d.DownButton()->isEnabled());
        d.DelBookmarkBtnClick();
        d.MoveUpBtnClick();
        d.List()->header()->sectionClicked(0);
        EXPECT_EQ(d.List()->Ids(), (QStringList{kPlan, kAlt, kEinkauf})) << "no sorting";
        return TBookmarksF::ShowElement;
    });
    EXPECT_EQ(window->CurrentFolder()->Id(), kAlt);
    window->Lists().SetBookmark(*Find(kRezepte), true);
    EXPECT_EQ(ReadAll(Store()), stored);
}

TEST_F(Bookmarks, ThePropertiesDialogsBox)
{
    Open();
    EXPECT_TRUE(window->Lists().IsBookmark(*Find(kPlan)));
    EXPECT_FALSE(window->Lists().IsBookmark(*Find(kRezepte)));
    window->Lists().SetBookmark(*Find(kRezepte), true);
    EXPECT_EQ(Stored(), (QStringList{kPlan, kGone, kAlt, kEinkauf, kRezepte}));
    window->Lists().SetBookmark(*Find(kPlan), false);
    EXPECT_EQ(Stored(), (QStringList{kGone, kAlt, kEinkauf, kRezepte}));
}

TEST_F(Bookmarks, DeletedElementsLeaveWithOneWriteOfTheStore)
{
    SetOption(u"MsgDelFolder"_qs, false);
    SetOption(u"MsgEmptyTrash"_qs, false);
    Open();
    {
        KvFileSeam::Scope count({KvFileSeam::Rename, u"*/bookmark.0*"_qs, 1000, EIO, false});
        // Projekte goes with Plan and Alt below it.
        Show(u"Fldr0000001"_qs);
        Run(u"DeleteFolderA"_qs);
        EXPECT_EQ(KvFileSeam::Seen(), 1);
    }
    EXPECT_EQ(Stored(), (QStringList{kGone, kEinkauf}));
    // Emptying the trash: nothing of it is a bookmark any more, nothing is written.
    const QByteArray stored = ReadAll(Store());
    Show(u"TrashFolder"_qs);
    Run(u"EmptyTrashA"_qs);
    EXPECT_EQ(ReadAll(Store()), stored);
}

} // namespace
