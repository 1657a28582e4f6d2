#pragma once

#include "commands/kvbuttonmode.h"

#include <QIcon>
#include <QPoint>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

class QDrag;
class QMimeData;

// The navigation tree control. Each node carries the kind of its element in
// NodeKindRole, its image indices in ImageRole, SelectedImageRole and StateImageRole
// (-1: none); the icons come from the tree's image list.
class TexTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    static constexpr int NodeKindRole = Qt::UserRole + 1;
    static constexpr int ImageRole = Qt::UserRole + 2;
    static constexpr int SelectedImageRole = Qt::UserRole + 3;
    static constexpr int StateImageRole = Qt::UserRole + 4;

    // What the window wants to see of mouse and keys; none while its handlers are detached.
    struct Handlers
    {
        std::function<void(QTreeWidgetItem*)> mouseDown; // left button
        std::function<void()> mouseUp;                   // left button
        std::function<bool(QKeyEvent*)> keyDown;         // true: the key was used
        // Dragging elements. Qt's own moves of items stay off: the window moves elements.
        std::function<QMimeData*()> startDrag; // the data of a drag from here; none: no drag
        // A drag is over node (none: no node there); true when a drop there is accepted.
        std::function<bool(const QMimeData*, QTreeWidgetItem*)> dragOver;
        std::function<void(const QMimeData*, QTreeWidgetItem*)> drop;
        std::function<void()> dragLeft;
        std::function<void(bool dropped)> dragEnded; // a drag started here is over
    };
    // Runs a drag that was started (QDrag::exec); tests put their own in.
    using DragRunner = std::function<Qt::DropAction(QDrag*)>;

    // The margin at the top and bottom edge in which a drag scrolls the tree.
    static constexpr int AutoScrollMargin = 5;
    // Nodes to scroll for a drag at height y of a viewport of that height: -1 up at or
    // above the top margin, 1 down at or below the bottom margin, else 0.
    static int AutoScrollStep(int y, int height);

    explicit TexTreeView(QWidget* parent = nullptr);

    static void SetNodeKind(QTreeWidgetItem* item, KvNodeKind kind);
    static KvNodeKind NodeKind(const QTreeWidgetItem* item);
    // The kind of the selected node; None without a selection.
    KvNodeKind SelectedNodeKind() const;

    void SetImages(const QList<QIcon>& images);
    int ImageCount() const { return int(m_images.size()); }
    QIcon Image(int index) const;
    // Sets a node's image and state image (the icon shows the state image as an overlay).
    void SetNodeImages(QTreeWidgetItem* item, int image, int stateImage);

    void SetHandlers(const Handlers& handlers) { m_handlers = handlers; }
    void SetDragRunner(DragRunner runner) { m_dragRunner = std::move(runner); }
    // Scrolls by one visible node: up for a negative step, down for a positive one.
    void ScrollByNode(int step);
    void ClearHandlers() { m_handlers = {}; }
    // The last key pressed while the tree had the focus.
    int LastKey() const { return m_lastKey; }
    // Expands or collapses a node with all its descendants.
    static void SetExpandedAll(QTreeWidgetItem* item, bool expanded);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QIcon composed(int image, int stateImage);
    void runDrag(QMimeData* data, QTreeWidgetItem* node);
    void autoScroll(int step);
    // The last node shown when scrolled to the end.
    QTreeWidgetItem* lastVisibleNode() const;

    QList<QIcon> m_images;
    QHash<quint64, QIcon> m_overlays;
    Handlers m_handlers;
    DragRunner m_dragRunner;
    int m_lastKey = 0;
    // A left press that may turn into a drag.
    QPoint m_pressPos;
    bool m_dragArmed = false;
    QTimer m_scrollTimer;
    int m_scrollStep = 0;
};
