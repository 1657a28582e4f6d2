#pragma once

#include "commands/kvcommandhandler.h"

// The view menu's check items for the window's parts and the zoom items.
class KvViewCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvViewCommands(QObject* parent = nullptr);
};
