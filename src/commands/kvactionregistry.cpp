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

void KvActionRegistry::CreateHandlers(QObject* owner)
{
    Register(new KvPageCommands(owner));
    Register(new KvFolderCommands(owner));
    Register(new KvEditCommands(owner));
    Register(new KvTextCommands(owner));
    Register(new KvStyleCommands(owner));
    Register(new KvLinkCommands(owner));
    Register(new KvKeywordCommands(owner));
    Register(new KvBookmarkCommands(owner));
    Register(new KvSearchCommands(owner));
    Register(new KvHistoryCommands(owner));
    Register(new KvPrintCommands(owner));
    Register(new KvExchangeCommands(owner));
    Register(new KvShellCommands(owner));
    Register(new KvViewCommands(owner));
    Register(new KvHelpCommands(owner));
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
