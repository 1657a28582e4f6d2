#include "ui/textreeview.h"

#include <QApplication>
#include <QDrag>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
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
    // Drops are judged by the window; Qt never moves items itself.
    setDragEnabled(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setAutoScroll(false);
    // A drag resting at an edge keeps scrolling.
    m_scrollTimer.setInterval(100);
    connect(&m_scrollTimer, &QTimer::timeout, this, [this] { ScrollByNode(m_scrollStep); });
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
    if (event->button() == Qt::LeftButton) {
        m_pressPos = event->position().toPoint();
        m_dragArmed = itemAt(m_pressPos) != nullptr;
        if (m_handlers.mouseDown)
            m_handlers.mouseDown(itemAt(m_pressPos));
    }
}

void TexTreeView::mouseMoveEvent(QMouseEvent* event)
{
    // A press that moved the platform's threshold becomes a drag, when the window gives one.
    if (m_dragArmed && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - m_pressPos).manhattanLength() >=
            QApplication::startDragDistance()) {
        m_dragArmed = false;
        QTreeWidgetItem* node = itemAt(m_pressPos);
        if (QMimeData* data = m_handlers.startDrag ? m_handlers.startDrag() : nullptr) {
            runDrag(data, node);
            return;
        }
    }
    QTreeWidget::mouseMoveEvent(event);
}

void TexTreeView::runDrag(QMimeData* data, QTreeWidgetItem* node)
{
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    if (node && !node->icon(0).isNull())
        drag->setPixmap(node->icon(0).pixmap(iconSize().isValid() ? iconSize() : QSize(16, 16)));
    // Esc ends the drag without a drop.
    const Qt::DropAction action =
        m_dragRunner ? m_dragRunner(drag) : drag->exec(Qt::MoveAction, Qt::MoveAction);
    if (m_dragRunner)
        drag->deleteLater();
    autoScroll(0);
    if (m_handlers.dragEnded)
        m_handlers.dragEnded(action == Qt::MoveAction);
}

int TexTreeView::AutoScrollStep(int y, int height)
{
    if (y < AutoScrollMargin)
        return -1;
    if (y >= height - AutoScrollMargin)
        return 1;
    return 0;
}

void TexTreeView::ScrollByNode(int step)
{
    QTreeWidgetItem* top = itemAt(QPoint(1, 1));
    if (!top || step == 0)
        return;
    QTreeWidgetItem* next = step < 0 ? itemAbove(top) : itemBelow(top);
    if (step > 0) {
        // Down: the node below the top one comes to the top, while anything is below.
        if (!next || visualItemRect(lastVisibleNode()).bottom() < viewport()->height())
            return;
    }
    if (next)
        scrollToItem(next, QAbstractItemView::PositionAtTop);
}

QTreeWidgetItem* TexTreeView::lastVisibleNode() const
{
    QTreeWidgetItem* last =
        topLevelItemCount() > 0 ? topLevelItem(topLevelItemCount() - 1) : nullptr;
    while (last && last->isExpanded() && last->childCount() > 0)
        last = last->child(last->childCount() - 1);
    return last;
}

void TexTreeView::autoScroll(int step)
{
    if (step == m_scrollStep)
        return;
    m_scrollStep = step;
    if (step == 0) {
        m_scrollTimer.stop();
        return;
    }
    ScrollByNode(step);
    m_scrollTimer.start();
}

void TexTreeView::dragEnterEvent(QDragEnterEvent* event)
{
    // Every drag may come in; each position decides whether it may drop.
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void TexTreeView::dragMoveEvent(QDragMoveEvent* event)
{
    const QPoint pos = event->position().toPoint();
    autoScroll(AutoScrollStep(pos.y(), viewport()->height()));
    QTreeWidgetItem* node = itemAt(pos);
    const bool accepted = m_handlers.dragOver && m_handlers.dragOver(event->mimeData(), node);
    event->setDropAction(Qt::MoveAction);
    if (accepted)
        event->accept(node ? visualItemRect(node) : QRect());
    else
        event->ignore(node ? visualItemRect(node) : QRect());
}

void TexTreeView::dragLeaveEvent(QDragLeaveEvent* event)
{
    autoScroll(0);
    if (m_handlers.dragLeft)
        m_handlers.dragLeft();
    event->accept();
}

void TexTreeView::dropEvent(QDropEvent* event)
{
    autoScroll(0);
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    // The drop is judged again where it happens.
    if (!m_handlers.dragOver || !m_handlers.dragOver(event->mimeData(), node)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    if (m_handlers.drop)
        m_handlers.drop(event->mimeData(), node);
}

void TexTreeView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_dragArmed = false;
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
