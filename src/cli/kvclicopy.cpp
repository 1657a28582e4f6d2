#include "app/kvtexts.h"
#include "cli/kvcli.h"
#include "cli/kvcliargs.h"
#include "cli/kvcliasker.h"
#include "cli/kvcliedit.h"
#include "cli/kvcliio.h"
#include "cli/kvclisession.h"
#include "elements/kvelementcopy.h"
#include "elements/kvelementrules.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"

namespace {

const char* const kCopyHelp =
    "usage: korvnote-cli copy DIR ID --to FOLDERID [--original] [--password-stdin]\n"
    "\n"
    "Copies page or folder ID (with everything below it) into folder FOLDERID and prints\n"
    "the id of the new page or of the top copy. A protected page is copied with its\n"
    "password when it says so, else decrypted into a copy that is not protected; each such\n"
    "copy is named by a line on standard error. A protected page whose password is not\n"
    "given is skipped with a line on standard error (exit status 1).\n"
    "  --original         a referrer's copy is a copy of its target, not a referrer\n"
    "                     (always so outside the trash when the target is in the trash)\n"
    "  --password-stdin   the password of protected pages from the first line of standard\n"
    "                     input (else asked on the terminal)\n";

const char* const kReferrerHelp =
    "usage: korvnote-cli referrer DIR PAGEID --in FOLDERID\n"
    "\n"
    "Makes a new referrer of page PAGEID (of its target when PAGEID is a referrer) in folder\n"
    "FOLDERID and prints its id. A page in the trash has no new referrers: emptying the\n"
    "trash would remove them with it.\n";

} // namespace

namespace KvCliEdit {

int Copy(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {u"--original"_qs, u"--password-stdin"_qs}, {u"--to"_qs});
    if (args.Help()) {
        io.Out(kCopyHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(2, u"DIR ID"_qs);
    if (!args.Has(u"--to"_qs))
        throw KvCliUsageError(u"missing option: --to FOLDERID"_qs);
    KvCliSession s(pos[0], io);
    KvObject& source = s.Element(pos[1]);
    KvFolder& target = s.Folder(args.Value(u"--to"_qs));
    if (KvElementRules::IsRoot(source))
        throw KvCliError(u"%1 is a root folder and cannot be copied"_qs.arg(pos[1]));
    if (dynamic_cast<KvFolder*>(&source)) {
        if (target.Id() == source.Id())
            throw KvCliError(KvTexts::Text(5521));
        if (target.HasAncestor(&source))
            throw KvCliError(KvTexts::Text(5520));
    } else if (source.IsReferrer()) {
        source.ResolveTarget();
        if (!source.Target())
            throw KvCliError(KvTexts::Message(5522, {source.Name()}));
    }
    KvCliAsker asker(io, args.Flag(u"--password-stdin"_qs));
    s.BeginChanges();
    KvElementCopy copier(s.Env());
    copier.SetReferrerCopy(args.Flag(u"--original"_qs) ? KvElementCopy::ReferrerCopy::AsOriginal
                                                       : KvElementCopy::ReferrerCopy::AsReferrer);
    // Nobody to ask: the unprotected copies are named afterwards.
    copier.SetPlainCopy(KvElementCopy::PlainCopy::Allow);
    if (auto* page = dynamic_cast<KvPage*>(&source))
        copier.PageCopy(*page);
    else
        copier.FolderCopy(dynamic_cast<KvFolder&>(source));
    KvObject* copy = copier.FolderPaste(target);
    if (copy)
        s.Print(copy->Id());
    for (const KvElementCopy::PlainCopyMade& made : copier.PlainCopies())
        io.ErrLine(u"korvnote-cli copy: %1, the copy of protected page %2, is not protected (the "
                   "page does not copy its password)"_qs.arg(made.copyId, made.sourceId));
    for (const QString& id : copier.Skipped())
        io.ErrLine(
            u"korvnote-cli copy: page %1 is protected and was not copied (no password)"_qs.arg(id));
    if (s.StopRequested())
        return KvCliSession::Interrupted;
    return copier.Skipped().isEmpty() ? KvCli::Success : KvCli::Failure;
}

int Referrer(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {u"--in"_qs});
    if (args.Help()) {
        io.Out(kReferrerHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(2, u"DIR PAGEID"_qs);
    if (!args.Has(u"--in"_qs))
        throw KvCliUsageError(u"missing option: --in FOLDERID"_qs);
    KvCliSession s(pos[0], io);
    KvPage& page = s.Page(pos[1]);
    KvFolder& folder = s.Folder(args.Value(u"--in"_qs));
    if (page.IsReferrer()) {
        page.ResolveTarget();
        if (!page.Target())
            throw KvCliError(KvTexts::Message(5522, {page.Name()}));
    }
    // Emptying the trash would remove such a referrer with its target.
    if (!KvElementRules::ReferrerPossible(page, s.Trash())) {
        const bool inTrash = KvElementRules::InTrash(page, s.Trash());
        throw KvCliError(u"%1 is in the trash; a referrer cannot stand for a page there"_qs.arg(
            inTrash ? pos[1] : page.Ref2()));
    }
    s.BeginChanges();
    KvPage* referrer = KvElementCopy(s.Env()).NewReferrer(page, folder);
    s.Print(referrer->Id());
    return KvCli::Success;
}

} // namespace KvCliEdit
