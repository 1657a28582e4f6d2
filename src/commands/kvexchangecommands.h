#pragma once

#include "commands/kvcommandhandler.h"

// Import and export of pages.
class KvExchangeCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvExchangeCommands(KvWindowServices& services, QObject* parent = nullptr);
};
