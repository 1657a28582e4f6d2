#include "model/kvnamerule.h"

namespace KvNameRule {

bool ShownAsBlank(QChar c)
{
    switch (c.unicode()) {
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
    case 0x200B: // zero width space
    case 0x200C: // zero width non-joiner
    case 0x200D: // zero width joiner
    case 0x2060: // word joiner
    case 0xFEFF: // zero width no-break space (byte order mark)
        return true;
    default:
        // C0 and C1 controls: tab, line feed, carriage return, next line, ...
        return c.category() == QChar::Other_Control;
    }
}

QString Clean(const QString& typed)
{
    QString name = typed;
    for (QChar& c : name) {
        if (ShownAsBlank(c))
            c = u' ';
    }
    // Every kind of blank at the ends goes: no-break and ideographic spaces show as nothing
    // too.
    return name.trimmed();
}

} // namespace KvNameRule
