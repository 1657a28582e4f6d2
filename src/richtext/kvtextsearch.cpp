#include "richtext/kvtextsearch.h"

#include "richtext/kvdocumenttext.h"

#include <QTextCursor>
#include <QTextDocument>
#include <vector>

namespace KvTextSearch {

namespace {

Hit ToHit(const KvDocumentText::Snapshot& snap, qsizetype index, qsizetype termLength)
{
    if (index < 0)
        return {};
    const int position = snap.positions[size_t(index)];
    const int end = snap.positions[size_t(index + termLength - 1)] + 1;
    return {position, end - position};
}

} // namespace

Hit FindNext(const QTextDocument& document, int selStart, int selLength, const Request& request)
{
    const KvDocumentText::Snapshot& snap = KvDocumentText::Of(document);
    const KvTextMatcher matcher(request.term, request.options);
    const qsizetype index =
        request.down ? matcher.Find(snap.text, snap.IndexAt(std::max(0, selStart + selLength)))
                     : matcher.Find(snap.text, 0, snap.IndexAt(std::max(0, selStart)), true);
    return ToHit(snap, index, request.term.size());
}

Hit FindFromEdge(const QTextDocument& document, const Request& request)
{
    return FindNext(document, request.down ? 0 : document.characterCount(), 0, request);
}

bool SelectionIsTerm(const QString& selected, const QString& term)
{
    return !term.isEmpty() && selected.compare(term, Qt::CaseInsensitive) == 0;
}

int ReplaceRange(QTextDocument& document, int position, int length, const QString& replacement)
{
    QTextCursor c(&document);
    c.setPosition(position + (length > 0 ? 1 : 0));
    const QTextCharFormat format = c.charFormat();
    c.setPosition(position);
    c.setPosition(position + length, QTextCursor::KeepAnchor);
    c.beginEditBlock();
    c.insertText(replacement, format);
    c.endEditBlock();
    return c.position();
}

ReplaceAllResult ReplaceAll(QTextDocument& document, int from, const Request& request,
                            const QString& replacement)
{
    ReplaceAllResult result;
    if (request.term.isEmpty())
        return result;
    const KvDocumentText::Snapshot& snap = KvDocumentText::Of(document);
    const QStringView text = snap.text;
    const qsizetype len = request.term.size();
    // Whole words are judged here, against the text with the replacements made so far.
    const KvTextMatcher matcher(request.term, {false, request.options.matchCase});
    const bool whole = request.options.wholeWord;
    using KvTextMatch::CodePointAt;
    using KvTextMatch::CodePointBefore;
    using KvTextMatch::IsWordChar;

    std::vector<qsizetype> hits;
    if (request.down) {
        qsizetype pos = snap.IndexAt(std::max(0, from));
        qsizetype lastEnd = -1;
        char32_t beforeNext = 0; // what stands before lastEnd now
        for (qsizetype h; (h = matcher.Find(text, pos)) >= 0;) {
            const char32_t before = h == lastEnd ? beforeNext : CodePointBefore(text, h);
            if (whole && (IsWordChar(before) || IsWordChar(CodePointAt(text, h + len)))) {
                pos = h + 1;
                continue;
            }
            hits.push_back(h);
            beforeNext =
                replacement.isEmpty() ? before : CodePointBefore(replacement, replacement.size());
            lastEnd = h + len;
            pos = lastEnd;
        }
    } else {
        qsizetype end = snap.IndexAt(std::max(0, from));
        qsizetype nextStart = -1;
        char32_t afterPrevious = 0; // what stands after nextStart now
        for (qsizetype h; (h = matcher.Find(text, 0, end, true)) >= 0;) {
            const char32_t after =
                h + len == nextStart ? afterPrevious : CodePointAt(text, h + len);
            if (whole && (IsWordChar(CodePointBefore(text, h)) || IsWordChar(after))) {
                end = h + len - 1;
                continue;
            }
            hits.push_back(h);
            afterPrevious = replacement.isEmpty() ? after : CodePointAt(replacement, 0);
            nextStart = h;
            end = h;
        }
    }
    if (hits.empty())
        return result;

    // Cursor ranges before any change; replaced from the end, so that none moves another.
    std::vector<Hit> ranges;
    ranges.reserve(hits.size());
    for (qsizetype h : hits)
        ranges.push_back(ToHit(snap, h, len));
    if (request.down)
        std::reverse(ranges.begin(), ranges.end());
    QTextCursor c(&document);
    c.beginEditBlock();
    for (const Hit& r : ranges) {
        c.setPosition(r.position + 1);
        const QTextCharFormat format = c.charFormat();
        c.setPosition(r.position);
        c.setPosition(r.position + r.length, QTextCursor::KeepAnchor);
        c.insertText(replacement, format);
    }
    c.endEditBlock();

    result.count = int(ranges.size());
    result.lastLength = int(replacement.size());
    if (request.down) {
        // The last hit moved by what the ones before it changed.
        long long shift = 0;
        for (size_t i = 1; i < ranges.size(); ++i)
            shift += result.lastLength - ranges[i].length;
        result.lastPosition = int(ranges.front().position + shift);
    } else {
        result.lastPosition = ranges.back().position;
    }
    return result;
}

} // namespace KvTextSearch
