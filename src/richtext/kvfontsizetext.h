#pragma once

#include <QString>
#include <optional>

// The size box of the tool bar: whole points from 1 to 1638 (the largest size the font
// format takes).
namespace KvFontSizeText {

inline constexpr int Min = 1;
inline constexpr int Max = 1638;

// "12" and " 12 " give 12; "0", "-3", "12,5", "abc" and "2000" give nothing.
std::optional<int> Parse(const QString& text);

} // namespace KvFontSizeText
