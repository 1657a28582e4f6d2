#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (logout, kill, Ctrl+C in a terminal) into a Qt
// signal on the GUI thread, so the program ends through its normal exit sequence and
// saves what it holds.
class KvSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit KvSignalWatcher(QObject* parent = nullptr);
    ~KvSignalWatcher() override;

Q_SIGNALS:
    void TerminateRequested(int signal);

private:
    void onReadable();
    QSocketNotifier* m_notifier = nullptr;
};
