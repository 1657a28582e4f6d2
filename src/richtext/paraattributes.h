#pragma once

#include <QString>
#include <QTextListFormat>

class QTextBlock;
class QTextCursor;

// A paragraph's attributes in the terms the program stores and edits them (text styles,
// paragraph dialog): lengths in twips, the edit control's codes for alignment, line spacing
// and numbering.
struct KvParaAttributes
{
    enum Alignment
    {
        Left = 0,
        Right = 1,
        Centre = 2,
        Justify = 3
    };
    // Line spacing rules; for Lines the value is twentieths of a line (30 = 1.5 lines).
    enum LineRule
    {
        Single = 0,
        OneAndHalf = 1,
        Double = 2,
        AtLeast = 3,
        Exactly = 4,
        Lines = 5
    };
    // Numbering kinds and number decorations.
    enum Numbering
    {
        NoNumbering = 0,
        Bullet,
        Arabic,
        LowerLetter,
        UpperLetter,
        LowerRoman,
        UpperRoman
    };
    enum NumberingStyle
    {
        Parenthesis = 0x000,
        Parentheses = 0x100,
        Period = 0x200,
        Plain = 0x300
    };

    int startIndent = 0; // first line, from the left margin
    int offset = 0;      // following lines, relative to the first line
    int rightIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int alignment = Left;
    int lineSpacingRule = Single;
    int lineSpacing = 0;
    int numbering = NoNumbering;
    int numberingStyle = Period; // Period for bullets and without numbering

    // The fields, for applying a subset. StartIndent alone moves the whole paragraph (its
    // following lines keep their offset); Offset alone moves the following lines only.
    enum Field : unsigned
    {
        AlignmentField = 0x001,
        StartIndentField = 0x002,
        OffsetField = 0x004,
        RightIndentField = 0x008,
        SpaceBeforeField = 0x010,
        SpaceAfterField = 0x020,
        LineSpacingField = 0x040, // rule and value
        NumberingField = 0x080,   // kind and decoration
        IndentFields = StartIndentField | OffsetField | RightIndentField,
        SpaceFields = SpaceBeforeField | SpaceAfterField,
        AllFields = 0x0FF
    };

    bool operator==(const KvParaAttributes&) const = default;

    // The attributes of one paragraph.
    static KvParaAttributes Read(const QTextBlock& block);
    // Applies the fields of mask to every paragraph the cursor's selection touches, as one
    // step; the other fields of each paragraph stay as they are.
    void ApplyTo(const QTextCursor& selection, unsigned mask = AllFields) const;
};

namespace KvParaFormat {

// Makes the paragraphs of the selection one list of the given kind, or takes them out of
// their lists (ListStyleUndefined). The number decoration is prefix and suffix. Only the
// selected paragraphs change: a part of a list becomes a list of its own.
void SetNumbering(const QTextCursor& selection, QTextListFormat::Style style,
                  const QString& prefix = {}, const QString& suffix = {});

} // namespace KvParaFormat
