#pragma once

#include <QString>

class KvCliNotebook;

// Lost-element recovery as the program's start-up runs it: a new folder appended to the top
// folder, named with text 5070 and the current date and time, receives every lost element
// (folders with their subtrees), and everything is stored.
namespace KvCliRecovery {

// Needs a writable notebook built with its lock held; returns the new folder's name.
QString CollectLost(KvCliNotebook& notebook);

} // namespace KvCliRecovery
