#include "commands/kvactionregistry.h"

#include "commands/kvbookmarkcommands.h"
#include "commands/kveditcommands.h"
#include "commands/kvexchangecommands.h"
#include "commands/kvfoldercommands.h"
#include "commands/kvhelpcommands.h"
#include "commands/kvhistorycommands.h"
#include "commands/kvkeywordcommands.h"
#include "commands/kvlinkcommands.h"
#include "commands/kvpagecommands.h"
#include "commands/kvprintcommands.h"
#include "commands/kvsearchcommands.h"
#include "commands/kvshellcommands.h"
#include "commands/kvstylecommands.h"
#include "commands/kvtextcommands.h"
#include "commands/kvviewcommands.h"

#include <QAction>

void KvActionRegistry::CreateHandlers(KvWindowServices& services, QObject* owner)
{
    Register(new KvPageCommands(services, owner));
    Register(new KvFolderCommands(services, owner));
    Register(new KvEditCommands(services, owner));
    Register(new KvTextCommands(services, owner));
    Register(new KvStyleCommands(services, owner));
    Register(new KvLinkCommands(services, owner));
    Register(new KvKeywordCommands(services, owner));
    Register(new KvBookmarkCommands(services, owner));
    Register(new KvSearchCommands(services, owner));
    Register(new KvHistoryCommands(services, owner));
    Register(new KvPrintCommands(services, owner));
    Register(new KvExchangeCommands(services, owner));
    Register(new KvShellCommands(services, owner));
    Register(new KvViewCommands(services, owner));
    Register(new KvHelpCommands(services, owner));
}

void KvActionRegistry::AttachControls()
{
    for (KvCommandHandler* h : m_handlers)
        h->AttachControls();
}

void KvActionRegistry::Register(KvCommandHandler* handler)
{
    m_handlers.append(handler);
    for (QAction* a : handler->Actions()) {
        Q_ASSERT_X(!m_byName.contains(a->objectName()), "KvActionRegistry::Register",
                   "command names are unique");
        m_byName.insert(a->objectName(), a);
    }
}

QList<QAction*> KvActionRegistry::AllActions() const
{
    QList<QAction*> all;
    for (const KvCommandHandler* h : m_handlers)
        all += h->Actions();
    return all;
}

QList<QAction*> KvActionRegistry::Commands() const
{
    QList<QAction*> commands;
    for (QAction* a : AllActions()) {
        if (a->objectName().endsWith(u'A'))
            commands.append(a);
    }
    return commands;
}

bool KvActionRegistry::EnableCommands(const KvCommandContext& context)
{
    bool all = true;
    for (KvCommandHandler* h : m_handlers)
        all = h->EnableCommands(context) && all;
    return all;
}
