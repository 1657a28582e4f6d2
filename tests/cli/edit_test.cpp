// The subcommands that change a notebook: each on a small hand-made notebook with check
// clean afterwards, a bulk add, and the errors that change no byte.
#include "app/kvdirprops.h"
#include "clifixture.h"
#include "store/kvdirstores.h"

#include <QFile>
#include <QRegularExpression>

using namespace korvtest;

namespace {

const QByteArray kNotiz = "{\\rtf1\\ansi{\\header Kopf}\\trowd\\cellx1234 Zelle\\cell\\row}\r\n";

class CliEdit : public CliFixture
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        WriteSmall();
    }

    // Top: Projekte (Plan, a referrer of Willkommen), Willkommen (protected), Archiv
    // (Notiz); trash: Alt.
    void WriteSmall()
    {
        WriteMember(m_dir + u"objprps.001"_qs, {u"[TopFolder]"_qs,
                                                u"Name=Ordner"_qs,
                                                u"Item0000001=Fldr0000001"_qs,
                                                u"Item0000002=Page0000001"_qs,
                                                u"Item0000003=Fldr0000002"_qs,
                                                u"[TrashFolder]"_qs,
                                                u"Name=Papierkorb"_qs,
                                                u"Item0000001=Page0000003"_qs,
                                                u"[Fldr0000001]"_qs,
                                                u"Name=Projekte"_qs,
                                                u"Item0000001=Page0000002"_qs,
                                                u"Item0000002=Page0000004"_qs,
                                                u"[Fldr0000002]"_qs,
                                                u"Name=Archiv"_qs,
                                                u"Item0000001=Page0000005"_qs,
                                                u"[Page0000001]"_qs,
                                                u"Name=Willkommen"_qs,
                                                u"[Page0000002]"_qs,
                                                u"Name=Plan"_qs,
                                                u"[Page0000003]"_qs,
                                                u"Name=Alt"_qs,
                                                u"[Page0000004]"_qs,
                                                u"Ref2=Page0000001"_qs,
                                                u"[Page0000005]"_qs,
                                                u"Name=Notiz"_qs});
        WriteMember(m_dir + u"Fldrprps.001"_qs,
                    {u"[TopFolder]"_qs, u"Status=0"_qs, u"[Fldr0000001]"_qs, u"Status=2"_qs});
        WriteMember(m_dir + u"Pageprps.001"_qs,
                    {u"[Page0000002]"_qs, u"Status=1"_qs, u"[Page0000001]"_qs, u"PWAskMode=0"_qs,
                     u"PWBF="_qs + KvPagePassword::CheckValue(0, kWelcomePassword), u"EncSCl=0"_qs,
                     u"PWCopy=0"_qs, u"PWList=0"_qs});
        const BlowFishVCL cipher(KvPasswordBytes::Encode(kWelcomePassword));
        ASSERT_TRUE(cipher.EncryptToFile("{\\rtf1\\ansi Willkommen im Notizbuch\\par}",
                                         m_dir + u"Page0000001.kvp"_qs));
        WriteAll(m_dir + u"Page0000002.kvp"_qs, kPlanRtf);
        WriteAll(m_dir + u"Page0000003.kvp"_qs, "{\\rtf1\\ansi Alt\\par}");
        WriteAll(m_dir + u"Page0000005.kvp"_qs, kNotiz);
    }

    CliResult Cli(QStringList args, const QByteArray& stdinText = {})
    {
        args.insert(1, m_dir);
        return RunCli(args, stdinText);
    }

    // The command succeeds with this output, and check finds nothing afterwards.
    void ExpectDone(const CliResult& r, const QByteArray& out)
    {
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_EQ(r.out, out);
        ExpectClean();
    }

    void ExpectClean()
    {
        const CliResult check = RunCli({u"check"_qs, m_dir});
        EXPECT_EQ(check.code, 0) << check.out.toStdString();
        EXPECT_FALSE(QFile::exists(m_dir + u"lockdir.dat"_qs));
    }

    // The tree without statuses and protection marks.
    QString Tree()
    {
        QString tree = QString::fromUtf8(RunCli({u"tree"_qs, m_dir}).out);
        tree.remove(QRegularExpression(u" \\{[^}]*\\}"_qs));
        tree.remove(u" (protected)"_qs);
        return tree;
    }
    QString TreeIds() { return QString::fromUtf8(RunCli({u"tree"_qs, m_dir, u"--ids"_qs}).out); }
};

TEST_F(CliEdit, AddPlacesPagesAndFoldersAndPrintsTheirIds)
{
    ExpectDone(Cli({u"add"_qs, u"--page"_qs, u"--in"_qs, u"Fldr0000002"_qs, u"--name"_qs, u"Neu"_qs,
                    u"--status"_qs, u"2"_qs}),
               "Page0000006\n");
    ExpectDone(
        Cli({u"add"_qs, u"--folder"_qs, u"--in"_qs, u"TrashFolder"_qs, u"--name"_qs, u"Kiste"_qs}),
        "Fldr0000003\n");
    EXPECT_TRUE(Tree().contains(u"  + Archiv\n    - Notiz\n    - Neu\n"_qs))
        << Tree().toStdString();
    EXPECT_TRUE(QString::fromUtf8(RunCli({u"tree"_qs, m_dir}).out)
                    .contains(u"    - Neu {"_qs + Status(2) + u"}\n"_qs));
    EXPECT_TRUE(Tree().endsWith(u"Papierkorb\n  - Alt\n  + Kiste\n"_qs)) << Tree().toStdString();
}

TEST_F(CliEdit, AddInBulkFromStandardInputFollowsTheFoldersSettings)
{
    WriteMember(m_dir + u"Fldrprps.002"_qs,
                {u"[Fldr0000002]"_qs, u"AutoSort=1"_qs, u"NewElemsFirst=1"_qs});
    QByteArray names;
    for (int i = 300; i >= 1; --i)
        names += "Seite " + QByteArray::number(i).rightJustified(3, '0') + "\r\n";
    const CliResult r =
        Cli({u"add"_qs, u"--page"_qs, u"--in"_qs, u"Fldr0000002"_qs, u"--names-from"_qs, u"-"_qs},
            names);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    const QList<QByteArray> ids = r.out.trimmed().split('\n');
    ASSERT_EQ(ids.size(), 300);
    EXPECT_EQ(ids.first(), "Page0000006");
    EXPECT_EQ(QSet<QByteArray>(ids.begin(), ids.end()).size(), 300);
    ExpectClean();
    EXPECT_TRUE(Tree().contains(u"  + Archiv\n    - Notiz\n    - Seite 001\n    - Seite 002\n"_qs))
        << Tree().toStdString();
    EXPECT_TRUE(Tree().contains(u"    - Seite 300\nPapierkorb"_qs));
}

TEST_F(CliEdit, RenamePrintsTheId)
{
    ExpectDone(Cli({u"rename"_qs, u"Fldr0000001"_qs, u"Vorhaben"_qs}), "Fldr0000001\n");
    ExpectDone(Cli({u"rename"_qs, u"TrashFolder"_qs, u"Müll"_qs}), "TrashFolder\n");
    EXPECT_TRUE(Tree().contains(u"  + Vorhaben\n    - Plan\n    - Willkommen (referrer)\n"_qs));
    EXPECT_TRUE(Tree().contains(u"\nMüll\n"_qs));
}

TEST_F(CliEdit, NamesFollowTheNameRule)
{
    // Separators, controls and zero-width characters become blanks; the ends are trimmed.
    ExpectDone(Cli({u"add"_qs, u"--page"_qs, u"--in"_qs, u"Fldr0000002"_qs, u"--name"_qs,
                    u" \uFEFFNeue\u2028Seite\u200B "_qs}),
               "Page0000006\n");
    ExpectDone(Cli({u"rename"_qs, u"Fldr0000002"_qs, u"Archiv\talt\u2029"_qs}), "Fldr0000002\n");
    ExpectDone(
        Cli({u"add"_qs, u"--folder"_qs, u"--in"_qs, u"Fldr0000002"_qs, u"--names-from"_qs, u"-"_qs},
            "  Kiste\u2060eins\r\nKiste zwei\u0085\n"),
        "Fldr0000003\nFldr0000004\n");
    EXPECT_TRUE(Tree().contains(
        u"  + Archiv alt\n    - Notiz\n    - Neue Seite\n    + Kiste eins\n    + Kiste zwei\n"_qs))
        << Tree().toStdString();
}

TEST_F(CliEdit, NoReferrerStandsForAPageInTheTrash)
{
    // Willkommen (Page0000001) in the trash, its referrer Page0000004 still outside: a
    // notebook of an older version.
    QByteArray objects = ReadAll(m_dir + u"objprps.001"_qs);
    objects.replace("Item0000002=Page0000001\r\nItem0000003=Fldr0000002",
                    "Item0000002=Fldr0000002");
    objects.replace("Name=Papierkorb\r\nItem0000001=Page0000003",
                    "Name=Papierkorb\r\nItem0000001=Page0000003\r\nItem0000002=Page0000001");
    WriteAll(m_dir + u"objprps.001"_qs, objects);
    ASSERT_TRUE(Tree().endsWith(u"Papierkorb\n  - Alt\n  - Willkommen\n"_qs))
        << Tree().toStdString();
    const auto before = DirContents(m_env.Root());
    // Neither the page nor a referrer of it outside gives a new referrer.
    for (const QString& page : {u"Page0000001"_qs, u"Page0000004"_qs}) {
        const CliResult r = Cli({u"referrer"_qs, page, u"--in"_qs, u"Fldr0000002"_qs});
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err, "korvnote-cli referrer: Page0000001 is in the trash; a referrer cannot "
                         "stand for a page there\n");
    }
    EXPECT_TRUE(DirContents(m_env.Root()) == before);

    // Emptying the trash takes the referrer outside along, and says so.
    ExpectDone(Cli({u"empty-trash"_qs}),
               "2\n1 referrer outside the trash went with its target in it: Page0000004\n");
    EXPECT_FALSE(TreeIds().contains(u"Page0000004"_qs)) << TreeIds().toStdString();
    ExpectDone(Cli({u"empty-trash"_qs}), "0\n");
}

TEST_F(CliEdit, TrashTakesTheReferrersAndMoveRestoresWithTheTarget)
{
    ExpectDone(Cli({u"trash"_qs, u"Page0000001"_qs}), "Page0000001\nPage0000004\n");
    EXPECT_TRUE(
        Tree().endsWith(u"Papierkorb\n  - Alt\n  - Willkommen\n  - Willkommen (referrer)\n"_qs))
        << Tree().toStdString();
    // Restoring the referrer brings its target along.
    ExpectDone(Cli({u"move"_qs, u"Page0000004"_qs, u"--to"_qs, u"Fldr0000002"_qs}),
               "Page0000004\nPage0000001\n");
    EXPECT_TRUE(Tree().endsWith(u"Papierkorb\n  - Alt\n"_qs));
    // A folder with the referrer and the given referrer once each.
    ExpectDone(Cli({u"trash"_qs, u"Fldr0000002"_qs, u"Page0000004"_qs}), "Fldr0000002\n");
    EXPECT_EQ(ReadAll(m_dir + u"Page0000005.kvp"_qs), kNotiz);
}

TEST_F(CliEdit, MoveIntoFoldersAndToPositions)
{
    ExpectDone(Cli({u"move"_qs, u"Page0000002"_qs, u"Page0000003"_qs, u"--to"_qs, u"Fldr0000002"_qs,
                    u"--pos"_qs, u"1"_qs}),
               "Page0000002\nPage0000003\n");
    EXPECT_TRUE(Tree().contains(u"  + Archiv\n    - Plan\n    - Alt\n    - Notiz\n"_qs))
        << Tree().toStdString();
    ExpectDone(Cli({u"move"_qs, u"Fldr0000002"_qs, u"--pos"_qs, u"1"_qs}), "Fldr0000002\n");
    EXPECT_TRUE(Tree().startsWith(u"Ordner\n  + Archiv\n"_qs));
}

TEST_F(CliEdit, DeleteAndEmptyTrashRemoveForGood)
{
    ExpectDone(Cli({u"delete"_qs, u"Page0000003"_qs}), "Page0000003\n");
    EXPECT_FALSE(QFile::exists(m_dir + u"Page0000003.kvp"_qs));
    ExpectDone(Cli({u"trash"_qs, u"Fldr0000002"_qs, u"Page0000002"_qs}),
               "Fldr0000002\nPage0000002\n");
    ExpectDone(Cli({u"empty-trash"_qs}), "3\n");
    EXPECT_FALSE(QFile::exists(m_dir + u"Page0000005.kvp"_qs));
    EXPECT_FALSE(QFile::exists(m_dir + u"Page0000002.kvp"_qs));
    EXPECT_TRUE(Tree().endsWith(u"Papierkorb\n"_qs));
    ExpectDone(Cli({u"empty-trash"_qs}), "0\n");
    // A new page takes no id an element had, nor a freed id's leftover file; check still
    // names that file.
    WriteAll(m_dir + u"Page0000002.kvp"_qs, "{\\rtf1 left}");
    const CliResult added =
        Cli({u"add"_qs, u"--page"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs, u"x"_qs});
    EXPECT_EQ(added.code, 0) << added.err.toStdString();
    EXPECT_EQ(added.out, "Page0000006\n");
    EXPECT_EQ(Cli({u"resolve"_qs, u"<file://*Page0000003*(gone)>"_qs}).code, 1)
        << "a link to a deleted page opens another";
    const CliResult check = RunCli({u"check"_qs, m_dir});
    EXPECT_EQ(check.code, 1);
    EXPECT_TRUE(check.out.startsWith("content file Page0000002.kvp belongs to no page\n"))
        << check.out.toStdString();
}

TEST_F(CliEdit, CopyPagesFoldersReferrersAndProtectedPages)
{
    ExpectDone(Cli({u"copy"_qs, u"Page0000005"_qs, u"--to"_qs, u"Fldr0000001"_qs}),
               "Page0000006\n");
    EXPECT_EQ(ReadAll(m_dir + u"Page0000006.kvp"_qs), kNotiz);
    // A folder with a referrer: the referrer stays one.
    ExpectDone(Cli({u"copy"_qs, u"Fldr0000001"_qs, u"--to"_qs, u"Fldr0000002"_qs}),
               "Fldr0000003\n");
    EXPECT_TRUE(Tree().contains(
        u"    + Projekte\n      - Plan\n      - Willkommen (referrer)\n      - Notiz\n"_qs))
        << Tree().toStdString();
    EXPECT_TRUE(TreeIds().contains(u"[Page0000008] (referrer -> Page0000001)"_qs))
        << TreeIds().toStdString();
    // --original with the password: an unprotected copy of the target, and a line that
    // says so (the target does not copy its password).
    const CliResult original = Cli({u"copy"_qs, u"Page0000004"_qs, u"--to"_qs, u"Fldr0000002"_qs,
                                    u"--original"_qs, u"--password-stdin"_qs},
                                   "geheim\n");
    EXPECT_EQ(original.code, 0);
    EXPECT_EQ(original.out, "Page0000010\n");
    EXPECT_EQ(original.err, "korvnote-cli copy: Page0000010, the copy of protected page "
                            "Page0000001, is not protected (the page does not copy its "
                            "password)\n");
    ExpectClean();
    EXPECT_EQ(ReadAll(m_dir + u"Page0000010.kvp"_qs),
              QByteArray("{\\rtf1\\ansi Willkommen im Notizbuch\\par}"));
    // Without the password: skipped, one line, status 1, nothing copied.
    const auto before = DirContents(m_dir);
    const CliResult skipped =
        Cli({u"copy"_qs, u"Page0000001"_qs, u"--to"_qs, u"Fldr0000002"_qs, u"--password-stdin"_qs},
            "falsch\n");
    EXPECT_EQ(skipped.code, 1);
    EXPECT_TRUE(skipped.out.isEmpty());
    EXPECT_EQ(skipped.err, "korvnote-cli copy: page Page0000001 is protected and was not copied "
                           "(no password)\n");
    EXPECT_TRUE(DirContents(m_dir) == before);
}

TEST_F(CliEdit, ReferrerOfAReferrerAndSort)
{
    ExpectDone(Cli({u"referrer"_qs, u"Page0000004"_qs, u"--in"_qs, u"Fldr0000002"_qs}),
               "Page0000006\n");
    EXPECT_TRUE(TreeIds().contains(u"[Page0000006] (referrer -> Page0000001)"_qs))
        << TreeIds().toStdString();
    ExpectDone(Cli({u"sort"_qs, u"TopFolder"_qs, u"--order"_qs, u"2"_qs}), "TopFolder\n");
    EXPECT_TRUE(Tree().startsWith(u"Ordner\n  - Willkommen\n  + Archiv\n"_qs))
        << Tree().toStdString();
    ExpectDone(Cli({u"sort"_qs, u"TopFolder"_qs, u"--order"_qs, u"0"_qs}), "TopFolder\n");
    EXPECT_TRUE(Tree().startsWith(u"Ordner\n  + Archiv\n"_qs));
}

TEST_F(CliEdit, EveryCommandSaysWhatItDoes)
{
    for (const char* cmd :
         {"add", "rename", "trash", "move", "delete", "empty-trash", "copy", "referrer", "sort"}) {
        const CliResult r = RunCli({QString::fromLatin1(cmd), u"--help"_qs});
        EXPECT_EQ(r.code, 0) << cmd;
        EXPECT_TRUE(r.out.startsWith(QByteArray(QByteArray("usage: korvnote-cli ") + cmd))) << cmd;
    }
    EXPECT_TRUE(RunCli({u"--help"_qs}).out.contains("empty-trash DIR"));
}

struct EditError
{
    const char* name;
    QStringList args; // after the command: DIR is inserted as the first argument
    int code;
    const char* message;
    bool beforeTheLock; // an argument error found before the directory is opened
};

class CliEditErrors : public CliEdit, public ::testing::WithParamInterface<bool>
{
};

TEST_P(CliEditErrors, OneLineNotAByteChanged)
{
    const QString tooLong(101, u'x');
    const EditError cases[] = {
        {"add without --in",
         {u"add"_qs, u"--page"_qs, u"--name"_qs, u"x"_qs},
         2,
         "missing option: --in",
         true},
        {"add page and folder",
         {u"add"_qs, u"--page"_qs, u"--folder"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs,
          u"x"_qs},
         2,
         "either --page or --folder",
         true},
        {"add two name sources",
         {u"add"_qs, u"--page"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs, u"x"_qs,
          u"--names-from"_qs, u"-"_qs},
         2,
         "either --name",
         true},
        {"add empty name",
         {u"add"_qs, u"--page"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs, u""_qs},
         1,
         "Geben Sie einen Namen",
         true},
        {"add long name",
         {u"add"_qs, u"--page"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs, tooLong},
         1,
         "longer than 100",
         true},
        {"add blanks only",
         {u"add"_qs, u"--page"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs, u"   "_qs},
         1,
         "Geben Sie einen Namen",
         true},
        {"add control characters only",
         {u"add"_qs, u"--page"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs, u"\t\u0085"_qs},
         1,
         "Geben Sie einen Namen",
         true},
        {"add separators and zero-width characters only",
         {u"add"_qs, u"--folder"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs,
          u" \u2028\u2029\u200B\u200C\u200D\u2060\uFEFF "_qs},
         1,
         "Geben Sie einen Namen",
         true},
        {"add a blank line among names",
         {u"add"_qs, u"--page"_qs, u"--in"_qs, u"TopFolder"_qs, u"--names-from"_qs, u"-"_qs},
         1,
         "line 2: Geben Sie einen Namen",
         true},
        {"add into a page",
         {u"add"_qs, u"--page"_qs, u"--in"_qs, u"Page0000002"_qs, u"--name"_qs, u"x"_qs},
         1,
         "Page0000002 is a page, not a folder",
         false},
        {"add into nothing",
         {u"add"_qs, u"--folder"_qs, u"--in"_qs, u"Fldr0000099"_qs, u"--name"_qs, u"x"_qs},
         1,
         "unknown id: Fldr0000099",
         false},
        {"add unknown status",
         {u"add"_qs, u"--page"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs, u"x"_qs,
          u"--status"_qs, u"99"_qs},
         1,
         "unknown status 99",
         false},
        {"add folder with status",
         {u"add"_qs, u"--folder"_qs, u"--in"_qs, u"TopFolder"_qs, u"--name"_qs, u"x"_qs,
          u"--status"_qs, u"1"_qs},
         2,
         "--status is for pages",
         true},
        {"rename unknown",
         {u"rename"_qs, u"Page0000077"_qs, u"x"_qs},
         1,
         "unknown id: Page0000077",
         false},
        {"rename empty",
         {u"rename"_qs, u"Page0000002"_qs, u""_qs},
         1,
         "Geben Sie einen Namen",
         true},
        {"rename to blanks only",
         {u"rename"_qs, u"Fldr0000001"_qs, u"  "_qs},
         1,
         "Geben Sie einen Namen",
         true},
        {"rename to a line separator",
         {u"rename"_qs, u"Page0000002"_qs, u"\u2028"_qs},
         1,
         "Geben Sie einen Namen",
         true},
        {"trash the top folder",
         {u"trash"_qs, u"TopFolder"_qs},
         1,
         "TopFolder is a root folder",
         false},
        {"trash twice", {u"trash"_qs, u"Page0000003"_qs}, 1, "in the trash already", false},
        {"trash with an unknown id last",
         {u"trash"_qs, u"Page0000002"_qs, u"Page0000077"_qs},
         1,
         "unknown id: Page0000077",
         false},
        {"move into itself",
         {u"move"_qs, u"Fldr0000001"_qs, u"--to"_qs, u"Fldr0000001"_qs},
         1,
         "Verschieben auf untergeordnete Objekte",
         false},
        {"move into a page",
         {u"move"_qs, u"Page0000002"_qs, u"--to"_qs, u"Page0000005"_qs},
         1,
         "is a page, not a folder",
         false},
        {"move the trash",
         {u"move"_qs, u"TrashFolder"_qs, u"--to"_qs, u"Fldr0000001"_qs},
         1,
         "TrashFolder is a root folder",
         false},
        {"move to position 0",
         {u"move"_qs, u"Page0000002"_qs, u"--pos"_qs, u"0"_qs},
         2,
         "--pos needs a whole number of at least 1",
         true},
        {"move nowhere",
         {u"move"_qs, u"Page0000002"_qs},
         2,
         "give --to FOLDERID, --pos N or both",
         true},
        {"move two within",
         {u"move"_qs, u"Page0000002"_qs, u"Page0000004"_qs, u"--pos"_qs, u"1"_qs},
         2,
         "unexpected argument",
         true},
        {"delete outside the trash",
         {u"delete"_qs, u"Page0000002"_qs},
         1,
         "is not in the trash",
         false},
        {"copy into itself",
         {u"copy"_qs, u"Fldr0000001"_qs, u"--to"_qs, u"Fldr0000001"_qs},
         1,
         "Quell- und Zielordner sind identisch",
         false},
        {"copy the top folder",
         {u"copy"_qs, u"TopFolder"_qs, u"--to"_qs, u"Fldr0000001"_qs},
         1,
         "TopFolder is a root folder",
         false},
        {"copy without target", {u"copy"_qs, u"Page0000002"_qs}, 2, "missing option: --to", true},
        {"referrer of a folder",
         {u"referrer"_qs, u"Fldr0000001"_qs, u"--in"_qs, u"TopFolder"_qs},
         1,
         "Fldr0000001 is a folder, not a page",
         false},
        {"referrer of a page in the trash",
         {u"referrer"_qs, u"Page0000003"_qs, u"--in"_qs, u"Fldr0000002"_qs},
         1,
         "Page0000003 is in the trash; a referrer cannot stand for a page there",
         false},
        {"sort a page",
         {u"sort"_qs, u"Page0000002"_qs},
         1,
         "Page0000002 is a page, not a folder",
         false},
        {"sort order 3",
         {u"sort"_qs, u"TopFolder"_qs, u"--order"_qs, u"3"_qs},
         2,
         "--order needs 0, 1 or 2",
         true},
        {"empty-trash extra", {u"empty-trash"_qs, u"x"_qs}, 2, "unexpected argument: x", true},
    };
    const bool locked = GetParam();
    if (locked)
        WriteAll(m_dir + u"lockdir.dat"_qs, kLockOfAnother);
    for (const EditError& c : cases) {
        SCOPED_TRACE(c.name);
        const bool lockFirst = locked && !c.beforeTheLock;
        ExpectRefusedUnchanged(m_env.Root(), c.args[0], lockFirst ? 1 : c.code,
                               lockFirst ? kLockedByAnother : QByteArray(c.message),
                               [&] { return Cli(c.args, "Erste\n \u2029\nDritte\n"); });
    }
}

INSTANTIATE_TEST_SUITE_P(Lock, CliEditErrors, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Locked" : "Unlocked"; });

TEST_F(CliEdit, ReadOnlyAccessIsRefused)
{
    KvDirStores::Open(m_env.Data().configHome + u"/korvelle"_qs);
    KvDirProps props(m_dir);
    props.SetFullAccess(false);
    props.Store();
    KvDirStores::FlushAll();
    const auto before = DirContents(m_dir);
    const CliResult r = Cli({u"rename"_qs, u"Page0000002"_qs, u"x"_qs});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("read-only")) << r.err.toStdString();
    EXPECT_TRUE(DirContents(m_dir) == before);
}

} // namespace
