#include "app/kvoptionsg.h"
#include "app/kvpaths.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

class Options : public ::testing::Test
{
protected:
    korvtest::SandboxEnv env;
};

TEST_F(Options, DefaultsWithoutGlobals)
{
    WriteAll(KvPaths::SettingsFile(), "[Korvelle]\r\nVersion=1\r\n");
    const KvOptionsG o;
    EXPECT_TRUE(o.TreeLines);
    EXPECT_EQ(o.StartMode, 2);
    EXPECT_TRUE(o.MsgMovePageWP);
    EXPECT_EQ(o.BGColActNode, 10789024);
    EXPECT_EQ(o.LeftMargin, 2000);
    EXPECT_EQ(o.BottomMargin, 2000);
    EXPECT_TRUE(o.WPNoFolderDelete);
    EXPECT_FALSE(o.SaveHistory);
    EXPECT_EQ(o.PathDelimiter, u"/"_qs);
    EXPECT_FALSE(o.HasFontNavTree);
    EXPECT_EQ(o.IconFile(), QString());
}

TEST_F(Options, ReadsBothSpellingsAndColourTexts)
{
    struct Case
    {
        QByteArray line;
        int color;
    };
    const Case cases[] = {
        {"BGColActNode=255", 255},
        {"BgColActNode=clRed", 0x0000FF},
        {"bgcolactnode=$00FF0000", 0xFF0000},
        {"BGColActNode=nonsense", 10789024},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.constData());
        WriteAll(KvPaths::SettingsFile(), "[Globals]\r\n" + c.line + "\r\nWPNoFolderDelete=0\r\n");
        const KvOptionsG o;
        EXPECT_EQ(o.BGColActNode, c.color);
        EXPECT_FALSE(o.WPNoFolderDelete);
    }
}

TEST_F(Options, StoreWritesEverythingButPathDelimiterAndReadsBack)
{
    WriteAll(KvPaths::SettingsFile(), "[Globals]\r\nPathDelimiter=\\\r\n");
    {
        KvOptionsG o;
        EXPECT_EQ(o.PathDelimiter, u"\\"_qs);
        o.SaveHistory = true;
        o.SortOrder = 2;
        o.UseOwnIcons = true;
        o.IconDefinitions = u"/icons/my.kvi"_qs;
        o.HasFontLists = true;
        o.FontLists.font.setFamily(u"DejaVu Sans"_qs);
        o.FontLists.font.setPointSize(11);
        o.PathDelimiter = u"::"_qs;
        o.Store();
    }
    const QByteArray bytes = ReadAll(KvPaths::SettingsFile());
    EXPECT_TRUE(bytes.contains("BGColActNode=10789024\r\n"));
    EXPECT_TRUE(bytes.contains("WPNoFolderDelete=1\r\n"));
    EXPECT_TRUE(bytes.contains("PathDelimiter=\\\r\n")) << "never written by the program";
    const KvOptionsG again;
    EXPECT_TRUE(again.SaveHistory);
    EXPECT_EQ(again.SortOrder, 2);
    EXPECT_EQ(again.IconFile(), u"/icons/my.kvi"_qs);
    EXPECT_TRUE(again.HasFontLists);
    EXPECT_EQ(again.FontLists.font.family(), u"DejaVu Sans"_qs);
    EXPECT_EQ(again.FontLists.font.pointSize(), 11);
}

TEST(WindowTitle, Rules)
{
    struct Case
    {
        bool folderInTitle;
        QString name;
        bool readOnly;
        QString expected;
    };
    const QString dir = u"/home/u/Documents/Korvelle/"_qs;
    const Case cases[] = {
        {false, u"Projekte"_qs, false, u"Korvelle"_qs},
        {true, u"Projekte"_qs, false, u"Projekte - Korvelle"_qs},
        {true, QString(), false, u"[/home/u/Documents/Korvelle/] - Korvelle"_qs},
        {false, QString(), true, u"Korvelle ***(Nur Lesen)***"_qs},
        {true, u"Projekte"_qs, true, u"Projekte - Korvelle ***(Nur Lesen)***"_qs},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KvWindowTitle(c.folderInTitle, c.name, dir, c.readOnly), c.expected);
}

} // namespace
