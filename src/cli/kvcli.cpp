#include "cli/kvcli.h"

#include "app/kvtexts.h"
#include "cli/kvcliargs.h"
#include "cli/kvclicheck.h"
#include "cli/kvcliedit.h"
#include "cli/kvclierror.h"
#include "cli/kvcliformats.h"
#include "cli/kvcligenerate.h"
#include "cli/kvcliio.h"
#include "cli/kvclikeywords.h"
#include "cli/kvclilinks.h"
#include "cli/kvclilists.h"
#include "cli/kvclinotebook.h"
#include "cli/kvclisearch.h"
#include "cli/kvclishow.h"
#include "cli/kvclistyles.h"
#include "cli/kvclitree.h"
#include "platform/kvatomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <QTextDocument>

namespace {

const char* const kMainHelp =
    "usage: korvnote-cli COMMAND [ARGS...]\n"
    "\n"
    "Commands (each takes --help):\n"
    "  tree DIR [--ids]              the notebook as an indented tree\n"
    "  show DIR ID [--format F]      a page's content (txt, rtf, html, md)\n"
    "  check DIR [--repair]          integrity check of a data directory\n"
    "  convert IN OUT                RTF to and from txt, html and md by the file endings\n"
    "  generate DIR --pages N ...    a synthetic notebook in a new directory\n"
    "  search DIR [TERM] ...         the program's search, one line per hit\n"
    "  keywords DIR [--referrers]    the keyword index\n"
    "  bookmarks|history|results DIR ...   bookmarks, browse history, saved search results\n"
    "  text NUMBER                   a text of the text table\n"
    "  link|resolve|fill DIR ...     link texts, what a click on a link does, template text\n"
    "  styles [--settings SDIR]      the text styles of the program's settings\n"
    "\n"
    "Commands that change a notebook:\n"
    "  add DIR --page|--folder --in FOLDERID (--name NAME | --names-from FILE|-)\n"
    "  rename DIR ID NAME\n"
    "  trash DIR ID...               delete into the trash\n"
    "  move DIR ID... --to FOLDERID [--pos N] | move DIR ID --pos N\n"
    "  delete DIR ID...              remove elements of the trash for good\n"
    "  empty-trash DIR\n"
    "  copy DIR ID --to FOLDERID [--original] [--password-stdin]\n"
    "  referrer DIR PAGEID --in FOLDERID\n"
    "  sort DIR FOLDERID [--order 0|1|2]\n"
    "  style-apply DIR PAGEID NAME --range A:B    a style on part of a page\n"
    "  replace DIR PAGEID TERM REPLACEMENT ...    replace all, as the dialog does\n"
    "\n"
    "Commands that change the text styles of the program's settings (--settings SDIR):\n"
    "  style-create|style-redefine DIR PAGEID NAME --range A:B [--text] [--para]\n"
    "  style-rename OLD NEW\n"
    "  style-delete NAME\n"
    "\n"
    "Reading commands never write into the data directory and work while another\n"
    "instance holds its lock. Changing commands take the lock as the program does and\n"
    "refuse when another instance holds it or the access is read-only; they check every\n"
    "argument before the first change. SIGINT or SIGTERM stops them after the current\n"
    "element, with what was done stored (exit status 130).\n";

const char* const kTreeHelp =
    "usage: korvnote-cli tree DIR [--ids]\n"
    "\n"
    "Prints the notebook of the data directory DIR as an indented tree: the top folder,\n"
    "then the trash. Folders are marked '+', pages '-'; {name} is the status, (referrer)\n"
    "a page that stands for another, (protected) a page with a password. Sections that no\n"
    "folder lists follow under 'Lost elements'.\n"
    "  --ids   show the id of every element, and the target id of referrers\n";

const char* const kShowHelp =
    "usage: korvnote-cli show DIR ID [--format txt|rtf|html|md] [--password-stdin]\n"
    "\n"
    "Writes the content of page ID to standard output (default: plain text). A protected\n"
    "page asks for its password on the terminal without echo.\n"
    "  --format F         txt, rtf, html or md\n"
    "  --password-stdin   read the password from the first line of standard input\n";

const char* const kCheckHelp =
    "usage: korvnote-cli check DIR [--repair]\n"
    "\n"
    "Checks the data directory DIR: unreadable or unparsable member files, sections in two\n"
    "member files, child ids without a section, ids listed twice, lost elements, content\n"
    "files that are not RTF, content files that belong to no page, corrupt encrypted\n"
    "records, protected pages (protection class 0) whose content does not decrypt with the\n"
    "password of their check value, referrers whose target is gone, an unfinished bulk\n"
    "change (a page without a content file is empty, not a finding). One line per finding,\n"
    "then a summary; the exit status is 0 only when nothing is wrong.\n"
    "Text the program kept of pages that were not saved (the typing journal and the exit's\n"
    "rescue, in the rescue folder of the running user's settings directory) is listed in\n"
    "lines that begin with \"rescue file waiting:\"; the program offers it back at its next\n"
    "start. These lines are no findings and do not change the exit status.\n"
    "  --repair   take the directory's lock, complete or undo an unfinished bulk change,\n"
    "             drop lines a crash cut short in member files,\n"
    "             collect lost elements and pages known only by their content file or page\n"
    "             properties into a recovery folder, name the elements whose name was lost,\n"
    "             as the program's start-up does, and release the lock\n";

const char* const kConvertHelp =
    "usage: korvnote-cli convert IN OUT\n"
    "\n"
    "Converts between RTF and plain text, HTML or Markdown, chosen by the file endings\n"
    ".rtf, .txt, .html/.htm, .md/.markdown. OUT is replaced.\n";

const char* const kGenerateHelp =
    "usage: korvnote-cli generate DIR --pages N [--folders M] [--depth D]\n"
    "                             [--protected K --password-stdin] [--seed S]\n"
    "                             [--page-size BYTES]\n"
    "\n"
    "Writes a synthetic notebook into DIR (created when missing; refused when it already\n"
    "holds a notebook). The same options and seed give the same bytes.\n"
    "  --pages N       pages below the two roots (referrers among them)\n"
    "  --folders M     folders (default: about a tenth of the pages)\n"
    "  --depth D       folders nested at most D deep (0: no folders, every page directly\n"
    "                  in the top folder or the trash)\n"
    "  --protected K   protect K pages with the password read from standard input\n"
    "  --seed S        seed of the generator (default 1)\n"
    "  --page-size B   pages get paragraphs until their RTF has at least B bytes\n";

const char* const kTextHelp = "usage: korvnote-cli text NUMBER\n"
                              "\n"
                              "Prints the text of that number in the text table.\n";

int Tree(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {u"--ids"_qs}, {});
    if (args.Help()) {
        io.Out(kTreeHelp);
        return KvCli::Success;
    }
    const QString dir = args.Positional(1, u"DIR"_qs).at(0);
    KvCliNotebook nb(dir, false);
    nb.Build();
    KvCliTree::Print(nb, args.Flag(u"--ids"_qs), io);
    return KvCli::Success;
}

int Show(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {u"--password-stdin"_qs}, {u"--format"_qs});
    if (args.Help()) {
        io.Out(kShowHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(2, u"DIR ID"_qs);
    auto format = KvCliFormats::Format::Txt;
    if (args.Has(u"--format"_qs)) {
        const auto f = KvCliFormats::FromName(args.Value(u"--format"_qs));
        if (!f)
            throw KvCliUsageError(
                u"unknown format '%1' (txt, rtf, html or md)"_qs.arg(args.Value(u"--format"_qs)));
        format = *f;
    }
    KvCliShow::Run(pos[0], pos[1], format, args.Flag(u"--password-stdin"_qs), io);
    return KvCli::Success;
}

int Check(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {u"--repair"_qs}, {});
    if (args.Help()) {
        io.Out(kCheckHelp);
        return KvCli::Success;
    }
    const QString dir = args.Positional(1, u"DIR"_qs).at(0);
    const bool clean =
        args.Flag(u"--repair"_qs) ? KvCliCheck::Repair(dir, io) : KvCliCheck::Run(dir, io);
    return clean ? KvCli::Success : KvCli::Failure;
}

int Convert(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {});
    if (args.Help()) {
        io.Out(kConvertHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(2, u"IN OUT"_qs);
    const auto in = KvCliFormats::FromPath(pos[0]);
    const auto out = KvCliFormats::FromPath(pos[1]);
    if (!in)
        throw KvCliUsageError(u"unknown file type of %1 (.rtf, .txt, .html, .md)"_qs.arg(pos[0]));
    if (!out)
        throw KvCliUsageError(u"unknown file type of %1 (.rtf, .txt, .html, .md)"_qs.arg(pos[1]));
    if ((*in == KvCliFormats::Format::Rtf) == (*out == KvCliFormats::Format::Rtf) && *in != *out)
        throw KvCliUsageError(u"one of the two files must be RTF"_qs);
    QFile f(pos[0]);
    if (!QFileInfo(pos[0]).isFile() || !f.open(QIODevice::ReadOnly))
        throw KvCliError(u"cannot read %1: %2"_qs.arg(
            pos[0], QFileInfo::exists(pos[0]) ? f.errorString() : u"no such file"_qs));
    const QByteArray bytes = f.readAll();
    f.close();
    QTextDocument doc;
    KvCliFormats::Read(bytes, *in, doc);
    int error = 0;
    if (!KvAtomicFile::WriteFile(pos[1], KvCliFormats::Write(doc, *out),
                                 KvAtomicFile::Access::KeepOrDefault, &error))
        throw KvCliError(u"cannot write %1: %2"_qs.arg(pos[1], KvAtomicFile::ErrorString(error)));
    return KvCli::Success;
}

int Generate(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {u"--password-stdin"_qs},
                         {u"--pages"_qs, u"--folders"_qs, u"--depth"_qs, u"--protected"_qs,
                          u"--seed"_qs, u"--page-size"_qs});
    if (args.Help()) {
        io.Out(kGenerateHelp);
        return KvCli::Success;
    }
    const QString dir = args.Positional(1, u"DIR"_qs).at(0);
    if (!args.Has(u"--pages"_qs))
        throw KvCliUsageError(u"missing option: --pages N"_qs);
    KvCliGenerate::Request r;
    r.dir = dir;
    r.pages = args.Number(u"--pages"_qs, 0, 0);
    r.folders = args.Number(u"--folders"_qs, -1, 0);
    r.depth = args.Number(u"--depth"_qs, -1, 0);
    r.protectedPages = args.Number(u"--protected"_qs, 0, 0);
    r.seed = quint32(args.Number(u"--seed"_qs, 1, 0));
    r.pageBytes = args.Number(u"--page-size"_qs, 0, 0);
    if (r.protectedPages > 0) {
        if (!args.Flag(u"--password-stdin"_qs))
            throw KvCliUsageError(u"--protected needs --password-stdin (a password is never "
                                  "taken from the command line)"_qs);
        if (!io.ReadStdinLine(r.password) || r.password.isEmpty())
            throw KvCliError(u"standard input gave no password"_qs);
    }
    KvCliGenerate::Run(r, io);
    return KvCli::Success;
}

int Text(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {});
    if (args.Help()) {
        io.Out(kTextHelp);
        return KvCli::Success;
    }
    const QString arg = args.Positional(1, u"NUMBER"_qs).at(0);
    bool ok = false;
    const int number = arg.toInt(&ok);
    if (!ok)
        throw KvCliUsageError(u"not a text number: %1"_qs.arg(arg));
    const QString text = KvTexts::Text(number);
    if (text.isEmpty())
        throw KvCliError(u"no text %1 in the text table"_qs.arg(number));
    io.OutLine(text);
    return KvCli::Success;
}

} // namespace

namespace KvCli {

int Run(const QStringList& args, KvCliIo& io)
{
    if (args.isEmpty()) {
        io.Err(kMainHelp);
        return Usage;
    }
    const QString& cmd = args.first();
    const QStringList rest = args.mid(1);
    // Reading commands say so when a bulk change of the directory is unfinished.
    struct Notices
    {
        explicit Notices(KvCliIo& io) { KvCliNotebook::SetNotices(&io); }
        ~Notices() { KvCliNotebook::SetNotices(nullptr); }
    } notices(io);
    try {
        if (cmd == u"--help" || cmd == u"-h" || cmd == u"help") {
            io.Out(kMainHelp);
            return Success;
        }
        if (cmd == u"tree")
            return Tree(rest, io);
        if (cmd == u"show")
            return Show(rest, io);
        if (cmd == u"check")
            return Check(rest, io);
        if (cmd == u"convert")
            return Convert(rest, io);
        if (cmd == u"generate")
            return Generate(rest, io);
        if (cmd == u"text")
            return Text(rest, io);
        if (cmd == u"search")
            return KvCliSearch::Run(rest, io);
        if (cmd == u"keywords")
            return KvCliKeywords::Run(rest, io);
        if (KvCliStyles::Handles(cmd))
            return KvCliStyles::Run(cmd, rest, io);
        if (const KvCliLists::Command list = KvCliLists::Find(cmd))
            return list(rest, io);
        if (const std::optional<int> status = KvCliLinks::Run(cmd, rest, io))
            return *status;
        using Command = int (*)(const QStringList&, KvCliIo&);
        static const QHash<QString, Command> writing = {
            {u"add"_qs, KvCliEdit::Add},       {u"rename"_qs, KvCliEdit::Rename},
            {u"trash"_qs, KvCliEdit::Trash},   {u"move"_qs, KvCliEdit::Move},
            {u"delete"_qs, KvCliEdit::Delete}, {u"empty-trash"_qs, KvCliEdit::EmptyTrash},
            {u"copy"_qs, KvCliEdit::Copy},     {u"referrer"_qs, KvCliEdit::Referrer},
            {u"sort"_qs, KvCliEdit::Sort},
        };
        if (const auto it = writing.constFind(cmd); it != writing.cend())
            return (*it)(rest, io);
        throw KvCliUsageError(u"unknown command: %1 (see korvnote-cli --help)"_qs.arg(cmd));
    } catch (const KvCliUsageError& e) {
        io.ErrLine(u"korvnote-cli %1: %2"_qs.arg(cmd, e.Message()));
        return Usage;
    } catch (const KvException& e) {
        io.ErrLine(u"korvnote-cli %1: %2"_qs.arg(cmd, e.Message()));
        return Failure;
    } catch (const std::exception& e) {
        io.ErrLine(u"korvnote-cli %1: %2"_qs.arg(cmd, QString::fromLocal8Bit(e.what())));
        return Failure;
    }
}

} // namespace KvCli
