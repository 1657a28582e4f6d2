#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class KvActionRegistry;
class QAction;
class QMenu;
class QObject;
class QToolBar;
class QToolButton;
class QWidget;

// Helpers that compose the main window from its named parts. Every menu and toolbar
// records the names of its entries in order (separators as "-") in EntriesProperty.
namespace KvCompose {

inline constexpr const char* EntriesProperty = "kvItems";
inline const QString Separator = QStringLiteral("-");

QStringList Entries(const QObject* container);
void AppendEntry(QObject* container, const QString& name);

template <typename W> W* Named(W* w, const QString& name)
{
    w->setObjectName(name);
    return w;
}

// A flat tool button, optionally showing an action.
QToolButton* ToolButton(QWidget* parent, const QString& name, QAction* action = nullptr);

} // namespace KvCompose

// Builds one menu: items show a command of the registry or an item of their own.
class KvMenuBuilder
{
public:
    KvMenuBuilder(QMenu* menu, const KvActionRegistry& commands, QHash<QString, QAction*>& items);

    // An item that shows the command action, or the item of the same name.
    KvMenuBuilder& item(const QString& name, const QString& action = QString());
    KvMenuBuilder& sep();
    // A submenu with its own caption and hint (text references).
    KvMenuBuilder sub(const QString& name, const QString& caption, const QString& hint = QString());
    QMenu* menu() const { return m_menu; }

private:
    QMenu* m_menu;
    const KvActionRegistry& m_commands;
    QHash<QString, QAction*>& m_items;
};

// Builds one toolbar: buttons for commands, separators, and controls of the window.
class KvToolbarBuilder
{
public:
    KvToolbarBuilder(QToolBar* bar, const KvActionRegistry& commands);

    KvToolbarBuilder& button(const QString& name, const QString& action);
    KvToolbarBuilder& sep();
    KvToolbarBuilder& widget(QWidget* w);

private:
    QToolBar* m_bar;
    const KvActionRegistry& m_commands;
};
