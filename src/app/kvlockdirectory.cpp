#include "app/kvlockdirectory.h"

#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "platform/applog.h"
#include "platform/kvexception.h"
#include "platform/sysenv.h"
#include "store/kvvalueformat.h"
#include "store/texprofilefile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

KvLockDirectory::ProcessCheck& processCheck()
{
    static KvLockDirectory::ProcessCheck check;
    return check;
}

QString procName(qint64 pid, const char* what)
{
    return u"/proc/%1/%2"_qs.arg(pid).arg(QString::fromLatin1(what));
}

bool isProgramName(const QString& name)
{
    return name == u"korvnote" || name == u"korvnote-cli";
}

QByteArray ReadAllFrom(int fd)
{
    QByteArray bytes;
    char buffer[512];
    ::lseek(fd, 0, SEEK_SET);
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n <= 0)
            return bytes;
        bytes.append(buffer, n);
    }
}

bool SameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void SyncDirectory(const QByteArray& dir)
{
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The file system cannot make hard links (some network shares).
bool NoHardLinks(int error)
{
    return error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK ||
           error == EXDEV;
}

KvException WriteError(const QString& file, int error)
{
    return KvException(
        KvTexts::Message(5632, {file, QString::fromLocal8Bit(std::strerror(error))}));
}

} // namespace

void KvLockDirectory::SetProcessCheck(ProcessCheck check)
{
    processCheck() = std::move(check);
}

qint64 KvLockDirectory::OwnPid()
{
    return qint64(::getpid());
}

bool KvLockDirectory::IsProgramProcess(qint64 pid)
{
    if (processCheck())
        return processCheck()(pid);
    if (pid <= 0 || !QFileInfo::exists(procName(pid, "")))
        return false;
    const QString exe = QFileInfo(procName(pid, "exe")).symLinkTarget();
    if (!exe.isEmpty())
        return isProgramName(QFileInfo(exe).fileName());
    // Another user's process hides its executable; its name is still readable.
    QFile comm(procName(pid, "comm"));
    if (!comm.open(QIODevice::ReadOnly))
        return false;
    return isProgramName(QString::fromLocal8Bit(comm.readAll()).trimmed());
}

KvLockDirectory::KvLockDirectory(const QString& dataDir)
    : m_file(KvPaths::WithTrailingSlash(dataDir) + u"lockdir.dat")
{}

KvLockDirectory::~KvLockDirectory()
{
    if (m_fd < 0)
        return;
    ReleaseLock();
}

void KvLockDirectory::ClearEntry()
{
    m_heldByMe = m_heldByAnother = false;
    m_entry.machine.clear();
    m_entry.user.clear();
}

bool KvLockDirectory::Parse(const QByteArray& bytes)
{
    const QStringList lines = TexProfileFile::DecodeLines(bytes);
    if (lines.size() < 3)
        return false;
    m_entry.machine = lines.at(0);
    m_entry.user = lines.at(1);
    bool ok = false;
    m_entry.time = KvValueFormat::TextToDateTime(lines.at(2), &ok);
    if (!ok)
        m_entry.time = QDateTime::currentDateTime();
    m_entry.flag = lines.value(3) == u"Y";
    m_entry.pid = lines.value(4).trimmed().toLongLong(&ok);
    if (!ok)
        m_entry.pid = 0;
    m_heldByMe = m_entry.machine.compare(KvSysEnv::HostName(), Qt::CaseInsensitive) == 0 &&
                 m_entry.user.compare(KvSysEnv::UserName(), Qt::CaseInsensitive) == 0;
    m_heldByAnother = !m_heldByMe;
    return true;
}

bool KvLockDirectory::EntryIsStale() const
{
    // Left by this process or by an instance that no longer runs.
    return m_heldByMe && (m_entry.pid == OwnPid() || !IsProgramProcess(m_entry.pid));
}

bool KvLockDirectory::PathIsHeldFile() const
{
    struct stat held
    {
    };
    struct stat atPath
    {
    };
    return m_fd >= 0 && ::fstat(m_fd, &held) == 0 &&
           ::stat(QFile::encodeName(m_file).constData(), &atPath) == 0 && SameFile(held, atPath);
}

bool KvLockDirectory::RemoveStale()
{
    const QByteArray path = QFile::encodeName(m_file);
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT; // removed by someone else meanwhile
    bool removed = false;
    // Busy: a live instance holds it, or another one is removing it right now.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        struct stat opened
        {
        };
        struct stat atPath
        {
        };
        // Still the file judged stale, and still stale by what it says now.
        const QByteArray bytes = ReadAllFrom(fd);
        if (::fstat(fd, &opened) == 0 && ::stat(path.constData(), &atPath) == 0 &&
            SameFile(opened, atPath) && Parse(bytes) && EntryIsStale())
            removed = ::unlink(path.constData()) == 0;
    }
    ::close(fd); // releases the flock
    return removed;
}

void KvLockDirectory::ReadLock()
{
    KV_LOG_SCOPE("KvLockDirectory::ReadLock");
    QFile f(m_file);
    if (!f.exists()) {
        ClearEntry();
        return;
    }
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = f.readAll();
    f.close();
    if (!Parse(bytes))
        return;
    if (!EntryIsStale() || PathIsHeldFile())
        return;
    if (RemoveStale())
        ClearEntry();
}

bool KvLockDirectory::IsHeld()
{
    ReadLock();
    return m_heldByMe || m_heldByAnother;
}

KvLockEntry KvLockDirectory::Holder()
{
    ReadLock();
    return m_entry;
}

bool KvLockDirectory::TakeLock()
{
    KV_LOG_SCOPE("KvLockDirectory::TakeLock");
    if (m_fd >= 0)
        return KeepLock();
    if (QFileInfo::exists(m_file) && IsHeld())
        return false;
    const QByteArray text = (KvSysEnv::HostName().left(15) + u"\r\n" + KvSysEnv::UserName() +
                             u"\r\n" + KvValueFormat::DateTimeToText(QDateTime::currentDateTime()) +
                             u"\r\nN\r\n" + QString::number(OwnPid()) + u"\r\n")
                                .toUtf8();
    const QByteArray path = QFile::encodeName(m_file);
    const QByteArray dir = QFile::encodeName(QFileInfo(m_file).absolutePath());

    // The complete lock under a temporary name, locked before anyone can see it.
    QByteArray temp = dir + "/.lockdir.dat.XXXXXX";
    // Close-on-exec: a program started from here must not inherit the flock and keep the
    // directory locked after this instance ended.
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        throw WriteError(m_file, errno);
    ::fchmod(fd, 0644); // other instances read the holder from it
    const bool written = ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                         ::write(fd, text.constData(), size_t(text.size())) == text.size() &&
                         ::fsync(fd) == 0;
    if (!written) {
        const int error = errno;
        ::unlink(temp.constData());
        ::close(fd);
        throw WriteError(m_file, error);
    }
    if (::link(temp.constData(), path.constData()) == 0) {
        ::unlink(temp.constData());
        SyncDirectory(dir);
        m_fd = fd;
        return true;
    }
    const int error = errno;
    ::unlink(temp.constData());
    ::close(fd);
    if (error == EEXIST)
        return false; // a racing instance, or a stale lock that could not be removed
    if (!NoHardLinks(error))
        throw WriteError(m_file, error);

    // Without hard links: created exclusively and locked at once; a reader that meets the
    // file before it is complete finds fewer than three lines and leaves it alone.
    const int direct = ::open(path.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0644);
    if (direct < 0) {
        if (errno == EEXIST)
            return false;
        throw WriteError(m_file, errno);
    }
    ::flock(direct, LOCK_EX | LOCK_NB);
    if (::write(direct, text.constData(), size_t(text.size())) != text.size() ||
        ::fsync(direct) != 0) {
        const int error = errno;
        ::unlink(path.constData());
        ::close(direct);
        throw WriteError(m_file, error);
    }
    SyncDirectory(dir);
    m_fd = direct;
    return true;
}

bool KvLockDirectory::KeepLock()
{
    KV_LOG_SCOPE("KvLockDirectory::KeepLock");
    if (PathIsHeldFile())
        return true;
    // Removed or replaced behind our back (by hand, or by an older version).
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    return TakeLock();
}

void KvLockDirectory::ReleaseLock()
{
    KV_LOG_SCOPE("KvLockDirectory::ReleaseLock");
    if (m_fd < 0) {
        // Reading a lock of this process that nobody holds removes it.
        ReadLock();
        return;
    }
    if (PathIsHeldFile()) {
        ::unlink(QFile::encodeName(m_file).constData());
        SyncDirectory(QFile::encodeName(QFileInfo(m_file).absolutePath()));
    }
    ::close(m_fd);
    m_fd = -1;
    ClearEntry();
}
