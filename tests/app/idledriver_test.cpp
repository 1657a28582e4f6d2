#include "app/kvidledriver.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// Runs the event loop for a while; returns how often the idle handler ran.
int runLoop(KvIdleDriver& driver, int& passes, int ms, const std::function<void()>& during = {})
{
    QEventLoop loop;
    if (during)
        QTimer::singleShot(ms / 2, during);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
    return passes;
}

TEST(IdleDriver, RunsAfterABurstAndNotWhileWaiting)
{
    int passes = 0;
    KvIdleDriver driver([&] { ++passes; });
    driver.SetActive(true);
    runLoop(driver, passes, 200);
    // One pass when the loop first falls idle, one after the quit timer woke it at most:
    // a busy pass would have run thousands of times.
    EXPECT_GE(passes, 1);
    EXPECT_LE(passes, 4);
}

TEST(IdleDriver, EventsArmAnotherPass)
{
    int passes = 0;
    KvIdleDriver driver([&] { ++passes; });
    driver.SetActive(true);
    runLoop(driver, passes, 100);
    const int before = passes;
    runLoop(driver, passes, 100,
            [] { QCoreApplication::postEvent(qApp, new QEvent(QEvent::User)); });
    EXPECT_GT(passes, before);
}

TEST(IdleDriver, InactiveDriverNeverCalls)
{
    int passes = 0;
    KvIdleDriver driver([&] { ++passes; });
    runLoop(driver, passes, 100, [&] { driver.Request(); });
    EXPECT_EQ(passes, 0);
}

TEST(IdleDriver, RequestRunsAPassWithoutOtherEvents)
{
    int passes = 0;
    KvIdleDriver driver([&] { ++passes; });
    driver.SetActive(true);
    runLoop(driver, passes, 100);
    const int before = passes;
    runLoop(driver, passes, 100, [&] { driver.Request(); });
    EXPECT_GT(passes, before);
}


// A pass that changes a control causes a repaint and a re-layout, posted for later, and
// sends events while it runs; none of that may start the next pass, or a pass that sets a
// control each time would never let the program rest.
TEST(IdleDriver, ItsOwnEffectsArmNoPass)
{
    QObject control;
    int passes = 0;
    KvIdleDriver driver([&] {
        ++passes;
        QCoreApplication::postEvent(&control, new QEvent(QEvent::UpdateRequest));
        QCoreApplication::postEvent(&control, new QEvent(QEvent::LayoutRequest));
        QEvent changed(QEvent::EnabledChange);
        QCoreApplication::sendEvent(&control, &changed);
    });
    driver.SetActive(true);
    runLoop(driver, passes, 200);
    EXPECT_EQ(passes, 1);
    // The quit timer of the loop before is the one event since.
    runLoop(driver, passes, 200);
    EXPECT_EQ(passes, 2);
}

} // namespace
