#pragma once

#include "commands/kvactiondef.h"
#include "commands/kvcommandcontext.h"

#include <QAction>
#include <QList>
#include <QObject>
#include <QSet>
#include <functional>
#include <initializer_list>
#include <span>

class KvWindowServices;
class QKeyEvent;
class TexRichEdit;

// A group of commands of one subsystem: creates and owns their actions (object name =
// command name, caption and hint as text references, shortcut, image name in the
// property "kvImage"), connects their triggers to its own slots and decides when they
// are enabled. It reaches the window only through the window services.
class KvCommandHandler : public QObject
{
    Q_OBJECT
public:
    static constexpr const char* ImageProperty = "kvImage";

    KvCommandHandler(const QString& name, KvWindowServices& services, QObject* parent = nullptr);

    const QList<QAction*>& Actions() const { return m_actions; }
    QAction* Action(const QString& name) const;

    // Recomputes the enabled state of the handler's commands. Commands whose feature is
    // not built yet stay disabled; the result is false while there are such commands.
    virtual bool EnableCommands(const KvCommandContext& context);
    // Called once the window's controls exist (the zoom box, ...), for handlers that
    // follow a control besides their actions.
    virtual void AttachControls() {}
    // A page's editor was made and loaded, for handlers that follow its signals.
    virtual void EditorLoaded(TexRichEdit& /*editor*/) {}
    // A key the main window sees before its controls; true when the handler took it.
    virtual bool KeyPressed(const QKeyEvent& /*event*/) { return false; }

protected:
    // A condition of one command beside its feature being built.
    struct Rule
    {
        const char16_t* name;
        bool on;
    };

    void addActions(std::span<const KvActionSpec> specs);
    // Sets every action once: enabled when available and its rule (if it has one) is on.
    // Returns what EnableCommands returns.
    bool applyRules(std::initializer_list<Rule> rules);
    // The same with the rule as a function of the action.
    bool applyRules(const std::function<bool(const QAction&)>& rule);
    bool isAvailable(const QAction* action) const;
    // Connects the action's trigger to work of the handler, run guarded.
    template <typename Work> void onTriggered(const char* action, Work work);
    // Runs a command; an error of the program's own is shown (5007) instead of leaving
    // the event loop.
    void guarded(const std::function<void()>& work);
    KvWindowServices& services() const { return m_services; }

private:
    KvWindowServices& m_services;
    QList<QAction*> m_actions;
    QSet<const QAction*> m_available;
};

template <typename Work> void KvCommandHandler::onTriggered(const char* action, Work work)
{
    QAction* a = Action(QString::fromUtf8(action));
    Q_ASSERT_X(a, "KvCommandHandler::onTriggered", "the handler owns the action");
    connect(a, &QAction::triggered, this, [this, work](bool checked) {
        guarded([&] {
            if constexpr (std::is_invocable_v<Work, bool>)
                work(checked);
            else
                work();
        });
    });
}
