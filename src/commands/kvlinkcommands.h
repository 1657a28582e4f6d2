#pragma once

#include "commands/kvcommandhandler.h"

// Hyperlink commands: link texts of elements and links inserted into page text.
class KvLinkCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvLinkCommands(KvWindowServices& services, QObject* parent = nullptr);
};
