// A page whose text cannot be saved when the notebook closes: the user retries, keeps the
// text in a file, discards it or keeps the window; nothing typed is lost silently.
#include "app/kvdirprops.h"
#include "app/kvlockdirectory.h"
#include "app/kvpaths.h"
#include "app/kvscriptedprompter.h"
#include "app/kvtexts.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvobject.h"
#include "model/kvpage.h"
#include "model/kvrescuefiles.h"
#include "platform/applog.h"
#include "richtext/texrichdocument.h"
#include "richtext/texrichedit.h"
#include "store/kvdirstores.h"
#include "support/testenv.h"
#include "ui/kvtvpage.h"
#include "ui/tmainf.h"

#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>

namespace {

enum Choice
{
    Retry = 0,
    ToFile = 1,
    Discard = 2,
    Cancel = 3
};

class ExitSave : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
        dir = env.Dir(u"notes"_qs);
        KvGeneratorOptions o;
        o.seed = 11;
        o.elements = 12;
        o.protectedPercent = 0;
        o.trashPercent = 0;
        nb = KvNotebookGenerator::Generate(dir, o);
    }
    void TearDown() override
    {
        window.reset();
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
        KvLockDirectory::SetProcessCheck({});
        KvDirStores::Close();
    }

    // Opens the notebook and shows a plain page with "Getippt" typed at its end.
    KvTVPage* OpenAndType()
    {
        window = std::make_unique<TMainF>(QStringList{u"/d"_qs, dir});
        window->show();
        QString id;
        for (const QString& p : nb.pageIds) {
            auto* candidate = dynamic_cast<KvPage*>(FindObject(p));
            if (candidate && !nb.referrers.contains(p) && !nb.passwords.contains(p) &&
                !candidate->GetWriteProtect() && candidate->Parent() &&
                candidate->Parent()->Id() != u"TrashFolder") {
                id = p;
                break;
            }
        }
        window->SetPendingObject(id);
        if (!korvtest::WaitUntil(
                [&] { return window->ShownPage() && window->ShownPage()->Id() == id; }))
            return nullptr;
        auto* page = dynamic_cast<KvTVPage*>(window->ShownPage());
        contentPath = page->ContentFilePath();
        before = korvtest::ReadAll(contentPath);
        page->EditorWidget()->moveCursor(QTextCursor::End);
        QTest::keyClicks(page->EditorWidget(), u"Getippt"_qs);
        return page;
    }

    // The content file cannot be replaced while a directory stands in its place.
    void BreakContentFile()
    {
        QFile::remove(contentPath);
        QDir().mkdir(contentPath);
    }
    void MendContentFile()
    {
        QDir().rmdir(contentPath);
        korvtest::WriteAll(contentPath, before);
    }

    korvtest::SandboxEnv env;
    KvScriptedPrompter prompter;
    QString dir;
    KvGeneratedNotebook nb;
    std::unique_ptr<TMainF> window;
    QString contentPath;
    QByteArray before;
};

TEST_F(ExitSave, RetryAfterTheCauseIsGoneSavesTheText)
{
    ASSERT_NE(OpenAndType(), nullptr);
    BreakContentFile();
    prompter.AnswerChoiceWith([this] {
        MendContentFile();
        return int(Retry);
    });
    EXPECT_TRUE(window->FormCloseQuery());
    window->close();
    EXPECT_TRUE(korvtest::ReadAll(contentPath).contains("Getippt"));
    const auto choices = prompter.AskedOn(KvScriptedPrompter::Channel::Choice);
    ASSERT_EQ(choices.size(), 1);
    EXPECT_EQ(choices[0].buttons.size(), 4);
    EXPECT_FALSE(prompter.Unexpected());
    EXPECT_TRUE(prompter.Messages().isEmpty()) << "no further error once the text is safe";
}

TEST_F(ExitSave, TextGoesToTheChosenFileAndTheWindowCloses)
{
    ASSERT_NE(OpenAndType(), nullptr);
    BreakContentFile();
    const QString target = env.Dir(u"out"_qs) + u"gerettet.rtf";
    // The first chooser is cancelled: the question comes again.
    prompter.AnswerChoice(ToFile).AnswerSaveFile(QString()).AnswerChoice(ToFile).AnswerSaveFile(
        target);
    EXPECT_TRUE(window->FormCloseQuery());
    window->close();
    const QByteArray saved = korvtest::ReadAll(target);
    EXPECT_TRUE(saved.startsWith("{\\rtf"));
    TexRichDocument doc;
    doc.LoadRtf(saved);
    EXPECT_TRUE(doc.PlainText().contains(u"Getippt"_qs));
    EXPECT_EQ(prompter.AskedOn(KvScriptedPrompter::Channel::Choice).size(), 2);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ExitSave, CancelKeepsTheWindowAndTheTextUntilTheSaveWorks)
{
    KvTVPage* page = OpenAndType();
    ASSERT_NE(page, nullptr);
    BreakContentFile();
    prompter.AnswerChoice(Cancel);
    EXPECT_FALSE(window->FormCloseQuery());
    EXPECT_EQ(window->ExitSequenceRuns(), 0);
    EXPECT_EQ(window->ShownPage(), page);
    EXPECT_TRUE(page->EditorWidget()->toPlainText().contains(u"Getippt"_qs));

    MendContentFile();
    EXPECT_TRUE(window->FormCloseQuery());
    window->close();
    EXPECT_EQ(window->ExitSequenceRuns(), 1);
    EXPECT_TRUE(korvtest::ReadAll(contentPath).contains("Getippt"));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ExitSave, DiscardClosesWithTheOldTextAndNoMoreQuestions)
{
    ASSERT_NE(OpenAndType(), nullptr);
    BreakContentFile();
    prompter.AnswerChoice(Discard);
    EXPECT_TRUE(window->FormCloseQuery());
    window->close();
    EXPECT_EQ(window->ExitSequenceRuns(), 1);
    EXPECT_TRUE(prompter.Messages().isEmpty());
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ExitSave, UnattendedExitKeepsTheTextInARescueFile)
{
    KvTVPage* page = OpenAndType();
    ASSERT_NE(page, nullptr);
    const QString id = page->Id();
    BreakContentFile();
    // Destroying the window without a close (the end of a forced exit) asks nobody.
    window.reset();
    EXPECT_TRUE(prompter.AskedOn(KvScriptedPrompter::Channel::Choice).isEmpty());
    QStringList rescued;
    QDirIterator it(KvRescueFiles::Folder(dir), QDir::Files);
    while (it.hasNext())
        rescued.append(it.next());
    ASSERT_EQ(rescued.size(), 1) << "rescue files: " << rescued.join(u", "_qs).toStdString();
    TexRichDocument doc;
    doc.LoadRtf(korvtest::ReadAll(rescued[0]));
    EXPECT_TRUE(doc.PlainText().contains(u"Getippt"_qs));

    // The next start offers it back.
    KvDirStores::Close();
    KvPaths::ResetDataDirCache();
    MendContentFile();
    {
        QFile content(contentPath);
        ASSERT_TRUE(content.open(QIODevice::ReadWrite));
        content.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                            QFileDevice::FileModificationTime);
    }
    prompter.AnswerChoice(0);
    window = std::make_unique<TMainF>(QStringList{u"/d"_qs, dir, u"/id"_qs, id});
    window->show();
    ASSERT_EQ(prompter.AskedOn(KvScriptedPrompter::Channel::Choice).size(), 1);
    ASSERT_TRUE(korvtest::WaitUntil(
        [&] { return window->ShownPage() && window->ShownPage()->Id() == id; }));
    EXPECT_TRUE(window->ShownPage()->GetEditor()->PlainText().contains(u"Getippt"_qs));
}

TEST_F(ExitSave, AccessSwitchAsksTooAndCancelChangesNothing)
{
    {
        KvDirProps props(dir);
        props.SetGroupDir(true);
        props.Store();
    }
    KvTVPage* page = OpenAndType();
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(window->Shell().fullAccess);
    BreakContentFile();
    prompter.AnswerChoice(Cancel);
    QAction* sw = window->Action(u"SwitchAccessA"_qs);
    ASSERT_TRUE(sw->isVisible());
    sw->trigger(); // to read-only
    EXPECT_TRUE(window->Shell().fullAccess);
    EXPECT_TRUE(sw->isChecked());
    EXPECT_TRUE(KvDirProps(dir).FullAccess());
    EXPECT_EQ(window->ShownPage(), page);
    EXPECT_TRUE(QFileInfo::exists(dir + u"lockdir.dat"));

    MendContentFile();
    sw->trigger();
    EXPECT_FALSE(window->Shell().fullAccess);
    EXPECT_TRUE(korvtest::ReadAll(contentPath).contains("Getippt"));
    EXPECT_FALSE(prompter.Unexpected());
}

// The order of the last steps, as the application log shows it.
class ExitOrder : public ExitSave
{
protected:
    void SetUp() override
    {
        ExitSave::SetUp();
        qputenv("KORVELLE_APPLOG", "1"); // the settings would switch the log off again
        KvAppLog::Close();
        KvAppLog::SetDirectoryResolver([this] { return env.Dir(u"log"_qs); });
        KvAppLog::SetEnabled(true);
    }
    void TearDown() override
    {
        KvAppLog::Close();
        KvAppLog::SetEnabled(false);
        qunsetenv("KORVELLE_APPLOG");
        ExitSave::TearDown();
    }
    QByteArray Log()
    {
        KvAppLog::Close();
        return korvtest::ReadAll(env.Dir(u"log"_qs) + u"applog.txt");
    }
};

TEST_F(ExitOrder, StoresAreWrittenBeforeTheLockGoes)
{
    ASSERT_NE(OpenAndType(), nullptr);
    window->close();
    const QByteArray log = Log();
    const qsizetype flushed = log.lastIndexOf("KvDirStores::FlushAll end");
    const qsizetype released = log.lastIndexOf("KvLockDirectory::ReleaseLock entry");
    ASSERT_GE(flushed, 0);
    ASSERT_GE(released, 0);
    EXPECT_LT(flushed, released);
    EXPECT_FALSE(QFileInfo::exists(dir + u"lockdir.dat"));
}

TEST_F(ExitOrder, SwitchToFullAccessHoldsTheLockThroughout)
{
    {
        KvDirProps props(dir);
        props.SetGroupDir(true);
        props.SetFullAccess(false);
        props.Store();
    }
    ASSERT_NE(OpenAndType(), nullptr);
    ASSERT_FALSE(window->Shell().fullAccess);
    Log(); // start a fresh log
    QAction* sw = window->Action(u"SwitchAccessA"_qs);
    sw->trigger();
    ASSERT_TRUE(window->Shell().fullAccess);
    EXPECT_TRUE(QFileInfo::exists(dir + u"lockdir.dat"));
    const QByteArray log = Log();
    EXPECT_EQ(log.count("KvLockDirectory::TakeLock entry"), 1) << log.toStdString();
    EXPECT_EQ(log.count("KvLockDirectory::ReleaseLock entry"), 0) << log.toStdString();
}

// The real program with the password dialog open: SIGTERM closes the dialog, and the exit
// sequence runs after the code that opened it has returned, once.
TEST(ExitSignal, TerminateWhileThePasswordDialogIsOpen)
{
    const QString bin = QStringLiteral(KORVELLE_TEST_BIN_DIR "/bin/korvnote");
    if (!QFileInfo::exists(bin))
        GTEST_SKIP() << "korvnote not built at " << bin.toStdString();
    korvtest::SandboxEnv env;
    const QString dir = env.Dir(u"notes"_qs);
    KvGeneratorOptions o;
    o.seed = 3;
    o.elements = 40;
    o.protectedPercent = 30;
    o.trashPercent = 0;
    o.referrerPercent = 0;
    const KvGeneratedNotebook nb = KvNotebookGenerator::Generate(dir, o);
    ASSERT_FALSE(nb.passwords.isEmpty());
    const QString locked = nb.passwords.keys().first();

    QProcess p;
    QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
    pe.insert(u"HOME"_qs, env.Data().homeDir);
    pe.insert(u"XDG_CONFIG_HOME"_qs, env.Data().configHome);
    pe.insert(u"XDG_DOCUMENTS_DIR"_qs, env.Data().documentsDir);
    pe.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    pe.insert(u"KORVELLE_APPLOG"_qs, u"1"_qs);
    p.setProcessEnvironment(pe);
    p.start(bin, {u"/d"_qs, dir, u"/id"_qs, locked});
    ASSERT_TRUE(p.waitForStarted(10000));
    const QString logPath = env.Data().configHome + u"korvelle/applog.txt";
    const bool asking = korvtest::WaitUntil(
        [&] {
            return korvtest::ReadAll(logPath).contains("KvDialogPasswordAsker::AskPassword entry");
        },
        20000);
    ASSERT_TRUE(asking) << korvtest::ReadAll(logPath).toStdString();
    ::kill(p.processId(), SIGTERM);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);
    const QByteArray log = korvtest::ReadAll(logPath);
    EXPECT_EQ(log.count("TMainF::SaveAtExit entry"), 1) << log.toStdString();
    const qsizetype dialogDone = log.indexOf("KvDialogPasswordAsker::AskPassword end");
    const qsizetype exitStarts = log.indexOf("TMainF::SaveAtExit entry");
    ASSERT_GE(dialogDone, 0);
    EXPECT_LT(dialogDone, exitStarts) << "the exit ran inside the dialog's event loop";
    EXPECT_FALSE(QFileInfo::exists(dir + u"lockdir.dat"));
}

} // namespace
