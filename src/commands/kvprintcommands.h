#pragma once

#include "commands/kvcommandhandler.h"

// Printing pages and the printer settings.
class KvPrintCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvPrintCommands(KvWindowServices& services, QObject* parent = nullptr);
};
