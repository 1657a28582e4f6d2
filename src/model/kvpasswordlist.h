#pragma once

#include <QString>
#include <QStringList>

// The passwords given in this run, in the order they were first given, each once.
// Lives in memory only; emptied whenever a data directory is opened.
namespace KvPasswordList {

void Add(const QString& password);
QStringList Entries();
void Clear();

} // namespace KvPasswordList
