#include "app/kvidledriver.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QScopeGuard>
#include <QThread>

KvIdleDriver::KvIdleDriver(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{
    QAbstractEventDispatcher* dispatcher =
        QAbstractEventDispatcher::instance(QThread::currentThread());
    if (dispatcher == nullptr)
        return;
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
            &KvIdleDriver::OnAboutToBlock);
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

KvIdleDriver::~KvIdleDriver() = default;

void KvIdleDriver::SetActive(bool on)
{
    m_active = on;
    if (on)
        Request();
}

void KvIdleDriver::Request()
{
    m_armed = true;
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(thread()))
        d->wakeUp();
}

bool KvIdleDriver::Arms(int eventType)
{
    switch (eventType) {
    case QEvent::Paint:
    case QEvent::UpdateRequest:
    case QEvent::UpdateLater:
    case QEvent::LayoutRequest:
    case QEvent::ChildAdded:
    case QEvent::ChildPolished:
    case QEvent::ChildRemoved:
        return false;
    default:
        return true;
    }
}

bool KvIdleDriver::eventFilter(QObject* watched, QEvent* event)
{
    // While the pass runs, only what a dialog of it delivers in a loop of its own counts.
    if (!m_armed && Arms(event->type()) &&
        (!m_running || QThread::currentThread()->loopLevel() > m_loopLevel))
        m_armed = true;
    return QObject::eventFilter(watched, event);
}

void KvIdleDriver::OnAboutToBlock()
{
    if (!m_active || !m_armed || m_running || !m_handler)
        return;
    m_armed = false;
    m_running = true;
    const auto ran = qScopeGuard([this] { m_running = false; });
    m_loopLevel = QThread::currentThread()->loopLevel();
    m_handler();
}
