#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Writes a QTextDocument as RTF in the form the rich-edit control writes: 7-bit output,
// Windows-1252 characters as \'xx, every other character as \uN?. Reading the result back
// with KvRtfReader gives the same text and formatting. Every paragraph ends with \par, the
// last one too, as the reader makes no paragraph after a final \par: load/save cycles never
// add an empty paragraph.
class KvRtfWriter
{
public:
    struct Options
    {
        // Name in the {\*\generator ...;} group; empty writes no generator group.
        QString generator = QStringLiteral("Korvelle");
        // False leaves the last paragraph without \par: a piece of text (the clipboard)
        // whose last paragraph was not copied with its mark.
        bool lastParagraphMark = true;
    };

    static QByteArray Write(const QTextDocument& document, const Options& options);
    static QByteArray Write(const QTextDocument& document) { return Write(document, Options{}); }

    // Lengths: document formats hold pixels at 96 dpi, RTF twips (1/1440 inch).
    static int ToTwips(double pixels);
    static double ToPixels(int twips);
};
