#pragma once

#include <QString>

class KvWindowServices;

// The element commands as the menus, the toolbar, the tree's context menu and the Del key
// run them: each takes the current page or folder from the window, hands it to the element
// operations (src/elements) and then lets the window show what the command left. The page
// and folder handlers share one of these.
class KvElementCommands
{
public:
    explicit KvElementCommands(KvWindowServices& services) : m_s(services) {}

    // fromTreeMenu: run on the element of the tree's context menu (TempActionOnNavTree).
    void NewPage(bool fromTreeMenu);
    void NewFolder(bool fromTreeMenu);
    void RenamePage();
    void RenameFolder();
    void DeletePage(bool fromTreeMenu);
    void DeleteFolder(bool fromTreeMenu);
    void EmptyTrash();
    void PageMoveUpDown(bool up);
    void FolderMoveUpDown(bool up);
    void PageMove2Folder(bool fromTreeMenu);
    void FolderMove2Folder(bool fromTreeMenu);
    void SortFolder();
    void PageCopy();
    void FolderCopy();
    void CreateReferrer();
    void FolderPaste(bool fromTreeMenu);
    void NewLink();

private:
    // Shows the element of id (selected, then shown), when it still exists.
    void show(const QString& id);
    // From the context menu: the context folder is shown first, so that what the command
    // makes lands where the menu was opened.
    void showContextFolder();

    KvWindowServices& m_s;
};
