// The browse history in the window: the visits of shown pages, F7 and F8 with their
// enabling, the history list and its menu, the store per user, and nothing written when the
// options do not keep the history or the directory is read-only.
#include "elements/kvelementedit.h"
#include "elements/kvelementenv.h"
#include "lists/kvbrowsehistory.h"
#include "ui/elementwindow.h"
#include "ui/kvhistorylist.h"
#include "ui/kvmainhistory.h"
#include "ui/kvmainlists.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>

using namespace korvtest;

namespace {

class History : public ElementWindow
{
protected:
    void SetUp() override
    {
        ElementWindow::SetUp();
        SetOption(u"SaveHistory"_qs, true);
        MakeNotebook();
    }

    KvBrowseHistory& H() const { return window->Lists().History().History(); }
    KvHistoryList& List() const { return *window->Controls().historyLV; }
    QString Store() const { return dir + u"history.001"_qs; }
    static void SetLimit(int n)
    {
        TexProfileFile settings(KvPaths::SettingsFile());
        settings.WriteInteger(u"MainF"_qs, u"HistoryLimit"_qs, n);
        settings.UpdateFile();
    }
    // The last digit of each entry's id: "4123" for Page0000004, Page0000001, ...
    QString Digits() const
    {
        QString s;
        for (const QString& id : H().Entries())
            s += id.right(1);
        return s;
    }
    // Opens the window and starts its history empty; the page shown at the start is
    // Einkauf (Page0000004).
    void OpenFresh(const QString& mode = u"/d"_qs)
    {
        Open(mode);
        ASSERT_EQ(window->ShownPage(), Find(u"Page0000004"_qs));
    }
};

TEST_F(History, VisitsStepByStepWithF7AndF8)
{
    OpenFresh();
    EXPECT_EQ(Digits(), u"4"_qs);
    struct Step
    {
        const char* what;
        std::function<void()> act;
        QString entries;
        int position;
        QString shown;
        bool previous;
        bool next;
    };
    const Step steps[] = {
        {"Plan", [&] { Show(u"Page0000001"_qs); }, u"41"_qs, 2, u"Page0000001"_qs, true, false},
        {"Notiz", [&] { Show(u"Page0000002"_qs); }, u"412"_qs, 3, u"Page0000002"_qs, true, false},
        {"Archiv", [&] { Show(u"Page0000003"_qs); }, u"4123"_qs, 4, u"Page0000003"_qs, true, false},
        {"F7 shows Notiz", [&] { Run(u"Browse2PreviousPageA"_qs); }, u"4123"_qs, 3,
         u"Page0000002"_qs, true, true},
        {"Rezepte: Notiz moves to the end before it", [&] { Show(u"Page0000005"_qs); }, u"41325"_qs,
         5, u"Page0000005"_qs, true, false},
        {"F7", [&] { Run(u"Browse2PreviousPageA"_qs); }, u"41325"_qs, 4, u"Page0000002"_qs, true,
         true},
        {"F7", [&] { Run(u"Browse2PreviousPageA"_qs); }, u"41325"_qs, 3, u"Page0000003"_qs, true,
         true},
        {"F8", [&] { Run(u"Browse2NextPageA"_qs); }, u"41325"_qs, 4, u"Page0000002"_qs, true, true},
        {"F8 to the newest", [&] { Run(u"Browse2NextPageA"_qs); }, u"41325"_qs, 5,
         u"Page0000005"_qs, true, false},
        {"a folder shows its page: a visit", [&] { Show(u"Fldr0000002"_qs); }, u"41253"_qs, 5,
         u"Page0000003"_qs, true, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        Idle();
        EXPECT_EQ(Digits(), s.entries);
        EXPECT_EQ(H().Position(), s.position);
        ASSERT_NE(window->ShownPage(), nullptr);
        EXPECT_EQ(window->ShownPage()->Id(), s.shown);
        EXPECT_EQ(A(u"Browse2PreviousPageA"_qs)->isEnabled(), s.previous);
        EXPECT_EQ(A(u"Browse2NextPageA"_qs)->isEnabled(), s.next);
    }
    // F7 and F8 are the keys.
    EXPECT_EQ(A(u"Browse2PreviousPageA"_qs)->shortcut(), QKeySequence(Qt::Key_F7));
    EXPECT_EQ(A(u"Browse2NextPageA"_qs)->shortcut(), QKeySequence(Qt::Key_F8));
}

TEST_F(History, PreviousAtTheFirstEntryOnlyWhileAnotherPageIsShown)
{
    OpenFresh();
    Idle();
    EXPECT_FALSE(A(u"Browse2PreviousPageA"_qs)->isEnabled()) << "the shown page is the first";
    EXPECT_FALSE(A(u"ShowHistoryA"_qs)->isEnabled()) << "the list needs two entries";
    Show(u"Page0000001"_qs);
    EXPECT_TRUE(A(u"ShowHistoryA"_qs)->isEnabled());
    // At the first entry while Plan is shown: previous shows that entry.
    H().SetPosition(1);
    Idle();
    EXPECT_TRUE(A(u"Browse2PreviousPageA"_qs)->isEnabled());
    Run(u"Browse2PreviousPageA"_qs);
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000004"_qs);
    EXPECT_EQ(H().Position(), 1);
    EXPECT_FALSE(A(u"Browse2PreviousPageA"_qs)->isEnabled());
}

TEST_F(History, DeletedPagesLeaveTheHistory)
{
    SetOption(u"MsgDelPage"_qs, false);
    OpenFresh();
    Show(u"Page0000001"_qs);
    Show(u"Page0000002"_qs);
    Show(u"Page0000005"_qs);
    Run(u"Browse2PreviousPageA"_qs); // Notiz, position 3 of 4
    EXPECT_EQ(H().Position(), 3);
    // Rezepte, after the current entry: the position stays.
    KvElementEnv env = window->ElementEnv();
    KvElementEdit(env).DeletePage(*Find<KvPage>(u"Page0000005"_qs));
    EXPECT_EQ(Digits(), u"412"_qs);
    EXPECT_EQ(H().Position(), 3);
    // Notiz, the current entry: the one before becomes current.
    KvElementEdit(env).DeletePage(*Find<KvPage>(u"Page0000002"_qs));
    EXPECT_EQ(Digits(), u"41"_qs);
    EXPECT_EQ(H().Position(), 2);
}

TEST_F(History, TheLimitOfTheSettingsDropsTheOldest)
{
    SetLimit(3);
    OpenFresh();
    for (const char* id : {"Page0000001", "Page0000002", "Page0000003", "Page0000005"})
        Show(QString::fromLatin1(id));
    EXPECT_EQ(Digits(), u"235"_qs);
}

TEST_F(History, TheListShowsTheNewestFirstAndShowsAPage)
{
    OpenFresh();
    Show(u"Page0000001"_qs);
    Show(u"Page0000002"_qs);
    Show(u"Page0000001"_qs);
    Show(u"Page0000003"_qs);
    Run(u"Browse2PreviousPageA"_qs); // Plan is shown
    Run(u"ShowHistoryA"_qs);
    ASSERT_TRUE(List().isVisible());
    EXPECT_TRUE(A(u"ShowHistoryA"_qs)->isChecked());
    EXPECT_EQ(List().Ids(), (QStringList{u"Page0000003"_qs, u"Page0000001"_qs, u"Page0000002"_qs,
                                         u"Page0000004"_qs}));
    EXPECT_EQ(List().SelectedId(), u"Page0000001"_qs) << "the page shown";
    EXPECT_GE(List().x(), 0);
    EXPECT_LE(List().geometry().right(), window->width());
    EXPECT_GE(List().height(), 20);

    // Its menu: nothing without a selection.
    List().clearSelection();
    Q_EMIT List().menuRequested();
    EXPECT_FALSE(A(u"ShowHistPMI"_qs)->isEnabled());
    EXPECT_FALSE(A(u"HyperlinkHistPMI"_qs)->isEnabled());
    List().SelectId(u"Page0000002"_qs);
    Q_EMIT List().menuRequested();
    EXPECT_TRUE(A(u"HyperlinkHistPMI"_qs)->isEnabled());
    A(u"HyperlinkHistPMI"_qs)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"<file://*Page0000002*(Notiz)>"_qs);
    EXPECT_FALSE(List().isVisible()) << "copying hides the list";
    EXPECT_FALSE(A(u"ShowHistoryA"_qs)->isChecked());

    // A row shows its page; the position goes to its last entry.
    Run(u"ShowHistoryA"_qs);
    List().SelectId(u"Page0000002"_qs);
    Q_EMIT List().menuRequested();
    A(u"ShowHistPMI"_qs)->trigger();
    Idle();
    EXPECT_FALSE(List().isVisible());
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000002"_qs);
    EXPECT_EQ(H().Position(), 2);
    EXPECT_EQ(Digits(), u"4213"_qs) << "shown from the history: nothing recorded";

    // The command hides a shown list; so does Esc.
    Run(u"ShowHistoryA"_qs);
    Run(u"ShowHistoryA"_qs);
    EXPECT_FALSE(List().isVisible());
    Run(u"ShowHistoryA"_qs);
    QTest::keyClick(&List(), Qt::Key_Escape);
    EXPECT_FALSE(List().isVisible());
}

TEST_F(History, EachUserKeepsTheirsAndReadOnlyOrOffWritesNothing)
{
    OpenFresh();
    Show(u"Page0000001"_qs);
    Show(u"Page0000002"_qs);
    Close();
    EXPECT_EQ(KvBrowseHistory::ReadEntries(dir + u"history"_qs, u"tester"_qs),
              (QStringList{u"Page0000004"_qs, u"Page0000001"_qs, u"Page0000002"_qs}));

    // Another user starts empty (the last page of the directory is shown) and keeps a
    // section of their own.
    env.Data().userName = u"anna"_qs;
    env.Apply();
    Open();
    EXPECT_EQ(Digits(), u"2"_qs);
    Show(u"Page0000005"_qs);
    Close();
    EXPECT_EQ(KvBrowseHistory::ReadEntries(dir + u"history"_qs, u"anna"_qs),
              (QStringList{u"Page0000002"_qs, u"Page0000005"_qs}));
    env.Data().userName = u"tester"_qs;
    env.Apply();

    // Read-only: what is stored is loaded, nothing is written, also after the options
    // changed.
    const QByteArray stored = ReadAll(Store());
    Open(u"/dr"_qs);
    EXPECT_EQ(Digits(), u"4125"_qs) << "the stored entries, then the page shown";
    window->Lists().OptionsChanged();
    Show(u"Page0000003"_qs);
    Close();
    EXPECT_EQ(ReadAll(Store()), stored);

    // The options do not keep it: nothing is read or written.
    SetOption(u"SaveHistory"_qs, false);
    QFile::remove(Store());
    Open(u"/dw"_qs);
    EXPECT_EQ(Digits(), u"5"_qs);
    Show(u"Page0000003"_qs);
    window->Lists().OptionsChanged();
    Close();
    EXPECT_FALSE(QFile::exists(Store()));
}

} // namespace
