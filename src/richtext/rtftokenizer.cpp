#include "richtext/rtftokenizer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

// Bytes that end a text run: backslash, braces and control characters (CR/LF are noise).
constexpr std::array<bool, 256> MakeStopTable()
{
    std::array<bool, 256> t{};
    for (int i = 0; i < 0x20; ++i)
        t[i] = true;
    t['\\'] = t['{'] = t['}'] = true;
    return t;
}
constexpr std::array<bool, 256> kStop = MakeStopTable();

// The word-at-a-time scans read the lowest byte or code unit first.
static_assert(std::endian::native == std::endian::little);

constexpr uint64_t kOnes = 0x0101010101010101ULL;
constexpr uint64_t kHighs = 0x8080808080808080ULL;

inline uint64_t HasZeroByte(uint64_t v)
{
    return (v - kOnes) & ~v & kHighs;
}

// The high bit of each of the eight bytes that is a backslash, a brace or below 0x20. Only
// the lowest mark is sure (a borrow may mark a byte after it), which is all the scan needs.
inline uint64_t StopBytes(uint64_t w)
{
    return HasZeroByte(w ^ (kOnes * '\\')) | HasZeroByte(w ^ (kOnes * '{')) |
           HasZeroByte(w ^ (kOnes * '}')) | ((w - kOnes * 0x20) & ~w & kHighs);
}

inline bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
inline int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

constexpr qsizetype kMaxWordLength = 32;

} // namespace

KvRtfTokenizer::Token KvRtfTokenizer::Next()
{
    // A local cursor: stores through m_pos inside the loops would be repeated for every
    // byte, as a char may alias the member.
    const char* p = m_pos;
    const char* const end = m_end;
    Token t;
    for (;;) {
        if (p >= end) {
            m_pos = p;
            return t;
        }
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '{') {
            m_pos = p + 1;
            t.type = Type::GroupStart;
            return t;
        }
        if (c == '}') {
            m_pos = p + 1;
            t.type = Type::GroupEnd;
            return t;
        }
        if (c == '\\')
            break;
        if (c == '\t') { // some writers put tabs literally
            m_pos = p + 1;
            t.type = Type::Symbol;
            t.symbol = '\t';
            return t;
        }
        if (c < 0x20) { // CR, LF and other control bytes carry nothing
            ++p;
            continue;
        }
        const char* start = p;
        // Eight bytes at a time (little-endian: the lowest mark is the first stop byte).
        bool stopped = false;
        while (end - p >= 8) {
            uint64_t w;
            std::memcpy(&w, p, 8);
            if (const uint64_t stops = StopBytes(w)) {
                p += std::countr_zero(stops) / 8;
                stopped = true;
                break;
            }
            p += 8;
        }
        if (!stopped) {
            while (p < end && !kStop[static_cast<unsigned char>(*p)])
                ++p;
        }
        m_pos = p;
        t.type = Type::Text;
        t.text = std::string_view(start, p - start);
        return t;
    }

    ++p; // backslash
    if (p >= end) {
        m_pos = p;
        return t;
    }
    const char c = *p;
    if (IsLetter(c)) {
        const char* start = p;
        while (p < end && IsLetter(*p))
            ++p;
        t.type = Type::Word;
        t.text = std::string_view(start, std::min<qsizetype>(p - start, kMaxWordLength));
        bool negative = false;
        if (p + 1 < end && *p == '-' && IsDigit(p[1])) {
            negative = true;
            ++p;
        }
        if (p < end && IsDigit(*p)) {
            qint64 value = 0;
            while (p < end && IsDigit(*p)) {
                if (value < 10'000'000'000LL)
                    value = value * 10 + (*p - '0');
                ++p;
            }
            if (negative)
                value = -value;
            t.param = static_cast<int>(std::clamp<qint64>(value, INT_MIN, INT_MAX));
            t.hasParam = true;
        }
        if (p < end && *p == ' ')
            ++p;
        m_pos = p;
        return t;
    }
    ++p;
    if (c == '\'') {
        int value = 0;
        for (int i = 0; i < 2 && p < end; ++i) {
            const int h = HexValue(*p);
            if (h < 0)
                break;
            value = value * 16 + h;
            ++p;
        }
        m_pos = p;
        t.type = Type::Hex;
        t.hex = static_cast<unsigned char>(value);
        return t;
    }
    m_pos = p;
    t.type = Type::Symbol;
    t.symbol = (c == '\r') ? '\n' : c;
    return t;
}

QByteArrayView KvRtfTokenizer::TakeBinary(qint64 n)
{
    const qint64 count = std::clamp<qint64>(n, 0, m_end - m_pos);
    QByteArrayView v(m_pos, count);
    m_pos += count;
    return v;
}

void KvRtfTokenizer::SkipGroup()
{
    qint64 depth = 1;
    while (m_pos < m_end) {
        const char c = *m_pos;
        if (c == '{') {
            ++depth;
            ++m_pos;
        } else if (c == '}') {
            if (--depth == 0)
                return; // the caller reads the "}"
            ++m_pos;
        } else if (c == '\\') {
            ++m_pos;
            if (m_pos >= m_end)
                return;
            if (*m_pos == 'b' && m_end - m_pos > 3 && m_pos[1] == 'i' && m_pos[2] == 'n' &&
                (IsDigit(m_pos[3]) || m_pos[3] == '-')) {
                --m_pos;
                const Token t = Next();
                if (t.type == Type::Word && t.text == "bin" && t.hasParam)
                    TakeBinary(t.param);
            } else {
                ++m_pos; // the escaped character, or the first letter of a word
            }
        } else {
            ++m_pos;
        }
    }
}
