#include "richtext/kvfontsizetext.h"

namespace KvFontSizeText {

std::optional<int> Parse(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 4)
        return std::nullopt;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    const int size = digits.toInt();
    if (size < Min || size > Max)
        return std::nullopt;
    return size;
}

} // namespace KvFontSizeText
