#pragma once

#include <QString>
#include <array>

class QTextDocument;

struct KvMatchOptions
{
    bool wholeWord = false;
    bool matchCase = false;
};

// The one rule by which terms are found in names, keywords and page text.
//
// A hit is a place where the text has the term: with match case the same code units,
// without it the same after simple Unicode case folding of each character (a surrogate
// pair folded as one). Word characters are letters, digits (any script, Unicode categories
// L and N) and "_". A hit is a whole word when neither the character before it nor the
// one after it is a word character (the ends of the text count as non-word). An empty term
// is never found.
namespace KvTextMatch {

bool IsWordChar(char32_t c);
// The code point that ends just before index i, and the one that starts at i (surrogate
// pairs taken together); 0 at the ends of the text.
char32_t CodePointBefore(QStringView text, qsizetype i);
char32_t CodePointAt(QStringView text, qsizetype i);

// First hit starting at or after `from`; -1 when there is none.
int Find(const QString& text, const QString& term, int from = 0, KvMatchOptions options = {});

// First (forward) or last (backward) hit that lies entirely within [rangeStart, rangeEnd);
// rangeEnd < 0 means the end of the text. -1 when there is none.
int FindInRange(const QString& text, const QString& term, int rangeStart, int rangeEnd,
                KvMatchOptions options, bool backward);

bool Contains(const QString& text, const QString& term, KvMatchOptions options = {});

// The same over a document's text as the search sees it (KvRtfPlainText::DocumentText:
// hidden text left out, non-breaking spaces as blanks), so that every hit of a search is
// found here too; positions are QTextCursor positions. Paragraph and table-cell boundaries
// and embedded objects separate words. length, when given, gets the hit's length in cursor
// positions (hidden text inside the hit included).
int FindInDocument(const QTextDocument& document, const QString& term, int rangeStart, int rangeEnd,
                   KvMatchOptions options, bool backward = false, int* length = nullptr);

} // namespace KvTextMatch

// A term prepared once for searching many texts by the rule above. Candidates are found by
// scanning, four code units at a time, for the units that one of the term's characters may
// stand for: the one least frequent in ordinary text. Immutable after construction, so
// that several threads may share one.
class KvTextMatcher
{
public:
    KvTextMatcher() = default;
    KvTextMatcher(const QString& term, KvMatchOptions options);

    // First (forward) or last (backward) hit lying entirely within [rangeStart, rangeEnd)
    // of text (rangeEnd < 0: its end); the text beyond the range still decides whole words.
    // -1 when there is none.
    qsizetype Find(QStringView text, qsizetype rangeStart = 0, qsizetype rangeEnd = -1,
                   bool backward = false) const;
    bool Contains(QStringView text) const { return Find(text) >= 0; }

    const QString& Term() const { return m_term; }
    KvMatchOptions Options() const { return m_options; }
    bool IsEmpty() const { return m_term.isEmpty(); }

private:
    bool HitAt(QStringView text, qsizetype pos) const;
    qsizetype NextCandidate(const char16_t* text, qsizetype pos, qsizetype last) const;

    QString m_term;
    KvMatchOptions m_options;
    // The code units the term's character at m_anchor may stand for; none: every position
    // is a candidate.
    std::array<char16_t, 8> m_first{};
    int m_firstCount = 0;
    qsizetype m_anchor = 0;
};
