#pragma once

#include "commands/kvcommandhandler.h"

// Commands of the bookmark list.
class KvBookmarkCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvBookmarkCommands(QObject* parent = nullptr);
};
