#include "store/texinifile.h"
#include "store/texmeminifile.h"
#include "support/testenv.h"

#include <QDir>
#include <gtest/gtest.h>

using korvtest::WriteAll;

namespace {

class SnapshotTest : public ::testing::Test
{
protected:
    korvtest::SandboxEnv env;
    QString dir = env.Dir(u"data"_qs);
    QString base = dir + u"objprps"_qs;
    TexIniFile store{base, 40, true};

    QString member(const char* suffix) const { return base + u'.' + QString::fromUtf8(suffix); }
};

TEST_F(SnapshotTest, EmptyStoreGivesDefaults)
{
    TexMemIniFile snap(store);
    EXPECT_TRUE(snap.Lines().isEmpty());
    EXPECT_TRUE(snap.ReadSections().isEmpty());
    EXPECT_EQ(snap.ReadString(u"A"_qs, u"k"_qs, u"d"_qs), u"d"_qs);
    EXPECT_EQ(snap.ReadInteger(u"A"_qs, u"k"_qs, 7), 7);
    EXPECT_TRUE(snap.ReadBool(u"A"_qs, u"k"_qs, true));
    EXPECT_FALSE(snap.FindSection(u"A"_qs));
    EXPECT_FALSE(snap.ValueExists(u"A"_qs, u"k"_qs));
    EXPECT_TRUE(snap.ReadSection(u"A"_qs).isEmpty());
}

// How the store and its snapshot read the same bytes differently.
struct DifferenceCase
{
    const char* name;
    const char* content; // member 001
    const char* section;
    const char* key;
    const char* fromStore;
    const char* fromSnapshot;
};

class SnapshotDifferences : public SnapshotTest,
                            public ::testing::WithParamInterface<DifferenceCase>
{
};

TEST_P(SnapshotDifferences, ReadString)
{
    const DifferenceCase& c = GetParam();
    WriteAll(member("001"), c.content);
    TexMemIniFile snap(store);
    const QString section = QString::fromUtf8(c.section);
    const QString key = QString::fromUtf8(c.key);
    EXPECT_EQ(store.ReadString(section, key, u"<def>"_qs), QString::fromUtf8(c.fromStore))
        << c.name;
    EXPECT_EQ(snap.ReadString(section, key, u"<def>"_qs), QString::fromUtf8(c.fromSnapshot))
        << c.name;
}

const DifferenceCase kDifferences[] = {
    {"same plain value", "[A]\r\nk=v\r\n", "A", "k", "v", "v"},
    {"empty value", "[A]\r\nName=\r\n", "A", "Name", "", "<def>"},
    {"header case", "[page0000001]\r\nk=v\r\n", "Page0000001", "k", "v", "<def>"},
    {"key case", "[A]\r\nKey=v\r\n", "A", "key", "v", "<def>"},
    {"quoted value", "[A]\r\nk=\"q\"\r\n", "A", "k", "q", "q"},
    {"blanks around value", "[A]\r\nk= v \r\n", "A", "k", "v", "v"},
    {"key prefix is no match", "[A]\r\nkey2=x\r\n", "A", "key", "<def>", "<def>"},
    {"value with =", "[A]\r\nk=a=b\r\n", "A", "k", "a=b", "a=b"},
    {"no keys", "[A]\r\n[B]\r\nk=b\r\n", "A", "k", "<def>", "<def>"},
};

INSTANTIATE_TEST_SUITE_P(Cases, SnapshotDifferences, ::testing::ValuesIn(kDifferences));

// A value written through the store reads back unchanged through the store, through a
// snapshot, and again after the snapshot's value was written back.
class SnapshotQuoting : public SnapshotTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(SnapshotQuoting, ValuesReadBackUnchangedEverywhere)
{
    const QString value = QString::fromUtf8(GetParam());
    store.WriteString(u"A"_qs, u"Name"_qs, value);
    store.UpdateFile();
    EXPECT_EQ(store.ReadString(u"A"_qs, u"Name"_qs, {}), value);
    QString fromSnapshot;
    {
        TexMemIniFile snap(store);
        fromSnapshot = snap.ReadString(u"A"_qs, u"Name"_qs, {});
        EXPECT_EQ(snap.ReadSectionValues(u"A"_qs), QStringList{value});
    }
    EXPECT_EQ(fromSnapshot, value);
    store.WriteString(u"A"_qs, u"Name"_qs, fromSnapshot);
    store.UpdateFile();
    TexIniFile fresh(base, 40, true);
    EXPECT_EQ(fresh.ReadString(u"A"_qs, u"Name"_qs, {}), value);
    EXPECT_EQ(TexMemIniFile(fresh).ReadString(u"A"_qs, u"Name"_qs, {}), value);
}

INSTANTIATE_TEST_SUITE_P(Values, SnapshotQuoting,
                         ::testing::Values("\"Entwurf\"", "'Entwurf'", "\"nur vorn", "nur hinten\"",
                                           "'nur vorn", "innen \"zitiert\" hier", "Peter's",
                                           "'\"beide\"'", "\"'beide'\"", "\"\"", "''", "\"", "'",
                                           "'a\"", " Rand ", "\t\"x\" ", "schlicht"));

TEST_F(SnapshotTest, SnapshotReadsQuotedNumbersLikeTheStore)
{
    WriteAll(member("001"), "[A]\r\nn=\"12\"\r\nb='1'\r\ne=\"\"\r\n");
    TexMemIniFile snap(store);
    EXPECT_EQ(snap.ReadInteger(u"A"_qs, u"n"_qs, 0), 12);
    EXPECT_TRUE(snap.ReadBool(u"A"_qs, u"b"_qs, false));
    EXPECT_EQ(snap.ReadString(u"A"_qs, u"e"_qs, u"<def>"_qs), u"<def>"_qs);
}

TEST_F(SnapshotTest, BooleansAndIntegers)
{
    WriteAll(member("001"), "[A]\r\ntwo=2\r\none=1\r\nzero=0\r\nempty=\r\nword=x\r\nhex=$10\r\n");
    TexMemIniFile snap(store);
    EXPECT_TRUE(store.ReadBool(u"A"_qs, u"two"_qs, false));
    EXPECT_FALSE(snap.ReadBool(u"A"_qs, u"two"_qs, true));
    EXPECT_TRUE(snap.ReadBool(u"A"_qs, u"one"_qs, false));
    EXPECT_FALSE(snap.ReadBool(u"A"_qs, u"zero"_qs, true));
    EXPECT_FALSE(snap.ReadBool(u"A"_qs, u"empty"_qs, true));
    EXPECT_FALSE(snap.ReadBool(u"A"_qs, u"word"_qs, true));
    EXPECT_TRUE(snap.ReadBool(u"A"_qs, u"absent"_qs, true));
    EXPECT_EQ(snap.ReadInteger(u"A"_qs, u"two"_qs, 0), 2);
    EXPECT_EQ(snap.ReadInteger(u"A"_qs, u"word"_qs, -1), -1);
    EXPECT_EQ(snap.ReadInteger(u"A"_qs, u"empty"_qs, -1), -1);
    EXPECT_EQ(snap.ReadInteger(u"A"_qs, u"hex"_qs, 0), 16);
}

TEST_F(SnapshotTest, SectionInTwoMembersUsesTheFirstInFileListOrder)
{
    WriteAll(member("001"), "[A]\r\nk=first\r\n");
    WriteAll(member("002"), "[A]\r\nk=second\r\n[B]\r\nk=b\r\n");
    TexMemIniFile snap(store);
    EXPECT_EQ(snap.ReadString(u"A"_qs, u"k"_qs, {}), u"first"_qs);
    EXPECT_EQ(snap.ReadSections(), (QStringList{u"A"_qs, u"A"_qs, u"B"_qs}));
    EXPECT_EQ(snap.ReadString(u"B"_qs, u"k"_qs, {}), u"b"_qs);
}

TEST_F(SnapshotTest, LaterWritesAreInvisible)
{
    store.WriteString(u"A"_qs, u"k"_qs, u"before"_qs);
    TexMemIniFile snap(store); // flushes the store first
    store.WriteString(u"A"_qs, u"k"_qs, u"after"_qs);
    store.WriteString(u"B"_qs, u"k"_qs, u"new"_qs);
    store.UpdateFile();
    EXPECT_EQ(snap.ReadString(u"A"_qs, u"k"_qs, {}), u"before"_qs);
    EXPECT_EQ(snap.ReadString(u"B"_qs, u"k"_qs, u"none"_qs), u"none"_qs);
    EXPECT_EQ(snap.ReadSections(), QStringList{u"A"_qs});
}

TEST_F(SnapshotTest, ListsKeysValuesAndSections)
{
    WriteAll(member("001"), "[A]\r\n\r\nb=2\r\nnoequals\r\na=\r\n[odd]tail\r\nx=1\r\n[B]\r\n");
    TexMemIniFile snap(store);
    EXPECT_EQ(snap.Lines().size(), 7) << "empty lines are dropped";
    EXPECT_EQ(snap.ReadSection(u"A"_qs), (QStringList{u"b"_qs, QString(), u"a"_qs}));
    EXPECT_EQ(snap.ReadSectionValues(u"A"_qs), (QStringList{u"2"_qs, QString(), QString()}));
    EXPECT_EQ(store.ReadSectionValues(u"A"_qs), (QStringList{u"b=2"_qs, u"a="_qs}));
    EXPECT_EQ(snap.ReadSections(), (QStringList{u"A"_qs, u"oddtail"_qs, u"B"_qs}));
    EXPECT_TRUE(snap.FindSection(u"B"_qs));
    EXPECT_TRUE(snap.ReadSection(u"B"_qs).isEmpty());
    EXPECT_FALSE(snap.FindSection(u"odd"_qs)) << "the whole header line must match";
    EXPECT_TRUE(snap.ValueExists(u"A"_qs, u"a"_qs));
    EXPECT_FALSE(snap.ValueExists(u"A"_qs, u"A"_qs));
}

TEST_F(SnapshotTest, ReadsEverySectionOfALargeStore)
{
    const int count = 5000;
    QByteArray content;
    for (int i = 1; i <= count; ++i)
        content += QByteArray("[Page") + QByteArray::number(i).rightJustified(7, '0') +
                   "]\r\nName=n" + QByteArray::number(i) +
                   "\r\nStatus=" + QByteArray::number(i % 5) + "\r\n";
    WriteAll(member("001"), content);
    TexMemIniFile snap(store);
    const QStringList sections = snap.ReadSections();
    ASSERT_EQ(sections.size(), count);
    for (int i = count; i >= 1; --i) {
        const QString& s = sections[i - 1];
        ASSERT_EQ(snap.ReadString(s, u"Name"_qs, {}), u"n"_qs + QString::number(i));
        ASSERT_EQ(snap.ReadInteger(s, u"Status"_qs, -1), i % 5);
    }
}

TEST_F(SnapshotTest, VanishedFileIsSkippedAndUnreadableOneRaises)
{
    WriteAll(member("001"), "[A]\r\nk=1\r\n");
    TexMemIniFile snap(QStringList{member("001"), member("404")});
    EXPECT_EQ(snap.ReadString(u"A"_qs, u"k"_qs, {}), u"1"_qs);
    QDir().mkpath(member("005"));
    EXPECT_THROW(TexMemIniFile(QStringList{member("005")}), TexMemIniFile::EFileRead);
}

TEST_F(SnapshotTest, DecodesWindows1252Lines)
{
    WriteAll(member("001"), "[A]\r\nk=Gr\xFC\xDF\r\nu=\xC3\xA4\r\n");
    TexMemIniFile snap(store);
    EXPECT_EQ(snap.ReadString(u"A"_qs, u"k"_qs, {}), u"Grüß"_qs);
    EXPECT_EQ(snap.ReadString(u"A"_qs, u"u"_qs, {}), u"ä"_qs);
}

} // namespace
