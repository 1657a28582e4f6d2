#pragma once

#include <QString>
#include <QStringList>

// What the program was asked to do on its command line. Arguments count by position:
// the action first, then the directory, "/id", the object id. A single argument whose
// file name contains "Page" is a page file: its folder opens and the page is shown.
struct KvCommandLine
{
    QString action; // "/new_window", "/d", "/dr", "/dw" or empty
    bool newWindow = false;
    QString startDir;  // directory to open instead of the configured one; empty for none
    QString pendingId; // element to show first; empty for none

    static KvCommandLine Parse(const QStringList& args);
    // True when an object id is one the program can be asked to show.
    static bool IsAcceptableId(const QString& id);
};
