#include "platform/kvfileseam.h"

#include <QFile>
#include <fnmatch.h>
#include <mutex>

namespace KvFileSeam {

namespace {

struct State
{
    std::mutex mutex;
    Failure failure;
    QByteArray pattern;
    int seen = 0;
    int injected = 0;
};

State& state()
{
    static State s;
    return s;
}

} // namespace

namespace detail {

std::atomic<bool> armed{false};

int Check(Op op, const QString& path)
{
    State& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    if (!armed.load(std::memory_order_relaxed) || !(s.failure.ops & op))
        return 0;
    if (!s.pattern.isEmpty() &&
        ::fnmatch(s.pattern.constData(), QFile::encodeName(path).constData(), 0) != 0)
        return 0;
    ++s.seen;
    if (s.seen < s.failure.nth || (s.seen > s.failure.nth && !s.failure.sticky))
        return 0;
    ++s.injected;
    return s.failure.error;
}

} // namespace detail

void Arm(const Failure& failure)
{
    State& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    s.failure = failure;
    s.pattern = QFile::encodeName(failure.pattern);
    s.seen = 0;
    s.injected = 0;
    detail::armed.store(true);
}

void Disarm()
{
    State& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    detail::armed.store(false);
}

int Seen()
{
    State& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    return s.seen;
}

int Injected()
{
    State& s = state();
    const std::lock_guard<std::mutex> lock(s.mutex);
    return s.injected;
}

} // namespace KvFileSeam
