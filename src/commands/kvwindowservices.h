#pragma once

#include "elements/kvelementenv.h"

#include <QString>
#include <functional>

class KvFolder;
class KvListServices;
class KvLinkServices;
class KvObject;
class KvPage;
class KvEditingServices;
class KvSearchServices;
class QComboBox;
class QTabWidget;
class QWidget;
class TexRichEdit;

// The parts of the main window that the view menu shows and hides.
enum class KvWindowPart
{
    NavigationTree,
    MainToolbar,
    EditToolbar,
    FontAndColorToolbar,
    TextAttrToolbar,
    StylesToolbar,
    StatusBar,
    SearchResults
};

// What the command handlers may use of the main window. The handlers hold the command
// logic; the window keeps the widgets, the navigation state and the pointer guard. Tests
// give the handlers a fake of their own.
class KvWindowServices
{
public:
    virtual ~KvWindowServices() = default;

    // --- the notebook as the window shows it (pointers do not own; null when none)
    virtual KvFolder* TopFolder() const = 0;
    virtual KvFolder* TrashFolder() const = 0;
    virtual KvFolder* CurrentFolder() const = 0;
    virtual KvPage* CurrentPage() const = 0;
    virtual KvFolder* ShownFolder() const = 0;
    virtual KvPage* ShownPage() const = 0;
    // This instance may write the data directory.
    virtual bool FullAccess() const = 0;

    // --- the pointer guard: called before p is removed or moved
    virtual void CheckPointer(KvObject* p, bool saveFirst) = 0;
    virtual void InvalidatePointer(KvObject* p, bool saveFirst) = 0;

    // --- showing elements
    // Shows the element at the next idle pass, optionally searching it for a text.
    virtual void ShowElement(const QString& id, const QString& searchText = QString()) = 0;
    // Selects the element's node without showing it; false when it has none.
    virtual bool SelectElement(const QString& id) = 0;
    // Shows what the tree's selection names (folder, its pages as tabs, the page).
    virtual void FolderTvChange() = 0;
    virtual void SavePage(KvPage* page) = 0;
    virtual void StoreFolder(KvFolder* folder) = 0;

    // --- the navigation tree
    // Runs work with the tree's redrawing and signals suspended; both always come back.
    virtual void TreeBulkUpdate(const std::function<void()>& work) = 0;
    // Expands or collapses the folder's node with every node below it.
    virtual void SetExpandedAll(KvFolder* folder, bool expanded) = 0;
    // Stores the expanded state of the folder and of every folder below it.
    virtual void StoreExpandedStates(KvFolder* folder) = 0;

    // --- the element commands
    // The notebook and the hooks the element operations work with, for one command (the
    // options read anew).
    virtual KvElementEnv ElementEnv() = 0;
    // Runs command on the element the tree's context menu was opened on, which is current
    // meanwhile; with restoreSelection the tree's selection from before comes back.
    virtual void TempActionOnNavTree(bool restoreSelection,
                                     const std::function<void()>& command) = 0;

    // --- the search, its result list and the keyword dialog; null without a window
    virtual KvSearchServices* Search() = 0;
    // --- the controls and dialogs of the editing and style commands; null without a window
    virtual KvEditingServices* Editing() { return nullptr; }
    // --- the browse history, the bookmarks and the saved search results; null without a
    // window
    virtual KvListServices* Lists() = 0;
    // --- the hyperlink dialog and the desktop for the link commands; null without a window
    virtual KvLinkServices* Links() = 0;

    // --- the page area: one tab per page of the shown folder (none in tab mode 3)
    virtual QTabWidget* PageArea() const = 0;
    // --- the editor of the shown page; null while no page text is shown
    virtual TexRichEdit* Editor() const = 0;

    // --- the window
    // The window's message box (log line, then the prompt seam); returns the button.
    virtual int MessageBox(const QString& title, const QString& text, int kind) = 0;
    // The parent of the dialogs that commands open.
    virtual QWidget* DialogParent() = 0;
    // Asks for an idle pass (command states, status bar) even if no further event comes.
    virtual void RequestIdle() = 0;
    // Status-bar panel texts: 0 hint, 1 page status, 2 caret, 3 insert mode, 4 access.
    virtual void SetStatusText(int panel, const QString& text) = 0;
    virtual void ShowPart(KvWindowPart part, bool show) = 0;
    virtual QComboBox* ZoomBox() const = 0;
    virtual void CloseWindow() = 0;
    virtual void RestoreFromTray() = 0;
    virtual void OpenNewWindow() = 0;
    virtual void SwitchAccess() = 0;
};
