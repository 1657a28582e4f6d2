#pragma once

#include <QString>

// Names of the form prefix + seven digits ("Page0000012", "Item0000201").
namespace KvSectionNames {

QString Format(const QString& prefix, int number);
// The key of child number n (1-based, counted across continuation sections).
QString ItemKey(int number);

} // namespace KvSectionNames
