#include "ui/kvlanguageinit.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QWidget>

namespace {

const char* const kResolvedProperty = "kvTextsResolved";

bool isBareNumber(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The written hint of an object: the hint property, else the status tip, else a tooltip
// that holds a reference. Empty when it has none.
QString writtenHint(const QObject* o, const QString& statusTip, const QString& toolTip)
{
    const QVariant v = o->property(KvLanguageInit::HintProperty);
    if (v.isValid())
        return v.toString();
    if (!statusTip.isEmpty())
        return statusTip;
    const bool bare = o->property(KvLanguageInit::BareHintProperty).toBool();
    if (bare || toolTip.contains(u'#'))
        return toolTip;
    return QString();
}

bool markResolved(QObject* o)
{
    if (o->property(kResolvedProperty).toBool())
        return false;
    o->setProperty(kResolvedProperty, true);
    return true;
}

void resolveWidget(QWidget* w)
{
    if (!markResolved(w))
        return;
    if (w->isWindow() && !w->windowTitle().isEmpty())
        w->setWindowTitle(KvLanguageInit::Caption(w->windowTitle()));

    if (auto* radio = qobject_cast<QRadioButton*>(w))
        radio->setText(KvLanguageInit::ChoiceItem(radio->text()));
    else if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->setText(KvLanguageInit::Caption(button->text()));
    else if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(KvLanguageInit::Caption(label->text()));
    else if (auto* group = qobject_cast<QGroupBox*>(w))
        group->setTitle(KvLanguageInit::Caption(group->title()));
    else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemText(i, KvLanguageInit::ChoiceItem(combo->itemText(i)));
    } else if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i)
            tabs->setTabText(i, KvLanguageInit::Caption(tabs->tabText(i)));
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        QTreeWidgetItem* header = tree->headerItem();
        for (int i = 0; header && i < header->columnCount(); ++i)
            header->setText(i, KvLanguageInit::Caption(header->text(i)));
    }

    const QString hint = writtenHint(w, w->statusTip(), w->toolTip());
    if (!hint.isEmpty()) {
        const bool bare = w->property(KvLanguageInit::BareHintProperty).toBool();
        KvLanguageInit::ApplyHint(w, KvLanguageInit::Hint(hint, bare));
    }
}

} // namespace

namespace KvLanguageInit {

QString Caption(const QString& written)
{
    return KvTexts::ResolveReference(written);
}

QString ChoiceItem(const QString& written)
{
    if (isBareNumber(written))
        return KvTexts::ResolveHintNumber(written);
    return KvTexts::ResolveReference(written);
}

KvHint Hint(const QString& written, bool bareNumber)
{
    const QString text =
        bareNumber ? KvTexts::ResolveHintNumber(written) : KvTexts::ResolveReference(written);
    return KvTexts::SplitHint(text);
}

void ApplyHint(QObject* target, const KvHint& hint)
{
    if (auto* action = qobject_cast<QAction*>(target)) {
        action->setToolTip(hint.tooltip);
        action->setStatusTip(hint.statusText);
    } else if (auto* widget = qobject_cast<QWidget*>(target)) {
        widget->setToolTip(hint.tooltip);
        widget->setStatusTip(hint.statusText);
    }
    if (target->property(HintProperty).isValid())
        target->setProperty(HintProperty, QVariant());
}

void ResolveAction(QAction* action)
{
    if (!action || action->isSeparator() || !markResolved(action))
        return;
    // An action without a tooltip of its own reports its caption, stripped, as tooltip.
    const QString written = action->text();
    const QString derivedTip = QString(written).remove(u"..."_qs).remove(u'&');
    const QString ownTip = action->toolTip() == derivedTip ? QString() : action->toolTip();
    action->setText(Caption(written));
    const QString hint = writtenHint(action, action->statusTip(), ownTip);
    if (!hint.isEmpty())
        ApplyHint(action, Hint(hint, action->property(BareHintProperty).toBool()));
}

void ResolveMenu(QMenu* menu, int depth)
{
    if (!menu || depth <= 0)
        return;
    ResolveAction(menu->menuAction());
    for (QAction* item : menu->actions()) {
        if (QMenu* sub = item->menu())
            ResolveMenu(sub, depth - 1);
        else
            ResolveAction(item);
    }
}

void ResolveWidgetTree(QWidget* root)
{
    if (!root)
        return;
    for (QAction* action : root->findChildren<QAction*>())
        ResolveAction(action);
    for (QMenu* menu : root->findChildren<QMenu*>())
        ResolveMenu(menu);
    resolveWidget(root);
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!qobject_cast<QMenu*>(w))
            resolveWidget(w);
    }
}

} // namespace KvLanguageInit
