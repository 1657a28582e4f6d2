#include "richtext/paraattributes.h"

#include "richtext/rtfproperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

int Twips(double pixels)
{
    return int(std::lround(pixels * KvRtfTwipsPerPixel));
}

double Pixels(int twips)
{
    return twips / KvRtfTwipsPerPixel;
}

QTextListFormat::Style StyleOf(int numbering)
{
    switch (numbering) {
    case KvParaAttributes::Bullet:
        return QTextListFormat::ListDisc;
    case KvParaAttributes::Arabic:
        return QTextListFormat::ListDecimal;
    case KvParaAttributes::LowerLetter:
        return QTextListFormat::ListLowerAlpha;
    case KvParaAttributes::UpperLetter:
        return QTextListFormat::ListUpperAlpha;
    case KvParaAttributes::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    case KvParaAttributes::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListStyleUndefined;
    }
}

int NumberingOf(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return KvParaAttributes::Bullet;
    case QTextListFormat::ListDecimal:
        return KvParaAttributes::Arabic;
    case QTextListFormat::ListLowerAlpha:
        return KvParaAttributes::LowerLetter;
    case QTextListFormat::ListUpperAlpha:
        return KvParaAttributes::UpperLetter;
    case QTextListFormat::ListLowerRoman:
        return KvParaAttributes::LowerRoman;
    case QTextListFormat::ListUpperRoman:
        return KvParaAttributes::UpperRoman;
    default:
        return KvParaAttributes::NoNumbering;
    }
}

void SetLineSpacing(QTextBlockFormat& bf, int rule, int value)
{
    int sl = 0;
    bool mult = false;
    switch (rule) {
    case KvParaAttributes::OneAndHalf:
        sl = 360;
        mult = true;
        break;
    case KvParaAttributes::Double:
        sl = 480;
        mult = true;
        break;
    case KvParaAttributes::Lines:
        sl = value * 12; // value/20 lines of 240 twips
        mult = true;
        break;
    case KvParaAttributes::AtLeast:
        sl = std::abs(value);
        break;
    case KvParaAttributes::Exactly:
        sl = -std::abs(value);
        break;
    default:
        break;
    }
    if (sl == 0 || (mult && sl == 240)) {
        bf.clearProperty(KvRtfProp::LineSpacingTwips);
        bf.clearProperty(KvRtfProp::LineSpacingMult);
        bf.setLineHeight(0, QTextBlockFormat::SingleHeight);
        return;
    }
    bf.setProperty(KvRtfProp::LineSpacingTwips, sl);
    bf.setProperty(KvRtfProp::LineSpacingMult, mult);
    if (mult)
        bf.setLineHeight(sl * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (sl < 0)
        bf.setLineHeight(Pixels(-sl), QTextBlockFormat::FixedHeight);
    else
        bf.setLineHeight(Pixels(sl), QTextBlockFormat::MinimumHeight);
}

void ReadLineSpacing(const QTextBlockFormat& bf, KvParaAttributes& a)
{
    int sl = 0;
    bool mult = false;
    if (bf.hasProperty(KvRtfProp::LineSpacingTwips)) {
        sl = bf.intProperty(KvRtfProp::LineSpacingTwips);
        mult = bf.boolProperty(KvRtfProp::LineSpacingMult);
    } else if (bf.lineHeightType() == QTextBlockFormat::ProportionalHeight) {
        sl = int(std::lround(bf.lineHeight() * 240 / 100));
        mult = true;
    } else if (bf.lineHeightType() == QTextBlockFormat::FixedHeight) {
        sl = -Twips(bf.lineHeight());
    } else if (bf.lineHeightType() == QTextBlockFormat::MinimumHeight) {
        sl = Twips(bf.lineHeight());
    }
    if (sl == 0 || (mult && sl == 240)) {
        a.lineSpacingRule = KvParaAttributes::Single;
        a.lineSpacing = 0;
    } else if (mult) {
        a.lineSpacingRule = KvParaAttributes::Lines;
        a.lineSpacing = int(std::lround(sl / 12.0));
    } else if (sl < 0) {
        a.lineSpacingRule = KvParaAttributes::Exactly;
        a.lineSpacing = -sl;
    } else {
        a.lineSpacingRule = KvParaAttributes::AtLeast;
        a.lineSpacing = sl;
    }
}

} // namespace

KvParaAttributes KvParaAttributes::Read(const QTextBlock& block)
{
    KvParaAttributes a;
    if (!block.isValid())
        return a;
    const QTextBlockFormat bf = block.blockFormat();
    const double indentWidth = block.document() ? block.document()->indentWidth() : 40.0;
    const int left = Twips(bf.leftMargin() + bf.indent() * indentWidth);
    const int first = Twips(bf.textIndent());
    a.startIndent = left + first;
    a.offset = -first;
    a.rightIndent = Twips(bf.rightMargin());
    a.spaceBefore = Twips(bf.topMargin());
    a.spaceAfter = Twips(bf.bottomMargin());
    const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
    a.alignment = (align & Qt::AlignJustify)                                  ? Justify
                  : (align & Qt::AlignHCenter)                                ? Centre
                  : ((align & Qt::AlignRight) || (align & Qt::AlignTrailing)) ? Right
                                                                              : Left;
    ReadLineSpacing(bf, a);
    if (QTextList* list = block.textList()) {
        const QTextListFormat lf = list->format();
        a.numbering = NumberingOf(lf.style());
        if (a.numbering == Bullet)
            return a; // bullets have no number decoration
        const QString prefix = lf.numberPrefix();
        const QString suffix =
            lf.hasProperty(QTextFormat::ListNumberSuffix) ? lf.numberSuffix() : u"."_qs;
        a.numberingStyle = !prefix.isEmpty()   ? Parentheses
                           : suffix == u")"_qs ? Parenthesis
                           : suffix.isEmpty()  ? Plain
                                               : Period;
    }
    return a;
}

void KvParaAttributes::ApplyTo(const QTextCursor& selection, unsigned mask) const
{
    QTextDocument* doc = selection.document();
    if (!doc || !(mask & AllFields))
        return;
    QTextCursor c(doc);
    c.beginEditBlock();
    const QTextBlock last = doc->findBlock(selection.selectionEnd());
    for (QTextBlock b = doc->findBlock(selection.selectionStart()); b.isValid(); b = b.next()) {
        QTextBlockFormat bf = b.blockFormat();
        if (mask & AlignmentField) {
            static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignRight,
                                                       Qt::AlignHCenter, Qt::AlignJustify};
            bf.setAlignment(aligns[std::clamp(alignment, 0, 3)]);
        }
        if (mask & (StartIndentField | OffsetField)) {
            const KvParaAttributes now = Read(b);
            const int start = (mask & StartIndentField) ? startIndent : now.startIndent;
            const int off = (mask & OffsetField) ? offset : now.offset;
            bf.setIndent(0);
            bf.setLeftMargin(Pixels(start + off));
            bf.setTextIndent(Pixels(-off));
        }
        if (mask & RightIndentField)
            bf.setRightMargin(Pixels(rightIndent));
        if (mask & SpaceBeforeField)
            bf.setTopMargin(Pixels(spaceBefore));
        if (mask & SpaceAfterField)
            bf.setBottomMargin(Pixels(spaceAfter));
        if (mask & LineSpacingField)
            SetLineSpacing(bf, lineSpacingRule, lineSpacing);
        if (bf != b.blockFormat()) {
            c.setPosition(b.position());
            c.setBlockFormat(bf);
        }
        if (b == last)
            break;
    }
    if (mask & NumberingField) {
        QString prefix;
        QString suffix;
        if (numbering > Bullet) {
            switch (numberingStyle) {
            case Parenthesis:
                suffix = u")"_qs;
                break;
            case Parentheses:
                prefix = u"("_qs;
                suffix = u")"_qs;
                break;
            case Plain:
                break;
            default:
                suffix = u"."_qs;
            }
        }
        KvParaFormat::SetNumbering(selection, StyleOf(numbering), prefix, suffix);
    }
    c.endEditBlock();
}

namespace {

bool IsBulletStyle(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

// Takes the block out of its list; Qt adds the list's indent to a removed block, the text
// keeps its own instead.
void LeaveList(QTextCursor& c, const QTextBlock& b)
{
    QTextList* list = b.textList();
    if (!list)
        return;
    const int indent = b.blockFormat().indent();
    list->remove(b);
    QTextBlockFormat bf = b.blockFormat();
    bf.setIndent(indent);
    c.setPosition(b.position());
    c.setBlockFormat(bf);
}

} // namespace

void KvParaFormat::SetNumbering(const QTextCursor& selection, QTextListFormat::Style style,
                                const QString& prefix, const QString& suffix)
{
    QTextDocument* doc = selection.document();
    if (!doc)
        return;
    const QTextBlock first = doc->findBlock(selection.selectionStart());
    const QTextBlock last = doc->findBlock(selection.selectionEnd());
    std::vector<QTextBlock> blocks;
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        blocks.push_back(b);
        if (b == last)
            break;
    }
    QTextCursor c(doc);
    c.beginEditBlock();
    if (style == QTextListFormat::ListStyleUndefined) {
        for (const QTextBlock& b : blocks)
            LeaveList(c, b);
        c.endEditBlock();
        return;
    }
    QTextList* firstList = first.textList();
    QTextListFormat lf;
    if (firstList)
        lf = firstList->format();
    else
        lf.setIndent(1);
    lf.setStyle(style);
    lf.setNumberPrefix(prefix);
    lf.setNumberSuffix(IsBulletStyle(style) ? QString() : suffix);
    const bool allInFirst = firstList && std::all_of(blocks.begin(), blocks.end(), [&](auto& b) {
                                return b.textList() == firstList;
                            });
    if (allInFirst && firstList->format() == lf) {
        c.endEditBlock();
        return; // already so
    }
    if (allInFirst && firstList->count() == int(blocks.size())) {
        firstList->setFormat(lf); // the whole list
        c.endEditBlock();
        return;
    }
    // The selected paragraphs become a list of their own; the rest of their lists stays.
    for (const QTextBlock& b : blocks)
        LeaveList(c, b);
    c.setPosition(first.position());
    QTextList* target = c.createList(lf);
    for (size_t i = 1; i < blocks.size(); ++i)
        target->add(blocks[i]);
    c.endEditBlock();
}
