#pragma once

#include "app/kvcommandline.h"
#include "commands/kvactionregistry.h"
#include "commands/kvbuttonmode.h"
#include "ui/kvmaincontrols.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class KvIdleDriver;
class KvLockDirectory;
class QKeyEvent;
class QLabel;

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
    void DestroyFolderAndPages();
    void UpdateDirectoryAccess(const QString& dir, bool previousFullAccess);
    // Takes the lock of the data directory; false means read-only work.
    bool LockDirectory();

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

    // Composition (tmainf_layout.cpp).
    // A command or menu item of the window by its name; null when there is none.
    QAction* Action(const QString& name) const;
    // The action a named menu item shows (the item's command, or the item itself).
    QAction* MenuItem(const QString& name) const;
    const KvActionRegistry& Commands() const { return m_commands; }
    const KvMainControls& Controls() const { return m_ui; }
    // Recomputes the command states and re-targets the page/folder toolbar buttons.
    void UpdateCommandStates();
    // Gives the rename, delete and move buttons the page or the folder commands.
    void RetargetButtons(KvButtonMode mode);
    // Shows a zoom ("150%", "130") in the zoom box and checks its zoom item; a percentage
    // without an item of its own goes to the user-defined item. False for a zoom outside
    // 5% to 1000% (nothing changes).
    bool SelectZoom(const QString& text);
    // Sees every key press inside the window before the control that has the focus;
    // true when the window used the key.
    bool FormKeyDown(QKeyEvent* event);
    // Resolves caption and hint of a menu item that has no command of its own.
    void MenuTextAndHint(QAction* item);

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
    void setupStatusBar();
    void bindViewItems();
    void fillZoomBox();
    void showPart(QWidget* part, QAction* item, bool show);
    void refreshOptions();
    void detachHooks();
    // Asks for a data directory in place of the options dialog; empty when cancelled.
    QString askForDataDirectory(const QString& start);
    void openPendingDocument();
    void displayStats();

    ShellState m_shell;
    KvIdleDriver* m_idle = nullptr;
    QLabel* m_panels[5] = {};
    KvActionRegistry m_commands;
    KvMainControls m_ui;
    QHash<QString, QAction*> m_menuItems;
    std::unique_ptr<KvLockDirectory> m_lock;
    int m_exitRuns = 0;
    int m_idlePasses = 0;
};
