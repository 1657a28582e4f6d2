// tree, show, text, generate, convert and --help, run in-process.
#include "clifixture.h"

#include <QFileInfo>

using namespace korvtest;

namespace {

class CliCommands : public CliFixture
{
};

TEST_F(CliCommands, TreeOfHandMadeNotebook)
{
    WriteHandMade();
    const CliResult r = RunCli({u"tree"_qs, m_dir, u"--ids"_qs});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    const QString expected =
        u"Ordner [TopFolder]\n"
        "  + Projekte [Fldr0000001] {%1}\n"
        "    - Plan [Page0000002] {%2}\n"
        "    - Willkommen [Page0000004] (referrer -> Page0000001) (protected)\n"
        "  - Willkommen [Page0000001] (protected)\n"
        "Papierkorb [TrashFolder]\n"
        "  - Alt [Page0000003]\n"
        "Lost elements (listed by no folder):\n"
        "  - Verloren [Page0000005]\n"_qs.arg(Status(2), Status(1));
    EXPECT_EQ(QString::fromUtf8(r.out), expected);

    const CliResult plain = RunCli({u"tree"_qs, m_dir});
    EXPECT_EQ(plain.code, 0);
    EXPECT_TRUE(plain.out.contains("    - Willkommen (referrer) (protected)\n"));
    EXPECT_FALSE(plain.out.contains("Page0000"));
}

TEST_F(CliCommands, TreeOfGeneratedNotebookListsEveryElementOnce)
{
    const KvGeneratedNotebook nb = Generate(400);
    const CliResult r = RunCli({u"tree"_qs, m_dir, u"--ids"_qs});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString out = QString::fromUtf8(r.out);
    EXPECT_TRUE(out.startsWith(u"Ordner [TopFolder]\n"_qs));
    EXPECT_TRUE(out.contains(u"\nPapierkorb [TrashFolder]"_qs));
    EXPECT_FALSE(out.contains(u"Lost elements"_qs));
    for (const QString& id : nb.folderIds + nb.pageIds)
        EXPECT_EQ(out.count(u'[' + id + u']'), 1) << id.toStdString();
    for (auto it = nb.referrers.cbegin(); it != nb.referrers.cend(); ++it)
        EXPECT_TRUE(out.contains(u'[' + it.key() + u"] "_qs)) << it.key().toStdString();
    for (auto it = nb.passwords.cbegin(); it != nb.passwords.cend(); ++it) {
        const qsizetype at = out.indexOf(u'[' + it.key() + u']');
        EXPECT_TRUE(out.mid(at, out.indexOf(u'\n', at) - at).endsWith(u"(protected)"_qs))
            << it.key().toStdString();
    }
}

TEST_F(CliCommands, ShowInEveryFormat)
{
    WriteHandMade();
    struct Case
    {
        const char* format;
        QByteArray expected; // contained in the output
    };
    const Case cases[] = {
        {"txt", "Hallo Welt\n"},
        {"rtf", kPlanRtf},
        {"html", "Welt</span>"},
        {"md", "Hallo **Welt**"},
    };
    for (const Case& c : cases) {
        const CliResult r = RunCli(
            {u"show"_qs, m_dir, u"Page0000002"_qs, u"--format"_qs, QString::fromLatin1(c.format)});
        EXPECT_EQ(r.code, 0) << c.format << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(c.expected)) << c.format << ": " << r.out.toStdString();
    }
    EXPECT_EQ(RunCli({u"show"_qs, m_dir, u"Page0000002"_qs}).out, "Hallo Welt\n");
    EXPECT_EQ(RunCli({u"show"_qs, m_dir, u"Page0000002"_qs, u"--format"_qs, u"rtf"_qs}).out,
              kPlanRtf);
}

TEST_F(CliCommands, ShowProtectedPageAsksForItsPassword)
{
    WriteHandMade();
    const QByteArray text = "Willkommen im Notizbuch\n";
    // From standard input, for the page and for a referrer of it.
    for (const QString& id : {u"Page0000001"_qs, u"Page0000004"_qs}) {
        const CliResult r = RunCli({u"show"_qs, m_dir, id, u"--password-stdin"_qs}, "geheim\n");
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_EQ(r.out, text);
    }
    // On the terminal: the prompt goes there, not to standard output.
    const CliResult tty = RunCli({u"show"_qs, m_dir, u"Page0000001"_qs}, {}, u"geheim"_qs);
    EXPECT_EQ(tty.code, 0);
    EXPECT_EQ(tty.out, text);
    // The stored RTF, decrypted.
    const CliResult rtf =
        RunCli({u"show"_qs, m_dir, u"Page0000001"_qs, u"--format=rtf"_qs, u"--password-stdin"_qs},
               "geheim\n");
    EXPECT_EQ(rtf.out, "{\\rtf1\\ansi Willkommen im Notizbuch\\par}");
}

TEST_F(CliCommands, ShowGeneratedProtectedPages)
{
    const KvGeneratedNotebook nb = Generate(300, 9, 20);
    ASSERT_FALSE(nb.passwords.isEmpty());
    for (auto it = nb.passwords.cbegin(); it != nb.passwords.cend(); ++it) {
        const CliResult r = RunCli({u"show"_qs, m_dir, it.key(), u"--password-stdin"_qs},
                                   it.value().toUtf8() + '\n');
        EXPECT_EQ(r.code, 0) << it.key().toStdString() << r.err.toStdString();
        EXPECT_TRUE(r.out.startsWith(nb.names.value(it.key()).toUtf8()));
    }
}

TEST_F(CliCommands, TextOfTheTable)
{
    const CliResult r = RunCli({u"text"_qs, u"5070"_qs});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(QString::fromUtf8(r.out), u"Verlorene Elemente, wiederhergestellt am %v%\n"_qs);
}

TEST_F(CliCommands, HelpOfEveryCommand)
{
    for (const char* cmd :
         {"tree", "show", "check", "convert", "generate", "text", "search", "keywords"}) {
        const CliResult r = RunCli({QString::fromLatin1(cmd), u"--help"_qs});
        EXPECT_EQ(r.code, 0) << cmd;
        EXPECT_TRUE(r.out.startsWith(QByteArray(QByteArray("usage: korvnote-cli ") + cmd))) << cmd;
        EXPECT_TRUE(r.err.isEmpty());
    }
    const CliResult top = RunCli({u"--help"_qs});
    EXPECT_EQ(top.code, 0);
    EXPECT_TRUE(top.out.contains("generate DIR"));
}

TEST_F(CliCommands, GenerateGivesTheAskedShape)
{
    const QString dir = m_env.Root() + u"gen"_qs;
    const CliResult r = RunCli({u"generate"_qs, dir, u"--pages"_qs, u"500"_qs, u"--folders"_qs,
                                u"40"_qs, u"--seed"_qs, u"3"_qs});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("generated 500 pages")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(" and 40 folders")) << r.out.toStdString();
    const CliResult check = RunCli({u"check"_qs, dir});
    EXPECT_EQ(check.code, 0) << check.out.toStdString();
    EXPECT_TRUE(check.out.contains("no findings"));
    EXPECT_TRUE(check.out.contains("40 folders, 500 pages")) << check.out.toStdString();

    // The same seed gives the same bytes.
    const QString again = m_env.Root() + u"gen2"_qs;
    RunCli({u"generate"_qs, again, u"--pages"_qs, u"500"_qs, u"--folders"_qs, u"40"_qs,
            u"--seed"_qs, u"3"_qs});
    EXPECT_TRUE(DirContents(dir) == DirContents(again));

    // Flat: no folders.
    const QString flat = m_env.Root() + u"flat"_qs;
    const CliResult f =
        RunCli({u"generate"_qs, flat, u"--pages"_qs, u"50"_qs, u"--depth"_qs, u"0"_qs});
    EXPECT_TRUE(f.out.contains(" and 0 folders")) << f.out.toStdString();
}

TEST_F(CliCommands, GenerateLimitsTheNesting)
{
    const QString deep = m_env.Root() + u"deep"_qs;
    const CliResult unlimited = RunCli({u"generate"_qs, deep, u"--pages"_qs, u"800"_qs});
    ASSERT_EQ(unlimited.code, 0);
    ASSERT_FALSE(unlimited.out.contains("nested 1 deep")) << unlimited.out.toStdString();
    for (int depth : {1, 2}) {
        const QString dir = m_env.Root() + u"depth"_qs + QString::number(depth);
        const CliResult r = RunCli(
            {u"generate"_qs, dir, u"--pages"_qs, u"800"_qs, u"--depth"_qs, QString::number(depth)});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(r.out.contains(QByteArray("nested " + QByteArray::number(depth) + " deep")))
            << r.out.toStdString();
        const CliResult check = RunCli({u"check"_qs, dir});
        EXPECT_EQ(check.code, 0) << check.out.toStdString();
        EXPECT_TRUE(check.out.contains(" 800 pages")) << check.out.toStdString();
        const QString tree = QString::fromUtf8(RunCli({u"tree"_qs, dir, u"--ids"_qs}).out);
        const QString tooDeep = QString(depth * 2 + 2, u' ') + u"+ "_qs;
        EXPECT_FALSE(tree.contains(u'\n' + tooDeep)) << tree.toStdString();
        EXPECT_TRUE(tree.contains(u'\n' + QString(depth * 2, u' ') + u"+ "_qs));
        // The same folders and pages as without the limit, each once.
        const QString all = QString::fromUtf8(RunCli({u"tree"_qs, deep, u"--ids"_qs}).out);
        EXPECT_EQ(tree.count(u"[Fldr"_qs), all.count(u"[Fldr"_qs));
        EXPECT_EQ(tree.count(u"[Page"_qs), all.count(u"[Page"_qs));
    }
}

TEST_F(CliCommands, GenerateProtectsPagesWithThePasswordFromStdin)
{
    const QString dir = m_env.Root() + u"prot"_qs;
    const CliResult r = RunCli({u"generate"_qs, dir, u"--pages"_qs, u"60"_qs, u"--protected"_qs,
                                u"4"_qs, u"--password-stdin"_qs},
                               "s3cret\n");
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    const QString tree = QString::fromUtf8(RunCli({u"tree"_qs, dir, u"--ids"_qs}).out);
    QStringList ids;
    for (const QString& line : tree.split(u'\n')) {
        if (line.endsWith(u"(protected)"_qs) && !line.contains(u"referrer"_qs))
            ids.append(line.section(u'[', 1).section(u']', 0, 0));
    }
    ASSERT_EQ(ids.size(), 4) << tree.toStdString();
    for (const QString& id : ids) {
        const CliResult show = RunCli({u"show"_qs, dir, id, u"--password-stdin"_qs}, "s3cret\n");
        EXPECT_EQ(show.code, 0) << show.err.toStdString();
        EXPECT_FALSE(show.out.isEmpty());
        EXPECT_NE(RunCli({u"show"_qs, dir, id, u"--password-stdin"_qs}, "other\n").code, 0);
    }
    EXPECT_EQ(RunCli({u"check"_qs, dir}).code, 0);
}

TEST_F(CliCommands, ConvertBetweenRtfAndTheOtherFormats)
{
    const QString rtf = m_env.Root() + u"in.rtf"_qs;
    WriteAll(rtf, kPlanRtf);
    struct Case
    {
        const char* ending;
        QByteArray expected;
    };
    const Case cases[] = {
        {"txt", "Hallo Welt\n"}, {"html", "Welt</span>"}, {"md", "Hallo **Welt**"}};
    for (const Case& c : cases) {
        const QString out = m_env.Root() + u"out."_qs + QString::fromLatin1(c.ending);
        ASSERT_EQ(RunCli({u"convert"_qs, rtf, out}).code, 0) << c.ending;
        EXPECT_TRUE(ReadAll(out).contains(c.expected)) << ReadAll(out).toStdString();
        // And back to RTF: the text and its bold word survive.
        const QString back =
            m_env.Root() + u"back_"_qs + QString::fromLatin1(c.ending) + u".rtf"_qs;
        ASSERT_EQ(RunCli({u"convert"_qs, out, back}).code, 0) << c.ending;
        const QString backTxt = back + u".txt"_qs;
        ASSERT_EQ(RunCli({u"convert"_qs, back, backTxt}).code, 0);
        EXPECT_EQ(ReadAll(backTxt), "Hallo Welt\n") << c.ending;
        if (QByteArray(c.ending) != "txt") {
            EXPECT_TRUE(ReadAll(back).contains("\\b Welt")) << ReadAll(back).toStdString();
        }
    }
}

TEST_F(CliCommands, ConvertGeneratedPagesKeepsTheirText)
{
    const KvGeneratedNotebook nb = Generate(60, 17, 0);
    int converted = 0;
    for (const QString& id : nb.pageIds) {
        if (nb.referrers.contains(id) || converted == 10)
            continue;
        ++converted;
        const QByteArray text = RunCli({u"show"_qs, m_dir, id}).out;
        ASSERT_FALSE(text.isEmpty()) << id.toStdString();
        // The page file itself, under an ending convert knows.
        const QString rtf = m_env.Root() + id + u".rtf"_qs;
        WriteAll(rtf, ReadAll(m_dir + id + u".kvp"_qs));
        for (const char* ending : {"txt", "html", "md"}) {
            const QString out = rtf + u'.' + QString::fromLatin1(ending);
            const QString back = out + u".rtf"_qs;
            const QString backTxt = back + u".txt"_qs;
            ASSERT_EQ(RunCli({u"convert"_qs, rtf, out}).code, 0);
            ASSERT_EQ(RunCli({u"convert"_qs, out, back}).code, 0);
            ASSERT_EQ(RunCli({u"convert"_qs, back, backTxt}).code, 0);
            if (QByteArray(ending) == "txt") {
                EXPECT_EQ(ReadAll(out), text) << id.toStdString();
            }
            if (QByteArray(ending) != "md") { // Markdown may re-flow list lines
                EXPECT_EQ(ReadAll(backTxt), text) << id.toStdString() << ' ' << ending;
            }
        }
    }
}

} // namespace
