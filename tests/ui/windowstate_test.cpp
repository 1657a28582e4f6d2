// Window and toolbar state: the keys of section "MainF", the fitting of geometry to the
// screens, the first start, the history box, the shortcut guard and the toolbar arrangement.
#include "app/kvformres.h"
#include "app/kvlockdirectory.h"
#include "app/kvmainformsettings.h"
#include "app/kvpaths.h"
#include "app/kvscreenlayout.h"
#include "app/kvscriptedprompter.h"
#include "app/kvtoolbararrange.h"
#include "model/kvdircontext.h"
#include "model/kvnotebookgenerator.h"
#include "platform/kvexception.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"
#include "store/texprofilefile.h"
#include "support/testenv.h"
#include "ui/kvrestore.h"
#include "ui/kvtoolbarstate.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/shortcutstopper.h"
#include "ui/texcombobox.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolBar>
#include <QTreeWidgetItemIterator>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QRect& r, std::ostream* os)
{
    *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << "x" << r.height() << ")";
}
QT_END_NAMESPACE

namespace {

using korvtest::WaitUntil;

TEST(FitToScreen, MovesAndShrinksAsTheRulesSay)
{
    const KvScreenLayout one = KvScreenLayout::Single(QSize(1400, 900));
    // Two monitors side by side; the primary one on the left.
    KvScreenLayout two{QRect(0, 0, 3320, 1080),
                       QRect(0, 0, 1920, 1080),
                       QRect(0, 0, 1920, 1050),
                       {QRect(0, 0, 1920, 1050), QRect(1920, 0, 1400, 900)}};
    const struct
    {
        const char* what;
        const KvScreenLayout& screens;
        QRect in;
        bool shrink;
        QRect out;
    } kCases[] = {
        {"inside stays", one, QRect(10, 10, 800, 600), true, QRect(10, 10, 800, 600)},
        {"too low is centred vertically", one, QRect(10, 500, 800, 600), true,
         QRect(10, 150, 800, 600)},
        {"negative left is centred", one, QRect(-50, 10, 800, 600), true, QRect(300, 10, 800, 600)},
        {"too large shrinks", one, QRect(0, 0, 2000, 1200), true, QRect(0, 0, 1400, 900)},
        {"too large dialog only moves", one, QRect(0, 0, 2000, 1200), false,
         QRect(0, 0, 2000, 1200)},
        {"on the second monitor stays", two, QRect(2000, 100, 800, 600), true,
         QRect(2000, 100, 800, 600)},
        {"monitor gone: back on the primary", one, QRect(2500, 100, 800, 600), true,
         QRect(300, 150, 800, 600)},
        {"far above every screen: primary", two, QRect(100, -3000, 800, 600), true,
         QRect(560, 225, 800, 600)},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(KvFormRes::FitToScreen(c.in, c.screens, c.shrink), c.out) << c.what;
}

TEST(MainFormSettings, DefaultsLimitsAndKeysNeverWritten)
{
    korvtest::SandboxEnv env;
    TexProfileFile file(env.Root() + u"settings.stg");
    KvMainFormSettings read = KvMainFormSettings::Read(file);
    EXPECT_EQ(read, KvMainFormSettings{});
    EXPECT_EQ(read.toolbars[1], (KvToolbarPlacement{u"TopDock"_qs, 0, 536, QRect(100, 100, 0, 0)}));
    EXPECT_EQ(read.toolbars[4].pos, 618);
    EXPECT_EQ(read.color, 0x1FFFFFFF);
    EXPECT_EQ(read.bgColor, 0x0000FFFF);

    file.WriteInteger(u"MainF"_qs, u"SearchResHeight"_qs, 50);
    file.WriteInteger(u"MainF"_qs, u"ResLVColWidth"_qs, 3);
    file.WriteInteger(u"MainF"_qs, u"HistoryElements"_qs, 12);
    read = KvMainFormSettings::Read(file);
    EXPECT_EQ(read.searchResHeight, 100);
    EXPECT_EQ(read.resLVColWidth, 10);
    EXPECT_EQ(read.historyLimit, 12) << "HistoryElements stands in for a missing HistoryLimit";
    file.WriteInteger(u"MainF"_qs, u"HistoryLimit"_qs, 40);
    EXPECT_EQ(KvMainFormSettings::Read(file).historyLimit, 40);

    TexProfileFile out(env.Root() + u"out.stg");
    read.Write(out);
    EXPECT_FALSE(out.ValueExists(u"MainF"_qs, u"HistoryElements"_qs));
    EXPECT_FALSE(out.ValueExists(u"MainF"_qs, u"HistoryLimit"_qs));
    EXPECT_EQ(out.ReadString(u"MainF"_qs, u"Color"_qs, {}), u"clNone"_qs);
    EXPECT_EQ(out.ReadString(u"MainF"_qs, u"EditToolbarDockedTo"_qs, {}), u"TopDock"_qs);
}

TEST(ArrangeToolbars, NoneSticksOutAndRowsFillUp)
{
    using Bars = std::vector<KvDockedBar>;
    const struct
    {
        const char* what;
        Bars in;
        int length;
        Bars out;
        bool changed;
    } kCases[] = {
        {"fits: nothing moves",
         {{0, 0, 300}, {0, 300, 200}},
         1000,
         {{0, 0, 300}, {0, 300, 200}},
         false},
        {"sticks out: next row",
         {{0, 0, 600}, {0, 600, 500}},
         1000,
         {{0, 0, 600}, {1, 0, 500}},
         true},
        {"first of a row never moves down", {{0, 0, 1200}}, 1000, {{0, 0, 1200}}, false},
        {"room in the row before: moves up",
         {{0, 0, 300}, {1, 0, 200}, {1, 200, 600}},
         1000,
         {{0, 0, 300}, {0, 300, 200}, {1, 0, 600}},
         true},
        {"exactly full does not count as room",
         {{0, 0, 500}, {1, 0, 500}},
         1000,
         {{0, 0, 500}, {1, 0, 500}},
         false},
        {"pushed down before the next row's toolbars",
         {{0, 0, 600}, {0, 600, 500}, {1, 0, 700}},
         1000,
         {{0, 0, 600}, {1, 0, 500}, {2, 0, 700}},
         true},
    };
    for (const auto& c : kCases) {
        Bars bars = c.in;
        EXPECT_EQ(KvArrangeToolbars(bars, c.length), c.changed) << c.what;
        EXPECT_EQ(bars, c.out) << c.what;
    }
}

TEST(TexComboBox, HistoryKeepsTheNewestFirstWithoutCaseDuplicates)
{
    korvtest::SandboxEnv env;
    TexComboBox box;
    for (const char16_t* text : {u"C:\\a\\", u"C:\\b\\", u"c:\\A\\"}) {
        box.setEditText(QString::fromUtf16(text));
        box.AddToHistory();
    }
    ASSERT_EQ(box.count(), 2);
    EXPECT_EQ(box.itemText(0), u"c:\\A\\"_qs);
    EXPECT_EQ(box.itemText(1), u"C:\\b\\"_qs);
    box.setEditText(QString());
    box.AddToHistory();
    EXPECT_EQ(box.count(), 2) << "an empty box adds nothing";

    EXPECT_THROW(box.SaveHistory(), KvException);
    box.SetIniFile(env.Root() + u"korvnote.stg");
    try {
        box.RestoreHistory();
        FAIL() << "no section";
    } catch (const KvException& e) {
        EXPECT_EQ(e.Message(), u"TexComboBox->SaveHistory: no section for inifile specified"_qs);
    }
    box.SetIniSection(u"OptionsGF"_qs);
    box.setEditText(u"C:\\b\\"_qs);
    box.SaveHistory();
    TexComboBox again;
    again.SetIniFile(box.IniFile());
    again.SetIniSection(u"OptionsGF"_qs);
    again.RestoreHistory();
    ASSERT_EQ(again.count(), 2);
    EXPECT_EQ(again.itemText(0), u"c:\\A\\"_qs);
    EXPECT_EQ(again.currentText(), u"C:\\b\\"_qs);

    again.DeleteFromHistory(u"C:\\b\\"_qs);
    EXPECT_EQ(again.count(), 1);
    EXPECT_TRUE(again.currentText().isEmpty());
    again.setCurrentIndex(0);
    again.DeleteFromHistory();
    EXPECT_EQ(again.count(), 0);
}

TEST(ShortCutStopper, AnotherWindowOfTheProgramTakesTheKeys)
{
    QWidget main;
    auto* a = new QAction(&main);
    a->setShortcuts({QKeySequence(u"Ctrl+N"_qs), QKeySequence(u"F2"_qs)});
    auto* none = new QAction(&main);
    ShortCutStopper guard(&main, {a, none});
    main.show();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    guard.Update();
    EXPECT_TRUE(guard.Installed());

    QDialog dialog;
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    ASSERT_TRUE(WaitUntil([&] { return !guard.Installed(); }));
    EXPECT_TRUE(a->shortcuts().isEmpty());

    dialog.hide();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    ASSERT_TRUE(WaitUntil([&] { return guard.Installed(); }));
    EXPECT_EQ(a->shortcuts().size(), 2);
    EXPECT_TRUE(none->shortcuts().isEmpty());
}

// A window on a data directory, with a screen of a chosen size.
class WindowState : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
        dir = env.Dir(u"notes"_qs);
        KvScreenLayout::SetOverride(KvScreenLayout::Single(QSize(1920, 1080)));
    }
    void TearDown() override
    {
        window.reset();
        KvScreenLayout::SetOverride(std::nullopt);
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
        KvLockDirectory::SetProcessCheck({});
        KvDirStores::Close();
    }

    TMainF& Open(const QStringList& extra = {})
    {
        window.reset();
        window = std::make_unique<TMainF>(QStringList{u"/d"_qs, dir} + extra);
        window->show();
        EXPECT_TRUE(WaitUntil([this] { return window->IdlePasses() > 0; }));
        return *window;
    }
    void Close()
    {
        window->close();
        window.reset();
    }
    QString Settings() const { return KvPaths::SettingsFile(); }
    QSplitter* TreeSplitter() const { return window->findChild<QSplitter*>(u"FldrPageSp"_qs); }
    int TreeWidth() const { return TreeSplitter()->sizes().value(0); }

    korvtest::SandboxEnv env;
    KvScriptedPrompter prompter;
    QString dir;
    std::unique_ptr<TMainF> window;
};

// Every key of section "MainF" survives a restart.
TEST_F(WindowState, EveryKeyOfMainFSurvivesARestart)
{
    const struct
    {
        const char16_t* key;
        const char16_t* value;
    } kKeys[] = {
        {u"Top", u"40"},
        {u"Left", u"60"},
        {u"Width", u"1500"},
        {u"Height", u"900"},
        {u"PrintWithHeader", u"1"},
        {u"ExportWithHeader", u"1"},
        {u"TreeWidth", u"333"},
        {u"ShowNavigationTree", u"1"},
        {u"SearchResHeight", u"180"},
        {u"ShowSearchRes", u"1"},
        {u"ShowFullPath", u"0"},
        {u"ShowStatusBar", u"0"},
        {u"ShowMainToolbar", u"1"},
        {u"ShowEditToolbar", u"1"},
        {u"ShowFontAndColorToolbar", u"0"},
        {u"ShowTextAttrToolbar", u"1"},
        {u"ShowStylesToolbar", u"1"},
        {u"MainToolbarDockedTo", u"TopDock"},
        {u"MainToolbarDockRow", u"0"},
        {u"MainToolbarDockPos", u"0"},
        {u"EditToolbarDockedTo", u"0"},
        {u"EditToolbarDockRow", u"0"},
        {u"EditToolbarDockPos", u"536"},
        {u"EditToolbarTop", u"300"},
        {u"EditToolbarLeft", u"500"},
        {u"EditToolbarHeight", u"40"},
        {u"EditToolbarWidth", u"260"},
        {u"FontAndColorToolbarDockedTo", u"BottomDock"},
        {u"FontAndColorToolbarDockRow", u"0"},
        {u"FontAndColorToolbarDockPos", u"0"},
        {u"TextAttrToolbarDockedTo", u"TopDock"},
        {u"TextAttrToolbarDockRow", u"1"},
        {u"TextAttrToolbarDockPos", u"0"},
        {u"StylesToolbarDockedTo", u"LeftDock"},
        {u"StylesToolbarDockRow", u"0"},
        {u"StylesToolbarDockPos", u"0"},
        {u"Zoom", u"130"},
        {u"Color", u"clRed"},
        {u"BGColor", u"clAqua"},
        {u"CurrStyle", u"2"},
        {u"ResLVColWidth", u"210"},
        {u"HistoryElements", u"25"},
        {u"HistoryLimit", u"45"},
    };
    {
        TexProfileFile s(Settings());
        for (const auto& k : kKeys)
            s.WriteString(u"MainF"_qs, QString::fromUtf16(k.key), QString::fromUtf16(k.value));
        // The options must not move the toolbars about on their own here.
        s.WriteBool(u"Globals"_qs, u"AutoAdjustToolbars"_qs, false);
        s.UpdateFile();
    }
    TMainF& w = Open();
    // The restored state is on the screen.
    EXPECT_EQ(w.size(), QSize(1500, 900));
    EXPECT_EQ(w.pos(), QPoint(60, 40));
    ASSERT_TRUE(WaitUntil([this] { return TreeWidth() == 333; })) << TreeWidth();
    EXPECT_TRUE(w.Action(u"PrintWithHeaderMI"_qs)->isChecked());
    EXPECT_TRUE(w.findChild<QToolBar*>(u"EditToolbar"_qs)->isFloating());
    EXPECT_EQ(w.toolBarArea(w.findChild<QToolBar*>(u"StylesToolbar"_qs)), Qt::LeftToolBarArea);
    EXPECT_EQ(w.toolBarArea(w.findChild<QToolBar*>(u"FontAndColorToolbar"_qs)),
              Qt::BottomToolBarArea);
    EXPECT_TRUE(w.findChild<QToolBar*>(u"FontAndColorToolbar"_qs)->isHidden());
    EXPECT_TRUE(w.Action(u"ZoomUserdefMI"_qs)->isChecked());
    EXPECT_EQ(w.Action(u"ZoomUserdefMI"_qs)->text(), u"130%"_qs);
    EXPECT_EQ(w.WindowState().HistoryLimit(), 45);
    Close();

    const TexProfileFile after(Settings());
    for (const auto& k : kKeys) {
        const QString key = QString::fromUtf16(k.key);
        EXPECT_EQ(after.ReadString(u"MainF"_qs, key, u"(missing)"_qs), QString::fromUtf16(k.value))
            << key.toStdString();
    }
}

TEST_F(WindowState, MaximizedWindowKeepsTheGeometryFromBefore)
{
    {
        TexProfileFile s(Settings());
        s.WriteInteger(u"MainF"_qs, u"Top"_qs, 30);
        s.WriteInteger(u"MainF"_qs, u"Left"_qs, 40);
        s.WriteInteger(u"MainF"_qs, u"Width"_qs, 900);
        s.WriteInteger(u"MainF"_qs, u"Height"_qs, 700);
        s.UpdateFile();
    }
    Open().showMaximized();
    ASSERT_TRUE(WaitUntil([this] { return window->isMaximized(); }));
    Close();
    const TexProfileFile after(Settings());
    EXPECT_EQ(after.ReadInteger(u"MainF"_qs, u"Top"_qs, 0), 30);
    EXPECT_EQ(after.ReadInteger(u"MainF"_qs, u"Left"_qs, 0), 40);
    EXPECT_EQ(after.ReadInteger(u"MainF"_qs, u"Width"_qs, 0), 900);
    EXPECT_EQ(after.ReadInteger(u"MainF"_qs, u"Height"_qs, 0), 700);
}

TEST_F(WindowState, SecondWindowIsOffsetAndGeometryOffEveryScreenComesBack)
{
    {
        TexProfileFile s(Settings());
        s.WriteInteger(u"MainF"_qs, u"Top"_qs, 30);
        s.WriteInteger(u"MainF"_qs, u"Left"_qs, 40);
        s.WriteInteger(u"MainF"_qs, u"Width"_qs, 900);
        s.WriteInteger(u"MainF"_qs, u"Height"_qs, 700);
        s.UpdateFile();
    }
    window = std::make_unique<TMainF>(QStringList{u"/new_window"_qs});
    EXPECT_EQ(window->pos(), QPoint(60, 50));
    EXPECT_EQ(window->size(), QSize(880, 680));
    {
        const TexProfileFile s(Settings());
        EXPECT_EQ(s.ReadInteger(u"MainF"_qs, u"Left"_qs, 0), 40) << "restoring changes nothing";
        EXPECT_EQ(s.ReadInteger(u"MainF"_qs, u"Width"_qs, 0), 900);
    }
    window.reset();

    // The monitor that held the window is gone: it comes back on the primary screen.
    {
        TexProfileFile s(Settings());
        s.WriteInteger(u"MainF"_qs, u"Top"_qs, 30);
        s.WriteInteger(u"MainF"_qs, u"Left"_qs, 2500);
        s.WriteInteger(u"MainF"_qs, u"Width"_qs, 900);
        s.WriteInteger(u"MainF"_qs, u"Height"_qs, 700);
        s.UpdateFile();
    }
    KvScreenLayout::SetOverride(KvScreenLayout::Single(QSize(1400, 900)));
    window = std::make_unique<TMainF>(QStringList{u"/d"_qs, dir});
    EXPECT_EQ(QRect(window->pos(), window->size()), QRect(250, 100, 900, 700));
}

// A new user at 1400x900 or 1920x1080: most of the screen, centred, a tree that shows names.
TEST_F(WindowState, FirstStartTakesMostOfTheScreenWithAReadableTree)
{
    KvGeneratorOptions o;
    o.seed = 3;
    o.elements = 120;
    KvNotebookGenerator::Generate(dir, o);
    const struct
    {
        QSize screen;
        QRect window;
    } kScreens[] = {
        {QSize(1400, 900), QRect(140, 90, 1120, 720)},
        {QSize(1920, 1080), QRect(192, 108, 1536, 864)},
    };
    for (const auto& c : kScreens) {
        SCOPED_TRACE(c.screen.width());
        QFile::remove(Settings());
        KvScreenLayout::SetOverride(KvScreenLayout::Single(c.screen));
        TMainF& w = Open();
        EXPECT_EQ(QRect(w.pos(), w.size()), c.window);
        ASSERT_TRUE(WaitUntil([&] { return std::abs(TreeWidth() - c.window.width() / 4) <= 2; }))
            << TreeWidth();
        // A name of 24 characters three levels down is seen whole without scrolling.
        auto* tree = w.findChild<TexTreeView*>(u"FolderTv"_qs);
        const QString name(24, u'n');
        const int indent = tree->indentation() * 3 + tree->iconSize().width() + 8;
        EXPECT_LE(indent + tree->fontMetrics().horizontalAdvance(name), tree->viewport()->width());
        // No name is ever cut: deeper and longer ones make the tree scroll sideways.
        tree->expandAll();
        QApplication::processEvents();
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            const QRect cell = tree->visualItemRect(*it);
            EXPECT_GE(cell.width(), tree->fontMetrics().horizontalAdvance((*it)->text(0)) +
                                        tree->iconSize().width())
                << (*it)->text(0).toStdString();
        }
        Close();
    }
}

// Whatever the tab mode, 300 tabs never widen the page area: the tree keeps its width,
// also after a restart, and a tree shown again comes back at its width.
TEST_F(WindowState, ThreeHundredPagesInEachTabModeKeepTheTree)
{
    KvGeneratorOptions o;
    o.seed = 7;
    o.elements = 300;
    o.flat = true;
    o.folderPercent = 0;
    o.trashPercent = 0;
    o.referrerPercent = 0;
    o.protectedPercent = 0;
    KvNotebookGenerator::Generate(dir, o);
    KvScreenLayout::SetOverride(KvScreenLayout::Single(QSize(1400, 900)));
    for (int mode : {1, 2, 3}) {
        SCOPED_TRACE(mode);
        TMainF& w = Open();
        ASSERT_TRUE(WaitUntil([&] { return TreeWidth() > 0; }));
        TreeSplitter()->setSizes({260, TreeSplitter()->width() - 260});
        Q_EMIT TreeSplitter()->splitterMoved(260, 1);
        KvDirContext::FldrStore().WriteInteger(u"TopFolder"_qs, u"PagesMultiLine"_qs, mode);
        w.SelectObjectWithID(u"TrashFolder"_qs);
        w.FolderTvChange();
        w.SelectObjectWithID(u"TopFolder"_qs);
        w.FolderTvChange();
        auto* tabs = w.findChild<QTabWidget*>(u"PagePC"_qs);
        ASSERT_TRUE(WaitUntil([&] { return w.ShownFolder() == w.TopFolder(); }));
        if (mode != 3)
            EXPECT_EQ(tabs->count(), 300);
        QApplication::processEvents();
        EXPECT_EQ(TreeWidth(), 260);
        EXPECT_EQ(w.width(), 1120) << "the window is not widened";
        EXPECT_LE(tabs->width(), w.width() - 260);
        Close();
        // After a restart the tree has its width again.
        TMainF& again = Open();
        ASSERT_TRUE(WaitUntil([&] { return TreeWidth() == 260; })) << TreeWidth();
        // Hidden and shown again, the tree comes back at its width.
        again.Action(u"NavTreeMI"_qs)->trigger();
        EXPECT_TRUE(again.findChild<QWidget*>(u"FolderTv"_qs)->isHidden());
        again.Action(u"NavTreeMI"_qs)->trigger();
        EXPECT_EQ(TreeWidth(), 260);
        Close();
    }
}

TEST_F(WindowState, HiddenTreeComesBackAtLeastAHundredPixelsWide)
{
    TMainF& w = Open();
    ASSERT_TRUE(WaitUntil([&] { return TreeWidth() > 0; }));
    TreeSplitter()->setSizes({40, TreeSplitter()->width() - 40});
    Q_EMIT TreeSplitter()->splitterMoved(40, 1);
    w.Action(u"NavTreeMI"_qs)->trigger();
    w.Action(u"NavTreeMI"_qs)->trigger();
    EXPECT_EQ(TreeWidth(), KvRestore::MinTreeWidth);
}

TEST_F(WindowState, FloatingToolbarTornOffAgainFloatsWhereItFloatedBefore)
{
    TMainF& w = Open();
    auto* bar = w.findChild<QToolBar*>(u"TextAttrToolbar"_qs);
    ASSERT_TRUE(KvToolbarState::Apply(
        w, {{u"TextAttrToolbar"_qs, KvToolbarPlacement{u"0"_qs, 0, 0, QRect(400, 300, 300, 40)}}}));
    ASSERT_TRUE(bar->isFloating());
    w.WindowState().ToolbarDockChanged(bar);
    bar->move(420, 330);
    ASSERT_TRUE(WaitUntil([&] {
        return w.WindowState().FloatingGeometry(u"TextAttrToolbar"_qs).topLeft() ==
               QPoint(420, 330);
    }));
    // Docked, then torn off again at the top of the screen.
    ASSERT_TRUE(KvToolbarState::Apply(
        w, {{u"TextAttrToolbar"_qs, KvToolbarPlacement{u"TopDock"_qs, 1, 0, QRect()}}}));
    ASSERT_FALSE(bar->isFloating());
    KvToolbarState::Apply(
        w, {{u"TextAttrToolbar"_qs, KvToolbarPlacement{u"0"_qs, 0, 0, QRect(0, 0, 300, 40)}}});
    w.WindowState().ToolbarDockChanged(bar);
    EXPECT_EQ(bar->pos(), QPoint(420, 330)) << "not at (100, 100)";
}

} // namespace
