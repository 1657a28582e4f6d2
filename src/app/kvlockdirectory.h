#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

// One lock record: who holds the data directory, since when, and which process.
struct KvLockEntry
{
    QString machine;
    QString user;
    QDateTime time;
    bool flag = false;
    qint64 pid = 0;
};

// The lock file "lockdir.dat" of a data directory: five lines (host, user, time, "N",
// process id). The first instance that takes it may write; the others work read-only.
//
// Besides its content, the holder keeps an exclusive flock on the file for as long as it
// holds the lock. The file is made complete under a temporary name, locked and then linked
// to "lockdir.dat", which fails when a lock exists: so no instance ever sees a lock that
// is not yet locked. A lock of this user on this host is stale when its process is this
// one or no running instance of the program, and nobody holds its flock; it is removed
// when read, only while the remover holds its flock and the path still names the same
// file. Two instances therefore never both take the lock, also not when they find the same
// stale lock at the same moment. A lock of another user or host is never removed here.
class KvLockDirectory
{
public:
    explicit KvLockDirectory(const QString& dataDir);
    // Releases a lock this object holds.
    ~KvLockDirectory();
    KvLockDirectory(const KvLockDirectory&) = delete;
    KvLockDirectory& operator=(const KvLockDirectory&) = delete;

    // Reads the lock file and sets the two flags; removes a stale lock. A lock that this
    // object holds is never removed by reading it.
    void ReadLock();
    bool IsHeld();
    KvLockEntry Holder();
    // Creates the lock file exclusively; false when a lock exists. A lock this object holds
    // already is kept (KeepLock). Raises KvException when the file cannot be written for
    // another reason.
    bool TakeLock();
    // Removes the lock file this object holds and drops its flock. The caller flushes the
    // directory's stores first, so that no other instance takes the directory while changes
    // are still on their way. Without a lock of this object it only reads the lock.
    void ReleaseLock();
    // Keeps holding the lock through a reopen of the directory (an access switch): true
    // while the lock file is still the one this object holds, else the result of taking it
    // anew. There is no moment in which the directory is unlocked.
    bool KeepLock();
    // This object created the lock file and has not released it: it holds the lock.
    bool Taken() const { return m_fd >= 0; }

    bool HeldByMe() const { return m_heldByMe; }
    bool HeldByAnother() const { return m_heldByAnother; }
    const KvLockEntry& Entry() const { return m_entry; }
    QString LockFile() const { return m_file; }

    // Whether a process is a running instance of the program (korvnote or korvnote-cli).
    // Replaceable for tests.
    using ProcessCheck = std::function<bool(qint64 pid)>;
    static void SetProcessCheck(ProcessCheck check);
    static bool IsProgramProcess(qint64 pid);
    static qint64 OwnPid();

private:
    // Sets the entry and the flags from the lines of a lock file; false for fewer than three.
    bool Parse(const QByteArray& bytes);
    // Whether the entry read is a lock of this user and host whose process no longer runs.
    bool EntryIsStale() const;
    // Removes the stale lock at the path under its flock; true when it is gone.
    bool RemoveStale();
    // Whether the file at the path is the one this object holds.
    bool PathIsHeldFile() const;
    void ClearEntry();

    QString m_file;
    KvLockEntry m_entry;
    bool m_heldByMe = false;
    bool m_heldByAnother = false;
    int m_fd = -1; // the lock file, flocked, while this object holds the lock
};
