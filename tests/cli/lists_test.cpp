// The list subcommands on a hand-made notebook: bookmarks read and changed as the dialog's
// buttons, the history the program would load, saved results listed, shown, renamed and
// deleted; the lists cleaned by trash, delete and empty-trash; the errors, also under
// another's lock, with one stderr line and every byte unchanged.
#include "app/kvpaths.h"
#include "clifixture.h"

#include <QFile>
#include <QLocale>

using namespace korvtest;

namespace {

class CliLists : public CliFixture
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        WriteHandMade();
        WriteBookmarks();
        WriteMember(m_dir + u"srchres.001"_qs,
                    {u"[SearchResults]"_qs, u"CurrentEntry=1"_qs, u"[List0000001]"_qs,
                     u"Item0000001=Page0000002"_qs, u"Item0000002=Page0000009"_qs,
                     u"SText1=Plan"_qs, u"Time=45720,5"_qs, u"[List0000002]"_qs,
                     u"Item0000001=Page0000001"_qs, u"Item0000002=Page0000002"_qs,
                     u"SText1=Willkommen"_qs, u"Time=45721"_qs, u"Descr=Meine Suche"_qs,
                     u"[List0000003]"_qs, u"StatusSearch=1"_qs, u"SStatus=14"_qs,
                     u"Time=45719"_qs});
        WriteMember(m_dir + u"history.001"_qs,
                    {u"["_qs + User() + u']', u"Item0000001=Page0000003"_qs,
                     u"Item0000002=Page0000009"_qs, u"Item0000003=Page0000002"_qs,
                     u"Item0000004=Page0000001"_qs, u"[anna]"_qs, u"Item0000001=Page0000002"_qs});
        WriteSettings(true, 30);
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    QString User() const { return KvPaths::UserName(); }

    void WriteBookmarks()
    {
        WriteMember(m_dir + u"bookmark.001"_qs,
                    {u"[Bookmarks]"_qs, u"Item0000001=Page0000002"_qs,
                     u"Item0000002=Page0000009"_qs, u"Item0000003=Fldr0000001"_qs,
                     u"Item0000004=Page0000001"_qs, u"ActItem=Page0000001"_qs});
    }

    void WriteSettings(bool saveHistory, int limit)
    {
        WriteMember(KvPaths::SettingsFile(),
                    {u"[Globals]"_qs, u"SaveHistory="_qs + (saveHistory ? u"1"_qs : u"0"_qs),
                     u"[MainF]"_qs, u"HistoryLimit="_qs + QString::number(limit)});
    }

    CliResult Cli(QStringList args)
    {
        args.insert(1, m_dir);
        return RunCli(args);
    }

    // The first column of what a reading command printed.
    static QStringList Ids(const QByteArray& out)
    {
        QStringList ids;
        for (const QString& line : QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts))
            ids.append(line.section(u'\t', 0, 0));
        return ids;
    }
};

TEST_F(CliLists, BookmarksInStoredOrderWithMissingElements)
{
    const CliResult r = Cli({u"bookmarks"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Page0000002\tPlan\tOrdner/Projekte\n"
                     "Page0000009\t(missing)\n"
                     "Fldr0000001\t[Ordner: Projekte]\tOrdner/Projekte\n"
                     "Page0000001\tWillkommen\tOrdner\n");
    // An element that no folder lists is not in the notebook the program shows.
    WriteMember(m_dir + u"bookmark.001"_qs,
                {u"[Bookmarks]"_qs, u"Item0000001=Page0000005"_qs, u"Item0000002=TopFolder"_qs,
                 u"Item0000003=Page0000004"_qs, u"Item0000004=Page0000003"_qs});
    EXPECT_EQ(Cli({u"bookmarks"_qs}).out, "Page0000005\t(missing)\n"
                                          "TopFolder\t[Ordner: Ordner]\tOrdner\n"
                                          "Page0000004\tWillkommen\tOrdner/Projekte\n"
                                          "Page0000003\tAlt\tPapierkorb\n");
}

TEST_F(CliLists, BookmarksChangeAsTheDialogsButtons)
{
    struct ChangeCase
    {
        QString action;
        QString id;
        QByteArray out;
        QStringList after; // empty: every byte unchanged
    };
    const ChangeCase cases[] = {
        {u"add"_qs,
         u"Page0000003"_qs,
         "Page0000003\n",
         {u"Page0000002"_qs, u"Page0000009"_qs, u"Fldr0000001"_qs, u"Page0000001"_qs,
          u"Page0000003"_qs}},
        {u"add"_qs, u"Page0000002"_qs, "", {}},
        {u"remove"_qs,
         u"Fldr0000001"_qs,
         "Fldr0000001\n",
         {u"Page0000002"_qs, u"Page0000009"_qs, u"Page0000001"_qs}},
        {u"up"_qs,
         u"Fldr0000001"_qs,
         "Fldr0000001\n",
         {u"Fldr0000001"_qs, u"Page0000009"_qs, u"Page0000002"_qs, u"Page0000001"_qs}},
        {u"down"_qs,
         u"Page0000002"_qs,
         "Page0000002\n",
         {u"Fldr0000001"_qs, u"Page0000009"_qs, u"Page0000002"_qs, u"Page0000001"_qs}},
        {u"up"_qs, u"Page0000002"_qs, "", {}},
        {u"down"_qs, u"Page0000001"_qs, "", {}},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(QString(c.action + u' ' + c.id).toStdString());
        WriteBookmarks();
        const auto before = DirContents(m_env.Root());
        const CliResult r = Cli({u"bookmarks"_qs, c.action, c.id});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty());
        EXPECT_EQ(r.out, c.out);
        if (c.after.isEmpty())
            EXPECT_TRUE(DirContents(m_env.Root()) == before);
        else
            EXPECT_EQ(Ids(Cli({u"bookmarks"_qs}).out), c.after);
        EXPECT_FALSE(QFile::exists(m_dir + u"lockdir.dat"_qs)) << "the lock is released";
    }
}

TEST_F(CliLists, HistoryAsTheProgramWouldLoadIt)
{
    struct HistoryCase
    {
        bool saveHistory;
        int limit;
        QStringList user; // the option, when given
        QByteArray out;
    };
    const HistoryCase cases[] = {
        {true,
         30,
         {},
         "Page0000003\tAlt\tPapierkorb\n"
         "Page0000002\tPlan\tOrdner/Projekte\n"
         "Page0000001\tWillkommen\tOrdner\n"},
        {true,
         2,
         {},
         "Page0000002\tPlan\tOrdner/Projekte\n"
         "Page0000001\tWillkommen\tOrdner\n"},
        {true, 30, {u"--user"_qs, u"anna"_qs}, "Page0000002\tPlan\tOrdner/Projekte\n"},
        {true, 30, {u"--user"_qs, u"bert"_qs}, ""},
        {false, 30, {}, ""},
    };
    for (const HistoryCase& c : cases) {
        WriteSettings(c.saveHistory, c.limit);
        const CliResult r = Cli(QStringList{u"history"_qs} + c.user);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, c.out) << c.limit << " " << c.user.join(u" "_qs).toStdString();
    }
}

TEST_F(CliLists, SavedResultsListedShownRenamedAndDeleted)
{
    CliResult r = Cli({u"results"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString(u"List0000002\t2\tMeine Suche\n"
                             "List0000001\t1\t'Plan'    [04.03.25 12:00:00]\n"
                             "List0000003\t0\tStatus:     [03.03.25 00:00:00]\n"_qs)
                         .toUtf8());
    r = Cli({u"results"_qs, u"show"_qs, u"List0000001"_qs});
    EXPECT_EQ(r.out, "Page0000002\tPlan\tOrdner/Projekte\nPage0000009\t(missing)\n");

    r = Cli({u"results"_qs, u"rename"_qs, u"List0000001"_qs, u"Neuer Name"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "List0000001\n");
    r = Cli({u"results"_qs, u"delete"_qs, u"List0000002"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "List0000002\n");
    r = Cli({u"results"_qs});
    EXPECT_EQ(r.out, QString(u"List0000001\t1\tNeuer Name\n"
                             "List0000003\t0\tStatus:     [03.03.25 00:00:00]\n"_qs)
                         .toUtf8());
    const QByteArray store = ReadAll(m_dir + u"srchres.001"_qs);
    EXPECT_FALSE(store.contains("List0000002"));
    EXPECT_TRUE(store.contains("SText1=Plan")) << "the criteria stay with the renamed result";
    // An empty name gives the result its automatic name again.
    r = Cli({u"results"_qs, u"rename"_qs, u"List0000001"_qs, QString()});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(Cli({u"results"_qs}).out.startsWith("List0000001\t1\t'Plan'    ["));
}

TEST_F(CliLists, TrashDeleteAndEmptyTrashCleanTheLists)
{
    CliResult r = Cli({u"trash"_qs, u"Fldr0000001"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_EQ(Ids(Cli({u"bookmarks"_qs}).out), (QStringList{u"Page0000009"_qs, u"Page0000001"_qs}));
    EXPECT_EQ(Ids(Cli({u"results"_qs, u"show"_qs, u"List0000001"_qs}).out),
              QStringList{u"Page0000009"_qs});
    EXPECT_EQ(Ids(Cli({u"results"_qs, u"show"_qs, u"List0000002"_qs}).out),
              QStringList{u"Page0000001"_qs});
    EXPECT_EQ(Ids(Cli({u"history"_qs}).out), (QStringList{u"Page0000003"_qs, u"Page0000001"_qs}));
    EXPECT_EQ(Ids(Cli({u"history"_qs, u"--user"_qs, u"anna"_qs}).out),
              QStringList{u"Page0000002"_qs})
        << "another user's history stays";

    r = Cli({u"delete"_qs, u"Page0000003"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(Ids(Cli({u"history"_qs}).out), QStringList{u"Page0000001"_qs});

    WriteMember(m_dir + u"bookmark.001"_qs,
                {u"[Bookmarks]"_qs, u"Item0000001=Page0000002"_qs, u"Item0000002=Page0000001"_qs});
    r = Cli({u"empty-trash"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(Ids(Cli({u"bookmarks"_qs}).out), QStringList{u"Page0000001"_qs});
}

TEST_F(CliLists, ListsThatNameNoneOfTheElementsStayUntouched)
{
    QFile::remove(m_dir + u"history.001"_qs);
    WriteMember(m_dir + u"bookmark.001"_qs, {u"[Bookmarks]"_qs, u"Item0000001=Page0000001"_qs});
    auto lists = [this] {
        QMap<QString, QByteArray> files = DirContents(m_dir);
        files.removeIf([](const auto& f) {
            return !f.key().startsWith(u"bookmark") && !f.key().startsWith(u"srchres") &&
                   !f.key().startsWith(u"history");
        });
        return files;
    };
    const auto before = lists();
    const CliResult r = Cli({u"delete"_qs, u"Page0000003"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(lists() == before);
}

class CliListsErrors : public CliLists, public ::testing::WithParamInterface<bool>
{
};

TEST_P(CliListsErrors, OneLineAndNoByteChanged)
{
    struct ListError
    {
        const char* name;
        QStringList args;
        int code;
        const char* message;
        bool beforeTheLock; // refused before the lock is looked at, or a reading command
    };
    const ListError cases[] = {
        {"add an unknown element",
         {u"bookmarks"_qs, u"add"_qs, u"Page0000077"_qs},
         1,
         "unknown id: Page0000077",
         false},
        {"remove a page that is no bookmark",
         {u"bookmarks"_qs, u"remove"_qs, u"Page0000003"_qs},
         1,
         "Page0000003 is not a bookmark",
         false},
        {"move a lost element",
         {u"bookmarks"_qs, u"up"_qs, u"Page0000005"_qs},
         1,
         "unknown id: Page0000005",
         false},
        {"an unknown action",
         {u"bookmarks"_qs, u"sort"_qs, u"Page0000002"_qs},
         2,
         "unknown action 'sort'",
         true},
        {"an action without id", {u"bookmarks"_qs, u"add"_qs}, 2, "missing argument: ID", true},
        {"too many arguments",
         {u"bookmarks"_qs, u"add"_qs, u"Page0000002"_qs, u"x"_qs},
         2,
         "unexpected argument: x",
         true},
        {"delete an unknown result",
         {u"results"_qs, u"delete"_qs, u"List0000009"_qs},
         1,
         "no saved search result List0000009",
         false},
        {"rename to control characters only",
         {u"results"_qs, u"rename"_qs, u"List0000001"_qs, u"\t\u0085\u2028"_qs},
         1,
         "Geben Sie einen Namen",
         true},
        {"show an unknown result",
         {u"results"_qs, u"show"_qs, u"List0000009"_qs},
         1,
         "no saved search result List0000009",
         true},
        {"show without a result", {u"results"_qs, u"show"_qs}, 2, "missing argument: LIST", true},
        {"an unknown results action",
         {u"results"_qs, u"copy"_qs, u"List0000001"_qs},
         2,
         "unknown action 'copy'",
         true},
        {"rename without a name",
         {u"results"_qs, u"rename"_qs, u"List0000001"_qs},
         2,
         "missing argument: LIST NAME",
         true},
        {"history of nobody", {u"history"_qs, u"--user"_qs, QString()}, 2, "--user needs", true},
        {"history with an extra argument", {u"history"_qs, u"x"_qs}, 2, "unexpected", true},
    };
    const bool locked = GetParam();
    if (locked)
        WriteAll(m_dir + u"lockdir.dat"_qs, kLockOfAnother);
    for (const ListError& c : cases) {
        SCOPED_TRACE(c.name);
        const bool lockFirst = locked && !c.beforeTheLock;
        ExpectRefusedUnchanged(m_env.Root(), c.args[0], lockFirst ? 1 : c.code,
                               lockFirst ? kLockedByAnother : QByteArray(c.message),
                               [&] { return Cli(c.args); });
    }
    // Reading works under another's lock and writes nothing.
    const auto before = DirContents(m_env.Root());
    for (const QStringList& args :
         {QStringList{u"bookmarks"_qs}, QStringList{u"history"_qs}, QStringList{u"results"_qs},
          QStringList{u"results"_qs, u"show"_qs, u"List0000002"_qs}}) {
        const CliResult r = Cli(args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_FALSE(r.out.isEmpty()) << args.join(u' ').toStdString();
    }
    EXPECT_TRUE(DirContents(m_env.Root()) == before);
}

INSTANTIATE_TEST_SUITE_P(Lock, CliListsErrors, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Locked" : "Unlocked"; });

} // namespace
