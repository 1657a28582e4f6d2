#include "commands/kvshellcommands.h"

#include "commands/kvwindowservices.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"Close2TrayA", "#1013", "#1014", "Ctrl+T", "TRAY", false, false},
    {"CreateArchiveFileA", "#1033", "#1034", "", "", false, false},
    {"ImportArchiveFileA", "#1035", "#1036", "", "", false, false},
    {"CharmapA", "#1329", "#1330", "", "", false, false},
    {"SwitchAccessA", "", "#3120", "", "SWITCHACCESS", true, true},
    {"OptionsA", "#1223", "#1224", "Ctrl+O", "", false, false},
    {"NewWindowMI", "#1325", "#1326", "", "", false, true},
    {"ExitMI", "#1015", "#1016", "", "EXIT", false, true},
    {"RestoreFromTrayPMI", "#2100", "", "", "", false, true},
    {"CloseFromTrayPMI", "#2101", "#1016", "", "EXIT", false, true},
};

} // namespace

KvShellCommands::KvShellCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvShellCommands"_qs, services, parent)
{
    addActions(kCommands);
    onTriggered("SwitchAccessA", [this] { this->services().SwitchAccess(); });
    onTriggered("NewWindowMI", [this] { this->services().OpenNewWindow(); });
    onTriggered("ExitMI", [this] { this->services().CloseWindow(); });
    onTriggered("RestoreFromTrayPMI", [this] { this->services().RestoreFromTray(); });
    onTriggered("CloseFromTrayPMI", [this] { this->services().CloseWindow(); });
}
