// Paths the hyperlink dialog writes: relative to the data directory and network names.
#include "app/kvtexts.h"
#include "links/kvlinkpaths.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

using korvtest::WriteAll;

TEST(LinkPaths, RelativeToTheDataDirectory)
{
    korvtest::SandboxEnv env;
    const QString data = QFileInfo(env.Dir(u"Daten"_qs)).canonicalFilePath() + u'/';
    const QString other = QFileInfo(env.Dir(u"Anderes"_qs)).canonicalFilePath() + u'/';
    QDir().mkpath(data + u"sub"_qs);
    WriteAll(data + u"sub/x.txt"_qs, "x");
    // A symbolic link to the data directory and one from it to elsewhere.
    ASSERT_TRUE(QFile::link(QDir::cleanPath(data), env.Root() + u"DatenLink"_qs));
    const QString viaLink = env.Root() + u"DatenLink/"_qs;

    const struct
    {
        QString path;
        QString dataDir;
        std::optional<QString> relative;
    } cases[] = {
        {data + u"sub/x.txt"_qs, data, u"*RelPath*\\sub/x.txt"_qs},
        {data + u"sub"_qs, data, u"*RelPath*\\sub"_qs},
        {data + u"sub/"_qs, data, u"*RelPath*\\sub"_qs},
        {data, data, u"*RelPath*\\"_qs},
        {QDir::cleanPath(data), data, u"*RelPath*\\"_qs},
        {data + u"sub/../sub/x.txt"_qs, data, u"*RelPath*\\sub/x.txt"_qs},
        {other + u"x.txt"_qs, data, std::nullopt},
        {QDir::cleanPath(data) + u"2/x.txt"_qs, data, std::nullopt}, // a sibling "Daten2"
        {data.toUpper() + u"sub/x.txt"_qs, data, std::nullopt},      // letter case counts
        // Symbolic links are resolved when the plain paths differ.
        {viaLink + u"sub/x.txt"_qs, data, u"*RelPath*\\sub/x.txt"_qs},
        {data + u"sub/x.txt"_qs, viaLink, u"*RelPath*\\sub/x.txt"_qs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvLinkPaths::Relative(c.path, c.dataDir), c.relative) << c.path.toStdString();
}

TEST(LinkPaths, NetworkNamesAndTheirReasons)
{
    korvtest::SandboxEnv env;
    const QString share = QFileInfo(env.Dir(u"mnt/team"_qs)).canonicalFilePath();
    const QString local = QFileInfo(env.Dir(u"home"_qs)).canonicalFilePath();
    WriteAll(share + u"/x.txt"_qs, "x");
    WriteAll(local + u"/y.txt"_qs, "y");

    EXPECT_EQ(KvLinkPaths::Unc(share + u"/x.txt"_qs).code, 5) << "no mount table";
    env.Dir(u"proc"_qs);
    WriteAll(env.Data().mountInfo, u"36 25 0:45 / %1 rw - cifs //srv/team rw\n"
                                   "20 1 8:1 / / rw - ext4 /dev/sda1 rw\n"_qs.arg(share)
                                       .toUtf8());
    const KvLinkPaths::UncResult onShare = KvLinkPaths::Unc(share + u"/x.txt"_qs);
    EXPECT_EQ(onShare.code, 0);
    EXPECT_EQ(onShare.name, u"\\\\srv\\team\\x.txt"_qs);
    const KvLinkPaths::UncResult dirOnShare = KvLinkPaths::Unc(share);
    EXPECT_EQ(dirOnShare.name, u"\\\\srv\\team"_qs) << "directory links too";
    EXPECT_EQ(KvLinkPaths::Unc(local + u"/y.txt"_qs).code, 8);
    EXPECT_EQ(KvLinkPaths::Unc(local + u"/fehlt.txt"_qs).code, 1);
    EXPECT_TRUE(KvLinkPaths::Unc(local + u"/y.txt"_qs).name.isEmpty());

    const struct
    {
        int code;
        int text;
    } reasons[] = {{1, 14501}, {2, 14502}, {5, 14505}, {8, 14508}, {99, 14599}, {42, 14599}};
    for (const auto& r : reasons)
        EXPECT_EQ(KvLinkPaths::ReasonText(r.code), r.text) << r.code;
}

} // namespace
