#include "model/blowfishvcl.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

quint32 Le32(const QByteArray& bytes, qsizetype at)
{
    const auto* u = reinterpret_cast<const uchar*>(bytes.constData() + at);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

// (encoded, plain) lengths of every record, read straight from the bytes.
std::vector<std::pair<quint32, quint32>> Records(const QByteArray& file)
{
    std::vector<std::pair<quint32, quint32>> out;
    qsizetype pos = 0;
    while (pos + 8 <= file.size()) {
        const quint32 e = Le32(file, pos);
        out.emplace_back(e, Le32(file, pos + 4));
        pos += 8 + e;
    }
    EXPECT_EQ(pos, file.size());
    return out;
}

QByteArray Pattern(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + 7) % 251);
    return bytes;
}

mode_t Mode(const QString& path)
{
    struct stat st
    {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 0777;
}

struct SizeCase
{
    qsizetype plain;
    std::vector<std::pair<quint32, quint32>> records;
    qsizetype fileSize;
};

void PrintTo(const SizeCase& c, std::ostream* os)
{
    *os << c.plain << " bytes";
}

class RecordSizes : public ::testing::TestWithParam<SizeCase>
{
protected:
    korvtest::SandboxEnv env;
    BlowFishVCL cipher{QByteArray("page password")};
};

TEST_P(RecordSizes, FileAndMemoryFormsAgreeAndRoundTrip)
{
    const SizeCase& c = GetParam();
    const QByteArray plain = Pattern(c.plain);
    const QString plainPath = env.Root() + u"plain.rtf"_qs;
    const QString encPath = env.Root() + u"Page0000001.kvp"_qs;
    const QString backPath = env.Root() + u"back.rtf"_qs;
    korvtest::WriteAll(plainPath, plain);

    ASSERT_TRUE(cipher.EncryptFile(plainPath, encPath, 4096));
    const QByteArray encrypted = korvtest::ReadAll(encPath);
    EXPECT_EQ(encrypted.size(), c.fileSize);
    EXPECT_EQ(Records(encrypted), c.records);
    EXPECT_EQ(cipher.EncryptData(plain, 4096), encrypted);

    ASSERT_TRUE(cipher.DecryptFile(encPath, backPath));
    EXPECT_EQ(korvtest::ReadAll(backPath), plain);
    EXPECT_EQ(cipher.DecryptData(encrypted), plain);
    QByteArray inMemory;
    ASSERT_TRUE(cipher.DecryptFileToMemory(encPath, inMemory));
    EXPECT_EQ(inMemory, plain);
}

INSTANTIATE_TEST_SUITE_P(Table, RecordSizes,
                         ::testing::Values(SizeCase{0, {}, 0}, SizeCase{1, {{8, 1}}, 16},
                                           SizeCase{7, {{8, 7}}, 16}, SizeCase{8, {{8, 8}}, 16},
                                           SizeCase{4096, {{4096, 4096}}, 4104},
                                           SizeCase{4097, {{4096, 4096}, {8, 1}}, 4120},
                                           SizeCase{8192, {{4096, 4096}, {4096, 4096}}, 8208}));

TEST(RecordFormat, PaddingIsZeroBytesEncryptedWithTheData)
{
    BlowFishVCL cipher(QByteArray("k"));
    const QByteArray encrypted = cipher.EncryptData(QByteArray("abc"));
    ASSERT_EQ(encrypted.size(), 16);
    QByteArray block = encrypted.mid(8);
    cipher.DecryptBlocks(reinterpret_cast<uchar*>(block.data()), block.size());
    EXPECT_EQ(block, QByteArray("abc\0\0\0\0\0", 8));
}

TEST(RecordFormat, BlockSizeIsRoundedUpAndKeptWithinTheRecordLimit)
{
    BlowFishVCL cipher(QByteArray("k"));
    const QByteArray plain = Pattern(20);
    const auto small = Records(cipher.EncryptData(plain, 5));
    const std::vector<std::pair<quint32, quint32>> expected = {{8, 8}, {8, 8}, {8, 4}};
    EXPECT_EQ(small, expected);

    const QByteArray big = Pattern(BlowFishVCL::MaxRecordLength + 3);
    const QByteArray encrypted = cipher.EncryptData(big, 4 * BlowFishVCL::MaxRecordLength);
    const std::vector<std::pair<quint32, quint32>> limited = {{1048576, 1048576}, {8, 3}};
    EXPECT_EQ(Records(encrypted), limited);
    EXPECT_EQ(cipher.DecryptData(encrypted), big);
}

TEST(RecordFormat, UnusableBlockSizeFailsTheFileOperation)
{
    korvtest::SandboxEnv env;
    BlowFishVCL cipher(QByteArray("k"));
    const QString plainPath = env.Root() + u"plain"_qs;
    korvtest::WriteAll(plainPath, "text");
    EXPECT_FALSE(cipher.EncryptFile(plainPath, env.Root() + u"out"_qs, 0));
    EXPECT_FALSE(QFile::exists(env.Root() + u"out"_qs));
}

TEST(RecordFormat, WrongKeyGivesOtherBytesWithoutAnError)
{
    // The format carries no check of its own: only the check value tells a wrong password.
    const QByteArray plain = Pattern(100);
    const QByteArray encrypted = BlowFishVCL(QByteArray("right")).EncryptData(plain);
    const QByteArray wrong = BlowFishVCL(QByteArray("wrong")).DecryptData(encrypted);
    EXPECT_EQ(wrong.size(), plain.size());
    EXPECT_NE(wrong, plain);
}

TEST(CipherKey, EmptyKeyRaisesKeyMissingWithEmptyMessage)
{
    try {
        BlowFishVCL cipher{QByteArray()};
        FAIL() << "no exception";
    } catch (const BlowFishVCL::EKeyMissing& e) {
        EXPECT_TRUE(e.Message().isEmpty());
    }
}

TEST(CipherKey, DecryptErrorText)
{
    EXPECT_EQ(BlowFishVCL::EDecryptError().Message(),
              u"Encrypted file corrupted: invalid blocksize found"_qs);
}

TEST(CipherStrings, LengthOfTheHexText)
{
    BlowFishVCL cipher(QByteArray("Qd482rnzwoTk"));
    const std::pair<const char*, qsizetype> cases[] = {
        {"", 0}, {"abcde", 16}, {"abcdefgh", 16}, {"abcdefghi", 32}};
    for (const auto& [text, hexLength] : cases) {
        const QString hex = cipher.EncryptString(QByteArray(text));
        EXPECT_EQ(hex.size(), hexLength) << text;
        EXPECT_EQ(hex, hex.toLower());
        EXPECT_EQ(cipher.DecryptString(hex), QByteArray(text));
    }
}

TEST(CipherStrings, DecryptAcceptsUpperAndLowerCase)
{
    BlowFishVCL cipher(QByteArray("key"));
    const QString hex = cipher.EncryptString(QByteArray("password"));
    EXPECT_EQ(cipher.DecryptString(hex.toUpper()), QByteArray("password"));
    EXPECT_EQ(cipher.DecryptString(hex), QByteArray("password"));
}

TEST(CipherStrings, DecryptRoundsShortInputUpToAWholeBlock)
{
    BlowFishVCL cipher(QByteArray("key"));
    // Four bytes are decrypted as one zero-padded block; must not read past the input.
    const QByteArray out = cipher.DecryptString(u"a1b2c3d4"_qs);
    EXPECT_LE(out.size(), 8);
}

TEST(CipherStrings, MalformedHexGivesEmptyResult)
{
    BlowFishVCL cipher(QByteArray("key"));
    for (const QString& bad : {u"abc"_qs, u"zz00112233445566"_qs, u"00 1"_qs})
        EXPECT_TRUE(cipher.DecryptString(bad).isEmpty()) << bad.toStdString();
}

TEST(CipherFiles, DecryptedFileIsReadableByItsOwnerOnly)
{
    korvtest::SandboxEnv env;
    BlowFishVCL cipher(QByteArray("pw"));
    const QString enc = env.Root() + u"enc.kvp"_qs;
    const QString plain = env.Root() + u"plain.rtf"_qs;
    korvtest::WriteAll(enc, cipher.EncryptData("{\\rtf1 secret}"));
    // Even a destination that others could read before is replaced by a private one.
    korvtest::WriteAll(plain, "old");
    ::chmod(QFile::encodeName(plain).constData(), 0644);
    ASSERT_TRUE(cipher.DecryptFile(enc, plain));
    EXPECT_EQ(Mode(plain), mode_t(0600));
    EXPECT_EQ(korvtest::ReadAll(plain), QByteArray("{\\rtf1 secret}"));
}

TEST(CipherFiles, EncryptedFileKeepsThePermissionsOfTheFileItReplaces)
{
    korvtest::SandboxEnv env;
    BlowFishVCL cipher(QByteArray("pw"));
    const QString enc = env.Root() + u"Page0000001.kvp"_qs;
    korvtest::WriteAll(enc, "old content");
    ::chmod(QFile::encodeName(enc).constData(), 0640);
    ASSERT_TRUE(cipher.EncryptToFile("new text", enc));
    EXPECT_EQ(Mode(enc), mode_t(0640));
    EXPECT_EQ(cipher.DecryptData(korvtest::ReadAll(enc)), QByteArray("new text"));

    const QString fresh = env.Root() + u"Page0000002.kvp"_qs;
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(cipher.EncryptToFile("x", fresh));
    ::umask(mask);
    EXPECT_EQ(Mode(fresh), mode_t(0644));
}

TEST(CipherFiles, FailureLeavesTheDestinationAndNoTemporaryFiles)
{
    korvtest::SandboxEnv env;
    const QString dir = env.Dir(u"data"_qs);
    BlowFishVCL cipher(QByteArray("pw"));
    const QString dest = dir + u"plain.rtf"_qs;
    korvtest::WriteAll(dest, "keep me");
    const QString corrupt = dir + u"corrupt.kvp"_qs;
    QByteArray bad = cipher.EncryptData(Pattern(5000));
    bad.chop(3);
    korvtest::WriteAll(corrupt, bad);

    EXPECT_THROW(cipher.DecryptFile(corrupt, dest), BlowFishVCL::EDecryptError);
    EXPECT_FALSE(cipher.DecryptFile(dir + u"missing.kvp"_qs, dest));
    EXPECT_FALSE(cipher.EncryptFile(dir + u"missing.rtf"_qs, dest, 4096));
    EXPECT_EQ(korvtest::ReadAll(dest), QByteArray("keep me"));
    const QStringList left = QDir(dir).entryList(QDir::Files);
    EXPECT_EQ(left, QStringList({u"corrupt.kvp"_qs, u"plain.rtf"_qs}));
}

TEST(CipherFiles, UnwritableDestinationFails)
{
    korvtest::SandboxEnv env;
    BlowFishVCL cipher(QByteArray("pw"));
    EXPECT_FALSE(cipher.EncryptToFile("x", env.Root() + u"no/such/dir/file.kvp"_qs));
    QByteArray out;
    EXPECT_FALSE(cipher.DecryptFileToMemory(env.Root() + u"missing.kvp"_qs, out));
}

} // namespace
