#include "ui/kvmainlists.h"

#include "app/kvpaths.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "lists/kvitemlist.h"
#include "lists/kvnotebooklists.h"
#include "lists/kvsearchresults.h"
#include "platform/applog.h"
#include "platform/kvexception.h"
#include "ui/kvelementhooks.h"
#include "ui/kvmainhistory.h"
#include "ui/kvmainsavedresults.h"
#include "ui/tbookmarksf.h"
#include "ui/tmainf.h"
#include "ui/tsplashf.h"

KvMainLists::KvMainLists(TMainF& window)
    : QObject(&window), m_w(window), m_history(new KvMainHistory(window)),
      m_saved(new KvMainSavedResults(window))
{
    m_history->setParent(this);
    m_saved->setParent(this);
}

KvMainLists::~KvMainLists()
{
    m_saved->SetResults(nullptr);
    // The hooks outlive this object: the directory's lists leave them first.
    m_lists.reset();
}

void KvMainLists::AttachControls()
{
    m_history->AttachList();
    m_saved->AttachPanel();
}

void KvMainLists::BindHistory()
{
    m_history->OpenDirectory(m_w.Shell().fullAccess);
}

void KvMainLists::LoadLists()
{
    KV_LOG_SCOPE("TMainF::LoadLists");
    m_saved->SetResults(nullptr);
    m_lists.reset();
    TSplashF::ShowStatus(KvTexts::Text(5125));
    TSplashF::ShowStatus(KvTexts::Text(5126));
    // A store that cannot be read costs its lists, not the directory.
    try {
        m_lists = std::make_unique<KvNotebookLists>(KvPaths::DataDir(), m_w.Shell().fullAccess,
                                                    m_w.StatusCatalogue());
    } catch (const KvException& e) {
        KvAppLog::Write(e.Message());
        m_w.MessageBox(KvTexts::Text(5007), e.Message(), KvMsgKind::Error);
        return;
    }
    m_lists->Hook(m_w.Elements().lists);
    m_saved->SetResults(&m_lists->Results());
    if (m_lists->Results().SelectedEntry() > 0)
        m_saved->SearchResCoBChange();
}

void KvMainLists::OptionsChanged()
{
    m_history->OptionsChanged(m_w.Shell().fullAccess);
}

void KvMainLists::StoreAtExit()
{
    m_saved->StoreAtExit(m_w.Shell().fullAccess);
    m_history->CloseDirectory();
}

void KvMainLists::CloseDirectory()
{
    m_saved->SetResults(nullptr);
    m_lists.reset();
}

void KvMainLists::Context(KvCommandContext& c) const
{
    m_history->Context(c);
    m_saved->Context(c);
}

KvItemList* KvMainLists::BookmarkList() const
{
    return m_lists ? &m_lists->Bookmarks() : nullptr;
}

bool KvMainLists::IsBookmark(const KvObject& obj) const
{
    return m_lists && m_lists->Bookmarks().Contains(obj.Id());
}

void KvMainLists::SetBookmark(const KvObject& obj, bool on)
{
    KV_LOG_SCOPE("TMainF::SetBookmark");
    if (!m_lists || !m_w.Shell().fullAccess)
        return;
    KvItemList& list = m_lists->Bookmarks();
    if (on)
        list.Add(&obj, true);
    else
        list.RemoveObject(&obj);
    list.Save();
}

void KvMainLists::PageShowing(const KvPage& page)
{
    m_history->PageShowing(page);
}

void KvMainLists::PageShown(const KvPage& page)
{
    m_history->PageShown(page);
}

void KvMainLists::Browse2PreviousPage()
{
    m_history->Browse2PreviousPage();
}

void KvMainLists::Browse2NextPage()
{
    m_history->Browse2NextPage();
}

void KvMainLists::ShowHistory()
{
    m_history->ShowHistory();
}

void KvMainLists::HistoryLVClick()
{
    m_history->HistoryLVClick();
}

void KvMainLists::HyperlinkHistPMIClick()
{
    m_history->HyperlinkHistPMIClick();
}

void KvMainLists::Bookmarks()
{
    KV_LOG_SCOPE("TMainF::Bookmarks");
    if (!m_lists)
        return;
    QString chosen;
    int result = 0;
    {
        TBookmarksF dialog(m_w, m_lists->Bookmarks(), m_w.Shell().fullAccess);
        result = dialog.Run();
        chosen = dialog.ChosenId();
    }
    m_w.activateWindow();
    if (result == TBookmarksF::ShowElement && !chosen.isEmpty())
        m_w.SwitchToObjectWithID(chosen, nullptr);
}

void KvMainLists::SearchResSave()
{
    m_saved->SearchResSave();
}

void KvMainLists::SearchResDelete()
{
    m_saved->SearchResDelete();
}

void KvMainLists::SearchResRename()
{
    m_saved->SearchResRename();
}

void KvMainLists::DeleteResPMIClick()
{
    m_saved->DeleteResPMIClick();
}

void KvMainLists::MoveResPMIClick()
{
    m_saved->MoveResPMIClick();
}
