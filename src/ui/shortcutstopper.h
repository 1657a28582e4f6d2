#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

// Suspends the main window's keyboard shortcuts while another window of the program is
// active (the search window, a dialog), so that keys pressed there reach that window. It
// follows the activation of the program's windows by itself; Update can be called in
// addition (the idle pass).
class ShortCutStopper : public QObject
{
    Q_OBJECT
public:
    ShortCutStopper(QWidget* window, QList<QAction*> actions);

    // Removes the shortcuts while another window of the program is active, gives them back
    // when that is no longer so.
    void Update();
    bool Installed() const { return m_installed; }

private:
    QPointer<QWidget> m_window;
    QList<QAction*> m_actions;
    QHash<QAction*, QList<QKeySequence>> m_saved;
    bool m_installed = true;
};
