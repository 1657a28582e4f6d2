#include "richtext/kvcharblocks.h"

#include <QRawFont>

namespace KvCharBlocks {

const QList<Block>& Blocks()
{
    static const QList<Block> blocks = {
        {5979, 0x0020, 0x007F}, {5980, 0x00A0, 0x00FF}, {5981, 0x0100, 0x017F},
        {5982, 0x0180, 0x024F}, {5983, 0x0370, 0x03FF}, {5984, 0x0400, 0x04FF},
        {5985, 0x0590, 0x05FF}, {5986, 0x0600, 0x06FF}, {5987, 0x2000, 0x206F},
        {5988, 0x2070, 0x209F}, {5989, 0x20A0, 0x20CF}, {5990, 0x2100, 0x214F},
        {5991, 0x2150, 0x218F}, {5992, 0x2190, 0x21FF}, {5993, 0x2200, 0x22FF},
        {5994, 0x2300, 0x23FF}, {5995, 0x2500, 0x259F}, {5996, 0x25A0, 0x25FF},
        {5997, 0x2600, 0x26FF}, {5998, 0x2700, 0x27BF}, {5999, 0xE000, 0xF8FF},
    };
    return blocks;
}

QList<char32_t> Characters(const QFont& font, const Block& block)
{
    const QRawFont raw = QRawFont::fromFont(font);
    QList<char32_t> chars;
    for (char32_t c = block.first; c <= block.last; ++c) {
        const QChar::Category cat = QChar::category(c);
        if (cat == QChar::Other_NotAssigned || cat == QChar::Other_Control ||
            cat == QChar::Other_Format || cat == QChar::Separator_Line ||
            cat == QChar::Separator_Paragraph)
            continue;
        if (raw.isValid() && raw.supportsCharacter(c))
            chars.append(c);
    }
    return chars;
}

} // namespace KvCharBlocks
