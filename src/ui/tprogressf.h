#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress window of long operations: a title, a text line and a bar, modal over the
// main window while the operation runs on and lets events through between its elements.
// Closing it or pressing Cancel asks the operation to stop after the current element.
class TProgressF : public QDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"TProgressF"_qs;

    explicit TProgressF(QWidget* parent = nullptr);

    // Shows it with the title and the bar from 0 to maximum at 0.
    void Start(const QString& title, int maximum);
    void SetText(const QString& text);
    QString Text() const;
    // Advances the bar by one.
    void Step();
    int Position() const;
    int Maximum() const;

    // The user asked to stop (Cancel, or the window was closed).
    bool CancelRequested() const { return m_cancelled; }
    // The same as the user's Cancel.
    void Cancel();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_cancelled = false;
};
