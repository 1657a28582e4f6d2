#pragma once

#include <QString>

class KvObject;
class KvPage;

// The name that recovery gives an element whose name was lost: the first line of its text,
// cut to MaxLength characters, else its id. A protected page keeps its text to itself.
namespace KvLostName {

inline constexpr int MaxLength = 100;

QString For(KvObject& obj);
// The first non-blank line of a page's stored text, cut to MaxLength; empty when there is
// none or the content is protected or not RTF.
QString FirstLine(KvPage& page);

} // namespace KvLostName
