#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "app/kvupgrade.h"
#include "platform/applog.h"
#include "support/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

class Paths : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvAppLog::Close();
        KvAppLog::SetEnabled(false);
    }
    void TearDown() override
    {
        KvPaths::ResetDataDirCache();
        KvAppLog::Close();
        KvAppLog::SetEnabled(false);
    }
    void bootstrap(const QByteArray& ini)
    {
        WriteAll(env.Data().programDir + u"korvnote.stg", ini);
    }
    QString xdgSettings() { return env.Data().configHome + u"korvelle/"; }

    korvtest::SandboxEnv env;
};

TEST_F(Paths, SettingsDirResolution)
{
    const QString userDir = env.Dir(u"settings-user"_qs);
    const QString allDir = env.Dir(u"settings-all"_qs);
    struct Case
    {
        const char* name;
        QByteArray ini;
        QString expected;
    };
    const Case cases[] = {
        {"noBootstrap", {}, xdgSettings()},
        {"ownEntry", "[tester]\r\nSettingsDir=" + userDir.toUtf8() + "\r\n", userDir},
        {"ownEntryWithoutSlash", "[tester]\r\nSettingsDir=" + userDir.chopped(1).toUtf8() + "\r\n",
         userDir},
        {"sectionNameIgnoresCase", "[TESTER]\r\nsettingsdir=" + userDir.toUtf8() + "\r\n", userDir},
        {"otherUserFallsBackToAllUsers",
         "[someoneelse]\r\nSettingsDir=" + userDir.toUtf8() +
             "\r\n[All Users]\r\nSettingsDir=" + allDir.toUtf8() + "\r\n",
         allDir},
        {"otherUserOnly", "[someoneelse]\r\nSettingsDir=" + userDir.toUtf8() + "\r\n",
         xdgSettings()},
        {"missingDirectoryFallsBack", "[tester]\r\nSettingsDir=/no/such/dir\r\n", xdgSettings()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(env.Data().programDir + u"korvnote.stg");
        if (!c.ini.isEmpty())
            bootstrap(c.ini);
        EXPECT_EQ(KvPaths::SettingsDir(), c.expected);
        EXPECT_EQ(KvPaths::SettingsFile(), c.expected + u"korvnote.stg");
    }
    EXPECT_TRUE(QFileInfo(xdgSettings()).isDir()) << "the fallback directory is created";
}

TEST_F(Paths, ApplogSwitchOnlyWithoutConfiguredSettingsDir)
{
    const QString userDir = env.Dir(u"settings-user"_qs);
    bootstrap("[tester]\r\nSettingsDir=" + userDir.toUtf8() + "\r\nWrite2Applog=1\r\n");
    KvPaths::SettingsDir();
    EXPECT_FALSE(KvAppLog::Enabled());

    bootstrap("[tester]\r\nWrite2Applog=1\r\n");
    KvPaths::SettingsDir();
    EXPECT_TRUE(KvAppLog::Enabled());

    KvAppLog::SetDirectoryResolver(&KvPaths::SettingsDir);
    const QString log = xdgSettings() + u"applog.txt";
    WriteAll(log, "old content of an earlier run\r\n");
    KvAppLog::Write(u"first"_qs);
    {
        KV_LOG_SCOPE("TMainF::OnIdle");
    }
    const QList<QByteArray> lines = ReadAll(log).split('\n');
    ASSERT_EQ(lines.size(), 4); // three lines and the empty rest after the last CR LF
    EXPECT_TRUE(lines[0].endsWith(" first\r"));
    EXPECT_TRUE(lines[1].endsWith(" TMainF::OnIdle entry\r"));
    EXPECT_TRUE(lines[2].endsWith(" TMainF::OnIdle end\r"));
    // "dd.MM.yyyy HH:mm:ss text"
    EXPECT_EQ(lines[0].at(2), '.');
    EXPECT_EQ(lines[0].at(5), '.');
    EXPECT_EQ(lines[0].at(10), ' ');
    EXPECT_FALSE(ReadAll(log).contains("old content"));
}

TEST_F(Paths, DefaultDataDirIsCreatedWithReadMe)
{
    const QString expected = env.Data().documentsDir + u"Korvelle/";
    EXPECT_EQ(KvPaths::DefaultDataDir(), expected);
    EXPECT_EQ(KvPaths::DataDir(), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());

    KvPaths::SetDataDir(KvPaths::DataDir(), false);
    const QByteArray readme = ReadAll(expected + u"ReadMe.txt");
    QByteArray want;
    for (int n = 5035; n <= 5039; ++n)
        want += KvTexts::Text(n).toUtf8() + "\r\n";
    EXPECT_EQ(readme, want);
    EXPECT_TRUE(readme.startsWith("Dieses Verzeichnis enthält 'Korvelle'-Daten.\r\n"));
}

TEST_F(Paths, DefaultDataDirWithoutDocumentsFolder)
{
    env.Data().documentsDir.clear();
    env.Apply();
    EXPECT_EQ(KvPaths::DefaultDataDir(), env.Data().programDir + u"Data/");
}

TEST_F(Paths, ConfiguredDataDirIsNotCreatedAndRememberWritesActFolder)
{
    const QString other = env.Root() + u"elsewhere/notes"_qs;
    WriteAll(KvPaths::SettingsFile(), "[Korvelle]\r\nActFolder=" + other.toUtf8() + "\r\n");
    EXPECT_EQ(KvPaths::DataDir(), other + u'/');
    EXPECT_FALSE(QFileInfo::exists(other)) << "only the default directory is created";

    const QString chosen = env.Dir(u"chosen"_qs);
    KvPaths::SetDataDir(chosen.chopped(1), true);
    EXPECT_EQ(KvPaths::DataDir(), chosen);
    KvPaths::ResetDataDirCache();
    EXPECT_EQ(KvPaths::DataDir(), chosen) << "remembered in the settings file";
    EXPECT_TRUE(QFileInfo::exists(chosen + u"ReadMe.txt"));

    const QString temporary = env.Dir(u"temporary"_qs);
    KvPaths::SetDataDir(temporary, false);
    KvPaths::ResetDataDirCache();
    EXPECT_EQ(KvPaths::DataDir(), chosen) << "a directory from the command line is not remembered";
}

TEST_F(Paths, ExistingReadMeIsKept)
{
    const QString dir = env.Dir(u"data"_qs);
    WriteAll(dir + u"ReadMe.txt", "mine");
    KvPaths::SetDataDir(dir, false);
    EXPECT_EQ(ReadAll(dir + u"ReadMe.txt"), QByteArray("mine"));
}

TEST_F(Paths, StorePaths)
{
    const QString data = env.Dir(u"data"_qs);
    KvPaths::SetDataDir(data, false);
    for (const char* name : {"objprps", "Fldrprps", "Pageprps", "keywords", "bookmark", "srchres",
                             "history", "lockdir.dat"})
        EXPECT_EQ(KvPaths::StorePath(QString::fromLatin1(name)), data + QString::fromLatin1(name));
    EXPECT_EQ(KvPaths::StorePath(u"dirprps"_qs), xdgSettings() + u"dirprps");
    EXPECT_EQ(KvPaths::StorePath(u"Styles"_qs), xdgSettings() + u"Styles");
}

TEST(PathHelpers, TrailingSlashDriveAndInvalidChars)
{
    EXPECT_EQ(KvPaths::WithTrailingSlash(QString()), QString());
    EXPECT_EQ(KvPaths::WithTrailingSlash(u"/a"_qs), u"/a/"_qs);
    EXPECT_EQ(KvPaths::WithTrailingSlash(u"/a/"_qs), u"/a/"_qs);

    korvtest::SandboxEnv env;
    EXPECT_EQ(KvPaths::WithDrive(u"\\Settings"_qs), u"\\Settings"_qs) << "no drive on Linux";
    env.Data().programDir = u"D:/Programs/Korvelle/"_qs;
    env.Apply();
    EXPECT_EQ(KvPaths::WithDrive(u"\\Settings\\"_qs), u"D:\\Settings\\"_qs);
    EXPECT_EQ(KvPaths::WithDrive(u"\\\\server\\share"_qs), u"\\\\server\\share"_qs);
    EXPECT_EQ(KvPaths::WithDrive(u"/Settings"_qs), u"/Settings"_qs);

    EXPECT_EQ(KvPaths::ReplaceInvalidChars(u"a/b:c"_qs, u" "_qs), u"a b c"_qs);
    EXPECT_EQ(KvPaths::ReplaceInvalidChars(u"a/b:c"_qs, u"#"_qs), u"a#b#c"_qs);
    EXPECT_EQ(KvPaths::ReplaceInvalidChars(u"\\\"*?<>|"_qs, u"_"_qs), u"_______"_qs);

    QString path = u"/mnt/share"_qs;
    EXPECT_EQ(KvPaths::UniversalName(path), 5);
    EXPECT_EQ(path, u"/mnt/share"_qs);
}

TEST_F(Paths, VersionRecord)
{
    {
        KvUpgrade first;
        EXPECT_EQ(first.StoredVersion(), u"Pre-Version"_qs);
        EXPECT_TRUE(first.Differs());
        first.StoreRunningVersion();
    }
    KvUpgrade second;
    EXPECT_EQ(second.StoredVersion(), KvUpgrade::ProductVersion());
    EXPECT_FALSE(second.Differs());
    EXPECT_TRUE(ReadAll(xdgSettings() + u"korvnote.stg").contains("[Korvelle]\r\nVersion="));
}

} // namespace
