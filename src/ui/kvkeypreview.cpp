#include "ui/kvkeypreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KvKeyPreview::KvKeyPreview(QWidget* window, Handler handler)
    : QObject(window), m_window(window), m_handler(std::move(handler))
{
    qApp->installEventFilter(this);
}

KvKeyPreview::~KvKeyPreview()
{
    qApp->removeEventFilter(this);
}

bool KvKeyPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    // A key press travels up from the focus widget to its parents; only its first
    // delivery counts, and only inside this window (not in its dialogs).
    QWidget* first = QApplication::focusWidget() ? QApplication::focusWidget() : m_window;
    if (w != first || w->window() != m_window)
        return false;
    return m_handler && m_handler(static_cast<QKeyEvent*>(event));
}
