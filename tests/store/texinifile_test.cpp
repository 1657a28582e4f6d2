#include "platform/kvatomicfile.h"
#include "platform/kvfileseam.h"
#include "store/texinifile.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

// Member content of exactly `bytes` bytes (at least the header) holding one section.
QByteArray filler(const QString& section, qsizetype bytes)
{
    QByteArray head = "[" + section.toUtf8() + "]\r\nfill=";
    QByteArray body = head;
    const qsizetype rest = std::max<qsizetype>(0, bytes - head.size() - 2);
    body += QByteArray(rest, 'x') + "\r\n";
    return body;
}

class StoreTest : public ::testing::Test
{
protected:
    korvtest::SandboxEnv env;
    QString dir = env.Dir(u"data"_qs);
    QString base = dir + u"objprps"_qs;

    QString member(const char* suffix) const { return base + u'.' + QString::fromUtf8(suffix); }
};

// ---- choosing members ----

struct PlacementCase
{
    const char* name;
    int limitKb;
    // existing members: suffix and whether full
    std::vector<std::pair<std::string, bool>> members;
    const char* expected;
};

class StorePlacement : public StoreTest, public ::testing::WithParamInterface<PlacementCase>
{
};

TEST_P(StorePlacement, NewSectionGoesToFirstMemberWithRoom)
{
    const PlacementCase& c = GetParam();
    int i = 0;
    for (const auto& [suffix, full] : c.members) {
        const qsizetype size = full ? c.limitKb * 1024 : 100;
        WriteAll(member(suffix.c_str()), filler(u"Fill%1"_qs.arg(++i), size));
    }
    {
        TexIniFile store(base, c.limitKb, true);
        store.WriteString(u"New"_qs, u"k"_qs, u"v"_qs);
    }
    const QByteArray content = ReadAll(member(c.expected));
    EXPECT_TRUE(content.contains("[New]\r\nk=v\r\n")) << c.name;
    TexIniFile fresh(base, c.limitKb, false);
    EXPECT_EQ(fresh.ReadString(u"New"_qs, u"k"_qs, {}), u"v"_qs) << c.name;
}

std::vector<std::pair<std::string, bool>> fullRange(int from, int to)
{
    std::vector<std::pair<std::string, bool>> m;
    for (int n = from; n <= to; ++n)
        m.emplace_back(QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')).toStdString(), true);
    return m;
}

const PlacementCase kPlacementCases[] = {
    {"empty directory", 40, {}, "001"},
    {"001 full", 40, {{"001", true}}, "002"},
    {"001 full, 003 has room", 40, {{"001", true}, {"003", false}}, "003"},
    {"001 has room", 40, {{"001", false}}, "001"},
    {"1, 2, 4 full", 40, {{"001", true}, {"002", true}, {"004", true}}, "003"},
    {"2, 3 full", 40, {{"002", true}, {"003", true}}, "001"},
    {"bak and 000 ignored", 40, {{"bak", false}, {"000", false}}, "001"},
    {"non-numeric suffixes ignored", 40, {{"001.bak", false}, {"1a", false}}, "001"},
    {"1 to 999 full", 1, fullRange(1, 999), "000001000"},
};

INSTANTIATE_TEST_SUITE_P(Cases, StorePlacement, ::testing::ValuesIn(kPlacementCases));

TEST_F(StoreTest, IgnoredFilesStayUntouchedAndAreNoMembers)
{
    WriteAll(member("bak"), "[Old]\r\nk=bak\r\n");
    WriteAll(member("000"), "[Old]\r\nk=zero\r\n");
    TexIniFile store(base, 40, true);
    EXPECT_EQ(store.ReadString(u"Old"_qs, u"k"_qs, u"none"_qs), u"none"_qs);
    EXPECT_TRUE(store.ReadSections().isEmpty());
    store.WriteString(u"Old"_qs, u"k"_qs, u"new"_qs);
    store.UpdateFile();
    EXPECT_EQ(store.FileList(), QStringList{member("001")});
    EXPECT_EQ(ReadAll(member("bak")), QByteArray("[Old]\r\nk=bak\r\n"));
}

TEST_F(StoreTest, FileListIsSortedAndFresh)
{
    WriteAll(member("002"), "[B]\r\n");
    WriteAll(member("001"), "[A]\r\n");
    WriteAll(member("000001000"), "[C]\r\n");
    TexIniFile store(base, 40, false);
    EXPECT_EQ(store.FileList(), (QStringList{member("000001000"), member("001"), member("002")}));
    QFile::remove(member("002"));
    EXPECT_EQ(store.FileList(), (QStringList{member("000001000"), member("001")}));
}

// ---- finding sections ----

TEST_F(StoreTest, SecondReadOfTheSameSectionDoesNotTouchTheDisk)
{
    WriteAll(member("001"), "[Page0000001]\r\nName=old\r\n");
    TexIniFile store(base, 40, true);
    EXPECT_EQ(store.ReadString(u"Page0000001"_qs, u"Name"_qs, {}), u"old"_qs);
    WriteAll(member("001"), "[Page0000001]\r\nName=changed\r\n");
    EXPECT_EQ(store.ReadString(u"Page0000001"_qs, u"Name"_qs, {}), u"old"_qs);
    QFile::remove(member("001"));
    EXPECT_EQ(store.ReadString(u"Page0000001"_qs, u"Name"_qs, {}), u"old"_qs);
}

TEST_F(StoreTest, FindsSectionsInAnyMemberWithAndWithoutIndex)
{
    WriteAll(member("001"), "[A]\r\nk=1\r\n");
    WriteAll(member("002"), "[B]\r\nk=2\r\n");
    WriteAll(member("003"), "[C]\r\nk=3\r\n[A]\r\nk=dup\r\n");
    for (bool indexed : {true, false}) {
        TexIniFile store(base, 40, indexed);
        EXPECT_EQ(store.ReadString(u"C"_qs, u"k"_qs, {}), u"3"_qs);
        EXPECT_EQ(store.ReadString(u"B"_qs, u"k"_qs, {}), u"2"_qs);
        EXPECT_EQ(store.ReadInteger(u"c"_qs, u"K"_qs, 0), 3) << "names match in any case";
        EXPECT_TRUE(store.SectionExists(u"B"_qs));
        EXPECT_FALSE(store.SectionExists(u"D"_qs));
        EXPECT_TRUE(store.ValueExists(u"A"_qs, u"k"_qs));
    }
    TexIniFile indexed(base, 40, true);
    EXPECT_EQ(indexed.ReadSections(), (QStringList{u"A"_qs, u"B"_qs, u"C"_qs}));
    EXPECT_EQ(indexed.ReadString(u"A"_qs, u"k"_qs, {}), u"dup"_qs) << "later member wins";
    TexIniFile plain(base, 40, false);
    EXPECT_EQ(plain.ReadSections(), (QStringList{u"A"_qs, u"B"_qs, u"C"_qs, u"A"_qs}));
    EXPECT_EQ(plain.ReadString(u"A"_qs, u"k"_qs, {}), u"1"_qs) << "first member wins";
}

TEST_F(StoreTest, VanishedMemberHoldsNoSection)
{
    WriteAll(member("001"), "[A]\r\nk=1\r\n");
    WriteAll(member("002"), "[B]\r\nk=2\r\n");
    TexIniFile store(base, 40, true);
    EXPECT_EQ(store.ReadString(u"A"_qs, u"k"_qs, {}), u"1"_qs);
    QFile::remove(member("002"));
    EXPECT_EQ(store.ReadString(u"B"_qs, u"k"_qs, u"none"_qs), u"none"_qs);
    EXPECT_FALSE(store.SectionExists(u"B"_qs));
    store.WriteString(u"B"_qs, u"k"_qs, u"again"_qs);
    store.UpdateFile();
    EXPECT_EQ(ReadAll(member("001")), QByteArray("[A]\r\nk=1\r\n[B]\r\nk=again\r\n"));
}

TEST_F(StoreTest, ReadingAnAbsentSectionDoesNotListIt)
{
    WriteAll(member("001"), "[Page0000001]\r\nk=1\r\n");
    TexIniFile store(base, 40, true);
    EXPECT_EQ(store.ReadString(u"Page0000002"_qs, u"k"_qs, u"d"_qs), u"d"_qs);
    EXPECT_EQ(store.ReadSections(), QStringList{u"Page0000001"_qs});
    EXPECT_EQ(store.NewSectionName(u"Page"_qs), u"Page0000002"_qs);
    EXPECT_FALSE(QFile::exists(member("002")));
}

TEST_F(StoreTest, SectionsOfAnotherWriterAreFoundThroughTheFullSearch)
{
    TexIniFile a(base, 40, true);
    a.WriteString(u"A"_qs, u"k"_qs, u"1"_qs);
    a.UpdateFile();
    TexIniFile b(base, 40, true);
    b.WriteString(u"B"_qs, u"k"_qs, u"2"_qs);
    b.UpdateFile();
    EXPECT_EQ(a.ReadString(u"B"_qs, u"k"_qs, {}), u"2"_qs);
    a.WriteString(u"A"_qs, u"k2"_qs, u"x"_qs);
    b.WriteString(u"B"_qs, u"k2"_qs, u"y"_qs);
    a.UpdateFile();
    b.UpdateFile();
    TexIniFile check(base, 40, false);
    EXPECT_EQ(check.ReadSectionValues(u"A"_qs), (QStringList{u"k=1"_qs, u"k2=x"_qs}));
    EXPECT_EQ(check.ReadSectionValues(u"B"_qs), (QStringList{u"k=2"_qs, u"k2=y"_qs}));
    EXPECT_EQ(check.FileList().size(), 1);
}

TEST_F(StoreTest, TwoStoresOnOneFamilyKeepTheLaterChange)
{
    WriteAll(member("001"), "[S]\r\nk=0\r\n[T]\r\nk=0\r\n");
    TexIniFile a(base, 40, true);
    TexIniFile b(base, 40, true);
    EXPECT_EQ(a.ReadString(u"S"_qs, u"k"_qs, {}), u"0"_qs);
    EXPECT_EQ(b.ReadString(u"T"_qs, u"k"_qs, {}), u"0"_qs);
    b.EraseSection(u"S"_qs);
    b.WriteString(u"T"_qs, u"k"_qs, u"1"_qs);
    b.UpdateFile();
    // a still holds what it read: S with k=0, T with k=0.
    a.WriteString(u"S"_qs, u"k"_qs, u"0"_qs);
    a.WriteString(u"T"_qs, u"k"_qs, u"0"_qs);
    a.UpdateFile();
    TexIniFile check(base, 40, true);
    EXPECT_EQ(check.ReadSections(), (QStringList{u"S"_qs, u"T"_qs}));
    EXPECT_EQ(check.ReadString(u"S"_qs, u"k"_qs, {}), u"0"_qs);
    EXPECT_EQ(check.ReadString(u"T"_qs, u"k"_qs, {}), u"0"_qs);
    EXPECT_EQ(a.ReadSections(), (QStringList{u"S"_qs, u"T"_qs}));
}

// ---- erasing ----

TEST_F(StoreTest, ErasedSectionLeavesTheIndexAndIsPlacedAnew)
{
    QByteArray full = filler(u"Big"_qs, 41 * 1024);
    full += "[Page0000005]\r\nName=five\r\n";
    WriteAll(member("001"), full);
    WriteAll(member("002"), "[Page0000001]\r\nName=one\r\n");
    TexIniFile store(base, 40, true);
    EXPECT_EQ(store.ReadString(u"Page0000005"_qs, u"Name"_qs, {}), u"five"_qs);
    store.EraseSection(u"Page0000005"_qs);
    EXPECT_EQ(store.ReadSections(), (QStringList{u"Big"_qs, u"Page0000001"_qs}));
    EXPECT_EQ(store.ReadString(u"Page0000005"_qs, u"Name"_qs, u"gone"_qs), u"gone"_qs);
    store.WriteString(u"Page0000005"_qs, u"Name"_qs, u"again"_qs);
    store.UpdateFile();
    EXPECT_FALSE(ReadAll(member("001")).contains("Page0000005"));
    EXPECT_TRUE(ReadAll(member("002")).endsWith("[Page0000005]\r\nName=again\r\n"));
    EXPECT_EQ(store.ReadSections(), (QStringList{u"Big"_qs, u"Page0000001"_qs, u"Page0000005"_qs}));
}

TEST_F(StoreTest, DeleteKeyRewriteOfAnAbsentKeyLeavesTheBytes)
{
    const QByteArray content = "[S]\r\nb=2\r\na=1\r\n[T]\r\nx=y\r\n";
    WriteAll(member("001"), content);
    TexIniFile store(base, 40, true);
    EXPECT_FALSE(store.DeleteKeyRewrite(u"S"_qs, u"zz"_qs));
    EXPECT_FALSE(store.DeleteKeyRewrite(u"Absent"_qs, u"a"_qs));
    EXPECT_EQ(store.DeleteKeysRewrite(u"S"_qs, {}), 0);
    EXPECT_EQ(store.DeleteKeysRewrite(u"S"_qs, {u"q"_qs}), 0);
    store.UpdateFile();
    EXPECT_EQ(ReadAll(member("001")), content);
}

TEST_F(StoreTest, DeleteKeyRewriteMovesTheSectionToTheEndOfItsMember)
{
    WriteAll(member("001"), "[S]\r\nc=3\r\nb=2\r\na=\"q\"\r\n[T]\r\nx=y\r\n");
    TexIniFile store(base, 40, true);
    EXPECT_TRUE(store.DeleteKeyRewrite(u"S"_qs, u"b"_qs));
    EXPECT_EQ(ReadAll(member("001")), QByteArray("[T]\r\nx=y\r\n[S]\r\nc=3\r\na=q\r\n"));
    EXPECT_EQ(store.DeleteKeysRewrite(u"S"_qs, {u"a"_qs, u"c"_qs, u"none"_qs}), 2);
    EXPECT_EQ(ReadAll(member("001")), QByteArray("[T]\r\nx=y\r\n"));
    EXPECT_EQ(store.ReadSections(), QStringList{u"T"_qs});
}

// ---- encodings ----

TEST_F(StoreTest, ReadPoint)
{
    const struct
    {
        const char* value;
        QPoint expected;
    } cases[] = {{"[12,34]", QPoint(12, 34)}, {"12", QPoint(0, 0)},    {"[0,120]", QPoint(0, 120)},
                 {"[-5, 7]", QPoint(-5, 7)},  {"[a,b]", QPoint(0, 0)}, {"3,4", QPoint(3, 4)},
                 {"[1,2,3]", QPoint(1, 0)},   {"", QPoint(0, 0)}};
    TexIniFile store(base, 40, false);
    for (const auto& c : cases) {
        store.WriteString(u"P"_qs, u"p"_qs, QString::fromUtf8(c.value));
        EXPECT_EQ(store.ReadPoint(u"P"_qs, u"p"_qs), c.expected) << c.value;
    }
    store.WritePoint(u"P"_qs, u"w"_qs, QPoint(-1, 250));
    EXPECT_EQ(store.ReadString(u"P"_qs, u"w"_qs, {}), u"[-1,250]"_qs);
}

TEST_F(StoreTest, ReadFont)
{
    TexIniFile store(base, 40, false);
    KvFontSpec spec;
    spec.font = QFont(u"Arial"_qs, 14);
    spec.font.setBold(true);
    spec.font.setItalic(true);
    store.WriteString(u"F"_qs, u"f"_qs, u"Courier New,9,U,2,clBlue,0"_qs);
    store.ReadFont(u"F"_qs, u"f"_qs, spec);
    EXPECT_EQ(spec.font.family(), u"Courier New"_qs);
    EXPECT_EQ(spec.font.pointSize(), 9);
    EXPECT_FALSE(spec.font.bold());
    EXPECT_FALSE(spec.font.italic());
    EXPECT_TRUE(spec.font.underline());
    EXPECT_FALSE(spec.font.strikeOut());
    EXPECT_TRUE(spec.font.fixedPitch());
    EXPECT_EQ(spec.pitch, 2);
    EXPECT_EQ(spec.color, KvColor::clBlue);
    EXPECT_EQ(spec.charset, 0);

    // Missing trailing fields leave their properties; an empty name keeps the family.
    store.WriteString(u"F"_qs, u"g"_qs, u",12,SB"_qs);
    store.ReadFont(u"F"_qs, u"g"_qs, spec);
    EXPECT_EQ(spec.font.family(), u"Courier New"_qs);
    EXPECT_EQ(spec.font.pointSize(), 12);
    EXPECT_TRUE(spec.font.bold());
    EXPECT_TRUE(spec.font.strikeOut());
    EXPECT_FALSE(spec.font.underline());
    EXPECT_EQ(spec.pitch, 2);
    EXPECT_EQ(spec.color, KvColor::clBlue);

    store.WriteString(u"F"_qs, u"h"_qs, u"Times,x,,y,$00123456,z"_qs);
    store.ReadFont(u"F"_qs, u"h"_qs, spec);
    EXPECT_EQ(spec.font.pointSize(), 12) << "a size that is no number leaves the size";
    EXPECT_EQ(spec.pitch, 0);
    EXPECT_EQ(spec.color, 0x123456);
    EXPECT_EQ(spec.charset, 0);
}

TEST_F(StoreTest, WriteFontRoundTrips)
{
    TexIniFile store(base, 40, false);
    KvFontSpec spec;
    spec.font = QFont(u"Arial"_qs, 10);
    spec.font.setBold(true);
    spec.font.setItalic(true);
    spec.color = KvColor::clWindowText;
    spec.charset = 0;
    store.WriteFont(u"F"_qs, u"f"_qs, spec);
    EXPECT_EQ(store.ReadString(u"F"_qs, u"f"_qs, {}), u"Arial,10,BI,0,clWindowText,0"_qs);
    KvFontSpec back;
    store.ReadFont(u"F"_qs, u"f"_qs, back);
    EXPECT_EQ(KvFontText::Encode(back), u"Arial,10,BI,0,clWindowText,0"_qs);
}

TEST_F(StoreTest, DatesTimesAndFloatsUseTheFixedForms)
{
    TexIniFile store(base, 40, true);
    store.WriteDate(u"D"_qs, u"d"_qs, QDate(2024, 2, 29));
    store.WriteTime(u"D"_qs, u"t"_qs, QTime(7, 8, 9));
    store.WriteDateTime(u"D"_qs, u"dt"_qs, QDateTime(QDate(2024, 2, 29), QTime(7, 8, 9)));
    store.WriteFloat(u"D"_qs, u"f"_qs, 2.75);
    store.WriteString(u"D"_qs, u"iso"_qs, u"2024-02-29"_qs);
    store.WriteString(u"D"_qs, u"bad"_qs, u"x"_qs);
    store.UpdateFile();
    EXPECT_EQ(ReadAll(member("001")), QByteArray("[D]\r\nd=29.02.2024\r\nt=07:08:09\r\n"
                                                 "dt=29.02.2024 07:08:09\r\nf=2,75\r\n"
                                                 "iso=2024-02-29\r\nbad=x\r\n"));
    EXPECT_EQ(store.ReadDate(u"D"_qs, u"d"_qs, {}), QDate(2024, 2, 29));
    EXPECT_EQ(store.ReadDate(u"D"_qs, u"iso"_qs, {}), QDate(2024, 2, 29));
    EXPECT_EQ(store.ReadDate(u"D"_qs, u"bad"_qs, QDate(2000, 1, 1)), QDate(2000, 1, 1));
    EXPECT_EQ(store.ReadTime(u"D"_qs, u"t"_qs, {}), QTime(7, 8, 9));
    EXPECT_EQ(store.ReadDateTime(u"D"_qs, u"dt"_qs, {}),
              QDateTime(QDate(2024, 2, 29), QTime(7, 8, 9)));
    EXPECT_DOUBLE_EQ(store.ReadFloat(u"D"_qs, u"f"_qs, 0), 2.75);
    EXPECT_DOUBLE_EQ(store.ReadFloat(u"D"_qs, u"bad"_qs, -1), -1);
    EXPECT_TRUE(store.ReadBool(u"D"_qs, u"absent"_qs, true));
}

// ---- new ids ----

TEST_F(StoreTest, NewSectionName)
{
    const struct
    {
        const char* sections;
        const char* prefix;
        const char* expected;
    } cases[] = {
        {"", "Page", "Page0000001"},
        {"Page0000001 Page0000002 Page0000004", "Page", "Page0000003"},
        {"Page0000002 Page0000003", "Page", "Page0000001"},
        {"Page0000001 Fldr0000001 Fldr0000002", "Fldr", "Fldr0000003"},
        {"TopFolder TrashFolder Fldr0000001", "Fldr", "Fldr0000002"},
        {"Page0000000 Page0000001", "Page", "Page0000002"},
        {"Pagexyz Page0000001", "Page", "Page0000002"},
        {"page0000001", "Page", "Page0000001"},
        {"Ext0000001 Ext0000003", "Ext", "Ext0000002"},
    };
    for (bool indexed : {true, false}) {
        for (const auto& c : cases) {
            QDir(dir).removeRecursively();
            QDir().mkpath(dir);
            QByteArray content;
            for (const QString& s : QString::fromUtf8(c.sections).split(u' ', Qt::SkipEmptyParts))
                content += "[" + s.toUtf8() + "]\r\nk=1\r\n";
            if (!content.isEmpty())
                WriteAll(member("001"), content);
            TexIniFile store(base, 40, indexed);
            EXPECT_EQ(store.NewSectionName(QString::fromUtf8(c.prefix)),
                      QString::fromUtf8(c.expected))
                << c.sections << (indexed ? " indexed" : "");
        }
    }
}

TEST_F(StoreTest, NewSectionNameFollowsWritesAndErasures)
{
    TexIniFile store(base, 4, true);
    for (int i = 1; i <= 160; ++i) {
        const QString id = store.NewSectionName(u"Page"_qs);
        ASSERT_EQ(id, u"Page%1"_qs.arg(i, 7, 10, QLatin1Char('0')));
        store.WriteString(id, u"Name"_qs, u"page number %1"_qs.arg(i));
    }
    store.EraseSection(u"Page0000150"_qs);
    store.EraseSection(u"Page0000007"_qs);
    EXPECT_EQ(store.NewSectionName(u"Page"_qs), u"Page0000007"_qs);
    store.WriteString(u"Page0000007"_qs, u"Name"_qs, u"again"_qs);
    EXPECT_EQ(store.NewSectionName(u"Page"_qs), u"Page0000150"_qs);
    store.UpdateFile();
    EXPECT_GT(store.FileList().size(), 1) << "small limit spreads sections over members";
    TexIniFile fresh(base, 4, true);
    EXPECT_EQ(fresh.NewSectionName(u"Page"_qs), u"Page0000150"_qs);
    EXPECT_EQ(fresh.ReadSections().size(), 159);
    EXPECT_EQ(fresh.ReadString(u"Page0000160"_qs, u"Name"_qs, {}), u"page number 160"_qs);
}

// ---- failures ----

TEST_F(StoreTest, UnwritableDirectoryRaisesAndKeepsState)
{
    const QString blocker = dir + u"notadir"_qs;
    WriteAll(blocker, "x");
    TexIniFile store(blocker + u"/objprps"_qs, 40, true);
    try {
        store.WriteString(u"Page0000001"_qs, u"Name"_qs, u"n"_qs);
        FAIL() << "no error";
    } catch (const TexIniFile::EIniFileWrite& e) {
        EXPECT_TRUE(e.Message().startsWith(u"In "_qs + blocker + u"/objprps.001"_qs))
            << qPrintable(e.Message());
        EXPECT_TRUE(e.Message().endsWith(u" kann nicht geschrieben werden"_qs));
    }
    EXPECT_THROW(store.WriteInteger(u"Page0000001"_qs, u"n"_qs, 1), TexIniFile::EIniFileWrite);
    EXPECT_THROW(store.WritePoint(u"Page0000001"_qs, u"p"_qs, {}), TexIniFile::EIniFileWrite);
    EXPECT_THROW(store.WriteDate(u"Page0000001"_qs, u"d"_qs, QDate(2020, 1, 1)),
                 TexIniFile::EIniFileWrite);
    EXPECT_THROW(store.EraseSection(u"Page0000001"_qs), TexIniFile::EIniFileWrite);
    EXPECT_NO_THROW(store.DeleteKey(u"Page0000001"_qs, u"Name"_qs));
    EXPECT_NO_THROW(store.UpdateFile());
    EXPECT_TRUE(store.ReadSections().isEmpty());
    EXPECT_EQ(store.ReadString(u"Page0000001"_qs, u"Name"_qs, u"d"_qs), u"d"_qs);
}

TEST_F(StoreTest, FailedFlushKeepsChangesUntilTheDirectoryIsBack)
{
    const QString sub = env.Dir(u"gone"_qs);
    TexIniFile store(sub + u"objprps"_qs, 40, true);
    store.WriteString(u"A"_qs, u"k"_qs, u"kept"_qs);
    ASSERT_TRUE(QDir(sub).removeRecursively());
    EXPECT_THROW(store.UpdateFile(), TexIniFile::EIniFileFlush);
    EXPECT_EQ(store.ReadString(u"A"_qs, u"k"_qs, {}), u"kept"_qs);
    ASSERT_TRUE(QDir().mkpath(sub));
    store.UpdateFile();
    EXPECT_EQ(ReadAll(sub + u"objprps.001"_qs), QByteArray("[A]\r\nk=kept\r\n"));
}

// A flush that cannot write raises, names the member and the system's reason, and keeps the
// changes for the next try. The seam makes it fail also where permissions do not bind.
struct FlushFailureCase
{
    KvFileSeam::Op op;
    int error;
};

void PrintTo(const FlushFailureCase& c, std::ostream* os)
{
    *os << "op " << c.op << " errno " << c.error;
}

class StoreFlushFailure : public StoreTest, public ::testing::WithParamInterface<FlushFailureCase>
{
protected:
    void TearDown() override { KvFileSeam::Disarm(); }
};

TEST_P(StoreFlushFailure, RaisesWithFileAndReasonAndKeepsTheChanges)
{
    const FlushFailureCase& c = GetParam();
    TexIniFile store(base, 40, true);
    store.WriteString(u"A"_qs, u"k"_qs, u"1"_qs);
    store.UpdateFile();
    store.WriteString(u"A"_qs, u"k"_qs, u"2"_qs);
    {
        KvFileSeam::Scope seam({c.op, u"*/objprps.001"_qs, 1, c.error, true});
        for (int attempt = 1; attempt <= 2; ++attempt) {
            try {
                store.UpdateFile();
                ADD_FAILURE() << "no error at attempt " << attempt;
            } catch (const TexIniFile::EIniFileFlush& e) {
                EXPECT_EQ(e.FileName(), member("001"));
                EXPECT_EQ(e.Error(), c.error);
                EXPECT_EQ(e.Message(), u"Die Datei "_qs + member("001") +
                                           u" kann nicht gespeichert werden: "_qs +
                                           KvAtomicFile::ErrorString(c.error));
            }
        }
        EXPECT_FALSE(store.TryUpdateFile());
        EXPECT_EQ(store.ReadString(u"A"_qs, u"k"_qs, {}), u"2"_qs);
    }
    EXPECT_EQ(ReadAll(member("001")), QByteArray("[A]\r\nk=1\r\n"));
    EXPECT_NO_THROW(store.UpdateFile());
    EXPECT_EQ(ReadAll(member("001")), QByteArray("[A]\r\nk=2\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Steps, StoreFlushFailure,
                         ::testing::Values(FlushFailureCase{KvFileSeam::Open, EACCES},
                                           FlushFailureCase{KvFileSeam::Open, EROFS},
                                           FlushFailureCase{KvFileSeam::Write, ENOSPC},
                                           FlushFailureCase{KvFileSeam::Fsync, EIO},
                                           FlushFailureCase{KvFileSeam::Rename, ENOSPC}));

TEST_F(StoreTest, FailureOfAMemberLeftBehindIsReportedAtTheNextFlush)
{
    WriteAll(member("001"), filler(u"Big"_qs, 41 * 1024));
    TexIniFile store(base, 40, true);
    store.WriteString(u"Big"_qs, u"k"_qs, u"changed"_qs);
    {
        KvFileSeam::Scope seam({KvFileSeam::Write, u"*/objprps.001"_qs, 1, ENOSPC, true});
        // Another member becomes current; the flush of the first fails on the way.
        EXPECT_NO_THROW(store.WriteString(u"New"_qs, u"k"_qs, u"v"_qs));
        try {
            store.UpdateFile();
            ADD_FAILURE() << "no error";
        } catch (const TexIniFile::EIniFileFlush& e) {
            EXPECT_EQ(e.FileName(), member("001"));
        }
        EXPECT_EQ(ReadAll(member("002")), QByteArray("[New]\r\nk=v\r\n"));
    }
    store.UpdateFile();
    EXPECT_TRUE(ReadAll(member("001")).endsWith("k=changed\r\n"));
}

TEST_F(StoreTest, DestroyingAStoreThatCannotFlushRaisesNothing)
{
    {
        KvFileSeam::Scope seam({KvFileSeam::AnyWrite, QString(), 1, EIO, true});
        EXPECT_NO_THROW({
            TexIniFile store(base, 40, true);
            store.WriteString(u"A"_qs, u"k"_qs, u"v"_qs);
        });
    }
    EXPECT_FALSE(QFile::exists(member("001")));
}

TEST_F(StoreTest, MemberThatMayNotBeWrittenRaisesAsForAnyUser)
{
    TexIniFile store(base, 40, true);
    store.WriteString(u"Page0000001"_qs, u"Name"_qs, u"n"_qs);
    store.UpdateFile();
    KvFileSeam::Scope seam({KvFileSeam::Access, u"*/objprps.001"_qs, 1, EROFS, true});
    try {
        store.WriteString(u"Page0000001"_qs, u"Name"_qs, u"m"_qs);
        FAIL() << "no error";
    } catch (const TexIniFile::EIniFileWrite& e) {
        EXPECT_EQ(e.Message(), u"In "_qs + member("001") + u" kann nicht geschrieben werden"_qs);
    }
    EXPECT_THROW(store.WriteInteger(u"Page0000001"_qs, u"n"_qs, 1), TexIniFile::EIniFileWrite);
    EXPECT_THROW(store.EraseSection(u"Page0000001"_qs), TexIniFile::EIniFileWrite);
    EXPECT_NO_THROW(store.DeleteKey(u"Page0000001"_qs, u"Name"_qs));
    EXPECT_NO_THROW(store.UpdateFile());
    EXPECT_EQ(store.ReadString(u"Page0000001"_qs, u"Name"_qs, {}), u"n"_qs);
    EXPECT_EQ(ReadAll(member("001")), QByteArray("[Page0000001]\r\nName=n\r\n"));
}

TEST_F(StoreTest, CopyKeepsIndexButNoCurrentMember)
{
    WriteAll(member("001"), "[A]\r\nk=1\r\n");
    TexIniFile store(base, 40, true);
    EXPECT_EQ(store.ReadSections(), QStringList{u"A"_qs});
    TexIniFile copy(store);
    EXPECT_EQ(copy.BasePath(), base);
    EXPECT_EQ(copy.ReadSections(), QStringList{u"A"_qs});
    copy.WriteString(u"B"_qs, u"k"_qs, u"2"_qs);
    copy.UpdateFile();
    EXPECT_EQ(store.ReadString(u"B"_qs, u"k"_qs, {}), u"2"_qs);
}

} // namespace
