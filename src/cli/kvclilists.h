#pragma once

#include <QStringList>

class KvCliIo;

// The lists that name elements: bookmarks, the browse history and saved search results.
// An element shows as "id<TAB>name<TAB>folder path" (the rows of the program's lists with
// the full path), or "id<TAB>(missing)" when it is not in the notebook. Reading forms never
// write and work under another's lock; changing forms take the lock as the edit commands
// do and change no byte when refused.
namespace KvCliLists {

// bookmarks DIR [add|remove|up|down ID]
int Bookmarks(const QStringList& argv, KvCliIo& io);
// history DIR [--user U]
int History(const QStringList& argv, KvCliIo& io);
// results DIR [show LIST | delete LIST | rename LIST NAME]
int Results(const QStringList& argv, KvCliIo& io);

using Command = int (*)(const QStringList& argv, KvCliIo& io);
// The command of that name ("bookmarks", "history", "results"); null for another name.
Command Find(const QString& name);

} // namespace KvCliLists
