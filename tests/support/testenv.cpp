#include "support/testenv.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <cstring>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <vector>

namespace korvtest {

SandboxEnv::SandboxEnv()
{
    if (!m_tmp.isValid())
        throw std::runtime_error("cannot create a temporary directory");
    m_data.programDir = Dir(u"prog"_qs);
    m_data.homeDir = Dir(u"home"_qs);
    m_data.configHome = Dir(u"home/.config"_qs);
    m_data.documentsDir = Dir(u"home/Documents"_qs);
    m_data.tempDir = Dir(u"tmp"_qs);
    m_data.userName = u"tester"_qs;
    m_data.hostName = u"testbox"_qs;
    // Neither the machine's mounts nor its installed data reach a test unless it puts them
    // there.
    m_data.mountInfo = Root() + u"proc/mountinfo"_qs;
    m_data.dataDirs = {Root() + u"xdg/data/"_qs};
    Apply();
}

SandboxEnv::~SandboxEnv()
{
    KvSysEnv::Reset();
}

QString SandboxEnv::Root() const
{
    return m_tmp.path() + u'/';
}

QString SandboxEnv::Dir(const QString& relative) const
{
    const QString path = Root() + relative + u'/';
    QDir().mkpath(path);
    return path;
}

void SandboxEnv::Apply()
{
    KvSysEnv::Override(m_data);
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

std::optional<gid_t> OtherGroup()
{
    const gid_t own = ::getegid();
    if (::geteuid() == 0)
        return own == 65534 ? gid_t(100) : gid_t(65534);
    std::vector<gid_t> groups(size_t(::getgroups(0, nullptr)));
    groups.resize(size_t(::getgroups(int(groups.size()), groups.data())));
    for (gid_t g : groups) {
        if (g != own)
            return g;
    }
    return std::nullopt;
}

bool MakeSocketFile(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()) + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    // The bound name stays in the file system after the socket is closed.
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        // One turn of a real loop: events are delivered and the loop blocks once.
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

} // namespace korvtest
