#pragma once

#include "commands/kvcommandhandler.h"

// Commands of the bookmark list.
class KvBookmarkCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvBookmarkCommands(KvWindowServices& services, QObject* parent = nullptr);
};
