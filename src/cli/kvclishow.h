#pragma once

#include "cli/kvcliformats.h"

#include <QString>

class KvCliIo;
class KvPage;

// The "show" command: one page's content. A protected page's password comes from the
// terminal (no echo) or, when asked for, from the first line of standard input.
namespace KvCliShow {

// Loads a page's text; its password from standard input or the terminal. Wrong passwords,
// corrupt encrypted files and unreadable content files raise KvCliError.
void LoadPage(KvPage& page, bool passwordStdin, KvCliIo& io);

void Run(const QString& dir, const QString& id, KvCliFormats::Format format, bool passwordStdin,
         KvCliIo& io);

} // namespace KvCliShow
