#pragma once

#include "richtext/paraattributes.h"

#include <QString>
#include <optional>

// What the paragraph dialog shows and applies, without the dialog: the five lengths as
// centimetre texts with two decimals in the user's locale, the entries of its four lists,
// and the attributes (with the fields to apply) that an edited copy stands for.
struct KvParaDialogValues
{
    static constexpr double MaxCm = 10.0;

    QString firstIndent;
    QString followingIndent;
    QString rightIndent;
    QString spaceBefore;
    QString spaceAfter;
    int alignment = -1;      // entry of AlignmentCB: 0 left, 1 right, 2 centre; -1 none
    int lineSpacing = -1;    // entry of LineSpacingCB: 0 single … 5 five lines; -1 none
    int numbering = 0;       // entry of NumberingCB: the numbering code 0 … 6
    int numberingStyle = -1; // entry of NumberingStyleCB: " .", " )", "( )", " "; -1 none

    bool operator==(const KvParaDialogValues&) const = default;

    // The values the dialog opens with for a paragraph.
    static KvParaDialogValues From(const KvParaAttributes& paragraph);

    // A centimetre text for twips ("1,50" in a German locale) and back: "1,5" and "1.5"
    // both read; empty reads as 0. Nothing for a text that is no number or lies outside
    // 0 … 10 cm.
    static QString CmText(int twips);
    static std::optional<int> ParseCm(const QString& text);

    // The entries of the line spacing and decoration lists for the codes, and back.
    static int LineSpacingEntry(int rule, int value);
    static int NumberingStyleEntry(int numberingStyle);
    static int NumberingStyleCode(int entry);
    // The decoration list is only for numbers (entries 2 and up of the numbering list).
    static bool HasNumberingStyle(int numbering) { return numbering >= 2; }

    struct Applied
    {
        KvParaAttributes attributes;
        unsigned mask = 0;
    };
    // What the edited values apply to the paragraphs: only what differs from the values
    // the dialog opened with (opened, for the paragraph opened). An untouched length keeps
    // the paragraph's exact twips. Nothing when a changed length does not read
    // (invalidField then names it: 0 first … 4 after).
    std::optional<Applied> Apply(const KvParaDialogValues& opened,
                                 const KvParaAttributes& paragraph,
                                 int* invalidField = nullptr) const;
};
