#pragma once

#include <QString>

class KvLockDirectory;

// Taking the data directory's lock at start or on the access switch, with the message
// that tells the user why the directory opens read-only.
struct KvLockRequest
{
    QString dataDir;
    bool lockMessageWanted = true;
    bool constructing = false; // while the main window is built: OK and Cancel
};

struct KvLockOutcome
{
    bool fullAccess = false;
    bool abortStart = false; // the user chose to end the program
};

KvLockOutcome KvTakeDirectoryLock(KvLockDirectory& lock, const KvLockRequest& request);
