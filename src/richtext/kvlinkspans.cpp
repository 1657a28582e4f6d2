#include "richtext/kvlinkspans.h"

#include <QRegularExpression>

namespace KvLinkSpans {

QList<Span> Find(const QString& paragraph)
{
    // "<" scheme "://" target ">"; the target may hold blanks but no angle brackets.
    static const QRegularExpression re(u"<([^<>\\s]+://[^<>\\x{2028}\\x{2029}]*)>"_qs);
    QList<Span> spans;
    for (auto it = re.globalMatch(paragraph); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        spans.append({int(m.capturedStart(1)), int(m.capturedLength(1)), m.captured(1)});
    }
    return spans;
}

bool IsWholeSpan(const QString& url)
{
    if (url.contains(u'\n') || url.contains(u'\r'))
        return false;
    const QList<Span> spans = Find(u" <"_qs + url + u'>');
    return spans.size() == 1 && spans.first().url == url;
}

} // namespace KvLinkSpans
