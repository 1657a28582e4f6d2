#include "app/kvdirprops.h"
#include "app/kvlockdirectory.h"
#include "app/kvpaths.h"
#include "app/kvscriptedprompter.h"
#include "app/kvtexts.h"
#include "model/kvnotebookgenerator.h"
#include "store/kvbatchjournal.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"
#include "support/testenv.h"
#include "ui/kvtvfolder.h"
#include "ui/tmainf.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class MainWindowLifecycle : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
    }
    void TearDown() override
    {
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
        KvLockDirectory::SetProcessCheck({});
        KvDirStores::Close();
    }

    korvtest::SandboxEnv env;
    KvScriptedPrompter prompter;
};

TEST_F(MainWindowLifecycle, StartsWithTitleIdlesAndRunsTheExitSequenceOnce)
{
    TMainF w({});
    EXPECT_FALSE(w.Shell().startAborted);
    EXPECT_EQ(w.windowTitle(), u"Korvelle"_qs);
    w.show();
    EXPECT_TRUE(korvtest::WaitUntil([&] { return w.IdlePasses() >= 1; }));

    // Close query and close handler both ask for the exit sequence; it runs once.
    EXPECT_TRUE(w.FormCloseQuery());
    w.FormClose();
    w.close();
    EXPECT_EQ(w.ExitSequenceRuns(), 1);
    EXPECT_TRUE(w.Shell().closing);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(MainWindowLifecycle, OpensTheDefaultDataDirectoryWithItsNotice)
{
    TMainF w({});
    const QString data = env.Data().documentsDir + u"Korvelle/";
    EXPECT_EQ(KvPaths::DataDir(), data);
    EXPECT_TRUE(QFileInfo::exists(data + u"ReadMe.txt"));
}

TEST_F(MainWindowLifecycle, MissingDirectoryAsksAndCancellingAbortsWithoutExitSequence)
{
    prompter.Answer(KvAnswer::Ok).AnswerFolder(QString());
    TMainF w({u"/d"_qs, env.Root() + u"gone"});
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].kind, 16);
    EXPECT_TRUE(
        prompter.Messages()[0].text.startsWith(u"Das Verzeichnis '"_qs + env.Root() + u"gone'"));
    EXPECT_TRUE(w.Shell().startAborted);
    w.close();
    EXPECT_EQ(w.ExitSequenceRuns(), 0) << "a failed start saves nothing";
}

TEST_F(MainWindowLifecycle, MissingDirectoryReplacedByTheChosenOne)
{
    const QString chosen = env.Dir(u"chosen"_qs);
    prompter.Answer(KvAnswer::Ok).AnswerFolder(chosen);
    TMainF w({u"/d"_qs, env.Root() + u"gone"});
    EXPECT_FALSE(w.Shell().startAborted);
    EXPECT_EQ(KvPaths::DataDir(), chosen);
}

TEST_F(MainWindowLifecycle, CommandLineDirectoryIsNotRemembered)
{
    const QString dir = env.Dir(u"other"_qs);
    TMainF w({u"/d"_qs, dir, u"/id"_qs, u"Page0000007"_qs});
    EXPECT_EQ(KvPaths::DataDir(), dir);
    KvPaths::ResetDataDirCache();
    EXPECT_EQ(KvPaths::DataDir(), env.Data().documentsDir + u"Korvelle/");
}

TEST_F(MainWindowLifecycle, FullAccessHoldsTheLockUntilTheExitSequence)
{
    const QString dir = env.Dir(u"notes"_qs);
    {
        TMainF w({u"/d"_qs, dir});
        EXPECT_TRUE(w.Shell().fullAccess);
        EXPECT_TRUE(QFileInfo::exists(dir + u"lockdir.dat"));
        EXPECT_EQ(w.windowTitle(), u"Korvelle"_qs);
        w.close();
        EXPECT_FALSE(QFileInfo::exists(dir + u"lockdir.dat"));
    }
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(MainWindowLifecycle, ReadOnlyFromTheCommandLine)
{
    const QString dir = env.Dir(u"notes"_qs);
    TMainF w({u"/dr"_qs, dir});
    EXPECT_FALSE(w.Shell().fullAccess);
    EXPECT_FALSE(QFileInfo::exists(dir + u"lockdir.dat"));
    EXPECT_EQ(w.windowTitle(), u"Korvelle ***(Nur Lesen)***"_qs);
    EXPECT_TRUE(prompter.Messages().isEmpty());
}

// A bulk change a crash interrupted: a read-only opening says so and changes nothing, the
// next opening with full access completes it before it builds the tree.
TEST_F(MainWindowLifecycle, AnUnfinishedBulkChangeIsCompletedBeforeTheTreeIsBuilt)
{
    const QString dir = env.Dir(u"notes"_qs);
    KvGeneratorOptions o;
    o.elements = 20;
    KvNotebookGenerator::Generate(dir, o);
    const QByteArray original = korvtest::ReadAll(dir + u"objprps.001"_qs);
    KvBatchJournal::Redo redo;
    {
        // What a batch would have written: the top folder renamed.
        TexIniFile store(dir + u"objprps"_qs, 40, true);
        store.WriteString(u"TopFolder"_qs, u"Name"_qs, u"Aus dem Journal"_qs);
        std::vector<std::pair<QString, QByteArray>> writes;
        store.PendingWrites(writes);
        ASSERT_EQ(writes.size(), 1u);
        redo.writes.emplace_back(u"objprps.001"_qs, writes.front().second);
    }
    korvtest::WriteAll(dir + u"objprps.001"_qs, original);
    KvBatchJournal::WriteRedo(dir, redo);

    {
        TMainF w({u"/dr"_qs, dir});
        EXPECT_FALSE(w.Shell().fullAccess);
        ASSERT_EQ(prompter.Messages().size(), 1);
        EXPECT_EQ(prompter.Messages().front().text, KvTexts::Message(5761, {dir}));
        EXPECT_NE(w.TopFolder()->Name(), u"Aus dem Journal"_qs);
        w.close();
    }
    EXPECT_TRUE(KvBatchJournal::Exists(dir));
    EXPECT_EQ(korvtest::ReadAll(dir + u"objprps.001"_qs), original);
    KvPaths::ResetDataDirCache();
    {
        TMainF w({u"/d"_qs, dir});
        EXPECT_TRUE(w.Shell().fullAccess);
        EXPECT_EQ(w.TopFolder()->Name(), u"Aus dem Journal"_qs);
        EXPECT_FALSE(KvBatchJournal::Exists(dir));
        w.close();
    }
    EXPECT_EQ(prompter.Messages().size(), 1);
}

TEST_F(MainWindowLifecycle, SecondInstanceOfTheSameUser)
{
    const QString dir = env.Dir(u"notes"_qs);
    korvtest::WriteAll(dir + u"lockdir.dat",
                       "testbox\r\ntester\r\n10.12.2026 08:00:00\r\nN\r\n777\r\n");
    KvLockDirectory::SetProcessCheck([](qint64 pid) { return pid == 777; });
    struct Case
    {
        const char* name;
        QStringList args;
        int answer;
        bool aborted;
        int messages;
    };
    const Case cases[] = {
        {"okOpensReadOnly", {u"/d"_qs, dir}, KvAnswer::Ok, false, 1},
        {"cancelEndsTheProgram", {u"/d"_qs, dir}, KvAnswer::Cancel, true, 1},
        {"newWindowWithoutMessage", {u"/new_window"_qs}, 0, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        if (c.answer)
            prompter.Answer(c.answer);
        if (c.args.first() == u"/new_window") {
            KvPaths::SetDataDir(dir, true);
            KvPaths::ResetDataDirCache();
        }
        TMainF w(c.args);
        EXPECT_FALSE(w.Shell().fullAccess);
        EXPECT_EQ(w.Shell().startAborted, c.aborted);
        ASSERT_EQ(prompter.Messages().size(), c.messages);
        if (c.messages)
            EXPECT_EQ(prompter.Messages()[0].kind, 17);
        EXPECT_TRUE(QFileInfo::exists(dir + u"lockdir.dat")) << "another instance's lock stays";
    }
}

// The real program, headless: it starts, writes its version record, and a SIGTERM ends
// it through the exit sequence with status 0.
TEST_F(MainWindowLifecycle, ProgramEndsCleanlyOnTerminate)
{
    const QString bin = QStringLiteral(KORVELLE_TEST_BIN_DIR "/bin/korvnote");
    if (!QFileInfo::exists(bin))
        GTEST_SKIP() << "korvnote not built at " << bin.toStdString();
    QProcess p;
    QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
    pe.insert(u"HOME"_qs, env.Data().homeDir);
    pe.insert(u"XDG_CONFIG_HOME"_qs, env.Data().configHome);
    pe.insert(u"XDG_DOCUMENTS_DIR"_qs, env.Data().documentsDir);
    pe.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    pe.insert(u"KORVELLE_APPLOG"_qs, u"1"_qs);
    p.setProcessEnvironment(pe);
    p.start(bin, {u"/d"_qs, env.Dir(u"notes"_qs)});
    ASSERT_TRUE(p.waitForStarted(10000));
    const QString log = env.Data().configHome + u"korvelle/applog.txt";
    const bool idle = korvtest::WaitUntil(
        [&] { return korvtest::ReadAll(log).contains("TMainF::FormShow end"); }, 10000);
    ASSERT_TRUE(idle) << korvtest::ReadAll(log).toStdString();
    ::kill(p.processId(), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray text = korvtest::ReadAll(log);
    EXPECT_EQ(text.count("TMainF::SaveAtExit entry"), 1) << text.toStdString();
    EXPECT_TRUE(
        korvtest::ReadAll(env.Data().configHome + u"korvelle/korvnote.stg").contains("Version="));
}

} // namespace

namespace {

TEST_F(MainWindowLifecycle, AccessSwitchOfAGroupDirectory)
{
    const QString dir = env.Dir(u"group"_qs);
    {
        KvDirProps props(dir);
        props.SetGroupDir(true);
        props.SetFullAccess(false);
        props.Store();
    }
    TMainF w({u"/d"_qs, dir});
    QAction* sw = w.Action(u"SwitchAccessA"_qs);
    ASSERT_NE(sw, nullptr);
    EXPECT_TRUE(sw->isVisible()) << "offered for group directories";
    EXPECT_FALSE(sw->isChecked());
    EXPECT_FALSE(w.Shell().fullAccess);
    EXPECT_FALSE(QFileInfo::exists(dir + u"lockdir.dat"));

    sw->trigger(); // ask for full access
    EXPECT_TRUE(w.Shell().fullAccess);
    EXPECT_TRUE(KvDirProps(dir).FullAccess());
    EXPECT_TRUE(sw->isChecked());
    EXPECT_TRUE(QFileInfo::exists(dir + u"lockdir.dat"));
    EXPECT_EQ(w.windowTitle(), u"Korvelle"_qs);

    sw->trigger(); // back to read-only
    EXPECT_FALSE(w.Shell().fullAccess);
    EXPECT_FALSE(KvDirProps(dir).FullAccess());
    EXPECT_FALSE(sw->isChecked());
    EXPECT_FALSE(QFileInfo::exists(dir + u"lockdir.dat")) << "read-only work holds no lock";
    EXPECT_TRUE(w.windowTitle().endsWith(u"***(Nur Lesen)***"_qs));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(MainWindowLifecycle, AccessSwitchHiddenOutsideGroupDirectories)
{
    TMainF w({u"/d"_qs, env.Dir(u"single"_qs)});
    EXPECT_FALSE(w.Action(u"SwitchAccessA"_qs)->isVisible());
}

} // namespace
