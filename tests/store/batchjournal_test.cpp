// The journal that makes the end of a store batch all or nothing: what a crash at each
// moment leaves, and what the next opening makes of it.
#include "platform/kvatomicfile.h"
#include "platform/kvfileseam.h"
#include "store/kvbatchjournal.h"
#include "store/kvdirstores.h"
#include "store/kvstorebatch.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

QMap<QString, QByteArray> Snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, ReadAll(dir + name));
    return files;
}

class BatchJournalTest : public ::testing::Test
{
protected:
    void SetUp() override { KvDirStores::Reopen(data); }
    void TearDown() override
    {
        KvFileSeam::Disarm();
        KvDirStores::Close();
    }

    // A change over both stores that a crash could tear: a page in the object store, its
    // properties in the page store, a content file noted for deletion.
    void Change(const QString& name)
    {
        KvDirStores::ObjectStore().WriteString(u"Page0000001"_qs, u"Name"_qs, name);
        KvDirStores::PageStore().WriteString(u"Page0000001"_qs, u"Status"_qs, name);
        KvStoreBatch::DeleteAfterWrite(data + u"Page0000009.kvp"_qs);
    }

    // What a fresh store reads of the change.
    QString Stored(const QString& base, const QString& key)
    {
        TexIniFile fresh(data + base, 40, true);
        return fresh.ReadString(u"Page0000001"_qs, key, {});
    }

    // The process dies: its stores go without writing anything more.
    void Crash()
    {
        KvFileSeam::Failure dead;
        dead.ops = KvFileSeam::AnyWrite;
        dead.sticky = true;
        KvFileSeam::Arm(dead);
        KvDirStores::Close();
        KvFileSeam::Disarm();
    }

    korvtest::SandboxEnv env;
    QString data = env.Dir(u"data"_qs);
};

TEST_F(BatchJournalTest, AFinishedBatchLeavesNoJournal)
{
    WriteAll(data + u"Page0000009.kvp"_qs, "{\\rtf1 old}");
    {
        KvStoreBatch batch;
        Change(u"a"_qs);
        batch.Commit();
    }
    EXPECT_FALSE(KvBatchJournal::Exists(data));
    EXPECT_EQ(Stored(u"objprps"_qs, u"Name"_qs), u"a"_qs);
    EXPECT_FALSE(QFile::exists(data + u"Page0000009.kvp"_qs));
}

// A member that cannot be written after the journal was: the change completes at the next
// opening, whichever member failed, and not a byte of it is lost.
TEST_F(BatchJournalTest, MembersTornByACrashAreCompletedByTheNextOpening)
{
    for (const QString& torn : {u"objprps.*"_qs, u"Pageprps.*"_qs}) {
        SCOPED_TRACE(torn.toStdString());
        KvDirStores::Reopen(data);
        WriteAll(data + u"Page0000009.kvp"_qs, "{\\rtf1 old}");
        {
            KvStoreBatch batch;
            Change(torn);
            KvFileSeam::Failure fail;
            fail.ops = KvFileSeam::Rename;
            fail.pattern = data + torn;
            fail.error = EIO;
            fail.sticky = true;
            KvFileSeam::Scope seam(fail);
            EXPECT_THROW(batch.Commit(), TexIniFile::EIniFileFlush);
        }
        EXPECT_TRUE(KvBatchJournal::Exists(data));
        EXPECT_TRUE(KvStoreBatch::Outstanding());
        Crash();
        EXPECT_NE(
            Stored(torn.section(u'.', 0, 0), torn.startsWith(u"obj") ? u"Name"_qs : u"Status"_qs),
            torn);

        // A reading opening reports and changes nothing.
        const auto before = Snapshot(data);
        EXPECT_EQ(KvBatchJournal::Recover(data, false), KvBatchJournal::Outcome::Waiting);
        EXPECT_EQ(Snapshot(data), before);

        EXPECT_EQ(KvBatchJournal::Recover(data, true), KvBatchJournal::Outcome::RolledForward);
        EXPECT_FALSE(KvBatchJournal::Exists(data));
        EXPECT_EQ(Stored(u"objprps"_qs, u"Name"_qs), torn);
        EXPECT_EQ(Stored(u"Pageprps"_qs, u"Status"_qs), torn);
        EXPECT_FALSE(QFile::exists(data + u"Page0000009.kvp"_qs));
        // Done once: a second opening has nothing to do.
        EXPECT_EQ(KvBatchJournal::Recover(data, true), KvBatchJournal::Outcome::None);
    }
}

// Without a crash the waiting journal is completed before the stores write anything else,
// so it can never later overwrite what was written after it.
TEST_F(BatchJournalTest, AWaitingJournalIsCompletedBeforeTheNextFlush)
{
    {
        KvStoreBatch batch;
        Change(u"first"_qs);
        KvFileSeam::Failure fail;
        fail.ops = KvFileSeam::Rename;
        fail.pattern = data + u"objprps.*"_qs;
        fail.sticky = true;
        KvFileSeam::Scope seam(fail);
        EXPECT_THROW(batch.Commit(), TexIniFile::EIniFileFlush);
    }
    KvDirStores::PageStore().WriteString(u"Page0000001"_qs, u"Status"_qs, u"later"_qs);
    KvDirStores::PageStore().UpdateFile();
    EXPECT_FALSE(KvBatchJournal::Exists(data));
    EXPECT_FALSE(KvStoreBatch::Outstanding());
    EXPECT_EQ(Stored(u"objprps"_qs, u"Name"_qs), u"first"_qs);
    EXPECT_EQ(Stored(u"Pageprps"_qs, u"Status"_qs), u"later"_qs);
    KvDirStores::Close();
    EXPECT_EQ(KvBatchJournal::Recover(data, true), KvBatchJournal::Outcome::None);
    EXPECT_EQ(Stored(u"Pageprps"_qs, u"Status"_qs), u"later"_qs);
}

// A write-back error of the content files written in the batch (EIO, ENOSPC at syncfs)
// fails the batch before any member file names them; the changes wait in memory.
TEST_F(BatchJournalTest, AFailedDeferredSyncFailsTheBatchBeforeItsMembers)
{
    for (const int error : {EIO, ENOSPC}) {
        SCOPED_TRACE(error);
        KvDirStores::Reopen(data);
        const auto before = Snapshot(data);
        {
            KvStoreBatch batch;
            ASSERT_TRUE(KvAtomicFile::WriteFile(data + u"Page0000001.kvp"_qs, "{\\rtf1 new}"));
            KvDirStores::ObjectStore().WriteString(u"Page0000001"_qs, u"Name"_qs, u"new"_qs);
            KvFileSeam::Failure fail;
            fail.ops = KvFileSeam::SyncFs;
            fail.error = error;
            KvFileSeam::Scope seam(fail);
            try {
                batch.Commit();
                ADD_FAILURE() << "the batch reported success";
            } catch (const TexIniFile::EIniFileFlush& e) {
                EXPECT_EQ(e.Error(), error);
            }
            EXPECT_EQ(KvFileSeam::Injected(), 1);
        }
        QMap<QString, QByteArray> after = Snapshot(data);
        after.remove(u"Page0000001.kvp"_qs);
        EXPECT_EQ(after, before) << "a member file or the journal was written";
        EXPECT_FALSE(KvStoreBatch::Active());
        // Still pending: the next flush writes it.
        KvDirStores::ObjectStore().UpdateFile();
        EXPECT_EQ(Stored(u"objprps"_qs, u"Name"_qs), u"new"_qs);
        QFile::remove(data + u"Page0000001.kvp"_qs);
    }
}

TEST_F(BatchJournalTest, ABegunChangeIsUndoneWithTheContentFilesItWrote)
{
    for (const QString& name :
         {u"Page0000004.kvp"_qs, u"Page0000005.kvp"_qs, u"Page0000006.kvp.pw0123456789ab"_qs,
          u"Page0000012.kvp"_qs, u"Page0000012.txt"_qs, u"objprps.001"_qs, u"Pagefoo"_qs})
        WriteAll(data + name, "x");
    KvBatchJournal::WriteBegun(data, u"Page"_qs, 5);
    const auto before = Snapshot(data);
    EXPECT_EQ(KvBatchJournal::Recover(data, false), KvBatchJournal::Outcome::Waiting);
    EXPECT_EQ(Snapshot(data), before);
    EXPECT_EQ(KvBatchJournal::Recover(data, true), KvBatchJournal::Outcome::RolledBack);
    QStringList left = QDir(data).entryList(QDir::Files | QDir::Hidden);
    left.sort();
    EXPECT_EQ(left, (QStringList{u"Page0000004.kvp"_qs, u"Pagefoo"_qs, u"objprps.001"_qs}));
}

// A batch that made new pages writes the begun journal before their first content file
// and removes it at its end.
TEST_F(BatchJournalTest, NewPageContentStartsTheJournalOnce)
{
    {
        KvStoreBatch batch;
        EXPECT_FALSE(KvBatchJournal::Exists(data));
        KvStoreBatch::NewPageContent(u"Page"_qs, 7);
        EXPECT_TRUE(KvBatchJournal::Exists(data));
        const QByteArray begun = ReadAll(KvBatchJournal::Path(data));
        EXPECT_TRUE(begun.contains("BEGUN Page 7\n"));
        KvStoreBatch::NewPageContent(u"Page"_qs, 8);
        EXPECT_EQ(ReadAll(KvBatchJournal::Path(data)), begun);
        batch.Commit();
    }
    EXPECT_FALSE(KvBatchJournal::Exists(data));
    // Outside a batch nothing is journaled.
    KvStoreBatch::NewPageContent(u"Page"_qs, 9);
    EXPECT_FALSE(KvBatchJournal::Exists(data));
}

TEST_F(BatchJournalTest, ADamagedJournalIsSetAsideAndNothingIsWritten)
{
    WriteAll(data + u"objprps.001"_qs, "[Page0000001]\r\nName=keep\r\n");
    KvBatchJournal::Redo redo;
    redo.writes.emplace_back(u"objprps.001"_qs, QByteArray("[Page0000001]\r\nName=new\r\n"));
    KvBatchJournal::WriteRedo(data, redo);
    const QByteArray whole = ReadAll(KvBatchJournal::Path(data));
    struct Case
    {
        const char* what;
        QByteArray bytes;
    };
    QByteArray flipped = whole;
    flipped[20] = flipped[20] == 'x' ? 'y' : 'x';
    const QList<Case> cases = {
        {"truncated", whole.left(whole.size() - 10)},
        {"a byte changed", flipped},
        {"a name leaving the directory", QByteArray(whole).replace("objprps.001", "..%2Fobjprps")},
        {"empty", QByteArray()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAll(KvBatchJournal::Path(data), c.bytes);
        EXPECT_EQ(KvBatchJournal::Recover(data, true), KvBatchJournal::Outcome::Damaged);
        EXPECT_FALSE(KvBatchJournal::Exists(data));
        EXPECT_TRUE(QFile::exists(KvBatchJournal::Path(data) + u".damaged"_qs));
        EXPECT_EQ(ReadAll(data + u"objprps.001"_qs), "[Page0000001]\r\nName=keep\r\n");
    }
}

} // namespace
