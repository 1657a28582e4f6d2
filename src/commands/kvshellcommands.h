#pragma once

#include "commands/kvcommandhandler.h"

// Program-level commands: tray, second window, archive, character map, access switch, options and
// exit.
class KvShellCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvShellCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;

    // The character map of the selection's font; a character chosen there goes to the
    // clipboard and, on a page that may be changed, in at the caret.
    void ShowCharmap();

private:
    bool m_pageEditable = false;
};
