// A second, deliberately plain Blowfish that shares no code or tables with the program:
// its initial tables are computed here from pi (Machin's formula on a fixed-point number
// of 32-bit words), and its rounds work on the block as bytes. Files written by either
// side must be read by the other.
#include "model/blowfishvcl.h"
#include "support/testenv.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

// Fixed point: word 0 is the integer part, the rest the fraction, most significant first.
using Fixed = std::vector<uint32_t>;

void DivSmall(Fixed& x, uint32_t d)
{
    uint64_t rem = 0;
    for (uint32_t& w : x) {
        const uint64_t cur = (rem << 32) | w;
        w = uint32_t(cur / d);
        rem = cur % d;
    }
}

void AddTo(Fixed& acc, const Fixed& x, bool subtract)
{
    int64_t carry = 0;
    for (size_t i = x.size(); i-- > 0;) {
        int64_t v = int64_t(acc[i]) + (subtract ? -int64_t(x[i]) : int64_t(x[i])) + carry;
        carry = 0;
        while (v < 0) {
            v += int64_t(1) << 32;
            --carry;
        }
        if (v >> 32) {
            carry += v >> 32;
            v &= 0xFFFFFFFF;
        }
        acc[i] = uint32_t(v);
    }
}

void MulSmall(Fixed& x, uint32_t m)
{
    uint64_t carry = 0;
    for (size_t i = x.size(); i-- > 0;) {
        const uint64_t v = uint64_t(x[i]) * m + carry;
        x[i] = uint32_t(v);
        carry = v >> 32;
    }
}

bool IsZero(const Fixed& x)
{
    for (uint32_t w : x)
        if (w)
            return false;
    return true;
}

// arctan(1/n) = sum (-1)^k / ((2k+1) n^(2k+1))
Fixed ArcTanInverse(uint32_t n, size_t words)
{
    Fixed sum(words, 0);
    Fixed power(words, 0);
    power[0] = 1;
    DivSmall(power, n);
    for (uint32_t k = 0; !IsZero(power); ++k) {
        Fixed term = power;
        DivSmall(term, 2 * k + 1);
        AddTo(sum, term, k % 2 == 1);
        DivSmall(power, n * n);
    }
    return sum;
}

// The first `count` 32-bit words of the fraction of pi.
std::vector<uint32_t> PiFractionWords(size_t count)
{
    const size_t words = count + 4; // integer part and guard words
    Fixed a = ArcTanInverse(5, words);
    Fixed b = ArcTanInverse(239, words);
    MulSmall(a, 16);
    MulSmall(b, 4);
    AddTo(a, b, true);
    return std::vector<uint32_t>(a.begin() + 1, a.begin() + 1 + count);
}

class ReferenceBlowfish
{
public:
    explicit ReferenceBlowfish(const QByteArray& key)
    {
        static const std::vector<uint32_t> pi = PiFractionWords(18 + 1024);
        for (int i = 0; i < 18; ++i)
            p[i] = pi[i];
        for (int i = 0; i < 1024; ++i)
            s[i / 256][i % 256] = pi[18 + i];
        for (int i = 0; i < 18; ++i) {
            uint32_t w = 0;
            for (int b = 0; b < 4; ++b)
                w = w << 8 | uint8_t(key[(4 * i + b) % key.size()]);
            p[i] ^= w;
        }
        uint32_t half[2] = {0, 0};
        std::vector<uint32_t*> slots;
        for (auto& x : p)
            slots.push_back(&x);
        for (auto& box : s)
            for (auto& x : box)
                slots.push_back(&x);
        for (size_t i = 0; i < slots.size(); i += 2) {
            Crypt(half, false);
            *slots[i] = half[0];
            *slots[i + 1] = half[1];
        }
    }

    // One round-trip per block; the block bytes hold the words least significant first.
    void Process(uint8_t* block, bool decrypt) const
    {
        uint32_t half[2];
        for (int h = 0; h < 2; ++h)
            half[h] = uint32_t(block[4 * h]) | uint32_t(block[4 * h + 1]) << 8 |
                      uint32_t(block[4 * h + 2]) << 16 | uint32_t(block[4 * h + 3]) << 24;
        Crypt(half, decrypt);
        for (int h = 0; h < 2; ++h)
            for (int b = 0; b < 4; ++b)
                block[4 * h + b] = uint8_t(half[h] >> (8 * b));
    }

private:
    uint32_t Feistel(uint32_t x) const
    {
        const uint8_t a = uint8_t(x >> 24), b = uint8_t(x >> 16), c = uint8_t(x >> 8),
                      d = uint8_t(x);
        uint32_t y = s[0][a] + s[1][b];
        y ^= s[2][c];
        return y + s[3][d];
    }

    void Crypt(uint32_t half[2], bool decrypt) const
    {
        uint32_t l = half[0], r = half[1];
        for (int round = 0; round < 16; ++round) {
            l ^= p[decrypt ? 17 - round : round];
            r ^= Feistel(l);
            std::swap(l, r);
        }
        std::swap(l, r);
        r ^= p[decrypt ? 1 : 16];
        l ^= p[decrypt ? 0 : 17];
        half[0] = l;
        half[1] = r;
    }

    uint32_t p[18];
    uint32_t s[4][256];
};

void PutLe(QByteArray& out, uint32_t v)
{
    for (int b = 0; b < 4; ++b)
        out.append(char(v >> (8 * b)));
}

uint32_t GetLe(const QByteArray& in, qsizetype at)
{
    uint32_t v = 0;
    for (int b = 3; b >= 0; --b)
        v = v << 8 | uint8_t(in[at + b]);
    return v;
}

QByteArray ReferenceEncryptFile(const ReferenceBlowfish& bf, const QByteArray& plain, int chunk)
{
    QByteArray out;
    for (qsizetype pos = 0; pos < plain.size(); pos += chunk) {
        QByteArray data = plain.mid(pos, chunk);
        const uint32_t length = uint32_t(data.size());
        while (data.size() % 8)
            data.append('\0');
        for (qsizetype i = 0; i < data.size(); i += 8)
            bf.Process(reinterpret_cast<uint8_t*>(data.data() + i), false);
        PutLe(out, uint32_t(data.size()));
        PutLe(out, length);
        out.append(data);
    }
    return out;
}

QByteArray ReferenceDecryptFile(const ReferenceBlowfish& bf, const QByteArray& file)
{
    QByteArray out;
    qsizetype pos = 0;
    while (pos + 8 <= file.size()) {
        const uint32_t encoded = GetLe(file, pos);
        const uint32_t length = GetLe(file, pos + 4);
        QByteArray data = file.mid(pos + 8, encoded);
        for (qsizetype i = 0; i + 8 <= data.size(); i += 8)
            bf.Process(reinterpret_cast<uint8_t*>(data.data() + i), true);
        out.append(data.left(length));
        pos += 8 + encoded;
    }
    return out;
}

TEST(IndependentBlowfish, ReferenceItselfMeetsAPublishedVector)
{
    // Key FEDCBA9876543210, plain 0123456789ABCDEF, cipher 0ACEAB0FC6A0A28D (big-endian
    // words); here written with each word's bytes reversed.
    const ReferenceBlowfish bf(QByteArray::fromHex("FEDCBA9876543210"));
    QByteArray block = QByteArray::fromHex("67452301EFCDAB89");
    bf.Process(reinterpret_cast<uint8_t*>(block.data()), false);
    EXPECT_EQ(block.toHex().toStdString(), "0fabce0a8da2a0c6");
}

TEST(IndependentBlowfish, FilesCrossBetweenBothImplementations)
{
    korvtest::SandboxEnv env;
    std::mt19937 rng(4242u);
    const int keyLengths[] = {1, 5, 8, 12, 32, 56, 72, 80};
    const int sizes[] = {0, 1, 7, 8, 9, 4095, 4096, 4097, 8192, 10000};
    for (int keyLength : keyLengths) {
        QByteArray key(keyLength, Qt::Uninitialized);
        for (char& c : key)
            c = char(rng());
        const BlowFishVCL ours(key);
        const ReferenceBlowfish reference(key);
        for (int size : sizes) {
            SCOPED_TRACE(testing::Message() << "key " << keyLength << " size " << size);
            QByteArray plain(size, Qt::Uninitialized);
            for (char& c : plain)
                c = char(rng());
            const QString plainPath = env.Root() + u"plain.rtf"_qs;
            const QString encPath = env.Root() + u"Page0000001.kvp"_qs;
            const QString backPath = env.Root() + u"back.rtf"_qs;

            korvtest::WriteAll(plainPath, plain);
            ASSERT_TRUE(ours.EncryptFile(plainPath, encPath, 4096));
            const QByteArray fromOurs = korvtest::ReadAll(encPath);
            EXPECT_EQ(ReferenceDecryptFile(reference, fromOurs), plain);
            EXPECT_EQ(fromOurs, ReferenceEncryptFile(reference, plain, 4096));

            korvtest::WriteAll(encPath, ReferenceEncryptFile(reference, plain, 1000));
            ASSERT_TRUE(ours.DecryptFile(encPath, backPath));
            EXPECT_EQ(korvtest::ReadAll(backPath), plain);
        }
    }
}

TEST(IndependentBlowfish, CheckStringsCrossBetweenBothImplementations)
{
    const QByteArray key = "Qd482rnzwoTk";
    const ReferenceBlowfish reference(key);
    const BlowFishVCL ours(key);
    for (const QByteArray& text : {QByteArray("a"), QByteArray("secret"), QByteArray("exactly8"),
                                   QByteArray("longer than one block")}) {
        QByteArray data = text;
        while (data.size() % 8)
            data.append('\0');
        for (qsizetype i = 0; i < data.size(); i += 8)
            reference.Process(reinterpret_cast<uint8_t*>(data.data() + i), false);
        EXPECT_EQ(ours.EncryptString(text), QString::fromLatin1(data.toHex()));
    }
}

} // namespace
