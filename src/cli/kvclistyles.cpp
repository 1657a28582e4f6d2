#include "cli/kvclistyles.h"

#include "app/kvoptionsg.h"
#include "app/kvpaths.h"
#include "cli/kvcli.h"
#include "cli/kvcliargs.h"
#include "cli/kvclierror.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "cli/kvclisession.h"
#include "cli/kvclishow.h"
#include "lists/kvstyles.h"
#include "model/kvpage.h"
#include "model/kvpagelayout.h"
#include "richtext/kvtextsearch.h"
#include "richtext/texrichdocument.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"
#include "store/texmeminifile.h"

#include <QDir>
#include <QFileInfo>
#include <QTextDocument>

namespace {

const char* const kStylesHelp =
    "usage: korvnote-cli styles [--settings SDIR]\n"
    "\n"
    "Lists the text styles of the settings directory in the order of the program's styles\n"
    "box: NAME<TAB>KIND<TAB>SECTION (KIND text, paragraph or both), then the style's\n"
    "attribute keys as '  Key=Value' as the program writes them. Writes nothing.\n"
    "  --settings SDIR   the settings directory (default: the program's)\n";

const char* const kCreateHelp =
    "usage: korvnote-cli style-create DIR PAGEID NAME --range A:B [--text] [--para]\n"
    "                                 [--settings SDIR] [--password-stdin]\n"
    "       korvnote-cli style-redefine DIR PAGEID NAME --range A:B [--text] [--para]\n"
    "                                 [--settings SDIR] [--password-stdin]\n"
    "\n"
    "Makes a new style NAME (or gives the style NAME new attributes) from the text of page\n"
    "PAGEID at cursor positions A to B (a paragraph end counts one): its character\n"
    "attributes (--text), paragraph attributes (--para) or both. Without either, a new style\n"
    "takes the character attributes and a redefined one what it held. A background equal\n"
    "to the page's is stored as none. Reads the data directory only, also while another\n"
    "instance holds its lock; writes the styles of the settings directory.\n";

const char* const kRenameHelp = "usage: korvnote-cli style-rename OLD NEW [--settings SDIR]\n"
                                "\n"
                                "Renames the style OLD to NEW, a name no style has.\n";

const char* const kDeleteHelp = "usage: korvnote-cli style-delete NAME [--settings SDIR]\n"
                                "\n"
                                "Deletes the style NAME.\n";

const char* const kApplyHelp =
    "usage: korvnote-cli style-apply DIR PAGEID NAME --range A:B [--settings SDIR]\n"
    "                                [--password-stdin]\n"
    "\n"
    "Applies the style NAME to the text of page PAGEID at cursor positions A to B and saves\n"
    "the page as the program does, under the data directory's lock.\n";

const char* const kReplaceHelp =
    "usage: korvnote-cli replace DIR PAGEID TERM REPLACEMENT [--selection A:B] [--up]\n"
    "                            [--word] [--case] [--password-stdin]\n"
    "\n"
    "Replaces every TERM in page PAGEID by REPLACEMENT as the replace dialog's 'replace\n"
    "all' does: from the selection A:B (its start searching down, its end with --up), else\n"
    "from the start of the text (its end with --up). Prints the number replaced, 0 included,\n"
    "and saves the page as the program does, under the data directory's lock.\n"
    "  --word   whole words only\n"
    "  --case   match case\n";

struct Range
{
    int from = 0;
    int to = 0;
};

Range ParseRange(const QString& option, const QString& text)
{
    const QStringList parts = text.split(u':');
    bool ok1 = false, ok2 = false;
    const int from = parts.size() == 2 ? parts[0].toInt(&ok1) : 0;
    const int to = parts.size() == 2 ? parts[1].toInt(&ok2) : 0;
    if (!ok1 || !ok2 || from < 0 || to < from)
        throw KvCliUsageError(
            u"%1 needs A:B, whole numbers with A not above B, not '%2'"_qs.arg(option, text));
    return {from, to};
}

void CheckRange(const Range& r, const TexRichDocument& doc)
{
    const int max = std::max(0, doc.Document()->characterCount() - 1);
    if (r.to > max)
        throw KvCliError(u"the range %1:%2 lies outside the text (positions 0 to %3)"_qs.arg(
            QString::number(r.from), QString::number(r.to), QString::number(max)));
}

QString KindName(int kind)
{
    return kind == 2 ? u"both"_qs : kind == 1 ? u"paragraph"_qs : u"text"_qs;
}

// The styles of a settings directory. Writing commands create a missing directory; the
// listing never does.
class StyleStore
{
public:
    StyleStore(const KvCliArgs& args, bool writing)
        : m_file(Dir(args, writing) + u"Styles"_qs, KvDirStores::SizeLimitKb, false),
          m_styles([this]() -> TexIniFile& { return m_file; })
    {}
    KvStyles& Styles() { return m_styles; }
    KvStyle& Find(const QString& name)
    {
        KvStyle* style = m_styles.Find(name);
        if (!style)
            throw KvCliError(u"no style named '%1'"_qs.arg(name));
        return *style;
    }

private:
    static QString Dir(const KvCliArgs& args, bool writing)
    {
        QString dir = args.Has(u"--settings"_qs) ? args.Value(u"--settings"_qs)
                      : writing                  ? KvPaths::SettingsDir()
                                                 : KvPaths::SettingsDirUncreated();
        if (!dir.endsWith(u'/'))
            dir += u'/';
        if (writing && !QFileInfo(dir).isDir() && !QDir().mkpath(dir))
            throw KvCliError(u"cannot create the settings directory %1"_qs.arg(dir));
        return dir;
    }

    TexIniFile m_file;
    KvStyles m_styles;
};

int List(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {u"--settings"_qs});
    if (args.Help()) {
        io.Out(kStylesHelp);
        return KvCli::Success;
    }
    args.Positional(0, QString());
    StyleStore store(args, false);
    for (const KvStyles::Entry& e : store.Styles().List()) {
        const KvStyle& style = store.Find(e.name);
        io.OutLine(e.name + u'\t' + KindName(e.kind) + u'\t' + style.Section());
        for (const auto& [key, value] : style.AttributeKeys())
            io.OutLine(u"  "_qs + key + u'=' + value);
    }
    return KvCli::Success;
}

// style-create and style-redefine.
int Take(const QStringList& argv, KvCliIo& io, bool create)
{
    const KvCliArgs args(argv, {u"--text"_qs, u"--para"_qs, u"--password-stdin"_qs},
                         {u"--range"_qs, u"--settings"_qs});
    if (args.Help()) {
        io.Out(kCreateHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(3, u"DIR PAGEID NAME"_qs);
    if (!args.Has(u"--range"_qs))
        throw KvCliUsageError(u"missing option: --range A:B"_qs);
    const Range range = ParseRange(u"--range"_qs, args.Value(u"--range"_qs));
    StyleStore store(args, true);
    bool text = args.Flag(u"--text"_qs);
    bool para = args.Flag(u"--para"_qs);
    // A new style's name as the name rule makes it; an existing one's as it is.
    const QString name = create ? KvCliName(pos[2]) : pos[2];
    if (create) {
        if (store.Styles().NameExists(name))
            throw KvCliError(u"a style named '%1' exists already"_qs.arg(name));
        if (!text && !para)
            text = true;
    } else {
        const KvStyle& style = store.Find(name);
        if (!text && !para) {
            text = style.TextAttributes();
            para = style.ParaAttributes();
        }
    }

    // The page is only read: as "show" reads it, also under another instance's lock.
    KvCliNotebook nb(pos[0], false);
    {
        TexMemIniFile objects(KvDirStores::ObjectStore());
        if (!objects.FindSection(pos[1]) || !pos[1].contains(u"Page"))
            throw KvCliError(u"unknown page: %1"_qs.arg(pos[1]));
    }
    KvPage page(pos[1], nullptr, true);
    KvCliShow::LoadPage(page, args.Flag(u"--password-stdin"_qs), io);
    TexRichDocument& doc = *page.GetEditor();
    CheckRange(range, doc);
    doc.SetSelection(range.from, range.to - range.from);
    const int background = page.GetLayout()->GetBgColor();
    if (create)
        store.Styles().Create(name, doc, background, text, para);
    else
        store.Styles().Redefine(name, doc, background, text, para);
    return KvCli::Success;
}

int Rename(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {u"--settings"_qs});
    if (args.Help()) {
        io.Out(kRenameHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(2, u"OLD NEW"_qs);
    const QString name = KvCliName(pos[1]);
    StyleStore store(args, true);
    store.Find(pos[0]);
    if (store.Styles().NameExists(name))
        throw KvCliError(u"a style named '%1' exists already"_qs.arg(name));
    store.Styles().Rename(pos[0], name);
    return KvCli::Success;
}

int Delete(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {u"--settings"_qs});
    if (args.Help()) {
        io.Out(kDeleteHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(1, u"NAME"_qs);
    StyleStore store(args, true);
    store.Find(pos[0]);
    store.Styles().Delete(pos[0]);
    return KvCli::Success;
}

// A page of a locked session, loaded for a change: refused when write-protected.
class PageChange
{
public:
    PageChange(KvCliSession& s, const QString& id, bool passwordStdin)
        : m_page(s.Page(id)), m_passwordStdin(passwordStdin)
    {
        if (m_page.GetWriteProtect())
            throw KvCliError(u"page %1 is write-protected"_qs.arg(id));
        // Loaded as the program loads it, so that saving writes what the program would.
        m_page.SetRestorePosition(KvOptionsG().RestoreCursorPos);
        KvCliShow::LoadPage(m_page, m_passwordStdin, s.Io());
        m_caret = {Doc().SelStart(), Doc().SelLength()};
    }
    TexRichDocument& Doc() const { return *m_page.GetEditor(); }
    // Saves the changed text with the caret as it was loaded.
    void Save()
    {
        Doc().SetSelection(m_caret.first, m_caret.second);
        m_page.Store();
    }

private:
    KvPage& m_page;
    bool m_passwordStdin;
    QPair<int, int> m_caret;
};

int Apply(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {u"--password-stdin"_qs}, {u"--range"_qs, u"--settings"_qs});
    if (args.Help()) {
        io.Out(kApplyHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(3, u"DIR PAGEID NAME"_qs);
    if (!args.Has(u"--range"_qs))
        throw KvCliUsageError(u"missing option: --range A:B"_qs);
    const Range range = ParseRange(u"--range"_qs, args.Value(u"--range"_qs));
    StyleStore store(args, false);
    const KvStyle& style = store.Find(pos[2]);
    KvCliSession s(pos[0], io);
    PageChange change(s, pos[1], args.Flag(u"--password-stdin"_qs));
    CheckRange(range, change.Doc());
    s.BeginChanges();
    change.Doc().SetSelection(range.from, range.to - range.from);
    style.ApplyTo(change.Doc());
    change.Save();
    return KvCli::Success;
}

int Replace(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {u"--up"_qs, u"--word"_qs, u"--case"_qs, u"--password-stdin"_qs},
                         {u"--selection"_qs});
    if (args.Help()) {
        io.Out(kReplaceHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(4, u"DIR PAGEID TERM REPLACEMENT"_qs);
    if (pos[2].isEmpty())
        throw KvCliUsageError(u"the search term is empty"_qs);
    std::optional<Range> selection;
    if (args.Has(u"--selection"_qs))
        selection = ParseRange(u"--selection"_qs, args.Value(u"--selection"_qs));
    const bool up = args.Flag(u"--up"_qs);
    KvCliSession s(pos[0], io);
    PageChange change(s, pos[1], args.Flag(u"--password-stdin"_qs));
    QTextDocument& doc = *change.Doc().Document();
    if (selection)
        CheckRange(*selection, change.Doc());
    // As the dialog: from the selection's start down or its end up; else from an end.
    const int from = selection ? (up ? selection->to : selection->from)
                     : up      ? std::max(0, doc.characterCount() - 1)
                               : 0;
    const KvTextSearch::Request request{
        pos[2], {args.Flag(u"--word"_qs), args.Flag(u"--case"_qs)}, !up};
    s.BeginChanges();
    const KvTextSearch::ReplaceAllResult result =
        KvTextSearch::ReplaceAll(doc, from, request, pos[3]);
    if (result.count > 0)
        change.Save();
    io.OutLine(QString::number(result.count));
    return KvCli::Success;
}

} // namespace

namespace KvCliStyles {

bool Handles(const QString& command)
{
    return command == u"styles" || command == u"replace" || command.startsWith(u"style-");
}

int Run(const QString& command, const QStringList& args, KvCliIo& io)
{
    if (command == u"styles")
        return List(args, io);
    if (command == u"style-create")
        return Take(args, io, true);
    if (command == u"style-redefine")
        return Take(args, io, false);
    if (command == u"style-rename")
        return Rename(args, io);
    if (command == u"style-delete")
        return Delete(args, io);
    if (command == u"style-apply")
        return Apply(args, io);
    if (command == u"replace")
        return Replace(args, io);
    throw KvCliUsageError(u"unknown command: %1 (see korvnote-cli --help)"_qs.arg(command));
}

} // namespace KvCliStyles
