#include "platform/kvatomicfile.h"

#include "platform/applog.h"
#include "platform/kvfileseam.h"

#include <QFile>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// Read from /proc, so that the process umask is not changed, not even for a moment
// (umask() is the only other way to learn it, and it is process-wide).
mode_t currentUmask()
{
    QFile status(u"/proc/self/status"_qs);
    if (status.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> lines = status.readAll().split('\n');
        for (const QByteArray& line : lines) {
            if (line.startsWith("Umask:")) {
                bool ok = false;
                const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
                if (ok)
                    return mode_t(mask);
            }
        }
    }
    return 022;
}

QByteArray directoryOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    if (slash == 0)
        return "/";
    return path.left(slash);
}

// A rename is durable only once the directory entry is on disk. Best effort: some file
// systems refuse to sync a directory, and the file itself is in place already.
void syncDirectory(const QByteArray& dir)
{
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

struct Deferred
{
    std::mutex lock;
    int depth = 0;
    int immediate = 0;
    QSet<QByteArray> directories; // written without a sync since the last one
};

Deferred& deferred()
{
    static Deferred d;
    return d;
}

// True when the sync of a file in dir is left to SyncDeferred.
bool deferSync(const QByteArray& dir)
{
    Deferred& d = deferred();
    const std::lock_guard guard(d.lock);
    if (d.depth == 0 || d.immediate > 0)
        return false;
    d.directories.insert(dir);
    return true;
}

} // namespace

KvAtomicFile::DeferSync::DeferSync()
{
    Deferred& d = deferred();
    const std::lock_guard guard(d.lock);
    ++d.depth;
}

KvAtomicFile::DeferSync::~DeferSync()
{
    bool last = false;
    {
        Deferred& d = deferred();
        const std::lock_guard guard(d.lock);
        last = --d.depth == 0;
    }
    if (last) {
        if (const int error = SyncDeferred())
            KvAppLog::Write(u"KvAtomicFile: deferred sync failed: "_qs + ErrorString(error));
    }
}

KvAtomicFile::SyncNow::SyncNow()
{
    if (const int error = SyncDeferred())
        KvAppLog::Write(u"KvAtomicFile: deferred sync failed: "_qs + ErrorString(error));
    Deferred& d = deferred();
    const std::lock_guard guard(d.lock);
    ++d.immediate;
}

KvAtomicFile::SyncNow::~SyncNow()
{
    Deferred& d = deferred();
    const std::lock_guard guard(d.lock);
    --d.immediate;
}

int KvAtomicFile::SyncDeferred()
{
    QSet<QByteArray> dirs;
    {
        Deferred& d = deferred();
        const std::lock_guard guard(d.lock);
        dirs.swap(d.directories);
    }
    // One sync of each file system: the files' data and the renames in their directories.
    int first = 0;
    for (const QByteArray& dir : std::as_const(dirs)) {
        int error = KvFileSeam::Check(KvFileSeam::SyncFs, QFile::decodeName(dir));
        if (error == 0) {
            const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fd < 0)
                error = errno;
            else {
                if (::syncfs(fd) != 0)
                    error = errno;
                ::close(fd);
            }
        }
        if (error != 0 && first == 0)
            first = error;
    }
    return first;
}

KvAtomicFile::KvAtomicFile(QString destinationPath, Access access)
    : m_destination(std::move(destinationPath)), m_access(access)
{}

KvAtomicFile::~KvAtomicFile()
{
    discard();
}

QString KvAtomicFile::ErrorString(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool KvAtomicFile::fail(int error)
{
    if (m_error == 0)
        m_error = error != 0 ? error : EIO;
    discard();
    return false;
}

void KvAtomicFile::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tmpPath.isEmpty()) {
        ::unlink(m_tmpPath.constData());
        m_tmpPath.clear();
    }
}

bool KvAtomicFile::Open()
{
    if (m_opened || m_error)
        return fail(m_error ? m_error : EINVAL);
    m_opened = true;
    if (const int err = KvFileSeam::Check(KvFileSeam::Open, m_destination))
        return fail(err);
    const QByteArray dest = QFile::encodeName(m_destination);
    const QByteArray dir = directoryOf(dest);
    // Hidden, so that listings of the directory (members of a store) never take it up.
    QByteArray tmpl = dir + "/." + dest.mid(dest.lastIndexOf('/') + 1) + ".XXXXXX";
    const int fd = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(errno);
    m_fd = fd;
    m_tmpPath = tmpl;
    // mkostemp made the file 0600, which OwnerOnly wants as it is.
    if (m_access == Access::KeepOrDefault) {
        struct stat old;
        if (::stat(dest.constData(), &old) == 0) {
            // Group first: changing it may clear the set-group-id bit the mode restores.
            // Either may be refused (not a member of the group, a network file system);
            // the file is still written.
            if (::fchown(m_fd, uid_t(-1), old.st_gid) != 0) {
            }
            ::fchmod(m_fd, old.st_mode & 07777);
        } else {
            ::fchmod(m_fd, 0666 & ~currentUmask());
        }
    }
    return true;
}

bool KvAtomicFile::Write(const char* data, qsizetype length)
{
    if (m_fd < 0)
        return fail(m_error ? m_error : EBADF);
    qsizetype done = 0;
    while (done < length) {
        if (const int err = KvFileSeam::Check(KvFileSeam::Write, m_destination))
            return fail(err);
        const ssize_t n = ::write(m_fd, data + done, size_t(length - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        done += n;
    }
    return true;
}

bool KvAtomicFile::Commit()
{
    if (m_fd < 0)
        return fail(m_error ? m_error : EBADF);
    if (const int err = KvFileSeam::Check(KvFileSeam::Fsync, m_destination))
        return fail(err);
    const QByteArray dest = QFile::encodeName(m_destination);
    const bool later = deferSync(directoryOf(dest));
    if (!later && ::fsync(m_fd) != 0)
        return fail(errno);
    const int fd = std::exchange(m_fd, -1);
    if (::close(fd) != 0)
        return fail(errno);
    if (const int err = KvFileSeam::Check(KvFileSeam::Rename, m_destination))
        return fail(err);
    if (std::rename(m_tmpPath.constData(), dest.constData()) != 0)
        return fail(errno);
    m_tmpPath.clear();
    if (!later)
        syncDirectory(directoryOf(dest));
    return true;
}

bool KvAtomicFile::WriteFile(const QString& destinationPath, const QByteArray& bytes, Access access,
                             int* error)
{
    KvAtomicFile file(destinationPath, access);
    const bool ok = file.Open() && file.Write(bytes) && file.Commit();
    if (error)
        *error = file.Error();
    if (!ok)
        errno = file.Error(); // also for callers that read errno
    return ok;
}

bool KvAtomicFile::RenameOver(const QString& fromPath, const QString& destinationPath, int* error)
{
    auto failed = [error](int err) {
        if (error)
            *error = err;
        errno = err;
        return false;
    };
    const QByteArray from = QFile::encodeName(fromPath);
    const QByteArray to = QFile::encodeName(destinationPath);
    struct stat st;
    if (::stat(from.constData(), &st) != 0)
        return failed(errno);
    if (const int err = KvFileSeam::Check(KvFileSeam::Rename, destinationPath))
        return failed(err);
    // Best effort, as for every content file: some network file systems refuse both.
    if (::stat(to.constData(), &st) == 0) {
        ::chmod(from.constData(), st.st_mode & 07777);
        [[maybe_unused]] const int kept = ::chown(from.constData(), uid_t(-1), st.st_gid);
    }
    if (std::rename(from.constData(), to.constData()) != 0)
        return failed(errno);
    syncDirectory(directoryOf(to));
    if (error)
        *error = 0;
    return true;
}

bool KvAtomicFile::Remove(const QString& path, int* error)
{
    const QByteArray p = QFile::encodeName(path);
    if (::unlink(p.constData()) != 0 && errno != ENOENT) {
        const int err = errno;
        if (error)
            *error = err;
        errno = err;
        return false;
    }
    syncDirectory(directoryOf(p));
    if (error)
        *error = 0;
    return true;
}

bool KvAtomicFile::CanReplace(const QString& path)
{
    if (const int err = KvFileSeam::Check(KvFileSeam::Access, path)) {
        errno = err;
        return false;
    }
    const QByteArray p = QFile::encodeName(path);
    if (::access(directoryOf(p).constData(), W_OK | X_OK) != 0)
        return false;
    struct stat st;
    if (::stat(p.constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISREG(st.st_mode)) {
        errno = EISDIR;
        return false;
    }
    return ::access(p.constData(), W_OK) == 0;
}
