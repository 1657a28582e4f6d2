#pragma once

#include <QString>

class QTextDocument;

struct KvMatchOptions
{
    bool wholeWord = false;
    bool matchCase = false;
};

// The one rule by which terms are found in names, keywords and page text.
//
// Word characters are letters, digits (any script, Unicode categories L and N) and "_".
// A hit is a whole word when neither the character before it nor the one after it is a
// word character (the ends of the text count as non-word). Without match case, upper and
// lower case are compared by Unicode case folding. An empty term is never found.
namespace KvTextMatch {

bool IsWordChar(char32_t c);

// First hit starting at or after `from`; -1 when there is none.
int Find(const QString& text, const QString& term, int from = 0, KvMatchOptions options = {});

// First (forward) or last (backward) hit that lies entirely within [rangeStart, rangeEnd);
// rangeEnd < 0 means the end of the text. -1 when there is none.
int FindInRange(const QString& text, const QString& term, int rangeStart, int rangeEnd,
                KvMatchOptions options, bool backward);

bool Contains(const QString& text, const QString& term, KvMatchOptions options = {});

// The same over a document's text; positions are QTextCursor positions. Paragraph and
// table-cell boundaries and embedded objects separate words.
int FindInDocument(const QTextDocument& document, const QString& term, int rangeStart, int rangeEnd,
                   KvMatchOptions options, bool backward = false);

} // namespace KvTextMatch
