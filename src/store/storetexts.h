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

} // namespace KvStoreText
