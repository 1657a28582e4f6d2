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
#include <cstring>
#include <fcntl.h>
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
    if (m_taken)
        ReleaseLock();
}

void KvLockDirectory::ReadLock()
{
    KV_LOG_SCOPE("KvLockDirectory::ReadLock");
    QFile f(m_file);
    if (!f.exists()) {
        m_heldByMe = m_heldByAnother = false;
        m_entry.machine.clear();
        m_entry.user.clear();
        return;
    }
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QStringList lines = TexProfileFile::DecodeLines(f.readAll());
    f.close();
    if (lines.size() < 3)
        return;
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
    if (!m_heldByMe)
        return;
    const bool alive = m_entry.pid != OwnPid() && IsProgramProcess(m_entry.pid);
    if (alive)
        return;
    // Stale: left by this instance or by one that no longer runs.
    if (QFile::remove(m_file)) {
        m_heldByMe = m_heldByAnother = false;
        m_entry.machine.clear();
        m_entry.user.clear();
    }
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
    if (QFileInfo::exists(m_file) && IsHeld())
        return false;
    const QString text = KvSysEnv::HostName().left(15) + u"\r\n" + KvSysEnv::UserName() + u"\r\n" +
                         KvValueFormat::DateTimeToText(QDateTime::currentDateTime()) +
                         u"\r\nN\r\n" + QString::number(OwnPid()) + u"\r\n";
    const QByteArray path = QFile::encodeName(m_file);
    const int fd = ::open(path.constData(), O_CREAT | O_EXCL | O_WRONLY, 0644);
    if (fd < 0) {
        if (errno == EEXIST)
            return false; // a racing instance, or a stale lock that could not be removed
        throw KvException(
            KvTexts::Message(5632, {m_file, QString::fromLocal8Bit(std::strerror(errno))}));
    }
    const QByteArray bytes = text.toUtf8();
    const bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    ::fsync(fd);
    ::close(fd);
    if (!ok) {
        ::unlink(path.constData());
        throw KvException(KvTexts::Text(65504).replace(u"%s"_qs, m_file));
    }
    m_taken = true;
    return true;
}

void KvLockDirectory::ReleaseLock()
{
    KV_LOG_SCOPE("KvLockDirectory::ReleaseLock");
    // Reading our own lock deletes it; the explicit removal covers a lock whose user
    // no longer matches ours (renamed account).
    ReadLock();
    if (m_entry.pid == OwnPid() &&
        m_entry.machine.compare(KvSysEnv::HostName(), Qt::CaseInsensitive) == 0 &&
        QFileInfo::exists(m_file))
        QFile::remove(m_file);
    m_taken = false;
}
