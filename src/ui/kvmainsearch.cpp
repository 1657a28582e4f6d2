#include "ui/kvmainsearch.h"

#include "app/kvoptionsg.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "commands/kvsearchcommands.h"
#include "lists/kvsearchthread.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "platform/kvexception.h"
#include "store/waitcrsr.h"
#include "ui/kvelementhooks.h"
#include "ui/kvresultlistview.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/kvtvfolder.h"
#include "ui/textreeview.h"
#include "ui/tkeywordsf.h"
#include "ui/tmainf.h"
#include "ui/tsearchf.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>

namespace {

// Work started by a click: an error of the program's own is shown, not thrown on.
void Guarded(const std::function<void()>& work)
{
    try {
        work();
    } catch (const KvException& e) {
        KvPrompter::ShowMessage(KvTexts::Text(5007), e.Message(), KvMsgKind::Error);
    }
}

} // namespace

KvMainSearch::KvMainSearch(TMainF& window) : QObject(&window), m_w(window) {}

KvMainSearch::~KvMainSearch()
{
    // The list hooks outlive this object; the lists leave them first.
    m_w.Elements().lists.Remove(&ResultList());
    if (m_form) {
        m_w.Elements().lists.Remove(m_form->ResultList());
        delete m_form;
    }
}

TSearchF* KvMainSearch::Form() const
{
    return m_form;
}

KvSearchResultPanel& KvMainSearch::Panel() const
{
    return *m_w.Controls().searchResP;
}

KvResultListView& KvMainSearch::ResultList() const
{
    return *Panel().ResultList();
}

void KvMainSearch::AttachPanel()
{
    KvSearchResultPanel& panel = Panel();
    KvResultListView& list = ResultList();
    TexTreeView* tree = m_w.Controls().folderTv;
    list.SetImageSource([tree](int image) { return tree->Image(image); });
    list.SetFullPath(panel.FullPathBox()->isChecked());
    connect(panel.FullPathBox(), &QCheckBox::toggled, this, &KvMainSearch::fullPathClicked);
    connect(&list, &KvResultListView::showRequested, this,
            [this] { Guarded([this] { ShowSelectedResult(); }); });
    connect(&list, &KvResultListView::rowsChanged, this, &KvMainSearch::updateFoundLabel);
    connect(&list, &QWidget::customContextMenuRequested, this, &KvMainSearch::ResultLVPMPopup);
    connect(panel.StopButton(), &QPushButton::clicked, this, &KvMainSearch::StopBtnClick);
    connect(panel.NewSearchButton(), &QPushButton::clicked, this,
            [this] { Guarded([this] { NewSearchBtnClick(); }); });
    m_w.Elements().lists.Add(&list);
}

void KvMainSearch::SetLastCriteria(const KvSearchCrit& crit, bool openWithLast)
{
    m_lastCrit = crit;
    m_openWithLast = openWithLast;
}

void KvMainSearch::PageSearch(KvFolder* folder)
{
    KV_LOG_SCOPE("TMainF::PageSearch");
    if (!m_w.TopFolder())
        return;
    if (!m_form) {
        WaitCrsr busy;
        m_form = new TSearchF(m_w);
        m_w.Elements().lists.Add(m_form->ResultList());
    }
    // The find and replace dialogs close here once they exist.
    if (folder) {
        m_form->FormInitialize(folder);
    } else if (m_openWithLast) {
        KvSearchCrit crit = m_lastCrit;
        if (KvOptionsG().StartFldrSearch == 1)
            crit.Fldr = m_w.TopFolder()->Id();
        m_form->SetSearchCriteria(crit);
    }
    m_form->FullPathBox()->setChecked(Panel().FullPathBox()->isChecked());
    m_form->show();
    m_form->raise();
    m_form->activateWindow();
}

void KvMainSearch::NewSearchBtnClick()
{
    KV_LOG_SCOPE("TMainF::NewSearchBtnClick");
    // A saved result that is shown lends its criteria here once saved results exist.
    PageSearch(nullptr);
    m_openWithLast = false;
}

void KvMainSearch::StopBtnClick()
{
    KV_LOG_SCOPE("TMainF::StopBtnClick");
    if (m_form)
        m_form->StopBtnClick();
}

void KvMainSearch::OnSearchFormClose(TSearchF& form)
{
    KV_LOG_SCOPE("TMainF::OnSearchFormClose");
    m_w.Elements().lists.Remove(form.ResultList());
    if (m_form == &form)
        m_form = nullptr;
    if (!m_w.Shell().closing)
        m_w.RequestIdle();
}

bool KvMainSearch::ReportGone(const QString& id)
{
    const KvObject* obj = FindObject(id);
    if (obj && !obj->IsRemoved())
        return false;
    KvPrompter::ShowMessage(12020, 12021, KvMsgKind::Warning);
    return true;
}

void KvMainSearch::ShowSelectedResult()
{
    KV_LOG_SCOPE("TMainF::ResultLVDblClick");
    const QString id = ResultList().CurrentId();
    if (id.isEmpty() || ReportGone(id))
        return;
    SwitchToObjectWithID(id, &m_lastCrit);
    // The list keeps the focus for the next hit.
    ResultList().setFocus();
}

bool KvMainSearch::SwitchToObjectWithID(const QString& id, const KvSearchCrit* criteria)
{
    return m_w.SwitchToObjectWithID(id, criteria);
}

void KvMainSearch::CopyResultLinks()
{
    KV_LOG_SCOPE("TMainF::HyperlinkPMIClick");
    const QString links = ResultList().SelectedLinkTexts();
    if (!links.isEmpty())
        QGuiApplication::clipboard()->setText(links);
}

void KvMainSearch::RemoveSelectedResults()
{
    WaitCrsr busy;
    // A shown saved result loses the elements too once saved results exist.
    ResultList().ForgetIds(ResultList().SelectedIds());
    updateFoundLabel();
}

std::unique_ptr<KvKeywordDialog> KvMainSearch::KeywordDialog(bool mayShowElements)
{
    return std::make_unique<TKeywordsF>(m_w, mayShowElements);
}

bool KvMainSearch::SingleUpdateSearchRes(const KvObject& obj)
{
    KV_LOG_SCOPE("TMainF::SingleUpdateSearchRes");
    if (!ResultList().UpdateRow(obj.Id()))
        return false;
    if (m_form)
        m_form->ResultList()->SetIds(ResultList().Ids());
    return true;
}

void KvMainSearch::ResultLVPMPopup(const QPoint& pos)
{
    KvResultListView& list = ResultList();
    KvResultMenuContext m;
    m.selected = list.SelectedCount();
    KvPage* page = nullptr;
    KvFolder* folder = nullptr;
    if (m.selected == 1) {
        KvObject* obj = FindObject(list.SelectedId());
        if (obj && !obj->IsRemoved()) {
            page = dynamic_cast<KvPage*>(obj);
            folder = page ? dynamic_cast<KvFolder*>(page->Parent()) : dynamic_cast<KvFolder*>(obj);
            const bool fullAccess = m_w.Shell().fullAccess;
            if (page) {
                m.kind = KvNodeKind::Page;
                m.writable = fullAccess && page->GetWritable();
            } else if (folder) {
                m.kind = KvNodeKind::Folder;
                m.writable = fullAccess && folder->GetWritable();
                m.isRoot = folder->Kind() != KvFolder::NormalFolder;
            }
        }
    }
    // The row's element is the element commands' context element until the menu runs one.
    m_w.SetTempElements(page, m.kind == KvNodeKind::None ? nullptr : folder);
    m_w.Commands().Handler<KvSearchCommands>()->PrepareResultMenu(m);
    m_w.Controls().resultLVPM->popup(list.viewport()->mapToGlobal(pos));
}

void KvMainSearch::CloseForDirectory()
{
    KV_LOG_SCOPE("TMainF::CloseSearchWindow");
    if (TSearchF* form = m_form) {
        // Stops a running search and waits for it, and tells OnSearchFormClose; from inside
        // one of the search's reports the window goes by itself once the report returns.
        form->close();
        if (!form->Search() || !form->Search()->InReport())
            delete form;
    }
    ResultList().Clear();
    Panel().SetFoundCount(0);
    if (!Panel().isHidden())
        m_w.ShowPart(KvWindowPart::SearchResults, false);
}

void KvMainSearch::fullPathClicked(bool on)
{
    ResultList().SetFullPath(on);
    if (m_form)
        m_form->FullPathBox()->setChecked(on);
}

void KvMainSearch::updateFoundLabel()
{
    Panel().SetFoundCount(ResultList().Count());
}
