#pragma once

#include "commands/kvcommandhandler.h"

// Commands on pages: create, rename, delete, move, copy, referrers, properties.
class KvPageCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvPageCommands(KvWindowServices& services, QObject* parent = nullptr);
};
