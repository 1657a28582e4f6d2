#pragma once

#include <QStringList>

class KvCliIo;

// The "keywords" command: the keyword index, one line per entry in index order with the
// keyword as first written, a TAB and the ids of its elements.
namespace KvCliKeywords {

extern const char* const Help;

// argv without the command name; answers the exit status.
int Run(const QStringList& argv, KvCliIo& io);

} // namespace KvCliKeywords
