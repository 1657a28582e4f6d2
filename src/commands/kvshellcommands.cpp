#include "commands/kvshellcommands.h"

#include "commands/kveditingservices.h"
#include "commands/kvwindowservices.h"
#include "platform/applog.h"
#include "richtext/texrichedit.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"Close2TrayA", "#1013", "#1014", "Ctrl+T", "TRAY", false, false},
    {"CreateArchiveFileA", "#1033", "#1034", "", "", false, false},
    {"ImportArchiveFileA", "#1035", "#1036", "", "", false, false},
    {"CharmapA", "#1329", "#1330", "", "", false, true},
    {"SwitchAccessA", "", "#3120", "", "SWITCHACCESS", true, true},
    {"OptionsA", "#1223", "#1224", "Ctrl+O", "", false, false},
    {"NewWindowMI", "#1325", "#1326", "", "", false, true},
    {"ExitMI", "#1015", "#1016", "", "EXIT", false, true},
    {"RestoreFromTrayPMI", "#2100", "", "", "", false, true},
    {"CloseFromTrayPMI", "#2101", "#1016", "", "EXIT", false, true},
};

} // namespace

KvShellCommands::KvShellCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvShellCommands"_qs, services, parent)
{
    addActions(kCommands);
    onTriggered("SwitchAccessA", [this] { this->services().SwitchAccess(); });
    onTriggered("NewWindowMI", [this] { this->services().OpenNewWindow(); });
    onTriggered("ExitMI", [this] { this->services().CloseWindow(); });
    onTriggered("RestoreFromTrayPMI", [this] { this->services().RestoreFromTray(); });
    onTriggered("CloseFromTrayPMI", [this] { this->services().CloseWindow(); });
    onTriggered("CharmapA", [this] { ShowCharmap(); });
}

void KvShellCommands::ShowCharmap()
{
    KV_LOG_SCOPE("TMainF::ShowCharmap");
    KvEditingServices* editing = services().Editing();
    TexRichEdit* editor = services().Editor();
    if (!editing || !editor)
        return;
    const QFont font(editor->SelectionCharAttributes().name);
    editing->ShowCharMap(font, [this](const QString& character) {
        guarded([&] {
            TexRichEdit* e = services().Editor();
            if (e && m_pageEditable && !e->isReadOnly())
                e->InsertText(character);
        });
    });
}

bool KvShellCommands::EnableCommands(const KvCommandContext& c)
{
    m_pageEditable = c.pageEditable;
    return applyRules({{u"CharmapA", c.pageLoaded}});
}
