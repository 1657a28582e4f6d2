#pragma once

#include "commands/kvactiondef.h"
#include "commands/kvcommandcontext.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <span>

class QAction;

// A group of commands of one subsystem: creates and owns their actions (object name =
// command name, caption and hint as text references, shortcut, image name in the
// property "kvImage") and decides when they are enabled.
class KvCommandHandler : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* ImageProperty = "kvImage";

    explicit KvCommandHandler(const QString& name, QObject* parent = nullptr);

    const QList<QAction*>& Actions() const { return m_actions; }
    QAction* Action(const QString& name) const;

    // Recomputes the enabled state of the handler's commands. Commands whose feature is
    // not built yet stay disabled; the result is false while there are such commands.
    virtual bool EnableCommands(const KvCommandContext& context);

protected:
    void addActions(std::span<const KvActionSpec> specs);
    bool isAvailable(const QAction* action) const;

private:
    QList<QAction*> m_actions;
    QSet<const QAction*> m_available;
};
