#pragma once

#include <QList>
#include <QString>

// Links in page text are plain text: "<" scheme "://" target ">" inside one paragraph, the
// target with blanks but without angle brackets. The editor marks them and follows a
// click; the link commands check that what they write is found as one such span.
namespace KvLinkSpans {

struct Span
{
    int start = 0;  // of the URL, in the paragraph
    int length = 0; // of the URL
    QString url;
};

// The link spans of one paragraph's text.
QList<Span> Find(const QString& paragraph);
// True when " <" + url + ">" is read back as exactly this URL.
bool IsWholeSpan(const QString& url);

} // namespace KvLinkSpans
