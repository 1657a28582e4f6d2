#include "ui/tmainf.h"

TMainF::TMainF(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(u"Korvelle"_qs);
}

TMainF::~TMainF() = default;
