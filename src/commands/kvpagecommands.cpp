#include "commands/kvpagecommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"CreateNewPageA", "#1001", "#1002", "Ctrl+N", "NEWPAGE", false, false},
    {"NewLinkA", "#1057", "#1058", "", "", false, false},
    {"RenamePageA", "#1003", "#1004", "F2", "RENAME", false, false},
    {"DeletePageA", "#1005", "#1006", "", "DELETE", false, false},
    {"PageMoveUpA", "#1021", "#1022", "", "UP", false, false},
    {"PageMoveDownA", "#1023", "#1024", "", "DOWN", false, false},
    {"PageMove2FolderA", "#1025", "#1026", "", "", false, false},
    {"PageCopyA", "#1046", "#1047", "", "COPYPAGE", false, false},
    {"CreateReferrerA", "#1060", "#1061", "", "", false, false},
    {"PagePropsA", "#1007", "#1008", "F4", "", false, false},
};

} // namespace

KvPageCommands::KvPageCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvPageCommands"_qs, services, parent)
{
    addActions(kCommands);
}
