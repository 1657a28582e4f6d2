#include "platform/kvatomicfile.h"
#include "platform/kvfileseam.h"
#include "store/storetexts.h"
#include "store/texprofilefile.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <sys/stat.h>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

class ProfileFileTest : public ::testing::Test
{
protected:
    korvtest::SandboxEnv env;
    QString dir = env.Dir(u"data"_qs);
    QString path = dir + u"test.ini"_qs;
};

struct WriteCase
{
    const char* name;
    const char* before; // file content, nullptr for no file
    std::function<void(TexProfileFile&)> change;
    const char* after;
};

class ProfileLineForms : public ProfileFileTest, public ::testing::WithParamInterface<WriteCase>
{
};

TEST_P(ProfileLineForms, WritesExactLines)
{
    const WriteCase& c = GetParam();
    if (c.before)
        WriteAll(path, c.before);
    {
        TexProfileFile f(path);
        c.change(f);
        EXPECT_NO_THROW(f.UpdateFile());
    }
    EXPECT_EQ(ReadAll(path), QByteArray(c.after)) << c.name;
}

const WriteCase kWriteCases[] = {
    {"new file", nullptr, [](TexProfileFile& f) { f.WriteString(u"S"_qs, u"k"_qs, u"v"_qs); },
     "[S]\r\nk=v\r\n"},
    {"new section appended", "[A]\r\na=1\r\n",
     [](TexProfileFile& f) { f.WriteString(u"B"_qs, u"b"_qs, u"2"_qs); },
     "[A]\r\na=1\r\n[B]\r\nb=2\r\n"},
    {"new key at end of its section", "[A]\r\na=1\r\n[B]\r\nb=2\r\n",
     [](TexProfileFile& f) { f.WriteString(u"A"_qs, u"c"_qs, u"3"_qs); },
     "[A]\r\na=1\r\nc=3\r\n[B]\r\nb=2\r\n"},
    {"rewrite in place keeps spelling", "[A]\r\nKey=1\r\nz=0\r\n",
     [](TexProfileFile& f) { f.WriteString(u"a"_qs, u"KEY"_qs, u"9"_qs); },
     "[A]\r\nKey=9\r\nz=0\r\n"},
    {"erase removes header and keys", "[A]\r\na=1\r\n[B]\r\nb=2\r\n[C]\r\nc=3\r\n",
     [](TexProfileFile& f) { f.EraseSection(u"b"_qs); }, "[A]\r\na=1\r\n[C]\r\nc=3\r\n"},
    {"delete key", "[A]\r\na=1\r\nb=2\r\n",
     [](TexProfileFile& f) { f.DeleteKey(u"A"_qs, u"A"_qs); }, "[A]\r\nb=2\r\n"},
    {"LF file comes back with CR LF", "[A]\na=1\n",
     [](TexProfileFile& f) { f.WriteInteger(u"A"_qs, u"n"_qs, -5); }, "[A]\r\na=1\r\nn=-5\r\n"},
    {"key after blank separator line", "[A]\r\na=1\r\n\r\n[B]\r\n",
     [](TexProfileFile& f) { f.WriteBool(u"A"_qs, u"b"_qs, true); },
     "[A]\r\na=1\r\nb=1\r\n\r\n[B]\r\n"},
    {"quoted value wrapped in the other quote", nullptr,
     [](TexProfileFile& f) {
         f.WriteString(u"S"_qs, u"d"_qs, u"\"x\""_qs);
         f.WriteString(u"S"_qs, u"s"_qs, u"'y'"_qs);
     },
     "[S]\r\nd='\"x\"'\r\ns=\"'y'\"\r\n"},
    {"blanks around a value kept by quotes", nullptr,
     [](TexProfileFile& f) {
         f.WriteString(u"S"_qs, u"a"_qs, u" v "_qs);
         f.WriteString(u"S"_qs, u"b"_qs, u"'x\" "_qs);
         f.WriteString(u"S"_qs, u"c"_qs, u"in ner"_qs);
     },
     "[S]\r\na=\" v \"\r\nb=\"'x\" \"\r\nc=in ner\r\n"},
    {"replace keeps the section's place and separator", "[A]\r\na=1\r\nb=2\r\n\r\n[B]\r\n",
     [](TexProfileFile& f) {
         f.ReplaceSection(u"a"_qs, {{u"c"_qs, u"3"_qs}, {u"a"_qs, u"1"_qs}});
     },
     "[A]\r\nc=3\r\na=1\r\n\r\n[B]\r\n"},
    {"replace of a new section appends it", "[A]\r\na=1\r\n",
     [](TexProfileFile& f) {
         f.ReplaceSection(u"B"_qs, {{u"k"_qs, u" v"_qs}});
     },
     "[A]\r\na=1\r\n[B]\r\nk=\" v\"\r\n"},
    {"replace drops a later section of the same name", "[A]\r\na=1\r\n[B]\r\n[a]\r\nx=9\r\n",
     [](TexProfileFile& f) { f.ReplaceSection(u"A"_qs, {}); }, "[A]\r\n[B]\r\n"},
    {"line break in a value cannot forge a header", nullptr,
     [](TexProfileFile& f) { f.WriteString(u"S"_qs, u"k"_qs, u"a\r\n[X]"_qs); },
     "[S]\r\nk=a  [X]\r\n"},
    {"mending drops a header cut short", "[A]\r\na=1\r\n[Page00",
     [](TexProfileFile& f) { EXPECT_EQ(f.DropUnparsableLines(), 1); }, "[A]\r\na=1\r\n"},
    {"mending drops stray lines, keeps comments and blanks", "junk\r\n;c\r\n[A]\r\nNam\r\n\r\na=1",
     [](TexProfileFile& f) { EXPECT_EQ(f.DropUnparsableLines(), 2); }, ";c\r\n[A]\r\n\r\na=1\r\n"},
    {"UTF-8 without BOM", nullptr,
     [](TexProfileFile& f) { f.WriteString(u"S"_qs, u"k"_qs, u"Grüße"_qs); },
     "[S]\r\nk=Gr\xC3\xBC\xC3\x9F"
     "e\r\n"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileLineForms, ::testing::ValuesIn(kWriteCases));

struct ReadCase
{
    const char* content;
    const char* section;
    const char* key;
    const char* expected;
};

class ProfileReading : public ProfileFileTest, public ::testing::WithParamInterface<ReadCase>
{
};

TEST_P(ProfileReading, ReadsValue)
{
    const ReadCase& c = GetParam();
    WriteAll(path, c.content);
    TexProfileFile f(path);
    EXPECT_EQ(f.ReadString(QString::fromUtf8(c.section), QString::fromUtf8(c.key), u"<def>"_qs),
              QString::fromUtf8(c.expected))
        << c.content;
}

const ReadCase kReadCases[] = {
    {"[S]\r\nk=v\r\n", "S", "k", "v"},
    {"[S]\r\nk=v\r\n", "s", "K", "v"},
    {"[Sect]\r\nKey=v\r\n", "SECT", "key", "v"},
    {"[S]\r\nk=  v w  \r\n", "S", "k", "v w"},
    {"[S]\r\nk=\"quoted\"\r\n", "S", "k", "quoted"},
    {"[S]\r\nk='single'\r\n", "S", "k", "single"},
    {"[S]\r\nk=\"mixed'\r\n", "S", "k", "\"mixed'"},
    {"[S]\r\nk='\"inner\"'\r\n", "S", "k", "\"inner\""},
    {"[S]\r\nk=\"\r\n", "S", "k", "\""},
    {"[S]\r\nk=\r\n", "S", "k", ""},
    {"[S]\r\nk=a=b\r\n", "S", "k", "a=b"},
    {"[S]\r\nk=v\r\n", "S", "x", "<def>"},
    {"[S]\r\nk=v\r\n", "T", "k", "<def>"},
    {"[S]\r\nk=first\r\n[S]\r\nk=second\r\n", "S", "k", "first"},
    {"[A]\r\nk=a\r\n[B]\r\nk=b\r\n", "B", "k", "b"},
    {"\xEF\xBB\xBF[S]\r\nk=bom\r\n", "S", "k", "bom"},
    {"[S]\nk=lf\n", "S", "k", "lf"},
    {"[S]\r\nk=\xE4\xF6\x80\r\n", "S", "k", "äö€"},
    {"[S]\r\nu=\xC3\xA4\r\nk=\xE4\r\n", "S", "u", "ä"},
    {"[S]\r\nu=\xC3\xA4\r\nk=\xE4\r\n", "S", "k", "ä"},
    {"[S]\r\nk=v", "S", "k", "v"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileReading, ::testing::ValuesIn(kReadCases));

TEST_F(ProfileFileTest, QuotedValuesReadBackUnchanged)
{
    const QStringList values = {u"\"x\""_qs, u"'y'"_qs,    u"'a\""_qs,  u"\""_qs,
                                u"''"_qs,    u"\"\""_qs,   u"plain"_qs, u"\"'mixed'\""_qs,
                                u" lead"_qs, u"trail\t"_qs};
    {
        TexProfileFile f(path);
        for (qsizetype i = 0; i < values.size(); ++i)
            f.WriteString(u"S"_qs, u"k"_qs + QString::number(i), values[i]);
        for (qsizetype i = 0; i < values.size(); ++i)
            EXPECT_EQ(f.ReadString(u"S"_qs, u"k"_qs + QString::number(i), {}), values[i]);
    }
    TexProfileFile again(path);
    for (qsizetype i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.ReadString(u"S"_qs, u"k"_qs + QString::number(i), {}), values[i]);
}

TEST_F(ProfileFileTest, ErasingManySectionsKeepsTheRestInOrder)
{
    QByteArray bytes;
    for (int i = 0; i < 2000; ++i)
        bytes += "[S" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n";
    WriteAll(path, bytes);
    TexProfileFile f(path);
    QByteArray expected;
    for (int i = 0; i < 2000; ++i) {
        if (i % 3 != 0)
            f.EraseSection(u"s"_qs + QString::number(i)); // names match without case
        else
            expected += "[S" + QByteArray::number(i) + "]\r\nk=" + QByteArray::number(i) + "\r\n";
    }
    EXPECT_EQ(f.ReadSections().size(), 667);
    EXPECT_FALSE(f.SectionExists(u"S1"_qs));
    EXPECT_EQ(f.ReadString(u"S1999"_qs, u"k"_qs, u"-"_qs), u"-"_qs);
    EXPECT_EQ(f.ReadString(u"S1998"_qs, u"k"_qs, u"-"_qs), u"1998"_qs);
    // An erased name written again is a new section at the end.
    f.WriteString(u"S1"_qs, u"k"_qs, u"again"_qs);
    expected += "[S1]\r\nk=again\r\n";
    f.UpdateFile();
    EXPECT_EQ(ReadAll(path), expected);
}

TEST_F(ProfileFileTest, ErasingANameThatStandsForTwoSectionsErasesBoth)
{
    WriteAll(path, "[A]\r\nk=1\r\n[B]\r\nk=2\r\n[a]\r\nk=3\r\n");
    TexProfileFile f(path);
    EXPECT_EQ(f.ReadString(u"A"_qs, u"k"_qs, {}), u"1"_qs);
    f.EraseSection(u"A"_qs);
    EXPECT_FALSE(f.SectionExists(u"a"_qs));
    f.UpdateFile();
    EXPECT_EQ(ReadAll(path), QByteArray("[B]\r\nk=2\r\n"));
}

TEST_F(ProfileFileTest, IntegersAndBooleans)
{
    WriteAll(path, "[S]\r\ndec=42\r\nneg=-7\r\nhex=0x1F\r\ndollar=$80000005\r\nbad=12a\r\n"
                   "empty=\r\ntwo=2\r\nzero=0\r\nnegmin=-0x80000000\r\nnegall=-$FFFFFFFF\r\n");
    TexProfileFile f(path);
    EXPECT_EQ(f.ReadInteger(u"S"_qs, u"dec"_qs, 0), 42);
    EXPECT_EQ(f.ReadInteger(u"S"_qs, u"neg"_qs, 0), -7);
    EXPECT_EQ(f.ReadInteger(u"S"_qs, u"hex"_qs, 0), 31);
    EXPECT_EQ(f.ReadInteger(u"S"_qs, u"dollar"_qs, 0), int(0x80000005u));
    // Negative hexadecimal wraps in 32 bits, the lowest value included.
    EXPECT_EQ(f.ReadInteger(u"S"_qs, u"negmin"_qs, 0), std::numeric_limits<int>::min());
    EXPECT_EQ(f.ReadInteger(u"S"_qs, u"negall"_qs, 0), 1);
    EXPECT_EQ(f.ReadInteger(u"S"_qs, u"bad"_qs, -1), -1);
    EXPECT_EQ(f.ReadInteger(u"S"_qs, u"empty"_qs, -1), -1);
    EXPECT_EQ(f.ReadInteger(u"S"_qs, u"absent"_qs, 3), 3);
    EXPECT_TRUE(f.ReadBool(u"S"_qs, u"two"_qs, false));
    EXPECT_FALSE(f.ReadBool(u"S"_qs, u"zero"_qs, true));
    EXPECT_TRUE(f.ReadBool(u"S"_qs, u"absent"_qs, true));
    EXPECT_TRUE(f.ReadBool(u"S"_qs, u"bad"_qs, true));
}

TEST_F(ProfileFileTest, ListsSectionsKeysAndValues)
{
    WriteAll(path, "[One]\r\nb=2\r\na=\"1\"\r\n;note\r\n[Two]\r\n[three]\r\nx=y\r\n");
    TexProfileFile f(path);
    EXPECT_EQ(f.ReadSections(), (QStringList{u"One"_qs, u"Two"_qs, u"three"_qs}));
    EXPECT_EQ(f.ReadSection(u"one"_qs), (QStringList{u"b"_qs, u"a"_qs}));
    EXPECT_EQ(f.ReadSectionValues(u"ONE"_qs), (QStringList{u"b=2"_qs, u"a=1"_qs}));
    EXPECT_TRUE(f.SectionExists(u"TWO"_qs));
    EXPECT_FALSE(f.SectionExists(u"four"_qs));
    EXPECT_TRUE(f.ValueExists(u"Three"_qs, u"X"_qs));
    EXPECT_FALSE(f.ValueExists(u"Two"_qs, u"x"_qs));
    EXPECT_TRUE(f.ReadSection(u"Two"_qs).isEmpty());
}

TEST_F(ProfileFileTest, ChangesThatChangeNothingTouchNoDisk)
{
    {
        TexProfileFile f(path);
        EXPECT_EQ(f.ReadString(u"S"_qs, u"k"_qs, u"d"_qs), u"d"_qs);
        f.DeleteKey(u"S"_qs, u"k"_qs);
        f.EraseSection(u"S"_qs);
        EXPECT_NO_THROW(f.UpdateFile());
    }
    EXPECT_FALSE(QFile::exists(path));
    WriteAll(path, "[S]\r\nk=v\r\n");
    const TexProfileFile::DiskStamp before = TexProfileFile::StampOf(path);
    {
        TexProfileFile f(path);
        f.WriteString(u"s"_qs, u"K"_qs, u"v"_qs);
        f.DeleteKey(u"S"_qs, u"absent"_qs);
        EXPECT_NO_THROW(f.UpdateFile());
        EXPECT_FALSE(f.Modified());
    }
    EXPECT_EQ(TexProfileFile::StampOf(path), before);
}

// ---- several objects on one file ----

TEST_F(ProfileFileTest, TwoObjectsKeepEachOthersWrites)
{
    WriteAll(path, "[Shared]\r\nk=0\r\n[Gone]\r\ng=1\r\n");
    TexProfileFile a(path);
    TexProfileFile b(path);
    EXPECT_EQ(a.ReadString(u"Shared"_qs, u"k"_qs, {}), u"0"_qs);
    EXPECT_EQ(b.ReadString(u"Shared"_qs, u"k"_qs, {}), u"0"_qs);
    a.WriteString(u"A"_qs, u"a"_qs, u"1"_qs);
    a.EraseSection(u"Gone"_qs);
    b.WriteString(u"B"_qs, u"b"_qs, u"2"_qs);
    b.WriteString(u"Shared"_qs, u"k"_qs, u"b"_qs);
    b.DeleteKey(u"Gone"_qs, u"g"_qs);
    ASSERT_NO_THROW(a.UpdateFile());
    ASSERT_NO_THROW(b.UpdateFile());
    a.WriteString(u"Shared"_qs, u"k2"_qs, u"a"_qs);
    ASSERT_NO_THROW(a.UpdateFile());

    TexProfileFile check(path);
    EXPECT_EQ(check.ReadString(u"A"_qs, u"a"_qs, {}), u"1"_qs);
    EXPECT_EQ(check.ReadString(u"B"_qs, u"b"_qs, {}), u"2"_qs);
    EXPECT_EQ(check.ReadString(u"Shared"_qs, u"k"_qs, {}), u"b"_qs);
    EXPECT_EQ(check.ReadString(u"Shared"_qs, u"k2"_qs, {}), u"a"_qs);
    EXPECT_FALSE(check.SectionExists(u"Gone"_qs));
}

// Two objects read the file; the second changes it and flushes, then the first changes it
// and flushes. The first one's change is the later one and must decide, whatever the first
// object had read before.
struct InterleaveCase
{
    const char* name;
    const char* before;
    std::function<void(TexProfileFile&)> second; // flushed first
    std::function<void(TexProfileFile&)> first;  // read before the other wrote, flushed last
    const char* after;
    bool lastFlushWrites;
};

void PrintTo(const InterleaveCase& c, std::ostream* os)
{
    *os << c.name;
}

class ProfileInterleaving : public ProfileFileTest,
                            public ::testing::WithParamInterface<InterleaveCase>
{
};

TEST_P(ProfileInterleaving, LaterChangeWins)
{
    const InterleaveCase& c = GetParam();
    WriteAll(path, c.before);
    TexProfileFile a(path);
    TexProfileFile b(path);
    a.ReadSections();
    b.ReadSections();
    c.second(b);
    ASSERT_NO_THROW(b.UpdateFile());
    const TexProfileFile::DiskStamp between = TexProfileFile::StampOf(path);
    c.first(a);
    ASSERT_NO_THROW(a.UpdateFile());
    EXPECT_EQ(ReadAll(path), QByteArray(c.after)) << c.name;
    EXPECT_EQ(TexProfileFile::StampOf(path) != between, c.lastFlushWrites) << c.name;
    EXPECT_FALSE(a.Modified());
}

const auto kWrite = [](const char* section, const char* key, const char* value) {
    return [=](TexProfileFile& f) {
        f.WriteString(QString::fromUtf8(section), QString::fromUtf8(key), QString::fromUtf8(value));
    };
};
const auto kErase = [](const char* section) {
    return [=](TexProfileFile& f) { f.EraseSection(QString::fromUtf8(section)); };
};
const auto kDelete = [](const char* section, const char* key) {
    return
        [=](TexProfileFile& f) { f.DeleteKey(QString::fromUtf8(section), QString::fromUtf8(key)); };
};

const InterleaveCase kInterleavings[] = {
    {"write/write of the value read before", "[S]\r\nk=0\r\n", kWrite("S", "k", "1"),
     kWrite("S", "k", "0"), "[S]\r\nk=0\r\n", true},
    {"write/write of other keys", "[S]\r\nk=0\r\n", kWrite("S", "j", "1"), kWrite("S", "k", "2"),
     "[S]\r\nk=2\r\nj=1\r\n", true},
    {"write/erase of a section never seen", "[A]\r\na=1\r\n", kWrite("S", "k", "1"), kErase("S"),
     "[A]\r\na=1\r\n", true},
    {"erase/write of the value read before", "[S]\r\nk=0\r\n", kErase("S"), kWrite("S", "k", "0"),
     "[S]\r\nk=0\r\n", true},
    {"write/delete of a key never seen", "[S]\r\nj=1\r\n", kWrite("S", "k", "1"), kDelete("S", "k"),
     "[S]\r\nj=1\r\n", true},
    {"delete/write of the value read before", "[S]\r\nk=0\r\nj=1\r\n", kDelete("S", "k"),
     kWrite("S", "k", "0"), "[S]\r\nj=1\r\nk=0\r\n", true},
    {"erase/delete", "[S]\r\nk=0\r\n", kErase("S"), kDelete("S", "k"), "", false},
    {"erase/erase", "[S]\r\nk=0\r\n[T]\r\n", kErase("S"), kErase("S"), "[T]\r\n", false},
    {"write/replace", "[S]\r\nk=0\r\n", kWrite("S", "j", "1"),
     [](TexProfileFile& f) {
         f.ReplaceSection(u"S"_qs, {{u"k"_qs, u"2"_qs}});
     },
     "[S]\r\nk=2\r\n", true},
    {"erase/replace", "[S]\r\nk=0\r\n[T]\r\n", kErase("S"),
     [](TexProfileFile& f) {
         f.ReplaceSection(u"S"_qs, {{u"k"_qs, u"0"_qs}});
     },
     "[T]\r\n[S]\r\nk=0\r\n", true},
    {"same value: the last flush writes nothing", "[S]\r\nk=0\r\n", kWrite("S", "k", "1"),
     kWrite("S", "k", "1"), "[S]\r\nk=1\r\n", false},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProfileInterleaving, ::testing::ValuesIn(kInterleavings));

TEST_F(ProfileFileTest, RefreshSeesAnotherWriterAndKeepsPendingChanges)
{
    TexProfileFile a(path);
    a.WriteString(u"A"_qs, u"a"_qs, u"1"_qs);
    {
        TexProfileFile b(path);
        b.WriteString(u"B"_qs, u"b"_qs, u"2"_qs);
    }
    EXPECT_EQ(a.ReadString(u"B"_qs, u"b"_qs, u"none"_qs), u"none"_qs);
    a.Refresh();
    EXPECT_EQ(a.ReadString(u"B"_qs, u"b"_qs, u"none"_qs), u"2"_qs);
    EXPECT_EQ(a.ReadString(u"A"_qs, u"a"_qs, u"none"_qs), u"1"_qs);
    EXPECT_TRUE(a.Modified());
}

// ---- failures ----

TEST_F(ProfileFileTest, UnwritableDirectoryRaisesAndChangesNothing)
{
    // A path below a regular file cannot be written, whoever runs the test.
    const QString blocker = dir + u"plain"_qs;
    WriteAll(blocker, "x");
    const QString bad = blocker + u"/sub.ini"_qs;
    TexProfileFile f(bad);
    try {
        f.WriteString(u"S"_qs, u"k"_qs, u"v"_qs);
        FAIL() << "no error";
    } catch (const TexProfileFile::EIniFileWrite& e) {
        EXPECT_EQ(e.Message(), u"In "_qs + bad + u" kann nicht geschrieben werden"_qs);
        EXPECT_EQ(e.FileName(), bad);
    }
    EXPECT_THROW(f.WriteInteger(u"S"_qs, u"n"_qs, 1), TexProfileFile::EIniFileWrite);
    EXPECT_THROW(f.WriteBool(u"S"_qs, u"b"_qs, true), TexProfileFile::EIniFileWrite);
    EXPECT_THROW(f.EraseSection(u"S"_qs), TexProfileFile::EIniFileWrite);
    EXPECT_NO_THROW(f.DeleteKey(u"S"_qs, u"k"_qs));
    EXPECT_EQ(f.ReadString(u"S"_qs, u"k"_qs, u"d"_qs), u"d"_qs);
    EXPECT_FALSE(f.Modified());
    EXPECT_NO_THROW(f.UpdateFile());
    EXPECT_EQ(KvStoreText::IniFileWriteNo, 65504);
}

TEST_F(ProfileFileTest, PathThatIsADirectoryIsUnwritable)
{
    QDir().mkpath(path);
    TexProfileFile f(path);
    EXPECT_THROW(f.WriteString(u"S"_qs, u"k"_qs, u"v"_qs), TexProfileFile::EIniFileWrite);
}

TEST_F(ProfileFileTest, ReadOnlyFileRaisesAndStaysUnchanged)
{
    WriteAll(path, "[S]\r\nk=old\r\n");
    ::chmod(QFile::encodeName(path).constData(), 0444);
    {
        QFile probe(path);
        if (probe.open(QIODevice::WriteOnly | QIODevice::Append)) {
            ::chmod(QFile::encodeName(path).constData(), 0644);
            GTEST_SKIP() << "running with rights that ignore file permissions (root)";
        }
    }
    TexProfileFile f(path);
    EXPECT_THROW(f.WriteString(u"S"_qs, u"k"_qs, u"new"_qs), TexProfileFile::EIniFileWrite);
    EXPECT_THROW(f.EraseSection(u"S"_qs), TexProfileFile::EIniFileWrite);
    f.DeleteKey(u"S"_qs, u"k"_qs);
    EXPECT_FALSE(f.Modified());
    EXPECT_EQ(f.ReadString(u"S"_qs, u"k"_qs, {}), u"old"_qs);
    EXPECT_EQ(ReadAll(path), QByteArray("[S]\r\nk=old\r\n"));
    ::chmod(QFile::encodeName(path).constData(), 0644);
}

TEST_F(ProfileFileTest, FailedFlushKeepsChangesForTheNextOne)
{
    const QString sub = env.Dir(u"vanishing"_qs);
    const QString file = sub + u"f.ini"_qs;
    TexProfileFile f(file);
    f.WriteString(u"S"_qs, u"k"_qs, u"kept"_qs);
    ASSERT_TRUE(QDir(sub).removeRecursively());
    EXPECT_THROW(f.UpdateFile(), TexProfileFile::EIniFileFlush);
    EXPECT_FALSE(f.TryUpdateFile());
    EXPECT_TRUE(f.Modified());
    EXPECT_EQ(f.ReadString(u"S"_qs, u"k"_qs, {}), u"kept"_qs);
    ASSERT_TRUE(QDir().mkpath(sub));
    EXPECT_NO_THROW(f.UpdateFile());
    EXPECT_FALSE(f.Modified());
    EXPECT_EQ(ReadAll(file), QByteArray("[S]\r\nk=kept\r\n"));
}

TEST_F(ProfileFileTest, ReadOnlyFileThroughTheSeamRaisesAndStaysUnchanged)
{
    WriteAll(path, "[S]\r\nk=old\r\n");
    KvFileSeam::Scope seam({KvFileSeam::Access, path, 1, EACCES, true});
    TexProfileFile f(path);
    EXPECT_THROW(f.WriteString(u"S"_qs, u"k"_qs, u"new"_qs), TexProfileFile::EIniFileWrite);
    EXPECT_THROW(f.EraseSection(u"S"_qs), TexProfileFile::EIniFileWrite);
    f.DeleteKey(u"S"_qs, u"k"_qs);
    EXPECT_FALSE(f.Modified());
    EXPECT_EQ(f.ReadString(u"S"_qs, u"k"_qs, {}), u"old"_qs);
    EXPECT_EQ(ReadAll(path), QByteArray("[S]\r\nk=old\r\n"));
}

TEST_F(ProfileFileTest, FailedFlushThroughTheSeamRaisesAndKeepsChanges)
{
    TexProfileFile f(path);
    f.WriteString(u"S"_qs, u"k"_qs, u"kept"_qs);
    {
        KvFileSeam::Scope seam({KvFileSeam::Write, path, 1, ENOSPC, true});
        try {
            f.UpdateFile();
            ADD_FAILURE() << "no error";
        } catch (const TexProfileFile::EIniFileFlush& e) {
            EXPECT_EQ(e.FileName(), path);
            EXPECT_EQ(e.Error(), ENOSPC);
            EXPECT_TRUE(e.Message().endsWith(KvAtomicFile::ErrorString(ENOSPC)));
        }
        int error = 0;
        EXPECT_FALSE(f.TryUpdateFile(&error));
        EXPECT_EQ(error, ENOSPC);
        EXPECT_TRUE(f.Modified());
    }
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_NO_THROW(f.UpdateFile());
    EXPECT_FALSE(f.Modified());
    EXPECT_EQ(ReadAll(path), QByteArray("[S]\r\nk=kept\r\n"));
}

// ---- atomic replacement ----

TEST_F(ProfileFileTest, FlushReplacesFileKeepingPermissionsAndLeavesNoTemporary)
{
    WriteAll(path, "[S]\r\nk=1\r\n");
    ::chmod(QFile::encodeName(path).constData(), 0640);
    struct stat before;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    {
        TexProfileFile f(path);
        f.WriteString(u"S"_qs, u"k"_qs, u"2"_qs);
    }
    struct stat after;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_NE(after.st_ino, before.st_ino) << "written in place instead of replaced";
    EXPECT_EQ(ReadAll(path), QByteArray("[S]\r\nk=2\r\n"));
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), QStringList{u"test.ini"_qs});
}

TEST_F(ProfileFileTest, NewFileFollowsUmask)
{
    {
        TexProfileFile f(path);
        f.WriteString(u"S"_qs, u"k"_qs, u"v"_qs);
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_EQ(QFileInfo(path).exists(), true);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0666u & ~mask);
}

} // namespace
