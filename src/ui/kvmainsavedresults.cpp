#include "ui/kvmainsavedresults.h"

#include "app/kvoptionsg.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "commands/kvcommandcontext.h"
#include "elements/kvelementenv.h"
#include "elements/kvresultbatch.h"
#include "lists/kvsearchresult.h"
#include "lists/kvsearchresults.h"
#include "platform/applog.h"
#include "platform/kvexception.h"
#include "store/waitcrsr.h"
#include "ui/kvmainsearch.h"
#include "ui/kvresultlistview.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/tmainf.h"
#include "ui/tnamef.h"

#include <QCheckBox>
#include <QComboBox>

KvMainSavedResults::KvMainSavedResults(TMainF& window) : QObject(&window), m_w(window) {}

void KvMainSavedResults::AttachPanel()
{
    KvSearchResultPanel& panel = *m_w.Controls().searchResP;
    m_view = std::make_unique<KvResultItemView>(*panel.ResultList());
    connect(panel.SavedResults(), &QComboBox::activated, this, [this] {
        try {
            SearchResCoBChange();
        } catch (const KvException& e) {
            KvPrompter::ShowMessage(KvTexts::Text(5007), e.Message(), KvMsgKind::Error);
        }
    });
    fillBox();
}

void KvMainSavedResults::SetResults(KvSearchResults* results)
{
    m_results = results;
    fillBox();
}

bool KvMainSavedResults::fullPath() const
{
    return m_w.Controls().searchResP->FullPathBox()->isChecked();
}

void KvMainSavedResults::fillBox()
{
    QComboBox* box =
        m_w.Controls().searchResP ? m_w.Controls().searchResP->SavedResults() : nullptr;
    if (!box)
        return;
    const QSignalBlocker block(box);
    box->clear();
    if (!m_results)
        return;
    box->addItems(m_results->Entries());
    box->setCurrentIndex(m_results->SelectedEntry());
}

void KvMainSavedResults::updateFoundLabel()
{
    KvSearchResultPanel& panel = *m_w.Controls().searchResP;
    panel.SetFoundCount(panel.ResultList()->Count());
}

void KvMainSavedResults::Context(KvCommandContext& c) const
{
    if (!m_results || !c.fullAccess)
        return;
    const int entry = m_results->SelectedEntry();
    c.searchResSave = m_results->CanSave(entry) && !c.searchRunning;
    c.searchResDelete = m_results->CanDeleteOrRename(entry);
    c.searchResRename = c.searchResDelete && m_results->CurrentSearchResult();
}

void KvMainSavedResults::SearchResCoBChange()
{
    KV_LOG_SCOPE("TMainF::SearchResCoBChange");
    if (!m_results)
        return;
    WaitCrsr busy;
    KvSearchResultPanel& panel = *m_w.Controls().searchResP;
    KvResultListView& list = *panel.ResultList();
    // The entry the user chose, else the one selected before.
    const int chosen = panel.SavedResults()->currentIndex();
    const int entry = chosen >= 0 ? chosen : m_results->SelectedEntry();
    if (entry == 0) {
        // The list keeps its rows, unsorted.
        m_results->SelectEntry(0, m_view.get(), fullPath());
        list.SetIds(list.Ids());
    } else {
        m_results->SelectEntry(entry, m_view.get(), fullPath());
    }
    fillBox();
    updateFoundLabel();
    if (const KvSearchResult* current = m_results->CurrentSearchResult())
        m_w.Search().SetLastCriteria(current->Criteria(), m_w.Search().OpenWithLast());
    m_w.RequestIdle();
}

void KvMainSavedResults::DetachCurrent()
{
    if (m_results)
        m_results->DetachCurrent();
}

void KvMainSavedResults::NewCurrentSearch(const KvSearchCrit& crit)
{
    if (!m_results)
        return;
    m_results->NewCurrentSearch(crit);
    fillBox();
}

const KvSearchCrit* KvMainSavedResults::CurrentCriteria() const
{
    const KvSearchResult* current = m_results ? m_results->CurrentSearchResult() : nullptr;
    return current && m_results->SelectedEntry() > 0 ? &current->Criteria() : nullptr;
}

bool KvMainSavedResults::RemoveFromCurrent(const QStringList& ids)
{
    KvSearchResult* current = m_results ? m_results->CurrentSearchResult() : nullptr;
    if (!current)
        return false;
    current->RemoveIds(QSet<QString>(ids.begin(), ids.end()));
    if (m_w.Shell().fullAccess && !m_results->InBatch())
        current->Save();
    return true;
}

void KvMainSavedResults::StoreAtExit(bool fullAccess)
{
    KV_LOG_SCOPE("TMainF::StoreSearchResults");
    if (!m_results || !fullAccess)
        return;
    m_results->StoreCurrentEntry();
    m_results->SaveAll();
}

void KvMainSavedResults::SearchResSave()
{
    KV_LOG_SCOPE("TMainF::SearchResSave");
    if (!m_results || !m_results->CanSave(m_results->SelectedEntry()))
        return;
    WaitCrsr busy;
    m_results->SaveCurrent(m_w.Search().LastCriteria(), m_view.get(), fullPath());
    fillBox();
    updateFoundLabel();
    m_w.RequestIdle();
}

void KvMainSavedResults::SearchResDelete()
{
    KV_LOG_SCOPE("TMainF::SearchResDelete");
    if (!m_results || !m_results->CanDeleteOrRename(m_results->SelectedEntry()))
        return;
    if (KvOptionsG().DelSearchRes &&
        KvPrompter::ShowMessage(5061, 5062, KvMsgKind::AskYesNo) != KvAnswer::Yes)
        return;
    {
        WaitCrsr busy;
        m_results->DeleteEntry(m_results->SelectedEntry());
        fillBox();
        updateFoundLabel();
    }
    SearchResCoBChange();
}

void KvMainSavedResults::SearchResRename()
{
    KV_LOG_SCOPE("TMainF::SearchResRename");
    KvSearchResult* current = m_results ? m_results->CurrentSearchResult() : nullptr;
    const int entry = m_results ? m_results->SelectedEntry() : 0;
    if (!current || entry == 0)
        return;
    TNameF dialog(&m_w);
    dialog.setWindowTitle(KvTexts::Text(5063));
    dialog.SetName(m_results->Entries().value(entry));
    if (!dialog.Execute())
        return;
    m_results->RenameEntry(entry, dialog.Name());
    fillBox();
}

void KvMainSavedResults::DeleteResPMIClick()
{
    const QStringList ids = m_w.Controls().searchResP->ResultList()->SelectedIds();
    KvElementEnv env = m_w.ElementEnv();
    KvResultBatch(env, m_results).Delete(ids);
    updateFoundLabel();
}

void KvMainSavedResults::MoveResPMIClick()
{
    const QStringList ids = m_w.Controls().searchResP->ResultList()->SelectedIds();
    KvElementEnv env = m_w.ElementEnv();
    KvResultBatch(env, m_results).Move(ids);
    updateFoundLabel();
}
