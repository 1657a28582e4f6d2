#pragma once

#include "commands/kvcommandhandler.h"

// The bookmark dialog.
class KvBookmarkCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvBookmarkCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;
};
