#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <string_view>

// Splits RTF bytes into groups, control words, control symbols, \'xx bytes and text runs.
// Works on a view of the caller's bytes; never recurses and never allocates.
class KvRtfTokenizer
{
public:
    enum class Type
    {
        End,
        GroupStart,
        GroupEnd,
        Word,
        Symbol,
        Hex,
        Text
    };

    struct Token
    {
        Type type = Type::End;
        std::string_view text; // word name (Word) or the run of bytes (Text)
        int param = 0;         // Word: numeric parameter, clamped to the int range
        bool hasParam = false; // Word: a parameter was given
        char symbol = 0;       // Symbol: the character after the backslash
        unsigned char hex = 0; // Hex: the byte value
    };

    explicit KvRtfTokenizer(QByteArrayView data)
        : m_begin(data.data()), m_pos(data.data()), m_end(data.data() + data.size())
    {}

    Token Next();
    // The next n bytes (fewer at the end of input) as binary data after \binN.
    QByteArrayView TakeBinary(qint64 n);
    // Skips to the end of the current group: leaves the matching "}" as the next token.
    // Honours escapes and \binN on the way.
    void SkipGroup();

    qsizetype Offset() const { return m_pos - m_begin; }
    QByteArrayView Slice(qsizetype from, qsizetype to) const
    {
        return QByteArrayView(m_begin + from, to - from);
    }

private:
    const char* m_begin;
    const char* m_pos;
    const char* m_end;
};
