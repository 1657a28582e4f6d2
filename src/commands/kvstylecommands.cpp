#include "commands/kvstylecommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"StyleApplyA", "#1233", "#1234", "Ctrl+Shift+S", "STYLEAPPLY", false, false},
    {"StyleCreateA", "#1235", "#1236", "", "", false, false},
    {"StyleRenameA", "#1237", "#1238", "", "", false, false},
    {"StyleDeleteA", "#1239", "#1240", "", "", false, false},
    {"StyleRedefineA", "#1241", "#1242", "", "", false, false},
};

} // namespace

KvStyleCommands::KvStyleCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvStyleCommands"_qs, services, parent)
{
    addActions(kCommands);
}
