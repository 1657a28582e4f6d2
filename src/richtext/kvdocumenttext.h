#pragma once

#include <QString>
#include <vector>

class QTextDocument;

// The plain text of a document as the search sees it (KvRtfPlainText::DocumentText), with
// the cursor position of each character, kept with the document until its next change:
// searching again, or on, costs no copy of the whole text.
class KvDocumentText
{
public:
    struct Snapshot
    {
        QString text;
        std::vector<int> positions; // cursor position of each character of text

        // The index of the first character at or after a cursor position.
        qsizetype IndexAt(int cursorPosition) const;
    };

    // The document's text now; valid until the document changes.
    static const Snapshot& Of(const QTextDocument& document);
};
