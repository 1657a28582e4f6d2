#include "commands/kvsearchcommands.h"

#include "commands/kvsearchservices.h"
#include "commands/kvwindowservices.h"
#include "platform/applog.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"PageSearchA", "#1017", "#1018", "Ctrl+Alt+F", "SEARCH", false, true},
    {"SearchResSaveA", "#1245", "#1246", "", "SAVE", false, false},
    {"SearchResDeleteA", "#1239", "#1248", "", "DELETE", false, false},
    {"SearchResRenameA", "#1237", "#1250", "", "RENAME", false, false},
    {"ShowResA", "#2300", "#2301", "", "SHOW", false, true},
    {"RenameResA", "#2200", "#2201", "", "RENAME", false, true},
    {"DeleteResA", "#2202", "#2203", "", "DELETE", false, false},
    {"CopyResA", "#2208", "#2209", "", "COPYPAGE", false, true},
    {"PrintResA", "#2210", "#2211", "", "PRINT", false, false},
    {"MoveResPMI", "#2204", "#2205", "", "", false, false},
    {"PropsResPMI", "#2206", "#2207", "", "", false, false},
    {"ExportResPMI", "#2222", "#1032", "", "", false, false},
    {"HyperlinkPMI", "#2302", "#2305", "", "LINK", false, true},
    {"DeleteFromResPMI", "#2306", "#2307", "", "", false, true},
};

} // namespace

KvSearchCommands::KvSearchCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvSearchCommands"_qs, services, parent), m_elements(services)
{
    addActions(kCommands);
    onTriggered("PageSearchA", [this] {
        if (KvSearchServices* s = this->services().Search())
            s->PageSearch(nullptr);
    });
    onTriggered("ShowResA", [this] {
        if (KvSearchServices* s = this->services().Search())
            s->ShowSelectedResult();
    });
    onTriggered("HyperlinkPMI", [this] {
        if (KvSearchServices* s = this->services().Search())
            s->CopyResultLinks();
    });
    onTriggered("DeleteFromResPMI", [this] {
        KV_LOG_SCOPE("TMainF::DeleteFromResPMIClick");
        if (KvSearchServices* s = this->services().Search())
            s->RemoveSelectedResults();
    });
    // Rename and copy run on the row's element, the context element meanwhile.
    onTriggered("RenameResA", [this] {
        const bool page = m_menu.kind == KvNodeKind::Page;
        this->services().TempActionOnNavTree(true, [this, page] {
            if (page)
                m_elements.RenamePage();
            else
                m_elements.RenameFolder();
        });
    });
    onTriggered("CopyResA", [this] {
        const bool page = m_menu.kind == KvNodeKind::Page;
        this->services().TempActionOnNavTree(true, [this, page] {
            if (page)
                m_elements.PageCopy();
            else
                m_elements.FolderCopy();
        });
    });
}

void KvSearchCommands::PrepareResultMenu(const KvResultMenuContext& context)
{
    KV_LOG_SCOPE("TMainF::ResultLVPMPopup");
    m_menu = context;
    EnableCommands(m_last);
}

bool KvSearchCommands::EnableCommands(const KvCommandContext& c)
{
    m_last = c;
    const KvResultMenuContext& m = m_menu;
    const bool one = m.selected == 1 && m.kind != KvNodeKind::None;
    const bool folder = m.kind == KvNodeKind::Folder;
    return applyRules({
        {u"PageSearchA", c.hasCurrentFolder},
        {u"ShowResA", one},
        {u"RenameResA", one && m.writable},
        // Copying a folder changes the notebook below it: not while a search runs.
        {u"CopyResA", one && c.fullAccess && (!folder || (!m.isRoot && !c.Busy()))},
        {u"HyperlinkPMI", m.selected > 0},
        {u"DeleteFromResPMI", m.selected > 0 && c.fullAccess && !c.searchRunning},
    });
}
