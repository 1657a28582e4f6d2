#pragma once

#include "commands/kvcommandhandler.h"
#include "commands/kvelementcommands.h"

// The search command, the saved search results and the main result list's context menu.
class KvSearchCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvSearchCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;

    // The result list's context menu opens on its selected rows (the element of a single
    // row is the context element of the element commands meanwhile): its items follow them.
    void PrepareResultMenu(const KvResultMenuContext& context);
    const KvResultMenuContext& ResultMenu() const { return m_menu; }

private:
    KvElementCommands m_elements;
    KvResultMenuContext m_menu;
    KvCommandContext m_last; // of the last pass: the menu's items change alone
};
