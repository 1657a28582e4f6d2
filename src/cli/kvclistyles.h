#pragma once

#include <QStringList>

class KvCliIo;

// The text styles of a settings directory and what uses them on a page: styles,
// style-create, style-redefine, style-rename, style-delete, style-apply and replace.
namespace KvCliStyles {

// True for the commands of this group.
bool Handles(const QString& command);
// Runs one of them; the exit status as KvCli::Run answers it.
int Run(const QString& command, const QStringList& args, KvCliIo& io);

} // namespace KvCliStyles
