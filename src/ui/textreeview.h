#pragma once

#include "commands/kvbuttonmode.h"

#include <QIcon>
#include <QTreeWidget>
#include <functional>

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
    };

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
    void ClearHandlers() { m_handlers = {}; }
    // The last key pressed while the tree had the focus.
    int LastKey() const { return m_lastKey; }
    // Expands or collapses a node with all its descendants.
    static void SetExpandedAll(QTreeWidgetItem* item, bool expanded);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QIcon composed(int image, int stateImage);

    QList<QIcon> m_images;
    QHash<quint64, QIcon> m_overlays;
    Handlers m_handlers;
    int m_lastKey = 0;
};
