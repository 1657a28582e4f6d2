#pragma once

#include "commands/kvcommandhandler.h"

// Commands of the keyword index.
class KvKeywordCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvKeywordCommands(QObject* parent = nullptr);
};
