// What a click on a link does: elements, keywords, files relative to the data directory,
// network names, Windows paths, programs that are asked for first, and addresses.
#include "app/kvmounttable.h"
#include "app/kvtexts.h"
#include "links/kvlinkpaths.h"
#include "links/kvlinkresolve.h"
#include "linksfixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

using korvtest::WriteAll;
using Kind = KvLinkAction::Kind;

class LinkResolve : public korvtest::LinksFixture
{
protected:
    void SetUp() override
    {
        LinksFixture::SetUp();
        files = QFileInfo(m_env.Dir(u"files"_qs)).canonicalFilePath() + u'/';
        share = QFileInfo(m_env.Dir(u"mnt/team"_qs)).canonicalFilePath();
        WriteAll(files + u"Brief.txt"_qs, "Hallo");
        WriteAll(files + u"Bild 1.png"_qs, "\x89PNG\r\n\x1a\n");
        WriteAll(files + u"Programm"_qs, "\x7f"
                                         "ELF\x02\x01\x01");
        QFile::setPermissions(files + u"Programm"_qs,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        WriteAll(files + u"skript.sh"_qs, "#!/bin/sh\necho hallo\n");
        WriteAll(files + u"start.desktop"_qs, "[Desktop Entry]\nExec=xterm\n");
        WriteAll(files + u"100%.txt"_qs, "x");
        QDir().mkpath(m_dir + u"sub"_qs);
        WriteAll(m_dir + u"sub/x.txt"_qs, "x");
        mounts = KvMountTable::Parse(
            u"36 25 0:45 / %1 rw - cifs //srv/team rw\n"_qs.arg(share).toUtf8());
    }
    KvLinkAction Resolve(const QString& url) { return KvLinkResolve::Resolve(url, m_dir, &mounts); }

    QString files;
    QString share;
    KvMountTable mounts;
};

TEST_F(LinkResolve, ClicksOnEveryKindOfLink)
{
    const QString broken5050 = KvTexts::Message(5050, {u"Page0000099"_qs});
    const QString broken5051 = KvTexts::Message(5051, {u"Fldr0000099"_qs});
    const struct
    {
        QString url;
        Kind kind;
        QString value; // id, keyword, target or message
    } cases[] = {
        // Elements: the id decides, not the name; renamed or moved elements are found.
        {u"file://*Page0000001*(alter Name)"_qs, Kind::ShowElement, u"Page0000001"_qs},
        {u"<file://*Fldr0000001*(Projekte)>"_qs, Kind::ShowElement, u"Fldr0000001"_qs},
        {u"file://*TopFolder*(Notizen)"_qs, Kind::ShowElement, u"TopFolder"_qs},
        {u"file://*TrashFolder*(Papierkorb)"_qs, Kind::ShowElement, u"TrashFolder"_qs},
        {u"file://*Page0000003*(Alt)"_qs, Kind::ShowElement, u"Page0000003"_qs},
        {u"file://*Page0000099*(weg)"_qs, Kind::Broken, broken5050},
        {u"file://*Fldr0000099*(weg)"_qs, Kind::Broken, broken5051},
        // Keywords, a leading star kept.
        {u"file://*Keyword:*wichtig*"_qs, Kind::Keyword, u"*wichtig"_qs},
        // Files and directories.
        {u"file://"_qs + files + u"Brief.txt"_qs, Kind::Open, files + u"Brief.txt"_qs},
        {u"file://"_qs + files + u"Bild 1.png"_qs, Kind::Open, files + u"Bild 1.png"_qs},
        {u"file://"_qs + files, Kind::Open, QDir::cleanPath(files)},
        {u"file://"_qs + files + u"fehlt.txt"_qs, Kind::Open, files + u"fehlt.txt"_qs},
        {u"file://"_qs + files + u"100%.txt"_qs, Kind::Open, files + u"100%.txt"_qs},
        {u"file://"_qs + QString(files).replace(u" "_qs, u"%20"_qs) + u"Bild%201.png"_qs,
         Kind::Open, files + u"Bild 1.png"_qs},
        // Programs, scripts and launchers are asked for first.
        {u"file://"_qs + files + u"Programm"_qs, Kind::Ask, files + u"Programm"_qs},
        {u"file://"_qs + files + u"skript.sh"_qs, Kind::Ask, files + u"skript.sh"_qs},
        {u"file://"_qs + files + u"start.desktop"_qs, Kind::Ask, files + u"start.desktop"_qs},
        // Relative to the data directory, in both marker forms; "\" as separator too.
        {u"file://*RelPath*\\sub/x.txt"_qs, Kind::Open, m_dir + u"sub/x.txt"_qs},
        {u"file://*RelPath*\\sub\\x.txt"_qs, Kind::Open, m_dir + u"sub/x.txt"_qs},
        {u"file://<RelPath>\\sub\\x.txt"_qs, Kind::Open, m_dir + u"sub/x.txt"_qs},
        {u"file://*RelPath*\\"_qs, Kind::Open, QDir::cleanPath(m_dir)},
        {u"file://sub/x.txt"_qs, Kind::Open, m_dir + u"sub/x.txt"_qs},
        // Only a leading marker counts.
        {u"file:///x/*RelPath*\\y"_qs, Kind::Open, u"/x/*RelPath*\\y"_qs},
        // Network names: the share's mount here, else the smb address.
        {u"file://\\\\srv\\team\\Plan.txt"_qs, Kind::Open, share + u"/Plan.txt"_qs},
        {u"file:////SRV/Team/a b.txt"_qs, Kind::Open, share + u"/a b.txt"_qs},
        {u"file://\\\\nas\\fotos\\a b.jpg"_qs, Kind::Open, u"smb://nas/fotos/a%20b.jpg"_qs},
        // Windows drives cannot be opened here.
        {u"file://C:\\Daten\\x.txt"_qs, Kind::Refused,
         KvTexts::Message(5752, {u"C:\\Daten\\x.txt"_qs})},
        {u"file://d:/x"_qs, Kind::Refused, KvTexts::Message(5752, {u"d:/x"_qs})},
        // Addresses, encoded.
        {u"http://example.org/a b"_qs, Kind::Open, u"http://example.org/a%20b"_qs},
        {u"http://example.org/?u=file:///etc"_qs, Kind::Open,
         u"http://example.org/?u=file:///etc"_qs},
        {u"ftp://ftp.example.org/pub/"_qs, Kind::Open, u"ftp://ftp.example.org/pub/"_qs},
        {u"https://de.example.org/Stra\u00dfe"_qs, Kind::Open,
         u"https://de.example.org/Stra%C3%9Fe"_qs},
        // Nothing with a scheme: nothing the desktop could open.
        {QString(), Kind::Refused, KvTexts::Message(5756, {QString()})},
        {u"Notizen"_qs, Kind::Refused, KvTexts::Message(5756, {u"Notizen"_qs})},
    };
    for (const auto& c : cases) {
        const KvLinkAction a = Resolve(c.url);
        EXPECT_EQ(a.kind, c.kind) << c.url.toStdString();
        const QString value = a.kind == Kind::ShowElement                         ? a.id
                              : a.kind == Kind::Keyword                           ? a.keyword
                              : a.kind == Kind::Broken || a.kind == Kind::Refused ? a.message
                                                                                  : a.target;
        EXPECT_EQ(value, c.value) << c.url.toStdString();
    }
}

TEST_F(LinkResolve, TheMountTableIsReadOnlyForNetworkNames)
{
    // The sandbox has no mount table: a network name goes to the smb address.
    EXPECT_EQ(KvLinkResolve::Resolve(u"file://\\\\srv\\team\\x"_qs, m_dir).target,
              u"smb://srv/team/x"_qs);
    m_env.Dir(u"proc"_qs);
    WriteAll(m_env.Data().mountInfo,
             u"36 25 0:45 / %1 rw - cifs //srv/team rw\n"_qs.arg(share).toUtf8());
    EXPECT_EQ(KvLinkResolve::Resolve(u"file://\\\\srv\\team\\x"_qs, m_dir).target,
              share + u"/x"_qs);
    EXPECT_EQ(KvLinkResolve::Resolve(u"file://"_qs + files + u"Brief.txt"_qs, m_dir).target,
              files + u"Brief.txt"_qs);
}

TEST_F(LinkResolve, RunsCodeDecidesByBitsNameAndType)
{
    EXPECT_FALSE(KvLinkResolve::RunsCode(files + u"Brief.txt"_qs));
    EXPECT_FALSE(KvLinkResolve::RunsCode(files)) << "a directory";
    EXPECT_FALSE(KvLinkResolve::RunsCode(files + u"fehlt"_qs));
    EXPECT_TRUE(KvLinkResolve::RunsCode(files + u"Programm"_qs));
    QFile::setPermissions(files + u"Programm"_qs, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(KvLinkResolve::RunsCode(files + u"Programm"_qs)) << "an executable by its type";
    EXPECT_TRUE(KvLinkResolve::RunsCode(files + u"skript.sh"_qs)) << "a script by its type";
    EXPECT_TRUE(KvLinkResolve::RunsCode(files + u"start.desktop"_qs));
}

} // namespace
