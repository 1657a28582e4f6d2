#pragma once

#include "commands/kvcommandhandler.h"

// Browsing the history of shown pages.
class KvHistoryCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvHistoryCommands(QObject* parent = nullptr);
};
