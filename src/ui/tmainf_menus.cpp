// The main menu and the context menus of the main window.
#include "ui/kvhistorylist.h"
#include "ui/kvmainsearch.h"
#include "ui/kvmenubuilder.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>

using KvCompose::Named;

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
        return KvMenuBuilder(m, m_commands, m_menuItems);
    };

    KvMenuBuilder page = topMenu(u"PageM"_qs, u"Datei#1000"_qs);
    page.item(u"PageNewMI"_qs, u"CreateNewPageA"_qs)
        .item(u"NewLinkMI"_qs, u"NewLinkA"_qs)
        .item(u"PageRenMI"_qs, u"RenamePageA"_qs)
        .item(u"PageDelMI"_qs, u"DeletePageA"_qs)
        .sep();
    {
        KvMenuBuilder impExp = page.sub(u"ImpExpMI"_qs, u"#1027"_qs, u"#1028"_qs);
        impExp.item(u"PageImportMI"_qs, u"PageImportA"_qs);
        KvMenuBuilder exp = impExp.sub(u"ExportMI"_qs, u"#1031"_qs, u"#1032"_qs);
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

    KvMenuBuilder folder = topMenu(u"FolderM"_qs, u"Ordner#1100"_qs);
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

    KvMenuBuilder work = topMenu(u"WorkM"_qs, u"Bearbeiten#1200"_qs);
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

    KvMenuBuilder view = topMenu(u"ViewM"_qs, u"Ansicht#1300"_qs);
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

    KvMenuBuilder help = topMenu(u"HelpM"_qs, u"Hilfe#1400"_qs);
    help.item(u"ContentsMI"_qs, u"ShowDocuA"_qs)
        .item(u"HelpSearchMI"_qs)
        .item(u"AboutMI"_qs, u"AboutA"_qs);
}

void TMainF::setupContextMenus()
{
    auto popup = [&](const QString& name) {
        auto* m = Named(new QMenu(this), name);
        return KvMenuBuilder(m, m_commands, m_menuItems);
    };

    KvMenuBuilder tree = popup(u"FolderTvPopupM"_qs);
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

    KvMenuBuilder edit = popup(u"EditPopupM"_qs);
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

    KvMenuBuilder result = popup(u"ResultLVPM"_qs);
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

    KvMenuBuilder history = popup(u"HistoryPM"_qs);
    history.item(u"ShowHistPMI"_qs).item(u"HyperlinkHistPMI"_qs);
    m_ui.historyPM = history.menu();

    KvMenuBuilder tray = popup(u"TrayPM"_qs);
    tray.item(u"RestoreFromTrayPMI"_qs).item(u"CloseFromTrayPMI"_qs);
    m_ui.trayPM = tray.menu();
    m_ui.trayIcon->setContextMenu(m_ui.trayPM);

    KvMenuBuilder styles = popup(u"StylesPopupM"_qs);
    styles.item(u"StyleApplyPMI"_qs, u"StyleApplyA"_qs)
        .item(u"StyleCreatePMI"_qs, u"StyleCreateA"_qs)
        .item(u"StyleRenamePMI"_qs, u"StyleRenameA"_qs)
        .item(u"StyleDeletePMI"_qs, u"StyleDeleteA"_qs)
        .item(u"StyleRedefinePMI"_qs, u"StyleRedefineA"_qs);
    m_ui.stylesPopupM = styles.menu();

    // The tree's menu acts on the node it was opened on.
    connect(m_ui.folderTv, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { guarded([&] { FolderTvPopupMPopup(pos); }); });
    // The result list's menu follows its selected rows (KvMainSearch::ResultLVPMPopup).
    m_search->AttachPanel();
    m_ui.historyLV->SetContextMenu(m_ui.historyPM);
}
