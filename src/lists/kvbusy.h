#pragma once

#include <functional>

// Answers whether the program is busy: a search runs or the progress window is open.
// While it is, the commands that delete, move or copy elements and empty the trash stay
// disabled, so that a running search's element list stays valid. Each answer comes from
// a probe installed by whoever knows it; without a probe the answer is false.
class KvBusy
{
public:
    using Probe = std::function<bool()>;

    // The search window installs its probe; none until then.
    void SetSearchProbe(Probe probe) { m_search = std::move(probe); }
    // The progress window (or a command running one) installs its probe.
    void SetProgressProbe(Probe probe) { m_progress = std::move(probe); }

    bool SearchRunning() const { return m_search && m_search(); }
    bool ProgressOpen() const { return m_progress && m_progress(); }
    bool Any() const { return SearchRunning() || ProgressOpen(); }

private:
    Probe m_search;
    Probe m_progress;
};
