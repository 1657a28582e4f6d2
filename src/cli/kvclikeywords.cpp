#include "cli/kvclikeywords.h"

#include "cli/kvcli.h"
#include "cli/kvcliargs.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "lists/kvkeywords.h"

namespace KvCliKeywords {

const char* const Help =
    "usage: korvnote-cli keywords DIR [--referrers]\n"
    "\n"
    "Prints the keyword index of the notebook in DIR: per keyword, in the index's order,\n"
    "the keyword as first written, a TAB and the ids of the elements that carry it,\n"
    "separated by blanks.\n"
    "  --referrers   list the referrers of elements with keywords too\n";

int Run(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {u"--referrers"_qs}, {});
    if (args.Help()) {
        io.Out(Help);
        return KvCli::Success;
    }
    const QString dir = args.Positional(1, u"DIR"_qs).at(0);
    KvCliNotebook nb(dir, false);
    nb.Build();
    KvKeywords keywords;
    QByteArray out;
    for (const auto& [normalized, entry] : keywords.Index(args.Flag(u"--referrers"_qs)))
        out += (entry.displayText + u'\t' + entry.objects.join(u' ')).toUtf8() + '\n';
    io.Out(out);
    return KvCli::Success;
}

} // namespace KvCliKeywords
