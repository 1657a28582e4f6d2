#pragma once

#include "commands/kvcommandhandler.h"
#include "commands/kvelementcommands.h"

// Commands on pages: create, rename, delete, move, copy, referrers, properties.
class KvPageCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvPageCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;

private:
    KvElementCommands m_elements;
};
