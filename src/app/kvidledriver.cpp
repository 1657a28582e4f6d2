#include "app/kvidledriver.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QThread>

KvIdleDriver::KvIdleDriver(Handler handler, QObject* parent)
    : QObject(parent), m_handler(std::move(handler))
{
    QAbstractEventDispatcher* dispatcher =
        QAbstractEventDispatcher::instance(QThread::currentThread());
    if (dispatcher == nullptr)
        return;
    connect(dispatcher, &QAbstractEventDispatcher::awake, this, &KvIdleDriver::OnAwake);
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
            &KvIdleDriver::OnAboutToBlock);
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

void KvIdleDriver::OnAwake()
{
    m_armed = true;
}

void KvIdleDriver::OnAboutToBlock()
{
    if (!m_active || !m_armed || m_running || !m_handler)
        return;
    m_armed = false;
    m_running = true;
    m_handler();
    m_running = false;
}
