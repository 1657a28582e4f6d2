#include "commands/kvfoldercommands.h"

#include "commands/kvlinkclipboard.h"
#include "commands/kvsearchservices.h"
#include "commands/kvwindowservices.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"

#include <QAction>

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"CreateNewFolderA", "#1101", "#1102", "Shift+F2", "NEWFOLDER", false, true},
    {"RenameFolderA", "#1103", "#1104", "Ctrl+F2", "RENAME", false, true},
    {"DeleteFolderA", "#1105", "#1106", "", "DELETE", false, true},
    {"FolderMoveUpA", "#1111", "#1112", "", "UP", false, true},
    {"FolderMoveDownA", "#1113", "#1114", "", "DOWN", false, true},
    {"FolderMove2FolderA", "#1115", "#1116", "", "", false, true},
    {"FolderCopyA", "#1046", "#1126", "", "COPYFOLDER", false, true},
    {"FolderPasteA", "#1127", "#1128", "", "PASTE", false, true},
    {"SortFolderA", "#1119", "#1120", "", "SORT", false, true},
    {"FolderPropsA", "#1107", "#1108", "F6", "", false, false},
    {"FolderExpandAllA", "#1121", "#1122", "", "", false, true},
    {"FolderCollapseAllA", "#1123", "#1124", "", "", false, true},
    {"EmptyTrashA", "#1117", "#1118", "", "", false, true},
    {"PageNewTVPMI", "#2212", "#1002", "", "NEWPAGE", false, true},
    {"FolderNewTVPMI", "#2213", "#1102", "", "NEWFOLDER", false, true},
    {"RenPMI", "#2200", "#2201", "", "RENAME", false, true},
    {"DelPMI", "#2202", "#2203", "", "DELETE", false, true},
    {"MovePMI", "#2204", "#2205", "", "", false, true},
    {"ElemCopyPMI", "#2208", "#2209", "", "COPYPAGE", false, true},
    {"CreateReferrerPMI", "#1060", "#1061", "", "", false, true},
    {"FolderPastePMI", "#2005", "#1128", "", "PASTE", false, true},
    {"PropsPMI", "#2206", "#2207", "", "", false, false},
    {"PrintTVPMI", "#2210", "#2211", "", "PRINT", false, false},
    {"CreLinkPMI", "#2302", "#2305", "", "LINK", false, true},
    {"SearchTVPMI", "#2006", "#1018", "", "SEARCH", false, true},
    {"TrashEmptyPMI", "#1117", "#1118", "", "", false, true},
};

// Runs a command that exists in one form for all elements.
void Both(KvElementCommands& e, void (KvElementCommands::*f)())
{
    (e.*f)();
}

} // namespace

KvFolderCommands::KvFolderCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvFolderCommands"_qs, services, parent), m_elements(services)
{
    addActions(kCommands);
    onTriggered("FolderExpandAllA", [this] { ExpandCollapseAll(true); });
    onTriggered("FolderCollapseAllA", [this] { ExpandCollapseAll(false); });
    onTriggered("CreateNewFolderA", [this] { m_elements.NewFolder(false); });
    onTriggered("RenameFolderA", [this] { m_elements.RenameFolder(); });
    onTriggered("DeleteFolderA", [this] { m_elements.DeleteFolder(false); });
    onTriggered("FolderMoveUpA", [this] { m_elements.FolderMoveUpDown(true); });
    onTriggered("FolderMoveDownA", [this] { m_elements.FolderMoveUpDown(false); });
    onTriggered("FolderMove2FolderA", [this] { m_elements.FolderMove2Folder(false); });
    onTriggered("FolderCopyA", [this] { m_elements.FolderCopy(); });
    onTriggered("FolderPasteA", [this] { m_elements.FolderPaste(false); });
    onTriggered("SortFolderA", [this] { m_elements.SortFolder(); });
    onTriggered("EmptyTrashA", [this] { m_elements.EmptyTrash(); });

    // The context menu's items run on its element through TempActionOnNavTree.
    onTriggered("PageNewTVPMI", [this] {
        treeMenuItem(true, &KvElementCommands::NewPage, &KvElementCommands::NewPage);
    });
    onTriggered("FolderNewTVPMI", [this] {
        treeMenuItem(true, &KvElementCommands::NewFolder, &KvElementCommands::NewFolder);
    });
    onTriggered("DelPMI", [this] {
        treeMenuItem(true, &KvElementCommands::DeletePage, &KvElementCommands::DeleteFolder);
    });
    onTriggered("MovePMI", [this] {
        treeMenuItem(true, &KvElementCommands::PageMove2Folder,
                     &KvElementCommands::FolderMove2Folder);
    });
    // The paste runs without restoring the selection from before.
    onTriggered("FolderPastePMI", [this] {
        treeMenuItem(false, &KvElementCommands::FolderPaste, &KvElementCommands::FolderPaste);
    });
    onTriggered("RenPMI", [this] {
        const bool page = m_menu.kind == KvNodeKind::Page;
        this->services().TempActionOnNavTree(true, [this, page] {
            Both(m_elements,
                 page ? &KvElementCommands::RenamePage : &KvElementCommands::RenameFolder);
        });
    });
    onTriggered("ElemCopyPMI", [this] {
        const bool page = m_menu.kind == KvNodeKind::Page;
        this->services().TempActionOnNavTree(true, [this, page] {
            Both(m_elements, page ? &KvElementCommands::PageCopy : &KvElementCommands::FolderCopy);
        });
    });
    onTriggered("CreateReferrerPMI", [this] {
        this->services().TempActionOnNavTree(
            true, [this] { Both(m_elements, &KvElementCommands::CreateReferrer); });
    });
    // The search window opens on the menu's folder (a page's folder).
    onTriggered("SearchTVPMI", [this] {
        this->services().TempActionOnNavTree(true, [this] {
            if (KvSearchServices* search = this->services().Search())
                search->PageSearch(this->services().CurrentFolder());
        });
    });
    // The link text of the element under the menu goes to the clipboard.
    onTriggered("CreLinkPMI", [this] {
        KV_LOG_SCOPE("TMainF::CreLinkPMIClick");
        this->services().TempActionOnNavTree(true, [this] {
            const bool page = m_menu.kind == KvNodeKind::Page;
            KvObject* obj = page ? static_cast<KvObject*>(this->services().CurrentPage())
                                 : this->services().CurrentFolder();
            KvLinkClipboard::Copy({obj});
        });
    });
    onTriggered("TrashEmptyPMI", [this] {
        this->services().TempActionOnNavTree(
            true, [this] { Both(m_elements, &KvElementCommands::EmptyTrash); });
    });
}

void KvFolderCommands::treeMenuItem(bool restoreSelection, void (KvElementCommands::*onPage)(bool),
                                    void (KvElementCommands::*onFolder)(bool))
{
    const auto f = m_menu.kind == KvNodeKind::Page ? onPage : onFolder;
    services().TempActionOnNavTree(restoreSelection, [this, f] { (m_elements.*f)(true); });
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

void KvFolderCommands::PrepareTreeMenu(const KvTreeMenuContext& context)
{
    KV_LOG_SCOPE("TMainF::FolderTvPopupMPopup");
    m_menu = context;
    // The items follow the element at once (the menu is about to show).
    EnableCommands(m_last);
}

bool KvFolderCommands::EnableCommands(const KvCommandContext& c)
{
    m_last = c;
    const bool inFolder = c.fullAccess && c.hasCurrentFolder;
    const bool ordinary = inFolder && !c.folder.isTopFolder && !c.folder.isTrash;
    const KvTreeMenuContext& m = m_menu;
    const bool onPage = m.kind == KvNodeKind::Page;
    const bool onFolder = m.kind == KvNodeKind::Folder;
    const bool onAny = onPage || onFolder;
    return applyRules({
        {u"CreateNewFolderA", inFolder},
        {u"RenameFolderA", inFolder},
        {u"DeleteFolderA", c.deleteFolderPossible},
        {u"FolderMoveUpA", ordinary && !c.folderFirst},
        {u"FolderMoveDownA", ordinary && !c.folderLast},
        {u"FolderMove2FolderA", c.moveFolderPossible},
        {u"FolderCopyA", ordinary && !c.Busy()},
        {u"FolderPasteA", c.fullAccess && c.pasteWaiting},
        {u"SortFolderA", inFolder && c.folderChildCount > 1},
        {u"EmptyTrashA", c.fullAccess && c.trashHasChildren && !c.Busy()},
        {u"FolderExpandAllA", c.hasCurrentFolder},
        {u"FolderCollapseAllA", c.hasCurrentFolder},
        // The context menu's items: the element it was opened on decides.
        {u"PageNewTVPMI", onAny && m.newPage},
        {u"FolderNewTVPMI", onAny && m.newFolder},
        {u"RenPMI", onAny && m.writable},
        {u"DelPMI", onAny && m.deletePossible},
        {u"MovePMI", onAny && m.movePossible},
        {u"ElemCopyPMI", onAny && m.writable && !m.isRoot},
        {u"CreateReferrerPMI", onPage && m.writable && !m.inTrash},
        {u"FolderPastePMI", onFolder && m.writable && m.pasteWaiting},
        {u"PropsPMI", onPage ? m.shownAndLoaded : onFolder && m.folderProps},
        {u"TrashEmptyPMI", m.emptyTrash},
    });
}
