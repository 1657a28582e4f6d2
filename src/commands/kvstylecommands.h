#pragma once

#include "commands/kvcommandhandler.h"

// Commands of the named text styles.
class KvStyleCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvStyleCommands(QObject* parent = nullptr);
};
