#pragma once

#include "commands/kvcommandhandler.h"

// Commands of the named text styles.
class KvStyleCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvStyleCommands(KvWindowServices& services, QObject* parent = nullptr);
};
