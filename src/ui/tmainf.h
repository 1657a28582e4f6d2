#pragma once

#include <QMainWindow>

// The main window.
class TMainF : public QMainWindow
{
    Q_OBJECT
public:
    explicit TMainF(QWidget* parent = nullptr);
    ~TMainF() override;
};
