#pragma once

#include "commands/kvcommandhandler.h"

// Printing pages and the printer settings.
class KvPrintCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvPrintCommands(QObject* parent = nullptr);
};
