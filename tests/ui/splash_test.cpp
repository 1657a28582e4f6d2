// The splash stays above other windows, so it must never cover a message or dialog.
#include "app/kvprompter.h"
#include "support/testenv.h"
#include "ui/kvwidgetprompter.h"
#include "ui/tsplashf.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(Splash, QuietHidesEverySplashAndKeepsThemHidden)
{
    TSplashF a;
    TSplashF b;
    a.show();
    b.show();
    ASSERT_TRUE(a.isVisible() && b.isVisible());
    {
        const TSplashF::Quiet quiet;
        EXPECT_FALSE(a.isVisible());
        EXPECT_FALSE(b.isVisible());
        a.show();
        EXPECT_FALSE(a.isVisible()) << "shown above a message";
    }
    a.show();
    EXPECT_TRUE(a.isVisible());
}

// Each question of the window's prompter hides the splash while it is open.
TEST(Splash, HiddenWhileTheWindowPrompterAsks)
{
    korvtest::SandboxEnv env;
    TSplashF splash;
    splash.show();
    KvWidgetPrompter prompter(nullptr);
    bool splashSeen = true;
    bool asked = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        asked = modal != nullptr;
        splashSeen = splash.isVisible();
        splash.show(); // a progress step while the box is open
        splashSeen = splashSeen || splash.isVisible();
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
    prompter.MessageBox(u"Fehler"_qs, u"Text"_qs, KvMsgKind::Error);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(splashSeen);
}

} // namespace
