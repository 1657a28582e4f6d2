#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The program's numbered text table (German), kept as a resource of the executable in
// src/app/texts/de.txt. Every layer takes its user-visible texts from here; KvTexts (app)
// adds references, hints and message filling on top.
namespace KvTextTable {

// The text with that number; empty when the table has none.
QString Text(int number);
// Text number with each "%v%" replaced by the next value, in reading order.
QString Message(int number, const QStringList& values);

// The table file format: "NUMBER<TAB>text" per line, "#" lines are comments, "\r\n",
// "\t" and "\\" inside a text are escapes.
QHash<int, QString> Parse(const QByteArray& utf8);
QString Unescape(const QString& text);

} // namespace KvTextTable
