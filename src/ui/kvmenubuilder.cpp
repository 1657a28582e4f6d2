#include "ui/kvmenubuilder.h"

#include "commands/kvactionregistry.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

namespace KvCompose {

QStringList Entries(const QObject* container)
{
    return container ? container->property(EntriesProperty).toStringList() : QStringList();
}

void AppendEntry(QObject* container, const QString& name)
{
    QStringList names = Entries(container);
    names.append(name);
    container->setProperty(EntriesProperty, names);
}

QToolButton* ToolButton(QWidget* parent, const QString& name, QAction* action)
{
    auto* b = Named(new QToolButton(parent), name);
    b->setAutoRaise(true);
    if (action)
        b->setDefaultAction(action);
    return b;
}

} // namespace KvCompose

KvMenuBuilder::KvMenuBuilder(QMenu* menu, const KvActionRegistry& commands,
                             QHash<QString, QAction*>& items)
    : m_menu(menu), m_commands(commands), m_items(items)
{}

KvMenuBuilder& KvMenuBuilder::item(const QString& name, const QString& action)
{
    QAction* a = m_commands.Action(action.isEmpty() ? name : action);
    Q_ASSERT_X(a, "KvMenuBuilder::item", "every menu item has its action");
    m_menu->addAction(a);
    m_items.insert(name, a);
    KvCompose::AppendEntry(m_menu, name);
    return *this;
}

KvMenuBuilder& KvMenuBuilder::sep()
{
    m_menu->addSeparator();
    KvCompose::AppendEntry(m_menu, KvCompose::Separator);
    return *this;
}

KvMenuBuilder KvMenuBuilder::sub(const QString& name, const QString& caption, const QString& hint)
{
    auto* menu = new QMenu(caption, m_menu);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    if (!hint.isEmpty())
        menu->menuAction()->setStatusTip(hint);
    m_menu->addMenu(menu);
    m_items.insert(name, menu->menuAction());
    KvCompose::AppendEntry(m_menu, name);
    return KvMenuBuilder(menu, m_commands, m_items);
}

KvToolbarBuilder::KvToolbarBuilder(QToolBar* bar, const KvActionRegistry& commands)
    : m_bar(bar), m_commands(commands)
{}

KvToolbarBuilder& KvToolbarBuilder::button(const QString& name, const QString& action)
{
    QAction* a = m_commands.Action(action);
    Q_ASSERT_X(a, "KvToolbarBuilder::button", "every button has its action");
    m_bar->addAction(a);
    m_bar->widgetForAction(a)->setObjectName(name);
    KvCompose::AppendEntry(m_bar, name);
    return *this;
}

KvToolbarBuilder& KvToolbarBuilder::sep()
{
    m_bar->addSeparator();
    KvCompose::AppendEntry(m_bar, KvCompose::Separator);
    return *this;
}

KvToolbarBuilder& KvToolbarBuilder::widget(QWidget* w)
{
    m_bar->addWidget(w);
    KvCompose::AppendEntry(m_bar, w->objectName());
    return *this;
}
