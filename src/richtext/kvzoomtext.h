#pragma once

#include <QString>
#include <optional>

// The zoom of the page editor as the zoom box and the zoom menu write it: a whole number
// of percent from 5 to 1000, shown with "%".
namespace KvZoomText {

inline constexpr int Min = 5;
inline constexpr int Max = 1000;

// "130", "130%" and " 130 % " give 130; anything else, or a value out of range, nothing.
std::optional<int> Parse(const QString& text);
// 130 gives "130%".
QString Caption(int percent);

} // namespace KvZoomText
