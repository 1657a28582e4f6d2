// search and keywords: exact output on the hand-made notebook, the search against the
// extracted text of a generated one, errors (exit status, one line, nothing changed, also
// under another's lock), and nothing written while protected pages are searched.
#include "clifixture.h"
#include "richtext/rtfplaintext.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <cstring>

using namespace korvtest;

// Readable failure messages: texts as text.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(u", "_qs).toStdString() << ']';
}

namespace {

const QString kTresorPassword = u"tresor"_qs;

// Standard input that looks at the sandbox while the search asks for a password.
class WatchingIo : public KvBufferIo
{
public:
    WatchingIo(QByteArray in, std::function<void()> watch)
        : KvBufferIo(std::move(in)), m_watch(std::move(watch))
    {}
    bool ReadStdinLine(QString& line) override
    {
        m_watch();
        return KvBufferIo::ReadStdinLine(line);
    }

private:
    std::function<void()> m_watch;
};

class CliSearch : public CliFixture
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        WriteHandMade();
        // The page in the trash becomes a page of protection class 1; keywords for two
        // elements.
        WriteMember(m_dir + u"Pageprps.002"_qs,
                    {u"[Page0000003]"_qs, u"PWAskMode=0"_qs,
                     u"PWBF="_qs + KvPagePassword::CheckValue(1, kTresorPassword), u"EncSCl=1"_qs});
        const BlowFishVCL cipher(KvPasswordBytes::Encode(kTresorPassword));
        ASSERT_TRUE(cipher.EncryptToFile("{\\rtf1\\ansi Alte Schatzkarte\\par}",
                                         m_dir + u"Page0000003.kvp"_qs));
        WriteMember(m_dir + u"keywords.001"_qs,
                    {u"[Page0000002]"_qs, u"Kwds=Reise; \"Idee\",plan"_qs, u"[Fldr0000001]"_qs,
                     u"Kwds=Plan"_qs, u"[Page0000001]"_qs, u"Kwds=Gruß"_qs});
    }

    CliResult Search(QStringList args, const QByteArray& in = {})
    {
        args.prepend(m_dir);
        args.prepend(u"search"_qs);
        return RunCli(args, in);
    }

    static QStringList Lines(const QByteArray& out)
    {
        return QString::fromUtf8(out).split(u'\n', Qt::SkipEmptyParts);
    }
};

struct OutputCase
{
    const char* name;
    QStringList args;
    QByteArray stdinText;
    QStringList lines;
};

TEST_F(CliSearch, HitsInExaminationOrderWithTheirPaths)
{
    const QString p1 = u"Page0000001\tOrdner/Willkommen"_qs;
    const QString p2 = u"Page0000002\tOrdner/Projekte/Plan"_qs;
    const QString p4 = u"Page0000004\tOrdner/Projekte/Willkommen"_qs;
    const QString f1 = u"Fldr0000001\tOrdner/Projekte"_qs;
    const OutputCase cases[] = {
        {"content", {u"Welt"_qs}, {}, {p2}},
        {"names, referrer first as examined", {u"willkommen"_qs}, {}, {p4, p1}},
        {"fixed-key content without a password",
         {u"Notizbuch"_qs, u"--in"_qs, u"text,protected-text"_qs},
         {},
         {p4, p1}},
        {"protected content left out", {u"Notizbuch"_qs, u"--in"_qs, u"text"_qs}, {}, {}},
        {"folder and page keywords",
         {u"plan"_qs, u"--in"_qs, u"page-keywords,folder-keywords"_qs},
         {},
         {f1, p2}},
        {"referrer has its target's keywords", {u"Gruß"_qs}, {}, {p4, p1}},
        {"folder names only",
         {u"e"_qs, u"--in"_qs, u"folder-names"_qs},
         {},
         {u"TopFolder\tOrdner"_qs, f1}},
        {"whole word", {u"Hall"_qs, u"--word"_qs}, {}, {}},
        {"match case", {u"hallo"_qs, u"--case"_qs}, {}, {}},
        {"and", {u"Hallo"_qs, u"--and"_qs, u"Welt"_qs}, {}, {p2}},
        {"and not", {u"Hallo"_qs, u"--and-not"_qs, u"welt"_qs}, {}, {}},
        {"and not with a case-sensitive second term",
         {u"Hallo"_qs, u"--and-not"_qs, u"welt"_qs, u"--case2"_qs},
         {},
         {p2}},
        {"or", {u"Welt"_qs, u"--or"_qs, u"Notizbuch"_qs}, {}, {p2, p4, p1}},
        {"status only", {u"--status"_qs, u"1"_qs}, {}, {p2}},
        {"folder status", {u"--status"_qs, u"2"_qs}, {}, {f1}},
        {"lone second term with a filter",
         {u"--or"_qs, u"Plan"_qs, u"--status"_qs, u"1"_qs},
         {},
         {p2}},
        {"term beginning with a dash", {u"--text=-x"_qs}, {}, {}},
        {"no subfolders", {u"Willkommen"_qs, u"--no-subfolders"_qs}, {}, {p1}},
        {"another folder", {u"Projekte"_qs, u"--folder"_qs, u"Fldr0000001"_qs}, {}, {f1}},
        {"trash, class 1 without the password",
         {u"Schatzkarte"_qs, u"--folder"_qs, u"TrashFolder"_qs},
         {},
         {}},
        {"trash, class 1 with the password",
         {u"Schatzkarte"_qs, u"--folder"_qs, u"TrashFolder"_qs, u"--password-stdin"_qs},
         "tresor\n",
         {u"Page0000003\tPapierkorb/Alt"_qs}},
        {"trash, wrong password",
         {u"Schatzkarte"_qs, u"--folder"_qs, u"TrashFolder"_qs, u"--password-stdin"_qs},
         "falsch\n",
         {}},
        {"within standard input",
         {u"e"_qs, u"--within"_qs, u"-"_qs},
         "Page0000002\tOrdner/Projekte/Plan\nFldr0000001\n\n",
         {f1, p2}},
    };
    for (const OutputCase& c : cases) {
        const CliResult r = Search(c.args, c.stdinText);
        EXPECT_EQ(r.code, 0) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(Lines(r.out), c.lines) << c.name << ": " << r.out.toStdString();
        EXPECT_TRUE(r.out.isEmpty() || r.out.endsWith('\n')) << c.name;
    }
}

TEST_F(CliSearch, DateFilterByLocalDay)
{
    const QDate day(2026, 5, 20);
    for (const auto& [id, when] :
         {std::pair{u"Page0000002"_qs, QDateTime(day, QTime(23, 59))},
          std::pair{u"Page0000001"_qs, QDateTime(day.addDays(1), QTime(0, 0))}}) {
        QFile f(m_dir + id + u".kvp"_qs);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(Lines(Search({u"--modified-on"_qs, u"2026-05-20"_qs}).out),
              QStringList{u"Page0000002\tOrdner/Projekte/Plan"_qs});
    EXPECT_EQ(Lines(Search({u"--modified-after"_qs, u"2026-05-20"_qs}).out),
              (QStringList{u"Page0000004\tOrdner/Projekte/Willkommen"_qs,
                           u"Page0000001\tOrdner/Willkommen"_qs}));
}

TEST_F(CliSearch, OutputCanBeSearchedAgain)
{
    const QString first = m_env.Root() + u"first.txt"_qs;
    WriteAll(first, Search({u"willkommen"_qs}).out);
    const CliResult r = Search({u"Notizbuch"_qs, u"--within"_qs, first});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(Lines(r.out), (QStringList{u"Page0000004\tOrdner/Projekte/Willkommen"_qs,
                                         u"Page0000001\tOrdner/Willkommen"_qs}));
    WriteAll(first, {});
    EXPECT_TRUE(Search({u"Notizbuch"_qs, u"--within"_qs, first}).out.isEmpty());
}

TEST_F(CliSearch, StatsLineLast)
{
    const CliResult r = Search({u"Hallo"_qs, u"--stats"_qs});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(Lines(r.out), QStringList{u"Page0000002\tOrdner/Projekte/Plan"_qs});
    const QRegularExpression stats(
        u"^elements=5 hits=1 texts=(\\d+) bytes=(\\d+) skipped=0 ms=\\d+\\n$"_qs);
    const QRegularExpressionMatch m = stats.match(QString::fromUtf8(r.err));
    ASSERT_TRUE(m.hasMatch()) << r.err.toStdString();
    // Plan, the referrer and its target (fixed key): three texts, their files' bytes.
    EXPECT_EQ(m.captured(1).toInt(), 3);
    const qint64 bytes = QFileInfo(m_dir + u"Page0000002.kvp"_qs).size() +
                         2 * QFileInfo(m_dir + u"Page0000001.kvp"_qs).size();
    EXPECT_EQ(m.captured(2).toLongLong(), bytes);

    const CliResult skipped = Search({u"Karte"_qs, u"--folder"_qs, u"TrashFolder"_qs, u"--stats"_qs,
                                      u"--in"_qs, u"text,protected-text"_qs});
    EXPECT_TRUE(skipped.err.startsWith("elements=2 hits=0 texts=0 bytes=0 skipped=1 ms="))
        << skipped.err.toStdString();
}

TEST_F(CliSearch, ProgressOnlyOnATerminal)
{
    KvBufferIo io;
    io.SetErrTerminal(true);
    EXPECT_EQ(KvCli::Run({u"search"_qs, m_dir, u"Hallo"_qs}, io), 0);
    EXPECT_EQ(io.OutText(), "Page0000002\tOrdner/Projekte/Plan\n");
    EXPECT_TRUE(io.ErrText().contains("elements examined")) << io.ErrText().toStdString();
    EXPECT_TRUE(io.ErrText().endsWith("\r\033[K"));
}

TEST_F(CliSearch, UnreadablePageIsNamedAfterTheHits)
{
    WriteAll(m_dir + u"Page0000001.kvp"_qs, "kein Datensatz");
    const CliResult r = Search({u"Hallo"_qs, u"--or"_qs, u"Notizbuch"_qs});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(Lines(r.out), QStringList{u"Page0000002\tOrdner/Projekte/Plan"_qs});
    // The referrer and its target share the file: one line each.
    const QStringList err = QString::fromUtf8(r.err).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(err.size(), 2) << r.err.toStdString();
    const QString corrupt = u"corrupt encrypted content file "_qs + m_dir + u"Page0000001.kvp"_qs;
    EXPECT_EQ(err[0], u"korvnote-cli search: Page0000004: "_qs + corrupt);
    EXPECT_EQ(err[1], u"korvnote-cli search: Page0000001: "_qs + corrupt);
}

TEST_F(CliSearch, FileThatCannotBeReadIsNamedWithTheSystemsReason)
{
    // A directory where the file should be: it opens, but cannot be read (also as root).
    const QString path = m_dir + u"Page0000002.kvp"_qs;
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    const CliResult r = Search({u"Hallo"_qs});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(QString::fromUtf8(r.err), u"korvnote-cli search: Page0000002: cannot read "_qs +
                                            path + u": "_qs +
                                            QString::fromLocal8Bit(std::strerror(EISDIR)) + u'\n');
}

TEST_F(CliSearch, KeywordsInIndexOrder)
{
    const CliResult r = RunCli({u"keywords"_qs, m_dir});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out), u"Gruß\tPage0000001\n"
                                        "Idee\tPage0000002\n"
                                        "Plan\tFldr0000001 Page0000002\n"
                                        "Reise\tPage0000002\n"_qs);
    const CliResult refs = RunCli({u"keywords"_qs, m_dir, u"--referrers"_qs});
    EXPECT_TRUE(refs.out.startsWith(QString(u"Gruß\tPage0000001 Page0000004\n"_qs).toUtf8()))
        << refs.out.toStdString();
}

TEST_F(CliSearch, NothingIsWrittenWhileProtectedPagesAreSearched)
{
    const QString tmp = m_env.Dir(u"qttemp"_qs);
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", tmp.toLocal8Bit());
    const auto before = DirContents(m_env.Root());
    int looks = 0;
    WatchingIo io("tresor\n", [&] {
        ++looks;
        EXPECT_TRUE(DirContents(m_env.Root()) == before);
    });
    const int code = KvCli::Run({u"search"_qs, m_dir, u"Karte"_qs, u"--or"_qs, u"Notizbuch"_qs,
                                 u"--folder"_qs, u"TrashFolder"_qs, u"--password-stdin"_qs},
                                io);
    EXPECT_EQ(code, 0) << io.ErrText().toStdString();
    EXPECT_EQ(io.OutText(), "Page0000003\tPapierkorb/Alt\n");
    EXPECT_EQ(looks, 1);
    EXPECT_TRUE(DirContents(m_env.Root()) == before);
    qputenv("TMPDIR", oldTmp);
}

// The engine against the text itself: on a generated notebook, a case-sensitive search of
// names and texts finds exactly the pages whose name or extracted text has the term.
TEST_F(CliSearch, GeneratedNotebookHitsAreThePagesHoldingTheTerm)
{
    const QString dir = m_env.Root() + u"gen/"_qs;
    KvGeneratorOptions o;
    o.seed = 11;
    o.elements = 600;
    o.protectedPercent = 0;
    const KvGeneratedNotebook nb = KvNotebookGenerator::Generate(dir, o);
    for (const QString& term : {u"Straße"_qs, u"beta Ziel"_qs, u"Vertrag 1"_qs}) {
        QStringList expected;
        for (const QString& id : nb.pageIds) {
            const QString target = nb.referrers.value(id, id);
            const QString text = KvRtfPlainText::Extract(ReadAll(dir + target + u".kvp"_qs));
            if (nb.names.value(id).contains(term) || text.contains(term))
                expected.append(id);
        }
        const CliResult r =
            RunCli({u"search"_qs, dir, term, u"--case"_qs, u"--in"_qs, u"page-names,text"_qs});
        ASSERT_EQ(r.code, 0) << r.err.toStdString();
        QStringList found;
        for (const QString& line : Lines(r.out))
            found.append(line.section(u'\t', 0, 0));
        // Pages in the trash are not below the top folder.
        QSet<QString> below;
        QStringList open{u"TopFolder"_qs};
        while (!open.isEmpty()) {
            for (const QString& child : nb.children.value(open.takeFirst())) {
                below.insert(child);
                open.append(child);
            }
        }
        QStringList inTop;
        for (const QString& id : expected) {
            if (below.contains(id))
                inTop.append(id);
        }
        std::sort(found.begin(), found.end());
        std::sort(inTop.begin(), inTop.end());
        EXPECT_EQ(found, inTop) << term.toStdString();
        EXPECT_FALSE(found.isEmpty()) << term.toStdString();
    }
}

struct ErrorCase
{
    const char* name;
    QStringList args; // "DIR": the data directory, "ROOT": the sandbox
    QByteArray stdinText;
    int code;
    const char* message;
};

class CliSearchErrors : public CliSearch, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        CliSearch::SetUp();
        if (GetParam())
            WriteAll(m_dir + u"lockdir.dat"_qs, kLockOfAnother);
    }
};

TEST_P(CliSearchErrors, OneLineNothingChanged)
{
    const ErrorCase cases[] = {
        {"no term, no filter", {u"search"_qs, u"DIR"_qs}, {}, 2, "nothing to search for"},
        {"lone second term",
         {u"search"_qs, u"DIR"_qs, u"--and"_qs, u"x"_qs},
         {},
         2,
         "a second term alone needs"},
        {"two links",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--and"_qs, u"b"_qs, u"--or"_qs, u"c"_qs},
         {},
         2,
         "only one of --and, --or and --and-not"},
        {"a link twice",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--or"_qs, u"b"_qs, u"--or"_qs, u"c"_qs},
         {},
         2,
         "option --or given twice"},
        {"two days",
         {u"search"_qs, u"DIR"_qs, u"--modified-on"_qs, u"2026-01-01"_qs, u"--modified-after"_qs,
          u"2026-01-01"_qs},
         {},
         2,
         "only one of --modified-before"},
        {"bad day",
         {u"search"_qs, u"DIR"_qs, u"--modified-on"_qs, u"1.1.2026"_qs},
         {},
         2,
         "YYYY-MM-DD"},
        {"unknown place",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--in"_qs, u"names"_qs},
         {},
         2,
         "unknown place 'names'"},
        {"no place",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--in"_qs, u","_qs},
         {},
         2,
         "--in needs at least one place"},
        {"protected text alone",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--in"_qs, u"protected-text"_qs},
         {},
         2,
         "protected-text needs text"},
        {"status not a number",
         {u"search"_qs, u"DIR"_qs, u"--status"_qs, u"gelb"_qs},
         {},
         2,
         "--status needs a whole number"},
        {"stdin wanted twice",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--within"_qs, u"-"_qs, u"--password-stdin"_qs},
         {},
         2,
         "both want standard input"},
        {"term twice",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--text"_qs, u"b"_qs},
         {},
         2,
         "the term is given twice"},
        {"dash term", {u"search"_qs, u"DIR"_qs, u"-x"_qs}, {}, 2, "unknown option: -x"},
        {"too many arguments",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"b"_qs},
         {},
         2,
         "unexpected argument: b"},
        {"no notebook", {u"search"_qs, u"ROOT"_qs, u"a"_qs}, {}, 1, "not a data directory"},
        {"folder is a page",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--folder"_qs, u"Page0000002"_qs},
         {},
         1,
         "Page0000002 is not a folder"},
        {"unknown folder",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--folder"_qs, u"Fldr0000077"_qs},
         {},
         1,
         "unknown id: Fldr0000077"},
        {"unreadable within",
         {u"search"_qs, u"DIR"_qs, u"a"_qs, u"--within"_qs, u"ROOT/none.txt"_qs},
         {},
         1,
         "cannot read"},
        {"keywords without directory", {u"keywords"_qs}, {}, 2, "missing argument: DIR"},
        {"keywords of no notebook", {u"keywords"_qs, u"ROOT"_qs}, {}, 1, "not a data directory"},
    };
    for (const ErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList args;
        for (QString a : c.args)
            args.append(a.replace(u"DIR"_qs, m_dir).replace(u"ROOT"_qs, m_env.Root()));
        const auto before = DirContents(m_env.Root());
        const CliResult r = RunCli(args, c.stdinText);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
        EXPECT_TRUE(DirContents(m_env.Root()) == before);
    }
}

TEST_P(CliSearchErrors, SearchesAndKeywordsChangeNoByte)
{
    const auto before = DirContents(m_env.Root());
    const QStringList commands[] = {
        {u"search"_qs, m_dir, u"e"_qs},
        {u"search"_qs, m_dir, u"Schatzkarte"_qs, u"--folder"_qs, u"TrashFolder"_qs,
         u"--password-stdin"_qs},
        {u"keywords"_qs, m_dir, u"--referrers"_qs},
    };
    for (const QStringList& args : commands) {
        const CliResult r = RunCli(args, "tresor\n");
        EXPECT_EQ(r.code, 0) << args.join(u' ').toStdString() << r.err.toStdString();
        EXPECT_FALSE(r.out.isEmpty()) << args.join(u' ').toStdString();
        EXPECT_TRUE(DirContents(m_env.Root()) == before) << args.join(u' ').toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Lock, CliSearchErrors, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Locked" : "Unlocked"; });

} // namespace
