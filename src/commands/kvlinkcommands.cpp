#include "commands/kvlinkcommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"CreateLink2PageA", "#2302", "#2305", "", "", false, false},
    {"InsertLinkA", "#1215", "#1216", "Ctrl+H", "LINK", false, false},
};

} // namespace

KvLinkCommands::KvLinkCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvLinkCommands"_qs, services, parent)
{
    addActions(kCommands);
}
