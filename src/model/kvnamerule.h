#pragma once

#include <QString>

// The one rule for the names of folders, pages, styles and saved search results, applied
// where a name is typed (the name dialog) or given (korvnote-cli): characters that a
// one-line name cannot show become blanks, blanks at both ends go, and what is left is the
// name. Nothing left means no name (text 5005).
namespace KvNameRule {

// Longer names are refused by the command line; the name dialog takes no more.
inline constexpr int MaxLength = 100;

// A character shown as a blank in a name: control characters (line breaks and tabs among
// them), the line and paragraph separators, and the zero-width characters (U+200B, U+200C,
// U+200D, U+2060, U+FEFF), which would show as nothing or break the line of a tree node.
bool ShownAsBlank(QChar c);

// The name as it is stored: every character ShownAsBlank replaced by a blank, then blanks
// at both ends (any kind of blank) removed. Empty when nothing else was given.
QString Clean(const QString& typed);

} // namespace KvNameRule
