// The search window's search: Start and Stop, the reports as they arrive, the end, the
// copy to the main window, and showing a hit.
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "lists/kvsearchthread.h"
#include "model/kvfolder.h"
#include "platform/applog.h"
#include "ui/kvmainlists.h"
#include "ui/kvmainsavedresults.h"
#include "ui/kvmainsearch.h"
#include "ui/kvresultlistview.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/kvtvfolder.h"
#include "ui/texcombobox.h"
#include "ui/tmainf.h"
#include "ui/tsearchf.h"

#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>

namespace {

// The message after a search that could not read everything: the keywords, then the
// pages, which and why.
QString ProblemText(const QList<KvSearchProblem>& problems)
{
    QStringList lines;
    QStringList pages;
    for (const KvSearchProblem& p : problems) {
        if (p.id.isEmpty()) {
            lines.append(p.Text());
            continue;
        }
        const KvObject* obj = FindObject(p.id);
        const QString name = obj ? obj->Name() + u" ("_qs + p.id + u')' : p.id;
        pages.append(name + u": "_qs + p.Text());
    }
    if (!pages.isEmpty())
        lines << KvTexts::Text(12090) << pages;
    return lines.join(u"\r\n"_qs);
}

} // namespace

void TSearchF::StartBtnClick()
{
    KV_LOG_SCOPE("TSearchF::StartBtnClick");
    if (SearchRunning())
        return;
    KvFolder* folder = SearchFolder();
    if (!folder) {
        // The folder went while the window showed: the default folder takes its place.
        FormInitialize(m_main.TopFolder());
        folder = SearchFolder();
        if (!folder)
            return;
    }
    KvMainSearch& main = m_main.Search();
    KvSearchResultPanel& panel = main.Panel();
    // The terms join their histories; the criteria rest while the search runs.
    m_searchtxtCoB->AddToHistory();
    m_searchtxt2CoB->AddToHistory();
    m_startBtn->setEnabled(false);
    m_closeBtn->setEnabled(false);
    m_pasteBtn->setEnabled(false);
    m_stopBtn->setEnabled(true);
    setCriteriaEnabled(false);
    // The focus leaves the resting criteria for the one thing to do meanwhile.
    if (isActiveWindow())
        m_stopBtn->setFocus();

    // Refining: only the elements of the list shown.
    std::optional<QStringList> restriction;
    if (m_searchInResultListRB->isChecked())
        restriction = m_resultLV->Ids();

    // A saved result shown in the main list leaves it.
    m_main.Lists().SavedResults().DetachCurrent();
    // Both lists start empty and unsorted; column clicks wait for the end.
    m_resultLV->Clear();
    m_resultLV->SetSortLocked(true);
    main.ResultList().Clear();
    main.ResultList().SetSortLocked(true);
    m_pendingHits.clear();
    m_pendingReports = 0;

    m_resultLbl->setEnabled(false);
    m_foundLbl->setText(KvSearchResultPanel::FoundText(0));
    m_foundLbl->show();
    panel.ResultLabel()->setEnabled(false);
    panel.SetFoundCount(0);
    delete m_progress;
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(u"SearchProgress"_qs);
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 0);
    m_statusBar->addPermanentWidget(m_progress, 1);
    panel.Progress()->setRange(0, 0);
    panel.Progress()->setValue(0);
    panel.Progress()->show();

    // A lone second term is the first one.
    if (m_searchtxtCoB->currentText().isEmpty() && !m_searchtxt2CoB->currentText().isEmpty()) {
        m_searchtxtCoB->setEditText(m_searchtxt2CoB->currentText());
        m_searchtxt2CoB->setEditText(QString());
    }
    m_crit = CriteriaFromControls();
    m_crit.Fldr = folder->Id();
    SynchronizeWithMainForm();
    // The saved results' first entry names the new search.
    m_main.Lists().SavedResults().NewCurrentSearch(m_crit);
    setStatus(KvTexts::Text(12015));

    m_search.reset();
    m_search = std::make_unique<KvSearchThread>(*this, restriction, *folder, m_crit);
    m_closeBtn->setEnabled(true);
    m_search->Start();
    m_main.RequestIdle();
}

void TSearchF::StopBtnClick()
{
    KV_LOG_SCOPE("TSearchF::StopBtnClick");
    if (SearchRunning())
        m_search->Stop();
}

void TSearchF::StopAndWait()
{
    if (!SearchRunning())
        return;
    m_search->Stop();
    m_search->Wait();
}

void TSearchF::StartSearchNotify(int count)
{
    if (!m_progress)
        return;
    m_progress->setRange(0, count);
    m_progress->setValue(0);
    if (!m_main.Shell().closing) {
        QProgressBar* bar = m_main.Search().Panel().Progress();
        bar->setRange(0, count);
        bar->setValue(0);
    }
}

void TSearchF::PageSearchNotify(const QString& id, bool found)
{
    if (!m_progress)
        return;
    ++m_pendingReports;
    if (found)
        m_pendingHits.append(id);
}

void TSearchF::SearchBatchDone()
{
    appendPendingHits();
}

void TSearchF::appendPendingHits()
{
    const QStringList hits = std::exchange(m_pendingHits, {});
    const int reports = std::exchange(m_pendingReports, 0);
    if (!m_progress)
        return;
    m_progress->setValue(m_progress->value() + reports);
    const bool mainToo = !m_main.Shell().closing;
    KvSearchResultPanel& panel = m_main.Search().Panel();
    if (mainToo)
        panel.Progress()->setValue(panel.Progress()->value() + reports);
    if (hits.isEmpty())
        return;
    // A hit whose element is gone meanwhile adds no row.
    m_resultLV->AppendIds(hits);
    m_resultLbl->setEnabled(true);
    m_foundLbl->setText(KvSearchResultPanel::FoundText(m_resultLV->Count()));
    if (!mainToo)
        return;
    m_main.Search().ResultList().AppendIds(hits);
    panel.ResultLabel()->setEnabled(true);
    panel.FoundLabel()->setText(m_foundLbl->text());
}

void TSearchF::OnSearchTerminate()
{
    KV_LOG_SCOPE("TSearchF::OnSearchTerminate");
    appendPendingHits();
    delete m_progress;
    const bool mainClosing = m_main.Shell().closing;
    KvMainSearch& main = m_main.Search();
    if (!mainClosing) {
        // The saved-result commands follow the new result at the next idle pass.
        main.Panel().Progress()->hide();
    }
    m_stopBtn->setEnabled(false);
    setCriteriaEnabled(true);
    m_resultLV->SetSortLocked(false);
    main.ResultList().SetSortLocked(false);
    m_searchInResultListRB->setEnabled(m_resultLV->Count() > 0);
    if (!m_searchInResultListRB->isEnabled())
        m_searchInFldrRB->setChecked(true);
    SynchronizeWithMainForm();
    setStatus(KvTexts::Text(12016));
    EnableCommands();
    if (isActiveWindow())
        m_searchtxtCoB->setFocus();

    // Pages that could not be read counted as not found; the user learns which, once the
    // search has unwound (the message waits for an answer). Not while the window (or the
    // program) closes.
    if (!m_search->Problems().isEmpty() && !mainClosing && !m_closing) {
        const QString text = ProblemText(m_search->Problems());
        QTimer::singleShot(0, &m_main, [text] {
            KvPrompter::ShowMessage(KvTexts::Text(12091), text, KvMsgKind::Warning);
        });
    }
    Q_EMIT searchEnded();
    // Closed during the search: the window goes now (not from inside the search's end).
    if (m_closeWhenSearchEnds && !m_closing)
        QTimer::singleShot(0, this, [this] { close(); });
    m_main.RequestIdle();
}

void TSearchF::SynchronizeWithMainForm()
{
    if (m_main.Shell().closing)
        return;
    KvMainSearch& main = m_main.Search();
    KvSearchResultPanel& panel = main.Panel();
    main.ResultList().SetIds(m_resultLV->Ids());
    panel.FoundLabel()->setText(m_foundLbl->text());
    panel.FoundLabel()->setVisible(!m_foundLbl->isHidden());
    const bool stop = m_stopBtn->isEnabled();
    panel.StopButton()->setVisible(stop);
    panel.StopButton()->setEnabled(stop);
    panel.NewSearchButton()->setVisible(!stop);
    panel.FullPathBox()->setChecked(m_showFullPathCB->isChecked());
    panel.FullPathBox()->setEnabled(m_showFullPathCB->isEnabled());
    main.SetLastCriteria(m_crit, true);
    m_main.RequestIdle();
}

void TSearchF::ResultLVDblClick()
{
    KV_LOG_SCOPE("TSearchF::ResultLVDblClick");
    const QString id = m_resultLV->CurrentId();
    if (id.isEmpty())
        return;
    m_saveSettingsOnClose = true;
    if (!m_main.Shell().closing)
        m_main.ShowPart(KvWindowPart::SearchResults, true);
    SynchronizeWithMainForm();
    if (KvMainSearch::ReportGone(id))
        return;
    leave();
    m_main.Search().ResultList().SelectId(id);
    if (m_main.SwitchToObjectWithID(id, &m_crit))
        CloseBtnClick();
}
