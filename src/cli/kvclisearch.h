#pragma once

#include <QStringList>

class KvCliIo;

// The "search" command: the program's search over a data directory, one line per hit
// ("id<TAB>path") on standard output in examination order. Never prompts and never writes.
namespace KvCliSearch {

extern const char* const Help;

// argv without the command name; answers the exit status.
int Run(const QStringList& argv, KvCliIo& io);

} // namespace KvCliSearch
