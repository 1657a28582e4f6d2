#include "richtext/kvparadialogvalues.h"

#include <QLocale>
#include <cmath>

namespace {

constexpr double kCmPerTwip = 2.54 / 1440.0;

using A = KvParaAttributes;

} // namespace

QString KvParaDialogValues::CmText(int twips)
{
    return QLocale().toString(twips * kCmPerTwip, 'f', 2);
}

std::optional<int> KvParaDialogValues::ParseCm(const QString& text)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return 0;
    // Either decimal separator, whatever the locale: "1,5" and "1.5" are both 1.5.
    t.replace(u',', u'.');
    bool ok = false;
    const double cm = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(cm) || cm < 0 || cm > MaxCm)
        return std::nullopt;
    return int(std::lround(cm / kCmPerTwip));
}

int KvParaDialogValues::LineSpacingEntry(int rule, int value)
{
    switch (rule) {
    case A::Single:
        return 0;
    case A::OneAndHalf:
        return 1;
    case A::Double:
        return 2;
    case A::Lines:
        switch (value) {
        case 0:
        case 20:
            return 0;
        case 30:
            return 1;
        case 40:
            return 2;
        case 60:
            return 3;
        case 80:
            return 4;
        case 100:
            return 5;
        default:
            return -1;
        }
    default:
        return -1; // exactly, at least: no entry stands for them
    }
}

int KvParaDialogValues::NumberingStyleEntry(int numberingStyle)
{
    switch (numberingStyle) {
    case A::Period:
        return 0;
    case A::Parenthesis:
        return 1;
    case A::Parentheses:
        return 2;
    case A::Plain:
        return 3;
    default:
        return -1;
    }
}

int KvParaDialogValues::NumberingStyleCode(int entry)
{
    static constexpr int codes[] = {A::Period, A::Parenthesis, A::Parentheses, A::Plain};
    return entry >= 0 && entry < 4 ? codes[entry] : int(A::Period);
}

KvParaDialogValues KvParaDialogValues::From(const KvParaAttributes& p)
{
    KvParaDialogValues v;
    v.firstIndent = CmText(p.startIndent);
    v.followingIndent = CmText(p.startIndent + p.offset);
    v.rightIndent = CmText(p.rightIndent);
    v.spaceBefore = CmText(p.spaceBefore);
    v.spaceAfter = CmText(p.spaceAfter);
    v.alignment = p.alignment >= A::Left && p.alignment <= A::Centre ? p.alignment : -1;
    v.lineSpacing = LineSpacingEntry(p.lineSpacingRule, p.lineSpacing);
    v.numbering = std::clamp(p.numbering, 0, 6);
    v.numberingStyle = HasNumberingStyle(v.numbering) ? NumberingStyleEntry(p.numberingStyle) : -1;
    return v;
}

std::optional<KvParaDialogValues::Applied>
KvParaDialogValues::Apply(const KvParaDialogValues& opened, const KvParaAttributes& paragraph,
                          int* invalidField) const
{
    Applied out;
    A& a = out.attributes;
    a = paragraph;
    // A length the user left as it was keeps the paragraph's twips, not the rounded text.
    const struct
    {
        const QString* now;
        const QString* before;
        int exact;
    } lengths[] = {
        {&firstIndent, &opened.firstIndent, paragraph.startIndent},
        {&followingIndent, &opened.followingIndent, paragraph.startIndent + paragraph.offset},
        {&rightIndent, &opened.rightIndent, paragraph.rightIndent},
        {&spaceBefore, &opened.spaceBefore, paragraph.spaceBefore},
        {&spaceAfter, &opened.spaceAfter, paragraph.spaceAfter},
    };
    int twips[5];
    bool changed[5];
    for (int i = 0; i < 5; ++i) {
        changed[i] = *lengths[i].now != *lengths[i].before;
        if (!changed[i]) {
            twips[i] = lengths[i].exact;
            continue;
        }
        const std::optional<int> t = ParseCm(*lengths[i].now);
        if (!t) {
            if (invalidField)
                *invalidField = i;
            return std::nullopt;
        }
        twips[i] = *t;
    }
    if (changed[0] || changed[1]) {
        a.startIndent = twips[0];
        a.offset = twips[1] - twips[0];
        out.mask |= A::StartIndentField | A::OffsetField;
    }
    if (changed[2]) {
        a.rightIndent = twips[2];
        out.mask |= A::RightIndentField;
    }
    if (changed[3]) {
        a.spaceBefore = twips[3];
        out.mask |= A::SpaceBeforeField;
    }
    if (changed[4]) {
        a.spaceAfter = twips[4];
        out.mask |= A::SpaceAfterField;
    }
    if (alignment != opened.alignment && alignment >= 0) {
        a.alignment = alignment;
        out.mask |= A::AlignmentField;
    }
    if (lineSpacing != opened.lineSpacing && lineSpacing >= 0) {
        a.lineSpacingRule = A::Lines;
        a.lineSpacing = lineSpacing == 0 ? 20 : lineSpacing == 1 ? 30 : 20 * lineSpacing;
        out.mask |= A::LineSpacingField;
    }
    if (numbering != opened.numbering ||
        (HasNumberingStyle(numbering) && numberingStyle != opened.numberingStyle)) {
        a.numbering = numbering;
        a.numberingStyle =
            HasNumberingStyle(numbering) ? NumberingStyleCode(numberingStyle) : int(A::Period);
        out.mask |= A::NumberingField;
    }
    return out;
}
