#pragma once

#include "platform/sysenv.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <optional>
#include <sys/types.h>

namespace korvtest {

// A temporary directory that stands in for every root path of the program
// (program, home, config, documents, temp) while it lives.
class SandboxEnv
{
public:
    SandboxEnv();
    ~SandboxEnv();
    SandboxEnv(const SandboxEnv&) = delete;
    SandboxEnv& operator=(const SandboxEnv&) = delete;

    // Root of the sandbox, with trailing "/".
    QString Root() const;
    // A directory below the root, created when missing, with trailing "/".
    QString Dir(const QString& relative) const;
    KvSysEnvData& Data() { return m_data; }
    // Re-installs Data() after a test changed it.
    void Apply();

private:
    QTemporaryDir m_tmp;
    KvSysEnvData m_data;
};

QByteArray ReadAll(const QString& path);
// A group other than our own that we may give a file (any for root, else one of our
// supplementary groups); none when there is no such group.
std::optional<gid_t> OtherGroup();
// Runs a real event loop (idle passes fire when it is about to wait) until condition holds
// or timeoutMs passed; returns whether it held.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 5000);
void WriteAll(const QString& path, const QByteArray& bytes);
// A socket at path: listings of files show it, but nobody can open it for reading, also
// not root. False when it cannot be made.
bool MakeSocketFile(const QString& path);

} // namespace korvtest
