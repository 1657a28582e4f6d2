// The styles subcommands and replace: the listing in the styles box's order with the keys
// as written, a style taken from a page and applied to another place, renaming and
// deleting, replace all in both directions, what the program's own styles object sees of
// it, and the errors (exit status, one line, not a byte changed, also under a held lock).
#include "app/kvdirprops.h"
#include "clifixture.h"
#include "lists/kvstyles.h"
#include "richtext/texrichdocument.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>

using namespace korvtest;

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

const QByteArray kText =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard Hallo \\b Welt\\b0\\par\r\n"
    "\\pard\\qc abc abc abc\\par\r\n}\r\n";

class CliStyles : public CliFixture
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        WriteHandMade();
        WriteAll(m_dir + u"Page0000002.kvp"_qs, kText);
        // Notiz (Page0000005, not listed in a folder) becomes a write-protected page.
        WriteMember(m_dir + u"Pageprps.002"_qs, {u"[Page0000003]"_qs, u"WriteProtect=1"_qs});
        m_settings = m_env.Dir(u"settings"_qs);
    }

    CliResult Cli(const QStringList& args, const QByteArray& stdinText = {})
    {
        if (args.value(0) == u"replace")
            return RunCli(args, stdinText); // the one without styles
        return RunCli(args + QStringList{u"--settings"_qs, m_settings}, stdinText);
    }
    // Commands whose arguments start with the data directory.
    CliResult CliDir(QStringList args)
    {
        args.insert(1, m_dir);
        return Cli(args);
    }
    void ExpectDone(const CliResult& r, const QByteArray& out = {})
    {
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_EQ(r.out, out);
        EXPECT_FALSE(QFile::exists(m_dir + u"lockdir.dat"_qs));
    }
    QString Listing() { return QString::fromUtf8(Cli({u"styles"_qs}).out); }
    // The page's text as the page shows it.
    QString PageText(const QString& id)
    {
        return QString::fromUtf8(RunCli({u"show"_qs, m_dir, id, u"--format"_qs, u"txt"_qs}).out);
    }

    QString m_settings;
};

TEST_F(CliStyles, CreateListRenameDelete)
{
    // "Hallo " plain, "Welt" bold; the second paragraph centred.
    ExpectDone(
        CliDir({u"style-create"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"6:10"_qs}));
    ExpectDone(CliDir({u"style-create"_qs, u"Page0000002"_qs, u"Äpfel"_qs, u"--range"_qs,
                       u"12:14"_qs, u"--para"_qs}));
    ExpectDone(CliDir({u"style-create"_qs, u"Page0000002"_qs, u"apfel"_qs, u"--range"_qs, u"0:3"_qs,
                       u"--text"_qs, u"--para"_qs}));
    // The styles box's order, each style's keys as the program writes them.
    const QString para = u"  StartIndent=0\n  Offset=0\n  RightIndent=0\n  SpaceBefore=0\n"
                         u"  SpaceAfter=0\n  Alignment=%1\n  LineSpacingRule=0\n"
                         u"  LineSpacing=0\n  NumberingStyle=512\n  Numbering=0\n"_qs;
    const QString listing = Listing();
    EXPECT_EQ(listing, u"Äpfel\tparagraph\tStyl0000002\n"_qs + para.arg(2) +
                           u"apfel\tboth\tStyl0000003\n"
                           u"  Font=Arial,12,,0,clWindowText,0\n  BgColor=clWindow\n"_qs +
                           para.arg(0) +
                           u"Fett\ttext\tStyl0000001\n"
                           u"  Font=Arial,12,B,0,clWindowText,0\n  BgColor=clWindow\n"_qs);
    // The style's own keys are those the program's styles object reads.
    TexIniFile store(m_settings + u"Styles"_qs, 40, false);
    KvStyles styles([&store]() -> TexIniFile& { return store; });
    ASSERT_NE(styles.Find(u"Fett"_qs), nullptr);
    EXPECT_TRUE(styles.Find(u"Fett"_qs)->Chars().bold) << listing.toStdString();
    EXPECT_FALSE(styles.Find(u"Fett"_qs)->ParaAttributes());
    ASSERT_NE(styles.Find(u"Äpfel"_qs), nullptr);
    EXPECT_EQ(styles.Find(u"Äpfel"_qs)->Para().alignment, 2);
    EXPECT_FALSE(styles.Find(u"Äpfel"_qs)->TextAttributes());

    ExpectDone(Cli({u"style-rename"_qs, u"apfel"_qs, u"Birne"_qs}));
    ExpectDone(Cli({u"style-delete"_qs, u"Äpfel"_qs}));
    EXPECT_TRUE(Listing().startsWith(u"Birne\tboth\tStyl0000003\n"_qs)) << Listing().toStdString();
    EXPECT_FALSE(Listing().contains(u"Äpfel"_qs));
    // Redefine without flags keeps what the style held.
    ExpectDone(
        CliDir({u"style-redefine"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"0:3"_qs}));
    TexIniFile again(m_settings + u"Styles"_qs, 40, false);
    KvStyles reread([&again]() -> TexIniFile& { return again; });
    EXPECT_FALSE(reread.Find(u"Fett"_qs)->Chars().bold);
    EXPECT_EQ(reread.Find(u"Fett"_qs)->Kind(), 0);
}

TEST_F(CliStyles, ListingWritesNothingAndCreatesNoDirectory)
{
    const QString missing = m_env.Root() + u"nowhere/"_qs;
    const auto before = DirContents(m_env.Root());
    const CliResult r = RunCli({u"styles"_qs, u"--settings"_qs, missing});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_TRUE(DirContents(m_env.Root()) == before);
    // The program's own settings directory is not made either.
    const QString own = m_env.Data().configHome + u"/korvelle"_qs;
    ASSERT_FALSE(QFileInfo::exists(own));
    const CliResult r2 = RunCli({u"styles"_qs});
    EXPECT_EQ(r2.code, 0) << r2.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(own));
}

TEST_F(CliStyles, CreatingReadsThePageUnderAnothersLock)
{
    WriteAll(m_dir + u"lockdir.dat"_qs, kLockOfAnother);
    const auto data = DirContents(m_dir);
    const CliResult r =
        CliDir({u"style-create"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"6:10"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(DirContents(m_dir) == data);
    EXPECT_TRUE(Listing().startsWith(u"Fett\ttext\t"_qs));
}

TEST_F(CliStyles, ApplySavesThePageWithTheStylesFormat)
{
    ExpectDone(
        CliDir({u"style-create"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"6:10"_qs}));
    ExpectDone(CliDir({u"style-create"_qs, u"Page0000002"_qs, u"Mitte"_qs, u"--range"_qs,
                       u"12:13"_qs, u"--para"_qs}));
    ExpectDone(
        CliDir({u"style-apply"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"0:5"_qs}));
    ExpectDone(
        CliDir({u"style-apply"_qs, u"Page0000002"_qs, u"Mitte"_qs, u"--range"_qs, u"0:0"_qs}));
    TexRichDocument doc;
    doc.LoadRtf(ReadAll(m_dir + u"Page0000002.kvp"_qs));
    EXPECT_EQ(doc.Document()->toPlainText(), u"Hallo Welt\nabc abc abc"_qs);
    for (int pos : {1, 5, 8}) {
        QTextCursor c(doc.Document());
        c.setPosition(pos);
        EXPECT_GE(c.charFormat().fontWeight(), QFont::Bold) << pos;
    }
    // The text style left the paragraph; the paragraph style centred the first one.
    EXPECT_EQ(doc.Document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    // The page file the program reads: the check finds only the notebook's own lost page.
    const CliResult check = RunCli({u"check"_qs, m_dir});
    EXPECT_FALSE(check.out.contains("Page0000002")) << check.out.toStdString();
}

struct ReplaceCase
{
    const char* name;
    QStringList options;
    QByteArray printed;
    QString text;
};

TEST_F(CliStyles, ReplaceAllFromTheSelectionEitherWay)
{
    const ReplaceCase cases[] = {
        {"from the start", {}, "3\n", u"Hallo Welt\nxy xy xy"_qs},
        {"down from the second",
         {u"--selection"_qs, u"15:18"_qs},
         "2\n",
         u"Hallo Welt\nabc xy xy"_qs},
        {"up from the second",
         {u"--selection"_qs, u"15:18"_qs, u"--up"_qs},
         "2\n",
         u"Hallo Welt\nxy xy abc"_qs},
        {"up from the end", {u"--up"_qs}, "3\n", u"Hallo Welt\nxy xy xy"_qs},
        {"match case", {u"--case"_qs}, "0\n", u"Hallo Welt\nabc abc abc"_qs},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(m_dir + u"Page0000002.kvp"_qs, kText);
        QStringList args{u"replace"_qs, u"Page0000002"_qs,
                         c.name == std::string("match case") ? u"ABC"_qs : u"abc"_qs, u"xy"_qs};
        ExpectDone(CliDir(args + c.options), c.printed);
        TexRichDocument doc;
        doc.LoadRtf(ReadAll(m_dir + u"Page0000002.kvp"_qs));
        EXPECT_EQ(doc.Document()->toPlainText(), c.text);
        if (c.printed == "0\n") {
            EXPECT_EQ(ReadAll(m_dir + u"Page0000002.kvp"_qs), kText);
        }
    }
    // Whole words: "Welt" is one, "Wel" none.
    ExpectDone(CliDir({u"replace"_qs, u"Page0000002"_qs, u"Wel"_qs, u"x"_qs, u"--word"_qs}), "0\n");
    ExpectDone(CliDir({u"replace"_qs, u"Page0000002"_qs, u"Welt"_qs, u"Erde"_qs, u"--word"_qs}),
               "1\n");
    EXPECT_TRUE(PageText(u"Page0000002"_qs).startsWith(u"Hallo Erde\n"_qs))
        << PageText(u"Page0000002"_qs).toStdString();
}

TEST_F(CliStyles, TheProgramsStylesAndTheCommandsTakeDifferentSections)
{
    // The program has read the store, then the command adds a style, then the program does.
    TexIniFile store(m_settings + u"Styles"_qs, 40, false);
    KvStyles program([&store]() -> TexIniFile& { return store; });
    TexRichDocument doc;
    doc.LoadPlainText(u"Text"_qs);
    doc.SetSelection(0, 4);
    ASSERT_NE(program.Create(u"Eins"_qs, doc, 0xFFFFFF, true, false), nullptr);
    ExpectDone(
        CliDir({u"style-create"_qs, u"Page0000002"_qs, u"Zwei"_qs, u"--range"_qs, u"0:3"_qs}));
    ASSERT_NE(program.Create(u"Drei"_qs, doc, 0xFFFFFF, true, false), nullptr);
    EXPECT_EQ(program.SectionOf(u"Drei"_qs), u"Styl0000003"_qs);
    EXPECT_EQ(Listing().count(u"\tStyl"_qs), 3) << Listing().toStdString();
    EXPECT_TRUE(Listing().contains(u"Zwei\ttext\tStyl0000002\n"_qs)) << Listing().toStdString();
}

TEST_F(CliStyles, ReadOnlyAccessRefusesTheCommandsThatSave)
{
    ExpectDone(
        CliDir({u"style-create"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"6:10"_qs}));
    KvDirStores::Open(m_env.Data().configHome + u"/korvelle"_qs);
    KvDirProps props(m_dir);
    props.SetFullAccess(false);
    props.Store();
    KvDirStores::FlushAll();
    const auto before = DirContents(m_env.Root());
    for (const QStringList& args :
         {QStringList{u"style-apply"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"0:3"_qs},
          QStringList{u"replace"_qs, u"Page0000002"_qs, u"abc"_qs, u"x"_qs}}) {
        const CliResult r = CliDir(args);
        EXPECT_EQ(r.code, 1) << args[0].toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains("read-only")) << r.err.toStdString();
        EXPECT_TRUE(DirContents(m_env.Root()) == before);
    }
}

// A protected page: its password from standard input; saved encrypted again.
TEST_F(CliStyles, AProtectedPageTakesItsPasswordAndStaysEncrypted)
{
    const QString pw = kWelcomePassword + u'\n';
    const CliResult created = Cli({u"style-create"_qs, m_dir, u"Page0000001"_qs, u"Erstes"_qs,
                                   u"--range"_qs, u"0:4"_qs, u"--password-stdin"_qs},
                                  pw.toUtf8());
    EXPECT_EQ(created.code, 0) << created.err.toStdString();
    EXPECT_TRUE(Listing().startsWith(u"Erstes\ttext\t"_qs));

    const CliResult wrong = RunCli({u"replace"_qs, m_dir, u"Page0000001"_qs, u"Notizbuch"_qs,
                                    u"Heft"_qs, u"--password-stdin"_qs},
                                   "falsch\n");
    EXPECT_EQ(wrong.code, 1);
    EXPECT_TRUE(wrong.err.contains("wrong password for page Page0000001"))
        << wrong.err.toStdString();

    const CliResult r = RunCli({u"replace"_qs, m_dir, u"Page0000001"_qs, u"Notizbuch"_qs,
                                u"Heft"_qs, u"--password-stdin"_qs},
                               pw.toUtf8());
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1\n");
    const QByteArray file = ReadAll(m_dir + u"Page0000001.kvp"_qs);
    EXPECT_FALSE(file.contains("Heft"));
    EXPECT_FALSE(file.contains("rtf1"));
    const CliResult shown =
        RunCli({u"show"_qs, m_dir, u"Page0000001"_qs, u"--password-stdin"_qs}, pw.toUtf8());
    EXPECT_EQ(shown.code, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.out.startsWith("Willkommen im Heft")) << shown.out.toStdString();
}

struct StyleError
{
    const char* name;
    QStringList args; // DIR is inserted after the command where the command takes one
    bool takesDir;
    int code;
    const char* message;
    bool underTheLock; // a command that writes the page: a held lock refuses it first
};

class CliStylesErrors : public CliStyles, public ::testing::WithParamInterface<bool>
{
};

TEST_P(CliStylesErrors, OneLineNotAByteChanged)
{
    ExpectDone(
        CliDir({u"style-create"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"6:10"_qs}));
    ExpectDone(
        CliDir({u"style-create"_qs, u"Page0000002"_qs, u"Kursiv"_qs, u"--range"_qs, u"0:2"_qs}));
    const StyleError cases[] = {
        {"create a duplicate",
         {u"style-create"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"0:1"_qs},
         true,
         1,
         "a style named 'Fett' exists already",
         false},
        {"create beyond the text",
         {u"style-create"_qs, u"Page0000002"_qs, u"Neu"_qs, u"--range"_qs, u"3:99"_qs},
         true,
         1,
         "the range 3:99 lies outside the text",
         false},
        {"create on an unknown page",
         {u"style-create"_qs, u"Page0000077"_qs, u"Neu"_qs, u"--range"_qs, u"0:1"_qs},
         true,
         1,
         "unknown page: Page0000077",
         false},
        {"create with an empty name",
         {u"style-create"_qs, u"Page0000002"_qs, u""_qs, u"--range"_qs, u"0:1"_qs},
         true,
         1,
         "Geben Sie einen Namen",
         false},
        {"create without a range",
         {u"style-create"_qs, u"Page0000002"_qs, u"Neu"_qs},
         true,
         2,
         "missing option: --range",
         false},
        {"create with a reversed range",
         {u"style-create"_qs, u"Page0000002"_qs, u"Neu"_qs, u"--range"_qs, u"4:2"_qs},
         true,
         2,
         "--range needs A:B",
         false},
        {"redefine an unknown style",
         {u"style-redefine"_qs, u"Page0000002"_qs, u"Fehlt"_qs, u"--range"_qs, u"0:1"_qs},
         true,
         1,
         "no style named 'Fehlt'",
         false},
        {"rename to a taken name",
         {u"style-rename"_qs, u"Fett"_qs, u"Kursiv"_qs},
         false,
         1,
         "a style named 'Kursiv' exists already",
         false},
        {"rename to blanks and separators only",
         {u"style-rename"_qs, u"Fett"_qs, u" \u2028\uFEFF "_qs},
         false,
         1,
         "Geben Sie einen Namen",
         false},
        {"rename an unknown style",
         {u"style-rename"_qs, u"Fehlt"_qs, u"Neu"_qs},
         false,
         1,
         "no style named 'Fehlt'",
         false},
        {"delete an unknown style",
         {u"style-delete"_qs, u"Fehlt"_qs},
         false,
         1,
         "no style named 'Fehlt'",
         false},
        {"apply an unknown style",
         {u"style-apply"_qs, u"Page0000002"_qs, u"Fehlt"_qs, u"--range"_qs, u"0:1"_qs},
         true,
         1,
         "no style named 'Fehlt'",
         false},
        {"apply beyond the text",
         {u"style-apply"_qs, u"Page0000002"_qs, u"Fett"_qs, u"--range"_qs, u"0:99"_qs},
         true,
         1,
         "lies outside the text",
         true},
        {"apply on a write-protected page",
         {u"style-apply"_qs, u"Page0000003"_qs, u"Fett"_qs, u"--range"_qs, u"0:1"_qs},
         true,
         1,
         "page Page0000003 is write-protected",
         true},
        {"apply on an unknown page",
         {u"style-apply"_qs, u"Page0000077"_qs, u"Fett"_qs, u"--range"_qs, u"0:1"_qs},
         true,
         1,
         "unknown id: Page0000077",
         true},
        {"replace on a write-protected page",
         {u"replace"_qs, u"Page0000003"_qs, u"Alt"_qs, u"Neu"_qs},
         true,
         1,
         "page Page0000003 is write-protected",
         true},
        {"replace beyond the text",
         {u"replace"_qs, u"Page0000002"_qs, u"abc"_qs, u"x"_qs, u"--selection"_qs, u"0:99"_qs},
         true,
         1,
         "lies outside the text",
         true},
        {"replace an empty term",
         {u"replace"_qs, u"Page0000002"_qs, u""_qs, u"x"_qs},
         true,
         2,
         "the search term is empty",
         false},
        {"replace in a folder",
         {u"replace"_qs, u"Fldr0000001"_qs, u"abc"_qs, u"x"_qs},
         true,
         1,
         "Fldr0000001 is a folder",
         true},
    };
    const bool locked = GetParam();
    if (locked)
        WriteAll(m_dir + u"lockdir.dat"_qs, kLockOfAnother);
    for (const StyleError& c : cases) {
        SCOPED_TRACE(c.name);
        const bool lockFirst = locked && c.underTheLock;
        ExpectRefusedUnchanged(m_env.Root(), c.args[0], lockFirst ? 1 : c.code,
                               lockFirst ? kLockedByAnother : QByteArray(c.message),
                               [&] { return c.takesDir ? CliDir(c.args) : Cli(c.args); });
    }
}

INSTANTIATE_TEST_SUITE_P(Lock, CliStylesErrors, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Locked" : "Unlocked"; });

TEST_F(CliStyles, EveryCommandHasItsHelp)
{
    for (const char* cmd : {"styles", "style-create", "style-redefine", "style-rename",
                            "style-delete", "style-apply", "replace"}) {
        const CliResult r = RunCli({QString::fromLatin1(cmd), u"--help"_qs});
        EXPECT_EQ(r.code, 0) << cmd;
        EXPECT_TRUE(r.out.startsWith("usage: korvnote-cli ")) << cmd;
    }
    EXPECT_TRUE(RunCli({u"--help"_qs}).out.contains("style-apply"));
}

} // namespace
