// The typing journal in the window: typed text survives a crash, the start offers it back,
// and nothing of a protected page is kept in plain text.
#include "app/kvlockdirectory.h"
#include "app/kvpaths.h"
#include "app/kvscriptedprompter.h"
#include "app/kvtexts.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementenv.h"
#include "elements/kvrescueoffer.h"
#include "model/blowfishvcl.h"
#include "model/kvfolder.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvobject.h"
#include "model/kvpage.h"
#include "model/kvpagejournal.h"
#include "model/kvpagepassword.h"
#include "model/kvrescuefiles.h"
#include "platform/kvatomicfile.h"
#include "platform/sysenv.h"
#include "richtext/texrichdocument.h"
#include "richtext/texrichedit.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"
#include "support/testenv.h"
#include "ui/kvtesttyping.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/tmainf.h"
#include "ui/tpasswordf.h"

#include <QDialog>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QTextCursor>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

constexpr int kQuietMs = 50;
constexpr int kLongestMs = 500;

QByteArray Rtf(const QString& text)
{
    TexRichDocument doc;
    doc.LoadPlainText(text);
    return doc.SaveRtf();
}

QString TextOfRtf(const QByteArray& rtf)
{
    TexRichDocument doc;
    doc.LoadRtf(rtf);
    return doc.PlainText();
}

// Moves a file's modification time secs into the past.
void Age(const QString& path, int secs)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-secs),
                              QFileDevice::FileModificationTime));
}

QStringList FilesBelow(const QString& dir)
{
    QStringList files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir::cleanPath(it.next()));
    return files;
}

// A page of the generated notebook that may be typed into: no referrer, no password, not
// write-protected.
QString PlainPage(const QString& dir, const KvGeneratedNotebook& nb, int skip = 0)
{
    TexIniFile pages(dir + u"Pageprps"_qs, 40, false);
    for (const QString& id : nb.pageIds) {
        if (nb.referrers.contains(id) || nb.passwords.contains(id) ||
            pages.ReadBool(id, u"WriteProtect"_qs, false))
            continue;
        if (skip-- == 0)
            return id;
    }
    return QString();
}

class TypingJournal : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
        dir = env.Dir(u"notes"_qs);
        KvGeneratorOptions o;
        o.seed = 5;
        o.elements = 30;
        o.protectedPercent = 25;
        o.trashPercent = 0;
        o.referrerPercent = 0;
        nb = KvNotebookGenerator::Generate(dir, o);
    }
    void TearDown() override
    {
        Close();
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
        KvLockDirectory::SetProcessCheck({});
    }

    TMainF& Open(const QStringList& args = {})
    {
        Close();
        window = std::make_unique<TMainF>(args.isEmpty() ? QStringList{u"/d"_qs, dir} : args);
        window->Journal().SetDelays(kQuietMs, kLongestMs);
        window->show();
        return *window;
    }
    void Close()
    {
        window.reset();
        KvDirStores::Close();
        KvPaths::ResetDataDirCache();
    }

    // Shows the page, answering its password when it asks.
    KvTVPage* Show(const QString& id)
    {
        if (const QString pw = nb.passwords.value(id); !pw.isEmpty())
            AnswerPassword(pw);
        window->SetPendingObject(id);
        if (!korvtest::WaitUntil(
                [&] { return window->ShownPage() && window->ShownPage()->Id() == id; }))
            return nullptr;
        return dynamic_cast<KvTVPage*>(window->ShownPage());
    }
    void AnswerPassword(const QString& pw)
    {
        prompter.AnswerDialogWith(
            [pw] {
                TPasswordF::Active()->SetPassword(pw);
                return int(QDialog::Accepted);
            },
            TPasswordF::DialogName);
    }
    static void Type(KvTVPage& page, const QString& text)
    {
        page.EditorWidget()->moveCursor(QTextCursor::End);
        QTest::keyClicks(page.EditorWidget(), text);
    }
    QString ProtectedPage() const
    {
        for (const QString& id : nb.pageIds) {
            if (nb.passwords.contains(id))
                return id;
        }
        return QString();
    }
    QString Folder() const { return KvRescueFiles::Folder(dir); }
    QString RescuePath(const QString& id) const
    {
        return KvRescueFiles::PathFor(dir, id, u"kvp"_qs);
    }
    QString ContentPath(const QString& id) const { return dir + id + u".kvp"_qs; }
    // The state a crash leaves: a rescue file newer than the page's content.
    void Leave(const QString& id, const QByteArray& bytes)
    {
        QDir().mkpath(Folder());
        ASSERT_TRUE(
            KvAtomicFile::WriteFile(RescuePath(id), bytes, KvAtomicFile::Access::OwnerOnly));
        if (QFileInfo::exists(ContentPath(id)))
            Age(ContentPath(id), 3600);
    }
    QList<KvScriptedPrompter::Question> Choices() const
    {
        return prompter.AskedOn(KvScriptedPrompter::Channel::Choice);
    }

    korvtest::SandboxEnv env;
    KvScriptedPrompter prompter;
    QString dir;
    KvGeneratedNotebook nb;
    std::unique_ptr<TMainF> window;
};

TEST_F(TypingJournal, RestoredTextIsAnUnsavedChangeUntilThePageIsLeft)
{
    const QString id = PlainPage(dir, nb);
    ASSERT_FALSE(id.isEmpty());
    Leave(id, Rtf(u"Vor dem Absturz getippt"_qs));
    prompter.AnswerChoice(KvRescueOffer::Restore);
    Open();
    ASSERT_EQ(Choices().size(), 1);
    EXPECT_EQ(Choices()[0].buttons,
              (QStringList{KvTexts::Text(5641), KvTexts::Text(5642), KvTexts::Text(5643)}));
    EXPECT_TRUE(Choices()[0].text.contains(nb.names.value(id)));
    // The restored page is shown first, its text changed but not written.
    ASSERT_TRUE(korvtest::WaitUntil(
        [&] { return window->ShownPage() && window->ShownPage()->Id() == id; }));
    KvPage* page = window->ShownPage();
    EXPECT_TRUE(page->GetEditor()->PlainText().contains(u"Vor dem Absturz getippt"_qs));
    EXPECT_TRUE(page->GetEditor()->IsModified());
    EXPECT_FALSE(korvtest::ReadAll(ContentPath(id)).contains("Vor dem Absturz"));
    EXPECT_TRUE(QFileInfo::exists(RescuePath(id)));
    // Leaving the page writes it and the rescue file goes.
    window->SetPendingObject(PlainPage(dir, nb, 1));
    ASSERT_TRUE(korvtest::WaitUntil([&] { return window->ShownPage() != page; }));
    EXPECT_TRUE(korvtest::ReadAll(ContentPath(id)).contains("Vor dem Absturz getippt"));
    EXPECT_FALSE(QFileInfo::exists(RescuePath(id)));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(TypingJournal, TheOtherAnswersAtTheStart)
{
    struct Case
    {
        const char* name;
        int answer;
        bool fileStays;
        bool newPage;
    };
    const Case cases[] = {
        {"discard", KvRescueOffer::Discard, false, false},
        {"keepBoth", KvRescueOffer::KeepBoth, false, true},
        {"boxClosed", KvRescueOffer::Later, true, false},
    };
    int skip = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString id = PlainPage(dir, nb, skip++);
        ASSERT_FALSE(id.isEmpty());
        const QByteArray stored = korvtest::ReadAll(ContentPath(id));
        const QString text = u"Gerettet "_qs + QLatin1String(c.name);
        Leave(id, Rtf(text));
        prompter.Clear();
        prompter.AnswerChoice(c.answer);
        Open({u"/d"_qs, dir, u"/id"_qs, id});
        EXPECT_EQ(Choices().size(), 1);
        EXPECT_EQ(QFileInfo::exists(RescuePath(id)), c.fileStays);
        auto* page = dynamic_cast<KvPage*>(FindObject(id));
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(page->HasRestoredText());
        const QString copyName = KvTexts::Message(5646, {page->Name()});
        KvPage* copy = nullptr;
        for (KvObject* sibling : page->Parent()->Children()) {
            if (sibling->Name() == copyName)
                copy = dynamic_cast<KvPage*>(sibling);
        }
        EXPECT_EQ(copy != nullptr, c.newPage);
        if (copy)
            EXPECT_TRUE(TextOfRtf(copy->ReadContent()).contains(text));
        Close();
        EXPECT_EQ(korvtest::ReadAll(ContentPath(id)), stored) << "the page keeps its text";
    }
    // A file left waiting is asked for again at the next start, once.
    prompter.Clear();
    prompter.AnswerChoice(KvRescueOffer::Discard);
    Open({u"/d"_qs, dir, u"/id"_qs, PlainPage(dir, nb)});
    EXPECT_EQ(Choices().size(), 1);
    EXPECT_TRUE(FilesBelow(Folder()).isEmpty());
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(TypingJournal, AFileOlderThanItsPageGoesWithoutAQuestion)
{
    const QString id = PlainPage(dir, nb);
    QDir().mkpath(Folder());
    korvtest::WriteAll(RescuePath(id), Rtf(u"alt"_qs));
    Age(RescuePath(id), 3600);
    Open({u"/d"_qs, dir, u"/id"_qs, id});
    EXPECT_TRUE(Choices().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(RescuePath(id)));
}

TEST_F(TypingJournal, TextOfAPageThatIsGoneBecomesANewPageOfTheTopFolder)
{
    const QString gone = u"Page0999999"_qs;
    Leave(gone, Rtf(u"Ohne Seite"_qs));
    prompter.AnswerChoice(KvRescueOffer::KeepAsNew);
    Open();
    ASSERT_EQ(Choices().size(), 1);
    EXPECT_EQ(Choices()[0].buttons.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(RescuePath(gone)));
    KvPage* made = nullptr;
    for (KvObject* child : window->TopFolder()->Children()) {
        if (child->Name().startsWith(KvTexts::Message(5649, {QString()})))
            made = dynamic_cast<KvPage*>(child);
    }
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(TextOfRtf(made->ReadContent()).contains(u"Ohne Seite"_qs));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(TypingJournal, AProtectedPageIsNeverKeptInPlainTextAndAsksItsPasswordAtTheStart)
{
    const QString id = ProtectedPage();
    ASSERT_FALSE(id.isEmpty());
    const QStringList showIt{u"/d"_qs, dir, u"/id"_qs, id};
    Open(showIt);
    KvTVPage* page = Show(id);
    ASSERT_NE(page, nullptr);
    Type(*page, u" Geheimnisprobe"_qs);
    ASSERT_TRUE(korvtest::WaitUntil([&] { return window->Journal().Writes() >= 1; }));
    const QStringList files = FilesBelow(KvPaths::SettingsDirUncreated());
    for (const QString& f : files)
        EXPECT_FALSE(korvtest::ReadAll(f).contains("Geheimnisprobe")) << f.toStdString();
    const QByteArray kept = korvtest::ReadAll(RescuePath(id));
    EXPECT_FALSE(kept.isEmpty());

    // A crash: the content as before, the rescue file as the journal left it.
    const QByteArray stored = korvtest::ReadAll(ContentPath(id));
    Close();
    korvtest::WriteAll(ContentPath(id), stored);
    Leave(id, kept);

    // Without the password the file waits; with it, the text comes back.
    prompter.Clear();
    prompter.AnswerDialog(QDialog::Rejected, TPasswordF::DialogName)
        .AnswerDialog(QDialog::Rejected, TPasswordF::DialogName); // and when it is shown
    Open(showIt);
    EXPECT_TRUE(Choices().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(RescuePath(id)));
    Close();
    prompter.Clear();
    AnswerPassword(nb.passwords.value(id));
    prompter.AnswerChoice(KvRescueOffer::Restore);
    Open(showIt);
    ASSERT_EQ(Choices().size(), 1);
    ASSERT_TRUE(korvtest::WaitUntil(
        [&] { return window->ShownPage() && window->ShownPage()->Id() == id; }));
    EXPECT_TRUE(window->ShownPage()->GetEditor()->PlainText().contains(u"Geheimnisprobe"_qs));
    Close();
    EXPECT_FALSE(QFileInfo::exists(RescuePath(id)));
    EXPECT_FALSE(korvtest::ReadAll(ContentPath(id)).contains("Geheimnisprobe"));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(TypingJournal, BothKeptOfAProtectedPageStayUnderItsPassword)
{
    const QString id = ProtectedPage();
    ASSERT_FALSE(id.isEmpty());
    const QString pw = nb.passwords.value(id);
    KvPagePassword key;
    key.SetPassword(pw, false);
    Leave(id, BlowFishVCL(key.ContentKey()).EncryptData(Rtf(u"Zweitschrift"_qs)));
    AnswerPassword(pw);
    prompter.AnswerChoice(KvRescueOffer::KeepBoth);
    Open({u"/d"_qs, dir, u"/id"_qs, id});
    ASSERT_EQ(Choices().size(), 1);
    EXPECT_FALSE(QFileInfo::exists(RescuePath(id)));
    auto* page = dynamic_cast<KvPage*>(FindObject(id));
    ASSERT_NE(page, nullptr);
    KvPage* copy = nullptr;
    for (KvObject* sibling : page->Parent()->Children()) {
        if (sibling->Name() == KvTexts::Message(5646, {page->Name()}))
            copy = dynamic_cast<KvPage*>(sibling);
    }
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->IsProtected());
    const QByteArray stored = korvtest::ReadAll(copy->ContentFilePath());
    EXPECT_FALSE(stored.isEmpty());
    EXPECT_FALSE(stored.contains("Zweitschrift"));
    EXPECT_TRUE(TextOfRtf(copy->ReadContent()).contains(u"Zweitschrift"_qs));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(TypingJournal, TheIdleWindowRestsAndARemovedPageTakesItsFileAlong)
{
    const QString id = PlainPage(dir, nb);
    Open({u"/d"_qs, dir, u"/id"_qs, id});
    KvTVPage* page = Show(id);
    ASSERT_NE(page, nullptr);
    korvtest::WaitUntil([] { return false; }, 4 * kQuietMs);
    EXPECT_FALSE(window->Journal().Armed());
    EXPECT_EQ(window->Journal().Writes(), 0);
    Type(*page, u" getippt"_qs);
    ASSERT_TRUE(korvtest::WaitUntil([&] { return window->Journal().Writes() == 1; }));
    EXPECT_FALSE(window->Journal().Armed()) << "the write arms nothing";
    ASSERT_TRUE(QFileInfo::exists(RescuePath(id)));

    KvElementEnv elements = window->ElementEnv();
    KvElementEdit(elements).RemoveForGood(*page);
    EXPECT_FALSE(QFileInfo::exists(RescuePath(id)));
}

TEST_F(TypingJournal, AReadOnlyInstanceKeepsAndOffersNothing)
{
    const QString id = PlainPage(dir, nb);
    Leave(id, Rtf(u"wartet"_qs));
    Open({u"/dr"_qs, dir, u"/id"_qs, PlainPage(dir, nb, 1)});
    ASSERT_FALSE(window->Shell().fullAccess);
    EXPECT_FALSE(window->Journal().IsOpen());
    EXPECT_TRUE(Choices().isEmpty());
    KvTVPage* page = Show(PlainPage(dir, nb, 1));
    ASSERT_NE(page, nullptr);
    QTextCursor(page->GetEditor()->Document()).insertText(u"x"_qs);
    EXPECT_FALSE(window->Journal().Armed());
    EXPECT_EQ(FilesBelow(Folder()), QStringList{QDir::cleanPath(RescuePath(id))});
}

// The real program, killed one second after the journal's delay with text typed: a start
// through the scripted prompter brings the text back.
TEST(TypingJournalProgram, KilledAfterTheDelayTheTextComesBack)
{
    const QString bin = QStringLiteral(KORVELLE_TEST_BIN_DIR "/bin/korvnote");
    if (!QFileInfo::exists(bin))
        GTEST_SKIP() << "korvnote not built at " << bin.toStdString();
    korvtest::SandboxEnv env;
    // The program's own user and machine, so that its lock is ours to take over.
    const KvSysEnvData real = KvSysEnv::Detect();
    env.Data().userName = real.userName;
    env.Data().hostName = real.hostName;
    env.Apply();
    KvPaths::ResetDataDirCache();
    const QString dir = env.Dir(u"notes"_qs);
    KvGeneratorOptions o;
    o.seed = 7;
    o.elements = 20;
    o.protectedPercent = 0;
    o.trashPercent = 0;
    o.referrerPercent = 0;
    const KvGeneratedNotebook nb = KvNotebookGenerator::Generate(dir, o);
    const QString id = PlainPage(dir, nb);
    ASSERT_FALSE(id.isEmpty());
    const QString typed = u"Nach dem Absturz wieder da"_qs;

    QProcess p;
    QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
    pe.insert(u"HOME"_qs, env.Data().homeDir);
    pe.insert(u"XDG_CONFIG_HOME"_qs, env.Data().configHome);
    pe.insert(u"XDG_DOCUMENTS_DIR"_qs, env.Data().documentsDir);
    pe.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    pe.insert(u"KORVELLE_APPLOG"_qs, u"1"_qs);
    pe.insert(QString::fromLatin1(KvTestTyping::Variable), typed);
    p.setProcessEnvironment(pe);
    p.start(bin, {u"/d"_qs, dir, u"/id"_qs, id});
    ASSERT_TRUE(p.waitForStarted(10000));
    const QString logPath = env.Data().configHome + u"korvelle/applog.txt";
    const bool typedIn = korvtest::WaitUntil(
        [&] { return korvtest::ReadAll(logPath).contains("KvTestTyping::Type end"); }, 20000);
    ASSERT_TRUE(typedIn) << korvtest::ReadAll(logPath).toStdString();
    QThread::msleep(KvPageJournal::QuietMs + 1000);
    ::kill(p.processId(), SIGKILL);
    ASSERT_TRUE(p.waitForFinished(10000));
    ASSERT_EQ(p.exitStatus(), QProcess::CrashExit);

    const QByteArray log = korvtest::ReadAll(logPath);
    EXPECT_EQ(log.count("KvPageJournal::Write entry"), 1) << log.toStdString();
    const QString rescue = KvRescueFiles::PathFor(dir, id, u"kvp"_qs);
    ASSERT_TRUE(QFileInfo::exists(rescue)) << log.toStdString();
    EXPECT_FALSE(korvtest::ReadAll(dir + id + u".kvp").contains(typed.toUtf8()));

    KvScriptedPrompter prompter;
    KvPrompterScope scope(prompter);
    prompter.AnswerChoice(KvRescueOffer::Restore);
    {
        TMainF w({u"/d"_qs, dir});
        ASSERT_TRUE(w.Shell().fullAccess) << "the killed program's lock is taken over";
        w.show();
        ASSERT_EQ(prompter.AskedOn(KvScriptedPrompter::Channel::Choice).size(), 1);
        ASSERT_TRUE(
            korvtest::WaitUntil([&] { return w.ShownPage() && w.ShownPage()->Id() == id; }));
        EXPECT_TRUE(w.ShownPage()->GetEditor()->PlainText().contains(typed));
        EXPECT_TRUE(w.ShownPage()->GetEditor()->IsModified());
        w.close();
    }
    EXPECT_TRUE(TextOfRtf(korvtest::ReadAll(dir + id + u".kvp")).contains(typed));
    EXPECT_FALSE(QFileInfo::exists(rescue));
    EXPECT_FALSE(prompter.Unexpected());
    KvDirStores::Close();
    KvPaths::ResetDataDirCache();
}

} // namespace
