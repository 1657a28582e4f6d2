#include "commands/kvprintcommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"PrintPageA", "#1062", "#1053", "Ctrl+D", "PRINT", false, false},
    {"PrintPageImmediatelyA", "#1051", "#1052", "", "PRINT", false, false},
    {"PrintFolderA", "#1042", "#1043", "", "", false, false},
    {"PrintFldrSubFldrA", "#1044", "#1045", "", "", false, false},
    {"PrintSetupA", "#1011", "#1012", "", "", false, false},
    {"PageSetupA", "#1037", "#1038", "", "", false, false},
    {"PrintWithHeaderMI", "#1049", "#1050", "", "", true, true},
};

} // namespace

KvPrintCommands::KvPrintCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvPrintCommands"_qs, services, parent)
{
    addActions(kCommands);
}
