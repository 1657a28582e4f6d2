#pragma once

#include <QString>

// The program version that last ran with these settings ("Version" in section
// "Korvelle" of the settings file) against the running one.
class KvUpgrade
{
public:
    KvUpgrade();

    const QString& StoredVersion() const { return m_stored; }
    const QString& RunningVersion() const { return m_running; }
    bool Differs() const { return m_stored != m_running; }
    // Records the running version as the one that last ran.
    void StoreRunningVersion();

    static QString ProductVersion();

private:
    QString m_stored;
    QString m_running;
};
