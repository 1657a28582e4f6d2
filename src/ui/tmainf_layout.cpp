// Composition of the main window: the named controls, the commands, the status bar,
// the view items, the zoom and the re-targeted toolbar buttons.
#include "commands/kvclipboardwatch.h"
#include "commands/kvcommandhandler.h"
#include "commands/kvelementplace.h"
#include "commands/kvviewcommands.h"
#include "model/kvpage.h"
#include "richtext/texrichedit.h"
#include "ui/kvelementhooks.h"
#include "ui/kvhistorylist.h"
#include "ui/kvkeypreview.h"
#include "ui/kvlanguageinit.h"
#include "ui/kvmainediting.h"
#include "ui/kvmainlists.h"
#include "ui/kvmainsearch.h"
#include "ui/kvmainservices.h"
#include "ui/kvmenubuilder.h"
#include "ui/kvmenuimages.h"
#include "ui/kvrestore.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/kvtvfolder.h"
#include "ui/shortcutstopper.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using KvCompose::Named;

namespace {

// The widget of a part of the window.
QWidget* PartWidget(const KvMainControls& ui, QMainWindow& w, KvWindowPart part)
{
    switch (part) {
    case KvWindowPart::NavigationTree:
        return ui.folderTv;
    case KvWindowPart::MainToolbar:
        return ui.mainToolbar;
    case KvWindowPart::EditToolbar:
        return ui.editToolbar;
    case KvWindowPart::FontAndColorToolbar:
        return ui.fontAndColorToolbar;
    case KvWindowPart::TextAttrToolbar:
        return ui.textAttrToolbar;
    case KvWindowPart::StylesToolbar:
        return ui.stylesToolbar;
    case KvWindowPart::StatusBar:
        return w.statusBar();
    case KvWindowPart::SearchResults:
        return ui.searchResP;
    }
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Construction steps

void TMainF::createMenus()
{
    setupControls();
    setupActions();
    setupMenus();
    setupContextMenus();
    setupToolbars();
    followParts();
    m_restore = new KvRestore(*this);
    // Keys pressed in another window of the program reach that window.
    m_shortcutStopper = new ShortCutStopper(this, m_commands.AllActions());
}

void TMainF::setupControls()
{
    // Tree | right side (page area over the result panel). The tree keeps its width when
    // the window is resized; the right side takes the rest.
    m_ui.fldrPageSp = Named(new QSplitter(Qt::Horizontal, this), u"FldrPageSp"_qs);
    m_ui.fldrPageSp->setChildrenCollapsible(true);
    m_ui.folderTv = Named(new TexTreeView(m_ui.fldrPageSp), u"FolderTv"_qs);
    m_ui.rightSideP = Named(new QWidget(m_ui.fldrPageSp), u"RightSideP"_qs);
    m_ui.fldrPageSp->addWidget(m_ui.folderTv);
    m_ui.fldrPageSp->addWidget(m_ui.rightSideP);
    m_ui.fldrPageSp->setStretchFactor(0, 0);
    m_ui.fldrPageSp->setStretchFactor(1, 1);
    m_ui.fldrPageSp->setSizes({150, 600});
    setCentralWidget(m_ui.fldrPageSp);

    auto* right = new QVBoxLayout(m_ui.rightSideP);
    right->setContentsMargins(0, 0, 0, 0);
    m_ui.searchResSp = Named(new QSplitter(Qt::Vertical, m_ui.rightSideP), u"SearchResSp"_qs);
    right->addWidget(m_ui.searchResSp);

    auto* pageArea = Named(new QWidget(m_ui.searchResSp), u"PageArea"_qs);
    auto* pages = new QVBoxLayout(pageArea);
    pages->setContentsMargins(0, 0, 0, 0);
    m_ui.pagePC = Named(new QTabWidget(pageArea), u"PagePC"_qs);
    m_ui.pagePC->setDocumentMode(true);
    m_ui.pagePC->setMovable(false);
    // Qt's tab bar cannot wrap: it scrolls, so that many tabs never widen the page area.
    m_ui.pagePC->setUsesScrollButtons(true);
    m_ui.noPagesLbl = Named(new QLabel(pageArea), u"NoPagesLbl"_qs);
    m_ui.noPagesLbl->setAlignment(Qt::AlignCenter);
    m_ui.noPagesLbl->setWordWrap(true);
    m_ui.noPagesLbl->hide();
    pages->addWidget(m_ui.pagePC);
    pages->addWidget(m_ui.noPagesLbl);

    m_ui.searchResP = new KvSearchResultPanel(m_ui.searchResSp);
    m_ui.searchResSp->addWidget(pageArea);
    m_ui.searchResSp->addWidget(m_ui.searchResP);
    m_ui.searchResSp->setStretchFactor(0, 2);
    m_ui.searchResSp->setStretchFactor(1, 1);
    // The result panel starts at a third of the right side.
    m_ui.searchResSp->setSizes({400, 200});
    m_ui.searchResSp->setChildrenCollapsible(true);

    // The history drop-down list floats over the window while it is shown.
    m_ui.historyLV = new KvHistoryList(this);
    m_ui.trayIcon = Named(new QSystemTrayIcon(this), u"TrayIcon"_qs);

    new KvKeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });
}

void TMainF::setupActions()
{
    m_services = std::make_unique<KvMainServices>(*this);
    m_elements = std::make_unique<KvElementHooks>(*this, m_ui.folderTv);
    m_search = std::make_unique<KvMainSearch>(*this);
    m_editing = std::make_unique<KvMainEditing>(*this);
    m_lists = std::make_unique<KvMainLists>(*this);
    m_clipboard = new KvClipboardWatch(this);
    m_commands.CreateHandlers(*m_services, this);
    for (QAction* a : m_commands.AllActions()) {
        const QString image = a->property(KvCommandHandler::ImageProperty).toString();
        if (!image.isEmpty())
            a->setIcon(KvMenuImages::Icon(image));
        // Actions live in the window so that their shortcuts work wherever the focus is.
        addAction(a);
    }
    m_ui.searchResP->SetSavedResultCommands(Action(u"SearchResSaveA"_qs),
                                            Action(u"SearchResDeleteA"_qs),
                                            Action(u"SearchResRenameA"_qs));
}

void TMainF::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(u"StatusBar"_qs);
    // Widths of the five panels in twentieths of the window width.
    static constexpr int kShares[5] = {8, 3, 3, 2, 4};
    for (int i = 0; i < 5; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(u"StatusPanel%1"_qs.arg(i));
        // The shares alone decide the widths; long texts are cut, never widen the window.
        m_panels[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        m_panels[i]->setMinimumWidth(1);
        if (i == 0)
            bar->addWidget(m_panels[i], kShares[i]);
        else
            bar->addPermanentWidget(m_panels[i], kShares[i]);
    }
}

// ---------------------------------------------------------------------------------------
// Parts of the window, zoom and the re-targeted buttons

void TMainF::ShowPart(KvWindowPart part, bool show)
{
    QWidget* w = PartWidget(m_ui, *this, part);
    if (QAction* item = m_commands.Handler<KvViewCommands>()->PartItem(part))
        item->setChecked(show);
    w->setVisible(show);
    auto* sp = qobject_cast<QSplitter*>(w->parentWidget());
    if (!show || !sp)
        return;
    // A part collapsed by its splitter comes back with its remembered size.
    const int index = sp->indexOf(w);
    QList<int> sizes = sp->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (index < 0 || total <= 0)
        return;
    const int wanted = index == 0 ? std::max(m_restore->TreeWidth(), KvRestore::MinTreeWidth)
                                  : std::max(m_restore->SearchResHeight(), total / 3);
    if (sizes.value(index) >= wanted)
        return;
    sizes[index] = std::min(wanted, total - 1);
    sizes[1 - index] = total - sizes[index];
    sp->setSizes(sizes);
}

void TMainF::followParts()
{
    // A part hidden by other means than its item (a splitter collapsed by dragging, a
    // floating toolbar closed with its own button) clears the item's check mark.
    auto* view = m_commands.Handler<KvViewCommands>();
    for (KvWindowPart part :
         {KvWindowPart::MainToolbar, KvWindowPart::EditToolbar, KvWindowPart::FontAndColorToolbar,
          KvWindowPart::TextAttrToolbar, KvWindowPart::StylesToolbar}) {
        auto* tb = static_cast<QToolBar*>(PartWidget(m_ui, *this, part));
        QAction* item = view->PartItem(part);
        connect(tb, &QToolBar::visibilityChanged, this, [tb, item](bool visible) {
            if (!visible && tb->isHidden())
                item->setChecked(false);
        });
    }
    connect(m_ui.fldrPageSp, &QSplitter::splitterMoved, this, [this] {
        if (m_ui.fldrPageSp->sizes().value(0) == 0 && m_ui.folderTv->isVisible())
            ShowPart(KvWindowPart::NavigationTree, false);
    });
    connect(m_ui.searchResSp, &QSplitter::splitterMoved, this, [this] {
        if (m_ui.searchResSp->sizes().value(1) == 0 && m_ui.searchResP->isVisible())
            ShowPart(KvWindowPart::SearchResults, false);
    });
    connect(m_ui.folderTv, &QTreeWidget::itemSelectionChanged, this, &TMainF::UpdateCommandStates);
}

void TMainF::RetargetButtons(KvButtonMode mode)
{
    for (QToolButton* b : {m_ui.renameTB, m_ui.deleteTB, m_ui.moveUpTB, m_ui.moveDownTB}) {
        QAction* a = Action(ButtonAction(b->objectName(), mode));
        if (b->defaultAction() != a)
            b->setDefaultAction(a);
    }
}

KvCommandContext TMainF::CommandContext() const
{
    KvCommandContext c;
    c.fullAccess = m_shell.fullAccess;
    c.folder = KvPlaceOf(m_nav.curFolder, TopFolder(), TrashFolder(), c.fullAccess);
    c.page = KvPlaceOf(m_nav.curPage, TopFolder(), TrashFolder(), c.fullAccess);
    c.hasCurrentFolder = c.folder.exists;
    c.hasCurrentPage = c.page.exists;
    c.selectedNode = m_ui.folderTv->SelectedNodeKind();
    TexRichEdit* editor = m_services->Editor();
    c.pageLoaded = editor && m_nav.curPage == m_nav.shownPage;
    c.pageEditable = c.pageLoaded && c.page.writable && !c.page.writeProtected;
    if (c.pageLoaded) {
        c.selection = editor->SelLength() > 0;
        c.canUndo = editor->CanUndo();
        c.canRedo = editor->CanRedo();
    }
    const KvClipboardOffer& offer = m_clipboard->Offer();
    c.clipboardText = offer.text;
    c.clipboardRtf = offer.rtf;
    c.clipboardPicture = offer.picture;
    c.editorVersion = TexRichEdit::MajorVersion();
    elementContext(c);
    m_lists->Context(c);
    return c;
}

void TMainF::UpdateCommandStates()
{
    const KvCommandContext context = CommandContext();
    m_commands.EnableCommands(context);
    // The folder's move sub-menu: a folder, write access, not busy.
    if (QAction* move = MenuItem(u"FolderMoveMI"_qs))
        move->setEnabled(context.hasCurrentFolder && context.fullAccess && !context.Busy());
    RetargetButtons(ButtonModeFor(context.selectedNode, context.hasCurrentPage));
}

bool TMainF::FormKeyDown(QKeyEvent* event)
{
    // The handlers first (Esc ends format copy), then the keys of the element commands.
    for (KvCommandHandler* h : m_commands.Handlers()) {
        if (h->KeyPressed(*event))
            return true;
    }
    return elementKeyDown(event);
}

QAction* TMainF::Action(const QString& name) const
{
    return m_commands.Action(name);
}

QAction* TMainF::MenuItem(const QString& name) const
{
    return m_menuItems.value(name);
}
