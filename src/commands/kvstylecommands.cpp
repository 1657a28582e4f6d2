#include "commands/kvstylecommands.h"

#include "app/kvpaths.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "commands/kveditingservices.h"
#include "commands/kvwindowservices.h"
#include "lists/kvstyles.h"
#include "model/kvpage.h"
#include "model/kvpagelayout.h"
#include "platform/applog.h"
#include "richtext/texrichedit.h"
#include "store/kvdirstores.h"
#include "store/waitcrsr.h"

#include <QComboBox>

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"StyleApplyA", "#1233", "#1234", "Ctrl+Shift+S", "STYLEAPPLY", false, true},
    {"StyleCreateA", "#1235", "#1236", "", "", false, true},
    {"StyleRenameA", "#1237", "#1238", "", "", false, true},
    {"StyleDeleteA", "#1239", "#1240", "", "", false, true},
    {"StyleRedefineA", "#1241", "#1242", "", "", false, true},
};

} // namespace

KvStyleCommands::KvStyleCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvStyleCommands"_qs, services, parent)
{
    addActions(kCommands);
    onTriggered("StyleApplyA", [this] { StyleApply(); });
    onTriggered("StyleCreateA", [this] { StyleRename(true); });
    onTriggered("StyleRenameA", [this] { StyleRename(false); });
    onTriggered("StyleDeleteA", [this] { StyleDelete(); });
    onTriggered("StyleRedefineA", [this] { StyleRedefine(); });
}

KvStyleCommands::~KvStyleCommands() = default;

void KvStyleCommands::AttachControls()
{
    KvEditingServices* editing = services().Editing();
    m_box = editing ? editing->StylesBox() : nullptr;
    // The styles store belongs to the process: open from the window's start, so that the
    // styles are there when the window's settings select one.
    try {
        KvDirStores::StylesStore();
    } catch (const KvDirStores::ENotOpen&) {
        KvDirStores::Open(KvPaths::SettingsDir());
    }
    m_styles =
        std::make_unique<KvStyles>([]() -> TexIniFile& { return KvDirStores::StylesStore(); });
    fillList({});
}

QString KvStyleCommands::SelectedStyle() const
{
    return m_box && m_box->currentIndex() >= 0 ? m_box->currentText() : QString();
}

void KvStyleCommands::fillList(const QString& select, int index)
{
    if (!m_box)
        return;
    const QSignalBlocker block(m_box);
    m_box->clear();
    KvEditingServices* editing = services().Editing();
    if (m_styles) {
        for (const KvStyles::Entry& e : m_styles->List())
            m_box->addItem(editing ? editing->StyleIcon(e.kind) : QIcon(), e.name);
    }
    const int at = m_box->findText(select, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_box->setCurrentIndex(at >= 0 ? at : std::min(index, m_box->count() - 1));
}

int KvStyleCommands::defaultBackground() const
{
    KvPage* page = services().CurrentPage();
    KvPageLayout* layout = page ? page->GetLayout() : nullptr;
    return layout ? layout->GetBgColor() : KvPageLayout::DefaultBgColor;
}

void KvStyleCommands::StyleApply()
{
    KV_LOG_SCOPE("TMainF::StyleApply");
    TexRichEdit* editor = services().Editor();
    const QString name = SelectedStyle();
    if (!editor || !m_styles || name.isEmpty())
        return;
    WaitCrsr busy;
    m_styles->Apply(name, *editor);
    editor->setFocus();
}

void KvStyleCommands::StyleRename(bool create)
{
    KV_LOG_SCOPE("TMainF::StyleRename");
    KvEditingServices* editing = services().Editing();
    const QString selected = SelectedStyle();
    if (!editing || !m_styles || (!create && selected.isEmpty()))
        return;
    KvStyleNameRequest request;
    request.title = KvTexts::Text(create ? 1236 : 1238);
    request.name = create ? KvTexts::Text(5800) : selected;
    request.attributes = create;
    request.textAttributes = true;
    request.paraAttributes = false;
    for (;;) {
        if (!editing->EditStyleName(request))
            return;
        // Taken names are refused, the style's own too; the dialog shows again.
        if (!m_styles->NameExists(request.name))
            break;
        services().MessageBox(KvTexts::Text(5091), KvTexts::Message(5090, {request.name}),
                              KvMsgKind::Error);
    }
    if (create) {
        TexRichEdit* editor = services().Editor();
        if (!editor)
            return;
        m_styles->Create(request.name, *editor, defaultBackground(), request.textAttributes,
                         request.paraAttributes);
    } else {
        m_styles->Rename(selected, request.name);
    }
    fillList(request.name);
}

void KvStyleCommands::StyleDelete()
{
    KV_LOG_SCOPE("TMainF::StyleDelete");
    const QString name = SelectedStyle();
    if (!m_styles || name.isEmpty())
        return;
    if (services().MessageBox(KvTexts::Text(1240) + u':', KvTexts::Message(5093, {name}),
                              KvMsgKind::AskYesNo) != KvAnswer::Yes)
        return;
    const int index = m_box->currentIndex();
    m_styles->Delete(name);
    // The one before it, or the first.
    fillList({}, std::max(0, index - 1));
}

void KvStyleCommands::StyleRedefine()
{
    KV_LOG_SCOPE("TMainF::StyleRedefine");
    KvEditingServices* editing = services().Editing();
    TexRichEdit* editor = services().Editor();
    const QString name = SelectedStyle();
    KvStyle* style = m_styles ? m_styles->Find(name) : nullptr;
    if (!editing || !editor || !style)
        return;
    KvStyleNameRequest request;
    request.title = KvTexts::Text(1242);
    request.name = name;
    request.nameEditable = false;
    request.message = KvTexts::Message(5092, {name});
    request.textAttributes = style->TextAttributes();
    request.paraAttributes = style->ParaAttributes();
    if (!editing->EditStyleName(request))
        return;
    m_styles->Redefine(name, *editor, defaultBackground(), request.textAttributes,
                       request.paraAttributes);
    fillList(name);
}

bool KvStyleCommands::EnableCommands(const KvCommandContext& c)
{
    const bool selected = !SelectedStyle().isEmpty();
    const bool create = c.pageLoaded;
    return applyRules({
        {u"StyleApplyA", selected && c.pageEditable},
        {u"StyleCreateA", create},
        {u"StyleRenameA", selected},
        {u"StyleDeleteA", selected},
        {u"StyleRedefineA", selected && create},
    });
}
