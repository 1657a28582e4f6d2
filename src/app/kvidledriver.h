#pragma once

#include <QObject>
#include <functional>

// Calls a handler once after every burst of events, when the event loop is about to wait
// again. Nothing runs while the program waits: an event arms the pass, and the pass fires
// when the loop is about to block, so there is no polling timer. What the pass itself
// causes does not arm it again: the events it sends while it runs, and the repaints and
// re-layouts its changes post for later (a control set in a pass repaints; that repaint
// must not start the next pass, or a pass that keeps setting a control never rests).
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
    // Whether an event of this type arms the pass: everything but painting, layout and the
    // bookkeeping of child objects, which only follow from what ran before.
    static bool Arms(int eventType);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnAboutToBlock();

    Handler m_handler;
    bool m_active = false;
    bool m_armed = true;
    bool m_running = false;
    int m_loopLevel = 0; // of the pass that runs; a dialog it opens runs a deeper loop
};
