#include "commands/kvcommandhandler.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "commands/kvwindowservices.h"
#include "platform/kvexception.h"

#include <QAction>
#include <QHash>
#include <QKeySequence>

KvCommandHandler::KvCommandHandler(const QString& name, KvWindowServices& services, QObject* parent)
    : QObject(parent), m_services(services)
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
        // Several keys are separated by "; " ("Ctrl+Y; Ctrl+Shift+Z"); the first is shown.
        const QString keys = QString::fromUtf8(s.shortcut);
        if (!keys.isEmpty())
            a->setShortcuts(QKeySequence::listFromString(keys, QKeySequence::PortableText));
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
    return applyRules([](const QAction&) { return true; });
}

bool KvCommandHandler::applyRules(std::initializer_list<Rule> rules)
{
    QHash<QString, bool> byName;
    for (const Rule& r : rules)
        byName.insert(QString::fromUtf16(r.name), r.on);
    return applyRules([&byName](const QAction& a) { return byName.value(a.objectName(), true); });
}

bool KvCommandHandler::applyRules(const std::function<bool(const QAction&)>& rule)
{
    // Each action is set once per pass, and only when its state differs: switching it on
    // and off again would repaint its buttons and wake the idle pass, over and over.
    bool all = true;
    for (QAction* a : m_actions) {
        const bool available = isAvailable(a);
        all = all && available;
        const bool on = available && rule(*a);
        if (a->isEnabled() != on)
            a->setEnabled(on);
    }
    return all;
}

void KvCommandHandler::guarded(const std::function<void()>& work)
{
    try {
        work();
    } catch (const KvException& e) {
        m_services.MessageBox(KvTexts::Text(5007), e.Message(), KvMsgKind::Error);
    }
}
