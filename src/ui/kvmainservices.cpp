#include "ui/kvmainservices.h"

#include "ui/kvmainediting.h"
#include "ui/kvmainlists.h"
#include "ui/kvmainlinks.h"
#include "ui/kvmainsearch.h"
#include "ui/kvtreebulkupdate.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/tcharmapf.h"
#include "ui/textreeview.h"
#include "ui/tfindreplacef.h"
#include "ui/tmainf.h"

KvMainServices::KvMainServices(TMainF& window)
    : m_w(window), m_links(std::make_unique<KvMainLinks>(window))
{}

KvMainServices::~KvMainServices() = default;

KvFolder* KvMainServices::TopFolder() const
{
    return m_w.TopFolder();
}

KvFolder* KvMainServices::TrashFolder() const
{
    return m_w.TrashFolder();
}

KvFolder* KvMainServices::CurrentFolder() const
{
    return m_w.CurrentFolder();
}

KvPage* KvMainServices::CurrentPage() const
{
    return m_w.CurrentPage();
}

KvFolder* KvMainServices::ShownFolder() const
{
    return m_w.ShownFolder();
}

KvPage* KvMainServices::ShownPage() const
{
    return m_w.ShownPage();
}

bool KvMainServices::FullAccess() const
{
    return m_w.Shell().fullAccess;
}

void KvMainServices::CheckPointer(KvObject* p, bool saveFirst)
{
    m_w.CheckPointer(p, saveFirst);
}

void KvMainServices::InvalidatePointer(KvObject* p, bool saveFirst)
{
    m_w.InvalidatePointer(p, saveFirst);
}

void KvMainServices::ShowElement(const QString& id, const QString& searchText)
{
    m_w.SetPendingObject(id, searchText);
}

bool KvMainServices::SelectElement(const QString& id)
{
    return m_w.SelectObjectWithID(id);
}

void KvMainServices::FolderTvChange()
{
    m_w.FolderTvChange();
}

void KvMainServices::SavePage(KvPage* page)
{
    m_w.SavePage(page);
}

void KvMainServices::StoreFolder(KvFolder* folder)
{
    m_w.StoreFolder(folder);
}

void KvMainServices::TreeBulkUpdate(const std::function<void()>& work)
{
    const KvTreeBulkUpdate bulk(m_w.Controls().folderTv);
    if (work)
        work();
}

void KvMainServices::SetExpandedAll(KvFolder* folder, bool expanded)
{
    if (auto* f = dynamic_cast<KvTVFolder*>(folder)) {
        const KvTreeBulkUpdate bulk(m_w.Controls().folderTv);
        TexTreeView::SetExpandedAll(f->Node(), expanded);
    }
}

void KvMainServices::StoreExpandedStates(KvFolder* folder)
{
    auto* f = dynamic_cast<KvTVFolder*>(folder);
    if (!f)
        return;
    f->StoreExpanded();
    for (KvObject* obj : CollectDescendants(f)) {
        if (auto* sub = dynamic_cast<KvTVFolder*>(obj))
            sub->StoreExpanded();
    }
}

KvElementEnv KvMainServices::ElementEnv()
{
    return m_w.ElementEnv();
}

void KvMainServices::TempActionOnNavTree(bool restoreSelection,
                                         const std::function<void()>& command)
{
    m_w.TempActionOnNavTree(restoreSelection, command);
}

KvEditingServices* KvMainServices::Editing()
{
    return &m_w.Editing();
}

KvSearchServices* KvMainServices::Search()
{
    return &m_w.Search();
}

KvListServices* KvMainServices::Lists()
{
    return &m_w.Lists();
}

KvLinkServices* KvMainServices::Links()
{
    return m_links.get();
}

QTabWidget* KvMainServices::PageArea() const
{
    return m_w.Controls().pagePC;
}

TexRichEdit* KvMainServices::Editor() const
{
    auto* page = dynamic_cast<KvTVPage*>(m_w.ShownPage());
    return page && page->IsLoaded() ? page->EditorWidget() : nullptr;
}

int KvMainServices::MessageBox(const QString& title, const QString& text, int kind)
{
    return m_w.MessageBox(title, text, kind);
}

QWidget* KvMainServices::DialogParent()
{
    return &m_w;
}

void KvMainServices::RequestIdle()
{
    m_w.RequestIdle();
}

void KvMainServices::SetStatusText(int panel, const QString& text)
{
    m_w.SetStatusPanelText(panel, text);
}

void KvMainServices::ShowPart(KvWindowPart part, bool show)
{
    m_w.ShowPart(part, show);
}

QComboBox* KvMainServices::ZoomBox() const
{
    return m_w.Controls().zoomCoB;
}

void KvMainServices::CloseWindow()
{
    m_w.close();
}

void KvMainServices::RestoreFromTray()
{
    m_w.showNormal();
    m_w.activateWindow();
}

void KvMainServices::OpenNewWindow()
{
    m_w.NewWindowMIClick();
}

void KvMainServices::SwitchAccess()
{
    m_w.SwitchAccess();
}
