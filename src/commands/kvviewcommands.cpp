#include "commands/kvviewcommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"NavTreeMI", "#1307", "#1308", "", "", true, true},
    {"MainBarMI", "#1309", "#1310", "", "", true, true},
    {"EditBarMI", "#1311", "#1312", "", "", true, true},
    {"FontAndColorBarMI", "#1313", "#1314", "", "", true, true},
    {"TextAttrBarMI", "#1315", "#1316", "", "", true, true},
    {"StylesBarMI", "#1327", "#1328", "", "", true, true},
    {"StatusBarMI", "#1323", "#1324", "", "", true, true},
    {"SearchResMI", "#1321", "#1322", "", "", true, true},
    {"Zoom200MI", "Zoom200MI#200%", "", "", "", true, true},
    {"Zoom175MI", "Zoom175MI#175%", "", "", "", true, true},
    {"Zoom150MI", "Zoom150MI#150%", "", "", "", true, true},
    {"Zoom125MI", "Zoom125MI#125%", "", "", "", true, true},
    {"Zoom110MI", "Zoom110MI#110%", "", "", "", true, true},
    {"Zoom100MI", "Zoom100MI#100%", "", "", "", true, true},
    {"Zoom90MI", "Zoom90MI#90%", "", "", "", true, true},
    {"Zoom75MI", "Zoom75MI#75%", "", "", "", true, true},
    {"Zoom50MI", "Zoom50MI#50%", "", "", "", true, true},
    {"ZoomUserdefMI", "ZoomUserdefMI#", "", "", "", true, true},
};

} // namespace

KvViewCommands::KvViewCommands(QObject* parent) : KvCommandHandler(u"KvViewCommands"_qs, parent)
{
    addActions(kCommands);
}
