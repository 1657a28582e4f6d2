#pragma once

#include <QObject>
#include <functional>

// Calls a handler once after every burst of events, when the event loop is about to
// wait again. Nothing runs while the program waits: the pass is armed when the loop
// wakes up and fired when it is about to block, so there is no polling timer.
class KvIdleDriver : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    explicit KvIdleDriver(Handler handler, QObject* parent = nullptr);
    ~KvIdleDriver() override;

    // Hook on or off (the window detaches it while hidden or closing).
    void SetActive(bool on);
    bool IsActive() const { return m_active; }
    // Asks for a pass even if no further event arrives (pending work was queued).
    void Request();

private:
    void OnAwake();
    void OnAboutToBlock();

    Handler m_handler;
    bool m_active = false;
    bool m_armed = true;
    bool m_running = false;
};
