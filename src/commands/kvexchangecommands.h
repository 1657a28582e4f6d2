#pragma once

#include "commands/kvcommandhandler.h"

// Import and export of pages.
class KvExchangeCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvExchangeCommands(QObject* parent = nullptr);
};
