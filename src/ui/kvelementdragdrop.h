#pragma once

#include "ui/textreeview.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

class KvObject;
class QTabBar;
class QTabWidget;
class TMainF;

// Dragging elements in the navigation tree and from the tabs onto the tree's folders. A
// drag carries KvElementDrag (this process, this data directory, the id); a drop moves
// the element through the element operations after the questions a move asks, once the
// drag is over. Drops on the page area are refused (5018).
class KvElementDragDrop : public QObject
{
    Q_OBJECT
public:
    explicit KvElementDragDrop(TMainF& window);

    // The tree's hooks (TexTreeView::Handlers).
    QMimeData* StartTreeDrag();
    bool DragOver(const QMimeData* mime, QTreeWidgetItem* node);
    void Drop(const QMimeData* mime, QTreeWidgetItem* node);
    void DragLeft();
    void DragEnded(bool dropped);

    // Lets the tabs of the page area start drags and refuse drops.
    void AttachPageArea(QTabWidget* area);
    // Tests run drags without the platform's drag loop.
    void SetDragRunner(TexTreeView::DragRunner runner) { m_runner = std::move(runner); }
    // The element being dragged; empty while none is.
    const QString& DragId() const { return m_dragId; }
    // The text a drag over the window shows in the first status panel; empty when none.
    // The window's own texts for that panel wait meanwhile.
    const QString& StatusText() const { return m_status; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Starts a drag of obj when the rules allow it; the payload, or none.
    QMimeData* startDrag(KvObject* obj);
    bool tabBarEvent(QTabBar* bar, QEvent* event);
    void runPendingDrop();
    // The drag's text in the first status panel.
    void showStatus(const QString& text);

    TMainF& m_w;
    TexTreeView::DragRunner m_runner;
    QString m_dragId;
    QString m_status;
    bool m_dragging = false; // a drag of ours runs its loop
    QString m_dropDragId;    // a drop waiting for the end of the drag
    QString m_dropTargetId;
    QPointer<QTabWidget> m_area;
    QPoint m_tabPress;
    bool m_tabArmed = false;
};
