#pragma once

#include "commands/kvcommandhandler.h"

// Character and paragraph formatting of the page editor.
class KvTextCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvTextCommands(KvWindowServices& services, QObject* parent = nullptr);
};
