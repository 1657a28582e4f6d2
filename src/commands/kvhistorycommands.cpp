#include "commands/kvhistorycommands.h"

#include "commands/kvlistservices.h"
#include "commands/kvwindowservices.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"Browse2PreviousPageA", "#1301", "#1302", "F7", "BACK", false, true},
    {"Browse2NextPageA", "#1303", "#1304", "F8", "FORWARD", false, true},
    {"ShowHistoryA", "#1305", "#1306", "", "SELECTMORE", true, true},
    {"ShowHistPMI", "#2300", "#2301", "", "SHOW", false, true},
    {"HyperlinkHistPMI", "#2302", "#2305", "", "LINK", false, true},
};

} // namespace

KvHistoryCommands::KvHistoryCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvHistoryCommands"_qs, services, parent)
{
    addActions(kCommands);
    auto lists = [this] { return this->services().Lists(); };
    onTriggered("Browse2PreviousPageA", [lists] {
        if (KvListServices* l = lists())
            l->Browse2PreviousPage();
    });
    onTriggered("Browse2NextPageA", [lists] {
        if (KvListServices* l = lists())
            l->Browse2NextPage();
    });
    onTriggered("ShowHistoryA", [lists] {
        if (KvListServices* l = lists())
            l->ShowHistory();
    });
    onTriggered("ShowHistPMI", [lists] {
        if (KvListServices* l = lists())
            l->HistoryLVClick();
    });
    onTriggered("HyperlinkHistPMI", [lists] {
        if (KvListServices* l = lists())
            l->HyperlinkHistPMIClick();
    });
}

void KvHistoryCommands::PrepareHistoryMenu(int selectedRows)
{
    m_selected = selectedRows;
    EnableCommands(m_last);
}

bool KvHistoryCommands::EnableCommands(const KvCommandContext& c)
{
    m_last = c;
    return applyRules({
        {u"Browse2PreviousPageA", c.historyPrevious},
        {u"Browse2NextPageA", c.historyNext},
        {u"ShowHistoryA", c.historyList},
        {u"ShowHistPMI", m_selected > 0},
        {u"HyperlinkHistPMI", m_selected > 0},
    });
}
