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

} // namespace
