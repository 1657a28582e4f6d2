#include "ui/kvmainelementwindow.h"

#include "app/kvtexts.h"
#include "model/kvaddstatus.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "model/kvstatusimages.h"
#include "platform/applog.h"
#include "ui/kvtreebulkupdate.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"
#include "ui/tnamef.h"
#include "ui/tobjselectf.h"
#include "ui/tprogressf.h"

namespace {

QTreeWidgetItem* NodeOf(KvObject& obj)
{
    auto* bound = dynamic_cast<KvTreeBound*>(&obj);
    return bound ? bound->Node() : nullptr;
}

bool Within(const KvObject* o, const KvObject& obj)
{
    return o && (o == &obj || o->HasAncestor(&obj));
}

// The entries of the status selector: every built-in status, then the catalogue's.
QList<TNameF::StatusEntry> StatusEntries(const KvAddStatus* catalogue, const TexTreeView* tree)
{
    QList<TNameF::StatusEntry> entries;
    const int count = KvStatusImages::BuiltInStatusCount + 1 + (catalogue ? catalogue->Count() : 0);
    for (int n = 0; n < count; ++n) {
        const int image =
            n <= KvStatusImages::BuiltInStatusCount
                ? KvStatusImages::ForPage(n)
                : KvStatusImages::FirstCatalogueImage + n - KvStatusImages::BuiltInStatusCount - 1;
        entries.append({StatusText(n, catalogue), tree ? tree->Image(image) : QIcon()});
    }
    return entries;
}

} // namespace

KvMainElementWindow::~KvMainElementWindow()
{
    delete m_progress;
}

void KvMainElementWindow::CheckPointer(KvObject& obj, bool saveFirst)
{
    // The folder shown keeps its order and sort only when it is stored before it goes.
    KvFolder* shown = m_w.ShownFolder();
    if (saveFirst && Within(shown, obj) && shown->GetWritable())
        m_w.StoreFolder(shown);
    m_w.CheckPointer(&obj, saveFirst);
}

void KvMainElementWindow::StoreFolder(KvFolder& folder)
{
    m_w.StoreFolder(&folder);
}

bool KvMainElementWindow::AskName(KvNameRequest& request)
{
    KV_LOG_SCOPE("KvMainElementWindow::AskName");
    const QList<TNameF::StatusEntry> statuses =
        request.withStatus ? StatusEntries(m_w.StatusCatalogue(), m_w.Controls().folderTv)
                           : QList<TNameF::StatusEntry>();
    TNameF dialog(&m_w, statuses);
    // Titles are the whole table entry, the part after the bar included.
    dialog.setWindowTitle(KvTexts::Text(request.titleText));
    dialog.SetName(request.name);
    if (request.withStatus)
        dialog.SetStatus(request.status);
    if (!dialog.Execute())
        return false;
    request.name = dialog.Name();
    request.status = dialog.Status();
    return true;
}

KvObject* KvMainElementWindow::ChooseElement(KvChooseKind kind, KvObject* preselect)
{
    KV_LOG_SCOPE("KvMainElementWindow::ChooseElement");
    const bool referrerTarget = kind == KvChooseKind::ReferrerTarget;
    const QString kindText = kind == KvChooseKind::Folder ? TObjSelectF::KindFolder
                             : kind == KvChooseKind::Page || referrerTarget ? TObjSelectF::KindPage
                                                                            : QString();
    // A referrer stands for no page in the trash: the chooser shows the top folder only.
    QList<KvFolder*> roots{m_w.TopFolder()};
    if (!referrerTarget)
        roots.append(m_w.TrashFolder());
    TObjSelectF chooser(roots, kindText, preselect ? preselect->Id() : QString(),
                        m_w.Controls().folderTv, &m_w);
    return chooser.Execute();
}

void KvMainElementWindow::ShowElement(KvObject& obj)
{
    if (QTreeWidgetItem* node = NodeOf(obj)) {
        m_w.SelectNodeQuietly(node);
        m_w.FolderTvChange();
    }
}

void KvMainElementWindow::SelectElement(KvObject& obj)
{
    if (QTreeWidgetItem* node = NodeOf(obj))
        m_w.SelectNodeQuietly(node);
}

void KvMainElementWindow::FollowExpansion(KvFolder& source, KvFolder& copy)
{
    auto* from = dynamic_cast<KvTVFolder*>(&source);
    auto* to = dynamic_cast<KvTVFolder*>(&copy);
    if (!from || !to || !from->Node() || !to->Node())
        return;
    m_w.FolderTvEventStop();
    to->Node()->setExpanded(from->Node()->isExpanded());
    m_w.FolderTvEventStart();
    to->StoreExpanded();
}

void KvMainElementWindow::TabsFollowOrder(KvFolder& folder)
{
    m_w.TabsFollowOrder(&folder);
}

void KvMainElementWindow::StatusText(const QString& text)
{
    m_w.SetStatusPanelText(0, text);
}

void KvMainElementWindow::CommandsChanged()
{
    m_w.RequestIdle();
}

void KvMainElementWindow::TreeBulkUpdate(const std::function<void()>& work)
{
    const KvTreeBulkUpdate bulk(m_w.Controls().folderTv);
    m_w.FolderTvEventStop();
    struct EventsBack
    {
        TMainF& w;
        ~EventsBack() { w.FolderTvEventStart(); }
    } back{m_w};
    if (work)
        work();
}

void KvMainElementWindow::ProgressOpen(const QString& title, int maximum)
{
    delete m_progress;
    m_progress = new TProgressF(&m_w);
    m_progress->Start(title, maximum);
    // The open window disables the commands that move, delete and copy.
    m_w.UpdateCommandStates();
}

void KvMainElementWindow::ProgressText(const QString& text)
{
    if (m_progress)
        m_progress->SetText(text);
}

void KvMainElementWindow::ProgressStep()
{
    if (m_progress)
        m_progress->Step();
}

void KvMainElementWindow::ProgressClose()
{
    delete m_progress;
    m_w.RequestIdle();
}

bool KvMainElementWindow::StopRequested()
{
    // Events run only under the progress window, which keeps the user out of the main
    // window meanwhile; a signal to end the program stops the operation too.
    if (m_progress && !m_progress->CancelRequested())
        m_w.ProcessEventsDuringCommand();
    return m_w.Shell().forcedExit || (m_progress && m_progress->CancelRequested());
}
