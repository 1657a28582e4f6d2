#include "richtext/textselection.h"

#include <QTextCursor>

std::optional<QTextCharFormat>
KvTextSelection::applyOn(QTextCursor& cursor, const KvCharAttributes& chars, unsigned charMask,
                         const KvParaAttributes& para, unsigned paraMask)
{
    std::optional<QTextCharFormat> typing;
    cursor.beginEditBlock();
    para.ApplyTo(cursor, paraMask);
    if (charMask) {
        chars.ApplyTo(cursor, charMask);
        if (!cursor.hasSelection())
            typing = cursor.charFormat();
    }
    cursor.endEditBlock();
    return typing;
}
