#include "commands/kvkeywordcommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"KeywordsA", "#1317", "#1318", "Ctrl+W", "KEYWORDS", false, false},
    {"InsertKeywordA", "#1251", "#1252", "", "", false, false},
};

} // namespace

KvKeywordCommands::KvKeywordCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvKeywordCommands"_qs, services, parent)
{
    addActions(kCommands);
}
