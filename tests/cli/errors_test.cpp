// Every error: a non-zero exit status, one line on standard error, not a byte of the data
// directory changed; with and without another instance's lock on it. Reading commands
// leave the directory untouched too.
#include "clifixture.h"

#include <QFile>

using namespace korvtest;

namespace {

struct ErrorCase
{
    const char* name;
    QStringList args; // "DIR" stands for the data directory, "ROOT" for the sandbox
    QByteArray stdinText;
    int code;
    const char* message; // part of the line on standard error
};

class CliErrors : public CliFixture, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        WriteHandMade();
        // A corrupt protected page and an unreadable page.
        WriteMember(m_dir + u"Pageprps.002"_qs,
                    {u"[Page0000003]"_qs, u"PWAskMode=1"_qs,
                     u"PWBF="_qs + KvPagePassword::CheckValue(0, u"alt"_qs), u"EncSCl=0"_qs});
        // A lost folder without a name that lists a page without a section: building them
        // would store both in a writable directory.
        WriteMember(m_dir + u"objprps.002"_qs,
                    {u"[Fldr0000009]"_qs, u"Item0000001=Page0000077"_qs});
        if (GetParam())
            WriteAll(m_dir + u"lockdir.dat"_qs, kLockOfAnother);
    }

    QStringList Args(const QStringList& args) const
    {
        QStringList out;
        for (QString a : args)
            out.append(a.replace(u"DIR"_qs, m_dir).replace(u"ROOT"_qs, m_env.Root()));
        return out;
    }
};

TEST_P(CliErrors, OneLineNothingChanged)
{
    const ErrorCase cases[] = {
        {"unknown command", {u"frobnicate"_qs}, {}, 2, "unknown command: frobnicate"},
        {"no command", {}, {}, 2, "usage: korvnote-cli"},
        {"unknown option", {u"tree"_qs, u"DIR"_qs, u"--fast"_qs}, {}, 2, "unknown option: --fast"},
        {"missing directory argument", {u"tree"_qs}, {}, 2, "missing argument: DIR"},
        {"extra argument", {u"tree"_qs, u"DIR"_qs, u"DIR"_qs}, {}, 2, "unexpected argument"},
        {"no such directory", {u"tree"_qs, u"ROOT/nowhere"_qs}, {}, 1, "no such directory"},
        {"not a data directory", {u"check"_qs, u"ROOT"_qs}, {}, 1, "not a data directory"},
        {"file instead of directory",
         {u"show"_qs, u"DIR/Page0000002.kvp"_qs, u"Page0000002"_qs},
         {},
         1,
         "not a directory"},
        {"unknown id",
         {u"show"_qs, u"DIR"_qs, u"Page0000077"_qs},
         {},
         1,
         "unknown id: Page0000077"},
        {"folder id", {u"show"_qs, u"DIR"_qs, u"Fldr0000001"_qs}, {}, 1, "is a folder"},
        {"wrong password",
         {u"show"_qs, u"DIR"_qs, u"Page0000001"_qs, u"--password-stdin"_qs},
         "falsch\n",
         1,
         "wrong password for page Page0000001"},
        {"no password on stdin",
         {u"show"_qs, u"DIR"_qs, u"Page0000001"_qs, u"--password-stdin"_qs},
         {},
         1,
         "standard input gave no password"},
        {"no terminal", {u"show"_qs, u"DIR"_qs, u"Page0000001"_qs}, {}, 1, "no terminal"},
        {"corrupt encrypted file",
         {u"show"_qs, u"DIR"_qs, u"Page0000003"_qs, u"--password-stdin"_qs},
         "alt\n",
         1,
         "corrupt encrypted content file"},
        {"unknown format",
         {u"show"_qs, u"DIR"_qs, u"Page0000002"_qs, u"--format"_qs, u"pdf"_qs},
         {},
         2,
         "unknown format 'pdf'"},
        {"format without value",
         {u"show"_qs, u"DIR"_qs, u"Page0000002"_qs, u"--format"_qs},
         {},
         2,
         "needs a value"},
        {"generate into a notebook",
         {u"generate"_qs, u"DIR"_qs, u"--pages"_qs, u"5"_qs},
         {},
         1,
         "already holds a notebook"},
        {"generate without pages",
         {u"generate"_qs, u"ROOT/new"_qs},
         {},
         2,
         "missing option: --pages"},
        {"generate bad number",
         {u"generate"_qs, u"ROOT/new"_qs, u"--pages"_qs, u"many"_qs},
         {},
         2,
         "--pages needs a whole number"},
        {"protected without stdin",
         {u"generate"_qs, u"ROOT/new"_qs, u"--pages"_qs, u"5"_qs, u"--protected"_qs, u"1"_qs},
         {},
         2,
         "--protected needs --password-stdin"},
        {"text not in table", {u"text"_qs, u"999999"_qs}, {}, 1, "no text 999999"},
        {"text not a number", {u"text"_qs, u"abc"_qs}, {}, 2, "not a text number: abc"},
        {"convert missing input",
         {u"convert"_qs, u"ROOT/none.rtf"_qs, u"ROOT/out.txt"_qs},
         {},
         1,
         "cannot read"},
        {"convert unknown ending",
         {u"convert"_qs, u"DIR/Page0000002.kvp"_qs, u"ROOT/out.txt"_qs},
         {},
         2,
         "unknown file type"},
        {"convert without rtf",
         {u"convert"_qs, u"ROOT/a.txt"_qs, u"ROOT/b.md"_qs},
         {},
         2,
         "one of the two files must be RTF"},
        {"convert not rtf",
         {u"convert"_qs, u"ROOT/bad.rtf"_qs, u"ROOT/out.txt"_qs},
         {},
         1,
         "the input is not RTF"},
    };
    WriteAll(m_env.Root() + u"bad.rtf"_qs, "plain words");
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = DirContents(m_env.Root());
        const CliResult r = RunCli(Args(c.args), c.stdinText);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        if (c.args.isEmpty()) {
            EXPECT_TRUE(r.err.startsWith(c.message));
        } else {
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.endsWith('\n'));
            EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        }
        EXPECT_TRUE(DirContents(m_env.Root()) == before);
    }
}

TEST_P(CliErrors, ReadingCommandsWriteNothing)
{
    const auto before = DirContents(m_dir);
    const QStringList commands[] = {
        {u"tree"_qs, m_dir},
        {u"tree"_qs, m_dir, u"--ids"_qs},
        {u"show"_qs, m_dir, u"Page0000002"_qs, u"--format"_qs, u"html"_qs},
        {u"show"_qs, m_dir, u"Page0000004"_qs, u"--password-stdin"_qs},
        {u"check"_qs, m_dir},
    };
    for (const QStringList& args : commands) {
        const CliResult r = RunCli(args, "geheim\n");
        EXPECT_FALSE(r.out.isEmpty()) << args.join(u' ').toStdString();
        EXPECT_TRUE(DirContents(m_dir) == before) << args.join(u' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(m_dir + u"ReadMe.txt"_qs));
    EXPECT_EQ(QFile::exists(m_dir + u"lockdir.dat"_qs), GetParam());
    const QString tree = QString::fromUtf8(RunCli({u"tree"_qs, m_dir, u"--ids"_qs}).out);
    EXPECT_TRUE(tree.contains(u"  + *unbenannt* [Fldr0000009]\n    -  [Page0000077]\n"_qs))
        << tree.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Lock, CliErrors, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Locked" : "Unlocked"; });

} // namespace
