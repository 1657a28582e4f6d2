#pragma once

#include "commands/kvcommandhandler.h"

// Commands on folders and the items of the navigation tree's context menu.
class KvFolderCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvFolderCommands(QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;
};
