#pragma once

#include <QString>
#include <QStringList>

// The machine and user as the program sees them: every root path and name comes
// from here, so tests can point all of them into a temporary directory.
// Paths are returned with a trailing "/"; empty when the system has none.
struct KvSysEnvData
{
    QString programDir;   // directory of the executable
    QString homeDir;      // $HOME
    QString configHome;   // $XDG_CONFIG_HOME, else home + ".config/"
    QString documentsDir; // XDG documents directory; empty when there is none
    QString tempDir;      // temporary directory
    QString userName;     // login name
    QString hostName;     // short host name, at most 15 characters
    QString mountInfo;    // the mount table of this process (/proc/self/mountinfo)
    QStringList dataDirs; // XDG data directories: $XDG_DATA_HOME, then $XDG_DATA_DIRS
};

namespace KvSysEnv {

// The current environment; detected from the system on first use.
const KvSysEnvData& Get();
// Replaces the environment (tests); Reset() returns to the detected one.
void Override(const KvSysEnvData& data);
void Reset();
// What the running system reports, independent of overrides.
KvSysEnvData Detect();

inline QString ProgramDir()
{
    return Get().programDir;
}
inline QString UserName()
{
    return Get().userName;
}
inline QString HostName()
{
    return Get().hostName;
}

} // namespace KvSysEnv
