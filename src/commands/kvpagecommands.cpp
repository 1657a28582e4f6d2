#include "commands/kvpagecommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"CreateNewPageA", "#1001", "#1002", "Ctrl+N", "NEWPAGE", false, true},
    {"NewLinkA", "#1057", "#1058", "", "", false, true},
    {"RenamePageA", "#1003", "#1004", "F2", "RENAME", false, true},
    {"DeletePageA", "#1005", "#1006", "", "DELETE", false, true},
    {"PageMoveUpA", "#1021", "#1022", "", "UP", false, true},
    {"PageMoveDownA", "#1023", "#1024", "", "DOWN", false, true},
    {"PageMove2FolderA", "#1025", "#1026", "", "", false, true},
    {"PageCopyA", "#1046", "#1047", "", "COPYPAGE", false, true},
    {"CreateReferrerA", "#1060", "#1061", "", "", false, true},
    {"PagePropsA", "#1007", "#1008", "F4", "", false, false},
};

} // namespace

KvPageCommands::KvPageCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvPageCommands"_qs, services, parent), m_elements(services)
{
    addActions(kCommands);
    onTriggered("CreateNewPageA", [this] { m_elements.NewPage(false); });
    onTriggered("NewLinkA", [this] { m_elements.NewLink(); });
    onTriggered("RenamePageA", [this] { m_elements.RenamePage(); });
    onTriggered("DeletePageA", [this] { m_elements.DeletePage(false); });
    onTriggered("PageMoveUpA", [this] { m_elements.PageMoveUpDown(true); });
    onTriggered("PageMoveDownA", [this] { m_elements.PageMoveUpDown(false); });
    onTriggered("PageMove2FolderA", [this] { m_elements.PageMove2Folder(false); });
    onTriggered("PageCopyA", [this] { m_elements.PageCopy(); });
    onTriggered("CreateReferrerA", [this] { m_elements.CreateReferrer(); });
}

bool KvPageCommands::EnableCommands(const KvCommandContext& c)
{
    const bool inFolder = c.fullAccess && c.hasCurrentFolder;
    const bool onPage = c.fullAccess && c.hasCurrentPage;
    return applyRules({
        {u"CreateNewPageA", inFolder},
        {u"NewLinkA", inFolder},
        {u"RenamePageA", onPage},
        {u"DeletePageA", c.deletePagePossible},
        {u"PageMoveUpA", onPage && !c.pageFirst},
        {u"PageMoveDownA", onPage && !c.pageLast},
        {u"PageMove2FolderA", c.movePagePossible},
        {u"PageCopyA", onPage},
        // A referrer of a page in the trash would go when the trash is emptied.
        {u"CreateReferrerA", onPage && !c.page.insideTrash},
    });
}
