#include "ui/kvhistorylist.h"

#include "ui/kvlanguageinit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMenu>

KvHistoryList::KvHistoryList(QWidget* parent) : KvResultListView(parent)
{
    setObjectName(u"HistoryLV"_qs);
    SetListenerName(u"HistoryLV"_qs);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setProperty(KvLanguageInit::HintProperty, u"16006"_qs);
    hide();
}

void KvHistoryList::LanguageInit()
{
    KvLanguageInit::ApplyHint(
        this, KvLanguageInit::Hint(property(KvLanguageInit::HintProperty).toString(), true));
}

void KvHistoryList::SetContextMenu(QMenu* menu)
{
    m_menu = menu;
    connect(this, &QWidget::customContextMenuRequested, menu, [this, menu](QPoint pos) {
        Q_EMIT menuRequested();
        menu->popup(viewport()->mapToGlobal(pos));
    });
}

void KvHistoryList::focusOutEvent(QFocusEvent* event)
{
    KvResultListView::focusOutEvent(event);
    // The list's own menu takes the focus for a moment; anything else ends the list.
    if (event->reason() == Qt::PopupFocusReason || (m_menu && m_menu->isVisible()))
        return;
    if (isVisible())
        Q_EMIT left();
}

void KvHistoryList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        Q_EMIT left();
        return;
    }
    KvResultListView::keyPressEvent(event);
}
