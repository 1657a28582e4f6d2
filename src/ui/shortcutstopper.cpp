#include "ui/shortcutstopper.h"

#include <QAction>
#include <QApplication>
#include <QToolBar>
#include <QWidget>
#include <QWindow>

ShortCutStopper::ShortCutStopper(QWidget* window, QList<QAction*> actions)
    : QObject(window), m_window(window), m_actions(std::move(actions))
{
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &ShortCutStopper::Update);
}

void ShortCutStopper::Update()
{
    if (!m_window)
        return;
    // Menus, tooltips, the splash and the window's own floating toolbars do not take the
    // keys from the window.
    const QWidget* active = QApplication::activeWindow();
    const Qt::WindowType type = active ? active->windowType() : Qt::Widget;
    const bool otherWindow = active && active != m_window &&
                             !qobject_cast<const QToolBar*>(active) &&
                             (type == Qt::Window || type == Qt::Dialog || type == Qt::Tool);
    if (otherWindow && m_installed) {
        for (QAction* a : m_actions) {
            if (!a->shortcuts().isEmpty()) {
                m_saved.insert(a, a->shortcuts());
                a->setShortcuts({});
            }
        }
        m_installed = false;
    } else if (!otherWindow && !m_installed) {
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it)
            it.key()->setShortcuts(it.value());
        m_saved.clear();
        m_installed = true;
    }
}
