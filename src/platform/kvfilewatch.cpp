#include "platform/kvfilewatch.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What may change the file's content: a write closed, a rename to or from its name, its
// creation or removal; and the directory itself going away. Appends to other files (the
// application log) report nothing.
constexpr uint32_t kMask = IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE |
                           IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

KvFileWatch::KvFileWatch(QString path) : m_path(std::move(path))
{
    const QFileInfo info(m_path);
    m_dir = QFile::encodeName(info.absolutePath());
    m_name = QFile::encodeName(info.fileName());
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd >= 0)
        addWatch();
}

KvFileWatch::~KvFileWatch()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool KvFileWatch::addWatch()
{
    m_wd = inotify_add_watch(m_fd, m_dir.constData(), kMask);
    return m_wd >= 0;
}

bool KvFileWatch::Changed()
{
    const bool first = !m_asked;
    m_asked = true;
    if (m_fd < 0)
        return stampChanged() || first;
    if (m_wd < 0) {
        // Whatever happened while there was no watch is unknown.
        if (addWatch())
            return true;
        return stampChanged() || first;
    }
    return drain() || first;
}

bool KvFileWatch::drain()
{
    alignas(inotify_event) char buffer[4096];
    bool hit = false;
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // EAGAIN: nothing queued
        for (const char* p = buffer; p < buffer + n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(p);
            p += sizeof(inotify_event) + event->len;
            if (event->mask & IN_Q_OVERFLOW) {
                hit = true;
            } else if (event->wd != m_wd) {
                continue; // a watch given up before
            } else if (event->mask & (IN_DELETE_SELF | IN_MOVE_SELF | IN_IGNORED)) {
                // The directory went or moved: watch the path again at the next question.
                if (!(event->mask & IN_IGNORED))
                    inotify_rm_watch(m_fd, m_wd);
                m_wd = -1;
                hit = true;
            } else if (event->len > 0 && std::strcmp(event->name, m_name.constData()) == 0) {
                hit = true;
            }
        }
    }
    return hit;
}

bool KvFileWatch::stampChanged()
{
    Stamp now;
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(m_path).constData(), &st) == 0) {
        now.exists = true;
        now.size = st.st_size;
        now.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
        now.inode = st.st_ino;
        now.device = st.st_dev;
    }
    const bool changed = !(now == m_stamp);
    m_stamp = now;
    return changed;
}
