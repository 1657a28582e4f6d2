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
// Stores every folder whose stored child list names more than the folder holds: an id two
// folders list (built once, where met first), or listed twice by one. Returns their ids.
QStringList DropDoubleListings(KvCliNotebook& notebook);

} // namespace KvCliRecovery
