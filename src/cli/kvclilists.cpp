#include "cli/kvclilists.h"

#include "app/kvmainformsettings.h"
#include "app/kvoptionsg.h"
#include "app/kvpaths.h"
#include "cli/kvcli.h"
#include "cli/kvcliargs.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "cli/kvclisession.h"
#include "lists/kvbrowsehistory.h"
#include "lists/kvitemlist.h"
#include "lists/kvnotebooklists.h"
#include "lists/kvresultrow.h"
#include "lists/kvsearchresult.h"
#include "lists/kvsearchresults.h"
#include "model/kvobject.h"
#include "store/texprofilefile.h"

namespace {

const char* const kBookmarksHelp =
    "usage: korvnote-cli bookmarks DIR\n"
    "       korvnote-cli bookmarks DIR add|remove|up|down ID\n"
    "\n"
    "Prints the bookmarks in their stored order, one a line: id, name and folder path,\n"
    "separated by TABs, or id and (missing) for an element that is no longer there.\n"
    "The other forms act as the bookmark dialog's buttons on the element's row and print\n"
    "ID when the list changed:\n"
    "  add ID      append the element (a bookmark already: nothing changes)\n"
    "  remove ID   remove the element's bookmark\n"
    "  up ID       swap it with the bookmark of the row above (elements that are gone\n"
    "  down ID     have no row), or below; nothing changes at the end of the list\n";

const char* const kHistoryHelp =
    "usage: korvnote-cli history DIR [--user U]\n"
    "\n"
    "Prints the browse history the program would load for user U (default: the login\n"
    "name), oldest first: id, name and folder path, separated by TABs. Nothing when the\n"
    "settings do not keep the history (SaveHistory); the settings' history length applies.\n"
    "  --user U   whose history\n";

const char* const kResultsHelp =
    "usage: korvnote-cli results DIR\n"
    "       korvnote-cli results DIR show|delete LIST\n"
    "       korvnote-cli results DIR rename LIST NAME\n"
    "\n"
    "Prints the saved search results, newest first: the section LIST, the number of its\n"
    "elements that are still there and the name the program lists it under, separated by\n"
    "TABs.\n"
    "  show LIST          the result's elements in their stored order, as 'bookmarks'\n"
    "                     prints them\n"
    "  delete LIST        remove the saved result; prints LIST\n"
    "  rename LIST NAME   give it the name NAME (empty: its automatic name); prints LIST\n";

// An element the notebook holds: a root, or an element with a folder.
const KvObject* InNotebook(const QString& id)
{
    const KvObject* obj = FindObject(id);
    if (!obj || obj->IsRemoved())
        return nullptr;
    const bool root = id == u"TopFolder" || id == u"TrashFolder";
    return root || obj->Parent() ? obj : nullptr;
}

QString RowLine(const QString& id)
{
    const KvObject* obj = InNotebook(id);
    if (!obj)
        return id + u"\t(missing)"_qs;
    const KvResultRow row = KvResultRow::For(*obj, true);
    return id + u'\t' + row.caption + u'\t' + row.folder;
}

void PrintRows(const QStringList& ids, KvCliIo& io)
{
    QByteArray out;
    for (const QString& id : ids)
        out += RowLine(id).toUtf8() + '\n';
    io.Out(out);
}

int Present(const QStringList& ids)
{
    int n = 0;
    for (const QString& id : ids)
        n += InNotebook(id) ? 1 : 0;
    return n;
}

QString StorePath(const QString& dir, const QString& name)
{
    return KvNotebookLists::StorePath(dir, name);
}

int ChangeBookmarks(const QString& dir, const QString& action, const QString& id, KvCliIo& io)
{
    KvCliSession s(dir, io);
    const KvObject& obj = s.Element(id);
    KvItemList list(StorePath(s.Dir(), KvNotebookLists::BookmarkStore),
                    KvNotebookLists::BookmarkSection);
    if (action != u"add" && !list.Contains(id))
        throw KvCliError(u"%1 is not a bookmark"_qs.arg(id));
    if (action == u"add")
        list.Add(&obj, true);
    else if (action == u"remove")
        list.RemoveId(id);
    else
        list.MoveRow(id, action == u"up");
    if (!list.Changed())
        return KvCli::Success;
    list.Save();
    s.Print(id);
    return KvCli::Success;
}

// The entry of the saved result in that section, else KvCliError.
int RequireEntry(const KvSearchResults& results, const QString& section)
{
    const int entry = results.EntryOf(section);
    if (entry == 0)
        throw KvCliError(u"no saved search result %1"_qs.arg(section));
    return entry;
}

} // namespace

namespace KvCliLists {

int Bookmarks(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {});
    if (args.Help()) {
        io.Out(kBookmarksHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(1, 3, u"DIR"_qs);
    if (pos.size() == 1) {
        KvCliNotebook nb(pos[0], false);
        nb.Build();
        const KvItemList list(StorePath(nb.Dir(), KvNotebookLists::BookmarkStore),
                              KvNotebookLists::BookmarkSection);
        PrintRows(list.Ids(), io);
        return KvCli::Success;
    }
    const QString& action = pos[1];
    if (action != u"add" && action != u"remove" && action != u"up" && action != u"down")
        throw KvCliUsageError(u"unknown action '%1' (add, remove, up or down)"_qs.arg(action));
    if (pos.size() < 3)
        throw KvCliUsageError(u"missing argument: ID"_qs);
    return ChangeBookmarks(pos[0], action, pos[2], io);
}

int History(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {u"--user"_qs});
    if (args.Help()) {
        io.Out(kHistoryHelp);
        return KvCli::Success;
    }
    const QString dir = args.Positional(1, u"DIR"_qs).at(0);
    const QString user = args.Has(u"--user"_qs) ? args.Value(u"--user"_qs) : KvPaths::UserName();
    if (user.isEmpty())
        throw KvCliUsageError(u"--user needs a name"_qs);
    KvCliNotebook nb(dir, false);
    nb.Build();
    if (!KvOptionsG().SaveHistory)
        return KvCli::Success;
    KvBrowseHistory history(QString(), user);
    history.SetLimit(
        KvMainFormSettings::Read(TexProfileFile(KvPaths::SettingsFile())).historyLimit);
    QStringList ids;
    for (const QString& id :
         KvBrowseHistory::ReadEntries(StorePath(nb.Dir(), KvNotebookLists::HistoryStore), user)) {
        if (InNotebook(id))
            history.AddEntry(id);
    }
    PrintRows(history.Entries(), io);
    return KvCli::Success;
}

int Results(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {});
    if (args.Help()) {
        io.Out(kResultsHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(1, 4, u"DIR"_qs);
    const QString action = pos.size() > 1 ? pos[1] : QString();
    const int wanted = action.isEmpty() ? 1 : action == u"rename" ? 4 : 3;
    if (!action.isEmpty() && action != u"show" && action != u"delete" && action != u"rename")
        throw KvCliUsageError(u"unknown action '%1' (show, delete or rename)"_qs.arg(action));
    if (pos.size() < wanted)
        throw KvCliUsageError(action == u"rename" ? u"missing argument: LIST NAME"_qs
                                                  : u"missing argument: LIST"_qs);
    if (pos.size() > wanted)
        throw KvCliUsageError(u"unexpected argument: %1"_qs.arg(pos[wanted]));

    if (action.isEmpty() || action == u"show") {
        KvCliNotebook nb(pos[0], false);
        nb.Build();
        KvSearchResults results(StorePath(nb.Dir(), KvNotebookLists::ResultStore), &nb.Statuses());
        if (action == u"show") {
            PrintRows(results.At(RequireEntry(results, pos[2]))->Ids(), io);
            return KvCli::Success;
        }
        QByteArray out;
        const QStringList names = results.Entries();
        for (int entry = 1; entry <= results.Count(); ++entry) {
            const KvSearchResult& r = *results.At(entry);
            out += (r.Section() + u'\t' + QString::number(Present(r.Ids())) + u'\t' + names[entry])
                       .toUtf8() +
                   '\n';
        }
        io.Out(out);
        return KvCli::Success;
    }

    // An empty name gives the result its automatic name again; any other follows the name
    // rule.
    const QString name = action == u"rename" && !pos[3].isEmpty() ? KvCliName(pos[3]) : QString();
    KvCliSession s(pos[0], io);
    KvSearchResults results(StorePath(s.Dir(), KvNotebookLists::ResultStore), &s.Statuses());
    results.SetWritable(true);
    const int entry = RequireEntry(results, pos[2]);
    if (action == u"delete")
        results.DeleteEntry(entry);
    else
        results.RenameEntry(entry, name);
    s.Print(pos[2]);
    return KvCli::Success;
}

Command Find(const QString& name)
{
    if (name == u"bookmarks")
        return Bookmarks;
    if (name == u"history")
        return History;
    if (name == u"results")
        return Results;
    return nullptr;
}

} // namespace KvCliLists
