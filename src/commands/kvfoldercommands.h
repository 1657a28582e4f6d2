#pragma once

#include "commands/kvcommandhandler.h"
#include "commands/kvelementcommands.h"

// Commands on folders and the items of the navigation tree's context menu.
class KvFolderCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvFolderCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;

    // Expands or collapses the current folder's node with everything below it.
    void ExpandCollapseAll(bool expand);
    // The context menu opens on an element (FolderTvPopupMPopup): its items follow the
    // rules for that element until it opens again.
    void PrepareTreeMenu(const KvTreeMenuContext& context);
    const KvTreeMenuContext& TreeMenu() const { return m_menu; }

private:
    // Runs an item of the context menu on its element, as a page or a folder command.
    void treeMenuItem(bool restoreSelection, void (KvElementCommands::*onPage)(bool),
                      void (KvElementCommands::*onFolder)(bool));

    KvElementCommands m_elements;
    KvTreeMenuContext m_menu;
    KvCommandContext m_last; // of the last pass: the menu's items change alone
};
