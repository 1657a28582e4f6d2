#include "cli/kvclisearch.h"

#include "cli/kvcli.h"
#include "cli/kvcliargs.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "lists/kvsearchreceiver.h"
#include "lists/kvsearchthread.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "model/kvpasswordasker.h"

#include <QDate>
#include <QElapsedTimer>
#include <QFile>

namespace KvCliSearch {

const char* const Help =
    "usage: korvnote-cli search DIR [TERM] [--word] [--case]\n"
    "                           [--and T2 | --or T2 | --and-not T2] [--word2] [--case2]\n"
    "                           [--folder ID] [--no-subfolders] [--in PLACES]\n"
    "                           [--modified-before DAY | --modified-on DAY |\n"
    "                            --modified-after DAY] [--status N] [--within FILE]\n"
    "                           [--password-stdin] [--stats]\n"
    "\n"
    "Searches the notebook in DIR as the program's search window does and prints one line\n"
    "per hit in examination order: the id, a TAB and the names from the top folder down to\n"
    "the element joined by '/'. A term that begins with '-' is given as --text=TERM.\n"
    "  --word, --case       the term must be a whole word / match upper and lower case\n"
    "  --and, --or, --and-not T2   a second term and how it links to the first;\n"
    "                       --word2, --case2 are its options\n"
    "  --folder ID          the folder to search (default: the top folder)\n"
    "  --no-subfolders      only the folder's own pages and the names of its folders\n"
    "  --in PLACES          a comma list of page-names, folder-names, text,\n"
    "                       protected-text (needs text), page-keywords, folder-keywords\n"
    "                       (default: all)\n"
    "  --modified-before/-on/-after DAY   pages whose file changed before, on or after\n"
    "                       DAY (YYYY-MM-DD, local time)\n"
    "  --status N           elements with status N (0: none)\n"
    "  --within FILE        only the elements whose ids begin the lines of FILE ('-':\n"
    "                       standard input), so that output can be searched again\n"
    "  --password-stdin     one line of standard input answers every password question;\n"
    "                       without it protected pages that need one do not match\n"
    "  --stats              a last line on standard error: elements=E hits=H texts=T\n"
    "                       bytes=B skipped=S ms=M\n"
    "Exit status 0 with or without hits; 1 when the notebook, the folder or FILE cannot\n"
    "be used, or (after the hits) when a page's content could not be read; 2 for a wrong\n"
    "command line.\n";

namespace {

const QString kAnd = u"--and"_qs;
const QString kOr = u"--or"_qs;
const QString kAndNot = u"--and-not"_qs;
const QString kBefore = u"--modified-before"_qs;
const QString kOn = u"--modified-on"_qs;
const QString kAfter = u"--modified-after"_qs;

// Answers every password question with one line of standard input, read at the first
// question; without --password-stdin every question is cancelled.
class StdinAsker : public KvPasswordAsker
{
public:
    StdinAsker(KvCliIo& io, bool fromStdin) : m_io(io), m_fromStdin(fromStdin)
    {
        m_previous = KvPasswordAsker::Current();
        KvPasswordAsker::SetCurrent(this);
    }
    ~StdinAsker() override
    {
        KvPasswordAsker::SetCurrent(m_previous);
        m_line.fill(QChar(0));
    }
    StdinAsker(const StdinAsker&) = delete;
    StdinAsker& operator=(const StdinAsker&) = delete;

    bool AskPassword(KvPage&, QString& password) override
    {
        if (!m_fromStdin)
            return false;
        if (!m_read) {
            m_read = true;
            m_has = m_io.ReadStdinLine(m_line);
        }
        if (!m_has)
            return false;
        password = m_line;
        return true;
    }

private:
    KvCliIo& m_io;
    bool m_fromStdin;
    bool m_read = false;
    bool m_has = false;
    QString m_line;
    KvPasswordAsker* m_previous = nullptr;
};

// Prints the hits as they are reported, and a progress line on a terminal.
class Printer : public KvSearchReceiver
{
public:
    explicit Printer(KvCliIo& io) : m_io(io), m_progress(io.ErrIsTerminal()) {}

    void StartSearchNotify(int count) override { m_count = count; }
    void PageSearchNotify(const QString& id, bool found) override
    {
        ++m_examined;
        if (!found)
            return;
        const KvObject* obj = FindObject(id);
        if (!obj)
            return;
        m_out += (id + u'\t' + obj->PathText(true, u"/"_qs)).toUtf8() + '\n';
    }
    void SearchBatchDone() override
    {
        Flush();
        if (m_progress)
            m_io.Err(u"\r%1 of %2 elements examined"_qs.arg(m_examined).arg(m_count).toUtf8());
    }
    void OnSearchTerminate() override
    {
        Flush();
        if (m_progress)
            m_io.Err("\r\033[K");
    }

private:
    void Flush()
    {
        if (m_out.isEmpty())
            return;
        m_io.Out(m_out);
        m_out.clear();
    }

    KvCliIo& m_io;
    bool m_progress;
    QByteArray m_out;
    int m_count = 0;
    int m_examined = 0;
};

// The day of a --modified-* option as the date-time number of the criteria.
double Day(const QString& option, const QString& text)
{
    const QDate day = QDate::fromString(text, u"yyyy-MM-dd"_qs);
    if (!day.isValid())
        throw KvCliUsageError(u"%1 needs a day as YYYY-MM-DD, not '%2'"_qs.arg(option, text));
    return double(QDate(1899, 12, 30).daysTo(day));
}

void SetPlaces(const QString& list, KvSearchCrit& crit)
{
    crit.PageN = crit.FldrN = crit.PageC = crit.PageCPw = crit.PageK = crit.FldrK = false;
    const QStringList places = list.split(u',', Qt::SkipEmptyParts);
    if (places.isEmpty())
        throw KvCliUsageError(u"--in needs at least one place"_qs);
    for (const QString& place : places) {
        const QString p = place.trimmed();
        if (p == u"page-names")
            crit.PageN = true;
        else if (p == u"folder-names")
            crit.FldrN = true;
        else if (p == u"text")
            crit.PageC = true;
        else if (p == u"protected-text")
            crit.PageCPw = true;
        else if (p == u"page-keywords")
            crit.PageK = true;
        else if (p == u"folder-keywords")
            crit.FldrK = true;
        else
            throw KvCliUsageError(u"unknown place '%1' (page-names, folder-names, text, "
                                  "protected-text, page-keywords, folder-keywords)"_qs.arg(p));
    }
    if (crit.PageCPw && !crit.PageC)
        throw KvCliUsageError(u"protected-text needs text in --in"_qs);
}

// The criteria of the command line, checked as the search window checks its controls.
KvSearchCrit Criteria(const KvCliArgs& args, const QStringList& pos)
{
    KvSearchCrit crit;
    if (pos.size() > 1 && args.Has(u"--text"_qs))
        throw KvCliUsageError(u"the term is given twice (TERM and --text)"_qs);
    crit.SText1 = pos.size() > 1 ? pos[1] : args.Value(u"--text"_qs);
    crit.WhWord1 = args.Flag(u"--word"_qs);
    crit.MtCase1 = args.Flag(u"--case"_qs);
    int links = 0;
    for (const auto& [option, cond] :
         {std::pair{kAnd, KvSearchCrit::And}, std::pair{kOr, KvSearchCrit::Or},
          std::pair{kAndNot, KvSearchCrit::AndNot}}) {
        if (!args.Has(option))
            continue;
        ++links;
        crit.SText2 = args.Value(option);
        crit.Cond = cond;
    }
    if (links > 1)
        throw KvCliUsageError(u"only one of --and, --or and --and-not"_qs);
    crit.WhWord2 = args.Flag(u"--word2"_qs);
    crit.MtCase2 = args.Flag(u"--case2"_qs);

    int dates = 0;
    for (const auto& [option, cond] :
         {std::pair{kBefore, KvSearchCrit::Before}, std::pair{kOn, KvSearchCrit::On},
          std::pair{kAfter, KvSearchCrit::After}}) {
        if (!args.Has(option))
            continue;
        ++dates;
        crit.DateSearch = true;
        crit.DSCond = cond;
        crit.SDate = Day(option, args.Value(option));
    }
    if (dates > 1)
        throw KvCliUsageError(
            u"only one of --modified-before, --modified-on and --modified-after"_qs);
    if (args.Has(u"--status"_qs)) {
        crit.StatusSearch = true;
        crit.SStatus = args.Number(u"--status"_qs, 0, 0);
    }
    // As the window's Start: a term or a filter; a lone second term moves into the first
    // place, and only a filter lets it count.
    if (crit.SText1.isEmpty() && !crit.DateSearch && !crit.StatusSearch)
        throw KvCliUsageError(
            crit.SText2.isEmpty()
                ? u"nothing to search for: give a TERM, a --modified-* day or --status"_qs
                : u"a second term alone needs a --modified-* day or --status"_qs);
    if (crit.SText1.isEmpty()) {
        crit.SText1 = crit.SText2;
        crit.SText2.clear();
    }

    crit.SubFldr = !args.Flag(u"--no-subfolders"_qs);
    if (args.Has(u"--in"_qs))
        SetPlaces(args.Value(u"--in"_qs), crit);
    crit.Fldr = args.Has(u"--folder"_qs) ? args.Value(u"--folder"_qs) : u"TopFolder"_qs;
    return crit;
}

// Why the search could not read something, in the command line's words.
QString Reason(const KvSearchProblem& p)
{
    switch (p.kind) {
    case KvSearchProblem::Unreadable:
        return u"cannot read %1: %2"_qs.arg(p.path, KvSearchProblem::SystemReason(p.error));
    case KvSearchProblem::Corrupt:
        return u"corrupt encrypted content file %1"_qs.arg(p.path);
    case KvSearchProblem::NotDecrypted:
        return u"cannot decrypt %1: %2"_qs.arg(p.path, p.detail);
    case KvSearchProblem::KeywordsNotRead:
        return u"keywords not searched: "_qs + p.detail;
    }
    return {};
}

// The ids that begin the lines of the file ("-": standard input).
QStringList WithinIds(const QString& path, KvCliIo& io)
{
    QStringList lines;
    if (path == u"-") {
        QString line;
        while (io.ReadStdinLine(line))
            lines.append(line);
    } else {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            throw KvCliError(u"cannot read %1: %2"_qs.arg(path, f.errorString()));
        lines = QString::fromUtf8(f.readAll()).split(u'\n');
    }
    QStringList ids;
    for (const QString& line : std::as_const(lines)) {
        const QString id = line.section(u'\t', 0, 0).trimmed();
        if (!id.isEmpty())
            ids.append(id);
    }
    return ids;
}

} // namespace

int Run(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv,
                         {u"--word"_qs, u"--case"_qs, u"--word2"_qs, u"--case2"_qs,
                          u"--no-subfolders"_qs, u"--password-stdin"_qs, u"--stats"_qs},
                         {u"--text"_qs, kAnd, kOr, kAndNot, u"--folder"_qs, u"--in"_qs, kBefore,
                          kOn, kAfter, u"--status"_qs, u"--within"_qs});
    if (args.Help()) {
        io.Out(Help);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(1, 2, u"DIR"_qs);
    const KvSearchCrit crit = Criteria(args, pos);
    const bool passwordStdin = args.Flag(u"--password-stdin"_qs);
    if (passwordStdin && args.Value(u"--within"_qs) == u"-")
        throw KvCliUsageError(u"--within - and --password-stdin both want standard input"_qs);

    KvCliNotebook nb(pos[0], false);
    nb.Build();
    KvObject* obj = FindObject(crit.Fldr);
    auto* folder = dynamic_cast<KvFolder*>(obj);
    if (!folder)
        throw KvCliError(obj ? u"%1 is not a folder"_qs.arg(crit.Fldr)
                             : u"unknown id: %1"_qs.arg(crit.Fldr));
    std::optional<QStringList> within;
    if (args.Has(u"--within"_qs))
        within = WithinIds(args.Value(u"--within"_qs), io);

    StdinAsker asker(io, passwordStdin);
    Printer printer(io);
    KvSearchThread search(printer, within, *folder, crit);
    QElapsedTimer clock;
    clock.start();
    search.Wait();
    const qint64 ms = clock.elapsed();

    for (const KvSearchProblem& p : search.Problems())
        io.ErrLine(p.id.isEmpty() ? u"korvnote-cli search: %1"_qs.arg(Reason(p))
                                  : u"korvnote-cli search: %1: %2"_qs.arg(p.id, Reason(p)));
    if (args.Flag(u"--stats"_qs)) {
        const KvSearchStats& s = search.Stats();
        io.ErrLine(u"elements=%1 hits=%2 texts=%3 bytes=%4 skipped=%5 ms=%6"_qs.arg(s.elements)
                       .arg(s.hits)
                       .arg(s.texts)
                       .arg(s.bytes)
                       .arg(s.skipped)
                       .arg(ms));
    }
    return search.Problems().isEmpty() ? KvCli::Success : KvCli::Failure;
}

} // namespace KvCliSearch
