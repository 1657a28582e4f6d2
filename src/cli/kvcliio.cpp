#include "cli/kvcliio.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <termios.h>
#include <unistd.h>

namespace {

QString withoutLineEnd(QByteArray line)
{
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

// The terminal while echo is off, so that an interrupt turns echo back on before it ends
// the process.
int g_ttyFd = -1;
termios g_saved{};

void restoreAndRaise(int sig)
{
    if (g_ttyFd >= 0)
        ::tcsetattr(g_ttyFd, TCSAFLUSH, &g_saved);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

} // namespace

void KvConsoleIo::Out(const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void KvConsoleIo::Flush()
{
    std::fflush(stdout);
}

void KvConsoleIo::Err(const QByteArray& bytes)
{
    std::fflush(stdout);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

bool KvConsoleIo::ErrIsTerminal() const
{
    return ::isatty(STDERR_FILENO) == 1;
}

bool KvConsoleIo::ReadStdinLine(QString& line)
{
    std::string text;
    int c = 0;
    bool any = false;
    while ((c = std::fgetc(stdin)) != EOF) {
        any = true;
        if (c == '\n')
            break;
        text += char(c);
    }
    if (!any)
        return false;
    line = withoutLineEnd(QByteArray::fromStdString(text));
    return true;
}

bool KvConsoleIo::ReadPassword(const QString& prompt, QString& password)
{
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    termios saved{};
    const bool isTty = ::tcgetattr(fd, &saved) == 0;
    if (!isTty) {
        ::close(fd);
        return false;
    }
    termios quiet = saved;
    quiet.c_lflag &= ~tcflag_t(ECHO);
    quiet.c_lflag |= ECHONL;
    g_saved = saved;
    g_ttyFd = fd;
    auto* oldInt = std::signal(SIGINT, restoreAndRaise);
    auto* oldTerm = std::signal(SIGTERM, restoreAndRaise);
    auto* oldHup = std::signal(SIGHUP, restoreAndRaise);
    ::tcsetattr(fd, TCSAFLUSH, &quiet);
    // The prompt only once echo is off: what is typed after it is never shown.
    const QByteArray p = prompt.toUtf8();
    [[maybe_unused]] auto w = ::write(fd, p.constData(), size_t(p.size()));
    QByteArray text;
    char c = 0;
    bool ended = false;
    while (true) {
        const auto n = ::read(fd, &c, 1);
        if (n <= 0)
            break;
        if (c == '\n') {
            ended = true;
            break;
        }
        text += c;
    }
    ::tcsetattr(fd, TCSAFLUSH, &saved);
    g_ttyFd = -1;
    std::signal(SIGINT, oldInt);
    std::signal(SIGTERM, oldTerm);
    std::signal(SIGHUP, oldHup);
    ::close(fd);
    password = withoutLineEnd(text);
    text.fill('\0');
    return ended || !password.isEmpty();
}

bool KvBufferIo::ReadStdinLine(QString& line)
{
    if (m_pos >= m_in.size())
        return false;
    qsizetype end = m_in.indexOf('\n', m_pos);
    if (end < 0)
        end = m_in.size();
    line = withoutLineEnd(m_in.mid(m_pos, end - m_pos));
    m_pos = end + 1;
    return true;
}

bool KvBufferIo::ReadPassword(const QString& prompt, QString& password)
{
    if (!m_hasTerminal)
        return false;
    m_err += prompt.toUtf8();
    password = m_terminal;
    return true;
}
