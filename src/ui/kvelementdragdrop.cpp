#include "ui/kvelementdragdrop.h"

#include "app/kvpaths.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "commands/kvelementdrag.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementmove.h"
#include "elements/kvelementrules.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "ui/kvelementhooks.h"
#include "ui/kvtreenode.h"
#include "ui/tmainf.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

namespace {

constexpr int kTextDropOnTree = 5018;

} // namespace

KvElementDragDrop::KvElementDragDrop(TMainF& window) : QObject(&window), m_w(window) {}

QMimeData* KvElementDragDrop::startDrag(KvObject* obj)
{
    KvElementHooks& hooks = m_w.Elements();
    if (!obj || !KvElementRules::CanStartDrag(*obj, m_w.Shell().fullAccess,
                                              hooks.busy.SearchRunning(), hooks.options.Get()))
        return nullptr;
    m_dragId = obj->Id();
    m_dragging = true;
    const KvElementDrag payload{KvPaths::DataDir(), QCoreApplication::applicationPid(), {m_dragId}};
    return payload.ToMime();
}

QMimeData* KvElementDragDrop::StartTreeDrag()
{
    KV_LOG_SCOPE("TMainF::FolderTvStartDrag");
    return startDrag(KvTreeNode::ObjectOf(m_w.Controls().folderTv->currentItem()));
}

bool KvElementDragDrop::DragOver(const QMimeData* mime, QTreeWidgetItem* node)
{
    const KvDropVerdict verdict = KvJudgeDrop(
        mime, KvTreeNode::ObjectOf(node), QCoreApplication::applicationPid(), KvPaths::DataDir());
    showStatus(KvTexts::Text(verdict.statusText));
    return verdict.accepted;
}

void KvElementDragDrop::Drop(const QMimeData* mime, QTreeWidgetItem* node)
{
    KV_LOG_SCOPE("TMainF::FolderTvDragDrop");
    const std::optional<KvElementDrag> payload = KvElementDrag::FromMime(mime);
    KvObject* target = KvTreeNode::ObjectOf(node);
    if (!payload || !target)
        return;
    // The move asks questions: it runs once the drag is over, not inside its loop.
    m_dropDragId = payload->ids.first();
    m_dropTargetId = target->Id();
    if (!m_dragging)
        QTimer::singleShot(0, this, [this] { runPendingDrop(); });
}

void KvElementDragDrop::DragLeft()
{
    showStatus(QString());
}

void KvElementDragDrop::showStatus(const QString& text)
{
    m_status = text;
    m_w.SetStatusPanelText(0, text);
}

void KvElementDragDrop::DragEnded(bool dropped)
{
    KV_LOG_SCOPE("TMainF::FolderTvEndDrag");
    m_dragging = false;
    m_dragId.clear();
    showStatus(QString());
    m_w.StatusBarModifText(m_w.ShownPage());
    if (dropped && !m_dropTargetId.isEmpty()) {
        runPendingDrop();
        return;
    }
    m_dropDragId.clear();
    m_dropTargetId.clear();
    m_w.FolderTvEndDragnDrop(false);
}

void KvElementDragDrop::runPendingDrop()
{
    const QString dragId = std::exchange(m_dropDragId, QString());
    const QString targetId = std::exchange(m_dropTargetId, QString());
    KvObject* obj = FindObject(dragId);
    auto* target = dynamic_cast<KvFolder*>(FindObject(targetId));
    if (!obj || !target) {
        m_w.FolderTvEndDragnDrop(false);
        return;
    }
    bool moved = false;
    try {
        KvElementEnv env = m_w.ElementEnv();
        KvElementEdit edit(env);
        KvElementMove move(env);
        const bool intoTrash = KvElementRules::InTrash(*target, *env.trash);
        bool go = false;
        // A drop into the trash is a delete: both questions; a template loses its use.
        if (auto* page = dynamic_cast<KvPage*>(obj)) {
            go = (!intoTrash || edit.DeletePageConfirmed(*page)) && move.MovePageConfirmed(*page);
            if (go && intoTrash)
                edit.RemoveTemplUsage(*page);
        } else if (auto* folder = dynamic_cast<KvFolder*>(obj)) {
            go = (!intoTrash || edit.DeleteFolderConfirmed(*folder)) &&
                 move.MoveFolderConfirmed(*folder);
            if (go && intoTrash)
                edit.RemoveTemplUsage(*folder);
        }
        if (go) {
            move.Move(*obj, *target, true);
            moved = true;
        }
    } catch (const KvException& e) {
        KvPrompter::ShowMessage(KvTexts::Text(5007), e.Message(), KvMsgKind::Error);
    }
    m_w.FolderTvEndDragnDrop(moved);
}

void KvElementDragDrop::AttachPageArea(QTabWidget* area)
{
    m_area = area;
    area->setAcceptDrops(true);
    area->installEventFilter(this);
    area->tabBar()->setAcceptDrops(true);
    area->tabBar()->installEventFilter(this);
}

bool KvElementDragDrop::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        // The page area takes no drop: the way is onto a folder of the tree.
        auto* e = static_cast<QDragMoveEvent*>(event);
        if (!e->mimeData()->hasFormat(KvElementDrag::MimeType))
            return false;
        showStatus(KvTexts::Text(kTextDropOnTree));
        e->ignore();
        return true;
    }
    case QEvent::Drop:
        if (static_cast<QDropEvent*>(event)->mimeData()->hasFormat(KvElementDrag::MimeType)) {
            event->ignore();
            return true;
        }
        return false;
    default:
        break;
    }
    if (auto* bar = qobject_cast<QTabBar*>(watched))
        return tabBarEvent(bar, event);
    return false;
}

bool KvElementDragDrop::tabBarEvent(QTabBar* bar, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto* e = static_cast<QMouseEvent*>(event);
        // A press that changes the tab only changes the tab; a press on the tab shown may
        // turn into a drag.
        const int at = bar->tabAt(e->position().toPoint());
        m_tabArmed = e->button() == Qt::LeftButton && at >= 0 && at == bar->currentIndex();
        m_tabPress = e->position().toPoint();
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        m_tabArmed = false;
        return false;
    }
    if (event->type() != QEvent::MouseMove || !m_tabArmed)
        return false;
    auto* e = static_cast<QMouseEvent*>(event);
    if (!(e->buttons() & Qt::LeftButton) ||
        (e->position().toPoint() - m_tabPress).manhattanLength() <
            QApplication::startDragDistance())
        return false;
    m_tabArmed = false;
    KV_LOG_SCOPE("TMainF::PagePCMouseDown");
    QMimeData* data = startDrag(m_w.PageAtTab(m_area ? m_area->currentWidget() : nullptr));
    if (!data)
        return false;
    auto* drag = new QDrag(bar);
    drag->setMimeData(data);
    const Qt::DropAction action =
        m_runner ? m_runner(drag) : drag->exec(Qt::MoveAction, Qt::MoveAction);
    if (m_runner)
        drag->deleteLater();
    DragEnded(action == Qt::MoveAction);
    return true;
}
