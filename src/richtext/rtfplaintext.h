#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <vector>

class QTextDocument;

// Plain text of RTF without building a document, and the plain text of a document.
//
// Both give what QTextDocument::toPlainText() gives for the document KvRtfReader builds,
// except that hidden text (KvRtfProp::Hidden) is left out:
// - paragraphs are separated by "\n"; the last paragraph has no "\n" after it;
// - a line break (\line, U+2028 in the document) is "\n", a non-breaking space is " ";
// - tabs stay "\t"; list numbers are not part of the text;
// - a table starts with "\n", its cells (row by row, empty cells included) are separated by
//   "\n", and it ends with "\n";
// - every picture or embedded object is one U+FFFC.
class KvRtfPlainText
{
public:
    static QString Extract(QByteArrayView rtf);
    // The same into text (its buffer is reused), calling checkpoint with the text so far
    // after about every `interval` bytes of input. When checkpoint answers false, the
    // extraction ends there and the answer is false; text then holds only a beginning.
    static bool Extract(QByteArrayView rtf, QString& text, qsizetype interval,
                        const std::function<bool(const QString&)>& checkpoint);
    // The document's plain text under the conventions above; positions, when given, gets
    // the cursor position of each of its characters (hidden text leaves gaps).
    static QString DocumentText(const QTextDocument& doc, std::vector<int>* positions = nullptr);
};
