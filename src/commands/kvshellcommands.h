#pragma once

#include "commands/kvcommandhandler.h"

// Program-level commands: tray, second window, archive, character map, access switch, options and
// exit.
class KvShellCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvShellCommands(KvWindowServices& services, QObject* parent = nullptr);
};
