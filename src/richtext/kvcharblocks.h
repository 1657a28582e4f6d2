#pragma once

#include <QFont>
#include <QList>

// The character map's table: the Unicode blocks it offers, by the number of their name in
// the text table, and the characters of a font within one.
namespace KvCharBlocks {

struct Block
{
    int text; // name in the text table
    char32_t first;
    char32_t last;
};

const QList<Block>& Blocks();
// The assigned, printable characters of the block that the font has a glyph for.
QList<char32_t> Characters(const QFont& font, const Block& block);

} // namespace KvCharBlocks
