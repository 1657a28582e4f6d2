// Showing the selection of the navigation tree and the tabs: which folder and page are
// shown, loading, saving and unloading pages, and the status-bar texts about them.
#include "app/kvidledriver.h"
#include "app/kvoptionsg.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "commands/kvcommandhandler.h"
#include "commands/kvviewcommands.h"
#include "lists/kvsearchcrit.h"
#include "model/kvaddstatus.h"
#include "model/kvdircontext.h"
#include "model/kvnewpagelayout.h"
#include "model/kvpagejournal.h"
#include "platform/applog.h"
#include "richtext/texrichedit.h"
#include "store/waitcrsr.h"
#include "ui/kvelementdragdrop.h"
#include "ui/kvelementhooks.h"
#include "ui/kvmainlists.h"
#include "ui/kvmainsearch.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTabWidget>

namespace {

QTreeWidgetItem* NodeOf(KvObject* obj)
{
    if (auto* f = dynamic_cast<KvTVFolder*>(obj))
        return f->Node();
    if (auto* p = dynamic_cast<KvTVPage*>(obj))
        return p->Node();
    return nullptr;
}

QString PageText(const KvPage* page, int what)
{
    return KvTexts::Text(5000) + u" '" + page->Name() + u"' " + KvTexts::Text(what);
}

} // namespace

void TMainF::guarded(const std::function<void()>& work)
{
    try {
        work();
    } catch (const KvException& e) {
        if (m_collectedErrors)
            m_collectedErrors->append(e.Message());
        else
            MessageBox(KvTexts::Text(5007), e.Message(), KvMsgKind::Error);
    }
}

bool TMainF::hasTreeNode(KvObject* obj) const
{
    return NodeOf(obj) != nullptr;
}

void TMainF::SelectNodeQuietly(QTreeWidgetItem* node)
{
    TexTreeView* tree = m_ui.folderTv;
    FolderTvEventStop();
    {
        const QSignalBlocker block(tree);
        for (QTreeWidgetItem* p = node ? node->parent() : nullptr; p; p = p->parent())
            p->setExpanded(true);
        tree->setCurrentItem(node);
    }
    FolderTvEventStart();
    UpdateCommandStates();
}

void TMainF::MakeVisible(QTreeWidgetItem* node, bool keepHorizontalScroll)
{
    if (!node)
        return;
    QScrollBar* bar = m_ui.folderTv->horizontalScrollBar();
    const int h = bar->value();
    m_ui.folderTv->scrollToItem(node);
    if (keepHorizontalScroll)
        bar->setValue(h);
}

void TMainF::FolderTvChange()
{
    KvLogScope log("TMainF::FolderTvChange");
    WaitCrsr busy;
    // Nothing without a selected node.
    QTreeWidgetItem* node = m_ui.folderTv->currentItem();
    KvObject* obj = KvTreeNode::ObjectOf(node);
    if (!obj || !TopFolder()) {
        log.Exit(1);
        return;
    }
    // The selected element becomes current.
    m_nav.curFolder = dynamic_cast<KvFolder*>(obj);
    m_nav.curPage = dynamic_cast<KvPage*>(obj);
    // The tree's handlers rest while the selection is shown.
    FolderTvEventStop();
    struct EventsBack
    {
        TMainF* w;
        ~EventsBack() { w->FolderTvEventStart(); }
    } eventsBack{this};
    // A page's folder is current with it; a folder shows its active page.
    if (m_nav.curPage)
        m_nav.curFolder = dynamic_cast<KvFolder*>(m_nav.curPage->Parent());
    else if (m_nav.curFolder)
        m_nav.curPage = m_nav.curFolder->GetActivePage();
    // Without a folder, the top folder.
    if (!m_nav.curFolder) {
        m_nav.curFolder = TopFolder();
        node = TopFolder()->Node();
        SelectNodeQuietly(node);
    }
    // The folder's pages as tabs, then the page (not while a new page is being made).
    Show(m_nav.curFolder);
    if (!m_nav.creatingPage)
        Show(m_nav.curPage);
    // The folder remembers the page shown.
    m_nav.curFolder->SetActivePage(m_nav.curPage);
    // The node gets the focus and is scrolled into view.
    if (node) {
        m_ui.folderTv->setFocus();
        MakeVisible(node, true);
    }
    // Remembered for temporary actions.
    m_nav.lastNode = KvTreeNode::ObjectOf(node);
    m_nav.lastPage = m_nav.curPage;
    m_nav.lastFolder = m_nav.curFolder;
}

KvPage* TMainF::PageAtTab(QWidget* tab) const
{
    if (!tab || !m_nav.curFolder)
        return nullptr;
    QWidget* active = m_ui.pagePC->currentWidget();
    for (KvObject* child : m_nav.curFolder->Children()) {
        auto* page = dynamic_cast<KvTVPage*>(child);
        if (page && page->Tab() && page->Tab() == active)
            return page;
    }
    return nullptr;
}

void TMainF::PagePCChange()
{
    if (m_nav.eventsStopped > 0 || !m_nav.curFolder)
        return;
    KV_LOG_SCOPE("TMainF::PagePCChange");
    KvPage* page = PageAtTab(m_ui.pagePC->currentWidget());
    if (!page)
        return;
    m_nav.curPage = page;
    Show(page);
    auto* folder = dynamic_cast<KvTVFolder*>(m_nav.curFolder);
    QTreeWidgetItem* node = NodeOf(page);
    if (folder && folder->Node() && folder->Node()->isExpanded() && node)
        SelectNodeQuietly(node);
    m_nav.curFolder->SetActivePage(page);
    m_nav.lastNode = KvTreeNode::ObjectOf(node);
    m_nav.lastPage = page;
    m_nav.lastFolder = m_nav.curFolder;
}

void TMainF::Show(KvFolder* folder)
{
    KV_LOG_SCOPE("TMainF::Show(folder)");
    if (folder && folder == m_nav.shownFolder) {
        m_shell.resizePending = true;
        return;
    }
    FolderTvEventStop();
    struct EventsBack
    {
        TMainF* w;
        ~EventsBack() { w->FolderTvEventStart(); }
    } eventsBack{this};
    // The folder shown so far is stored, its page saved and its tabs detached.
    if (KvFolder* old = m_nav.shownFolder) {
        if (folder && m_nav.tempExpanded && folder->Parent() == m_nav.tempExpanded)
            m_nav.tempExpanded = nullptr;
        if (old->GetWritable())
            StoreFolder(old);
        Show(static_cast<KvPage*>(nullptr));
        ShowPagesInTabs(old, m_ui.pagePC, false);
        m_nav.shownFolder = nullptr;
    }
    // The folder's pages as tabs, or the notice that it has none.
    if (folder) {
        folder->ReadTabMode();
        folder->ReadSortSettings();
        // Qt's tab bar cannot wrap, so tabs on "several lines" scroll like those on one line:
        // many tabs never widen the page area and squeeze the tree, and names stay whole.
        m_ui.pagePC->setElideMode(Qt::ElideNone);
        m_ui.pagePC->setUsesScrollButtons(true);
        ShowPagesInTabs(folder, m_ui.pagePC, true);
        if (!m_ui.pagePC->isHidden()) {
            m_ui.noPagesLbl->hide();
        } else {
            m_ui.pagePC->hide();
            const int text = folder->ChildCount() > 0 ? 5501 : 5500;
            m_ui.noPagesLbl->setText(u"\r\n"_qs + KvTexts::Text(text) + u"\r\n"_qs);
            m_ui.noPagesLbl->show();
        }
        m_nav.shownFolder = folder;
    }
    // The window is laid out again.
    m_shell.resizePending = true;
}

void TMainF::Show(KvPage* page)
{
    KV_LOG_SCOPE("TMainF::Show(page)");
    if (page && page == m_nav.shownPage && !m_nav.tempAction) {
        if (auto* tv = dynamic_cast<KvTVPage*>(page))
            m_commands.Handler<KvViewCommands>()->ApplyZoom(tv->EditorWidget());
        return;
    }
    if (!page && !m_nav.shownPage)
        return;
    // The browse history records the visit.
    if (page)
        m_lists->PageShowing(*page);
    // The page shown so far is saved and unloaded.
    if (KvPage* old = m_nav.shownPage) {
        old->SetRestorePosition(KvOptionsG().RestoreCursorPos);
        SavePage(old);
        if (old->IsLoaded())
            old->Unload();
        m_nav.shownPage = nullptr;
    }
    // The access panel is cleared.
    SetStatusPanelText(4, QString());
    if (!page) {
        m_idle->Request();
        return;
    }
    // The new page is loaded; a cancelled password leaves no page shown.
    m_shell.pendingObjectId.clear();
    try {
        LoadPage(page);
    } catch (const KvPage::EWrongPassword&) {
        return;
    }
    // The page is shown: its tab, its context menu, its status texts; its typing is kept.
    m_nav.shownPage = page;
    m_journal->Follow(page);
    auto* tv = dynamic_cast<KvTVPage*>(page);
    if (tv && tv->Tab()) {
        const QSignalBlocker block(m_ui.pagePC);
        m_ui.pagePC->setCurrentWidget(tv->Tab());
    }
    if (tv && tv->EditorWidget()) {
        TexRichEdit* edit = tv->EditorWidget();
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, m_ui.editPopupM,
                [this, edit](QPoint pos) { m_ui.editPopupM->popup(edit->mapToGlobal(pos)); });
    }
    StatusBarText(page);
    m_lists->PageShown(*page);
    // A folder without tabs shows the page's node.
    if (tv && !tv->Tab() && tv->Node()) {
        auto* folder = dynamic_cast<KvTVFolder*>(m_nav.curFolder);
        if (!m_nav.tempExpanded && folder && folder->Node() && !folder->Node()->isExpanded())
            m_nav.tempExpanded = folder;
        SelectNodeQuietly(tv->Node());
        if (m_nav.curFolder && m_nav.curFolder == m_nav.tempExpanded)
            MakeVisible(tv->Node(), false);
    }
    // The command states follow at the next idle pass.
    m_idle->Request();
}

void TMainF::SavePage(KvPage* page)
{
    KV_LOG_SCOPE("TMainF::SavePage");
    if (!page || !page->GetWritable() || !page->IsLoaded())
        return;
    {
        SetStatusPanelText(0, PageText(page, 5020));
        WaitCrsr busy;
        page->Store();
    }
    SetStatusPanelText(0, QString());
    SetStatusPanelText(1, QString());
}

void TMainF::LoadPage(KvPage* page)
{
    KV_LOG_SCOPE("TMainF::LoadPage");
    SetStatusPanelText(0, PageText(page, 5021));
    WaitCrsr busy;
    page->SetRestorePosition(KvOptionsG().RestoreCursorPos);
    page->Load(true, false);
    auto* tv = dynamic_cast<KvTVPage*>(page);
    TexRichEdit* edit = tv ? tv->EditorWidget() : nullptr;
    if (!edit)
        return;
    m_commands.Handler<KvViewCommands>()->ApplyZoom(edit);
    for (KvCommandHandler* h : m_commands.Handlers())
        h->EditorLoaded(*edit);
    edit->SetAutoUrlDetect(false);
    if (isActiveWindow())
        edit->setFocus();
}

void TMainF::SavePage_Templ_Passw(KvPage*& page)
{
    KV_LOG_SCOPE("TMainF::SavePage_Templ_Passw");
    if (!page)
        return;
    bool isTemplate = false;
    if (m_nav.curFolder) {
        if (KvPage* t = m_nav.curFolder->GetNewPageLayout()->GetTemplatePage())
            isTemplate = t->Id() == page->Id();
    }
    if (isTemplate || page->Password().AskMode() != KvPagePassword::NoPasswordData ||
        page->IsProtected()) {
        SavePage(page);
        page = nullptr;
    }
}

void TMainF::StatusBarModifText(KvPage* page)
{
    // A drag over the window keeps its text in the panel until it ends.
    if (m_elements->drag && !m_elements->drag->StatusText().isEmpty())
        return;
    if (!page || page->IsRemoved()) {
        SetStatusPanelText(0, QString());
        m_nav.modifiedIndicator = false;
        return;
    }
    const QString path = page->ContentFilePath();
    if (!QFileInfo::exists(path)) {
        SetStatusPanelText(0, QString());
        m_nav.modifiedIndicator = false;
        return;
    }
    if (page->IsLoaded() && page->GetWritable() && !page->GetWriteProtect() && page->GetEditor() &&
        page->GetEditor()->IsModified()) {
        SetStatusPanelText(0, KvTexts::Text(5350));
        m_nav.modifiedIndicator = true;
    } else {
        QString text = KvTexts::Text(11030) + u' ' + KvTexts::DateTimeText(page->ContentFileTime());
        if (KvDirContext::Current().groupDir && !page->LastEditor().isEmpty())
            text += u" [" + page->LastEditor() + u']';
        SetStatusPanelText(0, text);
        m_nav.modifiedIndicator = false;
    }
}

void TMainF::StatusBarText(KvPage* page)
{
    StatusBarModifText(page);
    if (!page)
        return;
    SetStatusPanelText(1, StatusText(page->GetStatus(), m_statusCatalogue.get()));
    SetStatusPanelText(4, QString());
    if (!page->GetWritable())
        SetStatusPanelText(4, KvTexts::Text(5201));
    else if (page->GetWriteProtect())
        SetStatusPanelText(4, KvTexts::Text(5200));
}

void TMainF::SetTempElements(KvPage* page, KvFolder* folder)
{
    m_nav.tempPage = page;
    m_nav.tempFolder = folder;
}

void TMainF::TempActionOnNavTree(bool restoreSelection, const std::function<void()>& command)
{
    KV_LOG_SCOPE("TMainF::TempActionOnNavTree");
    // The context menu's element becomes current for the command.
    m_nav.tempAction = true;
    m_nav.curPage = m_nav.tempPage;
    m_nav.curFolder = m_nav.tempFolder;
    FolderTvEventStop();
    struct Back
    {
        TMainF* w;
        ~Back() { w->m_nav.tempAction = false; }
    } back{this};
    try {
        // The command runs.
        if (command)
            command();
    } catch (...) {
        m_nav.tempPage = nullptr;
        m_nav.tempFolder = nullptr;
        FolderTvEventStart();
        throw;
    }
    m_nav.tempPage = nullptr;
    m_nav.tempFolder = nullptr;
    // The selection from before comes back.
    if (restoreSelection && m_nav.lastNode) {
        const bool wasPage = m_nav.lastPage && m_nav.lastPage == m_nav.lastNode;
        const bool wasFolder = m_nav.lastFolder && m_nav.lastFolder == m_nav.lastNode;
        if ((wasPage || wasFolder) && NodeOf(m_nav.lastNode)) {
            m_shell.pendingObjectId.clear();
            SelectNodeQuietly(NodeOf(m_nav.lastNode));
        }
    }
    // The tree's handlers work again; the selection is shown unless an element is pending.
    FolderTvEventStart();
    if (m_shell.pendingObjectId.isEmpty())
        FolderTvChange();
}

bool TMainF::SelectObjectWithID(const QString& id)
{
    KvObject* obj = id.isEmpty() ? nullptr : FindObject(id);
    QTreeWidgetItem* node = NodeOf(obj);
    if (!node || obj->IsRemoved())
        return false;
    SelectNodeQuietly(node);
    return true;
}

bool TMainF::SwitchToObjectWithID(const QString& id, const KvSearchCrit* criteria)
{
    KvLogScope log("TMainF::SwitchToObjectWithID");
    if (!SelectObjectWithID(id)) {
        log.Exit(1);
        return false;
    }
    FolderTvChange();
    // The hit: the first term to mark that the page holds, selected and in view.
    auto* page = dynamic_cast<KvTVPage*>(FindObject(id));
    if (!criteria || !page || page != m_nav.shownPage || !page->IsLoaded())
        return true;
    TexRichEdit* edit = page->EditorWidget();
    if (!edit)
        return true;
    edit->SetSelection(0, 0);
    for (const KvSearchArg& term : criteria->TermsToMark()) {
        if (edit->Find(term.text, 0, -1, {term.wholeWord, term.matchCase}) >= 0)
            break;
    }
    return true;
}

bool TMainF::SingleUpdateSearchRes(KvObject* obj)
{
    return obj && m_search->SingleUpdateSearchRes(*obj);
}

void TMainF::CheckPointer(KvObject* p, bool saveFirst)
{
    KV_LOG_SCOPE("TMainF::CheckPointer");
    if (p)
        InvalidatePointer(p, saveFirst);
}

void TMainF::InvalidatePointer(KvObject* p, bool saveFirst)
{
    const auto hits = [p](const KvObject* o) {
        return o && (o == p || o->Id() == p->Id() || o->HasAncestor(p));
    };
    if (hits(m_nav.shownPage)) {
        KvPage* page = m_nav.shownPage;
        if (saveFirst)
            SavePage(page);
        if (page->IsLoaded())
            page->Unload();
        m_nav.shownPage = nullptr;
    }
    if (hits(m_nav.curPage))
        m_nav.curPage = nullptr;
    if (hits(m_nav.shownFolder))
        m_nav.shownFolder = nullptr;
    if (hits(m_nav.curFolder))
        m_nav.curFolder = nullptr;
    if (hits(m_nav.tempPage))
        m_nav.tempPage = nullptr;
    if (hits(m_nav.tempFolder))
        m_nav.tempFolder = nullptr;
    if (hits(m_nav.lastPage))
        m_nav.lastPage = nullptr;
    if (hits(m_nav.lastFolder))
        m_nav.lastFolder = nullptr;
    if (hits(m_nav.tempExpanded))
        m_nav.tempExpanded = nullptr;
    if (hits(m_nav.lastNode))
        m_nav.lastNode = nullptr;
}

void TMainF::forgetElement(KvObject* obj)
{
    // Pointers only: the element is half destroyed.
    const auto same = [obj](const KvObject* o) { return o == obj; };
    if (same(m_nav.shownPage))
        m_nav.shownPage = nullptr;
    if (same(m_nav.curPage))
        m_nav.curPage = nullptr;
    if (same(m_nav.shownFolder))
        m_nav.shownFolder = nullptr;
    if (same(m_nav.curFolder))
        m_nav.curFolder = nullptr;
    if (same(m_nav.tempPage))
        m_nav.tempPage = nullptr;
    if (same(m_nav.tempFolder))
        m_nav.tempFolder = nullptr;
    if (same(m_nav.lastPage))
        m_nav.lastPage = nullptr;
    if (same(m_nav.lastFolder))
        m_nav.lastFolder = nullptr;
    if (same(m_nav.tempExpanded))
        m_nav.tempExpanded = nullptr;
    if (same(m_nav.lastNode))
        m_nav.lastNode = nullptr;
}
