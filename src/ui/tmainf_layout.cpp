// Composition of the main window: the named controls, the commands, the status bar,
// the view items, the zoom and the re-targeted toolbar buttons.
#include "commands/kvcommandhandler.h"
#include "model/kvpage.h"
#include "ui/kvkeypreview.h"
#include "ui/kvlanguageinit.h"
#include "ui/kvmenubuilder.h"
#include "ui/kvmenuimages.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using KvCompose::Named;
using KvCompose::ToolButton;

// ---------------------------------------------------------------------------------------
// Construction steps

void TMainF::createStatusBar()
{
    setupStatusBar();
}

void TMainF::createMenus()
{
    setupControls();
    setupActions();
    setupMenus();
    setupContextMenus();
    setupToolbars();
    bindViewItems();
}

void TMainF::setupControls()
{
    // Tree | right side (page area over the result panel).
    m_ui.fldrPageSp = Named(new QSplitter(Qt::Horizontal, this), u"FldrPageSp"_qs);
    m_ui.fldrPageSp->setChildrenCollapsible(true);
    m_ui.folderTv = Named(new TexTreeView(m_ui.fldrPageSp), u"FolderTv"_qs);
    m_ui.rightSideP = Named(new QWidget(m_ui.fldrPageSp), u"RightSideP"_qs);
    m_ui.fldrPageSp->addWidget(m_ui.folderTv);
    m_ui.fldrPageSp->addWidget(m_ui.rightSideP);
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
    m_ui.noPagesLbl = Named(new QLabel(pageArea), u"NoPagesLbl"_qs);
    m_ui.noPagesLbl->setAlignment(Qt::AlignCenter);
    m_ui.noPagesLbl->setWordWrap(true);
    m_ui.noPagesLbl->hide();
    pages->addWidget(m_ui.pagePC);
    pages->addWidget(m_ui.noPagesLbl);

    // Result panel: caption row, the list, and the row with the saved results.
    m_ui.searchResP = Named(new QWidget(m_ui.searchResSp), u"SearchResP"_qs);
    m_ui.searchResSp->addWidget(pageArea);
    m_ui.searchResSp->addWidget(m_ui.searchResP);
    m_ui.searchResSp->setStretchFactor(0, 2);
    m_ui.searchResSp->setStretchFactor(1, 1);
    // The result panel starts at a third of the right side.
    m_ui.searchResSp->setSizes({400, 200});
    m_ui.searchResSp->setChildrenCollapsible(true);

    QWidget* p = m_ui.searchResP;
    m_ui.resultLbl = Named(new QLabel(u"ResultLbl#12047"_qs, p), u"ResultLbl"_qs);
    m_ui.foundLbl = Named(new QLabel(p), u"FoundLbl"_qs);
    m_ui.resultLV = Named(new QTreeWidget(p), u"ResultLV"_qs);
    m_ui.resultLV->setRootIsDecorated(false);
    m_ui.resultLV->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_ui.resultLV->setSortingEnabled(true);
    m_ui.resultLV->setHeaderLabels({u"#5000"_qs, u"#5001"_qs});
    m_ui.resultLV->header()->resizeSection(0, 130);
    m_ui.resultLV->setContextMenuPolicy(Qt::CustomContextMenu);
    m_ui.resultLV->setProperty(KvLanguageInit::HintProperty, u"5400"_qs);
    m_ui.showFullPathCB = Named(new QCheckBox(u"ShowFullPathCB#12044"_qs, p), u"ShowFullPathCB"_qs);
    m_ui.showFullPathCB->setChecked(true);
    m_ui.showFullPathCB->setProperty(KvLanguageInit::HintProperty, u"12045"_qs);
    m_ui.stopBtn = Named(new QPushButton(u"StopBtn#12038"_qs, p), u"StopBtn"_qs);
    m_ui.stopBtn->setProperty(KvLanguageInit::HintProperty, u"3130"_qs);
    m_ui.stopBtn->setIcon(KvMenuImages::Icon(u"CANCEL"_qs));
    m_ui.stopBtn->hide();
    m_ui.searchProgress = Named(new QProgressBar(p), u"SearchProgress"_qs);
    m_ui.searchProgress->setTextVisible(false);
    m_ui.searchProgress->hide();
    m_ui.newSearchBtn = Named(new QPushButton(u"NewSearchBtn#4006"_qs, p), u"NewSearchBtn"_qs);
    m_ui.newSearchBtn->setProperty(KvLanguageInit::HintProperty, u"3200"_qs);
    m_ui.newSearchBtn->setIcon(KvMenuImages::Icon(u"SEARCH"_qs));
    m_ui.searchResCoB = Named(new QComboBox(p), u"SearchResCoB"_qs);
    m_ui.searchResCoB->setProperty(KvLanguageInit::HintProperty, u"12071"_qs);
    m_ui.searchResCoB->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_ui.searchResCoB->setMinimumContentsLength(20);

    auto* panel = new QVBoxLayout(p);
    panel->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    top->addWidget(m_ui.resultLbl);
    top->addWidget(m_ui.foundLbl);
    top->addStretch(1);
    top->addWidget(m_ui.searchProgress);
    top->addWidget(m_ui.stopBtn);
    top->addWidget(m_ui.newSearchBtn);
    panel->addLayout(top);
    panel->addWidget(m_ui.resultLV, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_ui.showFullPathCB);
    bottom->addStretch(1);
    bottom->addWidget(m_ui.searchResCoB);
    m_ui.searchResSaveTB = ToolButton(p, u"SearchResSaveTB"_qs);
    m_ui.searchResDelTB = ToolButton(p, u"SearchResDelTB"_qs);
    m_ui.searchResRenTB = ToolButton(p, u"SearchResRenTB"_qs);
    bottom->addWidget(m_ui.searchResSaveTB);
    bottom->addWidget(m_ui.searchResDelTB);
    bottom->addWidget(m_ui.searchResRenTB);
    panel->addLayout(bottom);

    // The history drop-down list floats over the window while it is shown.
    m_ui.historyLV = Named(new QTreeWidget(this), u"HistoryLV"_qs);
    m_ui.historyLV->setHeaderLabels({u"#5000"_qs, u"#5001"_qs});
    m_ui.historyLV->setRootIsDecorated(false);
    m_ui.historyLV->setContextMenuPolicy(Qt::CustomContextMenu);
    m_ui.historyLV->setProperty(KvLanguageInit::HintProperty, u"16006"_qs);
    m_ui.historyLV->hide();

    m_ui.trayIcon = Named(new QSystemTrayIcon(this), u"TrayIcon"_qs);

    new KvKeyPreview(this, [this](QKeyEvent* e) { return FormKeyDown(e); });
}

void TMainF::setupActions()
{
    m_commands.CreateHandlers(this);
    for (QAction* a : m_commands.AllActions()) {
        const QString image = a->property(KvCommandHandler::ImageProperty).toString();
        if (!image.isEmpty())
            a->setIcon(KvMenuImages::Icon(image));
        // Actions live in the window so that their shortcuts work wherever the focus is.
        addAction(a);
    }
    m_ui.searchResSaveTB->setDefaultAction(Action(u"SearchResSaveA"_qs));
    m_ui.searchResDelTB->setDefaultAction(Action(u"SearchResDeleteA"_qs));
    m_ui.searchResRenTB->setDefaultAction(Action(u"SearchResRenameA"_qs));
}

void TMainF::setupStatusBar()
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
// View items, zoom and the re-targeted buttons

void TMainF::showPart(QWidget* part, QAction* item, bool show)
{
    const QSignalBlocker block(item);
    item->setChecked(show);
    part->setVisible(show);
    // A part collapsed by its splitter comes back with a usable size.
    auto* sp = qobject_cast<QSplitter*>(part->parentWidget());
    if (!show || !sp)
        return;
    const int index = sp->indexOf(part);
    QList<int> sizes = sp->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (index < 0 || sizes.value(index) > 0 || total <= 0)
        return;
    const int wanted = index == 0 ? std::min(150, total / 2) : total / 3;
    sizes[index] = wanted;
    sizes[1 - index] = total - wanted;
    sp->setSizes(sizes);
}

void TMainF::bindViewItems()
{
    const struct
    {
        const char16_t* item;
        QWidget* part;
    } kParts[] = {
        {u"NavTreeMI", m_ui.folderTv},
        {u"MainBarMI", m_ui.mainToolbar},
        {u"EditBarMI", m_ui.editToolbar},
        {u"FontAndColorBarMI", m_ui.fontAndColorToolbar},
        {u"TextAttrBarMI", m_ui.textAttrToolbar},
        {u"StylesBarMI", m_ui.stylesToolbar},
        {u"StatusBarMI", statusBar()},
        {u"SearchResMI", m_ui.searchResP},
    };
    for (const auto& p : kParts) {
        QAction* item = Action(QString::fromUtf16(p.item));
        QWidget* part = p.part;
        item->setChecked(true);
        connect(item, &QAction::toggled, this,
                [this, part, item](bool on) { showPart(part, item, on); });
        // Closing a floating toolbar with its own button clears the check mark.
        if (auto* tb = qobject_cast<QToolBar*>(part)) {
            connect(tb, &QToolBar::visibilityChanged, this, [tb, item](bool visible) {
                if (!visible && tb->isHidden()) {
                    const QSignalBlocker block(item);
                    item->setChecked(false);
                }
            });
        }
    }
    // Collapsing the tree or the result panel with the splitter unchecks its item.
    auto followSplitter = [this](QSplitter* sp, int index, QWidget* part, const QString& item) {
        connect(sp, &QSplitter::splitterMoved, this, [this, sp, index, part, item] {
            if (sp->sizes().value(index) == 0 && part->isVisible())
                showPart(part, Action(item), false);
        });
    };
    followSplitter(m_ui.fldrPageSp, 0, m_ui.folderTv, u"NavTreeMI"_qs);
    followSplitter(m_ui.searchResSp, 1, m_ui.searchResP, u"SearchResMI"_qs);

    auto* zoomGroup = new QActionGroup(this);
    zoomGroup->setExclusive(true);
    for (QAction* a : m_menuItems.value(u"ZoomMI"_qs)->menu()->actions()) {
        if (a->isSeparator())
            continue;
        zoomGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, a] { SelectZoom(a->text()); });
    }
    // The user-defined item and its separator stay hidden until a zoom of its own is used.
    QAction* userdef = Action(u"ZoomUserdefMI"_qs);
    const QList<QAction*> zoomItems = m_menuItems.value(u"ZoomMI"_qs)->menu()->actions();
    userdef->setVisible(false);
    if (const qsizetype at = zoomItems.indexOf(userdef); at > 0)
        zoomItems[at - 1]->setVisible(false);
    connect(m_ui.zoomCoB, &QComboBox::textActivated, this, &TMainF::SelectZoom);

    connect(Action(u"ExitMI"_qs), &QAction::triggered, this, &QWidget::close);
    connect(Action(u"NewWindowMI"_qs), &QAction::triggered, this, &TMainF::NewWindowMIClick);
    connect(Action(u"RestoreFromTrayPMI"_qs), &QAction::triggered, this, [this] {
        showNormal();
        activateWindow();
    });
    connect(Action(u"CloseFromTrayPMI"_qs), &QAction::triggered, this, &QWidget::close);
    connect(m_ui.folderTv, &QTreeWidget::itemSelectionChanged, this, &TMainF::UpdateCommandStates);
}

void TMainF::fillZoomBox()
{
    const QSignalBlocker block(m_ui.zoomCoB);
    m_ui.zoomCoB->clear();
    for (QAction* a : m_menuItems.value(u"ZoomMI"_qs)->menu()->actions()) {
        if (a->text().contains(u'%'))
            m_ui.zoomCoB->addItem(a->text());
    }
    SelectZoom(u"100%"_qs);
}

bool TMainF::SelectZoom(const QString& text)
{
    QString zoom = text.trimmed();
    if (!zoom.endsWith(u'%'))
        zoom += u'%';
    bool ok = false;
    const int percent = zoom.chopped(1).toInt(&ok);
    if (!ok || percent < 5 || percent > 1000)
        return false;
    zoom = QString::number(percent) + u'%';

    const QList<QAction*> items = m_menuItems.value(u"ZoomMI"_qs)->menu()->actions();
    QAction* userdef = Action(u"ZoomUserdefMI"_qs);
    bool fixed = false;
    for (QAction* a : items)
        fixed = fixed || (a != userdef && !a->isSeparator() && a->text() == zoom);
    if (!fixed) {
        // A percentage of its own goes to the user-defined item, shown with its separator.
        userdef->setText(zoom);
        userdef->setVisible(true);
        const qsizetype at = items.indexOf(userdef);
        if (at > 0)
            items[at - 1]->setVisible(true);
    }
    for (QAction* a : items) {
        if (!a->isSeparator())
            a->setChecked(a->text() == zoom && (a == userdef) != fixed);
    }
    const QSignalBlocker block(m_ui.zoomCoB);
    int index = m_ui.zoomCoB->findText(zoom);
    if (index < 0 && !fixed) {
        m_ui.zoomCoB->addItem(zoom);
        index = m_ui.zoomCoB->count() - 1;
    }
    m_ui.zoomCoB->setCurrentIndex(index);
    return true;
}

void TMainF::RetargetButtons(KvButtonMode mode)
{
    for (QToolButton* b : {m_ui.renameTB, m_ui.deleteTB, m_ui.moveUpTB, m_ui.moveDownTB}) {
        QAction* a = Action(ButtonAction(b->objectName(), mode));
        if (b->defaultAction() != a)
            b->setDefaultAction(a);
    }
}

void TMainF::UpdateCommandStates()
{
    KvCommandContext context;
    context.hasCurrentFolder = m_nav.curFolder != nullptr;
    context.hasCurrentPage = m_nav.curPage != nullptr;
    context.pageLoaded = m_nav.shownPage && m_nav.shownPage->IsLoaded();
    context.writable = m_shell.fullAccess;
    m_commands.EnableCommands(context);
    RetargetButtons(ButtonModeFor(m_ui.folderTv->SelectedNodeKind(), context.hasCurrentPage));
}

bool TMainF::FormKeyDown(QKeyEvent*)
{
    // The keys of the element and editing commands are handled here as they are built.
    return false;
}

QAction* TMainF::Action(const QString& name) const
{
    return m_commands.Action(name);
}

QAction* TMainF::MenuItem(const QString& name) const
{
    return m_menuItems.value(name);
}
