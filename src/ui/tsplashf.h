#pragma once

#include <QWidget>

class QLabel;

// The splash window: program version and a status text while the notebook opens or
// is saved. Long operations write their progress to the registered splash, if any.
class TSplashF : public QWidget
{
    Q_OBJECT
public:
    explicit TSplashF(QWidget* parent = nullptr);
    ~TSplashF() override;

    void SetStatus(const QString& text);
    QString Status() const;

    // The splash that progress texts go to; none when nothing is registered.
    static TSplashF* Registered();
    static void Register(TSplashF* splash);
    // Shows text on the registered splash, if there is one.
    static void ShowStatus(const QString& text);

    // A splash stays above other windows, so it would cover messages and dialogs: while a
    // Quiet object lives every splash is hidden and none can be shown.
    class Quiet
    {
    public:
        Quiet();
        ~Quiet();
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;
    };
    static bool Quieted();

    void setVisible(bool visible) override;

private:
    QLabel* m_status;
};
