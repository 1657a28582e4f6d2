#pragma once

#include "commands/kvcommandhandler.h"

// Browsing the history of shown pages.
class KvHistoryCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvHistoryCommands(KvWindowServices& services, QObject* parent = nullptr);
};
