#pragma once

#include <Qt>

// Shows the given cursor (the hourglass) while it lives; nothing without a GUI application.
class WaitCrsr
{
public:
    explicit WaitCrsr(Qt::CursorShape shape = Qt::WaitCursor);
    ~WaitCrsr();
    WaitCrsr(const WaitCrsr&) = delete;
    WaitCrsr& operator=(const WaitCrsr&) = delete;

private:
    bool m_active = false;
};
