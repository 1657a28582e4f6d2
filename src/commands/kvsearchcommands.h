#pragma once

#include "commands/kvcommandhandler.h"

// Search commands, saved search results and the result list's context menu.
class KvSearchCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvSearchCommands(KvWindowServices& services, QObject* parent = nullptr);
};
