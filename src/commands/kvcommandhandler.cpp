#include "commands/kvcommandhandler.h"

#include <QAction>
#include <QKeySequence>

KvCommandHandler::KvCommandHandler(const QString& name, QObject* parent) : QObject(parent)
{
    setObjectName(name);
}

QAction* KvCommandHandler::Action(const QString& name) const
{
    for (QAction* a : m_actions) {
        if (a->objectName() == name)
            return a;
    }
    return nullptr;
}

void KvCommandHandler::addActions(std::span<const KvActionSpec> specs)
{
    for (const KvActionSpec& s : specs) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromUtf8(s.name));
        a->setText(QString::fromUtf8(s.caption));
        const QString hint = QString::fromUtf8(s.hint);
        if (!hint.isEmpty())
            a->setStatusTip(hint);
        const QString keys = QString::fromUtf8(s.shortcut);
        if (!keys.isEmpty())
            a->setShortcut(QKeySequence::fromString(keys, QKeySequence::PortableText));
        const QString image = QString::fromUtf8(s.image);
        if (!image.isEmpty())
            a->setProperty(ImageProperty, image);
        a->setCheckable(s.checkable);
        if (s.available)
            m_available.insert(a);
        else
            a->setEnabled(false);
        m_actions.append(a);
    }
}

bool KvCommandHandler::isAvailable(const QAction* action) const
{
    return m_available.contains(action);
}

bool KvCommandHandler::EnableCommands(const KvCommandContext&)
{
    bool all = true;
    for (QAction* a : m_actions) {
        const bool on = isAvailable(a);
        a->setEnabled(on);
        all = all && on;
    }
    return all;
}
