#pragma once

#include "commands/kvcommandhandler.h"

// The program documentation and the about box.
class KvHelpCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvHelpCommands(KvWindowServices& services, QObject* parent = nullptr);
};
