#include "richtext/rtfreader.h"

#include "richtext/rtfdocumentsink.h"
#include "richtext/rtfparser.h"

#include <QTextCursor>
#include <QTextDocument>

KvRtfReadResult KvRtfReader::Read(const QByteArray& rtf, QTextDocument* doc)
{
    KvRtfReadResult result;
    if (!doc)
        return result;
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    {
        // One edit block: the cursor skips its per-insert layout work and the document
        // reports one change at the end.
        QTextCursor edit(doc);
        edit.beginEditBlock();
        KvRtfDocumentSink sink(doc);
        KvRtfParser parser(sink);
        sink.SetParser(&parser);
        result.ok = parser.Parse(rtf);
        result.warnings = parser.Warnings() + sink.warnings;
        result.styles = parser.StyleNames();
        result.endedWithParagraphMark = parser.EndedWithParagraphMark();
        edit.endEditBlock();
    }
    doc->setUndoRedoEnabled(undo);
    return result;
}
