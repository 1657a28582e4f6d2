#include "model/kvpasswordbytes.h"

#include <QStringDecoder>
#include <algorithm>

namespace {

// Windows-1252 bytes 0x80-0x9F. The five bytes without a character stand for the C1
// control of the same value, as Windows converts them.
constexpr char16_t kHighCodes[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// -1 when the character has no Windows-1252 byte.
int Cp1252Byte(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    const auto* hit = std::find(std::begin(kHighCodes), std::end(kHighCodes), c);
    return hit == std::end(kHighCodes) ? -1 : int(0x80 + (hit - std::begin(kHighCodes)));
}

} // namespace

namespace KvPasswordBytes {

QByteArray Encode(const QString& password)
{
    QByteArray out;
    out.reserve(password.size());
    for (const QChar c : password) {
        const int b = Cp1252Byte(c.unicode());
        if (b < 0)
            return password.toUtf8();
        out.append(char(b));
    }
    return out;
}

QString Decode(const QByteArray& bytes)
{
    const bool multiByte =
        std::any_of(bytes.begin(), bytes.end(), [](char b) { return uchar(b) >= 0x80; });
    if (multiByte) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8(bytes);
        if (!utf8.hasError())
            return text;
    }
    QString out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        const uchar u = uchar(b);
        out.append(u >= 0x80 && u < 0xA0 ? QChar(kHighCodes[u - 0x80]) : QChar(u));
    }
    return out;
}

} // namespace KvPasswordBytes
