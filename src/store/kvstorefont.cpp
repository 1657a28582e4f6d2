#include "store/kvstorefont.h"

#include "store/texprofilefile.h"

#include <cmath>

namespace {

int numberOr0(const QString& text)
{
    int v = 0;
    return TexProfileFile::ParseInteger(text, v) ? v : 0;
}

} // namespace

namespace KvFontText {

QString Encode(const KvFontSpec& spec)
{
    const QFont& f = spec.font;
    QString styles;
    if (f.bold())
        styles += u'B';
    if (f.italic())
        styles += u'I';
    if (f.underline())
        styles += u'U';
    if (f.strikeOut())
        styles += u'S';
    const qreal points = f.pointSizeF();
    const int size = points > 0 ? int(std::lround(points)) : 0;
    return f.family() + u',' + QString::number(size) + u',' + styles + u',' +
           QString::number(spec.pitch) + u',' + KvColor::ColorToText(spec.color) + u',' +
           QString::number(spec.charset);
}

void Decode(const QString& text, KvFontSpec& spec)
{
    QFont& f = spec.font;
    f.setBold(false);
    f.setItalic(false);
    f.setUnderline(false);
    f.setStrikeOut(false);
    const QStringList fields = text.split(u',');
    for (qsizetype i = 0; i < fields.size() && i < 6; ++i) {
        const QString& field = fields[i];
        switch (i) {
        case 0:
            if (!field.isEmpty())
                f.setFamily(field);
            break;
        case 1:
            // QFont has no size 0; such a size leaves the font's own.
            if (const int size = numberOr0(field); size > 0)
                f.setPointSize(size);
            break;
        case 2:
            f.setBold(field.contains(u'B'));
            f.setItalic(field.contains(u'I'));
            f.setUnderline(field.contains(u'U'));
            f.setStrikeOut(field.contains(u'S'));
            break;
        case 3:
            spec.pitch = numberOr0(field);
            f.setFixedPitch(spec.pitch == 2);
            break;
        case 4: {
            bool ok = false;
            const int color = KvColor::TextToColor(field, &ok);
            if (ok)
                spec.color = color;
            break;
        }
        case 5:
            spec.charset = numberOr0(field);
            break;
        }
    }
}

} // namespace KvFontText
