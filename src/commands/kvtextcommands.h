#pragma once

#include "commands/kvcommandhandler.h"

// Character and paragraph formatting of the page editor.
class KvTextCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvTextCommands(QObject* parent = nullptr);
};
