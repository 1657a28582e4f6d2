#include "app/kvdiraccess.h"
#include "app/kvdirprops.h"
#include "app/kvlockdirectory.h"
#include "app/kvscriptedprompter.h"
#include "platform/kvfileseam.h"
#include "store/kvdirstores.h"
#include "support/testenv.h"

#include <QDateTime>
#include <QFileInfo>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

constexpr qint64 kLivePid = 424242; // stands for a running instance of the program
constexpr qint64 kDeadPid = 434343;

class DirAccess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvLockDirectory::SetProcessCheck([](qint64 pid) { return pid == kLivePid; });
        KvPrompter::SetCurrent(&prompter);
        data = env.Dir(u"data"_qs);
    }
    void TearDown() override
    {
        KvLockDirectory::SetProcessCheck({});
        KvPrompter::SetCurrent(nullptr);
        KvDirStores::Close();
    }
    void writeLock(const QString& host, const QString& user, qint64 pid,
                   const QByteArray& time = "10.12.2026 08:15:00")
    {
        WriteAll(data + u"lockdir.dat", host.toUtf8() + "\r\n" + user.toUtf8() + "\r\n" + time +
                                            "\r\nN\r\n" + QByteArray::number(pid) + "\r\n");
    }
    bool lockExists() { return QFileInfo::exists(data + u"lockdir.dat"); }

    korvtest::SandboxEnv env; // user "tester" on host "testbox"
    KvScriptedPrompter prompter;
    QString data;
};

TEST_F(DirAccess, TakeWritesFiveLinesAndReleaseRemoves)
{
    KvLockDirectory lock(data);
    ASSERT_TRUE(lock.TakeLock());
    const QList<QByteArray> lines = ReadAll(data + u"lockdir.dat").split('\n');
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0], "testbox\r");
    EXPECT_EQ(lines[1], "tester\r");
    EXPECT_EQ(lines[3], "N\r");
    EXPECT_EQ(lines[4], QByteArray::number(KvLockDirectory::OwnPid()) + '\r');
    lock.ReleaseLock();
    EXPECT_FALSE(lockExists());
}

// The identity of the file at a path: the lock that is held stays the same file.
ino_t Inode(const QString& path)
{
    struct stat st
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

TEST_F(DirAccess, HeldLockIsKeptThroughAnAccessSwitch)
{
    KvLockDirectory lock(data);
    ASSERT_TRUE(lock.TakeLock());
    EXPECT_TRUE(lock.Taken());
    const ino_t held = Inode(data + u"lockdir.dat"_qs);
    const QByteArray content = ReadAll(data + u"lockdir.dat"_qs);

    lock.ReadLock();
    EXPECT_TRUE(lock.HeldByMe()) << "reading the lock one holds does not release it";
    EXPECT_TRUE(lock.KeepLock());
    EXPECT_TRUE(KvTakeDirectoryLock(lock, {data, true, false}).fullAccess);
    EXPECT_TRUE(prompter.Messages().isEmpty());
    EXPECT_EQ(Inode(data + u"lockdir.dat"_qs), held) << "never released in between";
    EXPECT_EQ(ReadAll(data + u"lockdir.dat"_qs), content);

    KvLockDirectory other(data);
    EXPECT_FALSE(KvTakeDirectoryLock(other, {data, false, false}).fullAccess)
        << "another object of this process does not get it";
    EXPECT_EQ(Inode(data + u"lockdir.dat"_qs), held);

    // Removed by hand: taken anew. Replaced by another instance's lock: lost.
    QFile::remove(data + u"lockdir.dat"_qs);
    EXPECT_TRUE(lock.KeepLock());
    EXPECT_TRUE(QFile::exists(data + u"lockdir.dat"_qs));
    QFile::remove(data + u"lockdir.dat"_qs);
    writeLock(u"otherpc"_qs, u"someone"_qs, kLivePid);
    EXPECT_FALSE(lock.KeepLock());
    EXPECT_FALSE(lock.Taken());
    lock.ReleaseLock();
    EXPECT_TRUE(lockExists()) << "the other instance's lock stays";
}

TEST_F(DirAccess, StaleLookingLockIsKeptWhileItsFlockIsHeld)
{
    // A lock whose recorded process is gone but that another process still holds (for
    // instance one that reuses the file of an instance that just ended).
    writeLock(u"testbox"_qs, u"tester"_qs, kDeadPid);
    const int fd = ::open(QFile::encodeName(data + u"lockdir.dat"_qs).constData(), O_RDONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    KvLockDirectory lock(data);
    EXPECT_TRUE(lock.IsHeld());
    EXPECT_FALSE(lock.TakeLock());
    EXPECT_TRUE(lockExists());
    ::close(fd);
    EXPECT_FALSE(lock.IsHeld()) << "stale once nobody holds it";
    EXPECT_FALSE(lockExists());
    EXPECT_TRUE(lock.TakeLock());
}

TEST_F(DirAccess, ReadingLocksOfOthersAndStaleLocks)
{
    struct Case
    {
        const char* name;
        QString host;
        QString user;
        qint64 pid;
        bool heldByMe;
        bool heldByAnother;
        bool removed;
    };
    const Case cases[] = {
        {"sameUserLiveInstance", u"testbox"_qs, u"tester"_qs, kLivePid, true, false, false},
        {"sameUserCrashedInstance", u"testbox"_qs, u"tester"_qs, kDeadPid, false, false, true},
        {"caseInsensitiveMatch", u"TESTBOX"_qs, u"TESTER"_qs, kDeadPid, false, false, true},
        {"ownProcessIsStale", u"testbox"_qs, u"tester"_qs, KvLockDirectory::OwnPid(), false, false,
         true},
        {"otherHostNeverRemoved", u"otherpc"_qs, u"tester"_qs, kDeadPid, false, true, false},
        {"otherUserNeverRemoved", u"testbox"_qs, u"someone"_qs, kDeadPid, false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeLock(c.host, c.user, c.pid);
        KvLockDirectory lock(data);
        lock.ReadLock();
        EXPECT_EQ(lock.HeldByMe(), c.heldByMe);
        EXPECT_EQ(lock.HeldByAnother(), c.heldByAnother);
        EXPECT_EQ(lockExists(), !c.removed);
        EXPECT_EQ(lock.TakeLock(), c.removed) << "only a removed lock can be taken";
        QFile::remove(data + u"lockdir.dat");
    }
}

TEST_F(DirAccess, OddLockFiles)
{
    WriteAll(data + u"lockdir.dat", "otherpc\r\nsomeone\r\n");
    KvLockDirectory shortLock(data);
    EXPECT_FALSE(shortLock.IsHeld()) << "fewer than three lines change nothing";
    EXPECT_FALSE(shortLock.TakeLock()) << "but the file is there, so nobody takes it";

    writeLock(u"otherpc"_qs, u"someone"_qs, kLivePid, "not a time");
    KvLockDirectory badTime(data);
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    EXPECT_GE(badTime.Holder().time, before) << "a time that does not convert is now";

    writeLock(u"otherpc"_qs, u"someone"_qs, kLivePid, "2026-12-10T08:15:00");
    KvLockDirectory iso(data);
    EXPECT_EQ(iso.Holder().time, QDateTime(QDate(2026, 12, 10), QTime(8, 15)));
}

TEST_F(DirAccess, LockMessages)
{
    struct Case
    {
        const char* name;
        QString host;
        bool constructing;
        bool wanted;
        int answer;
        int expectedKind; // -1: no message
        bool mentions5043;
        bool abort;
    };
    const Case cases[] = {
        {"sameHostAtStartOkContinues", u"testbox"_qs, true, true, KvAnswer::Ok, 17, true, false},
        {"sameHostAtStartCancelEnds", u"testbox"_qs, true, true, KvAnswer::Cancel, 17, true, true},
        {"otherHostAtStart", u"otherpc"_qs, true, true, KvAnswer::Ok, 17, false, false},
        {"otherHostLater", u"otherpc"_qs, false, true, KvAnswer::Ok, 16, false, false},
        {"newWindowNoMessage", u"testbox"_qs, true, false, 0, -1, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        if (c.answer)
            prompter.Answer(c.answer);
        writeLock(c.host, c.host == u"testbox" ? u"tester"_qs : u"someone"_qs, kLivePid);
        KvLockDirectory lock(data);
        const KvLockOutcome out = KvTakeDirectoryLock(lock, {data, c.wanted, c.constructing});
        EXPECT_FALSE(out.fullAccess);
        EXPECT_EQ(out.abortStart, c.abort);
        if (c.expectedKind < 0) {
            EXPECT_TRUE(prompter.Messages().isEmpty());
            continue;
        }
        ASSERT_EQ(prompter.Messages().size(), 1);
        const auto m = prompter.Messages()[0];
        EXPECT_EQ(m.kind, c.expectedKind);
        EXPECT_EQ(m.title, u"Nur lesender Zugriff"_qs);
        EXPECT_TRUE(m.text.startsWith(u"Das Verzeichnis '"_qs + data + u"' wird seit "));
        EXPECT_TRUE(m.text.contains(c.host));
        EXPECT_EQ(m.text.contains(u"Abbrechen: Beenden dieser Anwendung"_qs), c.mentions5043);
        EXPECT_FALSE(m.text.contains(u"%v%"_qs));
    }
    QFile::remove(data + u"lockdir.dat");
    KvLockDirectory free(data);
    EXPECT_TRUE(KvTakeDirectoryLock(free, {data, true, true}).fullAccess);
}

TEST_F(DirAccess, DirectoryProperties)
{
    {
        KvDirProps p(data);
        EXPECT_EQ(p.Directory(), data);
        EXPECT_TRUE(p.FullAccess());
        EXPECT_FALSE(p.GroupDir());
        EXPECT_EQ(p.FileExt(), u"kvp"_qs);
        EXPECT_FALSE(p.HasData());
        EXPECT_TRUE(p.WriteTest());
        p.SetGroupDir(true);
        p.SetName(u"Projekte"_qs);
        p.Store();
    }
    KvDirProps again(data.chopped(1));
    EXPECT_TRUE(again.GroupDir());
    EXPECT_EQ(again.Name(), u"Projekte"_qs);
    EXPECT_TRUE(QDir(data).entryList({u"write_test_*"_qs}).isEmpty()) << "no scratch file left";

    WriteAll(data + u"objprps.bak", "x");
    EXPECT_FALSE(KvDirProps(data).HasData());
    WriteAll(data + u"objprps.001", "[TopFolder]\r\n");
    EXPECT_TRUE(KvDirProps(data).HasData());
}

TEST_F(DirAccess, FailedWriteTestStoresReadOnly)
{
    // A "directory" below a regular file cannot be written, also by root.
    WriteAll(env.Root() + u"plainfile", "x");
    const QString unwritable = env.Root() + u"plainfile/notes/";
    KvDirProps p(unwritable);
    EXPECT_FALSE(p.WriteTest());
    EXPECT_FALSE(p.Usable());
    EXPECT_FALSE(KvDirProps(unwritable).FullAccess())
        << "stored, so the next start opens read-only";
}

TEST_F(DirAccess, WriteTestRefusedThroughTheSeamStoresReadOnly)
{
    // A read-only mount, as root sees it too.
    KvFileSeam::Scope seam({KvFileSeam::Open, data + u"write_test_*"_qs, 1, EROFS, true});
    KvDirProps p(data);
    EXPECT_FALSE(p.WriteTest());
    EXPECT_FALSE(KvDirProps(data).FullAccess());
    EXPECT_TRUE(QDir(data).entryList({u"write_test_*"_qs}).isEmpty());
}

} // namespace
