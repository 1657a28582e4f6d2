#pragma once

#include <QObject>
#include <functional>

class QKeyEvent;
class QWidget;

// Lets a window see the key presses of its controls before the controls do. The
// handler returns true when it used the key; the control then does not get it.
class KvKeyPreview : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<bool(QKeyEvent*)>;

    // Watches the key presses inside window (and its child windows) while it exists.
    KvKeyPreview(QWidget* window, Handler handler);
    ~KvKeyPreview() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    Handler m_handler;
};
