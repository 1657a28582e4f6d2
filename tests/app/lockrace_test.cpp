// Many instances start at the same moment on one data directory: exactly one gets full
// access, whether or not a stale lock of the same user is in the way.
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

constexpr int kInstances = 50;
constexpr int kRoundsEach = 20;
// No process has this id: the stale lock's instance ended long ago.
constexpr qint64 kGonePid = 999999999;

struct RoundResult
{
    int full = 0;
    int readOnly = 0;
    QByteArray lockPid; // line 5 of the lock file while the winner holds it
    qint64 winnerPid = 0;
};

RoundResult RunRound(const QString& dir)
{
    RoundResult result;
    std::vector<std::unique_ptr<QProcess>> racers;
    for (int i = 0; i < kInstances; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(QString::fromUtf8(KORV_LOCKCHILD), {dir, u"testbox"_qs, u"tester"_qs});
        racers.push_back(std::move(p));
    }
    for (auto& p : racers) {
        EXPECT_TRUE(p->waitForStarted(20000));
        while (!p->canReadLine() && p->waitForReadyRead(20000)) {
        }
        EXPECT_EQ(p->readLine().trimmed(), "ready");
    }
    // All at once: written through to every pipe before any answer is awaited.
    for (auto& p : racers) {
        p->write("go\n");
        EXPECT_TRUE(p->waitForBytesWritten(5000));
    }
    for (auto& p : racers) {
        while (!p->canReadLine() && p->waitForReadyRead(20000)) {
        }
        const QByteArray answer = p->readLine().trimmed();
        if (answer == "full") {
            ++result.full;
            result.winnerPid = p->processId();
        } else if (answer == "readonly") {
            ++result.readOnly;
        }
    }
    const QList<QByteArray> lines = ReadAll(dir + u"lockdir.dat"_qs).split('\n');
    if (lines.size() >= 5)
        result.lockPid = lines[4].trimmed();
    for (auto& p : racers) {
        p->write("exit\n");
        p->closeWriteChannel();
    }
    for (auto& p : racers)
        EXPECT_TRUE(p->waitForFinished(20000));
    return result;
}

class LockRace : public ::testing::TestWithParam<bool>
{
};

TEST_P(LockRace, ExactlyOneInstanceGetsFullAccess)
{
    const bool staleLock = GetParam();
    korvtest::SandboxEnv env;
    const QString dir = env.Dir(u"data"_qs);
    for (int round = 0; round < kRoundsEach; ++round) {
        if (staleLock)
            WriteAll(dir + u"lockdir.dat"_qs, "testbox\r\ntester\r\n10.12.2026 08:15:00\r\nN\r\n" +
                                                  QByteArray::number(kGonePid) + "\r\n");
        const RoundResult r = RunRound(dir);
        EXPECT_EQ(r.full, 1) << "round " << round;
        EXPECT_EQ(r.full + r.readOnly, kInstances) << "round " << round;
        EXPECT_EQ(r.lockPid, QByteArray::number(r.winnerPid))
            << "round " << round << ": the lock names the winner";
        EXPECT_FALSE(QFile::exists(dir + u"lockdir.dat"_qs)) << "released after the round";
        const QStringList left = QDir(dir).entryList(QDir::Files | QDir::Hidden);
        EXPECT_TRUE(left.isEmpty()) << left.join(u' ').toStdString();
        if (::testing::Test::HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(Starts, LockRace, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "WithStaleLock" : "FreeDirectory");
});

} // namespace
