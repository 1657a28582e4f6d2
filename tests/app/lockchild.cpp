// One of many instances that race for the lock of one data directory.
// Usage: korv_app_lockchild DIR HOST USER
// Prints "ready", waits for a line on stdin, tries to take the lock as the window does and
// prints "full" or "readonly", then waits for the next line (or the end of input) and
// releases what it holds.
#include "app/kvdiraccess.h"
#include "app/kvlockdirectory.h"
#include "platform/sysenv.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>
#include <cstdio>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    KvSysEnvData env = KvSysEnv::Detect();
    env.hostName = QString::fromLocal8Bit(argv[2]);
    env.userName = QString::fromLocal8Bit(argv[3]);
    KvSysEnv::Override(env);
    // The other racers count as running instances of the program. The answer for a process
    // that is gone comes late, as on a loaded machine or a slow share: that widens the moment
    // between judging a lock stale and removing it, in which another racer may have taken
    // the lock already.
    const QString self = QFileInfo(u"/proc/self/exe"_qs).symLinkTarget();
    KvLockDirectory::SetProcessCheck([self](qint64 pid) {
        const bool racer =
            !self.isEmpty() && QFileInfo(u"/proc/%1/exe"_qs.arg(pid)).symLinkTarget() == self;
        if (!racer)
            QThread::msleep(QRandomGenerator::global()->bounded(1, 20));
        return racer;
    });

    std::puts("ready");
    std::fflush(stdout);
    std::string line;
    if (!std::getline(std::cin, line))
        return 1;
    KvLockDirectory lock(dir);
    const bool full = KvTakeDirectoryLock(lock, {dir, false, false}).fullAccess;
    std::puts(full ? "full" : "readonly");
    std::fflush(stdout);
    std::getline(std::cin, line);
    if (full)
        lock.ReleaseLock();
    return 0;
}
