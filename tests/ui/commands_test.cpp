// The commands of the main window, triggered through the action registry: each working
// command reaches its handler and does what it says.
#include "app/kvlockdirectory.h"
#include "app/kvpaths.h"
#include "app/kvscriptedprompter.h"
#include "commands/kvactionregistry.h"
#include "commands/kvclipboardwatch.h"
#include "commands/kveditcommands.h"
#include "commands/kvshellcommands.h"
#include "commands/kvtextcommands.h"
#include "commands/kvviewcommands.h"
#include "fakewindowservices.h"
#include "model/kvnotebookgenerator.h"
#include "richtext/texrichedit.h"
#include "store/kvdirstores.h"
#include "support/testenv.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

using korvtest::WaitUntil;

// The handlers reach the window only through its services.
TEST(CommandWiring, ShellAndViewItemsAskTheWindow)
{
    korvtest::FakeWindowServices services;
    QObject owner;
    KvActionRegistry registry;
    registry.CreateHandlers(services, &owner);
    registry.EnableCommands(KvCommandContext{});

    const struct
    {
        const char16_t* action;
        const char16_t* call;
    } kCalls[] = {
        {u"NewWindowMI", u"OpenNewWindow"},          {u"ExitMI", u"CloseWindow"},
        {u"RestoreFromTrayPMI", u"RestoreFromTray"}, {u"CloseFromTrayPMI", u"CloseWindow"},
        {u"SwitchAccessA", u"SwitchAccess"},
    };
    for (const auto& c : kCalls) {
        services.calls.clear();
        registry.Action(QString::fromUtf16(c.action))->trigger();
        EXPECT_EQ(services.calls, QStringList{QString::fromUtf16(c.call)})
            << QString::fromUtf16(c.action).toStdString();
    }

    const struct
    {
        const char16_t* item;
        KvWindowPart part;
    } kParts[] = {
        {u"NavTreeMI", KvWindowPart::NavigationTree},
        {u"MainBarMI", KvWindowPart::MainToolbar},
        {u"EditBarMI", KvWindowPart::EditToolbar},
        {u"FontAndColorBarMI", KvWindowPart::FontAndColorToolbar},
        {u"TextAttrBarMI", KvWindowPart::TextAttrToolbar},
        {u"StylesBarMI", KvWindowPart::StylesToolbar},
        {u"StatusBarMI", KvWindowPart::StatusBar},
        {u"SearchResMI", KvWindowPart::SearchResults},
    };
    for (const auto& p : kParts) {
        services.parts.clear();
        QAction* item = registry.Action(QString::fromUtf16(p.item));
        ASSERT_TRUE(item->isChecked());
        item->trigger();
        item->trigger();
        const QList<QPair<KvWindowPart, bool>> expected = {{p.part, false}, {p.part, true}};
        EXPECT_EQ(services.parts, expected) << QString::fromUtf16(p.item).toStdString();
    }
    // Without a current folder expanding does nothing.
    registry.Action(u"FolderExpandAllA"_qs)->trigger();
    EXPECT_TRUE(services.expandCalls.isEmpty());
}

TEST(CommandWiring, ClipboardKindsFromFormats)
{
    const struct
    {
        QStringList formats;
        bool text, rtf, picture;
    } kCases[] = {
        {{}, false, false, false},
        {{u"text/plain"_qs}, true, false, false},
        {{u"text/rtf"_qs, u"text/plain"_qs}, true, true, false},
        {{u"application/rtf"_qs}, false, true, false},
        {{u"image/png"_qs}, false, false, true},
        {{u"application/x-qt-image"_qs}, false, false, true},
        {{u"application/x-korvelle-elements"_qs}, false, false, false},
    };
    for (const auto& c : kCases) {
        const KvClipboardOffer o = KvClipboardOffer::FromFormats(c.formats);
        EXPECT_EQ(o.text, c.text) << c.formats.join(u',').toStdString();
        EXPECT_EQ(o.rtf, c.rtf) << c.formats.join(u',').toStdString();
        EXPECT_EQ(o.picture, c.picture) << c.formats.join(u',').toStdString();
    }
}

// The enabling rules of the editing commands over the context.
TEST(CommandWiring, EditCommandsFollowTheEditorState)
{
    korvtest::FakeWindowServices services;
    KvEditCommands edit(services);
    auto on = [&](const char16_t* name) {
        return edit.Action(QString::fromUtf16(name))->isEnabled();
    };

    KvCommandContext c;
    edit.EnableCommands(c);
    for (const char16_t* name : {u"UndoA", u"RedoA", u"CutA", u"CopyA", u"PasteA", u"SelectAllA"})
        EXPECT_FALSE(on(name)) << QString::fromUtf16(name).toStdString();

    // A read-only page with a selection: copy and select all only.
    c.pageLoaded = true;
    c.selection = true;
    c.canUndo = c.canRedo = true;
    c.clipboardText = true;
    edit.EnableCommands(c);
    EXPECT_TRUE(on(u"CopyA"));
    EXPECT_TRUE(on(u"SelectAllA"));
    EXPECT_FALSE(on(u"CutA"));
    EXPECT_FALSE(on(u"PasteA"));
    EXPECT_FALSE(on(u"UndoA"));
    EXPECT_FALSE(on(u"RedoA"));

    c.pageEditable = true;
    edit.EnableCommands(c);
    for (const char16_t* name : {u"UndoA", u"RedoA", u"CutA", u"CopyA", u"PasteA", u"SelectAllA"})
        EXPECT_TRUE(on(name)) << QString::fromUtf16(name).toStdString();

    c.selection = false;
    c.canUndo = false;
    c.clipboardText = false;
    c.clipboardRtf = true;
    edit.EnableCommands(c);
    EXPECT_FALSE(on(u"CutA"));
    EXPECT_FALSE(on(u"CopyA"));
    EXPECT_FALSE(on(u"UndoA"));
    EXPECT_TRUE(on(u"RedoA"));
    EXPECT_TRUE(on(u"PasteA")) << "our RTF alone is something to paste";
    EXPECT_TRUE(on(u"SpecialPasteA"));

    // Find needs a shown page; replace, pictures and special paste a page that may change.
    const struct
    {
        bool loaded, editable, clipboard;
        bool search, replace, insert, special;
    } kRules[] = {
        {false, false, true, false, false, false, false},
        {true, false, true, true, false, false, false},
        {true, true, false, true, true, true, false},
        {true, true, true, true, true, true, true},
    };
    for (const auto& r : kRules) {
        KvCommandContext rc;
        rc.pageLoaded = r.loaded;
        rc.pageEditable = r.editable;
        rc.clipboardText = r.clipboard;
        edit.EnableCommands(rc);
        EXPECT_EQ(on(u"SearchA"), r.search);
        EXPECT_EQ(on(u"ReplaceA"), r.replace);
        EXPECT_EQ(on(u"InsertOLEA"), r.insert);
        EXPECT_EQ(on(u"SpecialPasteA"), r.special);
        EXPECT_EQ(on(u"ForceSaveA"), r.editable);
    }
}

// The enabling rules of the formatting commands: a page that may change; background and
// paragraph dialog also a control above version 1.
TEST(CommandWiring, FormatCommandsFollowThePage)
{
    korvtest::FakeWindowServices services;
    KvTextCommands text(services);
    KvShellCommands shell(services);
    const QStringList always = {
        u"FontA"_qs,           u"FormatCopyA"_qs,      u"BoldTextA"_qs,
        u"ItalicTextA"_qs,     u"UnderlineTextA"_qs,   u"StrikeThroughTextA"_qs,
        u"ParaAlignLeftA"_qs,  u"ParaAlignCenterA"_qs, u"ParaAlignRightA"_qs,
        u"ParaIndentLessA"_qs, u"ParaIndentMoreA"_qs,  u"ParaBulletA"_qs,
        u"ChangeFontColorA"_qs};
    const QStringList version2 = {u"ParagraphA"_qs, u"ChangeBGColorA"_qs, u"BGColorResetA"_qs};
    const struct
    {
        bool loaded, editable;
        int version;
    } kContexts[] = {{false, false, 3}, {true, false, 3}, {true, true, 3}, {true, true, 1}};
    for (const auto& k : kContexts) {
        KvCommandContext c;
        c.pageLoaded = k.loaded;
        c.pageEditable = k.editable;
        c.editorVersion = k.version;
        text.EnableCommands(c);
        shell.EnableCommands(c);
        for (const QString& name : always)
            EXPECT_EQ(text.Action(name)->isEnabled(), k.editable) << name.toStdString();
        for (const QString& name : version2)
            EXPECT_EQ(text.Action(name)->isEnabled(), k.editable && k.version > 1)
                << name.toStdString();
        EXPECT_EQ(shell.Action(u"CharmapA"_qs)->isEnabled(), k.loaded);
    }
}

// A window on a small notebook with a writable page shown and focused.
class Commands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
        dir = env.Dir(u"notes"_qs);
        KvGeneratorOptions o;
        o.seed = 11;
        o.elements = 24;
        o.folderPercent = 20;
        o.referrerPercent = 0;
        o.protectedPercent = 0;
        o.trashPercent = 0;
        nb = KvNotebookGenerator::Generate(dir, o);
        window = std::make_unique<TMainF>(QStringList{u"/d"_qs, dir});
        window->resize(1200, 800);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        ASSERT_TRUE(WaitUntil([this] { return window->IdlePasses() > 0; }));
        ShowWritablePage();
    }
    void TearDown() override
    {
        window.reset();
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
        KvLockDirectory::SetProcessCheck({});
        KvDirStores::Close();
    }

    void ShowWritablePage()
    {
        for (const QString& id : nb.pageIds) {
            auto* page = dynamic_cast<KvTVPage*>(FindObject(id));
            if (page && !page->GetWriteProtect() && !page->HasAncestor(window->TrashFolder())) {
                window->SetPendingObject(id);
                ASSERT_TRUE(WaitUntil([&] { return window->ShownPage() == page && Editor(); }));
                break;
            }
        }
        ASSERT_NE(Editor(), nullptr);
        Editor()->setFocus();
        ASSERT_TRUE(WaitUntil([this] { return Editor()->hasFocus(); }));
    }

    TexRichEdit* Editor() const
    {
        auto* page = dynamic_cast<KvTVPage*>(window->ShownPage());
        return page ? page->EditorWidget() : nullptr;
    }
    // The next idle pass has recomputed the command states.
    void Idle()
    {
        const int passes = window->IdlePasses();
        ASSERT_TRUE(WaitUntil([&] { return window->IdlePasses() > passes; }));
    }
    QAction* A(const char16_t* name) const { return window->Action(QString::fromUtf16(name)); }

    korvtest::SandboxEnv env;
    KvScriptedPrompter prompter;
    QString dir;
    KvGeneratedNotebook nb;
    std::unique_ptr<TMainF> window;
};

TEST_F(Commands, UndoRedoCutCopyPasteSelectAllThroughTheMenu)
{
    TexRichEdit* edit = Editor();
    edit->selectAll();
    QTest::keyClicks(edit, u"Hallo Welt"_qs);
    ASSERT_EQ(edit->toPlainText(), u"Hallo Welt"_qs);
    Idle();
    // The Edit menu shows what the editor can do.
    EXPECT_TRUE(A(u"UndoA")->isEnabled());
    EXPECT_FALSE(A(u"RedoA")->isEnabled());
    EXPECT_FALSE(A(u"CutA")->isEnabled()) << "no selection";
    EXPECT_FALSE(A(u"CopyA")->isEnabled());
    EXPECT_TRUE(A(u"SelectAllA")->isEnabled());

    window->MenuItem(u"SelectAllMI"_qs)->trigger();
    EXPECT_EQ(edit->SelectedText(), u"Hallo Welt"_qs);
    Idle();
    EXPECT_TRUE(A(u"CutA")->isEnabled());
    EXPECT_TRUE(A(u"CopyA")->isEnabled());

    window->MenuItem(u"CopyMI"_qs)->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), u"Hallo Welt"_qs);
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(u"text/rtf"_qs));
    Idle();
    EXPECT_TRUE(A(u"PasteA")->isEnabled());

    edit->moveCursor(QTextCursor::End);
    window->MenuItem(u"PasteMI"_qs)->trigger();
    EXPECT_EQ(edit->toPlainText(), u"Hallo WeltHallo Welt"_qs);

    edit->SetSelection(0, 6);
    window->MenuItem(u"CutMI"_qs)->trigger();
    EXPECT_EQ(edit->toPlainText(), u"WeltHallo Welt"_qs);
    EXPECT_EQ(QApplication::clipboard()->text(), u"Hallo "_qs);

    Idle();
    window->MenuItem(u"UndoMI"_qs)->trigger();
    EXPECT_EQ(edit->toPlainText(), u"Hallo WeltHallo Welt"_qs);
    Idle();
    ASSERT_TRUE(A(u"RedoA")->isEnabled());
    window->MenuItem(u"RedoMI"_qs)->trigger();
    EXPECT_EQ(edit->toPlainText(), u"WeltHallo Welt"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Commands, UndoRedoCutCopyPasteSelectAllThroughTheKeys)
{
    TexRichEdit* edit = Editor();
    edit->selectAll();
    QTest::keyClicks(edit, u"eins"_qs);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(edit->SelectedText(), u"eins"_qs);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), u"eins"_qs);
    edit->moveCursor(QTextCursor::End);
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), u"einseins"_qs);
    edit->SetSelection(0, 4);
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), u"eins"_qs);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), u"einseins"_qs);
    Idle();
    // Ctrl+Y, as the menu shows it, and Ctrl+Shift+Z both redo.
    QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), u"eins"_qs);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(edit->toPlainText(), u"einseins"_qs);
    Idle();
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(edit->toPlainText(), u"eins"_qs);
    EXPECT_EQ(A(u"RedoA")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(u"Ctrl+Y"_qs), QKeySequence(u"Ctrl+Shift+Z"_qs)}));
}

// The clipboard commands must not change the page while the focus is elsewhere.
TEST_F(Commands, ClipboardCommandsActOnlyInTheFocusedEditor)
{
    TexRichEdit* edit = Editor();
    edit->selectAll();
    QTest::keyClicks(edit, u"Text"_qs);
    QApplication::clipboard()->setText(u"fremd"_qs);
    Idle();
    auto* tree = window->findChild<TexTreeView*>(u"FolderTv"_qs);
    tree->setFocus();
    ASSERT_TRUE(WaitUntil([&] { return tree->hasFocus(); }));
    for (const char16_t* name : {u"PasteA", u"SelectAllA", u"CutA"})
        A(name)->trigger();
    EXPECT_EQ(edit->toPlainText(), u"Text"_qs);
    EXPECT_EQ(QApplication::clipboard()->text(), u"fremd"_qs);
}

TEST_F(Commands, ZoomAppliesToTheShownPage)
{
    TexRichEdit* edit = Editor();
    Idle();
    ASSERT_TRUE(A(u"Zoom150MI")->isEnabled());
    A(u"Zoom150MI")->trigger();
    EXPECT_EQ(edit->Zoom(), 150);

    auto* box = window->findChild<QComboBox*>(u"ZoomCoB"_qs);
    ASSERT_TRUE(box->isEnabled());
    box->lineEdit()->setText(u"130"_qs);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(edit->Zoom(), 130);
    EXPECT_TRUE(A(u"ZoomUserdefMI")->isChecked());
    EXPECT_EQ(box->currentText(), u"130%"_qs);

    // A refused value says so and changes nothing.
    prompter.Answer(KvAnswer::Ok);
    box->lineEdit()->setText(u"4"_qs);
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].text,
              u"Bitte geben Sie einen Wert im Bereich von 5 bis 1000 an."_qs);
    EXPECT_EQ(edit->Zoom(), 130);

    // Esc in the box goes back to 100%.
    QTest::keyClick(box->lineEdit(), Qt::Key_Escape);
    EXPECT_EQ(edit->Zoom(), 100);
    EXPECT_TRUE(A(u"Zoom100MI")->isChecked());

    box->setCurrentIndex(box->findText(u"75%"_qs));
    Q_EMIT box->textActivated(u"75%"_qs);
    EXPECT_EQ(edit->Zoom(), 75);
    EXPECT_TRUE(A(u"Zoom75MI")->isChecked());
    // The next page shown takes the zoom of the box.
    const QString shown = window->ShownPage()->Id();
    for (const QString& id : nb.pageIds) {
        auto* page = dynamic_cast<KvTVPage*>(FindObject(id));
        if (page && id != shown && !page->HasAncestor(window->TrashFolder())) {
            window->SetPendingObject(id);
            ASSERT_TRUE(WaitUntil([&] { return window->ShownPage() == page && Editor(); }));
            EXPECT_EQ(Editor()->Zoom(), 75);
            break;
        }
    }
    EXPECT_FALSE(prompter.Unexpected());
}

// Every command that works is triggered through the registry and has its effect.
TEST_F(Commands, EveryWorkingCommandHasItsEffect)
{
    auto* current = dynamic_cast<KvTVFolder*>(window->CurrentFolder());
    ASSERT_NE(current, nullptr);
    auto* tree = window->findChild<TexTreeView*>(u"FolderTv"_qs);
    auto allExpanded = [](QTreeWidgetItem* node, bool expanded) {
        std::function<bool(QTreeWidgetItem*)> walk = [&](QTreeWidgetItem* n) {
            if (n->childCount() > 0 && n->isExpanded() != expanded)
                return false;
            for (int i = 0; i < n->childCount(); ++i) {
                if (!walk(n->child(i)))
                    return false;
            }
            return true;
        };
        return walk(node);
    };
    window->SelectObjectWithID(window->TopFolder()->Id());
    window->FolderTvChange();
    Idle();
    A(u"FolderCollapseAllA")->trigger();
    EXPECT_TRUE(allExpanded(window->TopFolder()->Node(), false));
    A(u"FolderExpandAllA")->trigger();
    EXPECT_TRUE(allExpanded(window->TopFolder()->Node(), true));
    EXPECT_TRUE(tree->isVisible());

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
        auto* part = window->findChild<QWidget*>(QString::fromUtf16(p.part));
        ASSERT_NE(part, nullptr);
        A(p.item)->trigger();
        EXPECT_FALSE(part->isVisible()) << QString::fromUtf16(p.item).toStdString();
        A(p.item)->trigger();
        EXPECT_TRUE(part->isVisible()) << QString::fromUtf16(p.item).toStdString();
    }

    window->hide();
    A(u"RestoreFromTrayPMI")->trigger();
    EXPECT_TRUE(window->isVisible());

    A(u"ExitMI")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->ExitSequenceRuns(), 1);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Commands, CloseFromTheTrayMenuRunsTheExitSequence)
{
    A(u"CloseFromTrayPMI")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->ExitSequenceRuns(), 1);
}

} // namespace
