// The mount table and what the links make of it: network names of paths on SMB shares
// (kernel and desktop mounts) and the way back to the local mount; the welcome page's
// lookup.
#include "app/kvmounttable.h"
#include "app/kvpaths.h"
#include "support/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

using korvtest::WriteAll;

namespace {

// A line of /proc/self/mountinfo.
QByteArray Line(const QString& root, const QString& mountPoint, const QString& type,
                const QString& source, const QString& optional = u"shared:1"_qs)
{
    QString escaped = mountPoint;
    escaped.replace(u' ', u"\\040"_qs);
    return u"36 25 0:45 %1 %2 rw,relatime %3 - %4 %5 rw\n"_qs
        .arg(root, escaped, optional, type, source)
        .toUtf8();
}

TEST(MountTable, ParsesFieldsEscapesAndOptionalFields)
{
    const QByteArray text = Line(u"/"_qs, u"/"_qs, u"ext4"_qs, u"/dev/sda1"_qs) +
                            Line(u"/"_qs, u"/mnt/Team Daten"_qs, u"cifs"_qs, u"//srv/team"_qs) +
                            "garbage line\n" +
                            Line(u"/"_qs, u"/mnt/x"_qs, u"smb3"_qs, u"//srv/x"_qs, u""_qs);
    const KvMountTable t = KvMountTable::Parse(text);
    ASSERT_EQ(t.Mounts().size(), 3);
    EXPECT_EQ(t.Mounts()[1].mountPoint, u"/mnt/Team Daten"_qs);
    EXPECT_EQ(t.Mounts()[1].fsType, u"cifs"_qs);
    EXPECT_EQ(t.Mounts()[1].source, u"//srv/team"_qs);
    EXPECT_EQ(t.Mounts()[2].fsType, u"smb3"_qs) << "no optional fields";
}

TEST(MountTable, NetworkNamesOfPaths)
{
    const QByteArray text =
        Line(u"/"_qs, u"/"_qs, u"ext4"_qs, u"/dev/sda1"_qs) +
        Line(u"/"_qs, u"/mnt/team"_qs, u"cifs"_qs, u"//Srv/Team"_qs) +
        Line(u"/"_qs, u"/mnt/prefixed"_qs, u"smb3"_qs, u"//srv/data/projects"_qs) +
        Line(u"/sub"_qs, u"/mnt/bound"_qs, u"cifs"_qs, u"//srv/data"_qs) +
        Line(u"/"_qs, u"/mnt/team/local"_qs, u"ext4"_qs, u"/dev/sdb1"_qs) +
        Line(u"/"_qs, u"/run/user/1000/gvfs"_qs, u"fuse.gvfsd-fuse"_qs, u"gvfsd-fuse"_qs);
    const KvMountTable t = KvMountTable::Parse(text);
    const struct
    {
        const char16_t* path;
        const char16_t* unc;
    } cases[] = {
        {u"/mnt/team/a/b.txt", u"\\\\Srv\\Team\\a\\b.txt"},
        {u"/mnt/team", u"\\\\Srv\\Team"},
        {u"/mnt/teamwork/x", u""},   // only whole path parts count
        {u"/mnt/team/local/x", u""}, // a local disk mounted on the share
        {u"/mnt/prefixed/x", u"\\\\srv\\data\\projects\\x"},
        {u"/mnt/bound/x", u"\\\\srv\\data\\sub\\x"}, // a bind mount of a share's directory
        {u"/run/user/1000/gvfs/smb-share:server=nas,share=fotos,user=anna/2023/a.jpg",
         u"\\\\nas\\fotos\\2023\\a.jpg"},
        {u"/run/user/1000/gvfs/smb-share:server=nas,share=my%20docs", u"\\\\nas\\my docs"},
        {u"/run/user/1000/gvfs/sftp:host=nas/x", u""},
        {u"/home/anna/x", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.UncName(QString::fromUtf16(c.path)), QString::fromUtf16(c.unc))
            << QString::fromUtf16(c.path).toStdString();
}

TEST(MountTable, SplitsNetworkNames)
{
    const struct
    {
        const char16_t* text;
        bool ok;
        const char16_t* server;
        const char16_t* share;
        const char16_t* rest;
    } cases[] = {
        {u"\\\\srv\\team\\a\\b.txt", true, u"srv", u"team", u"a/b.txt"},
        {u"//srv/team/a/b.txt", true, u"srv", u"team", u"a/b.txt"},
        {u"\\\\srv\\team", true, u"srv", u"team", u""},
        {u"\\\\srv", false, u"", u"", u""},
        {u"\\\\\\srv\\team", false, u"", u"", u""},
        {u"/srv/team", false, u"", u"", u""},
        {u"C:\\x", false, u"", u"", u""},
    };
    for (const auto& c : cases) {
        QString server, share, rest;
        const QString text = QString::fromUtf16(c.text);
        ASSERT_EQ(KvMountTable::SplitUnc(text, server, share, rest), c.ok) << text.toStdString();
        if (!c.ok)
            continue;
        EXPECT_EQ(server, QString::fromUtf16(c.server));
        EXPECT_EQ(share, QString::fromUtf16(c.share));
        EXPECT_EQ(rest, QString::fromUtf16(c.rest));
    }
}

TEST(MountTable, LocalPathsOfSharesKernelMountsFirstThenTheDesktops)
{
    korvtest::SandboxEnv env;
    const QString gvfs = env.Dir(u"gvfs"_qs);
    QDir().mkpath(gvfs + u"smb-share:server=nas,share=fotos,user=anna"_qs);
    const QByteArray text =
        Line(u"/"_qs, u"/mnt/team"_qs, u"cifs"_qs, u"//srv/team"_qs) +
        Line(u"/"_qs, u"/mnt/projects"_qs, u"cifs"_qs, u"//srv/data/projects"_qs) +
        Line(u"/"_qs, u"/mnt/data"_qs, u"cifs"_qs, u"//srv/data"_qs) +
        Line(u"/"_qs, QDir::cleanPath(gvfs), u"fuse.gvfsd-fuse"_qs, u"gvfsd-fuse"_qs);
    const KvMountTable t = KvMountTable::Parse(text);
    EXPECT_EQ(t.LocalPath(u"SRV"_qs, u"Team"_qs, u"a/b.txt"_qs), u"/mnt/team/a/b.txt"_qs);
    EXPECT_EQ(t.LocalPath(u"srv"_qs, u"team"_qs, QString()), u"/mnt/team"_qs);
    EXPECT_EQ(t.LocalPath(u"srv"_qs, u"data"_qs, u"projects/x"_qs), u"/mnt/projects/x"_qs)
        << "the mount that stands for more of the name";
    EXPECT_EQ(t.LocalPath(u"srv"_qs, u"data"_qs, u"other/x"_qs), u"/mnt/data/other/x"_qs);
    EXPECT_EQ(t.LocalPath(u"Nas"_qs, u"FOTOS"_qs, u"2023"_qs),
              QDir::cleanPath(gvfs) + u"/smb-share:server=nas,share=fotos,user=anna/2023"_qs);
    EXPECT_EQ(t.LocalPath(u"nas"_qs, u"musik"_qs, u"x"_qs), QString());
    EXPECT_EQ(t.LocalPath(u"other"_qs, u"team"_qs, u"x"_qs), QString());
}

TEST(MountTable, UniversalNameAnswersTheReasonCodes)
{
    korvtest::SandboxEnv env;
    const QString share = QFileInfo(env.Dir(u"mnt/team"_qs)).canonicalFilePath();
    const QString local = QFileInfo(env.Dir(u"home"_qs)).canonicalFilePath();
    WriteAll(share + u"/plan.txt"_qs, "x");
    WriteAll(local + u"/notes.txt"_qs, "x");

    // No mount table: not supported.
    QString path = share + u"/plan.txt"_qs;
    EXPECT_EQ(KvPaths::UniversalName(path), 5);
    EXPECT_EQ(path, share + u"/plan.txt"_qs);

    env.Dir(u"proc"_qs);
    WriteAll(env.Data().mountInfo, Line(u"/"_qs, u"/"_qs, u"ext4"_qs, u"/dev/sda1"_qs) +
                                       Line(u"/"_qs, share, u"cifs"_qs, u"//srv/team"_qs));
    EXPECT_EQ(KvPaths::UniversalName(path), 0);
    EXPECT_EQ(path, u"\\\\srv\\team\\plan.txt"_qs);

    path = local + u"/notes.txt"_qs;
    EXPECT_EQ(KvPaths::UniversalName(path), 8) << "a local disk";
    EXPECT_EQ(path, local + u"/notes.txt"_qs);

    path = share + u"/missing.txt"_qs;
    EXPECT_EQ(KvPaths::UniversalName(path), 1);
    path.clear();
    EXPECT_EQ(KvPaths::UniversalName(path), 1);

    // A symbolic link into the share is named after the share.
    ASSERT_TRUE(QFile::link(share, local + u"/team-link"_qs));
    path = local + u"/team-link/plan.txt"_qs;
    EXPECT_EQ(KvPaths::UniversalName(path), 0);
    EXPECT_EQ(path, u"\\\\srv\\team\\plan.txt"_qs);
}

TEST(MountTable, WelcomeFileLookupOrder)
{
    korvtest::SandboxEnv env;
    const QString xdgUser = env.Root() + u"xdg/user/"_qs;
    const QString xdgSystem = env.Root() + u"xdg/system/"_qs;
    env.Data().dataDirs = {xdgUser, xdgSystem};
    env.Apply();
    EXPECT_EQ(KvPaths::WelcomeFile(), QString());

    const QString inSystem = xdgSystem + u"korvelle/welcome.rtf"_qs;
    const QString inUser = xdgUser + u"korvelle/welcome.rtf"_qs;
    const QString inShare = env.Root() + u"share/korvelle/welcome.rtf"_qs;
    const QString beside = env.Data().programDir + u"welcome.rtf"_qs;
    QDir().mkpath(xdgSystem + u"korvelle"_qs);
    WriteAll(inSystem, "{\\rtf1 x}");
    EXPECT_EQ(KvPaths::WelcomeFile(), inSystem);
    QDir().mkpath(xdgUser + u"korvelle"_qs);
    WriteAll(inUser, "{\\rtf1 x}");
    EXPECT_EQ(KvPaths::WelcomeFile(), inUser);
    QDir().mkpath(env.Root() + u"share/korvelle"_qs);
    WriteAll(inShare, "{\\rtf1 x}");
    EXPECT_EQ(KvPaths::WelcomeFile(), inShare);
    WriteAll(beside, "{\\rtf1 x}");
    EXPECT_EQ(KvPaths::WelcomeFile(), beside);
    // A directory of that name is no welcome page.
    QFile::remove(beside);
    QDir().mkpath(beside);
    EXPECT_EQ(KvPaths::WelcomeFile(), inShare);
}

} // namespace
