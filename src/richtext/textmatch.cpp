#include "richtext/textmatch.h"

#include "richtext/kvdocumenttext.h"

#include <QTextDocument>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool IsWholeWordAt(QStringView text, qsizetype pos, qsizetype len)
{
    return !KvTextMatch::IsWordChar(KvTextMatch::CodePointBefore(text, pos)) &&
           !KvTextMatch::IsWordChar(KvTextMatch::CodePointAt(text, pos + len));
}

// (folded, unit) for every code unit of the basic plane that folding changes, by folded.
const std::vector<std::pair<char16_t, char16_t>>& FoldedFrom()
{
    static const std::vector<std::pair<char16_t, char16_t>> table = [] {
        std::vector<std::pair<char16_t, char16_t>> t;
        for (char32_t u = 0; u < 0x10000; ++u) {
            if (u >= 0xD800 && u <= 0xDFFF)
                continue;
            const char32_t f = QChar::toCaseFolded(u);
            if (f != u && f < 0x10000)
                t.emplace_back(char16_t(f), char16_t(u));
        }
        std::sort(t.begin(), t.end());
        return t;
    }();
    return table;
}

// The word-at-a-time scans read the lowest byte or code unit first.
static_assert(std::endian::native == std::endian::little);

constexpr uint64_t kLaneOnes = 0x0001000100010001ULL;
constexpr uint64_t kLaneHighs = 0x8000800080008000ULL;

// Bit 15 of a lane is set where the lane of w equals the unit (four code units per word).
inline uint64_t LanesEqual(uint64_t w, uint64_t unitInLanes)
{
    const uint64_t v = w ^ unitInLanes;
    return (v - kLaneOnes) & ~v & kLaneHighs;
}

} // namespace

namespace {

// How common a character is in ordinary (German and English) text, roughly: the scan
// anchors on the term's rarest one, so that fewer candidates need a full comparison.
int Commonness(char16_t u)
{
    const char16_t c = u < 0x80 ? char16_t(u | 0x20) : u; // ASCII letters in lower case
    switch (c) {
    case u' ':
        return 10;
    case u'e':
        return 9;
    case u'n':
    case u'i':
    case u't':
        return 8;
    case u'r':
    case u's':
    case u'a':
    case u'h':
        return 7;
    case u'd':
    case u'u':
    case u'l':
    case u'o':
    case u'c':
        return 6;
    case u'g':
    case u'm':
    case u'b':
    case u'f':
        return 5;
    case u'w':
    case u'k':
    case u'z':
    case u'p':
    case u'v':
        return 4;
    default:
        return (c >= u'a' && c <= u'z') ? 3 : 2;
    }
}

} // namespace

KvTextMatcher::KvTextMatcher(const QString& term, KvMatchOptions options)
    : m_term(term), m_options(options)
{
    for (qsizetype i = 1; i < term.size(); ++i) {
        if (!term.at(i).isSurrogate() &&
            Commonness(term.at(i).unicode()) < Commonness(term.at(m_anchor).unicode()))
            m_anchor = i;
    }
    if (term.isEmpty())
        return;
    const char16_t anchor = term.at(m_anchor).unicode();
    if (QChar::isSurrogate(anchor))
        return; // rare: every position is tried
    m_first[m_firstCount++] = anchor;
    if (options.matchCase)
        return;
    // Every unit that folds as the anchor does (letters with more than two cases, the
    // Kelvin sign for "k", ...).
    const char16_t folded = char16_t(QChar::toCaseFolded(char32_t(anchor)));
    auto add = [&](char16_t u) {
        if (std::find(m_first.begin(), m_first.begin() + m_firstCount, u) !=
            m_first.begin() + m_firstCount)
            return true;
        if (m_firstCount == int(m_first.size()))
            return false;
        m_first[m_firstCount++] = u;
        return true;
    };
    bool complete = add(folded);
    const auto& table = FoldedFrom();
    for (auto it = std::lower_bound(table.begin(), table.end(), std::pair(folded, char16_t(0)));
         complete && it != table.end() && it->first == folded; ++it)
        complete = add(it->second);
    if (!complete)
        m_firstCount = 0;
}

bool KvTextMatcher::HitAt(QStringView text, qsizetype pos) const
{
    const qsizetype len = m_term.size();
    const QStringView slice = text.sliced(pos, len);
    const bool equal = m_options.matchCase
                           ? std::memcmp(slice.utf16(), m_term.utf16(), len * 2) == 0
                           : slice.compare(m_term, Qt::CaseInsensitive) == 0;
    return equal && (!m_options.wholeWord || IsWholeWordAt(text, pos, len));
}

// The first position in [pos, last] whose unit is one of m_first; last + 1 when none.
qsizetype KvTextMatcher::NextCandidate(const char16_t* text, qsizetype pos, qsizetype last) const
{
    std::array<uint64_t, 8> lanes{};
    for (int i = 0; i < m_firstCount; ++i)
        lanes[i] = kLaneOnes * m_first[i];
    while (last - pos >= 3) {
        uint64_t w;
        std::memcpy(&w, text + pos, 8);
        uint64_t hit = 0;
        for (int i = 0; i < m_firstCount; ++i)
            hit |= LanesEqual(w, lanes[i]);
        if (hit) {
            // Lanes are little-endian: the lowest set bit is the earliest unit. A borrow can
            // only mark lanes after a true hit, so the lowest mark is exact.
            return pos + std::countr_zero(hit) / 16;
        }
        pos += 4;
    }
    for (; pos <= last; ++pos) {
        for (int i = 0; i < m_firstCount; ++i) {
            if (text[pos] == m_first[i])
                return pos;
        }
    }
    return last + 1;
}

qsizetype KvTextMatcher::Find(QStringView text, qsizetype rangeStart, qsizetype rangeEnd,
                              bool backward) const
{
    const qsizetype len = m_term.size();
    const qsizetype end = rangeEnd < 0 || rangeEnd > text.size() ? text.size() : rangeEnd;
    const qsizetype start = std::max<qsizetype>(0, rangeStart);
    if (len == 0 || start + len > end)
        return -1;
    const qsizetype last = end - len; // the last position a hit may start at
    auto anchorFits = [&](qsizetype pos) {
        return m_firstCount == 0 ||
               std::find(m_first.begin(), m_first.begin() + m_firstCount,
                         text[pos + m_anchor].unicode()) != m_first.begin() + m_firstCount;
    };
    if (backward) {
        for (qsizetype pos = last; pos >= start; --pos) {
            if (anchorFits(pos) && HitAt(text, pos))
                return pos;
        }
        return -1;
    }
    for (qsizetype pos = start; pos <= last; ++pos) {
        if (m_firstCount > 0) {
            // Candidates by the anchor's position in the text.
            const qsizetype at = NextCandidate(text.utf16(), pos + m_anchor, last + m_anchor);
            if (at > last + m_anchor)
                break;
            pos = at - m_anchor;
        }
        if (HitAt(text, pos))
            return pos;
    }
    return -1;
}

char32_t KvTextMatch::CodePointBefore(QStringView text, qsizetype i)
{
    if (i <= 0)
        return 0;
    const QChar low = text.at(i - 1);
    if (low.isLowSurrogate() && i >= 2 && text.at(i - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(text.at(i - 2), low);
    return low.unicode();
}

char32_t KvTextMatch::CodePointAt(QStringView text, qsizetype i)
{
    if (i >= text.size())
        return 0;
    const QChar high = text.at(i);
    if (high.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(high, text.at(i + 1));
    return high.unicode();
}

bool KvTextMatch::IsWordChar(char32_t c)
{
    return c == U'_' || (c != 0 && QChar::isLetterOrNumber(c));
}

int KvTextMatch::FindInRange(const QString& text, const QString& term, int rangeStart, int rangeEnd,
                             KvMatchOptions options, bool backward)
{
    return int(KvTextMatcher(term, options).Find(text, rangeStart, rangeEnd, backward));
}

int KvTextMatch::Find(const QString& text, const QString& term, int from, KvMatchOptions options)
{
    return FindInRange(text, term, from, -1, options, false);
}

bool KvTextMatch::Contains(const QString& text, const QString& term, KvMatchOptions options)
{
    return Find(text, term, 0, options) >= 0;
}

int KvTextMatch::FindInDocument(const QTextDocument& document, const QString& term, int rangeStart,
                                int rangeEnd, KvMatchOptions options, bool backward, int* length)
{
    const KvDocumentText::Snapshot& snap = KvDocumentText::Of(document);
    // The range in characters of the text: the first ones at or after its cursor positions.
    const qsizetype start = snap.IndexAt(std::max(0, rangeStart));
    const qsizetype end = rangeEnd < 0 ? snap.text.size() : snap.IndexAt(rangeEnd);
    const qsizetype hit = KvTextMatcher(term, options).Find(snap.text, start, end, backward);
    if (hit < 0)
        return -1;
    if (length)
        *length = snap.positions[hit + term.size() - 1] + 1 - snap.positions[hit];
    return snap.positions[hit];
}
