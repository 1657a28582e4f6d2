#include "commands/kvfoldercommands.h"

#include "commands/kvwindowservices.h"
#include "model/kvfolder.h"
#include "platform/applog.h"

#include <QAction>

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"CreateNewFolderA", "#1101", "#1102", "Shift+F2", "NEWFOLDER", false, false},
    {"RenameFolderA", "#1103", "#1104", "Ctrl+F2", "RENAME", false, false},
    {"DeleteFolderA", "#1105", "#1106", "", "DELETE", false, false},
    {"FolderMoveUpA", "#1111", "#1112", "", "UP", false, false},
    {"FolderMoveDownA", "#1113", "#1114", "", "DOWN", false, false},
    {"FolderMove2FolderA", "#1115", "#1116", "", "", false, false},
    {"FolderCopyA", "#1046", "#1126", "", "COPYFOLDER", false, false},
    {"FolderPasteA", "#1127", "#1128", "", "PASTE", false, false},
    {"SortFolderA", "#1119", "#1120", "", "SORT", false, false},
    {"FolderPropsA", "#1107", "#1108", "F6", "", false, false},
    {"FolderExpandAllA", "#1121", "#1122", "", "", false, true},
    {"FolderCollapseAllA", "#1123", "#1124", "", "", false, true},
    {"EmptyTrashA", "#1117", "#1118", "", "", false, false},
    {"PageNewTVPMI", "#2212", "#1002", "", "NEWPAGE", false, false},
    {"FolderNewTVPMI", "#2213", "#1102", "", "NEWFOLDER", false, false},
    {"RenPMI", "#2200", "#2201", "", "RENAME", false, false},
    {"DelPMI", "#2202", "#2203", "", "DELETE", false, false},
    {"MovePMI", "#2204", "#2205", "", "", false, false},
    {"ElemCopyPMI", "#2208", "#2209", "", "COPYPAGE", false, false},
    {"CreateReferrerPMI", "#1060", "#1061", "", "", false, false},
    {"FolderPastePMI", "#2005", "#1128", "", "PASTE", false, false},
    {"PropsPMI", "#2206", "#2207", "", "", false, false},
    {"PrintTVPMI", "#2210", "#2211", "", "PRINT", false, false},
    {"CreLinkPMI", "#2302", "#2305", "", "LINK", false, false},
    {"SearchTVPMI", "#2006", "#1018", "", "SEARCH", false, false},
    {"TrashEmptyPMI", "#1117", "#1118", "", "", false, false},
};

} // namespace

KvFolderCommands::KvFolderCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvFolderCommands"_qs, services, parent)
{
    addActions(kCommands);
    onTriggered("FolderExpandAllA", [this] { ExpandCollapseAll(true); });
    onTriggered("FolderCollapseAllA", [this] { ExpandCollapseAll(false); });
}

void KvFolderCommands::ExpandCollapseAll(bool expand)
{
    KV_LOG_SCOPE("TMainF::FolderExpandCollapseAll");
    KvFolder* folder = services().CurrentFolder();
    if (!folder)
        return;
    services().SetExpandedAll(folder, expand);
    // The expanded states are the folders' own: stored where the folder may be written.
    if (folder->GetWritable())
        services().StoreExpandedStates(folder);
}

bool KvFolderCommands::EnableCommands(const KvCommandContext& context)
{
    const bool all = KvCommandHandler::EnableCommands(context);
    for (const char* name : {"FolderExpandAllA", "FolderCollapseAllA"}) {
        if (QAction* a = Action(QString::fromUtf8(name)))
            a->setEnabled(context.hasCurrentFolder);
    }
    return all;
}
