#include "platform/kvatomicfile.h"
#include "platform/kvfileseam.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

struct stat StatOf(const QString& path)
{
    struct stat st
    {
    };
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0) << path.toStdString();
    return st;
}

class AtomicFileTest : public ::testing::Test
{
protected:
    void TearDown() override { KvFileSeam::Disarm(); }

    // Files in the directory, hidden ones included: a temporary left behind shows here.
    QStringList Entries() const
    {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    korvtest::SandboxEnv env;
    QString dir = env.Dir(u"data"_qs);
    QString path = dir + u"page.kvp"_qs;
};

TEST_F(AtomicFileTest, ReplacesTheFileAsAWholeAndLeavesNoTemporary)
{
    WriteAll(path, "old content");
    const ino_t before = StatOf(path).st_ino;
    ASSERT_TRUE(KvAtomicFile::WriteFile(path, "new"));
    EXPECT_EQ(ReadAll(path), QByteArray("new"));
    EXPECT_NE(StatOf(path).st_ino, before) << "written in place instead of replaced";
    EXPECT_EQ(Entries(), QStringList{u"page.kvp"_qs});
}

TEST_F(AtomicFileTest, DeferredSyncsStillReplaceAtOnceAndTheSeamStillBites)
{
    const QString target = dir + u"deferred.txt"_qs;
    {
        KvAtomicFile::DeferSync later;
        ASSERT_TRUE(KvAtomicFile::WriteFile(target, "one"));
        EXPECT_EQ(korvtest::ReadAll(target), QByteArray("one"));
        {
            const KvAtomicFile::SyncNow now; // what was written so far is synced first
            ASSERT_TRUE(KvAtomicFile::WriteFile(target, "two"));
        }
        KvFileSeam::Failure f;
        f.ops = KvFileSeam::Fsync;
        f.error = EIO;
        KvFileSeam::Scope seam(f);
        EXPECT_FALSE(KvAtomicFile::WriteFile(target, "three"));
    }
    EXPECT_EQ(korvtest::ReadAll(target), QByteArray("two"));
    EXPECT_EQ(Entries(), QStringList{u"deferred.txt"_qs}); // no temporary left behind
}

TEST_F(AtomicFileTest, WithoutCommitTheDestinationStaysAndTheTemporaryGoes)
{
    WriteAll(path, "old");
    {
        KvAtomicFile f(path);
        ASSERT_TRUE(f.Open());
        ASSERT_TRUE(f.Write("partial"));
        EXPECT_EQ(Entries().size(), 2) << "the temporary lives beside the destination";
    }
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    EXPECT_EQ(Entries(), QStringList{u"page.kvp"_qs});
}

TEST_F(AtomicFileTest, KeepsModeAndGroupOfTheReplacedFile)
{
    const std::optional<gid_t> group = korvtest::OtherGroup();
    if (!group)
        GTEST_SKIP() << "no second group to give the file";
    WriteAll(path, "old");
    const QByteArray p = QFile::encodeName(path);
    ASSERT_EQ(::chown(p.constData(), uid_t(-1), *group), 0);
    ASSERT_EQ(::chmod(p.constData(), 0640), 0);
    ASSERT_TRUE(KvAtomicFile::WriteFile(path, "new"));
    const struct stat st = StatOf(path);
    EXPECT_EQ(st.st_gid, *group) << "a shared directory's group must stay";
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(AtomicFileTest, NewFilesFollowTheUmaskUnlessOwnerOnly)
{
    const mode_t old = ::umask(027);
    const bool ok = KvAtomicFile::WriteFile(path, "x");
    const bool privateOk =
        KvAtomicFile::WriteFile(dir + u"plain.rtf"_qs, "x", KvAtomicFile::Access::OwnerOnly);
    ::umask(old);
    ASSERT_TRUE(ok && privateOk);
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0640u);
    EXPECT_EQ(StatOf(dir + u"plain.rtf"_qs).st_mode & 07777, 0600u);
    // Owner-only also when it replaces a file that others could read.
    ::chmod(QFile::encodeName(path).constData(), 0644);
    ASSERT_TRUE(KvAtomicFile::WriteFile(path, "y", KvAtomicFile::Access::OwnerOnly));
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0600u);
}

TEST_F(AtomicFileTest, RealErrorsAreReportedWithErrno)
{
    int error = 0;
    EXPECT_FALSE(KvAtomicFile::WriteFile(dir + u"missing/f.txt"_qs, "x",
                                         KvAtomicFile::Access::KeepOrDefault, &error));
    EXPECT_EQ(error, ENOENT);
    errno = 0;
    EXPECT_FALSE(KvAtomicFile::WriteFile(dir + u"missing/f.txt"_qs, "x"));
    EXPECT_EQ(errno, ENOENT);
    QDir().mkpath(dir + u"sub"_qs);
    EXPECT_FALSE(
        KvAtomicFile::WriteFile(dir + u"sub"_qs, "x", KvAtomicFile::Access::KeepOrDefault, &error));
    EXPECT_EQ(error, EISDIR);
    EXPECT_FALSE(KvAtomicFile::ErrorString(ENOSPC).isEmpty());
    EXPECT_EQ(Entries(), QStringList());
}

// ---- the failure seam ----

struct SeamCase
{
    KvFileSeam::Op op;
    int error;
};

class AtomicFileSeam : public AtomicFileTest, public ::testing::WithParamInterface<SeamCase>
{
};

TEST_P(AtomicFileSeam, FailedStepKeepsTheOldFileAndNamesTheError)
{
    const SeamCase& c = GetParam();
    WriteAll(path, "old");
    KvFileSeam::Arm({c.op, u"*/page.kvp"_qs, 1, c.error, false});
    int error = 0;
    EXPECT_FALSE(KvAtomicFile::WriteFile(path, "new", KvAtomicFile::Access::KeepOrDefault, &error));
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(KvFileSeam::Injected(), 1);
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
    EXPECT_EQ(Entries(), QStringList{u"page.kvp"_qs});
    // Only the next operation was armed: the retry goes through.
    EXPECT_TRUE(KvAtomicFile::WriteFile(path, "new"));
    EXPECT_EQ(ReadAll(path), QByteArray("new"));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, AtomicFileSeam,
    ::testing::Values(SeamCase{KvFileSeam::Open, EACCES}, SeamCase{KvFileSeam::Open, EROFS},
                      SeamCase{KvFileSeam::Write, ENOSPC}, SeamCase{KvFileSeam::Write, EIO},
                      SeamCase{KvFileSeam::Fsync, EIO}, SeamCase{KvFileSeam::Fsync, ENOSPC},
                      SeamCase{KvFileSeam::Rename, EACCES}, SeamCase{KvFileSeam::Rename, EROFS}));

TEST_F(AtomicFileTest, SeamMatchesPatternCountsAndSticks)
{
    const QString other = dir + u"other.txt"_qs;
    // The second matching write fails; another path neither counts nor fails.
    KvFileSeam::Arm({KvFileSeam::AnyWrite, u"*.kvp"_qs, 2, ENOSPC, false});
    EXPECT_TRUE(KvAtomicFile::WriteFile(other, "o"));
    EXPECT_FALSE(KvAtomicFile::WriteFile(path, "1")) << "open passes, the write fails";
    EXPECT_EQ(KvFileSeam::Seen(), 2);
    EXPECT_TRUE(KvAtomicFile::WriteFile(path, "2"));
    EXPECT_EQ(KvFileSeam::Seen(), 6) << "open, write, fsync, rename";
    EXPECT_EQ(KvFileSeam::Injected(), 1);
    EXPECT_EQ(ReadAll(path), QByteArray("2"));
    KvFileSeam::Disarm();

    KvFileSeam::Arm({KvFileSeam::Rename, QString(), 2, EIO, true});
    EXPECT_TRUE(KvAtomicFile::WriteFile(other, "a"));
    EXPECT_FALSE(KvAtomicFile::WriteFile(path, "b"));
    EXPECT_FALSE(KvAtomicFile::WriteFile(other, "c")) << "sticky: everything after fails";
    EXPECT_EQ(ReadAll(other), QByteArray("a"));
    KvFileSeam::Disarm();
    EXPECT_TRUE(KvAtomicFile::WriteFile(other, "d"));
}

TEST_F(AtomicFileTest, SeamMakesAPathCountAsNotWritable)
{
    EXPECT_TRUE(KvAtomicFile::CanReplace(path));
    KvFileSeam::Scope seam({KvFileSeam::Access, path, 1, EROFS, true});
    errno = 0;
    EXPECT_FALSE(KvAtomicFile::CanReplace(path));
    EXPECT_EQ(errno, EROFS);
    EXPECT_TRUE(KvAtomicFile::CanReplace(dir + u"other"_qs));
    EXPECT_TRUE(KvAtomicFile::WriteFile(path, "x")) << "the check alone is armed";
}

TEST_F(AtomicFileTest, CanReplaceFollowsTheFileSystem)
{
    WriteAll(dir + u"plain"_qs, "x");
    EXPECT_TRUE(KvAtomicFile::CanReplace(dir + u"plain"_qs));
    EXPECT_TRUE(KvAtomicFile::CanReplace(dir + u"absent"_qs));
    EXPECT_FALSE(KvAtomicFile::CanReplace(dir + u"plain/below"_qs));
    QDir().mkpath(dir + u"sub"_qs);
    EXPECT_FALSE(KvAtomicFile::CanReplace(dir + u"sub"_qs));
}

} // namespace
