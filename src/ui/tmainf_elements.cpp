// The main window's side of the element commands: the environment they work in, the
// command states that depend on the elements, the tabs that follow a folder's order, the
// tree's context menu, the Del key and the welcome page.
#include "app/kvidledriver.h"
#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "commands/kvfoldercommands.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementrules.h"
#include "elements/kvwelcomepage.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "ui/kvelementhooks.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

KvElementEnv TMainF::ElementEnv()
{
    KvElementEnv env;
    env.top = TopFolder();
    env.trash = TrashFolder();
    env.window = &m_elements->window;
    env.factory = &m_elements->factory;
    env.lists = &m_elements->lists;
    env.busy = &m_elements->busy;
    env.pageTemplate = &m_elements->pageTemplate;
    env.paste = &m_elements->paste;
    env.options = KvElementOptions::Read();
    env.fullAccess = m_shell.fullAccess;
    return env;
}

void TMainF::elementContext(KvCommandContext& c) const
{
    c.searchRunning = m_elements->busy.SearchRunning();
    c.progressOpen = m_elements->busy.ProgressOpen();
    c.pasteWaiting = m_elements->paste.HasAny();
    KvFolder* trash = TrashFolder();
    c.trashHasChildren = trash && trash->ChildCount() > 0;
    const KvElementOptions& o = m_elements->options.Get();
    const bool busy = c.Busy();
    if (KvPage* page = c.hasCurrentPage ? m_nav.curPage : nullptr) {
        c.deletePagePossible = KvElementRules::DeletePossible(page, c.fullAccess, busy, o);
        c.movePagePossible = KvElementRules::Move2FolderPossible(page, c.fullAccess, busy, o);
        const KvTopLast place = KvElementRules::GetElemStateTopLast(page);
        c.pageFirst = place.first;
        c.pageLast = place.last;
    }
    if (KvFolder* folder = c.hasCurrentFolder ? m_nav.curFolder : nullptr) {
        c.deleteFolderPossible = KvElementRules::DeletePossible(folder, c.fullAccess, busy, o);
        c.moveFolderPossible = KvElementRules::Move2FolderPossible(folder, c.fullAccess, busy, o);
        // The roots count as first and last.
        const KvTopLast place = KvElementRules::GetElemStateTopLast(folder);
        const bool root = KvElementRules::IsRoot(*folder);
        c.folderFirst = root || place.first;
        c.folderLast = root || place.last;
        c.folderChildCount = folder->ChildCount();
    }
}

void TMainF::showPagesOrNotice(KvFolder* folder)
{
    bool hasPages = false;
    for (KvObject* child : folder->Children())
        hasPages = hasPages || dynamic_cast<KvPage*>(child);
    if (hasPages) {
        m_ui.noPagesLbl->hide();
        m_ui.pagePC->show();
        return;
    }
    m_ui.pagePC->hide();
    const int text = folder->ChildCount() > 0 ? 5501 : 5500;
    m_ui.noPagesLbl->setText(u"\r\n"_qs + KvTexts::Text(text) + u"\r\n"_qs);
    m_ui.noPagesLbl->show();
}

void TMainF::TabsFollowOrder(KvFolder* folder)
{
    KV_LOG_SCOPE("TMainF::TabsFollowOrder");
    if (!folder || folder != m_nav.shownFolder)
        return;
    QTabWidget* area = m_ui.pagePC;
    const QSignalBlocker block(area);
    int index = 0;
    for (KvObject* child : folder->Children()) {
        auto* page = dynamic_cast<KvTVPage*>(child);
        if (!page)
            continue;
        if (!page->PageArea())
            page->AttachToPageArea(area, true, true);
        // The tab goes where the folder's order puts it (Qt moves its page along).
        if (QWidget* tab = page->Tab()) {
            const int at = area->indexOf(tab);
            if (at >= 0 && at != index)
                area->tabBar()->moveTab(at, index);
            ++index;
        }
    }
    if (folder->GetTabMode() != KvFolder::NoTabs)
        area->tabBar()->setVisible(true);
    showPagesOrNotice(folder);
}

void TMainF::ProcessEventsDuringCommand()
{
    // In a loop of its own: the exit sequence that a signal asks for waits until the
    // command has unwound (closeWhenUnwound looks at the loop level), and no idle pass
    // shows elements while the command works on them.
    const bool idle = m_idle->IsActive();
    m_idle->SetActive(false);
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    m_idle->SetActive(idle);
}

void TMainF::FolderTvEndDragnDrop(bool dropped)
{
    KV_LOG_SCOPE("TMainF::FolderTvEndDragnDrop");
    m_nav.mouseDown = m_nav.mouseUp = m_nav.expandHappened = false;
    if (dropped) {
        FolderTvChange();
        return;
    }
    if (auto* bound = dynamic_cast<KvTreeBound*>(m_nav.lastNode); bound && bound->Node())
        SelectNodeQuietly(bound->Node());
}

void TMainF::FolderTvPopupMPopup(const QPoint& pos)
{
    KV_LOG_SCOPE("TMainF::FolderTvPopupMPopup");
    TexTreeView* tree = m_ui.folderTv;
    // The node under the mouse; from the keyboard the selected one.
    QTreeWidgetItem* node = tree->itemAt(pos);
    prepareTreeMenu(node ? node : tree->currentItem());
    m_ui.folderTvPopupM->popup(tree->viewport()->mapToGlobal(pos));
}

void TMainF::prepareTreeMenu(QTreeWidgetItem* node)
{
    KvObject* obj = KvTreeNode::ObjectOf(node);
    auto* page = dynamic_cast<KvPage*>(obj);
    auto* folder = page ? dynamic_cast<KvFolder*>(page->Parent()) : dynamic_cast<KvFolder*>(obj);
    SetTempElements(page, folder);

    const KvElementOptions& o = m_elements->options.Get();
    const bool search = m_elements->busy.SearchRunning();
    KvTreeMenuContext m;
    m.newPage = Action(u"CreateNewPageA"_qs)->isEnabled();
    m.newFolder = Action(u"CreateNewFolderA"_qs)->isEnabled();
    m.folderProps = Action(u"FolderPropsA"_qs)->isEnabled();
    m.emptyTrash = Action(u"EmptyTrashA"_qs)->isEnabled();
    m.pasteWaiting = m_elements->paste.HasAny();
    if (page) {
        m.kind = KvNodeKind::Page;
        m.writable = m_shell.fullAccess && page->GetWritable();
        m.inTrash = TrashFolder() && KvElementRules::InTrash(*page, *TrashFolder());
        m.deletePossible = KvElementRules::DeletePossible(page, m_shell.fullAccess, search, o);
        m.movePossible = KvElementRules::Move2FolderPossible(page, m_shell.fullAccess, search, o);
        m.shownAndLoaded = page == m_nav.curPage && page->IsLoaded();
    } else if (folder) {
        m.kind = KvNodeKind::Folder;
        m.writable = m_shell.fullAccess && folder->GetWritable();
        m.isRoot = KvElementRules::IsRoot(*folder);
        m.deletePossible = KvElementRules::DeletePossible(folder, m_shell.fullAccess, search, o);
        m.movePossible = KvElementRules::Move2FolderPossible(folder, m_shell.fullAccess, search, o);
    }
    m_commands.Handler<KvFolderCommands>()->PrepareTreeMenu(m);
}

bool TMainF::elementKeyDown(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Delete || event->modifiers() != Qt::NoModifier)
        return false;
    TexTreeView* tree = m_ui.folderTv;
    if (!tree->hasFocus() || !tree->currentItem() || m_nav.eventsStopped > 0)
        return false;
    // The selected node's element, as the context menu's delete item takes it: the
    // highlight moved by the arrow keys need not be the element shown.
    prepareTreeMenu(tree->currentItem());
    QAction* del = Action(u"DelPMI"_qs);
    if (del && del->isEnabled())
        del->trigger();
    return true;
}

bool TMainF::WelcomePage()
{
    const QString file = KvPaths::WelcomeFile();
    if (file.isEmpty() || !TopFolder())
        return false;
    m_nav.curFolder = TopFolder();
    KvElementEnv env = ElementEnv();
    return KvWelcomePage::Create(env, file) != nullptr;
}
