#pragma once

#include "commands/kvcommandhandler.h"

// Commands on folders and the items of the navigation tree's context menu.
class KvFolderCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvFolderCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;

    // Expands or collapses the current folder's node with everything below it.
    void ExpandCollapseAll(bool expand);
};
