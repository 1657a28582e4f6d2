#include "richtext/charattributes.h"

#include "richtext/rtfproperties.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <cmath>
#include <vector>

namespace {

// The colours that stand for "none of its own" in the two colour fields.
bool IsAutomaticText(int color)
{
    return color == KvColor::clWindowText || color == KvColor::clNone ||
           color == KvColor::clDefault;
}

bool IsNoBackground(int color)
{
    return color == KvColor::clWindow || color == KvColor::clNone || color == KvColor::clDefault;
}

int WholePoints(double points)
{
    return int(std::lround(points));
}

// The layout font's size in whole points (its pixel size at 96 dpi when it has no points).
int LayoutPoints(const QFont& font)
{
    if (font.pointSizeF() > 0)
        return WholePoints(font.pointSizeF());
    if (font.pixelSize() > 0)
        return WholePoints(font.pixelSize() * 0.75);
    return 10;
}

} // namespace

QString KvCharAttributes::Family(const QTextCharFormat& format)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return format.stringProperty(QTextFormat::FontFamily); // set by HTML import
}

double KvCharAttributes::PointSize(const QTextCharFormat& format)
{
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    if (format.hasProperty(QTextFormat::FontPixelSize) &&
        format.intProperty(QTextFormat::FontPixelSize) > 0)
        return format.intProperty(QTextFormat::FontPixelSize) * 0.75;
    return 0;
}

int KvCharAttributes::RtfPitch(int pitch)
{
    switch (pitch) {
    case 1:
        return 2; // variable
    case 2:
        return 1; // fixed
    default:
        return 0;
    }
}

int KvCharAttributes::StorePitch(int rtfPitch)
{
    switch (rtfPitch) {
    case 1:
        return 2; // fixed
    case 2:
        return 1; // variable
    default:
        return 0;
    }
}

KvCharAttributes KvCharAttributes::FromFontSpec(const KvFontSpec& font, int background)
{
    KvCharAttributes a;
    a.name = font.font.family();
    a.size = LayoutPoints(font.font);
    a.color = font.color;
    a.background = background;
    a.bold = font.font.bold();
    a.italic = font.font.italic();
    a.underline = font.font.underline();
    a.strikeOut = font.font.strikeOut();
    a.charset = font.charset;
    a.pitch = font.pitch;
    return a;
}

KvFontSpec KvCharAttributes::FontSpec() const
{
    KvFontSpec spec;
    spec.font.setFamily(name);
    spec.font.setPointSize(std::max(1, size));
    spec.font.setBold(bold);
    spec.font.setItalic(italic);
    spec.font.setUnderline(underline);
    spec.font.setStrikeOut(strikeOut);
    spec.font.setFixedPitch(pitch == 2);
    spec.color = color;
    spec.charset = charset;
    spec.pitch = pitch;
    return spec;
}

KvCharAttributes KvCharAttributes::Read(const QTextCharFormat& f, const KvFontSpec& layoutFont)
{
    KvCharAttributes a = FromFontSpec(layoutFont, KvColor::clWindow);
    if (const QString family = Family(f); !family.isEmpty()) {
        // A font of its own: its charset and pitch are the ones written with it.
        a.name = family;
        a.charset =
            f.hasProperty(KvRtfProp::FontCharset) ? f.intProperty(KvRtfProp::FontCharset) : 0;
        a.pitch = f.hasProperty(KvRtfProp::FontPitch)
                      ? StorePitch(f.intProperty(KvRtfProp::FontPitch))
                  : f.fontFixedPitch() ? 2
                                       : 0;
    }
    if (const double points = PointSize(f); points > 0)
        a.size = WholePoints(points);
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        a.color = KvColor::FromQColor(f.foreground().color());
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush &&
        f.background().color().alpha() > 0)
        a.background = KvColor::FromQColor(f.background().color());
    if (f.hasProperty(QTextFormat::FontWeight))
        a.bold = f.fontWeight() >= QFont::DemiBold;
    if (f.hasProperty(QTextFormat::FontItalic))
        a.italic = f.fontItalic();
    if (f.hasProperty(QTextFormat::TextUnderlineStyle) || f.hasProperty(QTextFormat::FontUnderline))
        a.underline = f.underlineStyle() != QTextCharFormat::NoUnderline || f.fontUnderline();
    if (f.hasProperty(QTextFormat::FontStrikeOut))
        a.strikeOut = f.fontStrikeOut();
    return a;
}

void KvCharAttributes::ApplyToFormat(QTextCharFormat& f, unsigned mask) const
{
    if (mask & Name) {
        f.clearProperty(QTextFormat::FontFamily);
        f.setFontFamilies(QStringList{name});
        // Charset and pitch belong to the font: a new name without them drops the old ones.
        if (!(mask & Charset))
            f.clearProperty(KvRtfProp::FontCharset);
        if (!(mask & Pitch)) {
            f.clearProperty(KvRtfProp::FontPitch);
            f.clearProperty(QTextFormat::FontFixedPitch);
        }
    }
    if (mask & Charset)
        f.setProperty(KvRtfProp::FontCharset, charset);
    if (mask & Pitch) {
        if (pitch == 1 || pitch == 2)
            f.setProperty(KvRtfProp::FontPitch, RtfPitch(pitch));
        else
            f.clearProperty(KvRtfProp::FontPitch);
        if (pitch == 2)
            f.setFontFixedPitch(true);
        else
            f.clearProperty(QTextFormat::FontFixedPitch);
    }
    if (mask & Size) {
        f.clearProperty(QTextFormat::FontPixelSize);
        f.setFontPointSize(std::max(1, size));
    }
    if (mask & Color) {
        if (IsAutomaticText(color))
            f.clearForeground();
        else
            f.setForeground(KvColor::ToQColor(color));
    }
    if (mask & Background) {
        if (IsNoBackground(background))
            f.clearBackground();
        else
            f.setBackground(KvColor::ToQColor(background));
    }
    if (mask & Bold)
        f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    if (mask & Italic)
        f.setFontItalic(italic);
    if (mask & Underline) {
        f.clearProperty(KvRtfProp::UnderlineKind);
        f.clearProperty(QTextFormat::FontUnderline);
        f.setUnderlineStyle(underline ? QTextCharFormat::SingleUnderline
                                      : QTextCharFormat::NoUnderline);
    }
    if (mask & StrikeOut)
        f.setFontStrikeOut(strikeOut);
}

void KvCharAttributes::ApplyTo(QTextCursor& selection, unsigned mask) const
{
    if (!selection.hasSelection()) {
        QTextCharFormat f = selection.charFormat();
        ApplyToFormat(f, mask);
        selection.setCharFormat(f);
        return;
    }
    QTextDocument* doc = selection.document();
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    // Ranges first, then the changes: changing formats splits and merges the fragments.
    struct Range
    {
        int from;
        int to;
        QTextCharFormat format;
    };
    std::vector<Range> ranges;
    std::vector<std::pair<int, QTextCharFormat>> emptyBlocks;
    for (QTextBlock b = doc->findBlock(start); b.isValid() && b.position() <= end; b = b.next()) {
        if (b.length() <= 1) {
            // An empty paragraph keeps its format in the paragraph mark.
            QTextCharFormat f = b.charFormat();
            ApplyToFormat(f, mask);
            if (f != b.charFormat())
                emptyBlocks.emplace_back(b.position(), f);
            continue;
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const int from = std::max(frag.position(), start);
            const int to = std::min(frag.position() + frag.length(), end);
            if (from >= to)
                continue;
            QTextCharFormat f = frag.charFormat();
            ApplyToFormat(f, mask);
            if (f == frag.charFormat())
                continue;
            // Neighbours that end up alike change together, across paragraph marks too.
            if (!ranges.empty() && ranges.back().format == f && ranges.back().to + 1 >= from)
                ranges.back().to = to;
            else
                ranges.push_back({from, to, f});
        }
    }
    QTextCursor c(doc);
    c.beginEditBlock();
    for (const Range& r : ranges) {
        c.setPosition(r.from);
        c.setPosition(r.to, QTextCursor::KeepAnchor);
        c.setCharFormat(r.format);
    }
    for (const auto& [position, format] : emptyBlocks) {
        c.setPosition(position);
        c.setBlockCharFormat(format);
    }
    c.endEditBlock();
}

unsigned KvCharAttributes::DifferingFields(const KvCharAttributes& o) const
{
    return (name != o.name ? Name : 0u) | (size != o.size ? Size : 0u) |
           (color != o.color ? Color : 0u) | (bold != o.bold ? Bold : 0u) |
           (italic != o.italic ? Italic : 0u) | (underline != o.underline ? Underline : 0u) |
           (strikeOut != o.strikeOut ? StrikeOut : 0u) | (charset != o.charset ? Charset : 0u) |
           (pitch != o.pitch ? Pitch : 0u) | (background != o.background ? Background : 0u);
}
