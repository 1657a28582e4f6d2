#include "commands/kvlinkcommands.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "commands/kvlinkclipboard.h"
#include "commands/kvlinkservices.h"
#include "commands/kvwindowservices.h"
#include "links/kvlink.h"
#include "links/kvlinkresolve.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "richtext/texrichedit.h"
#include "store/waitcrsr.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"CreateLink2PageA", "#2302", "#2305", "", "", false, true},
    {"InsertLinkA", "#1215", "#1216", "Ctrl+H", "LINK", false, true},
};

constexpr int kError = 5007;
constexpr int kOpenFailed = 5008;
constexpr int kRunsCodeTitle = 5750;
constexpr int kRunsCode = 5751;

} // namespace

KvLinkCommands::KvLinkCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvLinkCommands"_qs, services, parent)
{
    addActions(kCommands);
    onTriggered("CreateLink2PageA", [this] { CreateLink2Page(); });
    onTriggered("InsertLinkA", [this] { InsertLink(); });
}

bool KvLinkCommands::EnableCommands(const KvCommandContext& c)
{
    return applyRules({
        {u"CreateLink2PageA", c.hasCurrentPage},
        {u"InsertLinkA", c.pageEditable},
    });
}

void KvLinkCommands::CreateLink2Page()
{
    KV_LOG_SCOPE("TMainF::CreateLink2Page");
    if (KvPage* page = services().CurrentPage())
        KvLinkClipboard::Copy({page});
}

void KvLinkCommands::CreateLink2Folder()
{
    KV_LOG_SCOPE("TMainF::CreateLink2Folder");
    if (KvFolder* folder = services().CurrentFolder())
        KvLinkClipboard::Copy({folder});
}

void KvLinkCommands::InsertLink()
{
    KV_LOG_SCOPE("TMainF::InsertLink");
    KvLinkServices* links = services().Links();
    if (!links || !services().Editor())
        return;
    const QString url = links->AskLink();
    TexRichEdit* editor = services().Editor();
    if (url.isEmpty() || !editor)
        return;
    editor->SetSelection(editor->SelStart(), 0);
    editor->InsertText(KvLink::InsertedText(url));
}

void KvLinkCommands::EditorLoaded(TexRichEdit& editor)
{
    connect(&editor, &TexRichEdit::linkClicked, this, &KvLinkCommands::URLClick,
            Qt::UniqueConnection);
}

void KvLinkCommands::URLClick(const QString& url, Qt::MouseButton button)
{
    KV_LOG_SCOPE("TMainF::URLClick");
    if (button != Qt::LeftButton)
        return;
    // Not inside the mouse press: what follows may open dialogs and show another page,
    // whose editor would replace the one still handling the press.
    QMetaObject::invokeMethod(
        this, [this, url] { guarded([&] { followLink(url); }); }, Qt::QueuedConnection);
}

void KvLinkCommands::followLink(const QString& url)
{
    KvLinkAction action;
    {
        WaitCrsr busy;
        action = KvLinkResolve::Resolve(url, KvDirContext::Current().DataDir());
    }
    KvLinkServices* links = services().Links();
    switch (action.kind) {
    case KvLinkAction::Kind::ShowElement:
        services().ShowElement(action.id);
        break;
    case KvLinkAction::Kind::Keyword:
        if (links)
            links->ShowKeyword(action.keyword);
        break;
    case KvLinkAction::Kind::Broken:
        services().MessageBox(KvTexts::Text(kError), action.message, KvMsgKind::Error);
        break;
    case KvLinkAction::Kind::Refused:
        services().MessageBox(KvTexts::Text(kError),
                              KvTexts::Text(kOpenFailed) + u"\r\n-> ("_qs + action.message + u')',
                              KvMsgKind::Error);
        break;
    case KvLinkAction::Kind::Ask:
        // Opening it may run what it holds: only when the user says so, No by default.
        if (services().MessageBox(KvTexts::Text(kRunsCodeTitle),
                                  KvTexts::Message(kRunsCode, {action.target}),
                                  KvMsgKind::AskYesNo | KvMsgKind::DefaultSecond) != KvAnswer::Yes)
            break;
        [[fallthrough]];
    case KvLinkAction::Kind::Open:
        if (links)
            links->OpenLater(action.target);
        break;
    }
}
