// Composition of the main window: the named controls, the commands, the main menu, the
// toolbars, the context menus, the status bar and the resolution of their texts.
#include "app/kvtexts.h"
#include "commands/kvcommandhandler.h"
#include "platform/applog.h"
#include "ui/kvkeypreview.h"
#include "ui/kvlanguageinit.h"
#include "ui/kvmenuimages.h"
#include "ui/texcolorpicker.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The names of the entries of a menu or toolbar in order; separators are "-".
const char* const kItemsProperty = "kvItems";
const QString kSeparator = u"-"_qs;

void appendName(QObject* container, const QString& name)
{
    QStringList names = container->property(kItemsProperty).toStringList();
    names.append(name);
    container->setProperty(kItemsProperty, names);
}

// Builds one menu: items show a command of the registry or an item of their own.
class MenuBuilder
{
public:
    MenuBuilder(QMenu* menu, const KvActionRegistry& commands, QHash<QString, QAction*>& items)
        : m_menu(menu), m_commands(commands), m_items(items)
    {}

    // An item that shows the command action, or the item of the same name.
    MenuBuilder& item(const QString& name, const QString& action = QString())
    {
        QAction* a = m_commands.Action(action.isEmpty() ? name : action);
        Q_ASSERT_X(a, "MenuBuilder::item", "every menu item has its action");
        m_menu->addAction(a);
        m_items.insert(name, a);
        appendName(m_menu, name);
        return *this;
    }
    MenuBuilder& sep()
    {
        m_menu->addSeparator();
        appendName(m_menu, kSeparator);
        return *this;
    }
    // A submenu with its own caption and hint (text references).
    MenuBuilder sub(const QString& name, const QString& caption, const QString& hint = QString())
    {
        auto* menu = new QMenu(caption, m_menu);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        if (!hint.isEmpty())
            menu->menuAction()->setStatusTip(hint);
        m_menu->addMenu(menu);
        m_items.insert(name, menu->menuAction());
        appendName(m_menu, name);
        return MenuBuilder(menu, m_commands, m_items);
    }
    QMenu* menu() const { return m_menu; }

private:
    QMenu* m_menu;
    const KvActionRegistry& m_commands;
    QHash<QString, QAction*>& m_items;
};

// Builds one toolbar: buttons for commands, separators, and controls of the window.
class ToolbarBuilder
{
public:
    ToolbarBuilder(QToolBar* bar, const KvActionRegistry& commands)
        : m_bar(bar), m_commands(commands)
    {}
    ToolbarBuilder& button(const QString& name, const QString& action)
    {
        QAction* a = m_commands.Action(action);
        Q_ASSERT_X(a, "ToolbarBuilder::button", "every button has its action");
        m_bar->addAction(a);
        m_bar->widgetForAction(a)->setObjectName(name);
        appendName(m_bar, name);
        return *this;
    }
    ToolbarBuilder& sep()
    {
        m_bar->addSeparator();
        appendName(m_bar, kSeparator);
        return *this;
    }
    ToolbarBuilder& widget(QWidget* w)
    {
        m_bar->addWidget(w);
        appendName(m_bar, w->objectName());
        return *this;
    }

private:
    QToolBar* m_bar;
    const KvActionRegistry& m_commands;
};

template <typename W> W* named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

QToolButton* toolButton(QWidget* parent, const QString& name, QAction* action = nullptr)
{
    auto* b = named(new QToolButton(parent), name);
    b->setAutoRaise(true);
    if (action)
        b->setDefaultAction(action);
    return b;
}

} // namespace

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
    m_ui.fldrPageSp = named(new QSplitter(Qt::Horizontal, this), u"FldrPageSp"_qs);
    m_ui.fldrPageSp->setChildrenCollapsible(true);
    m_ui.folderTv = named(new TexTreeView(m_ui.fldrPageSp), u"FolderTv"_qs);
    m_ui.rightSideP = named(new QWidget(m_ui.fldrPageSp), u"RightSideP"_qs);
    m_ui.fldrPageSp->addWidget(m_ui.folderTv);
    m_ui.fldrPageSp->addWidget(m_ui.rightSideP);
    m_ui.fldrPageSp->setStretchFactor(1, 1);
    m_ui.fldrPageSp->setSizes({150, 600});
    setCentralWidget(m_ui.fldrPageSp);

    auto* right = new QVBoxLayout(m_ui.rightSideP);
    right->setContentsMargins(0, 0, 0, 0);
    m_ui.searchResSp = named(new QSplitter(Qt::Vertical, m_ui.rightSideP), u"SearchResSp"_qs);
    right->addWidget(m_ui.searchResSp);

    auto* pageArea = named(new QWidget(m_ui.searchResSp), u"PageArea"_qs);
    auto* pages = new QVBoxLayout(pageArea);
    pages->setContentsMargins(0, 0, 0, 0);
    m_ui.pagePC = named(new QTabWidget(pageArea), u"PagePC"_qs);
    m_ui.pagePC->setDocumentMode(true);
    m_ui.pagePC->setMovable(false);
    m_ui.noPagesLbl = named(new QLabel(pageArea), u"NoPagesLbl"_qs);
    m_ui.noPagesLbl->setAlignment(Qt::AlignCenter);
    m_ui.noPagesLbl->setWordWrap(true);
    m_ui.noPagesLbl->hide();
    pages->addWidget(m_ui.pagePC);
    pages->addWidget(m_ui.noPagesLbl);

    // Result panel: caption row, the list, and the row with the saved results.
    m_ui.searchResP = named(new QWidget(m_ui.searchResSp), u"SearchResP"_qs);
    m_ui.searchResSp->addWidget(pageArea);
    m_ui.searchResSp->addWidget(m_ui.searchResP);
    m_ui.searchResSp->setStretchFactor(0, 2);
    m_ui.searchResSp->setStretchFactor(1, 1);
    // The result panel starts at a third of the right side.
    m_ui.searchResSp->setSizes({400, 200});
    m_ui.searchResSp->setChildrenCollapsible(true);

    QWidget* p = m_ui.searchResP;
    m_ui.resultLbl = named(new QLabel(u"ResultLbl#12047"_qs, p), u"ResultLbl"_qs);
    m_ui.foundLbl = named(new QLabel(p), u"FoundLbl"_qs);
    m_ui.resultLV = named(new QTreeWidget(p), u"ResultLV"_qs);
    m_ui.resultLV->setRootIsDecorated(false);
    m_ui.resultLV->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_ui.resultLV->setSortingEnabled(true);
    m_ui.resultLV->setHeaderLabels({u"#5000"_qs, u"#5001"_qs});
    m_ui.resultLV->header()->resizeSection(0, 130);
    m_ui.resultLV->setContextMenuPolicy(Qt::CustomContextMenu);
    m_ui.resultLV->setProperty(KvLanguageInit::HintProperty, u"5400"_qs);
    m_ui.showFullPathCB = named(new QCheckBox(u"ShowFullPathCB#12044"_qs, p), u"ShowFullPathCB"_qs);
    m_ui.showFullPathCB->setChecked(true);
    m_ui.showFullPathCB->setProperty(KvLanguageInit::HintProperty, u"12045"_qs);
    m_ui.stopBtn = named(new QPushButton(u"StopBtn#12038"_qs, p), u"StopBtn"_qs);
    m_ui.stopBtn->setProperty(KvLanguageInit::HintProperty, u"3130"_qs);
    m_ui.stopBtn->setIcon(KvMenuImages::Icon(u"CANCEL"_qs));
    m_ui.stopBtn->hide();
    m_ui.searchProgress = named(new QProgressBar(p), u"SearchProgress"_qs);
    m_ui.searchProgress->setTextVisible(false);
    m_ui.searchProgress->hide();
    m_ui.newSearchBtn = named(new QPushButton(u"NewSearchBtn#4006"_qs, p), u"NewSearchBtn"_qs);
    m_ui.newSearchBtn->setProperty(KvLanguageInit::HintProperty, u"3200"_qs);
    m_ui.newSearchBtn->setIcon(KvMenuImages::Icon(u"SEARCH"_qs));
    m_ui.searchResCoB = named(new QComboBox(p), u"SearchResCoB"_qs);
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
    m_ui.searchResSaveTB = toolButton(p, u"SearchResSaveTB"_qs);
    m_ui.searchResDelTB = toolButton(p, u"SearchResDelTB"_qs);
    m_ui.searchResRenTB = toolButton(p, u"SearchResRenTB"_qs);
    bottom->addWidget(m_ui.searchResSaveTB);
    bottom->addWidget(m_ui.searchResDelTB);
    bottom->addWidget(m_ui.searchResRenTB);
    panel->addLayout(bottom);

    // The history drop-down list floats over the window while it is shown.
    m_ui.historyLV = named(new QTreeWidget(this), u"HistoryLV"_qs);
    m_ui.historyLV->setHeaderLabels({u"#5000"_qs, u"#5001"_qs});
    m_ui.historyLV->setRootIsDecorated(false);
    m_ui.historyLV->setContextMenuPolicy(Qt::CustomContextMenu);
    m_ui.historyLV->setProperty(KvLanguageInit::HintProperty, u"16006"_qs);
    m_ui.historyLV->hide();

    m_ui.trayIcon = named(new QSystemTrayIcon(this), u"TrayIcon"_qs);

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

void TMainF::setupMenus()
{
    QMenuBar* bar = menuBar();
    auto topMenu = [&](const QString& name, const QString& caption) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        m_menuItems.insert(name, m->menuAction());
        // Opening a menu activates the window first.
        connect(m, &QMenu::aboutToShow, this, &TMainF::FormActivate);
        return MenuBuilder(m, m_commands, m_menuItems);
    };

    MenuBuilder page = topMenu(u"PageM"_qs, u"Datei#1000"_qs);
    page.item(u"PageNewMI"_qs, u"CreateNewPageA"_qs)
        .item(u"NewLinkMI"_qs, u"NewLinkA"_qs)
        .item(u"PageRenMI"_qs, u"RenamePageA"_qs)
        .item(u"PageDelMI"_qs, u"DeletePageA"_qs)
        .sep();
    {
        MenuBuilder impExp = page.sub(u"ImpExpMI"_qs, u"#1027"_qs, u"#1028"_qs);
        impExp.item(u"PageImportMI"_qs, u"PageImportA"_qs);
        MenuBuilder exp = impExp.sub(u"ExportMI"_qs, u"#1031"_qs, u"#1032"_qs);
        exp.item(u"PageExportMI"_qs, u"PageExportA"_qs)
            .item(u"FldrExportMI"_qs, u"FolderExportA"_qs)
            .item(u"FldrSubFldrExportMI"_qs, u"FolderSubFolderExportA"_qs);
        impExp.sep()
            .item(u"ArcCreateMI"_qs, u"CreateArchiveFileA"_qs)
            .item(u"ArcImportMI"_qs, u"ImportArchiveFileA"_qs);
    }
    page.item(u"ExportWithHeaderMI"_qs).sep().item(u"PageSearchMI"_qs, u"PageSearchA"_qs).sep();
    page.sub(u"PageMoveMI"_qs, u"#1019"_qs, u"#1020"_qs)
        .item(u"PageMoveUpMI"_qs, u"PageMoveUpA"_qs)
        .item(u"PageMoveDownMI"_qs, u"PageMoveDownA"_qs)
        .item(u"PageMoveToFolderMI"_qs, u"PageMove2FolderA"_qs);
    page.item(u"PageCopyMI"_qs, u"PageCopyA"_qs)
        .item(u"CreateReferrerMI"_qs, u"CreateReferrerA"_qs)
        .item(u"PagePropsMI"_qs, u"PagePropsA"_qs)
        .sep();
    page.sub(u"PrintMI"_qs, u"#1009"_qs, u"#1010"_qs)
        .item(u"PrintPageMI"_qs, u"PrintPageA"_qs)
        .item(u"PrintFldrMI"_qs, u"PrintFolderA"_qs)
        .item(u"PrintFldrSubFldrMI"_qs, u"PrintFldrSubFldrA"_qs);
    page.item(u"PrintSetupMI"_qs, u"PrintSetupA"_qs)
        .item(u"PageSetupMI"_qs, u"PageSetupA"_qs)
        .item(u"PrintWithHeaderMI"_qs)
        .sep()
        .item(u"CloseTrayMI"_qs, u"Close2TrayA"_qs)
        .sep()
        .item(u"ExitMI"_qs);

    MenuBuilder folder = topMenu(u"FolderM"_qs, u"Ordner#1100"_qs);
    folder.item(u"FolderNewMI"_qs, u"CreateNewFolderA"_qs)
        .item(u"FolderRenMI"_qs, u"RenameFolderA"_qs)
        .item(u"FolderDelMI"_qs, u"DeleteFolderA"_qs)
        .sep();
    folder.sub(u"FolderMoveMI"_qs, u"#1109"_qs, u"#1110"_qs)
        .item(u"FolderMoveUpMI"_qs, u"FolderMoveUpA"_qs)
        .item(u"FolderMoveDownMI"_qs, u"FolderMoveDownA"_qs)
        .item(u"FolderMoveToFolderMI"_qs, u"FolderMove2FolderA"_qs);
    folder.item(u"FolderCopyMI"_qs, u"FolderCopyA"_qs)
        .item(u"FolderPasteMI"_qs, u"FolderPasteA"_qs)
        .item(u"FolderSortMI"_qs, u"SortFolderA"_qs)
        .item(u"FolderPropsMI"_qs, u"FolderPropsA"_qs)
        .sep()
        .item(u"FolderExpandAllMI"_qs, u"FolderExpandAllA"_qs)
        .item(u"FolderCollapseAllMI"_qs, u"FolderCollapseAllA"_qs)
        .sep()
        .item(u"TrashEmptyMI"_qs, u"EmptyTrashA"_qs);

    MenuBuilder work = topMenu(u"WorkM"_qs, u"Bearbeiten#1200"_qs);
    work.item(u"UndoMI"_qs, u"UndoA"_qs)
        .item(u"RedoMI"_qs, u"RedoA"_qs)
        .sep()
        .item(u"CutMI"_qs, u"CutA"_qs)
        .item(u"CopyMI"_qs, u"CopyA"_qs)
        .item(u"PasteMI"_qs, u"PasteA"_qs)
        .item(u"SpecialPasteMI"_qs, u"SpecialPasteA"_qs)
        .item(u"SelectAllMI"_qs, u"SelectAllA"_qs)
        .sep()
        .item(u"ParagraphMI"_qs, u"ParagraphA"_qs)
        .item(u"FontMI"_qs, u"FontA"_qs);
    work.sub(u"StylesMI"_qs, u"#1231"_qs, u"#1232"_qs)
        .item(u"StyleApplyMI"_qs, u"StyleApplyA"_qs)
        .item(u"StyleCreateMI"_qs, u"StyleCreateA"_qs)
        .item(u"StyleRenameMI"_qs, u"StyleRenameA"_qs)
        .item(u"StyleDeleteMI"_qs, u"StyleDeleteA"_qs)
        .item(u"StyleRedefineMI"_qs, u"StyleRedefineA"_qs);
    work.item(u"FormatCopyMI"_qs, u"FormatCopyA"_qs)
        .sep()
        .item(u"CreateLinkMI"_qs, u"CreateLink2PageA"_qs)
        .item(u"LinkInsertMI"_qs, u"InsertLinkA"_qs)
        .item(u"InsertOLEMI"_qs, u"InsertOLEA"_qs)
        .item(u"InsertDateTimeMI"_qs, u"InsertDateTimeA"_qs)
        .item(u"InsertKeywordMI"_qs, u"InsertKeywordA"_qs)
        .sep()
        .item(u"BookmarksMI"_qs, u"BookmarksA"_qs);
    work.sub(u"SearchResultsMI"_qs, u"#1243"_qs, u"#1244"_qs)
        .item(u"SearchResSaveMI"_qs, u"SearchResSaveA"_qs)
        .item(u"SearchResDelMI"_qs, u"SearchResDeleteA"_qs)
        .item(u"SearchResRenMI"_qs, u"SearchResRenameA"_qs);
    work.sep()
        .item(u"SearchMI"_qs, u"SearchA"_qs)
        .item(u"ReplaceMI"_qs, u"ReplaceA"_qs)
        .sep()
        .item(u"OptionsMI"_qs, u"OptionsA"_qs);

    MenuBuilder view = topMenu(u"ViewM"_qs, u"Ansicht#1300"_qs);
    view.item(u"BrowsePrevMI"_qs, u"Browse2PreviousPageA"_qs)
        .item(u"BrowseNextMI"_qs, u"Browse2NextPageA"_qs)
        .item(u"HistoryMI"_qs, u"ShowHistoryA"_qs)
        .sep()
        .item(u"NavTreeMI"_qs)
        .item(u"MainBarMI"_qs)
        .item(u"EditBarMI"_qs)
        .item(u"FontAndColorBarMI"_qs)
        .item(u"TextAttrBarMI"_qs)
        .item(u"StylesBarMI"_qs)
        .item(u"StatusBarMI"_qs)
        .item(u"SearchResMI"_qs)
        .sep()
        .item(u"KeywordsMI"_qs, u"KeywordsA"_qs)
        .sep()
        .item(u"CharmapMI"_qs, u"CharmapA"_qs)
        .sep();
    view.sub(u"ZoomMI"_qs, u"#1319"_qs, u"#1320"_qs)
        .item(u"Zoom200MI"_qs)
        .item(u"Zoom175MI"_qs)
        .item(u"Zoom150MI"_qs)
        .item(u"Zoom125MI"_qs)
        .item(u"Zoom110MI"_qs)
        .item(u"Zoom100MI"_qs)
        .item(u"Zoom90MI"_qs)
        .item(u"Zoom75MI"_qs)
        .item(u"Zoom50MI"_qs)
        .sep()
        .item(u"ZoomUserdefMI"_qs);
    view.sep().item(u"NewWindowMI"_qs);

    MenuBuilder help = topMenu(u"HelpM"_qs, u"Hilfe#1400"_qs);
    help.item(u"ContentsMI"_qs, u"ShowDocuA"_qs)
        .item(u"HelpSearchMI"_qs)
        .item(u"AboutMI"_qs, u"AboutA"_qs);
}

void TMainF::setupContextMenus()
{
    auto popup = [&](const QString& name) {
        auto* m = named(new QMenu(this), name);
        return MenuBuilder(m, m_commands, m_menuItems);
    };

    MenuBuilder tree = popup(u"FolderTvPopupM"_qs);
    tree.item(u"PageNewTVPMI"_qs)
        .item(u"FolderNewTVPMI"_qs)
        .sep()
        .item(u"RenPMI"_qs)
        .item(u"DelPMI"_qs)
        .item(u"MovePMI"_qs)
        .item(u"ElemCopyPMI"_qs)
        .item(u"CreateReferrerPMI"_qs)
        .item(u"FolderPastePMI"_qs)
        .item(u"PropsPMI"_qs)
        .item(u"PrintTVPMI"_qs)
        .item(u"CreLinkPMI"_qs)
        .sep()
        .item(u"SearchTVPMI"_qs)
        .sep()
        .item(u"TrashEmptyPMI"_qs);
    m_ui.folderTvPopupM = tree.menu();

    MenuBuilder edit = popup(u"EditPopupM"_qs);
    edit.item(u"UndoPMI"_qs, u"UndoA"_qs)
        .sep()
        .item(u"CutPMI"_qs, u"CutA"_qs)
        .item(u"CopyPMI"_qs, u"CopyA"_qs)
        .item(u"PastePMI"_qs, u"PasteA"_qs)
        .item(u"SpecialPastePMI"_qs, u"SpecialPasteA"_qs)
        .sep()
        .item(u"CreateLinkPMI"_qs, u"CreateLink2PageA"_qs)
        .item(u"LinkInsertPMI"_qs, u"InsertLinkA"_qs)
        .item(u"InsertOLEPMI"_qs, u"InsertOLEA"_qs)
        .item(u"InsertKeywordPMI"_qs, u"InsertKeywordA"_qs)
        .item(u"CreateRefPMI"_qs, u"CreateReferrerA"_qs)
        .sep()
        .item(u"PageNewPMI"_qs, u"CreateNewPageA"_qs)
        .item(u"CreateRefPagePMI"_qs, u"NewLinkA"_qs)
        .item(u"PageRenPMI"_qs, u"RenamePageA"_qs)
        .item(u"PageDelPMI"_qs, u"DeletePageA"_qs)
        .item(u"PrintPMI"_qs, u"PrintPageA"_qs)
        .item(u"PagePropsPMI"_qs, u"PagePropsA"_qs)
        .sep()
        .item(u"SearchPMI"_qs, u"SearchA"_qs)
        .sep()
        .item(u"FontPMI"_qs, u"FontA"_qs)
        .item(u"ParagraphPMI"_qs, u"ParagraphA"_qs);
    m_ui.editPopupM = edit.menu();

    MenuBuilder result = popup(u"ResultLVPM"_qs);
    result.item(u"ShowResPMI"_qs, u"ShowResA"_qs)
        .item(u"RenameResPMI"_qs, u"RenameResA"_qs)
        .item(u"DeleteResPMI"_qs, u"DeleteResA"_qs)
        .item(u"MoveResPMI"_qs)
        .item(u"CopyResPMI"_qs, u"CopyResA"_qs)
        .item(u"PropsResPMI"_qs)
        .item(u"PrintResPMI"_qs, u"PrintResA"_qs)
        .item(u"ExportResPMI"_qs)
        .item(u"HyperlinkPMI"_qs)
        .item(u"DeleteFromResPMI"_qs);
    m_ui.resultLVPM = result.menu();

    MenuBuilder history = popup(u"HistoryPM"_qs);
    history.item(u"ShowHistPMI"_qs).item(u"HyperlinkHistPMI"_qs);
    m_ui.historyPM = history.menu();

    MenuBuilder tray = popup(u"TrayPM"_qs);
    tray.item(u"RestoreFromTrayPMI"_qs).item(u"CloseFromTrayPMI"_qs);
    m_ui.trayPM = tray.menu();
    m_ui.trayIcon->setContextMenu(m_ui.trayPM);

    MenuBuilder styles = popup(u"StylesPopupM"_qs);
    styles.item(u"StyleApplyPMI"_qs, u"StyleApplyA"_qs)
        .item(u"StyleCreatePMI"_qs, u"StyleCreateA"_qs)
        .item(u"StyleRenamePMI"_qs, u"StyleRenameA"_qs)
        .item(u"StyleDeletePMI"_qs, u"StyleDeleteA"_qs)
        .item(u"StyleRedefinePMI"_qs, u"StyleRedefineA"_qs);
    m_ui.stylesPopupM = styles.menu();

    auto showAt = [](QMenu* menu, QWidget* w) {
        return [menu, w](const QPoint& pos) { menu->popup(w->mapToGlobal(pos)); };
    };
    connect(m_ui.folderTv, &QWidget::customContextMenuRequested, this,
            showAt(m_ui.folderTvPopupM, m_ui.folderTv));
    connect(m_ui.resultLV, &QWidget::customContextMenuRequested, this,
            showAt(m_ui.resultLVPM, m_ui.resultLV->viewport()));
    connect(m_ui.historyLV, &QWidget::customContextMenuRequested, this,
            showAt(m_ui.historyPM, m_ui.historyLV->viewport()));
}

void TMainF::setupToolbars()
{
    auto bar = [&](const QString& name, Qt::ToolBarArea area, bool breakBefore) {
        if (breakBefore)
            addToolBarBreak(area);
        auto* tb = named(new QToolBar(this), name);
        tb->setIconSize(QSize(16, 16));
        addToolBar(area, tb);
        return tb;
    };

    m_ui.mainToolbar = bar(u"MainToolbar"_qs, Qt::TopToolBarArea, false);
    m_ui.renameTB = toolButton(m_ui.mainToolbar, u"RenameTB"_qs);
    m_ui.deleteTB = toolButton(m_ui.mainToolbar, u"DeleteTB"_qs);
    m_ui.moveUpTB = toolButton(m_ui.mainToolbar, u"MoveUpTB"_qs);
    m_ui.moveDownTB = toolButton(m_ui.mainToolbar, u"MoveDownTB"_qs);
    m_ui.zoomCoB = named(new QComboBox(m_ui.mainToolbar), u"ZoomCoB"_qs);
    m_ui.zoomCoB->setEditable(true);
    m_ui.zoomCoB->setInsertPolicy(QComboBox::NoInsert);
    m_ui.zoomCoB->setMinimumContentsLength(5);
    ToolbarBuilder(m_ui.mainToolbar, m_commands)
        .sep()
        .button(u"Browse2PrevTB"_qs, u"Browse2PreviousPageA"_qs)
        .button(u"Browse2NextTB"_qs, u"Browse2NextPageA"_qs)
        .button(u"ShowHistoryTB"_qs, u"ShowHistoryA"_qs)
        .button(u"CreateNewPageTB"_qs, u"CreateNewPageA"_qs)
        .widget(m_ui.renameTB)
        .widget(m_ui.deleteTB)
        .sep()
        .button(u"PageSearchTB"_qs, u"PageSearchA"_qs)
        .sep()
        .widget(m_ui.moveUpTB)
        .widget(m_ui.moveDownTB)
        .button(u"PrintTB"_qs, u"PrintPageImmediatelyA"_qs)
        .sep()
        .sep()
        .button(u"CreateNewFolderTB"_qs, u"CreateNewFolderA"_qs)
        .button(u"SortFolderTB"_qs, u"SortFolderA"_qs)
        .sep()
        .button(u"BookmarksTB"_qs, u"BookmarksA"_qs)
        .button(u"KeywordsTB"_qs, u"KeywordsA"_qs)
        .sep()
        .button(u"SearchTB"_qs, u"SearchA"_qs)
        .button(u"Close2TrayTB"_qs, u"Close2TrayA"_qs)
        .sep()
        .button(u"AboutTB"_qs, u"AboutA"_qs)
        .sep()
        .button(u"SwitchAccessTB"_qs, u"SwitchAccessA"_qs)
        .sep()
        .sep()
        .widget(m_ui.zoomCoB);
    RetargetButtons(KvButtonMode::Folder);

    m_ui.editToolbar = bar(u"EditToolbar"_qs, Qt::TopToolBarArea, false);
    ToolbarBuilder(m_ui.editToolbar, m_commands)
        .button(u"UndoTB"_qs, u"UndoA"_qs)
        .button(u"RedoTB"_qs, u"RedoA"_qs)
        .sep()
        .button(u"CutTB"_qs, u"CutA"_qs)
        .button(u"CopyTB"_qs, u"CopyA"_qs)
        .button(u"PasteTB"_qs, u"PasteA"_qs)
        .sep()
        .button(u"InsertLinkTB"_qs, u"InsertLinkA"_qs)
        .button(u"InsertOLETB"_qs, u"InsertOLEA"_qs);

    m_ui.fontAndColorToolbar = bar(u"FontAndColorToolbar"_qs, Qt::TopToolBarArea, true);
    QToolBar* fc = m_ui.fontAndColorToolbar;
    m_ui.colorCB = named(new TexColorPicker(fc), u"ColorCB"_qs);
    m_ui.colorCB->SetAction(Action(u"ChangeFontColorA"_qs));
    m_ui.colorCB->CustomColorEntry()->setObjectName(u"ColorCBCustomMI"_qs);
    m_ui.bgColorCB = named(new TexColorPicker(fc), u"BGColorCB"_qs);
    m_ui.bgColorCB->SetAction(Action(u"ChangeBGColorA"_qs));
    m_ui.bgColorCB->SetCurrentColor(Qt::yellow);
    m_ui.bgColorCB->CustomColorEntry()->setObjectName(u"BGColorCBCustomMI"_qs);
    m_ui.fontCoB = named(new QFontComboBox(fc), u"FontCoB"_qs);
    m_ui.fontCoB->setProperty(KvLanguageInit::HintProperty, u"#3100"_qs);
    m_ui.sizeCoB = named(new QComboBox(fc), u"SizeCoB"_qs);
    m_ui.sizeCoB->setEditable(true);
    m_ui.sizeCoB->setInsertPolicy(QComboBox::NoInsert);
    for (int size : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_ui.sizeCoB->addItem(QString::number(size));
    m_ui.sizeCoB->setCurrentText(u"10"_qs);
    m_ui.sizeCoB->setProperty(KvLanguageInit::HintProperty, u"#3101"_qs);
    ToolbarBuilder(fc, m_commands)
        .sep()
        .sep()
        .button(u"BGColorResetTB"_qs, u"BGColorResetA"_qs)
        .sep()
        .widget(m_ui.colorCB)
        .widget(m_ui.bgColorCB)
        .widget(m_ui.fontCoB)
        .widget(m_ui.sizeCoB);

    m_ui.textAttrToolbar = bar(u"TextAttrToolbar"_qs, Qt::TopToolBarArea, false);
    ToolbarBuilder(m_ui.textAttrToolbar, m_commands)
        .button(u"BoldTB"_qs, u"BoldTextA"_qs)
        .button(u"ItalicTB"_qs, u"ItalicTextA"_qs)
        .button(u"StrikeThroughTB"_qs, u"StrikeThroughTextA"_qs)
        .sep()
        .button(u"FormatCopyTB"_qs, u"FormatCopyA"_qs)
        .button(u"UnderlineTB"_qs, u"UnderlineTextA"_qs)
        .sep()
        .button(u"ParaAlLeftTB"_qs, u"ParaAlignLeftA"_qs)
        .button(u"ParaAlCenterTB"_qs, u"ParaAlignCenterA"_qs)
        .button(u"ParaAlRightTB"_qs, u"ParaAlignRightA"_qs)
        .button(u"ParaIndentLessTB"_qs, u"ParaIndentLessA"_qs)
        .button(u"ParaBulletTB"_qs, u"ParaBulletA"_qs)
        .button(u"ParaIndentMoreTB"_qs, u"ParaIndentMoreA"_qs);

    m_ui.stylesToolbar = bar(u"StylesToolbar"_qs, Qt::TopToolBarArea, false);
    m_ui.stylesTB = toolButton(m_ui.stylesToolbar, u"StylesTB"_qs);
    m_ui.stylesTB->setIcon(KvMenuImages::Icon(u"SELECTMORE"_qs));
    m_ui.stylesTB->setMenu(m_ui.stylesPopupM);
    m_ui.stylesTB->setPopupMode(QToolButton::InstantPopup);
    m_ui.stylesCoB = named(new QComboBox(m_ui.stylesToolbar), u"StylesCoB"_qs);
    m_ui.stylesCoB->setMinimumContentsLength(16);
    m_ui.stylesCoB->setProperty(KvLanguageInit::HintProperty, u"#3114"_qs);
    ToolbarBuilder(m_ui.stylesToolbar, m_commands)
        .sep()
        .button(u"StyleApplyTB"_qs, u"StyleApplyA"_qs)
        .widget(m_ui.stylesTB)
        .widget(m_ui.stylesCoB);
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
    const struct
    {
        QToolButton* button;
    } kButtons[] = {{m_ui.renameTB}, {m_ui.deleteTB}, {m_ui.moveUpTB}, {m_ui.moveDownTB}};
    for (const auto& b : kButtons) {
        QAction* a = Action(ButtonAction(b.button->objectName(), mode));
        if (b.button->defaultAction() != a)
            b.button->setDefaultAction(a);
    }
}

void TMainF::UpdateCommandStates()
{
    // The current page and folder join the context once the notebook is shown.
    KvCommandContext context;
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

// ---------------------------------------------------------------------------------------
// Texts

void TMainF::MenuTextAndHint(QAction* item)
{
    // Items that show a command keep the command's texts.
    if (!item || item->isSeparator() || m_commands.Commands().contains(item))
        return;
    // A submenu's own item carries its title.
    KvLanguageInit::ResolveAction(item);
}

void TMainF::languageInit()
{
    KV_LOG_SCOPE("TMainF::LanguageInit");
    // 1. The commands; a command without a caption of its own is named by its tooltip.
    for (QAction* a : m_commands.Commands()) {
        KvLanguageInit::ResolveAction(a);
        if (a->text().isEmpty())
            a->setText(a->toolTip());
    }

    // 2. The main menu down to the fourth level and the context menus.
    std::function<void(QMenu*, int)> walk = [&](QMenu* menu, int depth) {
        if (depth <= 0)
            return;
        MenuTextAndHint(menu->menuAction());
        for (QAction* item : menu->actions()) {
            if (QMenu* sub = item->menu())
                walk(sub, depth - 1);
            else
                MenuTextAndHint(item);
        }
    };
    for (QAction* top : menuBar()->actions()) {
        if (QMenu* m = top->menu())
            walk(m, 4);
    }
    for (QMenu* m : {m_ui.folderTvPopupM, m_ui.trayPM, m_ui.resultLVPM, m_ui.historyPM,
                     m_ui.editPopupM, m_ui.stylesPopupM})
        walk(m, 1);
    // Items outside the menus (none at present) still get their texts.
    for (QAction* a : m_commands.AllActions())
        MenuTextAndHint(a);

    // 3. Toolbar captions from the items that show and hide them.
    const struct
    {
        QToolBar* bar;
        const char16_t* item;
    } kBars[] = {
        {m_ui.mainToolbar, u"MainBarMI"},
        {m_ui.editToolbar, u"EditBarMI"},
        {m_ui.fontAndColorToolbar, u"FontAndColorBarMI"},
        {m_ui.textAttrToolbar, u"TextAttrBarMI"},
        {m_ui.stylesToolbar, u"StylesBarMI"},
    };
    for (const auto& b : kBars)
        b.bar->setWindowTitle(Action(QString::fromUtf16(b.item))->text());

    // 4.
    KvLanguageInit::ApplyHint(m_ui.zoomCoB,
                              KvTexts::SplitHint(KvTexts::Text(1319) + u'|' + KvTexts::Text(1320)));

    // 5.
    auto ownHint = [](QWidget* w) {
        KvLanguageInit::ApplyHint(
            w, KvLanguageInit::Hint(w->property(KvLanguageInit::HintProperty).toString()));
    };
    ownHint(m_ui.fontCoB);
    ownHint(m_ui.sizeCoB);
    const KvHint stylesHint =
        KvLanguageInit::Hint(m_ui.stylesCoB->property(KvLanguageInit::HintProperty).toString());
    KvLanguageInit::ApplyHint(m_ui.stylesCoB, stylesHint);
    KvLanguageInit::ApplyHint(m_ui.stylesTB, stylesHint);
    for (TexColorPicker* picker : {m_ui.colorCB, m_ui.bgColorCB}) {
        QAction* custom = picker->CustomColorEntry();
        custom->setText(KvLanguageInit::Caption(custom->text()));
    }

    // 6.
    m_ui.resultLbl->setText(KvLanguageInit::Caption(m_ui.resultLbl->text()));
    QTreeWidgetItem* header = m_ui.resultLV->headerItem();
    for (int i = 0; i < header->columnCount(); ++i)
        header->setText(i, KvLanguageInit::Caption(header->text(i)));
    QTreeWidgetItem* historyHeader = m_ui.historyLV->headerItem();
    for (int i = 0; i < historyHeader->columnCount(); ++i)
        historyHeader->setText(i, KvLanguageInit::Caption(historyHeader->text(i)));
    m_ui.stopBtn->setText(KvLanguageInit::Caption(m_ui.stopBtn->text()));
    m_ui.newSearchBtn->setText(KvLanguageInit::Caption(m_ui.newSearchBtn->text()));
    m_ui.showFullPathCB->setText(KvLanguageInit::Caption(m_ui.showFullPathCB->text()));

    // 7. Bare numbers.
    auto bareHint = [](QWidget* w) {
        KvLanguageInit::ApplyHint(
            w, KvLanguageInit::Hint(w->property(KvLanguageInit::HintProperty).toString(), true));
    };
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_ui.resultLV, m_ui.searchResCoB, m_ui.stopBtn, m_ui.newSearchBtn, m_ui.historyLV})
        bareHint(w);

    // 8.
    m_ui.foundLbl->setText(u"0 "_qs + KvTexts::Text(12014));

    // 9. Status bar only.
    const QString fullPath = KvTexts::ResolveHintNumber(
        m_ui.showFullPathCB->property(KvLanguageInit::HintProperty).toString());
    KvLanguageInit::ApplyHint(m_ui.showFullPathCB, KvTexts::SplitHint(u'|' + fullPath));

    fillZoomBox();
    UpdateCommandStates();
}
