#include "ui/kvhistorylist.h"

#include "ui/kvelementlistmodel.h"
#include "ui/kvlanguageinit.h"

#include <QMenu>

KvHistoryList::KvHistoryList(QWidget* parent) : QTreeView(parent)
{
    setObjectName(u"HistoryLV"_qs);
    m_rows = new KvElementListModel({u"#5000"_qs, u"#5001"_qs}, this);
    setModel(m_rows);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
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
    connect(this, &QWidget::customContextMenuRequested, menu,
            [this, menu](QPoint pos) { menu->popup(viewport()->mapToGlobal(pos)); });
}
