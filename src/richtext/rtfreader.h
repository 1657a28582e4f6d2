#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

class QTextDocument;

struct KvRtfReadResult
{
    bool ok = true;            // false: the input is not RTF (read best-effort as far as it goes)
    QStringList warnings;      // what could not be read faithfully
    QMap<int, QString> styles; // paragraph style names of the style sheet by \s number
    bool endedWithParagraphMark = false; // the last paragraph was ended by \par

    explicit operator bool() const { return ok; }
};

// Reads RTF into a QTextDocument, replacing its content.
// Lengths become document pixels (KvRtfTwipsPerPixel); hidden text, unusual underlines,
// baseline shifts, font charsets and pitches, and RTF groups kept verbatim (metafiles,
// objects) are stored as KvRtfProp properties. Hyperlink fields become anchors.
class KvRtfReader
{
public:
    static KvRtfReadResult Read(const QByteArray& rtf, QTextDocument* doc);
};
