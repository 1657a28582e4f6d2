#pragma once

#include <QString>
#include <QStringList>

class KvCliIo;

// The "check" command: an integrity check of a data directory that reads the files
// themselves, so that it also sees what the stores smooth over.
namespace KvCliCheck {

struct Result
{
    QStringList findings; // one line each
    QStringList lostIds;  // sections that no folder lists (among the findings)
    // Text the program kept of pages that were not saved (KvRescueFiles), one line each;
    // no findings: the program offers them back at its next start.
    QStringList rescueFiles;
    int folders = 0;
    int pages = 0;
};

// Never writes; raises KvCliError for a directory that is not a data directory.
Result Inspect(const QString& dir);
// Prints the findings and a summary; true when nothing is wrong.
bool Run(const QString& dir, KvCliIo& io);
// Takes the lock, collects lost elements into a recovery folder as start-up does, releases
// the lock, then checks again; true when nothing is wrong afterwards.
bool Repair(const QString& dir, KvCliIo& io);

} // namespace KvCliCheck
