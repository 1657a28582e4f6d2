#pragma once

#include "commands/kvcommandhandler.h"

// Browsing the history of shown pages: previous and next page, the history list and its
// menu.
class KvHistoryCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvHistoryCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;

    // The history list's menu opens on its selected rows: without one its items rest.
    void PrepareHistoryMenu(int selectedRows);

private:
    int m_selected = 0;
    KvCommandContext m_last; // of the last pass
};
