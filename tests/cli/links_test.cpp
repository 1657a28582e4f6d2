// korvnote-cli link, resolve and fill on a hand-made notebook: their output, their errors
// (exit status, one line, no byte changed), also under another instance's lock.
#include "app/kvtexts.h"
#include "clifixture.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace korvtest;

namespace {

const QString kNow = u"2024-06-05T14:03:09"_qs; // a Wednesday
// A folder's new-page layout, with its template, is its own only with a font of its own.
const QString kFont = u"Font=Arial,10,,0,clWindowText,0"_qs;

// The hand-made notebook of the fixture, and:
//   Projekte (Fldr0000001): the template Page0000006 "&DATE Bericht" (status 2, keyword
//     "Team"), a page "Preis <netto>" (Page0000007), a sub-folder Unter (Fldr0000004)
//     that inherits the template
//   Geheim (Fldr0000002): the protected Page0000001 as template
//   Leer (Fldr0000003): a layout of its own without a template
//   the top folder: Page0000003 in the trash as template
class CliLinks : public CliFixture, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        WriteHandMade();
        // The hand-made member files, each section in one of them, with the additions.
        WriteMember(m_dir + u"objprps.001"_qs, {u"[TopFolder]"_qs,
                                                u"Name=Ordner"_qs,
                                                u"Item0000001=Fldr0000001"_qs,
                                                u"Item0000002=Page0000001"_qs,
                                                u"Item0000003=Fldr0000002"_qs,
                                                u"Item0000004=Fldr0000003"_qs,
                                                u"[TrashFolder]"_qs,
                                                u"Name=Papierkorb"_qs,
                                                u"Item0000001=Page0000003"_qs,
                                                u"[Fldr0000001]"_qs,
                                                u"Name=Projekte"_qs,
                                                u"Item0000001=Page0000002"_qs,
                                                u"Item0000002=Page0000004"_qs,
                                                u"Item0000003=Page0000006"_qs,
                                                u"Item0000004=Page0000007"_qs,
                                                u"Item0000005=Fldr0000004"_qs,
                                                u"[Fldr0000002]"_qs,
                                                u"Name=Geheim"_qs,
                                                u"[Fldr0000003]"_qs,
                                                u"Name=Leer"_qs,
                                                u"[Fldr0000004]"_qs,
                                                u"Name=Unter"_qs,
                                                u"[Page0000001]"_qs,
                                                u"Name=Willkommen"_qs,
                                                u"[Page0000002]"_qs,
                                                u"Name=Plan"_qs,
                                                u"[Page0000003]"_qs,
                                                u"Name=Alt"_qs,
                                                u"[Page0000004]"_qs,
                                                u"Ref2=Page0000001"_qs,
                                                u"[Page0000005]"_qs,
                                                u"Name=Verloren"_qs,
                                                u"[Page0000006]"_qs,
                                                u"Name=&DATE Bericht"_qs,
                                                u"[Page0000007]"_qs,
                                                u"Name=Preis <netto>"_qs});
        WriteMember(m_dir + u"Fldrprps.001"_qs,
                    {u"[TopFolder]"_qs, u"Status=0"_qs, u"PageTempl=Page0000003"_qs,
                     u"[Fldr0000001]"_qs, u"Status=2"_qs, u"PageTempl=Page0000006"_qs, kFont,
                     u"[Fldr0000002]"_qs, u"PageTempl=Page0000001"_qs, kFont, u"[Fldr0000003]"_qs,
                     kFont});
        WriteMember(m_dir + u"Pageprps.002"_qs, {u"[Page0000006]"_qs, u"Status=2"_qs});
        WriteMember(m_dir + u"keywords.001"_qs, {u"[Page0000006]"_qs, u"Kwds=Team"_qs});
        WriteAll(m_dir + u"Page0000006.kvp"_qs,
                 "{\\rtf1\\ansi &TITLE in &FOLDER (&PATH), {\\b &date}, &DAY, &STATE, "
                 "&KEYWORDS, &MODDATETIME, &USER\\par}");
        WriteAll(m_dir + u"Page0000007.kvp"_qs, "{\\rtf1\\ansi netto\\par}");
        files = QFileInfo(m_env.Dir(u"files"_qs)).canonicalFilePath() + u'/';
        WriteAll(files + u"Brief.txt"_qs, "Hallo");
        WriteAll(files + u"skript.sh"_qs, "#!/bin/sh\necho hallo\n");
        QFile::setPermissions(files + u"skript.sh"_qs,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir().mkpath(m_dir + u"Anhang"_qs);
        WriteAll(m_dir + u"Anhang/Plan.pdf"_qs, "%PDF-1.4");
        if (GetParam())
            WriteAll(m_dir + u"lockdir.dat"_qs, kLockOfAnother);
    }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    QStringList Args(const QStringList& args) const
    {
        QStringList out;
        for (QString a : args)
            out.append(a.replace(u"<D>/"_qs, m_dir)
                           .replace(u"<D>"_qs, m_dir)
                           .replace(u"<F>/"_qs, files)
                           .replace(u"<R>/"_qs, m_env.Root()));
        return out;
    }
    CliResult Run(const QStringList& args, const QByteArray& stdinText = {})
    {
        return RunCli(Args(args), stdinText);
    }
    QString Out(const QStringList& args, const QByteArray& stdinText = {})
    {
        const CliResult r = Run(args, stdinText);
        EXPECT_EQ(r.code, 0) << args.join(u' ').toStdString() << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty())
            << args.join(u' ').toStdString() << ": " << r.err.toStdString();
        return QString::fromUtf8(r.out);
    }

    QString files;
};

TEST_P(CliLinks, LinkTextsOfElementsFilesAndKeywords)
{
    EXPECT_EQ(Out({u"link"_qs, u"<D>"_qs, u"Page0000002"_qs, u"Fldr0000001"_qs, u"TopFolder"_qs,
                   u"Page0000004"_qs, u"Page0000007"_qs}),
              u"<file://*Page0000002*(Plan)>\n"
              "<file://*Fldr0000001*(Projekte)>\n"
              "<file://*TopFolder*(Ordner)>\n"
              "<file://*Page0000004*(Willkommen)>\n"
              "<file://*Page0000007*(Preis \u2039netto\u203A)>\n"_qs);
    const struct
    {
        QStringList args;
        QString link;
    } cases[] = {
        {{u"--path"_qs, u"<F>/Brief.txt"_qs}, u"<file://"_qs + files + u"Brief.txt>"_qs},
        {{u"--path"_qs, u"<F>/"_qs}, u"<file://"_qs + files.chopped(1) + u">"_qs},
        {{u"--path"_qs, u"<D>/Anhang/Plan.pdf"_qs, u"--relative"_qs},
         u"<file://*RelPath*\\Anhang/Plan.pdf>"_qs},
        {{u"--path"_qs, u"<D>/Anhang"_qs, u"--relative"_qs}, u"<file://*RelPath*\\Anhang>"_qs},
        {{u"--keyword"_qs, u"*wichtig"_qs}, u"<file://*Keyword:*wichtig*>"_qs},
        {{u"--keyword"_qs, u"zwei Worte"_qs}, u"<file://*Keyword:zwei Worte*>"_qs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Out(QStringList{u"link"_qs, u"<D>"_qs} + c.args), c.link + u'\n')
            << c.args.join(u' ').toStdString();
}

TEST_P(CliLinks, NetworkNamesFromTheMountTable)
{
    const QString share = QFileInfo(m_env.Dir(u"mnt/team"_qs)).canonicalFilePath();
    WriteAll(share + u"/Plan.txt"_qs, "x");
    m_env.Dir(u"proc"_qs);
    WriteAll(m_env.Data().mountInfo,
             u"36 25 0:45 / %1 rw - cifs //srv/team rw\n"_qs.arg(share).toUtf8());
    EXPECT_EQ(Out({u"link"_qs, u"<D>"_qs, u"--path"_qs, share + u"/Plan.txt"_qs, u"--unc"_qs}),
              u"<file://\\\\srv\\team\\Plan.txt>\n"_qs);
    EXPECT_EQ(Out({u"resolve"_qs, u"<D>"_qs, u"<file://\\\\srv\\team\\Plan.txt>"_qs}),
              u"open "_qs + share + u"/Plan.txt\n"_qs);
    EXPECT_EQ(Out({u"resolve"_qs, u"<D>"_qs, u"file://\\\\nas\\fotos\\a b.jpg"_qs}),
              u"open smb://nas/fotos/a%20b.jpg\n"_qs);
}

TEST_P(CliLinks, WhatAClickDoes)
{
    const struct
    {
        QString link;
        QString line;
    } cases[] = {
        {u"<file://*Page0000002*(alter Name)>"_qs, u"element Page0000002"_qs},
        {u" <file://*Fldr0000001*(Projekte)>"_qs, u"element Fldr0000001"_qs},
        {u"file://*TrashFolder*(Papierkorb)"_qs, u"element TrashFolder"_qs},
        {u"file://*Page0000005*(Verloren)"_qs, u"element Page0000005"_qs}, // lost, still there
        {u"file://*Keyword:*wichtig*"_qs, u"keyword *wichtig"_qs},
        {u"file://*RelPath*\\Anhang\\Plan.pdf"_qs, u"open "_qs + m_dir + u"Anhang/Plan.pdf"_qs},
        {u"file://<RelPath>\\Anhang/Plan.pdf"_qs, u"open "_qs + m_dir + u"Anhang/Plan.pdf"_qs},
        {u"file://<F>/Brief.txt"_qs, u"open <F>/Brief.txt"_qs},
        {u"file://<F>/skript.sh"_qs, u"ask <F>/skript.sh"_qs},
        {u"http://example.org/a b?x=<1>"_qs, u"open http://example.org/a%20b?x=%3C1%3E"_qs},
        {u"ftp://ftp.example.org/pub"_qs, u"open ftp://ftp.example.org/pub"_qs},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Out({u"resolve"_qs, u"<D>"_qs, c.link}), Args({c.line}).first() + u'\n')
            << c.link.toStdString();
}

TEST_P(CliLinks, TheTextANewPageStartsWith)
{
    const QString text = u"Protokoll in Projekte (Ordner/Projekte), 05.06.24, Mittwoch, "
                         "in Bearbeitung, Team, 05.06.24 14:03:09, tester\n"_qs;
    EXPECT_EQ(Out({u"fill"_qs, u"<D>"_qs, u"Fldr0000001"_qs, u"--name"_qs, u"Protokoll"_qs,
                   u"--now"_qs, kNow}),
              text);
    // The proposed name from the template's name; inherited by the sub-folder.
    EXPECT_EQ(
        Out({u"fill"_qs, u"<D>"_qs, u"Fldr0000001"_qs, u"--proposed-name"_qs, u"--now"_qs, kNow}),
        u"05.06.24 Bericht\n"_qs);
    EXPECT_EQ(Out({u"fill"_qs, u"<D>"_qs, u"Fldr0000004"_qs, u"--now"_qs, kNow}),
              u"05.06.24 Bericht in Unter (Ordner/Projekte/Unter), 05.06.24, Mittwoch, "
              "in Bearbeitung, Team, 05.06.24 14:03:09, tester\n"_qs);
    // RTF keeps the formats: the date stays bold.
    const QString rtf = Out({u"fill"_qs, u"<D>"_qs, u"Fldr0000001"_qs, u"--name"_qs, u"P"_qs,
                             u"--now"_qs, kNow, u"--format"_qs, u"rtf"_qs});
    EXPECT_TRUE(rtf.startsWith(u"{\\rtf1"_qs));
    EXPECT_TRUE(rtf.contains(u"\\b 05.06.24"_qs)) << rtf.toStdString();
    // A protected template with its password; one in the trash gives nothing.
    EXPECT_EQ(Out({u"fill"_qs, u"<D>"_qs, u"Fldr0000002"_qs, u"--password-stdin"_qs},
                  kWelcomePassword.toUtf8() + "\n"),
              u"Willkommen im Notizbuch\n"_qs);
    EXPECT_EQ(Out({u"fill"_qs, u"<D>"_qs, u"TopFolder"_qs}), QString());
    EXPECT_EQ(Out({u"fill"_qs, u"<D>"_qs, u"TopFolder"_qs, u"--proposed-name"_qs}),
              KvTexts::Text(5800) + u'\n');
}

struct ErrorCase
{
    const char* name;
    QStringList args;
    QByteArray stdinText;
    int code;
    QString message; // the whole line on standard error, without "korvnote-cli CMD: "
};

TEST_P(CliLinks, ErrorsOneLineNothingChanged)
{
    const ErrorCase cases[] = {
        {"unknown id",
         {u"link"_qs, u"<D>"_qs, u"Page0000002"_qs, u"Page0000099"_qs},
         {},
         1,
         u"unknown id: Page0000099"_qs},
        {"no id", {u"link"_qs, u"<D>"_qs}, {}, 2, u"missing argument: DIR ID..."_qs},
        {"path and keyword",
         {u"link"_qs, u"<D>"_qs, u"--path"_qs, u"x"_qs, u"--keyword"_qs, u"k"_qs},
         {},
         2,
         u"--path and --keyword exclude each other"_qs},
        {"relative and unc",
         {u"link"_qs, u"<D>"_qs, u"--path"_qs, u"x"_qs, u"--relative"_qs, u"--unc"_qs},
         {},
         2,
         u"--relative and --unc exclude each other"_qs},
        {"relative without path",
         {u"link"_qs, u"<D>"_qs, u"--relative"_qs},
         {},
         2,
         u"--relative and --unc need --path"_qs},
        {"relative outside",
         {u"link"_qs, u"<D>"_qs, u"--path"_qs, u"<F>/Brief.txt"_qs, u"--relative"_qs},
         {},
         1,
         KvTexts::Message(14520, {u"<D>/"_qs})},
        {"unc without mount table",
         {u"link"_qs, u"<D>"_qs, u"--path"_qs, u"<F>/Brief.txt"_qs, u"--unc"_qs},
         {},
         1,
         KvTexts::Text(14500) + u' ' + KvTexts::Text(14505)},
        {"angle brackets in a path",
         {u"link"_qs, u"<D>"_qs, u"--path"_qs, u"/tmp/a<b>.txt"_qs},
         {},
         1,
         KvTexts::Message(5753, {u"/tmp/a<b>.txt"_qs})},
        {"keyword that does not fit",
         {u"link"_qs, u"<D>"_qs, u"--keyword"_qs, u"a*b"_qs},
         {},
         1,
         KvTexts::Message(5754, {u"a*b"_qs})},
        {"no data directory",
         {u"link"_qs, u"<R>/"_qs, u"--keyword"_qs, u"k"_qs},
         {},
         1,
         u"not a data directory (no objprps member files): <R>/"_qs},
        {"broken page link",
         {u"resolve"_qs, u"<D>"_qs, u"<file://*Page0000099*(x)>"_qs},
         {},
         1,
         KvTexts::Message(5050, {u"Page0000099"_qs})},
        {"broken folder link",
         {u"resolve"_qs, u"<D>"_qs, u"file://*Fldr0000099*(x)"_qs},
         {},
         1,
         KvTexts::Message(5051, {u"Fldr0000099"_qs})},
        {"windows drive",
         {u"resolve"_qs, u"<D>"_qs, u"file://C:\\Daten\\x.txt"_qs},
         {},
         1,
         KvTexts::Text(5008) + u" -> ("_qs + KvTexts::Message(5752, {u"C:\\Daten\\x.txt"_qs}) +
             u')'},
        {"resolve without link",
         {u"resolve"_qs, u"<D>"_qs},
         {},
         2,
         u"missing argument: DIR LINK"_qs},
        {"no template",
         {u"fill"_qs, u"<D>"_qs, u"Fldr0000003"_qs},
         {},
         1,
         u"folder Fldr0000003 has no template"_qs},
        {"fill a page",
         {u"fill"_qs, u"<D>"_qs, u"Page0000002"_qs},
         {},
         1,
         u"Page0000002 is a page, not a folder"_qs},
        {"fill unknown",
         {u"fill"_qs, u"<D>"_qs, u"Fldr0000099"_qs},
         {},
         1,
         u"unknown id: Fldr0000099"_qs},
        {"fill without password",
         {u"fill"_qs, u"<D>"_qs, u"Fldr0000002"_qs, u"--password-stdin"_qs},
         {},
         1,
         u"template page Page0000001 is protected and its password was not given"_qs},
        {"fill wrong password",
         {u"fill"_qs, u"<D>"_qs, u"Fldr0000002"_qs, u"--password-stdin"_qs},
         "falsch\n",
         1,
         u"template page Page0000001 is protected and its password was not given"_qs},
        {"fill bad time",
         {u"fill"_qs, u"<D>"_qs, u"Fldr0000001"_qs, u"--now"_qs, u"gestern"_qs},
         {},
         2,
         u"--now needs a time as YYYY-MM-DDTHH:MM:SS, not 'gestern'"_qs},
        {"fill bad format",
         {u"fill"_qs, u"<D>"_qs, u"Fldr0000001"_qs, u"--format"_qs, u"html"_qs},
         {},
         2,
         u"unknown format 'html' (txt or rtf)"_qs},
        {"fill name and proposal",
         {u"fill"_qs, u"<D>"_qs, u"Fldr0000001"_qs, u"--name"_qs, u"x"_qs, u"--proposed-name"_qs},
         {},
         2,
         u"--name and --proposed-name exclude each other"_qs},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = DirContents(m_env.Root());
        const CliResult r = Run(c.args, c.stdinText);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        const QString expected =
            u"korvnote-cli %1: %2\n"_qs.arg(c.args.first(), Args({c.message}).first());
        EXPECT_EQ(QString::fromUtf8(r.err), expected);
        EXPECT_TRUE(DirContents(m_env.Root()) == before);
    }
}

TEST_P(CliLinks, ReadingWritesNothing)
{
    const auto before = DirContents(m_dir);
    const QStringList commands[] = {
        {u"link"_qs, u"<D>"_qs, u"Page0000002"_qs, u"Page0000005"_qs},
        {u"link"_qs, u"<D>"_qs, u"--path"_qs, u"<D>/Anhang"_qs, u"--relative"_qs},
        {u"resolve"_qs, u"<D>"_qs, u"file://*Page0000002*(Plan)"_qs},
        {u"fill"_qs, u"<D>"_qs, u"Fldr0000001"_qs},
        {u"fill"_qs, u"<D>"_qs, u"Fldr0000004"_qs, u"--format"_qs, u"rtf"_qs},
        {u"fill"_qs, u"<D>"_qs, u"Fldr0000002"_qs, u"--password-stdin"_qs},
    };
    for (const QStringList& args : commands) {
        const CliResult r = Run(args, kWelcomePassword.toUtf8() + "\n");
        EXPECT_EQ(r.code, 0) << args.join(u' ').toStdString() << r.err.toStdString();
        EXPECT_TRUE(DirContents(m_dir) == before) << args.join(u' ').toStdString();
    }
    EXPECT_EQ(QFile::exists(m_dir + u"lockdir.dat"_qs), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Lock, CliLinks, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Locked" : "Unlocked"; });

} // namespace
