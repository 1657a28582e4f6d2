#include "ui/kvapplication.h"

#include "app/kvpaths.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "app/kvupgrade.h"
#include "app/kvuserlocale.h"
#include "platform/applog.h"
#include "platform/kvexception.h"
#include "platform/kvsignalwatcher.h"
#include "ui/kvqttranslations.h"
#include "ui/kvtesttyping.h"
#include "ui/kvwidgetprompter.h"
#include "ui/tmainf.h"
#include "ui/tsplashf.h"

#include <QApplication>
#include <memory>

int KvRunProgram(int argc, char** argv)
{
    QApplication app(argc, argv);
    KvInstallQtTranslations(app);
    KvChooseUserLocale();
    QApplication::setApplicationName(u"korvelle"_qs);
    // Titles are shown exactly as set (no " — Korvelle" appended to each).
    QApplication::setApplicationDisplayName(QString());
    KvAppLog::SetDirectoryResolver(&KvPaths::SettingsDir);

    KvWidgetPrompter prompter(nullptr);
    KvPrompterScope prompterScope(prompter);

    QStringList args = QApplication::arguments();
    args.removeFirst();
    const bool newWindow = args.value(0) == u"/new_window";

    try {
        // Resolving the data directory creates the default one on first start.
        KvPaths::DataDir();

        // Splash and version check.
        auto splash = std::make_unique<TSplashF>();
        TSplashF::Register(splash.get());
        if (!newWindow) {
            splash->show();
            KvUpgrade upgrade;
            if (upgrade.Differs()) {
                splash->SetStatus(KvTexts::Text(5121) + u' ' + upgrade.StoredVersion() + u"...");
                upgrade.StoreRunningVersion();
            }
            splash->SetStatus(KvTexts::Text(5122));
        }

        // The splash is painted before the notebook opens.
        QApplication::processEvents();

        // The main window opens the data directory.
        TMainF mainWindow(args);

        // The splash goes.
        TSplashF::Register(nullptr);
        splash.reset();

        if (mainWindow.Shell().startAborted)
            return 1;
        // From here on message boxes belong to the main window.
        KvWidgetPrompter windowPrompter(&mainWindow);
        KvPrompterScope windowPrompterScope(windowPrompter);
        KvSignalWatcher signals;
        QObject::connect(&signals, &KvSignalWatcher::TerminateRequested, &mainWindow,
                         [&mainWindow] { mainWindow.Terminate(); });
        mainWindow.show();
        KvTestTyping::StartIfAsked(mainWindow);
        // The event loop runs until the program ends.
        return QApplication::exec();
    } catch (const KvException& e) {
        KvPrompter::ShowMessage(KvTexts::Text(5007), e.Message(), KvMsgKind::Error);
    } catch (const std::exception& e) {
        KvPrompter::ShowMessage(KvTexts::Text(5007), QString::fromLocal8Bit(e.what()),
                                KvMsgKind::Error);
    }
    return 1;
}
