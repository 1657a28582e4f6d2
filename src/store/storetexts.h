#pragma once

#include "platform/kvtexttable.h"

#include <QString>

// Message texts raised by the store layer; the numbers are those of the program's text table.
namespace KvStoreText {

inline constexpr int IniFileWriteNo = 65504;
// "%s" is replaced by the path of the file.
inline QString IniFileWrite()
{
    return KvTextTable::Text(IniFileWriteNo);
}

inline constexpr int FlushFailedNo = 65505;
// Pending changes of a file could not be written: the file and the system's reason.
inline QString FlushFailedTemplate()
{
    return u"Die Datei %v% kann nicht gespeichert werden: %v%"_qs;
}
inline QString FlushFailed(const QString& fileName, const QString& reason)
{
    QString text = FlushFailedTemplate();
    const QString placeholder = u"%v%"_qs;
    text.replace(text.indexOf(placeholder), placeholder.size(), fileName);
    // After the file name, which may itself hold the placeholder's characters.
    const qsizetype at = text.lastIndexOf(placeholder);
    return text.replace(at, placeholder.size(), reason);
}

} // namespace KvStoreText
