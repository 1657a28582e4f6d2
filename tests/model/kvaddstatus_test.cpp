#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "model/kvaddstatus.h"
#include "model/kvstatusimages.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace korvtest;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

class StatusTest : public ::testing::Test
{
protected:
    void WriteCatalogue(const QString& path, const QString& lines)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        WriteAll(path, (u"[Globals]\r\nX=1\r\n[AdditionalStatus]\r\n"_qs + lines).toUtf8());
    }

    SandboxEnv env;
};

TEST_F(StatusTest, BuiltInStatusesUseTheTextTable)
{
    for (int n = 0; n <= 13; ++n)
        EXPECT_EQ(StatusText(n, nullptr), KvTexts::Text(11200 + n)) << n;
    EXPECT_EQ(StatusText(0, nullptr), u"(unbestimmt)"_qs);
    EXPECT_EQ(StatusText(13, nullptr), u"Information"_qs);
    EXPECT_EQ(StatusText(14, nullptr), QString());
    EXPECT_EQ(StatusText(-1, nullptr), QString());
}

TEST_F(StatusTest, CatalogueEntriesFollowTheBuiltInOnes)
{
    WriteCatalogue(KvPaths::SettingsFile(), u"Warten=wait.bmp\r\nDelegiert=/abs/deleg.bmp\r\n"_qs);
    const KvAddStatus catalogue;
    ASSERT_EQ(catalogue.Count(), 2);
    EXPECT_EQ(StatusText(14, &catalogue), u"Warten"_qs);
    EXPECT_EQ(StatusText(15, &catalogue), u"Delegiert"_qs);
    EXPECT_EQ(StatusText(16, &catalogue), QString());
    EXPECT_EQ(KvStatusImages::ForPage(15), 19);
    EXPECT_EQ(KvStatusImages::ForFolder(15), 19);
    EXPECT_EQ(catalogue.IconFileAt(0),
              QFileInfo(KvPaths::SettingsFile()).absoluteDir().filePath(u"wait.bmp"_qs));
    EXPECT_EQ(catalogue.IconFileAt(1), u"/abs/deleg.bmp"_qs);
}

TEST_F(StatusTest, DataDirectoryCopyTakesPrecedence)
{
    WriteCatalogue(KvPaths::SettingsFile(), u"Global=g.bmp\r\n"_qs);
    const QString data = env.Dir(u"notes"_qs);
    const QString other = env.Dir(u"other"_qs);
    WriteCatalogue(data + QFileInfo(KvPaths::SettingsFile()).fileName(),
                   u"Lokal=l.bmp\r\nZwei=z.bmp\r\n"_qs);
    KvAddStatus catalogue;
    catalogue.SetAddedIconCount(1);
    catalogue.LoadForDirectory(data);
    ASSERT_EQ(catalogue.Count(), 2);
    EXPECT_EQ(catalogue.NameAt(0), u"Lokal"_qs);
    EXPECT_EQ(catalogue.IconFileAt(0), data + u"l.bmp"_qs);
    EXPECT_EQ(catalogue.AddedIconCount(), 1); // the image layer still has to take them off
    catalogue.LoadForDirectory(other);
    ASSERT_EQ(catalogue.Count(), 1);
    EXPECT_EQ(catalogue.NameAt(0), u"Global"_qs);
}

TEST_F(StatusTest, MissingSettingsFileGivesAnEmptyCatalogue)
{
    const KvAddStatus catalogue;
    EXPECT_EQ(catalogue.Count(), 0);
    EXPECT_EQ(catalogue.NameAt(0), QString());
}

TEST_F(StatusTest, ImageNumbersAndBuiltInImages)
{
    EXPECT_EQ(KvStatusImages::ForFolder(0), KvStatusImages::Folder);
    EXPECT_EQ(KvStatusImages::ForPage(0), 4);
    EXPECT_EQ(KvStatusImages::ForFolder(3), 7);
    for (int i = 0; i < 18; ++i) {
        const QString path = KvStatusImages::BuiltInImage(i);
        ASSERT_FALSE(path.isEmpty()) << i;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        EXPECT_TRUE(f.readAll().contains("viewBox=\"0 0 16 16\"")) << path.toStdString();
    }
    EXPECT_TRUE(KvStatusImages::BuiltInImage(18).isEmpty());
}

TEST_F(StatusTest, IconKeys)
{
    EXPECT_EQ(KvStatusImages::IconKey(0, true), u"STAT_UNDEF_FOLDER"_qs);
    EXPECT_EQ(KvStatusImages::IconKey(0, false), u"STAT_UNDEF_PAGE"_qs);
    EXPECT_EQ(KvStatusImages::IconKey(1, false), u"STAT_NOTFINISHED"_qs);
    EXPECT_EQ(KvStatusImages::IconKey(13, false), u"STAT_INFORMATION"_qs);
    EXPECT_EQ(KvStatusImages::IconKey(14, false), QString());
}

} // namespace
