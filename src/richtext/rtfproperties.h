#pragma once

#include <QTextFormat>

// Properties of our own on QTextDocument formats: what RTF carries and Qt has no
// format property for. The reader sets them, the writer writes them back.
namespace KvRtfProp {

enum : int
{
    // QTextCharFormat, bool: hidden text (\v). Kept in the document, never part of plain text.
    Hidden = QTextFormat::UserProperty + 1,
    // QTextCharFormat, int: the RTF underline kind when Qt's underline styles cannot
    // express it (values of KvRtfUnderline).
    UnderlineKind,
    // QTextCharFormat, int: baseline shift in half-points (\up N positive, \dn N negative).
    BaselineShift,
    // QTextCharFormat, int: the font's \fcharset as read, so it is written back.
    FontCharset,
    // QTextCharFormat, int: the font's pitch (0 default, 1 fixed, 2 variable as in \fprq).
    FontPitch,
    // QTextImageFormat on the object replacement character, QByteArray: an RTF group kept
    // verbatim (WMF/EMF pictures, \object) and written back unchanged.
    RawRtfGroup,
    // QTextBlockFormat, int: RTF line-spacing rule when \sl is given: the \sl value in twips
    // (negative = exact, positive = at least); combined with SlMult.
    LineSpacingTwips,
    // QTextBlockFormat, bool: \slmult1 (the \sl value is a multiple of single spacing).
    LineSpacingMult,
    // QTextImageFormat, QByteArray: the picture's encoded bytes (PNG or JPEG) as read or
    // inserted, written back as they are; the document's image resource is only for showing.
    PictureBytes,
};

} // namespace KvRtfProp

enum class KvRtfUnderline : int
{
    None = 0,
    Single,     // \ul
    Double,     // \uldb
    Words,      // \ulw
    Dotted,     // \uld
    Dash,       // \uldash
    DashDot,    // \uldashd
    DashDotDot, // \uldashdd
    Thick,      // \ulth
    Wave,       // \ulwave
};

// Lengths read from RTF (indents, paragraph spacing, tab stops, fixed line heights, picture
// goal sizes) are stored in document pixels at 96 dpi: one pixel is 15 twips.
inline constexpr double KvRtfTwipsPerPixel = 15.0;
