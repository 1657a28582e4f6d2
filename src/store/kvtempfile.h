#pragma once

#include <QString>

// A new, empty, uniquely named file in the temporary directory, named with the prefix. With
// an extension ("rtf" or ".rtf"), the file carries that extension instead of ".tmp".
// Returns the path, or an empty text when no file could be made. An existing file is never
// replaced.
QString KvTempFileName(const QString& prefix, const QString& extension = QString());
