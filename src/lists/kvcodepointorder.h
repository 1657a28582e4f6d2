#pragma once

#include <QString>
#include <QStringView>

// Order of texts by Unicode code point, the order the stored data calls "byte-wise":
// QString's own operator< compares UTF-16 code units, which puts characters beyond the
// basic plane before U+E000..U+FFFF.
struct KvCodePointLess
{
    bool operator()(QStringView a, QStringView b) const
    {
        const qsizetype n = std::min(a.size(), b.size());
        for (qsizetype i = 0; i < n; ++i) {
            const char16_t x = a[i].unicode();
            const char16_t y = b[i].unicode();
            if (x != y)
                return Key(x) < Key(y);
        }
        return a.size() < b.size();
    }

private:
    // Surrogates (D800..DFFF) after every other unit, U+E000..U+FFFF moved down to make room.
    static char16_t Key(char16_t u)
    {
        if (u < 0xD800)
            return u;
        return u >= 0xE000 ? char16_t(u - 0x800) : char16_t(u + 0x2000);
    }
};
