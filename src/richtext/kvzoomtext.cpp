#include "richtext/kvzoomtext.h"

namespace KvZoomText {

std::optional<int> Parse(const QString& text)
{
    QString digits = text.trimmed();
    if (digits.endsWith(u'%'))
        digits.chop(1);
    digits = digits.trimmed();
    if (digits.isEmpty())
        return std::nullopt;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const int percent = digits.toInt(&ok);
    if (!ok || percent < Min || percent > Max)
        return std::nullopt;
    return percent;
}

QString Caption(int percent)
{
    return QString::number(percent) + u'%';
}

} // namespace KvZoomText
