#include "platform/applog.h"

#include <QDateTime>
#include <QFile>
#include <atomic>
#include <memory>
#include <mutex>

namespace {

// Lines may come from several threads (the search workers): the switch is atomic, the
// file and the resolver are used under the mutex, one whole line at a time.
struct LogState
{
    std::atomic<bool> enabled = false;
    std::mutex mutex;
    std::function<QString()> resolver;
    std::unique_ptr<QFile> file;
};

LogState& state()
{
    static LogState s;
    return s;
}

QString stamp()
{
    const QDateTime now = QDateTime::currentDateTime();
    if (now.time() == QTime(0, 0))
        return now.toString(u"dd.MM.yyyy"_qs);
    return now.toString(u"dd.MM.yyyy HH:mm:ss"_qs);
}

} // namespace

namespace KvAppLog {

void SetEnabled(bool on)
{
    state().enabled = on;
}
bool Enabled()
{
    return state().enabled;
}
void SetDirectoryResolver(std::function<QString()> resolver)
{
    const std::lock_guard lock(state().mutex);
    state().resolver = std::move(resolver);
}

void Write(const QString& text)
{
    LogState& s = state();
    if (!s.enabled)
        return;
    // The time stamp under the lock as well: the C library's conversion to local time is
    // not something to run on several threads at once.
    const std::lock_guard lock(s.mutex);
    const QByteArray line = (stamp() + u' ' + text + u"\r\n").toUtf8();
    if (!s.file) {
        const QString dir = s.resolver ? s.resolver() : QString();
        if (dir.isEmpty())
            return;
        auto file = std::make_unique<QFile>(dir + u"applog.txt");
        if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
            return; // dropped; the next line tries again
        s.file = std::move(file);
    }
    s.file->write(line);
    s.file->flush();
}

void Close()
{
    const std::lock_guard lock(state().mutex);
    state().file.reset();
}

} // namespace KvAppLog

KvLogScope::KvLogScope(const char* operation) : m_operation(operation)
{
    if (KvAppLog::Enabled())
        KvAppLog::Write(QString::fromLatin1(m_operation) + u" entry");
}

KvLogScope::~KvLogScope()
{
    if (!KvAppLog::Enabled())
        return;
    const QString end = m_exit ? u"end(%1)"_qs.arg(m_exit) : u"end"_qs;
    KvAppLog::Write(QString::fromLatin1(m_operation) + u' ' + end);
}
