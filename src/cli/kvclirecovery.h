#pragma once

#include "model/kvnotebookbuild.h"

class KvCliNotebook;

// Lost-element recovery as the program's start-up runs it (KvNotebookBuild): a new folder
// appended to the top folder, named with text 5070 and the current date and time, receives
// every lost element (folders with their subtrees), and everything is stored; the folder
// is stored open, as the window leaves it.
namespace KvCliRecovery {

// Needs a writable notebook built with its lock held.
KvRecoveryResult CollectLost(KvCliNotebook& notebook);
// Rewrites the member files of the four stores of dir without the lines that are neither a
// section header, a key line, a comment nor blank (the torn end of a cut file); before the
// notebook is built. Returns "file: n line(s)" for each file it rewrote.
QStringList DropTornLines(const QString& dir);
// Stores every folder whose stored child list names more than the folder holds: an id two
// folders list (built once, where met first), or listed twice by one. Returns their ids.
QStringList DropDoubleListings(KvCliNotebook& notebook);

} // namespace KvCliRecovery
