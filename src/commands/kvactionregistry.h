#pragma once

#include "commands/kvcommandcontext.h"
#include "commands/kvcommandhandler.h"

#include <QHash>
#include <QList>
#include <QString>

class KvWindowServices;
class QAction;
class QObject;

// The main window's command handlers and their actions by name.
class KvActionRegistry
{
public:
    // Creates every handler of the main window, owned by owner, working on services.
    void CreateHandlers(KvWindowServices& services, QObject* owner);
    // Tells the handlers that the window's controls exist.
    void AttachControls();
    void Register(KvCommandHandler* handler);

    QAction* Action(const QString& name) const { return m_byName.value(name); }
    const QList<KvCommandHandler*>& Handlers() const { return m_handlers; }
    // The handler of a class; null when none was created.
    template <typename H> H* Handler() const
    {
        for (KvCommandHandler* h : m_handlers) {
            if (auto* found = qobject_cast<H*>(h))
                return found;
        }
        return nullptr;
    }
    // Every action and item, in the order of the handlers.
    QList<QAction*> AllActions() const;
    // The commands proper (names ending in "A"), without menu items.
    QList<QAction*> Commands() const;

    // Lets every handler recompute its command states; false while some commands
    // wait for their feature.
    bool EnableCommands(const KvCommandContext& context);

private:
    QList<KvCommandHandler*> m_handlers;
    QHash<QString, QAction*> m_byName;
};
