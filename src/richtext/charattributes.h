#pragma once

#include "store/kvstorefont.h"

#include <QString>

class QTextCharFormat;
class QTextCursor;

// The character attributes of text in the terms the program stores and edits them (text
// styles, font dialog, toolbar, format copy): the one place that turns them into Qt's
// character formats and back, so that equal values always give equal formats and equal RTF.
//
// - Colours are 00BBGGRR values (KvColor). clWindowText as text colour is the automatic
//   colour: the text has no colour of its own and shows in the page's. clWindow as
//   background is no background of its own. Other system colours resolve through the palette.
// - Charset is the \fcharset number; pitch is the store's (0 default, 1 variable, 2 fixed),
//   translated to and from RTF's \fprq (1 fixed, 2 variable), never copied.
// - Sizes are whole points; pixel sizes (pasted HTML) count at 96 dpi.
// - What the text does not set itself reads as the page's layout font.
struct KvCharAttributes
{
    // The fields, for applying a subset.
    enum Field : unsigned
    {
        Name = 0x001,
        Size = 0x002,
        Color = 0x004,
        Bold = 0x008,
        Italic = 0x010,
        Underline = 0x020,
        StrikeOut = 0x040,
        Charset = 0x080,
        Pitch = 0x100,
        Background = 0x200,
        Styles = Bold | Italic | Underline | StrikeOut,
        Font = Name | Size | Color | Styles | Charset | Pitch,
        All = Font | Background
    };

    QString name;
    int size = 10;
    int color = KvColor::clWindowText;
    int background = KvColor::clWindow;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charset = 1;
    int pitch = 0;

    bool operator==(const KvCharAttributes&) const = default;
    // The fields whose values differ from other's.
    unsigned DifferingFields(const KvCharAttributes& other) const;

    // The attributes of a character format; layoutFont stands in for what it does not set.
    static KvCharAttributes Read(const QTextCharFormat& format, const KvFontSpec& layoutFont);
    // Sets (or clears) the fields of mask in format.
    void ApplyToFormat(QTextCharFormat& format, unsigned mask) const;
    // Sets the fields of mask on every character of the selection, as one step; without a
    // selection the cursor's format for typing changes instead.
    void ApplyTo(QTextCursor& selection, unsigned mask) const;

    // The font part as the stores keep it, and back (the background comes separately).
    KvFontSpec FontSpec() const;
    static KvCharAttributes FromFontSpec(const KvFontSpec& font, int background);

    // RTF's \fprq from the store's pitch and back.
    static int RtfPitch(int pitch);
    static int StorePitch(int rtfPitch);
    // The \fcharset to write: the system default (1) is written as ANSI (0), since readers
    // take \'xx bytes of a charset-1 font for unknown characters.
    static int RtfCharset(int charset) { return charset == 1 ? 0 : charset; }
    // The size the format sets in points (pixel sizes at 96 dpi), 0 when it sets none.
    static double PointSize(const QTextCharFormat& format);
    // The first family the format names, empty when none.
    static QString Family(const QTextCharFormat& format);
};
