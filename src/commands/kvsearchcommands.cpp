#include "commands/kvsearchcommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"PageSearchA", "#1017", "#1018", "Ctrl+Alt+F", "SEARCH", false, false},
    {"SearchResSaveA", "#1245", "#1246", "", "SAVE", false, false},
    {"SearchResDeleteA", "#1239", "#1248", "", "DELETE", false, false},
    {"SearchResRenameA", "#1237", "#1250", "", "RENAME", false, false},
    {"ShowResA", "#2300", "#2301", "", "SHOW", false, false},
    {"RenameResA", "#2200", "#2201", "", "RENAME", false, false},
    {"DeleteResA", "#2202", "#2203", "", "DELETE", false, false},
    {"CopyResA", "#2208", "#2209", "", "COPYPAGE", false, false},
    {"PrintResA", "#2210", "#2211", "", "PRINT", false, false},
    {"MoveResPMI", "#2204", "#2205", "", "", false, false},
    {"PropsResPMI", "#2206", "#2207", "", "", false, false},
    {"ExportResPMI", "#2222", "#1032", "", "", false, false},
    {"HyperlinkPMI", "#2302", "#2305", "", "LINK", false, false},
    {"DeleteFromResPMI", "#2306", "#2307", "", "", false, false},
};

} // namespace

KvSearchCommands::KvSearchCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvSearchCommands"_qs, services, parent)
{
    addActions(kCommands);
}
