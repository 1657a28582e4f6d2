#pragma once

#include "commands/kvcommandhandler.h"

// Commands of the keyword index.
class KvKeywordCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvKeywordCommands(KvWindowServices& services, QObject* parent = nullptr);
};
