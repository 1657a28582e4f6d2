#pragma once

#include "commands/kvbuttonmode.h"

// Where an element of the notebook stands, as far as the commands care.
struct KvElementPlace
{
    bool exists = false;
    bool isTopFolder = false;
    bool isTrash = false;        // the trash folder itself
    bool insideTrash = false;    // below the trash, at any depth
    bool isReferrer = false;     // a page standing for another page
    bool writable = false;       // the element may be written (directory access and its own flag)
    bool writeProtected = false; // a page the user protected against changes
};

// What the command states depend on, gathered by the main window before each
// recomputation of the enabled commands (KvCommandContextBuilder fills it).
struct KvCommandContext
{
    // Directory access: false in read-only work.
    bool fullAccess = false;
    bool ReadOnly() const { return !fullAccess; }

    // The current folder and page and where they stand.
    KvElementPlace folder;
    KvElementPlace page;
    bool hasCurrentFolder = false;
    bool hasCurrentPage = false;
    // The kind of the tree's selected node.
    KvNodeKind selectedNode = KvNodeKind::None;

    // The editor of the current page.
    bool pageLoaded = false;   // the current page's text is loaded and shown
    bool pageEditable = false; // loaded, full access, not write-protected
    bool selection = false;    // more than an empty selection
    bool canUndo = false;
    bool canRedo = false;

    // What the clipboard offers (followed by its change signal, never read when idle).
    bool clipboardText = false;
    bool clipboardRtf = false;
    bool clipboardPicture = false;
    bool ClipboardHasAny() const { return clipboardText || clipboardRtf || clipboardPicture; }

    // Busy: a search runs or the progress window is open.
    bool searchRunning = false;
    bool progressOpen = false;
    bool Busy() const { return searchRunning || progressOpen; }

    // The version of the rich-text control (decides zoom, background colour, paragraphs).
    int editorVersion = 3;

    // The element commands: the rules of the element operations (KvElementRules) applied
    // to the current page and folder, and what the notebook holds.
    bool deletePagePossible = false;
    bool deleteFolderPossible = false;
    bool movePagePossible = false;
    bool moveFolderPossible = false;
    bool pageFirst = false; // among its siblings; a root folder is first and last
    bool pageLast = false;
    bool folderFirst = false;
    bool folderLast = false;
    int folderChildCount = 0;
    bool trashHasChildren = false;
    bool pasteWaiting = false; // a copied element or a referrer's page waits to be pasted

    // The browse history (KvBrowseHistory's rules) and the saved search results: save is
    // for the unsaved search of entry 0, delete and rename for a saved result.
    bool historyPrevious = false;
    bool historyNext = false;
    bool historyList = false;
    bool searchResSave = false;
    bool searchResDelete = false;
    bool searchResRename = false;
};

// The element the navigation tree's context menu was opened on, and what the rules say of
// it. Busy means a search runs (the progress window is modal).
struct KvTreeMenuContext
{
    KvNodeKind kind = KvNodeKind::None;
    bool writable = false; // the element may be written (directory access included)
    bool isRoot = false;   // the top folder or the trash
    bool inTrash = false;  // below the trash (no referrer may stand for a page there)
    bool deletePossible = false;
    bool movePossible = false;
    bool pasteWaiting = false;
    bool shownAndLoaded = false; // a page that is the current page, its text loaded
    // The commands some items follow.
    bool newPage = false;
    bool newFolder = false;
    bool folderProps = false;
    bool emptyTrash = false;
};

// The rows of the main result list the context menu was opened on, and what the rules say
// of the element of a single selected row.
struct KvResultMenuContext
{
    int selected = 0;                   // selected rows
    KvNodeKind kind = KvNodeKind::None; // the element of the one selected row
    bool writable = false;              // it may be written (directory access included)
    bool isRoot = false;                // the top folder or the trash
    // Every selected row's element may be deleted / moved (KvElementRules).
    bool deletePossible = false;
    bool movePossible = false;
};
