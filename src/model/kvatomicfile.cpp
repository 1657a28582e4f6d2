#include "model/kvatomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Read from /proc so that the process umask is not changed, not even for a moment.
mode_t CurrentUmask()
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

void SyncDirectory(const QString& dirPath)
{
    const int fd = ::open(QFile::encodeName(dirPath).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

KvAtomicFile::KvAtomicFile(QString destinationPath, Access access)
    : m_destination(std::move(destinationPath)), m_access(access),
      m_tmp(m_destination + u".XXXXXX"_qs)
{}

KvAtomicFile::~KvAtomicFile() = default;

bool KvAtomicFile::Open()
{
    // QTemporaryFile creates the file readable by its owner only.
    m_ok = m_tmp.open();
    return m_ok;
}

bool KvAtomicFile::Write(const char* data, qsizetype length)
{
    if (!m_ok)
        return false;
    if (length > 0 && m_tmp.write(data, length) != length)
        m_ok = false;
    return m_ok;
}

bool KvAtomicFile::Commit()
{
    if (!m_ok || !m_tmp.flush() || ::fsync(m_tmp.handle()) != 0) {
        m_ok = false;
        return false;
    }
    mode_t mode = 0600;
    if (m_access == Access::KeepOrDefault) {
        struct stat st
        {
        };
        const QByteArray dest = QFile::encodeName(m_destination);
        if (::stat(dest.constData(), &st) == 0)
            mode = st.st_mode & 07777;
        else
            mode = 0666 & ~CurrentUmask();
    }
    // Best effort: some network file systems refuse permission changes.
    ::fchmod(m_tmp.handle(), mode);
    const QByteArray from = QFile::encodeName(m_tmp.fileName());
    const QByteArray to = QFile::encodeName(m_destination);
    m_tmp.close();
    if (std::rename(from.constData(), to.constData()) != 0) {
        m_ok = false;
        return false;
    }
    m_tmp.setAutoRemove(false);
    SyncDirectory(QFileInfo(m_destination).absolutePath());
    m_ok = false;
    return true;
}

bool KvAtomicFile::WriteFile(const QString& destinationPath, const QByteArray& bytes, Access access)
{
    KvAtomicFile file(destinationPath, access);
    return file.Open() && file.Write(bytes) && file.Commit();
}
