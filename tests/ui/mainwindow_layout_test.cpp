#include "app/kvpaths.h"
#include "app/kvscriptedprompter.h"
#include "commands/kvbuttonmode.h"
#include "commands/kvviewcommands.h"
#include "support/testenv.h"
#include "ui/kvmenubuilder.h"
#include "ui/kvmenuimages.h"
#include "ui/texcolorpicker.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

QStringList entries(const QObject* container)
{
    return KvCompose::Entries(container);
}

QStringList split(const char16_t* text)
{
    return QString::fromUtf16(text).split(u' ', Qt::SkipEmptyParts);
}

// One window for all cases: building it is the expensive part.
class MainWindowLayout : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        env = new korvtest::SandboxEnv;
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
        window = new TMainF({});
    }
    static void TearDownTestSuite()
    {
        delete window;
        window = nullptr;
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
        delete env;
    }

    static QMenu* menu(const QString& name) { return window->findChild<QMenu*>(name); }
    static QToolBar* toolbar(const QString& name) { return window->findChild<QToolBar*>(name); }

    static inline korvtest::SandboxEnv* env = nullptr;
    static inline KvScriptedPrompter prompter;
    static inline TMainF* window = nullptr;
};

// Every command of the window with its shortcut (empty: none).
const struct
{
    const char16_t* action;
    const char16_t* shortcut;
} kCommands[] = {
    {u"AboutA", u""},
    {u"BGColorResetA", u""},
    {u"BoldTextA", u"Ctrl+Shift+F"},
    {u"BookmarksA", u"Ctrl+L"},
    {u"Browse2NextPageA", u"F8"},
    {u"Browse2PreviousPageA", u"F7"},
    {u"ChangeBGColorA", u""},
    {u"ChangeFontColorA", u""},
    {u"CharmapA", u""},
    {u"Close2TrayA", u"Ctrl+T"},
    {u"CopyA", u"Ctrl+C"},
    {u"CopyResA", u""},
    {u"CreateArchiveFileA", u""},
    {u"CreateLink2PageA", u""},
    {u"CreateNewFolderA", u"Shift+F2"},
    {u"CreateNewPageA", u"Ctrl+N"},
    {u"CreateReferrerA", u""},
    {u"CutA", u"Ctrl+X"},
    {u"DeleteFolderA", u""},
    {u"DeletePageA", u""},
    {u"DeleteResA", u""},
    {u"EmptyTrashA", u""},
    {u"FolderCollapseAllA", u""},
    {u"FolderCopyA", u""},
    {u"FolderExpandAllA", u""},
    {u"FolderExportA", u""},
    {u"FolderMove2FolderA", u""},
    {u"FolderMoveDownA", u""},
    {u"FolderMoveUpA", u""},
    {u"FolderPasteA", u""},
    {u"FolderPropsA", u"F6"},
    {u"FolderSubFolderExportA", u""},
    {u"FontA", u""},
    {u"ForceSaveA", u"F12"},
    {u"FormatCopyA", u""},
    {u"ImportArchiveFileA", u""},
    {u"InsertDateTimeA", u"F5"},
    {u"InsertKeywordA", u""},
    {u"InsertLinkA", u"Ctrl+H"},
    {u"InsertOLEA", u"Ctrl+P"},
    {u"ItalicTextA", u"Ctrl+Shift+K"},
    {u"KeywordsA", u"Ctrl+W"},
    {u"NewLinkA", u""},
    {u"OptionsA", u"Ctrl+O"},
    {u"PageCopyA", u""},
    {u"PageExportA", u""},
    {u"PageImportA", u""},
    {u"PageMove2FolderA", u""},
    {u"PageMoveDownA", u""},
    {u"PageMoveUpA", u""},
    {u"PagePropsA", u"F4"},
    {u"PageSearchA", u"Ctrl+Alt+F"},
    {u"PageSetupA", u""},
    {u"ParaAlignCenterA", u""},
    {u"ParaAlignLeftA", u""},
    {u"ParaAlignRightA", u""},
    {u"ParaBulletA", u""},
    {u"ParaIndentLessA", u""},
    {u"ParaIndentMoreA", u""},
    {u"ParagraphA", u""},
    {u"PasteA", u"Ctrl+V"},
    {u"PrintFldrSubFldrA", u""},
    {u"PrintFolderA", u""},
    {u"PrintPageA", u"Ctrl+D"},
    {u"PrintPageImmediatelyA", u""},
    {u"PrintResA", u""},
    {u"PrintSetupA", u""},
    {u"RedoA", u"Ctrl+Y"},
    {u"RenameFolderA", u"Ctrl+F2"},
    {u"RenamePageA", u"F2"},
    {u"RenameResA", u""},
    {u"ReplaceA", u"Ctrl+G"},
    {u"SearchA", u"Ctrl+F"},
    {u"SearchResDeleteA", u""},
    {u"SearchResRenameA", u""},
    {u"SearchResSaveA", u""},
    {u"SelectAllA", u"Ctrl+A"},
    {u"ShowDocuA", u"F1"},
    {u"ShowHistoryA", u""},
    {u"ShowResA", u""},
    {u"SortFolderA", u""},
    {u"SpecialPasteA", u"Ctrl+I"},
    {u"StrikeThroughTextA", u"Ctrl+Shift+D"},
    {u"StyleApplyA", u"Shift+Ctrl+S"},
    {u"StyleCreateA", u""},
    {u"StyleDeleteA", u""},
    {u"StyleRedefineA", u""},
    {u"StyleRenameA", u""},
    {u"SwitchAccessA", u""},
    {u"UnderlineTextA", u"Ctrl+Shift+U"},
    {u"UndoA", u"Ctrl+Z"},
};

TEST_F(MainWindowLayout, EveryCommandExistsWithCaptionAndShortcut)
{
    for (const auto& c : kCommands) {
        const QString name = QString::fromUtf16(c.action);
        SCOPED_TRACE(name.toStdString());
        QAction* a = window->Action(name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->objectName(), name);
        EXPECT_FALSE(a->text().isEmpty());
        EXPECT_FALSE(a->text().contains(u'#')) << a->text().toStdString();
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromUtf16(c.shortcut)));
    }
    EXPECT_EQ(window->Commands().Commands().size(), int(std::size(kCommands)));
}

TEST_F(MainWindowLayout, CaptionsAndHintsOfCommands)
{
    const struct
    {
        const char16_t* action;
        const char16_t* caption;
        const char16_t* tooltip;
    } kTexts[] = {
        {u"CreateNewPageA", u"Neue Seite...", u"Neue Seite"},
        {u"RenameFolderA", u"Umbenennen...", u"Ordner umbenennen"},
        {u"PrintPageA", u"Aktuelle Seite...", u"Seite drucken"},
        {u"StyleApplyA", u"Anwenden", u"Anwenden"},
        // Commands without a caption of their own are named by their tooltip.
        {u"BoldTextA", u"Fett", u"Fett"},
        {u"ParaBulletA", u"Aufzählung", u"Aufzählung"},
        // With full access the switch offers the way to read-only work.
        {u"SwitchAccessA", u"Umschalten auf 'Vollzugriff'",
         u"Umschalten auf 'nur lesenden Zugriff'"},
    };
    for (const auto& t : kTexts) {
        QAction* a = window->Action(QString::fromUtf16(t.action));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromUtf16(t.caption));
        EXPECT_EQ(a->toolTip(), QString::fromUtf16(t.tooltip));
    }
    EXPECT_EQ(window->Action(u"CreateNewPageA"_qs)->statusTip(),
              u"Neue Seite im aktuellen Ordner anlegen"_qs);
}

TEST_F(MainWindowLayout, MainMenusInOrder)
{
    const struct
    {
        const char16_t* menu;
        const char16_t* title;
        const char16_t* items;
    } kMenus[] = {
        {u"PageM", u"Datei",
         u"PageNewMI NewLinkMI PageRenMI PageDelMI - ImpExpMI ExportWithHeaderMI - PageSearchMI - "
         u"PageMoveMI PageCopyMI CreateReferrerMI PagePropsMI - PrintMI PrintSetupMI PageSetupMI "
         u"PrintWithHeaderMI - CloseTrayMI - ExitMI"},
        {u"FolderM", u"Ordner",
         u"FolderNewMI FolderRenMI FolderDelMI - FolderMoveMI FolderCopyMI FolderPasteMI "
         u"FolderSortMI FolderPropsMI - FolderExpandAllMI FolderCollapseAllMI - TrashEmptyMI"},
        {u"WorkM", u"Bearbeiten",
         u"UndoMI RedoMI - CutMI CopyMI PasteMI SpecialPasteMI SelectAllMI - ParagraphMI FontMI "
         u"StylesMI FormatCopyMI - CreateLinkMI LinkInsertMI InsertOLEMI InsertDateTimeMI "
         u"InsertKeywordMI - BookmarksMI SearchResultsMI - SearchMI ReplaceMI - OptionsMI"},
        {u"ViewM", u"Ansicht",
         u"BrowsePrevMI BrowseNextMI HistoryMI - NavTreeMI MainBarMI EditBarMI FontAndColorBarMI "
         u"TextAttrBarMI StylesBarMI StatusBarMI SearchResMI - KeywordsMI - CharmapMI - ZoomMI - "
         u"NewWindowMI"},
        {u"HelpM", u"Hilfe", u"ContentsMI HelpSearchMI AboutMI"},
        {u"ImpExpMI", u"Import / Export", u"PageImportMI ExportMI - ArcCreateMI ArcImportMI"},
        {u"ExportMI", u"Exportieren...", u"PageExportMI FldrExportMI FldrSubFldrExportMI"},
        {u"PageMoveMI", u"Verschieben", u"PageMoveUpMI PageMoveDownMI PageMoveToFolderMI"},
        {u"PrintMI", u"Drucken", u"PrintPageMI PrintFldrMI PrintFldrSubFldrMI"},
        {u"FolderMoveMI", u"Verschieben", u"FolderMoveUpMI FolderMoveDownMI FolderMoveToFolderMI"},
        {u"StylesMI", u"Textformat",
         u"StyleApplyMI StyleCreateMI StyleRenameMI StyleDeleteMI StyleRedefineMI"},
        {u"SearchResultsMI", u"Suchergebnisse", u"SearchResSaveMI SearchResDelMI SearchResRenMI"},
        {u"ZoomMI", u"Zoom",
         u"Zoom200MI Zoom175MI Zoom150MI Zoom125MI Zoom110MI Zoom100MI Zoom90MI Zoom75MI "
         u"Zoom50MI - ZoomUserdefMI"},
    };
    for (const auto& m : kMenus) {
        const QString name = QString::fromUtf16(m.menu);
        SCOPED_TRACE(name.toStdString());
        QMenu* menu = MainWindowLayout::menu(name);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title(), QString::fromUtf16(m.title));
        const QStringList expected = split(m.items);
        EXPECT_EQ(entries(menu), expected);
        // The entries are the menu's actions in the same order.
        const QList<QAction*> actions = menu->actions();
        ASSERT_EQ(actions.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            if (expected[i] == u"-")
                EXPECT_TRUE(actions[i]->isSeparator());
            else
                EXPECT_EQ(actions[i], window->MenuItem(expected[i])) << expected[i].toStdString();
        }
    }
    QStringList tops;
    for (QAction* a : window->menuBar()->actions())
        tops << a->objectName();
    EXPECT_EQ(tops, split(u"PageM FolderM WorkM ViewM HelpM"));
}

TEST_F(MainWindowLayout, MenuItemsCarryTheirCommands)
{
    const struct
    {
        const char16_t* item;
        const char16_t* action;
    } kItems[] = {
        {u"PageNewMI", u"CreateNewPageA"},
        {u"PageMoveToFolderMI", u"PageMove2FolderA"},
        {u"FldrSubFldrExportMI", u"FolderSubFolderExportA"},
        {u"CloseTrayMI", u"Close2TrayA"},
        {u"FolderSortMI", u"SortFolderA"},
        {u"TrashEmptyMI", u"EmptyTrashA"},
        {u"CreateLinkMI", u"CreateLink2PageA"},
        {u"SearchResDelMI", u"SearchResDeleteA"},
        {u"BrowsePrevMI", u"Browse2PreviousPageA"},
        {u"ContentsMI", u"ShowDocuA"},
        {u"CreateRefPMI", u"CreateReferrerA"},
        {u"CreateRefPagePMI", u"NewLinkA"},
        {u"PrintPMI", u"PrintPageA"},
        {u"ShowResPMI", u"ShowResA"},
        {u"PrintResPMI", u"PrintResA"},
    };
    for (const auto& i : kItems) {
        QAction* item = window->MenuItem(QString::fromUtf16(i.item));
        ASSERT_NE(item, nullptr) << QString::fromUtf16(i.item).toStdString();
        EXPECT_EQ(item, window->Action(QString::fromUtf16(i.action)));
    }
    // Items of their own carry their texts.
    EXPECT_EQ(window->MenuItem(u"ExitMI"_qs)->text(), u"Beenden"_qs);
    EXPECT_EQ(window->MenuItem(u"NewWindowMI"_qs)->text(), u"Neues Fenster"_qs);
    EXPECT_EQ(window->MenuItem(u"HelpSearchMI"_qs)->text(), u"Suchen..."_qs);
    EXPECT_EQ(window->MenuItem(u"Zoom75MI"_qs)->text(), u"75%"_qs);
    EXPECT_EQ(window->MenuItem(u"ImpExpMI"_qs)->statusTip(),
              u"Dateien importieren, Seiten exportieren, Archive erstellen und importieren"_qs);
    EXPECT_FALSE(window->MenuItem(u"ZoomUserdefMI"_qs)->isVisible());
    EXPECT_TRUE(window->MenuItem(u"NavTreeMI"_qs)->isCheckable());
    EXPECT_TRUE(window->MenuItem(u"PrintWithHeaderMI"_qs)->isCheckable());
    EXPECT_TRUE(window->MenuItem(u"ExportWithHeaderMI"_qs)->isCheckable());
}

TEST_F(MainWindowLayout, MenuItemWithCommandKeepsTheCommandsCaption)
{
    QAction* item = window->MenuItem(u"PageRenMI"_qs);
    ASSERT_EQ(item, window->Action(u"RenamePageA"_qs));
    EXPECT_EQ(item->text(), u"Umbenennen..."_qs);
    // Even a reference written on it is left alone: the command's texts count.
    item->setText(u"PageRenMI#1015"_qs);
    window->MenuTextAndHint(item);
    EXPECT_EQ(item->text(), u"PageRenMI#1015"_qs);
    item->setText(u"Umbenennen..."_qs);
}

TEST_F(MainWindowLayout, ContextMenusInOrder)
{
    const struct
    {
        const char16_t* menu;
        const char16_t* items;
    } kMenus[] = {
        {u"FolderTvPopupM",
         u"PageNewTVPMI FolderNewTVPMI - RenPMI DelPMI MovePMI ElemCopyPMI CreateReferrerPMI "
         u"FolderPastePMI PropsPMI PrintTVPMI CreLinkPMI - SearchTVPMI - TrashEmptyPMI"},
        {u"EditPopupM",
         u"UndoPMI - CutPMI CopyPMI PastePMI SpecialPastePMI - CreateLinkPMI LinkInsertPMI "
         u"InsertOLEPMI InsertKeywordPMI CreateRefPMI - PageNewPMI CreateRefPagePMI PageRenPMI "
         u"PageDelPMI PrintPMI PagePropsPMI - SearchPMI - FontPMI ParagraphPMI"},
        {u"ResultLVPM",
         u"ShowResPMI RenameResPMI DeleteResPMI MoveResPMI CopyResPMI PropsResPMI PrintResPMI "
         u"ExportResPMI HyperlinkPMI DeleteFromResPMI"},
        {u"HistoryPM", u"ShowHistPMI HyperlinkHistPMI"},
        {u"TrayPM", u"RestoreFromTrayPMI CloseFromTrayPMI"},
        {u"StylesPopupM",
         u"StyleApplyPMI StyleCreatePMI StyleRenamePMI StyleDeletePMI StyleRedefinePMI"},
    };
    for (const auto& m : kMenus) {
        SCOPED_TRACE(QString::fromUtf16(m.menu).toStdString());
        QMenu* menu = MainWindowLayout::menu(QString::fromUtf16(m.menu));
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(entries(menu), split(m.items));
        for (QAction* a : menu->actions())
            EXPECT_TRUE(a->isSeparator() || !a->text().isEmpty()) << a->objectName().toStdString();
    }
    EXPECT_EQ(window->MenuItem(u"RestoreFromTrayPMI"_qs)->text(), u"Wiederherstellen"_qs);
    EXPECT_EQ(window->MenuItem(u"CloseFromTrayPMI"_qs)->text(), u"Beenden"_qs);
    EXPECT_EQ(window->MenuItem(u"DeleteFromResPMI"_qs)->text(), u"Aus Suchergebnis löschen"_qs);
    EXPECT_EQ(window->MenuItem(u"SearchTVPMI"_qs)->text(), u"Suchen..."_qs);
}

TEST_F(MainWindowLayout, ToolbarsWithTheirButtonsInOrder)
{
    const struct
    {
        const char16_t* toolbar;
        const char16_t* caption;
        const char16_t* buttons;
    } kBars[] = {
        {u"MainToolbar", u"Allgemeine Funktionen",
         u"- Browse2PrevTB Browse2NextTB ShowHistoryTB CreateNewPageTB RenameTB DeleteTB - "
         u"PageSearchTB - MoveUpTB MoveDownTB PrintTB - - CreateNewFolderTB SortFolderTB - "
         u"BookmarksTB KeywordsTB - SearchTB Close2TrayTB - AboutTB - SwitchAccessTB - - ZoomCoB"},
        {u"EditToolbar", u"Zwischenablage, Hyperlink/Objekt einfügen",
         u"UndoTB RedoTB - CutTB CopyTB PasteTB - InsertLinkTB InsertOLETB"},
        {u"FontAndColorToolbar", u"Schriftarten, Farbe",
         u"- - BGColorResetTB - ColorCB BGColorCB FontCoB SizeCoB"},
        {u"TextAttrToolbar", u"Textattribute",
         u"BoldTB ItalicTB StrikeThroughTB - FormatCopyTB UnderlineTB - ParaAlLeftTB "
         u"ParaAlCenterTB ParaAlRightTB ParaIndentLessTB ParaBulletTB ParaIndentMoreTB"},
        {u"StylesToolbar", u"Textformate", u"- StyleApplyTB StylesTB StylesCoB"},
    };
    for (const auto& b : kBars) {
        SCOPED_TRACE(QString::fromUtf16(b.toolbar).toStdString());
        QToolBar* bar = toolbar(QString::fromUtf16(b.toolbar));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->windowTitle(), QString::fromUtf16(b.caption));
        const QStringList expected = split(b.buttons);
        EXPECT_EQ(entries(bar), expected);
        const QList<QAction*> actions = bar->actions();
        ASSERT_EQ(actions.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i) {
            if (expected[i] == u"-") {
                EXPECT_TRUE(actions[i]->isSeparator());
                continue;
            }
            QWidget* w = bar->widgetForAction(actions[i]);
            ASSERT_NE(w, nullptr) << expected[i].toStdString();
            EXPECT_EQ(w->objectName(), expected[i]);
        }
    }
    const struct
    {
        const char16_t* button;
        const char16_t* action;
    } kButtons[] = {
        {u"Browse2PrevTB", u"Browse2PreviousPageA"}, {u"PrintTB", u"PrintPageImmediatelyA"},
        {u"Close2TrayTB", u"Close2TrayA"},           {u"InsertOLETB", u"InsertOLEA"},
        {u"BGColorResetTB", u"BGColorResetA"},       {u"ParaIndentMoreTB", u"ParaIndentMoreA"},
        {u"StyleApplyTB", u"StyleApplyA"},           {u"ColorCB", u"ChangeFontColorA"},
        {u"BGColorCB", u"ChangeBGColorA"},           {u"SearchResSaveTB", u"SearchResSaveA"},
        {u"SearchResDelTB", u"SearchResDeleteA"},    {u"SearchResRenTB", u"SearchResRenameA"},
    };
    for (const auto& b : kButtons) {
        auto* button = window->findChild<QToolButton*>(QString::fromUtf16(b.button));
        ASSERT_NE(button, nullptr) << QString::fromUtf16(b.button).toStdString();
        EXPECT_EQ(button->defaultAction(), window->Action(QString::fromUtf16(b.action)));
    }
    auto* stylesTB = window->findChild<QToolButton*>(u"StylesTB"_qs);
    ASSERT_NE(stylesTB, nullptr);
    EXPECT_EQ(stylesTB->menu(), menu(u"StylesPopupM"_qs));
}

TEST_F(MainWindowLayout, NamedControls)
{
    EXPECT_GE(window->minimumWidth(), 400);
    EXPECT_GE(window->minimumHeight(), 400);
    EXPECT_NE(window->findChild<TexTreeView*>(u"FolderTv"_qs), nullptr);
    EXPECT_NE(window->findChild<QSplitter*>(u"FldrPageSp"_qs), nullptr);
    EXPECT_NE(window->findChild<QWidget*>(u"RightSideP"_qs), nullptr);
    EXPECT_NE(window->findChild<QTabWidget*>(u"PagePC"_qs), nullptr);
    EXPECT_NE(window->findChild<QLabel*>(u"NoPagesLbl"_qs), nullptr);
    EXPECT_NE(window->findChild<QSplitter*>(u"SearchResSp"_qs), nullptr);
    EXPECT_NE(window->findChild<QWidget*>(u"SearchResP"_qs), nullptr);
    EXPECT_NE(window->findChild<QProgressBar*>(u"SearchProgress"_qs), nullptr);
    EXPECT_NE(window->findChild<QComboBox*>(u"SearchResCoB"_qs), nullptr);
    EXPECT_NE(window->findChild<QFontComboBox*>(u"FontCoB"_qs), nullptr);
    EXPECT_NE(window->findChild<TexColorPicker*>(u"ColorCB"_qs), nullptr);
    EXPECT_NE(window->findChild<TexColorPicker*>(u"BGColorCB"_qs), nullptr);
    EXPECT_NE(window->findChild<QComboBox*>(u"StylesCoB"_qs), nullptr);

    auto* resultLbl = window->findChild<QLabel*>(u"ResultLbl"_qs);
    ASSERT_NE(resultLbl, nullptr);
    EXPECT_EQ(resultLbl->text(), u"Suchergebnis:"_qs);
    auto* found = window->findChild<QLabel*>(u"FoundLbl"_qs);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->text(), u"0 Elemente"_qs);
    auto* list = window->findChild<QTreeView*>(u"ResultLV"_qs);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->model()->columnCount(), 2);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), u"Seite"_qs);
    EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(), u"Ordner"_qs);
    EXPECT_EQ(list->statusTip(),
              u"Mit einem Doppelklick wird die Seite bzw. der Ordner angezeigt"_qs);
    auto* stop = window->findChild<QPushButton*>(u"StopBtn"_qs);
    ASSERT_NE(stop, nullptr);
    EXPECT_EQ(stop->text(), u"Anhalten"_qs);
    EXPECT_EQ(stop->toolTip(), u"Suche anhalten"_qs);
    auto* newSearch = window->findChild<QPushButton*>(u"NewSearchBtn"_qs);
    ASSERT_NE(newSearch, nullptr);
    EXPECT_EQ(newSearch->text(), u"Neue Suche"_qs);
    auto* fullPath = window->findChild<QCheckBox*>(u"ShowFullPathCB"_qs);
    ASSERT_NE(fullPath, nullptr);
    EXPECT_EQ(fullPath->text(), u"Vollständiger Pfad"_qs);
    auto* history = window->findChild<QTreeView*>(u"HistoryLV"_qs);
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->isHidden());
    EXPECT_EQ(history->model()->headerData(0, Qt::Horizontal).toString(), u"Seite"_qs);

    QStatusBar* bar = window->statusBar();
    EXPECT_EQ(bar->objectName(), u"StatusBar"_qs);
    for (int i = 0; i < 5; ++i) {
        window->SetStatusPanelText(i, u"p%1"_qs.arg(i));
        EXPECT_EQ(window->StatusPanelText(i), u"p%1"_qs.arg(i));
    }
}

TEST_F(MainWindowLayout, StatusPanelsShareTheWidthInTwentieths)
{
    window->resize(1000, 600);
    window->show();
    window->SetStatusPanelText(0, QString(400, u'x'));
    QApplication::processEvents();
    static constexpr int kShares[5] = {8, 3, 3, 2, 4};
    int total = 0;
    for (int i = 0; i < 5; ++i)
        total += window->findChild<QLabel*>(u"StatusPanel%1"_qs.arg(i))->width();
    ASSERT_GT(total, 800);
    for (int i = 0; i < 5; ++i) {
        const int w = window->findChild<QLabel*>(u"StatusPanel%1"_qs.arg(i))->width();
        EXPECT_NEAR(w, total * kShares[i] / 20, 3) << i;
    }
    EXPECT_LE(window->width(), 1000) << "a long text does not widen the window";
    window->SetStatusPanelText(0, QString());
}

// A hint with an empty short part gives no tooltip, only the status-bar text.
TEST_F(MainWindowLayout, HintsWithoutTooltip)
{
    const struct
    {
        const char16_t* control;
        const char16_t* status;
    } kHints[] = {
        {u"HistoryLV", u"Mit einem Doppelklick wird die Seite bzw. der Ordner angezeigt"},
        {u"ShowFullPathCB", u"Vollständigen Ordnerpfad anzeigen"},
    };
    for (const auto& h : kHints) {
        auto* w = window->findChild<QWidget*>(QString::fromUtf16(h.control));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->toolTip().isEmpty()) << w->toolTip().toStdString();
        EXPECT_EQ(w->statusTip(), QString::fromUtf16(h.status));
    }
    auto* zoom = window->findChild<QComboBox*>(u"ZoomCoB"_qs);
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->toolTip(), u"Zoom"_qs);
    EXPECT_EQ(zoom->statusTip(), u"Ansicht vergrößern oder verkleinern"_qs);
    EXPECT_EQ(window->findChild<QWidget*>(u"FontCoB"_qs)->toolTip(), u"Schriftart"_qs);
    EXPECT_EQ(window->findChild<QWidget*>(u"SizeCoB"_qs)->toolTip(), u"Schriftgrad"_qs);
    EXPECT_EQ(window->findChild<QWidget*>(u"StylesTB"_qs)->statusTip(),
              window->findChild<QWidget*>(u"StylesCoB"_qs)->statusTip());
    EXPECT_EQ(window->findChild<QAction*>(u"ColorCBCustomMI"_qs)->text(),
              u"Benutzerdefiniert..."_qs);
}

TEST(ButtonMode, SelectedNodeDecidesElseTheCurrentPage)
{
    const struct
    {
        KvNodeKind node;
        bool hasCurrentPage;
        KvButtonMode mode;
    } kCases[] = {
        {KvNodeKind::Folder, false, KvButtonMode::Folder},
        // A tab click changes the current page but not the tree selection: the folder stays.
        {KvNodeKind::Folder, true, KvButtonMode::Folder},
        {KvNodeKind::Page, false, KvButtonMode::Page},
        {KvNodeKind::Page, true, KvButtonMode::Page},
        {KvNodeKind::None, true, KvButtonMode::Page},
        // Nothing selected and no current page: the buttons act on the folder.
        {KvNodeKind::None, false, KvButtonMode::Folder},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(ButtonModeFor(c.node, c.hasCurrentPage), c.mode)
            << int(c.node) << " " << c.hasCurrentPage;
}

TEST(ButtonMode, ActionsOfTheButtons)
{
    const struct
    {
        const char16_t* button;
        const char16_t* page;
        const char16_t* folder;
    } kRows[] = {
        {u"RenameTB", u"RenamePageA", u"RenameFolderA"},
        {u"DeleteTB", u"DeletePageA", u"DeleteFolderA"},
        {u"MoveUpTB", u"PageMoveUpA", u"FolderMoveUpA"},
        {u"MoveDownTB", u"PageMoveDownA", u"FolderMoveDownA"},
    };
    for (const auto& r : kRows) {
        const QString b = QString::fromUtf16(r.button);
        EXPECT_EQ(ButtonAction(b, KvButtonMode::Page), QString::fromUtf16(r.page));
        EXPECT_EQ(ButtonAction(b, KvButtonMode::Folder), QString::fromUtf16(r.folder));
    }
    EXPECT_TRUE(ButtonAction(u"PrintTB"_qs, KvButtonMode::Page).isEmpty());
}

TEST_F(MainWindowLayout, ButtonsFollowTheTreeSelection)
{
    auto* tree = window->findChild<TexTreeView*>(u"FolderTv"_qs);
    ASSERT_NE(tree, nullptr);
    auto* folder = new QTreeWidgetItem(tree, {u"Ordner"_qs});
    TexTreeView::SetNodeKind(folder, KvNodeKind::Folder);
    auto* page = new QTreeWidgetItem(folder, {u"Seite"_qs});
    TexTreeView::SetNodeKind(page, KvNodeKind::Page);
    auto button = [](const char16_t* name) {
        return window->findChild<QToolButton*>(QString::fromUtf16(name))->defaultAction();
    };

    tree->setCurrentItem(page);
    EXPECT_EQ(button(u"RenameTB"), window->Action(u"RenamePageA"_qs));
    EXPECT_EQ(button(u"DeleteTB"), window->Action(u"DeletePageA"_qs));
    EXPECT_EQ(button(u"MoveUpTB"), window->Action(u"PageMoveUpA"_qs));
    EXPECT_EQ(button(u"MoveDownTB"), window->Action(u"PageMoveDownA"_qs));

    tree->setCurrentItem(folder);
    EXPECT_EQ(button(u"RenameTB"), window->Action(u"RenameFolderA"_qs));
    EXPECT_EQ(button(u"MoveDownTB"), window->Action(u"FolderMoveDownA"_qs));

    tree->setCurrentItem(page);
    tree->clearSelection();
    window->UpdateCommandStates();
    EXPECT_EQ(button(u"DeleteTB"), window->Action(u"DeleteFolderA"_qs));
    // The button shows its command's image and hint.
    auto* rename = window->findChild<QToolButton*>(u"RenameTB"_qs);
    EXPECT_EQ(rename->toolTip(), u"Ordner umbenennen"_qs);
    EXPECT_FALSE(rename->icon().isNull());
    tree->clear();
}

TEST_F(MainWindowLayout, CommandsWaitingForTheirFeatureStayDisabled)
{
    window->UpdateCommandStates();
    for (const char16_t* name : {u"PagePropsA", u"CutA", u"PrintPageA", u"AboutA"})
        EXPECT_FALSE(window->Action(QString::fromUtf16(name))->isEnabled())
            << QString::fromUtf16(name).toStdString();
    for (const char16_t* name : {u"ExitMI", u"NewWindowMI", u"NavTreeMI", u"SearchResMI",
                                 u"PrintWithHeaderMI", u"CloseFromTrayPMI"})
        EXPECT_TRUE(window->Action(QString::fromUtf16(name))->isEnabled())
            << QString::fromUtf16(name).toStdString();
    EXPECT_FALSE(window->Commands().Handlers().isEmpty());
    // Handlers whose commands wait for their feature say so.
    KvActionRegistry& commands = const_cast<KvActionRegistry&>(window->Commands());
    EXPECT_FALSE(commands.EnableCommands(KvCommandContext{}));
}

TEST_F(MainWindowLayout, CollapsedTreeComesBackWithItsItem)
{
    window->resize(800, 600);
    window->show();
    auto* sp = window->findChild<QSplitter*>(u"FldrPageSp"_qs);
    auto* tree = window->findChild<QWidget*>(u"FolderTv"_qs);
    QAction* item = window->Action(u"NavTreeMI"_qs);
    sp->setSizes({0, 800});
    Q_EMIT sp->splitterMoved(0, 1);
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(tree->isVisible());
    item->trigger();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(tree->isVisible());
    EXPECT_GT(sp->sizes().value(0), 0);
}

TEST_F(MainWindowLayout, ViewItemsShowAndHideTheirParts)
{
    window->show();
    const struct
    {
        const char16_t* item;
        const char16_t* part;
    } kParts[] = {
        {u"NavTreeMI", u"FolderTv"},
        {u"MainBarMI", u"MainToolbar"},
        {u"EditBarMI", u"EditToolbar"},
        {u"FontAndColorBarMI", u"FontAndColorToolbar"},
        {u"TextAttrBarMI", u"TextAttrToolbar"},
        {u"StylesBarMI", u"StylesToolbar"},
        {u"StatusBarMI", u"StatusBar"},
        {u"SearchResMI", u"SearchResP"},
    };
    for (const auto& p : kParts) {
        SCOPED_TRACE(QString::fromUtf16(p.item).toStdString());
        QAction* item = window->Action(QString::fromUtf16(p.item));
        auto* part = window->findChild<QWidget*>(QString::fromUtf16(p.part));
        ASSERT_NE(part, nullptr);
        EXPECT_TRUE(item->isChecked());
        EXPECT_TRUE(part->isVisible());
        item->trigger();
        EXPECT_FALSE(item->isChecked());
        EXPECT_FALSE(part->isVisible());
        item->trigger();
        EXPECT_TRUE(item->isChecked());
        EXPECT_TRUE(part->isVisible());
    }
    // Hiding a toolbar by itself (its close button) clears the check mark.
    auto* bar = window->findChild<QToolBar*>(u"EditToolbar"_qs);
    bar->hide();
    EXPECT_FALSE(window->Action(u"EditBarMI"_qs)->isChecked());
    window->Action(u"EditBarMI"_qs)->trigger();
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(MainWindowLayout, ZoomItemsAndZoomBox)
{
    auto* zoom = window->findChild<QComboBox*>(u"ZoomCoB"_qs);
    ASSERT_NE(zoom, nullptr);
    ASSERT_EQ(zoom->count(), 9);
    EXPECT_EQ(zoom->itemText(0), u"200%"_qs);
    EXPECT_EQ(zoom->itemText(8), u"50%"_qs);
    EXPECT_EQ(zoom->currentText(), u"100%"_qs);
    EXPECT_TRUE(window->Action(u"Zoom100MI"_qs)->isChecked());
    // Without a shown page there is nothing to zoom.
    window->UpdateCommandStates();
    EXPECT_FALSE(window->Action(u"Zoom150MI"_qs)->isEnabled());
    EXPECT_FALSE(zoom->isEnabled());

    KvViewCommands* view = window->Commands().Handler<KvViewCommands>();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->SelectZoom(u"150%"_qs));
    EXPECT_EQ(zoom->currentText(), u"150%"_qs);
    EXPECT_TRUE(window->Action(u"Zoom150MI"_qs)->isChecked());
    EXPECT_FALSE(window->Action(u"Zoom100MI"_qs)->isChecked());
    view->SelectZoom(u"100%"_qs);

    // A zoom of its own goes to the user-defined item, which shows up with its separator;
    // the box gains it as its last entry, replaced by the next zoom of its own.
    QMenu* zoomMenu = menu(u"ZoomMI"_qs);
    QAction* userdef = window->Action(u"ZoomUserdefMI"_qs);
    const qsizetype at = zoomMenu->actions().indexOf(userdef);
    ASSERT_GT(at, 0);
    QAction* userdefSep = zoomMenu->actions()[at - 1];
    EXPECT_FALSE(userdef->isVisible());
    EXPECT_FALSE(userdefSep->isVisible());
    EXPECT_TRUE(view->SelectZoom(u"130"_qs));
    EXPECT_TRUE(userdef->isVisible());
    EXPECT_TRUE(userdefSep->isVisible());
    EXPECT_EQ(userdef->text(), u"130%"_qs);
    EXPECT_TRUE(userdef->isChecked());
    EXPECT_FALSE(window->Action(u"Zoom100MI"_qs)->isChecked());
    EXPECT_EQ(zoom->currentText(), u"130%"_qs);
    EXPECT_EQ(zoom->count(), 10);
    EXPECT_TRUE(view->SelectZoom(u"140"_qs));
    EXPECT_EQ(zoom->count(), 10);
    EXPECT_EQ(zoom->itemText(9), u"140%"_qs);

    const struct
    {
        const char16_t* text;
        bool accepted;
    } kTexts[] = {{u"4%", false}, {u"1001", false}, {u"abc", false},  {u"", false},
                  {u"-5", false}, {u"5", true},     {u"1000%", true}, {u" 75% ", true}};
    for (const auto& t : kTexts)
        EXPECT_EQ(view->SelectZoom(QString::fromUtf16(t.text)), t.accepted)
            << QString::fromUtf16(t.text).toStdString();
    EXPECT_TRUE(window->Action(u"Zoom75MI"_qs)->isChecked());
    EXPECT_FALSE(userdef->isChecked());
    EXPECT_TRUE(view->SelectZoom(u"100%"_qs));
    EXPECT_TRUE(window->Action(u"Zoom100MI"_qs)->isChecked());
}

TEST_F(MainWindowLayout, ToolbarButtonsShowImages)
{
    for (const char16_t* name : {u"MainToolbar", u"EditToolbar", u"FontAndColorToolbar",
                                 u"TextAttrToolbar", u"StylesToolbar"}) {
        QToolBar* bar = toolbar(QString::fromUtf16(name));
        ASSERT_NE(bar, nullptr);
        for (QAction* a : bar->actions()) {
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            if (!button)
                continue;
            const QIcon icon =
                button->defaultAction() ? button->defaultAction()->icon() : button->icon();
            EXPECT_FALSE(icon.isNull()) << button->objectName().toStdString();
        }
    }
}

TEST(MenuImages, EveryImageNameHasAnImageOfOurOwn)
{
    ASSERT_EQ(KvMenuImages::Names().size(), 48);
    EXPECT_EQ(KvMenuImages::Names().first(), u"NEWPAGE"_qs);
    EXPECT_EQ(KvMenuImages::Names().last(), u"COPYFOLDER"_qs);
    for (const QString& name : KvMenuImages::Names()) {
        const QIcon icon = KvMenuImages::OwnIcon(name);
        EXPECT_FALSE(icon.isNull()) << name.toStdString();
        EXPECT_FALSE(icon.pixmap(16, 16).toImage().isNull());
    }
    EXPECT_TRUE(KvMenuImages::OwnIcon(u"NOSUCHIMAGE"_qs).isNull());
}

class MainWindowExit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
    }
    void TearDown() override
    {
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
    }
    korvtest::SandboxEnv env;
    KvScriptedPrompter prompter;
};

TEST_F(MainWindowExit, ExitItemClosesTheWindowThroughTheExitSequence)
{
    TMainF w({});
    w.show();
    ASSERT_TRUE(w.isVisible());
    w.Action(u"ExitMI"_qs)->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.ExitSequenceRuns(), 1);
    EXPECT_FALSE(prompter.Unexpected());
}

} // namespace
