#pragma once

#include <QStringList>

class KvCliIo;

// The subcommands that change a notebook. Each checks every id and name before the first
// change (a refused command changes no byte), prints the ids it made or changed, one a
// line, and answers the exit status: 0, 1 for an error or a skipped page, 2 for a wrong
// command line, 130 when a signal stopped it after the current element.
namespace KvCliEdit {

int Add(const QStringList& args, KvCliIo& io);
int Rename(const QStringList& args, KvCliIo& io);
int Trash(const QStringList& args, KvCliIo& io);
int Move(const QStringList& args, KvCliIo& io);
int Delete(const QStringList& args, KvCliIo& io);
int EmptyTrash(const QStringList& args, KvCliIo& io);
int Sort(const QStringList& args, KvCliIo& io);
int Copy(const QStringList& args, KvCliIo& io);
int Referrer(const QStringList& args, KvCliIo& io);

} // namespace KvCliEdit
