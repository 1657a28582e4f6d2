// The typing journal: when it writes the unsaved text of the followed page, where, in
// which form, and when its file goes.
#include "app/kvpaths.h"
#include "model/kvpagejournal.h"
#include "model/kvrescuefiles.h"
#include "modelfixture.h"
#include "richtext/texrichdocument.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <sys/stat.h>

namespace {

constexpr int kQuietMs = 60;
constexpr int kLongestMs = 300;

class PageJournal : public korvtest::ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        Build();
        page = NewPage(korvtest::PageId(1), top.get(), u"Notiz"_qs);
        page->Store();
        page->Load(false, false);
        page->GetEditor()->LoadPlainText(u"Gespeichert"_qs);
        page->GetEditor()->SetModified(true);
        page->Store();
        journal.Open(Dir(), u"kvp"_qs);
        journal.SetDelays(kQuietMs, kLongestMs);
        journal.Follow(page);
        usual = QDir::cleanPath(KvRescueFiles::PathFor(Dir(), page->Id(), u"kvp"_qs));
    }
    void TearDown() override
    {
        journal.Close();
        ModelFixture::TearDown();
    }

    void Type(const QString& text)
    {
        QTextCursor c(page->GetEditor()->Document());
        c.movePosition(QTextCursor::End);
        c.insertText(text);
    }
    // Runs the event loop for ms (the journal's timer fires only there).
    static void Idle(int ms)
    {
        korvtest::WaitUntil([] { return false; }, ms);
    }
    bool WaitForWrites(int n)
    {
        return korvtest::WaitUntil([&] { return journal.Writes() >= n; });
    }
    QString TextOf(const QString& path)
    {
        QByteArray rtf;
        if (!KvRescueFiles::Read(*page, path, rtf))
            return QString();
        TexRichDocument doc;
        doc.LoadRtf(rtf);
        return doc.PlainText();
    }
    QStringList FilesInFolder() const
    {
        QStringList files;
        QDirIterator it(KvRescueFiles::Folder(Dir()), QDir::Files | QDir::Hidden);
        while (it.hasNext())
            files.append(QDir::cleanPath(it.next()));
        return files;
    }

    KvPageJournal journal;
    KvPage* page = nullptr;
    QString usual;
};

TEST_F(PageJournal, NothingChangedNothingIsWrittenAndNothingWaits)
{
    EXPECT_FALSE(journal.Armed());
    Idle(3 * kQuietMs);
    EXPECT_EQ(journal.Writes(), 0);
    EXPECT_TRUE(FilesInFolder().isEmpty());
}

TEST_F(PageJournal, WritesOnceAfterTheLastChangeAndRestsAfterwards)
{
    Type(u" und getippt"_qs);
    EXPECT_TRUE(journal.Armed());
    EXPECT_EQ(journal.Writes(), 0) << "nothing is written at the change itself";
    ASSERT_TRUE(WaitForWrites(1));
    EXPECT_FALSE(journal.Armed()) << "the write does not arm the timer again";
    EXPECT_TRUE(TextOf(usual).contains(u"Gespeichert und getippt"_qs));
    EXPECT_EQ(FilesInFolder(), QStringList{usual}) << "replaced in place, no temporary left";
    struct stat st = {};
    ASSERT_EQ(::stat(QFile::encodeName(usual).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u) << "the owner's only";
    Idle(3 * kQuietMs);
    EXPECT_EQ(journal.Writes(), 1) << "no write while nothing changed";

    Type(u" weiter"_qs);
    ASSERT_TRUE(WaitForWrites(2));
    EXPECT_TRUE(TextOf(usual).contains(u"getippt weiter"_qs));
}

TEST_F(PageJournal, SteadyTypingIsKeptWithinTheLongestDelay)
{
    // A key every 20 ms never leaves the quiet delay: only the longest delay writes.
    QDeadlineTimer typing(5 * kLongestMs);
    int writesWhileTyping = 0;
    while (!typing.hasExpired()) {
        Type(u"x"_qs);
        Idle(20);
        writesWhileTyping = journal.Writes();
    }
    EXPECT_GE(writesWhileTyping, 2);
    EXPECT_LE(writesWhileTyping, 5);
}

TEST_F(PageJournal, TheFileGoesWhenThePageIsStoredOrTheChangesUndone)
{
    struct Case
    {
        const char* name;
        std::function<void(KvPage&)> settle;
    };
    const Case cases[] = {
        {"stored", [](KvPage& p) { p.Store(); }},
        {"undone", [](KvPage& p) { p.GetEditor()->Document()->undo(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int before = journal.Writes();
        Type(u"!"_qs);
        ASSERT_TRUE(WaitForWrites(before + 1));
        ASSERT_TRUE(QFileInfo::exists(usual));
        c.settle(*page);
        EXPECT_FALSE(page->GetEditor()->IsModified());
        EXPECT_FALSE(QFileInfo::exists(usual));
        EXPECT_FALSE(journal.Armed());
    }
    EXPECT_TRUE(korvtest::ReadAll(page->ContentFilePath()).contains("Gespeichert!"));
}

TEST_F(PageJournal, AProtectedPageIsKeptEncryptedUnderItsKeyOnly)
{
    page->SetPassword(u"geheim"_qs, false);
    page->Store();
    Type(u" Klartextprobe"_qs);
    ASSERT_TRUE(WaitForWrites(1));
    for (const QString& f : FilesInFolder()) {
        const QByteArray bytes = korvtest::ReadAll(f);
        EXPECT_FALSE(bytes.contains("Klartextprobe")) << f.toStdString();
        EXPECT_FALSE(bytes.contains("Gespeichert")) << f.toStdString();
        EXPECT_FALSE(KvRescueFiles::IsPlainRtf(bytes));
    }
    EXPECT_TRUE(TextOf(usual).contains(u"Klartextprobe"_qs)) << "the page's key reads it";
}

TEST_F(PageJournal, AFileWaitingForTheUserIsNeverReplacedNorRemoved)
{
    QDir().mkpath(KvRescueFiles::Folder(Dir()));
    korvtest::WriteAll(usual, "{\\rtf1 vom letzten Mal}");
    Type(u" neu"_qs);
    ASSERT_TRUE(WaitForWrites(1));
    EXPECT_EQ(korvtest::ReadAll(usual), "{\\rtf1 vom letzten Mal}");
    QStringList files = FilesInFolder();
    files.removeOne(usual);
    ASSERT_EQ(files.size(), 1);
    const QString second = files.first();
    EXPECT_TRUE(QFileInfo(second).fileName().startsWith(page->Id() + u'-'));
    EXPECT_TRUE(TextOf(second).contains(u"Gespeichert neu"_qs));
    const QList<KvRescueFiles::File> listed = KvRescueFiles::List(Dir(), u"kvp"_qs);
    ASSERT_EQ(listed.size(), 2);
    EXPECT_EQ(listed[0].pageId, page->Id());
    EXPECT_EQ(listed[1].pageId, page->Id());

    page->Store();
    EXPECT_EQ(FilesInFolder(), QStringList{usual}) << "only the journal's own file goes";
    Ctx().journal = &journal;
    page->Remove();
    delete page; // detached by Remove
    page = nullptr;
    EXPECT_TRUE(FilesInFolder().isEmpty()) << "a page removed for good takes every file along";
}

TEST_F(PageJournal, AnAdoptedFileIsTheJournalsOwnUntilTheStore)
{
    QDir().mkpath(KvRescueFiles::Folder(Dir()));
    korvtest::WriteAll(usual, "{\\rtf1 wiederhergestellt}");
    journal.Adopt(page->Id(), usual);
    Type(u" dazu"_qs);
    ASSERT_TRUE(WaitForWrites(1));
    EXPECT_EQ(FilesInFolder(), QStringList{usual});
    EXPECT_TRUE(TextOf(usual).contains(u"dazu"_qs));
    page->Store();
    EXPECT_TRUE(FilesInFolder().isEmpty());
}

TEST_F(PageJournal, UnloadingThePageEndsTheFollowing)
{
    Type(u" ungesichert"_qs);
    EXPECT_TRUE(journal.Armed());
    page->Unload();
    EXPECT_EQ(journal.Followed(), nullptr);
    EXPECT_FALSE(journal.Armed());
    Idle(3 * kQuietMs);
    EXPECT_EQ(journal.Writes(), 0);
}

TEST_F(PageJournal, AClosedJournalFollowsNothing)
{
    journal.Close();
    journal.Follow(page);
    Type(u" lesend"_qs);
    EXPECT_FALSE(journal.Armed());
    EXPECT_EQ(journal.Followed(), nullptr);
}

TEST_F(PageJournal, FoldersOfTwoDataDirectoriesNeverMix)
{
    const QString other = m_env.Dir(u"other"_qs);
    EXPECT_NE(KvRescueFiles::Folder(Dir()), KvRescueFiles::Folder(other));
    EXPECT_EQ(KvRescueFiles::Folder(Dir()), KvRescueFiles::Folder(Dir() + u"../data/"_qs));
    EXPECT_TRUE(KvRescueFiles::Folder(Dir()).startsWith(KvPaths::SettingsDirUncreated() +
                                                        u"rescue/data-"_qs));
}

// A restored text comes with the next load as a change of its own.
TEST_F(PageJournal, RestoredTextLoadsAsAnUnsavedUndoableChange)
{
    page->Unload();
    TexRichDocument source;
    source.LoadPlainText(u"Gerettet"_qs);
    page->RestoreText(source.SaveRtf());
    EXPECT_TRUE(page->HasRestoredText());
    EXPECT_FALSE(korvtest::ReadAll(page->ContentFilePath()).contains("Gerettet"));
    page->Load(false, false);
    EXPECT_FALSE(page->HasRestoredText());
    EXPECT_TRUE(page->GetEditor()->IsModified());
    EXPECT_TRUE(page->GetEditor()->PlainText().contains(u"Gerettet"_qs));
    page->GetEditor()->Document()->undo();
    EXPECT_TRUE(page->GetEditor()->PlainText().contains(u"Gespeichert"_qs));
    page->GetEditor()->Document()->redo();
    page->Store();
    EXPECT_TRUE(korvtest::ReadAll(page->ContentFilePath()).contains("Gerettet"));
}

} // namespace
