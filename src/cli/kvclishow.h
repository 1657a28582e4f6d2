#pragma once

#include "cli/kvcliformats.h"

#include <QString>

class KvCliIo;

// The "show" command: one page's content. A protected page's password comes from the
// terminal (no echo) or, when asked for, from the first line of standard input.
namespace KvCliShow {

void Run(const QString& dir, const QString& id, KvCliFormats::Format format, bool passwordStdin,
         KvCliIo& io);

} // namespace KvCliShow
