#include "model/blowfishvcl.h"
#include "model/kvpagepassword.h"
#include "model/kvpasswordbytes.h"
#include "model/kvpasswordlist.h"
#include "support/testenv.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

struct BytesCase
{
    QString text;
    QByteArray bytes;
};

void PrintTo(const BytesCase& c, std::ostream* os)
{
    *os << c.bytes.toHex().constData();
}

class PasswordBytes : public ::testing::TestWithParam<BytesCase>
{
};

TEST_P(PasswordBytes, EncodeAndDecode)
{
    EXPECT_EQ(KvPasswordBytes::Encode(GetParam().text).toHex(), GetParam().bytes.toHex());
    EXPECT_EQ(KvPasswordBytes::Decode(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PasswordBytes,
    ::testing::Values(BytesCase{u"secret 123"_qs, QByteArray("secret 123")},
                      BytesCase{u"äöü€"_qs, QByteArray("\xE4\xF6\xFC\x80")},
                      BytesCase{u"Œ‰ß—"_qs, QByteArray("\x8C\x89\xDF\x97")},
                      BytesCase{u"пароль"_qs, QByteArray("пароль")},
                      // One character outside Windows-1252 makes the whole text UTF-8.
                      BytesCase{u"ä€п"_qs, QByteArray("ä€п")},
                      BytesCase{u"😀x"_qs, QByteArray("😀x")}, BytesCase{QString(), QByteArray()}));

TEST(PasswordBytesDecode, InvalidUtf8IsWindows1252)
{
    EXPECT_EQ(KvPasswordBytes::Decode(QByteArray("\xE4\x80x")), u"ä€x"_qs);
    EXPECT_EQ(KvPasswordBytes::Decode(QByteArray("\x81\x8D")), QString::fromUtf16(u"\u0081\u008D"));
}

// Check values computed outside this program's code for the little-endian word order.
struct CheckCase
{
    int protectionClass;
    QString password;
    const char* checkValue;
};

void PrintTo(const CheckCase& c, std::ostream* os)
{
    *os << c.protectionClass << " " << c.checkValue;
}

class CheckValues : public ::testing::TestWithParam<CheckCase>
{
};

TEST_P(CheckValues, KnownValue)
{
    const CheckCase& c = GetParam();
    EXPECT_EQ(KvPagePassword::CheckValue(c.protectionClass, c.password),
              QString::fromLatin1(c.checkValue));
}

INSTANTIATE_TEST_SUITE_P(Table, CheckValues,
                         ::testing::Values(CheckCase{0, u"secret"_qs, "859563975272c5b5"},
                                           CheckCase{1, u"secret"_qs, "c5d24180ea1f92f1"},
                                           CheckCase{0, u"äöü€"_qs, "610d94d607fd6827"},
                                           CheckCase{0, u"passwort9"_qs,
                                                     "a68b016426e4d29e07953be064cda1bf"}));

TEST(CheckKeys, ClassOneRepeatsThePasswordToThirtyTwoCharacters)
{
    EXPECT_EQ(KvPagePassword::CheckKey(0, u"abc"_qs), QByteArray("Qd482rnzwoTk"));
    EXPECT_EQ(KvPagePassword::CheckKey(1, u"abcde"_qs), QByteArray("abcde").repeated(7));
    EXPECT_EQ(KvPagePassword::CheckKey(1, u"x"_qs), QByteArray(32, 'x'));
    const QString p32 = u"0123456789abcdef0123456789ABCDEF"_qs;
    EXPECT_EQ(KvPagePassword::CheckKey(1, p32), p32.toLatin1());
    EXPECT_EQ(KvPagePassword::CheckKey(1, p32 + u"!"_qs), QByteArray(p32.toLatin1() + "!"));
    EXPECT_TRUE(KvPagePassword::CheckKey(1, QString()).isEmpty());
    EXPECT_TRUE(KvPagePassword::CheckValue(1, QString()).isEmpty());
}

class PagePassword : public ::testing::Test
{
protected:
    void SetUp() override { KvPasswordList::Clear(); }
    void TearDown() override { KvPasswordList::Clear(); }

    // A page as read from the store: protected, locked, nothing in memory.
    static KvPagePassword Stored(int protectionClass, const QString& password, int askMode = 0)
    {
        KvPagePassword p;
        p.SetAskMode(askMode);
        p.SetStoredProtectionClass(protectionClass);
        p.SetStoredCheckValue(KvPagePassword::CheckValue(protectionClass, password));
        return p;
    }
};

TEST_F(PagePassword, CheckPasswordForBothClasses)
{
    for (int cls : {0, 1}) {
        SCOPED_TRACE(cls);
        KvPasswordList::Clear();
        const KvPagePassword p = Stored(cls, u"geheim"_qs);
        EXPECT_TRUE(p.IsLocked());
        EXPECT_FALSE(p.CheckPassword(u"falsch"_qs));
        EXPECT_FALSE(p.CheckPassword(QString()));
        EXPECT_TRUE(KvPasswordList::Entries().isEmpty());
        EXPECT_TRUE(p.CheckPassword(u"geheim"_qs));
        EXPECT_EQ(KvPasswordList::Entries(), QStringList{u"geheim"_qs});
        // Checking does not unlock; the page does that with SetPassword.
        EXPECT_TRUE(p.IsLocked());
    }
}

TEST_F(PagePassword, EmptyTextFitsAnUnprotectedPageOnly)
{
    KvPagePassword p;
    EXPECT_TRUE(p.CheckPassword(QString()));
    EXPECT_TRUE(KvPasswordList::Entries().isEmpty());
}

TEST_F(PagePassword, SetPasswordProtectsAndUnlocks)
{
    KvPagePassword p;
    p.SetStoredProtectionClass(1);
    EXPECT_TRUE(p.SetPassword(u"neu"_qs, false));
    EXPECT_TRUE(p.IsProtected());
    EXPECT_TRUE(p.Unlocked());
    EXPECT_TRUE(p.PasswordChanged());
    EXPECT_EQ(p.AskMode(), KvPagePassword::AskEveryLoad);
    EXPECT_EQ(p.StoredCheckValue(), KvPagePassword::CheckValue(1, u"neu"_qs));
    EXPECT_TRUE(KvPasswordList::Entries().isEmpty());

    p.ClearPasswordChanged();
    p.SetPassword(u"neu"_qs, true);
    EXPECT_FALSE(p.PasswordChanged()) << "same password again";
    EXPECT_EQ(KvPasswordList::Entries(), QStringList{u"neu"_qs});
    p.SetPassword(u"anders"_qs, true);
    EXPECT_TRUE(p.PasswordChanged());
    EXPECT_EQ(KvPasswordList::Entries(), QStringList({u"neu"_qs, u"anders"_qs}));
}

TEST_F(PagePassword, EmptyPasswordRemovesTheProtection)
{
    KvPagePassword p = Stored(0, u"alt"_qs, KvPagePassword::AskFirstLoad);
    p.SetUsePasswordList(true);
    p.SetCopyProtection(true);
    ASSERT_TRUE(p.TryPasswordList() == false);
    p.SetPassword(u"alt"_qs, false);
    p.ClearPasswordChanged();
    p.SetPassword(QString(), false);
    EXPECT_FALSE(p.IsProtected());
    EXPECT_TRUE(p.StoredCheckValue().isEmpty());
    EXPECT_TRUE(p.Password().isEmpty());
    EXPECT_TRUE(p.PasswordChanged());
    EXPECT_FALSE(p.UsePasswordList());
    EXPECT_FALSE(p.CopyProtection());
    EXPECT_TRUE(p.Unlocked());
}

TEST_F(PagePassword, PlainPasswordOfALockedPage)
{
    // Class 0 can be read back without the user; class 1 only with the password known.
    for (const QString& pw :
         {u"secret"_qs, u"äöü€"_qs, u"пароль"_qs, u"lang genug für zwei Blöcke"_qs}) {
        SCOPED_TRACE(pw.toStdString());
        EXPECT_EQ(Stored(0, pw).GetPlainPassword(), pw);
        EXPECT_TRUE(Stored(1, pw).GetPlainPassword().isEmpty());
        KvPagePassword known = Stored(1, pw);
        known.SetPassword(pw, false);
        EXPECT_EQ(known.GetPlainPassword(), pw);
    }
}

TEST_F(PagePassword, SwitchingTheClassKeepsThePasswordAndChangesTheCheckValue)
{
    KvPagePassword p;
    p.SetStoredProtectionClass(1);
    p.SetPassword(u"wechsel"_qs, false);
    const QString classOne = p.StoredCheckValue();
    p.SetProtectionClass(0);
    EXPECT_EQ(p.ProtectionClass(), 0);
    EXPECT_NE(p.StoredCheckValue(), classOne);
    EXPECT_EQ(p.Password(), u"wechsel"_qs);
    EXPECT_TRUE(p.CheckPassword(u"wechsel"_qs));
    p.SetProtectionClass(1);
    EXPECT_EQ(p.StoredCheckValue(), classOne);
}

TEST_F(PagePassword, LockedClassOnePageKeepsItsProtectionWhenTheClassIsSwitched)
{
    KvPagePassword p = Stored(1, u"unbekannt"_qs);
    const QString check = p.StoredCheckValue();
    p.SetProtectionClass(0);
    EXPECT_TRUE(p.IsProtected());
    EXPECT_EQ(p.StoredCheckValue(), check);
    EXPECT_EQ(p.ProtectionClass(), 1);
    EXPECT_TRUE(p.CheckPassword(u"unbekannt"_qs));
}

TEST_F(PagePassword, LockedClassZeroPageIsReKeyedFromItsCheckValue)
{
    KvPagePassword p = Stored(0, u"lesbar"_qs);
    p.SetProtectionClass(1);
    EXPECT_EQ(p.StoredCheckValue(), KvPagePassword::CheckValue(1, u"lesbar"_qs));
    EXPECT_EQ(p.Password(), u"lesbar"_qs);
}

TEST_F(PagePassword, TryPasswordListFindsAPasswordGivenEarlier)
{
    KvPagePassword p = Stored(1, u"zwei"_qs);
    EXPECT_FALSE(p.TryPasswordList());
    KvPasswordList::Add(u"eins"_qs);
    KvPasswordList::Add(u"zwei"_qs);
    KvPasswordList::Add(u"eins"_qs);
    EXPECT_EQ(KvPasswordList::Entries(), QStringList({u"eins"_qs, u"zwei"_qs}));
    EXPECT_TRUE(p.TryPasswordList());
    EXPECT_TRUE(p.Unlocked());
    EXPECT_EQ(p.Password(), u"zwei"_qs);

    // Opening another data directory empties the list.
    KvPasswordList::Clear();
    KvPagePassword other = Stored(1, u"zwei"_qs);
    EXPECT_FALSE(other.TryPasswordList());
    EXPECT_TRUE(other.IsLocked());
}

TEST_F(PagePassword, UnloadLocksAgainOnlyForAskModeZero)
{
    const std::pair<int, bool> cases[] = {{KvPagePassword::AskEveryLoad, true},
                                          {KvPagePassword::AskFirstLoad, false}};
    for (const auto& [mode, lockedAfterUnload] : cases) {
        SCOPED_TRACE(mode);
        KvPagePassword p = Stored(0, u"pw"_qs, mode);
        p.SetPassword(u"pw"_qs, true);
        p.Unload();
        EXPECT_EQ(p.IsLocked(), lockedAfterUnload);
        EXPECT_EQ(p.Password(), u"pw"_qs);
    }
}

TEST_F(PagePassword, ContentIsEncryptedWithThePasswordBytes)
{
    korvtest::SandboxEnv env;
    const QString path = env.Root() + u"Page0000001.kvp"_qs;
    const QByteArray rtf = "{\\rtf1\\ansi geheimer Text}";
    // A file written on Windows with the Windows-1252 bytes of the password.
    korvtest::WriteAll(path, BlowFishVCL(QByteArray("\xE4\xF6\xFC\x80")).EncryptData(rtf));

    KvPagePassword p = Stored(1, u"äöü€"_qs);
    ASSERT_TRUE(p.TryPasswordList() == false);
    EXPECT_THROW(
        {
            QByteArray out;
            p.ReadContent(path, out);
        },
        BlowFishVCL::EKeyMissing);
    p.SetPassword(u"äöü€"_qs, false);
    QByteArray plain;
    ASSERT_TRUE(p.ReadContent(path, plain));
    EXPECT_EQ(plain, rtf);

    ASSERT_TRUE(p.WriteContent(path, "{\\rtf1 neu}"));
    EXPECT_EQ(BlowFishVCL(QByteArray("\xE4\xF6\xFC\x80")).DecryptData(korvtest::ReadAll(path)),
              QByteArray("{\\rtf1 neu}"));
}

} // namespace
