#include "richtext/kvdocumenttext.h"

#include "richtext/rtfplaintext.h"

#include <QTextDocument>
#include <algorithm>

namespace {

// Lives as a child of its document and forgets the text at every change of it (formats
// included: hidden text is not part of the text).
class TextCache : public QObject
{
public:
    explicit TextCache(QTextDocument* doc) : QObject(doc)
    {
        setObjectName(Name());
        connect(doc, &QTextDocument::contentsChanged, this, [this] { valid = false; });
    }
    static QString Name() { return u"KvDocumentTextCache"_qs; }

    KvDocumentText::Snapshot snapshot;
    bool valid = false;
};

} // namespace

qsizetype KvDocumentText::Snapshot::IndexAt(int cursorPosition) const
{
    return qsizetype(std::lower_bound(positions.begin(), positions.end(), cursorPosition) -
                     positions.begin());
}

const KvDocumentText::Snapshot& KvDocumentText::Of(const QTextDocument& document)
{
    // The cache is state beside the document, not part of it.
    auto* doc = const_cast<QTextDocument*>(&document);
    auto* cache = doc->findChild<TextCache*>(TextCache::Name(), Qt::FindDirectChildrenOnly);
    if (!cache)
        cache = new TextCache(doc);
    if (!cache->valid) {
        cache->snapshot.text = KvRtfPlainText::DocumentText(document, &cache->snapshot.positions);
        cache->valid = true;
    }
    return cache->snapshot;
}
