#include "ui/textreeview.h"

TexTreeView::TexTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void TexTreeView::SetNodeKind(QTreeWidgetItem* item, KvNodeKind kind)
{
    item->setData(0, NodeKindRole, static_cast<int>(kind));
}

KvNodeKind TexTreeView::NodeKind(const QTreeWidgetItem* item)
{
    if (!item)
        return KvNodeKind::None;
    const QVariant v = item->data(0, NodeKindRole);
    return v.isValid() ? static_cast<KvNodeKind>(v.toInt()) : KvNodeKind::None;
}

KvNodeKind TexTreeView::SelectedNodeKind() const
{
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? KvNodeKind::None : NodeKind(selected.first());
}
