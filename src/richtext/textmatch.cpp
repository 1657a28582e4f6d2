#include "richtext/textmatch.h"

#include <QTextDocument>

namespace {

// The code point that ends just before index i (surrogate pairs taken together).
char32_t CodePointBefore(const QString& text, qsizetype i)
{
    if (i <= 0)
        return 0;
    const QChar low = text.at(i - 1);
    if (low.isLowSurrogate() && i >= 2 && text.at(i - 2).isHighSurrogate())
        return QChar::surrogateToUcs4(text.at(i - 2), low);
    return low.unicode();
}

char32_t CodePointAt(const QString& text, qsizetype i)
{
    if (i >= text.size())
        return 0;
    const QChar high = text.at(i);
    if (high.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(high, text.at(i + 1));
    return high.unicode();
}

bool IsWholeWordAt(const QString& text, qsizetype pos, qsizetype len)
{
    return !KvTextMatch::IsWordChar(CodePointBefore(text, pos)) &&
           !KvTextMatch::IsWordChar(CodePointAt(text, pos + len));
}

} // namespace

bool KvTextMatch::IsWordChar(char32_t c)
{
    return c == U'_' || (c != 0 && QChar::isLetterOrNumber(c));
}

int KvTextMatch::FindInRange(const QString& text, const QString& term, int rangeStart, int rangeEnd,
                             KvMatchOptions options, bool backward)
{
    const qsizetype len = term.size();
    const qsizetype end = rangeEnd < 0 || rangeEnd > text.size() ? text.size() : rangeEnd;
    const qsizetype start = std::max(0, rangeStart);
    if (len == 0 || start + len > end)
        return -1;
    const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QStringView view = QStringView(text).left(end);
    if (!backward) {
        for (qsizetype pos = view.indexOf(term, start, cs); pos >= 0;
             pos = view.indexOf(term, pos + 1, cs)) {
            if (!options.wholeWord || IsWholeWordAt(text, pos, len))
                return int(pos);
        }
    } else {
        for (qsizetype pos = view.lastIndexOf(term, end - len, cs); pos >= start;
             pos = pos > 0 ? view.lastIndexOf(term, pos - 1, cs) : -1) {
            if (!options.wholeWord || IsWholeWordAt(text, pos, len))
                return int(pos);
        }
    }
    return -1;
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
                                int rangeEnd, KvMatchOptions options, bool backward)
{
    // The raw text has one character per cursor position; the paragraph separators and
    // frame markers in it are not word characters.
    return FindInRange(document.toRawText(), term, rangeStart, rangeEnd, options, backward);
}
