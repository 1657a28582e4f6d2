#include "commands/kvexchangecommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"PageImportA", "#1029", "#1030", "", "", false, false},
    {"PageExportA", "#1040", "#1041", "", "", false, false},
    {"FolderExportA", "#1042", "#1043", "", "", false, false},
    {"FolderSubFolderExportA", "#1044", "#1045", "", "", false, false},
    {"ExportWithHeaderMI", "#1055", "#1056", "", "", true, true},
};

} // namespace

KvExchangeCommands::KvExchangeCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvExchangeCommands"_qs, services, parent)
{
    addActions(kCommands);
}
