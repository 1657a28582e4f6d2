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
// A lock of this user on this host is stale when its process is this one or no running
// instance of the program; a stale lock is removed when read. A lock of another user or
// host is never removed here.
class KvLockDirectory
{
public:
    explicit KvLockDirectory(const QString& dataDir);
    ~KvLockDirectory();
    KvLockDirectory(const KvLockDirectory&) = delete;
    KvLockDirectory& operator=(const KvLockDirectory&) = delete;

    void ReadLock();
    bool IsHeld();
    KvLockEntry Holder();
    // Creates the lock file exclusively; false when it exists. Raises KvException when the
    // file cannot be written for another reason.
    bool TakeLock();
    void ReleaseLock();

    // This object created the lock file and has not released it.
    bool Taken() const { return m_taken; }
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
    QString m_file;
    KvLockEntry m_entry;
    bool m_heldByMe = false;
    bool m_heldByAnother = false;
    bool m_taken = false;
};
