#include "model/cblowfish.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

namespace {

// The published vectors write each block as two big-endian words; the cipher reads its
// blocks as little-endian words, so every 32-bit word is reversed before comparing.
QByteArray SwapWords(const QByteArray& block)
{
    QByteArray out = block;
    for (qsizetype i = 0; i + 4 <= out.size(); i += 4)
        std::reverse(out.begin() + i, out.begin() + i + 4);
    return out;
}

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QByteArray Encrypt(const CBlowFish& bf, const QByteArray& block)
{
    QByteArray data = block;
    bf.EncryptBlocks(reinterpret_cast<uchar*>(data.data()), data.size());
    return data;
}

QByteArray Decrypt(const CBlowFish& bf, const QByteArray& block)
{
    QByteArray data = block;
    bf.DecryptBlocks(reinterpret_cast<uchar*>(data.data()), data.size());
    return data;
}

struct Vector
{
    const char* key;
    const char* plain;
    const char* cipher;
};

// The classic ECB test vectors of the algorithm's author.
const Vector kEcbVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
    {"0101010101010101", "0123456789ABCDEF", "FA34EC4847B268B2"},
    {"1F1F1F1F0E0E0E0E", "0123456789ABCDEF", "A790795108EA3CAE"},
    {"E0FEE0FEF1FEF1FE", "0123456789ABCDEF", "C39E072D9FAC631D"},
    {"0000000000000000", "FFFFFFFFFFFFFFFF", "014933E0CDAFF6E4"},
    {"FFFFFFFFFFFFFFFF", "0000000000000000", "F21E9A77B71C49BC"},
    {"0123456789ABCDEF", "0000000000000000", "245946885754369A"},
    {"FEDCBA9876543210", "FFFFFFFFFFFFFFFF", "6B5C5A9C5D9E0A5A"},
};

void PrintTo(const Vector& v, std::ostream* os)
{
    *os << v.key << " " << v.plain;
}

class BlowFishEcbVector : public ::testing::TestWithParam<Vector>
{
};

TEST_P(BlowFishEcbVector, EncryptsAndDecryptsInLittleEndianWordOrder)
{
    const Vector& v = GetParam();
    CBlowFish bf;
    bf.Initialize(Hex(v.key));
    ASSERT_TRUE(bf.HasKey());
    const QByteArray plain = SwapWords(Hex(v.plain));
    const QByteArray cipher = SwapWords(Hex(v.cipher));
    EXPECT_EQ(Encrypt(bf, plain).toHex(), cipher.toHex());
    EXPECT_EQ(Decrypt(bf, cipher).toHex(), plain.toHex());
}

INSTANTIATE_TEST_SUITE_P(Published, BlowFishEcbVector, ::testing::ValuesIn(kEcbVectors));

// Variable key length vectors: the prefixes of one key, plaintext FEDCBA9876543210.
const char* const kVariableKeyCiphers[] = {
    "F9AD597C49DB005E", "E91D21C1D961A6D6", "E9C2B70A1BC65CF3", "BE1E639408640F05",
    "B39E44481BDB1E6E", "9457AA83B1928C0D", "8BB77032F960629D", "E87A244E2CC85E82",
    "15750E7A4F4EC577", "122BA70B3AB64AE0", "3A833C9AFFC537F6", "9409DA87A90F6BF2",
    "884F80625060B8B4", "1F85031C19E11968", "79D9373A714CA34F", "93142887EE3BE15C",
    "03429E838CE2D14B", "A4299E27469FF67B", "AFD5AED1C1BC96A8", "10851C0E3858DA9F",
    "E6F51ED79B9DB21F", "64A6E14AFD36B46F", "80C7D7D45A5479AD", "05044B62FA52D080",
};

TEST(BlowFishKeySchedule, PublishedVariableKeyLengthVectors)
{
    const QByteArray fullKey = Hex("F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677");
    const QByteArray plain = SwapWords(Hex("FEDCBA9876543210"));
    for (int n = 1; n <= int(std::size(kVariableKeyCiphers)); ++n) {
        SCOPED_TRACE(n);
        CBlowFish bf;
        bf.Initialize(fullKey.left(n));
        EXPECT_EQ(Encrypt(bf, plain).toHex(), SwapWords(Hex(kVariableKeyCiphers[n - 1])).toHex());
    }
}

TEST(BlowFishKeySchedule, BytesBeyondTheSeventySecondDoNotMatter)
{
    QByteArray key72(72, 'k');
    for (int i = 0; i < 72; ++i)
        key72[i] = char(i * 7 + 1);
    CBlowFish a;
    a.Initialize(key72);
    CBlowFish b;
    b.Initialize(QByteArray(key72 + QByteArray("anything after")));
    CBlowFish c;
    QByteArray changed = key72;
    changed[71] = char(changed[71] ^ 1);
    c.Initialize(changed);
    const QByteArray block = Hex("0011223344556677");
    EXPECT_EQ(Encrypt(a, block), Encrypt(b, block));
    EXPECT_NE(Encrypt(a, block), Encrypt(c, block));
}

TEST(BlowFishKeySchedule, KeyIsUsedCyclically)
{
    // "ab" repeated is the same schedule as "ab" itself.
    CBlowFish a;
    a.Initialize(QByteArray("ab"));
    CBlowFish b;
    b.Initialize(QByteArray("abababab"));
    const QByteArray block = Hex("0123456789abcdef");
    EXPECT_EQ(Encrypt(a, block), Encrypt(b, block));
}

TEST(BlowFishKeySchedule, EmptyKeyLeavesNoKey)
{
    CBlowFish bf;
    EXPECT_FALSE(bf.HasKey());
    bf.Initialize(QByteArray());
    EXPECT_FALSE(bf.HasKey());
    bf.Initialize(QByteArray("k"));
    EXPECT_TRUE(bf.HasKey());
    bf.Initialize(QByteArray());
    EXPECT_FALSE(bf.HasKey());
}

TEST(BlowFishBlocks, EcbEncryptsEveryBlockOnItsOwn)
{
    CBlowFish bf;
    bf.Initialize(QByteArray("key"));
    const QByteArray block = Hex("0123456789abcdef");
    const QByteArray twice = Encrypt(bf, QByteArray(block + block));
    EXPECT_EQ(twice.left(8), Encrypt(bf, block));
    EXPECT_EQ(twice.mid(8), Encrypt(bf, block));
}

TEST(BlowFishBlocks, PaddedLength)
{
    const std::pair<qsizetype, qsizetype> cases[] = {{0, 0},  {1, 8},       {7, 8},      {8, 8},
                                                     {9, 16}, {4096, 4096}, {4097, 4104}};
    for (const auto& [in, out] : cases)
        EXPECT_EQ(CBlowFish::PaddedLength(in), out) << in;
}

} // namespace
