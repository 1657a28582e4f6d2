#include "store/kvdirstores.h"
#include "store/kvtempfile.h"
#include "store/waitcrsr.h"
#include "support/testenv.h"

#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <gtest/gtest.h>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

class DirStoresTest : public ::testing::Test
{
protected:
    void TearDown() override { KvDirStores::Close(); }

    korvtest::SandboxEnv env;
    QString data = env.Dir(u"data"_qs);
    QString other = env.Dir(u"other"_qs);
    QString settings = env.Dir(u"settings"_qs);
};

TEST_F(DirStoresTest, StoresWriteTheirFamilies)
{
    KvDirStores::Close();
    EXPECT_FALSE(KvDirStores::IsOpen());
    EXPECT_THROW(KvDirStores::PageStore(), KvDirStores::ENotOpen);
    KvDirStores::Reopen(data);
    KvDirStores::Open(settings.chopped(1)); // without the trailing slash
    ASSERT_TRUE(KvDirStores::IsOpen());
    KvDirStores::ObjectStore().WriteString(u"Page0000001"_qs, u"Name"_qs, u"o"_qs);
    KvDirStores::KeywordStore().WriteString(u"K"_qs, u"k"_qs, u"w"_qs);
    KvDirStores::FolderStore().WriteString(u"Fldr0000001"_qs, u"k"_qs, u"f"_qs);
    KvDirStores::PageStore().WriteString(u"Page0000001"_qs, u"k"_qs, u"p"_qs);
    KvDirStores::DirPropsStore().WriteString(u"D"_qs, u"k"_qs, u"d"_qs);
    KvDirStores::StylesStore().WriteString(u"S"_qs, u"k"_qs, u"s"_qs);
    KvDirStores::FlushAll();
    EXPECT_EQ(ReadAll(data + u"objprps.001"_qs), QByteArray("[Page0000001]\r\nName=o\r\n"));
    EXPECT_TRUE(QFile::exists(data + u"keywords.001"_qs));
    EXPECT_TRUE(QFile::exists(data + u"Fldrprps.001"_qs));
    EXPECT_TRUE(QFile::exists(data + u"Pageprps.001"_qs));
    EXPECT_TRUE(QFile::exists(settings + u"dirprps.001"_qs));
    EXPECT_TRUE(QFile::exists(settings + u"Styles.001"_qs));
    EXPECT_EQ(KvDirStores::DataDir(), data);
    EXPECT_EQ(KvDirStores::SettingsDir(), settings);
    EXPECT_TRUE(KvDirStores::ObjStore().HasSection(u"Page0000001"_qs));
    EXPECT_FALSE(KvDirStores::ObjStore().HasSection(u"page0000001"_qs));
}

TEST_F(DirStoresTest, ReopenFlushesAndSwitchesDirectory)
{
    KvDirStores::Reopen(data);
    TexIniFile* before = &KvDirStores::PageStore();
    KvDirStores::ObjectStore().WriteString(u"A"_qs, u"k"_qs, u"1"_qs);
    KvDirStores::PageStore().WriteString(u"P"_qs, u"k"_qs, u"1"_qs);
    KvDirStores::Reopen(other);
    EXPECT_NE(&KvDirStores::PageStore(), before);
    EXPECT_EQ(ReadAll(data + u"objprps.001"_qs), QByteArray("[A]\r\nk=1\r\n"));
    EXPECT_EQ(ReadAll(data + u"Pageprps.001"_qs), QByteArray("[P]\r\nk=1\r\n"));
    EXPECT_EQ(KvDirStores::ObjectStore().ReadString(u"A"_qs, u"k"_qs, u"none"_qs), u"none"_qs);
    EXPECT_EQ(KvDirStores::ObjectStore().BasePath(), other + u"objprps"_qs);
}

TEST_F(DirStoresTest, SnapshotsServeReadsWhileInstalled)
{
    KvDirStores::Reopen(data);
    KvDirStores::ObjectStore().WriteString(u"Fldr0000001"_qs, u"Name"_qs, u"Top"_qs);
    KvDirStores::FolderStore().WriteString(u"Fldr0000001"_qs, u"Flag"_qs, u"2"_qs);
    KvDirStores::PageStore().WriteString(u"Page0000001"_qs, u"Empty"_qs, QString());
    EXPECT_TRUE(KvReadSources::Folder().ReadBool(u"Fldr0000001"_qs, u"Flag"_qs, false));
    {
        KvSnapshotScope scope;
        EXPECT_TRUE(KvReadSources::SnapshotsInstalled());
        EXPECT_FALSE(KvReadSources::Folder().ReadBool(u"Fldr0000001"_qs, u"Flag"_qs, true));
        EXPECT_EQ(KvReadSources::Page().ReadString(u"Page0000001"_qs, u"Empty"_qs, u"d"_qs),
                  u"d"_qs);
        KvDirStores::ObjectStore().WriteString(u"Fldr0000001"_qs, u"Name"_qs, u"Renamed"_qs);
        EXPECT_EQ(KvReadSources::Object().ReadString(u"Fldr0000001"_qs, u"Name"_qs, {}), u"Top"_qs);
    }
    EXPECT_FALSE(KvReadSources::SnapshotsInstalled());
    EXPECT_EQ(KvReadSources::Object().ReadString(u"Fldr0000001"_qs, u"Name"_qs, {}), u"Renamed"_qs);
    EXPECT_EQ(KvReadSources::Page().ReadString(u"Page0000001"_qs, u"Empty"_qs, u"d"_qs), QString());
}

TEST(TempFile, MakesUniqueEmptyFilesWithTheExtension)
{
    korvtest::SandboxEnv env;
    const QString a = KvTempFileName(u"kvp"_qs, u"rtf"_qs);
    const QString b = KvTempFileName(u"kvp"_qs, u".rtf"_qs);
    const QString c = KvTempFileName(u"kvp"_qs);
    for (const QString& path : {a, b, c}) {
        ASSERT_FALSE(path.isEmpty());
        const QFileInfo info(path);
        EXPECT_TRUE(info.exists()) << qPrintable(path);
        EXPECT_EQ(info.size(), 0);
        EXPECT_TRUE(info.fileName().startsWith(u"kvp"_qs));
        EXPECT_TRUE(path.startsWith(env.Data().tempDir));
    }
    EXPECT_NE(a, b);
    EXPECT_TRUE(a.endsWith(u".rtf"_qs));
    EXPECT_TRUE(c.endsWith(u".tmp"_qs));
    EXPECT_EQ(QDir(env.Data().tempDir).entryList(QDir::Files).size(), 3) << "no leftovers";

    env.Data().tempDir = env.Root() + u"missing/"_qs;
    env.Apply();
    EXPECT_TRUE(KvTempFileName(u"kvp"_qs, u"rtf"_qs).isEmpty());
}

TEST(WaitCursor, SetsAndRestoresTheOverrideCursor)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        WaitCrsr outer;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            WaitCrsr inner(Qt::BusyCursor);
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BusyCursor);
        }
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace
