#pragma once

#include "commands/kvcommandhandler.h"

// Editing commands of the page editor: clipboard, undo, selection, find and replace.
class KvEditCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    explicit KvEditCommands(QObject* parent = nullptr);
};
