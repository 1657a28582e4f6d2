#include "model/kvrekeyfile.h"

#include "platform/applog.h"
#include "platform/kvfileseam.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void SyncDirectory(const QString& dirPath)
{
    const int fd = ::open(QFile::encodeName(dirPath).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

namespace KvRekeyFile {

QString SidePath(const QString& contentPath, const QString& checkValue)
{
    // A digest keeps the name short for long check values; it reveals nothing that the
    // page store does not hold anyway.
    const QByteArray digest =
        QCryptographicHash::hash(checkValue.toLatin1(), QCryptographicHash::Sha1).toHex();
    return contentPath + u".pw"_qs + QString::fromLatin1(digest.left(12));
}

QString ReadPath(const QString& contentPath, const QString& storedCheckValue)
{
    const QString side = SidePath(contentPath, storedCheckValue);
    return QFileInfo::exists(side) ? side : contentPath;
}

bool Complete(const QString& contentPath, const QString& storedCheckValue)
{
    const QString side = SidePath(contentPath, storedCheckValue);
    const QByteArray from = QFile::encodeName(side);
    const QByteArray to = QFile::encodeName(contentPath);
    struct stat st
    {
    };
    if (::stat(from.constData(), &st) != 0)
        return false;
    KV_LOG_SCOPE("KvRekeyFile::Complete");
    if (const int error = KvFileSeam::Check(KvFileSeam::Rename, contentPath)) {
        errno = error;
        return false;
    }
    // Best effort, as for every content file: some network file systems refuse both.
    if (::stat(to.constData(), &st) == 0) {
        ::chmod(from.constData(), st.st_mode & 07777);
        [[maybe_unused]] const int kept = ::chown(from.constData(), uid_t(-1), st.st_gid);
    }
    if (std::rename(from.constData(), to.constData()) != 0)
        return false;
    SyncDirectory(QFileInfo(contentPath).absolutePath());
    return true;
}

} // namespace KvRekeyFile
