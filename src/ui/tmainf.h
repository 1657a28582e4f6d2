#pragma once

#include "app/kvcommandline.h"
#include "commands/kvactionregistry.h"
#include "commands/kvbuttonmode.h"
#include "commands/kvwindowservices.h"
#include "ui/kvmaincontrols.h"

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

class KvAddStatus;
class KvClipboardWatch;
class KvDialogPasswordAsker;
class KvDirProps;
struct KvElementEnv;
struct KvElementHooks;
class KvFolder;
class KvIdleDriver;
class KvLockDirectory;
class KvMainEditing;
class KvMainLists;
class KvMainSearch;
class KvMainServices;
class KvObject;
class KvPage;
class KvPageJournal;
class KvPropReader;
class KvRestore;
class KvTVFolder;
class KvTVPage;
class QKeyEvent;
class QLabel;
class QTreeWidgetItem;
class ShortCutStopper;
struct KvDirContext;
struct KvNotebook;
struct KvSearchCrit;

// The main window: one per process. Its life cycle (construction, opening the data
// directory, first show, idle pass, exit and reopen) is defined here and in
// tmainf_lifecycle.cpp; the commands live in their handler classes.
class TMainF : public QMainWindow
{
    Q_OBJECT
public:
    // args: the command-line arguments without the program name.
    explicit TMainF(const QStringList& args, QWidget* parent = nullptr);
    ~TMainF() override;

    // The shell state of one instance.
    struct ShellState
    {
        KvCommandLine commandLine;
        QString startDir;
        QString pendingObjectId;
        QString pendingSearchText;
        QString pendingDocument;
        QPointer<QWidget> pendingFocus;
        bool resizePending = false;
        bool constructing = false;
        bool startAborted = false;
        bool firstShowPending = false;
        bool lockMessageWanted = false;
        bool savedAtExit = true;
        bool closing = false;
        bool switchingAccess = false;
        bool forcedExit = false; // a signal ends the program: nobody is asked any more
        bool focusWanted = true;
        QString returnFolderId;
        QString returnPageId;
        bool fullAccess = false;
        bool groupDir = false;
    };
    const ShellState& Shell() const { return m_shell; }

    void Initialize();
    bool BuildFolderAndPages();
    void FormShow();
    void FormActivate();
    void OnIdle();
    void OnHint();
    void OnMinimize();
    void NewWindowMIClick();
    bool FormCloseQuery();
    void FormClose();
    void SaveAtExit();
    // Saves the shown page before the notebook closes; when that fails the user may retry,
    // keep the text in a file, discard it or (false) keep the window open.
    bool SaveShownPageOrRescue();
    // Ends the program without asking anybody (a signal): open dialogs are closed and the
    // exit sequence runs once their event loops have returned.
    void Terminate();
    // keepLock: the directory is opened again at once with full access.
    void DestroyFolderAndPages(bool keepLock);
    void UpdateDirectoryAccess(const QString& dir, bool previousFullAccess);
    // Takes the lock of the data directory; false means read-only work.
    bool LockDirectory();
    // Completes or undoes a bulk change a crash interrupted (full access), or says that one
    // waits (read-only).
    void recoverJournal();
    // The access switch of group directories.
    void SetSwitchAccessTB();
    void SwitchAccess();

    // The window's message box (log line, then the prompt seam).
    int MessageBox(const QString& title, const QString& text, int kind);

    // Asks for an element to be shown at the next idle pass.
    void SetPendingObject(const QString& id, const QString& searchText = QString());
    void SetPendingDocument(const QString& document);
    // Text of a status-bar panel (0 hint, 1 page status, 2 caret, 3 insert mode, 4 info).
    QString StatusPanelText(int panel) const;
    void SetStatusPanelText(int panel, const QString& text);
    // How often the exit sequence ran (it must run once).
    int ExitSequenceRuns() const { return m_exitRuns; }
    int IdlePasses() const { return m_idlePasses; }
    // Asks for an idle pass even if no further event arrives.
    void RequestIdle();

    // The notebook and the navigation (tmainf_tree.cpp, tmainf_navigation.cpp).
    KvTVFolder* TopFolder() const;
    KvTVFolder* TrashFolder() const;
    KvFolder* CurrentFolder() const { return m_nav.curFolder; }
    KvPage* CurrentPage() const { return m_nav.curPage; }
    KvFolder* ShownFolder() const { return m_nav.shownFolder; }
    KvPage* ShownPage() const { return m_nav.shownPage; }
    KvFolder* TempExpandedFolder() const { return m_nav.tempExpanded; }
    bool ModifiedIndicator() const { return m_nav.modifiedIndicator; }
    // Puts lost elements into a new folder below the top folder; true when any were found.
    bool FindLostElements(KvPropReader& objectSnapshot);
    void StoreFolder(KvFolder* folder);
    void FolderTvChange();
    void PagePCChange();
    void Show(KvFolder* folder);
    void Show(KvPage* page);
    void SavePage(KvPage* page);
    void LoadPage(KvPage* page);
    void SavePage_Templ_Passw(KvPage*& page);
    void StatusBarText(KvPage* page);
    void StatusBarModifText(KvPage* page);
    // Runs command on the temporary page and folder (the tree's context menu element).
    void TempActionOnNavTree(bool restoreSelection, const std::function<void()>& command);
    void SetTempElements(KvPage* page, KvFolder* folder);
    // Shows the element — a page with its folder and tab, a folder with its active page —
    // and, with criteria, selects the first of their terms to mark that the shown page's
    // text holds, scrolled into view. False when there is no such element.
    bool SwitchToObjectWithID(const QString& id, const KvSearchCrit* criteria = nullptr);
    // Selects the element's node; the caller shows it. False when there is no such element.
    bool SelectObjectWithID(const QString& id);
    // Completes a finished mouse click in the tree (idle pass).
    void SpecialHandlingTreeview();
    void MakeVisible(QTreeWidgetItem* node, bool keepHorizontalScroll);
    void SelectNodeQuietly(QTreeWidgetItem* node);
    KvPage* PageAtTab(QWidget* tab) const;
    // Detaches and re-attaches the tree's event handlers (nested calls count).
    void FolderTvEventStop();
    void FolderTvEventStart();
    // The mouse handlers of the tree (also called by tests in place of real clicks).
    void FolderTvMouseDown(QTreeWidgetItem* node);
    void FolderTvMouseUp();
    void FolderTvExpandedOrCollapsed(QTreeWidgetItem* node);
    // Pointer guard: before p is removed or moved, every pointer of the window to p or to
    // an element below it is cleared; with saveFirst a page is saved and unloaded first.
    void CheckPointer(KvObject* p, bool saveFirst);
    void InvalidatePointer(KvObject* p, bool saveFirst);

    // Composition (tmainf_layout.cpp).
    // A command or menu item of the window by its name; null when there is none.
    QAction* Action(const QString& name) const;
    // The action a named menu item shows (the item's command, or the item itself).
    QAction* MenuItem(const QString& name) const;
    const KvActionRegistry& Commands() const { return m_commands; }
    const KvMainControls& Controls() const { return m_ui; }
    // What the command states depend on now.
    KvCommandContext CommandContext() const;
    // Recomputes the command states and re-targets the page/folder toolbar buttons.
    void UpdateCommandStates();
    // Gives the rename, delete and move buttons the page or the folder commands.
    void RetargetButtons(KvButtonMode mode);
    // Shows or hides a part of the window; a tree or result panel shown again comes back
    // at its remembered size.
    void ShowPart(KvWindowPart part, bool show);
    // The window's state in the settings file and what it remembers between the stores.
    KvRestore& WindowState() const { return *m_restore; }
    // Sees every key press inside the window before the control that has the focus;
    // true when the window used the key.
    bool FormKeyDown(QKeyEvent* event);
    // Resolves caption and hint of a menu item that has no command of its own.
    void MenuTextAndHint(QAction* item);

    // The search window, the result panel and the last criteria.
    KvMainSearch& Search() const { return *m_search; }
    // The controls and dialogs of the editing and style commands.
    KvMainEditing& Editing() const { return *m_editing; }
    // The browse history, the bookmarks and the saved search results.
    KvMainLists& Lists() const { return *m_lists; }
    // Rebuilds the result row of obj (a new name, new properties); false when it has none.
    bool SingleUpdateSearchRes(KvObject* obj);

    // The element commands (tmainf_elements.cpp).
    // The notebook and the hooks for one element command; the options read anew.
    KvElementEnv ElementEnv();
    KvElementHooks& Elements() const { return *m_elements; }
    const KvAddStatus* StatusCatalogue() const { return m_statusCatalogue.get(); }
    // The tabs of the shown folder follow its pages: new pages get a tab, the order is the
    // folder's, and the notice of a folder without pages shows when it has none.
    void TabsFollowOrder(KvFolder* folder);
    // Lets pending events run while an element command works under the progress window.
    void ProcessEventsDuringCommand();
    // A drag from the tree or the tabs is over: the press that began it is no click; after a
    // drop the selection (the moved element) is shown, else the selection goes back to the
    // element shown.
    void FolderTvEndDragnDrop(bool dropped);
    // The tree's context menu at pos (viewport coordinates): its element, its rules, shown.
    void FolderTvPopupMPopup(const QPoint& pos);
    // The welcome page of a first start in the top folder; false when none was made.
    bool WelcomePage();
    // The typing journal of the shown page (open while the directory is written).
    KvPageJournal& Journal() const { return *m_journal; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void createStatusBar();
    void createMenus();
    void languageInit();
    void setupControls();
    void setupActions();
    void setupMenus();
    void setupContextMenus();
    void setupToolbars();
    void followParts();
    void refreshOptions();
    void detachHooks();
    void closeModalWindows();
    void closeWhenUnwound();
    // Asks for a data directory in place of the options dialog; empty when cancelled.
    QString askForDataDirectory(const QString& start);
    void openPendingDocument();
    void displayStats();
    void buildTree(const KvDirProps& props);
    void destroyTree();
    void firstShowChoose();
    // Offers what the typing journal or an exit kept of pages that were not saved.
    void offerRescueFiles();
    void setupNavigation();
    bool treeKeyDown(QKeyEvent* event);
    bool hasTreeNode(KvObject* obj) const;
    // Runs an event's work; an error of the program's own is shown instead of leaving the
    // event loop.
    void guarded(const std::function<void()>& work);
    // A tree-bound element is being destroyed: no pointer of the window may keep it.
    void forgetElement(KvObject* obj);
    // The element commands' part of the command context.
    void elementContext(KvCommandContext& c) const;
    // The context element of the tree's menu and the rules of its items.
    void prepareTreeMenu(QTreeWidgetItem* node);
    // Del in the tree: deletes the selected node's element when its rules allow.
    bool elementKeyDown(QKeyEvent* event);
    // The notice of a folder without pages, or the page area when it has some.
    void showPagesOrNotice(KvFolder* folder);

    // The state of the navigation; object pointers do not own.
    struct NavState
    {
        KvFolder* curFolder = nullptr;
        KvPage* curPage = nullptr;
        KvFolder* shownFolder = nullptr;
        KvPage* shownPage = nullptr;
        KvFolder* tempExpanded = nullptr;
        KvObject* lastNode = nullptr; // the element of the node selected last
        KvPage* lastPage = nullptr;
        KvFolder* lastFolder = nullptr;
        KvPage* tempPage = nullptr;
        KvFolder* tempFolder = nullptr;
        bool tempAction = false;
        bool historyRecording = true;
        bool modifiedIndicator = false;
        bool creatingPage = false;
        int eventsStopped = 0;
        bool mouseDown = false;
        bool mouseUp = false;
        bool expandHappened = false;
    };
    NavState m_nav;
    std::unique_ptr<KvNotebook> m_notebook;
    std::unique_ptr<KvDirContext> m_dirCtx;
    std::unique_ptr<KvDialogPasswordAsker> m_passwordAsker;
    std::unique_ptr<KvAddStatus> m_statusCatalogue;
    std::unique_ptr<KvElementHooks> m_elements;
    // After the hooks: it leaves them when it goes.
    std::unique_ptr<KvMainSearch> m_search;
    std::unique_ptr<KvMainEditing> m_editing;
    // After the hooks: it leaves them when it goes.
    std::unique_ptr<KvMainLists> m_lists;

    ShellState m_shell;
    KvIdleDriver* m_idle = nullptr;
    QLabel* m_panels[5] = {};
    std::unique_ptr<KvMainServices> m_services;
    KvClipboardWatch* m_clipboard = nullptr;
    KvActionRegistry m_commands;
    KvRestore* m_restore = nullptr;
    ShortCutStopper* m_shortcutStopper = nullptr;
    KvMainControls m_ui;
    QHash<QString, QAction*> m_menuItems;
    std::unique_ptr<KvLockDirectory> m_lock;
    std::unique_ptr<KvPageJournal> m_journal;
    int m_exitRuns = 0;
    // While set, errors of guarded work are collected here instead of shown one by one.
    QStringList* m_collectedErrors = nullptr;
    int m_idlePasses = 0;
};
