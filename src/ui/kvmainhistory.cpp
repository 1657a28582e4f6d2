#include "ui/kvmainhistory.h"

#include "app/kvoptionsg.h"
#include "app/kvpaths.h"
#include "commands/kvcommandcontext.h"
#include "commands/kvhistorycommands.h"
#include "lists/kvnotebooklists.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "ui/kvelementhooks.h"
#include "ui/kvhistorylist.h"
#include "ui/kvrestore.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QSet>
#include <QToolBar>

namespace {

QString HistoryStorePath()
{
    return KvNotebookLists::StorePath(KvPaths::DataDir(), KvNotebookLists::HistoryStore);
}

} // namespace

KvMainHistory::KvMainHistory(TMainF& window) : QObject(&window), m_w(window)
{
    // Limit 0 until the settings give one.
    m_history.SetLimit(0);
    m_w.Elements().lists.Add(&m_history);
}

KvMainHistory::~KvMainHistory()
{
    m_w.Elements().lists.Remove(&m_history);
}

void KvMainHistory::AttachList()
{
    KvHistoryList* list = m_w.Controls().historyLV;
    TexTreeView* tree = m_w.Controls().folderTv;
    list->SetImageSource([tree](int image) { return tree->Image(image); });
    connect(list, &KvHistoryList::left, this, &KvMainHistory::HistoryLVExit);
    connect(list, &KvResultListView::showRequested, this, &KvMainHistory::HistoryLVClick);
    connect(list, &QAbstractItemView::clicked, this, &KvMainHistory::HistoryLVClick);
    connect(list, &KvHistoryList::menuRequested, this, [this, list] {
        m_w.Commands().Handler<KvHistoryCommands>()->PrepareHistoryMenu(list->SelectedCount());
    });
}

void KvMainHistory::OpenDirectory(bool fullAccess)
{
    KV_LOG_SCOPE("TMainF::BindHistory");
    m_history.SetStorePath(QString());
    m_history.Clear();
    m_lastShown.clear();
    m_history.SetLimit(m_w.WindowState().HistoryLimit());
    if (!KvOptionsG().SaveHistory)
        return;
    // Read also in read-only work; written back only with full access.
    m_history.SetStorePath(HistoryStorePath());
    if (!fullAccess)
        m_history.SetStorePath(QString());
}

void KvMainHistory::OptionsChanged(bool fullAccess)
{
    m_history.SetStorePath(KvOptionsG().SaveHistory && fullAccess ? HistoryStorePath() : QString());
}

void KvMainHistory::CloseDirectory()
{
    KV_LOG_SCOPE("TMainF::StoreHistory");
    HistoryLVExit();
    if (m_history.StorePath().isEmpty())
        return;
    m_history.Save();
    m_history.SetStorePath(QString());
}

void KvMainHistory::PageShowing(const KvPage& page)
{
    if (m_recording && m_lastShown != page.Id())
        m_history.Leave(m_lastShown);
}

void KvMainHistory::PageShown(const KvPage& page)
{
    m_lastShown = page.Id();
    if (m_recording)
        m_history.AddEntry(page.Id());
}

QString KvMainHistory::shownPageId() const
{
    const KvPage* page = m_w.ShownPage();
    return page ? page->Id() : QString();
}

void KvMainHistory::Context(KvCommandContext& c) const
{
    c.historyPrevious = m_history.CanGoPrevious(shownPageId());
    c.historyNext = m_history.CanGoNext();
    c.historyList = m_history.CanShowList();
}

void KvMainHistory::showUnrecorded(const QString& id)
{
    m_recording = false;
    struct RecordingBack
    {
        bool& recording;
        ~RecordingBack() { recording = true; }
    } back{m_recording};
    m_w.SwitchToObjectWithID(id, nullptr);
}

void KvMainHistory::Browse2PreviousPage()
{
    KV_LOG_SCOPE("TMainF::Browse2PreviousPage");
    m_w.UpdateCommandStates();
    if (!m_history.CanGoPrevious(shownPageId()))
        return;
    showUnrecorded(m_history.PreviousTarget(m_w.ShownPage() != nullptr));
}

void KvMainHistory::Browse2NextPage()
{
    KV_LOG_SCOPE("TMainF::Browse2NextPage");
    if (!m_history.CanGoNext())
        return;
    const QString id = m_history.GoToNext();
    if (id.contains(u"Page"_qs))
        showUnrecorded(id);
}

void KvMainHistory::ShowHistory()
{
    KV_LOG_SCOPE("TMainF::ShowHistory");
    KvHistoryList* list = m_w.Controls().historyLV;
    if (list->isVisible()) {
        HistoryLVExit();
        return;
    }
    placeList();
    fillList();
    list->show();
    list->raise();
    if (QAction* a = m_w.Action(u"ShowHistoryA"_qs))
        a->setChecked(true);
    list->setFocus(Qt::OtherFocusReason);
}

// Near the mouse, inside the window.
void KvMainHistory::placeList()
{
    KvHistoryList* list = m_w.Controls().historyLV;
    const QPoint cursor = m_w.mapFromGlobal(QCursor::pos());
    int x = std::min({cursor.x(), m_w.width() / 2, m_w.width() - 100});
    x = std::max(x, 10);
    int y = cursor.y();
    if (QToolBar* bar = m_w.Controls().mainToolbar) {
        const int barTop = bar->mapTo(&m_w, QPoint(0, 0)).y();
        if (y > barTop + 100)
            y = barTop;
    }
    y = std::max(std::min(y, m_w.height() - 150), 0);
    list->move(x - 10, y + 10);
}

void KvMainHistory::fillList()
{
    KvHistoryList* list = m_w.Controls().historyLV;
    // The newest first, each page once, only those that are still there.
    QStringList ids;
    QSet<QString> seen;
    const QStringList& entries = m_history.Entries();
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        const KvObject* obj = FindObject(*it);
        if (seen.contains(*it) || !dynamic_cast<const KvPage*>(obj) || obj->IsRemoved())
            continue;
        seen.insert(*it);
        ids.append(*it);
    }
    list->ShowIds(ids, m_w.Controls().searchResP->FullPathBox()->isChecked());
    list->SelectId(shownPageId());
    // Columns as wide as their texts, the list as wide as its columns and as high as its
    // rows, within the window.
    list->resizeColumnToContents(0);
    list->resizeColumnToContents(1);
    const int columns = list->header()->sectionSize(0) + list->header()->sectionSize(1);
    const int width =
        columns + list->verticalScrollBar()->sizeHint().width() + 2 * list->frameWidth();
    list->resize(std::min(width, m_w.width() - list->x()), list->height());
    const int rowHeight = std::max(list->sizeHintForRow(0), 1);
    const int needed =
        list->header()->height() + rowHeight * int(ids.size()) + 2 * list->frameWidth();
    const int bottom =
        m_w.centralWidget() ? m_w.centralWidget()->geometry().bottom() : m_w.height();
    int height = 20;
    while (height < needed && list->y() + height + 10 <= bottom)
        height += 10;
    list->resize(list->width(), height);
}

void KvMainHistory::HistoryLVExit()
{
    KvHistoryList* list = m_w.Controls().historyLV;
    if (!list)
        return;
    list->hide();
    if (QAction* a = m_w.Action(u"ShowHistoryA"_qs))
        a->setChecked(false);
}

void KvMainHistory::HistoryLVClick()
{
    KV_LOG_SCOPE("TMainF::HistoryLVClick");
    KvHistoryList* list = m_w.Controls().historyLV;
    const QString id = list->CurrentId();
    if (id.isEmpty())
        return;
    if (id == shownPageId()) {
        HistoryLVExit();
        return;
    }
    const int position = int(m_history.Entries().lastIndexOf(id)) + 1;
    HistoryLVExit();
    m_history.SetPosition(position);
    showUnrecorded(id);
}

void KvMainHistory::HyperlinkHistPMIClick()
{
    KV_LOG_SCOPE("TMainF::HyperlinkHistPMIClick");
    const QString links = m_w.Controls().historyLV->SelectedLinkTexts();
    if (!links.isEmpty())
        QGuiApplication::clipboard()->setText(links);
    HistoryLVExit();
}
