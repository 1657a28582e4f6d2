#include "ui/textreeview.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TexTreeView::TexTreeView(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    // Names are never cut: the column is as wide as the widest name shown (Qt measures a
    // bounded number of rows), and the tree scrolls sideways when the names are wider.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setTextElideMode(Qt::ElideNone);
    setUniformRowHeights(true);
    setIndentation(16);
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

void TexTreeView::SetImages(const QList<QIcon>& images)
{
    m_images = images;
    m_overlays.clear();
}

QIcon TexTreeView::Image(int index) const
{
    return index >= 0 && index < m_images.size() ? m_images[index] : QIcon();
}

QIcon TexTreeView::composed(int image, int stateImage)
{
    if (stateImage < 0)
        return Image(image);
    const quint64 key = (quint64(quint32(image)) << 32) | quint32(stateImage);
    auto it = m_overlays.constFind(key);
    if (it != m_overlays.cend())
        return *it;
    QPixmap base = Image(image).pixmap(16, 16);
    if (base.isNull()) {
        base = QPixmap(16, 16);
        base.fill(Qt::transparent);
    }
    {
        QPainter p(&base);
        p.drawPixmap(QRect(6, 6, 10, 10), Image(stateImage).pixmap(10, 10));
    }
    const QIcon icon(base);
    m_overlays.insert(key, icon);
    return icon;
}

void TexTreeView::SetNodeImages(QTreeWidgetItem* item, int image, int stateImage)
{
    // Unchanged images cost no change notification (a whole tree changes access at once).
    const QVariant oldImage = item->data(0, ImageRole);
    if (oldImage.isValid() && oldImage.toInt() == image &&
        item->data(0, StateImageRole).toInt() == stateImage && !item->icon(0).isNull())
        return;
    item->setData(0, ImageRole, image);
    item->setData(0, SelectedImageRole, image);
    item->setData(0, StateImageRole, stateImage);
    item->setIcon(0, composed(image, stateImage));
}

void TexTreeView::SetExpandedAll(QTreeWidgetItem* item, bool expanded)
{
    if (!item)
        return;
    for (int i = 0; i < item->childCount(); ++i)
        SetExpandedAll(item->child(i), expanded);
    item->setExpanded(expanded);
}

void TexTreeView::mousePressEvent(QMouseEvent* event)
{
    // The context menu acts on the node under the mouse; the selection stays.
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && m_handlers.mouseDown)
        m_handlers.mouseDown(itemAt(event->position().toPoint()));
}

void TexTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && m_handlers.mouseUp)
        m_handlers.mouseUp();
}

void TexTreeView::keyPressEvent(QKeyEvent* event)
{
    m_lastKey = event->key();
    if (m_handlers.keyDown && m_handlers.keyDown(event))
        return;
    QTreeWidget::keyPressEvent(event);
}
