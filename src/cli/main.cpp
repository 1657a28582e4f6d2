// korvnote-cli: the notebook from the command line, without a window.
#include "app/kvuserlocale.h"
#include "cli/kvcli.h"
#include "cli/kvcliio.h"

#include <QGuiApplication>

namespace {

// Errors reach the user as the command's one line on standard error; the framework's
// warnings (no runtime directory, font fallbacks) would only add noise to it.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        fprintf(stderr, "%s\n", qPrintable(message));
        abort();
    }
}

} // namespace

int main(int argc, char** argv)
{
    // Documents need fonts, which need a platform; offscreen needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quietMessages);
    QGuiApplication app(argc, argv);
    KvChooseUserLocale();
    KvConsoleIo io;
    return KvCli::Run(app.arguments().mid(1), io);
}
