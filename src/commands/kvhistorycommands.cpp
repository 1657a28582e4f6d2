#include "commands/kvhistorycommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"Browse2PreviousPageA", "#1301", "#1302", "F7", "BACK", false, false},
    {"Browse2NextPageA", "#1303", "#1304", "F8", "FORWARD", false, false},
    {"ShowHistoryA", "#1305", "#1306", "", "SELECTMORE", true, false},
    {"ShowHistPMI", "#2300", "#2301", "", "SHOW", false, false},
    {"HyperlinkHistPMI", "#2302", "#2305", "", "LINK", false, false},
};

} // namespace

KvHistoryCommands::KvHistoryCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvHistoryCommands"_qs, services, parent)
{
    addActions(kCommands);
}
