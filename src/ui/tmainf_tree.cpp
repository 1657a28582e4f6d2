// The notebook in the navigation tree: building it when a directory opens, lost-element
// recovery, storing folders, expand and collapse all, and tearing it down.
#include "app/kvdirprops.h"
#include "app/kvidledriver.h"
#include "app/kvpaths.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementenv.h"
#include "lists/kvsearchtextcache.h"
#include "model/kvaddstatus.h"
#include "model/kvdircontext.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpasswordasker.h"
#include "model/kvstatusimages.h"
#include "platform/applog.h"
#include "store/texmeminifile.h"
#include "store/waitcrsr.h"
#include "ui/kvelementdragdrop.h"
#include "ui/kvelementhooks.h"
#include "ui/kvmainlists.h"
#include "ui/kvmainsearch.h"
#include "ui/kvtreebulkupdate.h"
#include "ui/kvtvfactory.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"
#include "ui/tpasswordf.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTabWidget>

namespace {

const QString kLastPage = u"LastPage"_qs;

QList<QIcon> TreeImages(const KvAddStatus& catalogue)
{
    QList<QIcon> images;
    for (int i = 0; !KvStatusImages::BuiltInImage(i).isEmpty(); ++i)
        images.append(QIcon(KvStatusImages::BuiltInImage(i)));
    for (int k = 0; k < catalogue.Count(); ++k) {
        const QString file = catalogue.IconFileAt(k);
        images.append(QFileInfo::exists(file) ? QIcon(file) : QIcon());
    }
    return images;
}

} // namespace

KvTVFolder* TMainF::TopFolder() const
{
    return m_notebook ? static_cast<KvTVFolder*>(m_notebook->top.get()) : nullptr;
}

KvTVFolder* TMainF::TrashFolder() const
{
    return m_notebook ? static_cast<KvTVFolder*>(m_notebook->trash.get()) : nullptr;
}

void TMainF::setupNavigation()
{
    m_dirCtx = std::make_unique<KvDirContext>();
    m_passwordAsker = std::make_unique<KvDialogPasswordAsker>(this);
    KvPasswordAsker::SetCurrent(m_passwordAsker.get());
    m_statusCatalogue = std::make_unique<KvAddStatus>();
    KvTreeBound::SetGoneHandler(
        [](void* w, KvObject* obj) { static_cast<TMainF*>(w)->forgetElement(obj); }, this);
    TexTreeView* tree = m_ui.folderTv;
    auto* drag = new KvElementDragDrop(*this);
    m_elements->drag = drag;
    drag->AttachPageArea(m_ui.pagePC);
    TexTreeView::Handlers handlers;
    handlers.mouseDown = [this](QTreeWidgetItem* node) { FolderTvMouseDown(node); };
    handlers.mouseUp = [this] { FolderTvMouseUp(); };
    handlers.keyDown = [this](QKeyEvent* e) { return treeKeyDown(e); };
    handlers.startDrag = [drag] { return drag->StartTreeDrag(); };
    handlers.dragOver = [drag](const QMimeData* m, QTreeWidgetItem* n) {
        return drag->DragOver(m, n);
    };
    handlers.drop = [drag](const QMimeData* m, QTreeWidgetItem* n) { drag->Drop(m, n); };
    handlers.dragLeft = [drag] { drag->DragLeft(); };
    handlers.dragEnded = [drag](bool dropped) { drag->DragEnded(dropped); };
    tree->SetHandlers(handlers);
    connect(tree, &QTreeWidget::itemExpanded, this, &TMainF::FolderTvExpandedOrCollapsed);
    connect(tree, &QTreeWidget::itemCollapsed, this, &TMainF::FolderTvExpandedOrCollapsed);
    connect(m_ui.pagePC, &QTabWidget::currentChanged, this,
            [this] { guarded([this] { PagePCChange(); }); });
}

void TMainF::buildTree(const KvDirProps& props)
{
    KV_LOG_SCOPE("TMainF::BuildTree");
    TexTreeView* tree = m_ui.folderTv;
    // Wait cursor; the tree is stopped and emptied.
    WaitCrsr busy;
    FolderTvEventStop();
    struct EventsBack
    {
        TMainF* w;
        ~EventsBack() { w->FolderTvEventStart(); }
    } eventsBack{this};
    m_notebook.reset();
    m_nav = NavState{};
    m_nav.eventsStopped = 1;
    // Texts kept from another directory's pages are of no use here.
    KvSearchTextCache::Clear();

    m_dirCtx->dataDir = KvPaths::DataDir();
    m_dirCtx->fileExt = props.FileExt().isEmpty() ? u"kvp"_qs : props.FileExt();
    m_dirCtx->groupDir = m_shell.groupDir;
    m_dirCtx->writable = m_shell.fullAccess;
    m_dirCtx->highestContentNumber = -1; // listed again: another instance may have added pages
    m_dirCtx->journal = m_journal.get();
    KvDirContext::SetCurrent(m_dirCtx.get());
    {
        KvTreeBulkUpdate bulk(tree);
        tree->clear();
        // The status catalogue and its images.
        m_statusCatalogue->LoadForDirectory(KvPaths::DataDir());
        tree->SetImages(TreeImages(*m_statusCatalogue));
        // Both root folders with their subtrees from snapshots of the stores, referrers bound.
        KvTVFactory factory(tree);
        m_notebook = std::make_unique<KvNotebook>(KvNotebookBuild::Build(factory));
        TopFolder()->AttachRootNode();
        TrashFolder()->AttachRootNode();
        // Folders collapsed at start when the directory asks for it.
        if (props.CollapseFldrAtStart() && !m_shell.switchingAccess) {
            TexTreeView::SetExpandedAll(TrashFolder()->Node(), false);
            QTreeWidgetItem* top = TopFolder()->Node();
            for (int i = 0; top && i < top->childCount(); ++i)
                TexTreeView::SetExpandedAll(top->child(i), false);
            if (top)
                top->setExpanded(true);
        }
    }
    // The browse history starts anew for this directory.
    m_lists->BindHistory();
    // Lost elements are put back into the tree (full access with the lock only).
    if (m_shell.fullAccess && m_lock && FindLostElements(*m_notebook->objectSnapshot)) {
        MessageBox(KvTexts::Text(5071), KvTexts::Message(5072, {m_nav.curFolder->Name()}),
                   KvMsgKind::Info);
    }
    m_notebook->objectSnapshot.reset();
    // The whole notebook takes the directory's access.
    if (TopFolder()->GetWritable() != m_shell.fullAccess) {
        const KvTreeBulkUpdate bulk(tree);
        TopFolder()->SetWritable(m_shell.fullAccess);
        TrashFolder()->SetWritable(m_shell.fullAccess);
    }
    // Bookmarks and saved search results.
    m_lists->LoadLists();
    // Nothing copied in another notebook waits to be pasted here.
    m_elements->paste.Clear();
}

bool TMainF::FindLostElements(KvPropReader& objectSnapshot)
{
    KvLogScope log("TMainF::FindLostElements");
    if (!TopFolder())
        return false;
    KvTVFactory factory(m_ui.folderTv);
    KvRecoveryResult r;
    {
        KvTreeBulkUpdate bulk(m_ui.folderTv);
        r = KvNotebookBuild::RecoverLostElements(*TopFolder(), objectSnapshot, factory,
                                                 QDateTime::currentDateTime(),
                                                 [this](KvFolder& top) { StoreFolder(&top); });
        if (auto* f = dynamic_cast<KvTVFolder*>(r.folder); f && f->Node())
            f->Node()->setExpanded(true);
    }
    if (!r.folder) {
        log.Exit(1);
        return false;
    }
    m_nav.curFolder = r.folder;
    m_shell.pendingObjectId = r.folder->Id();
    if (m_idle)
        m_idle->Request();
    return true;
}

void TMainF::StoreFolder(KvFolder* folder)
{
    KV_LOG_SCOPE("TMainF::StoreFolder");
    if (!folder)
        return;
    if (folder == m_nav.tempExpanded) {
        if (auto* f = dynamic_cast<KvTVFolder*>(folder)) {
            const KvTreeBulkUpdate bulk(m_ui.folderTv);
            TexTreeView::SetExpandedAll(f->Node(), false);
        }
    }
    folder->Store();
    if (folder == m_nav.tempExpanded)
        m_nav.tempExpanded = nullptr;
}

void TMainF::destroyTree()
{
    KV_LOG_SCOPE("TMainF::DestroyTree");
    if (!m_notebook)
        return;
    // The tree's handlers rest from here on.
    FolderTvEventStop();
    // The shown page is saved and unloaded, the shown folder stored. A failure is
    //    reported and the rest is still saved.
    guarded([this] { Show(static_cast<KvPage*>(nullptr)); });
    guarded([this] { Show(static_cast<KvFolder*>(nullptr)); });
    guarded([this] {
        if (m_nav.curFolder && m_nav.curFolder->GetWritable())
            StoreFolder(m_nav.curFolder);
    });
    // The last page of the directory.
    guarded([this] {
        if (TopFolder() && TopFolder()->GetWritable()) {
            TexIniFile& store = KvDirContext::FldrStore();
            store.WriteString(TopFolder()->Id(), kLastPage,
                              m_nav.curPage ? m_nav.curPage->Id() : QString());
            store.UpdateFile();
        }
    });
    // The search window closes (a running search stopped and waited for), its rows go.
    guarded([this] { m_search->CloseForDirectory(); });
    // The saved results and the history are written.
    guarded([this] { m_lists->StoreAtExit(); });
    // The trash is emptied when the options ask for it (a forced exit never asks).
    guarded([this] {
        KvElementEnv env = ElementEnv();
        KvElementEdit(env).EmptyTrashAtExit(m_shell.forcedExit);
    });
    // The bookmarks and saved results go before the notebook.
    m_lists->CloseDirectory();
    // The notebook is destroyed with the tree's redrawing suspended.
    {
        const KvTreeBulkUpdate bulk(m_ui.folderTv);
        m_notebook.reset();
        m_ui.folderTv->clear();
    }
    m_nav = NavState{};
    if (&KvDirContext::Current() == m_dirCtx.get())
        KvDirContext::SetCurrent(nullptr);
}

bool TMainF::treeKeyDown(QKeyEvent* event)
{
    if (m_nav.eventsStopped > 0)
        return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        guarded([this] { FolderTvChange(); });
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if (event->modifiers() & Qt::KeypadModifier) {
            if (QTreeWidgetItem* node = m_ui.folderTv->currentItem();
                node && TexTreeView::NodeKind(node) == KvNodeKind::Folder) {
                node->setExpanded(event->key() == Qt::Key_Plus);
                return true;
            }
        }
        return false;
    default:
        return false;
    }
}

void TMainF::FolderTvEventStop()
{
    ++m_nav.eventsStopped;
}

void TMainF::FolderTvEventStart()
{
    if (m_nav.eventsStopped > 0)
        --m_nav.eventsStopped;
}

void TMainF::FolderTvMouseDown(QTreeWidgetItem*)
{
    if (m_nav.eventsStopped > 0)
        return;
    m_nav.mouseDown = true;
}

void TMainF::FolderTvMouseUp()
{
    if (m_nav.eventsStopped > 0)
        return;
    if (m_nav.expandHappened) {
        m_nav.mouseDown = m_nav.mouseUp = m_nav.expandHappened = false;
        return;
    }
    m_nav.mouseUp = true;
    if (m_idle)
        m_idle->Request();
}

void TMainF::FolderTvExpandedOrCollapsed(QTreeWidgetItem* node)
{
    if (m_nav.eventsStopped > 0)
        return;
    if (auto* folder = dynamic_cast<KvTVFolder*>(KvTreeNode::ObjectOf(node))) {
        if (folder->GetWritable() && !folder->IsRemoved())
            guarded([folder] { folder->StoreExpanded(); });
    }
    m_nav.expandHappened = true;
}

void TMainF::SpecialHandlingTreeview()
{
    if (m_nav.expandHappened &&
        (!m_nav.mouseDown || !(QGuiApplication::mouseButtons() & Qt::LeftButton)))
        m_nav.expandHappened = false;
    if (m_nav.mouseDown && m_nav.mouseUp && !m_nav.expandHappened) {
        m_nav.mouseDown = m_nav.mouseUp = false;
        FolderTvChange();
    }
}
