#include "commands/kvhelpcommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"ShowDocuA", "#1401", "#1402", "F1", "DOCU", false, false},
    {"HelpSearchMI", "#1217", "#1404", "", "HELP", false, false},
    {"AboutA", "#1405", "#1406", "", "INFO", false, false},
};

} // namespace

KvHelpCommands::KvHelpCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvHelpCommands"_qs, services, parent)
{
    addActions(kCommands);
}
