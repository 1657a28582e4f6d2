#include "ui/tmainf.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TMainF w;
    w.show();
    return app.exec();
}
