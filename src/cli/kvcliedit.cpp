#include "cli/kvcliedit.h"

#include "app/kvtexts.h"
#include "cli/kvcli.h"
#include "cli/kvcliargs.h"
#include "cli/kvcliio.h"
#include "cli/kvclisession.h"
#include "elements/kvbulkscope.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementmove.h"
#include "elements/kvelementrules.h"
#include "elements/kvelementsort.h"
#include "model/kvaddstatus.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"

#include <QFile>
#include <QSet>
#include <cstdio>

namespace {

const char* const kAddHelp =
    "usage: korvnote-cli add DIR --page|--folder --in FOLDERID\n"
    "                        (--name NAME | --names-from FILE|-) [--status N]\n"
    "\n"
    "Creates one page or folder per name in folder FOLDERID, placed as the folder's\n"
    "settings say (new elements first, automatic sorting), and prints each new id.\n"
    "  --name NAME          one element\n"
    "  --names-from FILE    one element per line of FILE ('-': standard input)\n"
    "  --status N           the status of new pages\n"
    "Line breaks, other control characters and zero-width characters in a name become\n"
    "blanks and blanks at both ends go, as in the program; a name with nothing left, or\n"
    "longer than 100 characters, is refused.\n";

const char* const kRenameHelp =
    "usage: korvnote-cli rename DIR ID NAME\n"
    "\n"
    "Gives element ID the name NAME and prints ID. Line breaks, other control characters\n"
    "and zero-width characters in NAME become blanks and blanks at both ends go; a name\n"
    "with nothing left is refused.\n";

const char* const kTrashHelp =
    "usage: korvnote-cli trash DIR ID...\n"
    "\n"
    "Deletes the elements into the trash, each with everything below it and with the\n"
    "referrers of its pages. Prints the given ids, then the referrers that went along.\n"
    "They leave the bookmarks, the saved search results and your browse history.\n";

const char* const kMoveHelp =
    "usage: korvnote-cli move DIR ID... --to FOLDERID [--pos N]\n"
    "       korvnote-cli move DIR ID --pos N\n"
    "\n"
    "Moves the elements into folder FOLDERID (out of the trash too, which restores them),\n"
    "or to position N within their own folder. Prints the given ids, then the referrers\n"
    "or targets that went along.\n"
    "  --to FOLDERID   the folder to move into\n"
    "  --pos N         the position (1 = first); not in a folder that sorts itself\n";

const char* const kDeleteHelp =
    "usage: korvnote-cli delete DIR ID...\n"
    "\n"
    "Removes elements of the trash for good, with everything below them, and prints the\n"
    "given ids. They leave the bookmarks, the saved search results and your browse history.\n";

const char* const kEmptyTrashHelp =
    "usage: korvnote-cli empty-trash DIR\n"
    "\n"
    "Removes everything in the trash for good and prints how many elements went. They\n"
    "leave the bookmarks, the saved search results and your browse history. Referrers\n"
    "outside the trash whose targets are in it go too; a second line names them.\n";

const char* const kSortHelp =
    "usage: korvnote-cli sort DIR FOLDERID [--order 0|1|2]\n"
    "\n"
    "Sorts the elements of folder FOLDERID by name and prints FOLDERID.\n"
    "  --order N   0 folders and pages mixed, 1 folders first, 2 folders last\n"
    "              (default: the order of the settings)\n";

// The names of --name or --names-from, each checked; lines end with LF or CR LF.
QStringList ReadNames(const KvCliArgs& args, KvCliIo& io)
{
    const bool one = args.Has(u"--name"_qs);
    const bool many = args.Has(u"--names-from"_qs);
    if (one == many)
        throw KvCliUsageError(u"give either --name NAME or --names-from FILE"_qs);
    QStringList names;
    if (one) {
        names.append(args.Value(u"--name"_qs));
    } else {
        const QString source = args.Value(u"--names-from"_qs);
        if (source == u"-") {
            QString line;
            while (io.ReadStdinLine(line))
                names.append(line);
        } else {
            QFile f(source);
            if (!f.open(QIODevice::ReadOnly))
                throw KvCliError(u"cannot read %1: %2"_qs.arg(source, f.errorString()));
            QString text = QString::fromUtf8(f.readAll());
            text.replace(u"\r\n"_qs, u"\n"_qs);
            if (text.endsWith(u'\n'))
                text.chop(1);
            if (!text.isEmpty())
                names = text.split(u'\n');
        }
        if (names.isEmpty())
            throw KvCliError(
                u"%1 gave no names"_qs.arg(source == u"-" ? u"standard input"_qs : source));
    }
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names[i].endsWith(u'\r'))
            names[i].chop(1);
        try {
            names[i] = KvCliName(names[i]);
        } catch (const KvCliError& e) {
            if (!many)
                throw;
            throw KvCliError(u"line %1: %2"_qs.arg(QString::number(i + 1), e.Message()));
        }
    }
    return names;
}

void RefuseRoot(const KvObject& obj, const QString& what)
{
    if (KvElementRules::IsRoot(obj))
        throw KvCliError(u"%1 is a root folder and cannot be %2"_qs.arg(obj.Id(), what));
}

// What the user's write-protection settings forbid for a deletion or a move.
void RefuseProtected(KvCliSession& s, KvObject& obj, bool deleting)
{
    const KvElementOptions& o = s.Env().options;
    bool allowed = true;
    if (auto* page = dynamic_cast<KvPage*>(&obj))
        allowed = deleting ? KvElementRules::DeletePossible(page, true, false, o)
                           : KvElementRules::Move2FolderPossible(page, true, false, o);
    else if (auto* folder = dynamic_cast<KvFolder*>(&obj))
        allowed = deleting ? KvElementRules::DeletePossible(folder, true, false, o)
                           : KvElementRules::Move2FolderPossible(folder, true, false, o);
    if (!allowed)
        throw KvCliError(
            u"%1 is write-protected or holds write-protected pages, and the "
            "settings forbid %2 it"_qs.arg(obj.Id(), deleting ? u"deleting"_qs : u"moving"_qs));
}

int Done(const KvCliSession& s)
{
    return s.StopRequested() ? KvCliSession::Interrupted : KvCli::Success;
}

// The given ids first, then those that went along with them.
void PrintMoved(KvCliSession& s, const QStringList& given, const QStringList& along)
{
    for (const QString& id : given)
        s.Print(id);
    for (const QString& id : along)
        s.Print(id);
}

} // namespace

namespace KvCliEdit {

int Add(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {u"--page"_qs, u"--folder"_qs},
                         {u"--in"_qs, u"--name"_qs, u"--names-from"_qs, u"--status"_qs});
    if (args.Help()) {
        io.Out(kAddHelp);
        return KvCli::Success;
    }
    const QString dir = args.Positional(1, u"DIR"_qs).at(0);
    const bool pages = args.Flag(u"--page"_qs);
    if (pages == args.Flag(u"--folder"_qs))
        throw KvCliUsageError(u"give either --page or --folder"_qs);
    if (!args.Has(u"--in"_qs))
        throw KvCliUsageError(u"missing option: --in FOLDERID"_qs);
    if (!pages && args.Has(u"--status"_qs))
        throw KvCliUsageError(u"--status is for pages"_qs);
    const int status = args.Number(u"--status"_qs, 0, 0);
    const QStringList names = ReadNames(args, io);

    KvCliSession s(dir, io);
    KvFolder& folder = s.Folder(args.Value(u"--in"_qs));
    if (status > 0 && StatusText(status, &s.Statuses()).isEmpty())
        throw KvCliError(u"unknown status %1"_qs.arg(status));
    s.BeginChanges();
    KvBulkScope bulk(s.Env());
    KvElementEdit edit(s.Env());
    for (const QString& name : names) {
        if (s.StopRequested())
            break;
        KvObject* created = pages ? static_cast<KvObject*>(edit.CreateNewPage(folder, name, status))
                                  : edit.CreateNewFolder(folder, name);
        s.Print(created->Id());
    }
    bulk.Commit();
    return Done(s);
}

int Rename(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {});
    if (args.Help()) {
        io.Out(kRenameHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(3, u"DIR ID NAME"_qs);
    const QString name = KvCliName(pos[2]);
    KvCliSession s(pos[0], io);
    KvObject& obj = s.Element(pos[1]);
    s.BeginChanges();
    KvElementEdit edit(s.Env());
    if (auto* page = dynamic_cast<KvPage*>(&obj))
        edit.RenamePage(*page, name);
    else
        edit.RenameFolder(dynamic_cast<KvFolder&>(obj), name);
    s.Print(pos[1]);
    return KvCli::Success;
}

int Trash(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {});
    if (args.Help()) {
        io.Out(kTrashHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.PositionalAtLeast(2, u"DIR ID"_qs);
    KvCliSession s(pos[0], io);
    const QStringList ids = s.Outermost(pos.mid(1));
    for (const QString& id : ids) {
        KvObject& obj = s.Element(id);
        RefuseRoot(obj, u"deleted"_qs);
        if (KvElementRules::InTrash(obj, s.Trash()))
            throw KvCliError(
                u"%1 is in the trash already ('delete' removes it for good)"_qs.arg(id));
        RefuseProtected(s, obj, true);
    }
    s.BeginChanges();
    s.HookLists();
    QStringList done;
    QStringList along;
    {
        KvBulkScope bulk(s.Env());
        KvElementEdit edit(s.Env());
        KvElementMove move(s.Env());
        for (const QString& id : ids) {
            if (s.StopRequested())
                break;
            KvObject* obj = FindObject(id);
            if (!obj)
                continue;
            // A referrer that went along with an earlier one is there already.
            if (KvElementRules::InTrash(*obj, s.Trash())) {
                done.append(id);
                continue;
            }
            edit.DeleteElemsFromLists(*obj, true);
            const QStringList moved = move.Move(*obj, s.Trash(), false);
            done.append(id);
            for (const QString& m : moved.mid(1)) {
                if (!ids.contains(m) && !along.contains(m))
                    along.append(m);
            }
        }
        bulk.Commit();
    }
    PrintMoved(s, done, along);
    return Done(s);
}

int Move(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {u"--to"_qs, u"--pos"_qs});
    if (args.Help()) {
        io.Out(kMoveHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.PositionalAtLeast(2, u"DIR ID"_qs);
    const int at = args.Number(u"--pos"_qs, 0, 1);
    if (!args.Has(u"--to"_qs)) {
        if (!args.Has(u"--pos"_qs))
            throw KvCliUsageError(u"give --to FOLDERID, --pos N or both"_qs);
        args.Positional(2, u"DIR ID"_qs); // one element within its folder
    }
    KvCliSession s(pos[0], io);
    const QStringList ids = s.Outermost(pos.mid(1));
    KvFolder* target = args.Has(u"--to"_qs) ? &s.Folder(args.Value(u"--to"_qs)) : nullptr;
    for (const QString& id : ids) {
        KvObject& obj = s.Element(id);
        RefuseRoot(obj, u"moved"_qs);
        if (target && (target == &obj || target->HasAncestor(&obj)))
            throw KvCliError(KvTexts::Text(5011) + u" (%1 into %2)"_qs.arg(id, target->Id()));
        if (target)
            RefuseProtected(s, obj, false);
    }
    if (at > 0) {
        KvFolder* where = target ? target : dynamic_cast<KvFolder*>(s.Element(ids[0]).Parent());
        if (where && where->GetAutoSort())
            throw KvCliError(
                u"%1 sorts its elements itself; --pos is not possible there"_qs.arg(where->Id()));
    }
    s.BeginChanges();
    KvElementMove move(s.Env());
    if (!target) {
        move.MoveToPosition(s.Element(ids[0]), at);
        s.Print(ids[0]);
        return KvCli::Success;
    }
    QStringList done;
    QStringList along;
    {
        KvBulkScope bulk(s.Env());
        for (const QString& id : ids) {
            if (s.StopRequested())
                break;
            KvObject* obj = FindObject(id);
            if (!obj)
                continue;
            // A referrer or target that went along with an earlier one is there already.
            if (along.removeOne(id)) {
                done.append(id);
                continue;
            }
            const QStringList moved = move.Move(*obj, *target, false);
            done.append(id);
            for (const QString& m : moved.mid(1)) {
                if (!done.contains(m) && !along.contains(m))
                    along.append(m);
            }
        }
        if (at > 0) {
            for (qsizetype i = 0; i < done.size(); ++i) {
                if (KvObject* obj = FindObject(done[i]))
                    move.MoveToPosition(*obj, at + int(i));
            }
        }
        bulk.Commit();
    }
    PrintMoved(s, done, along);
    return Done(s);
}

int Delete(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {});
    if (args.Help()) {
        io.Out(kDeleteHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.PositionalAtLeast(2, u"DIR ID"_qs);
    KvCliSession s(pos[0], io);
    const QStringList ids = s.Outermost(pos.mid(1));
    for (const QString& id : ids) {
        KvObject& obj = s.Element(id);
        RefuseRoot(obj, u"deleted"_qs);
        if (!KvElementRules::InTrash(obj, s.Trash()))
            throw KvCliError(u"%1 is not in the trash ('trash' moves it there)"_qs.arg(id));
        RefuseProtected(s, obj, true);
    }
    s.BeginChanges();
    s.HookLists();
    QStringList done;
    {
        KvBulkScope bulk(s.Env());
        KvElementEdit edit(s.Env());
        for (const QString& id : ids) {
            if (s.StopRequested())
                break;
            if (KvObject* obj = FindObject(id)) {
                edit.RemoveForGood(*obj);
                done.append(id);
            }
        }
        bulk.Commit();
    }
    for (const QString& id : std::as_const(done))
        s.Print(id);
    return Done(s);
}

int EmptyTrash(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {});
    if (args.Help()) {
        io.Out(kEmptyTrashHelp);
        return KvCli::Success;
    }
    const QString dir = args.Positional(1, u"DIR"_qs).at(0);
    KvCliSession s(dir, io);
    s.BeginChanges();
    s.HookLists();
    QStringList outside;
    const int removed = KvElementEdit(s.Env()).EmptyTrash(&outside);
    s.Print(QString::number(removed));
    if (!outside.isEmpty())
        s.Print(u"%1 outside the trash went with %2 in it: %3"_qs.arg(
            outside.size() == 1 ? u"1 referrer"_qs
                                : u"%1 referrers"_qs.arg(QString::number(outside.size())),
            outside.size() == 1 ? u"its target"_qs : u"their targets"_qs, outside.join(u' ')));
    return Done(s);
}

int Sort(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {u"--order"_qs});
    if (args.Help()) {
        io.Out(kSortHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(2, u"DIR FOLDERID"_qs);
    const int order = args.Number(u"--order"_qs, -1, 0);
    if (order > 2)
        throw KvCliUsageError(u"--order needs 0, 1 or 2, not '%1'"_qs.arg(order));
    KvCliSession s(pos[0], io);
    KvFolder& folder = s.Folder(pos[1]);
    if (order >= 0)
        s.Env().options.SortOrder = order;
    s.BeginChanges();
    KvBulkScope bulk(s.Env());
    KvElementMove(s.Env()).SortElements(folder);
    KvBulkScope::StoreFolder(s.Env(), folder);
    bulk.Commit();
    s.Print(pos[1]);
    return KvCli::Success;
}

} // namespace KvCliEdit
