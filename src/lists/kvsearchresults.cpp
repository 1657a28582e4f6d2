#include "lists/kvsearchresults.h"

#include "app/kvtexts.h"
#include "lists/kvitemview.h"
#include "lists/kvsearchresult.h"
#include "lists/kvsearchresultname.h"
#include "platform/applog.h"
#include "store/texinifile.h"
#include "store/texmeminifile.h"

#include <QSet>
#include <algorithm>

KvSearchResults::KvSearchResults(const QString& storePath, const KvAddStatus* catalogue)
    // With a section index: a batch writes every member that changed once, and lookups
    // need not list the members.
    : m_store(std::make_unique<TexIniFile>(storePath, KvItemList::StoreSizeLimitKb, true)),
      m_catalogue(catalogue)
{
    KV_LOG_SCOPE("KvSearchResults::KvSearchResults");
    // One pass over the member files: without a section index every section looked up in
    // the store itself would list and search the members again.
    TexMemIniFile snapshot(*m_store);
    QSet<QString> seen;
    for (const QString& section : snapshot.ReadSections()) {
        if (!section.contains(KvSearchResult::SectionPrefix) || seen.contains(section.toLower()))
            continue;
        seen.insert(section.toLower());
        m_results.push_back(std::make_unique<KvSearchResult>(*m_store, section, snapshot));
    }
    // Newest first; results saved at the same moment are all listed, the later section
    // name (usually the later save) first.
    std::sort(m_results.begin(), m_results.end(), [](const auto& a, const auto& b) {
        if (a->Time() != b->Time())
            return a->Time() > b->Time();
        return a->Section() > b->Section();
    });
    m_entry0 = header();
    const int current = snapshot.ReadInteger(CurrentSection, CurrentKey, 0);
    if (current > 0 && current <= Count())
        m_selected = current;
}

KvSearchResults::~KvSearchResults() = default;

QString KvSearchResults::header() const
{
    return KvTexts::Text(m_results.empty() ? 12084 : 12083);
}

QStringList KvSearchResults::Entries() const
{
    QStringList entries{m_entry0};
    for (const auto& r : m_results)
        entries.append(r->DisplayName(m_catalogue));
    return entries;
}

KvSearchResult* KvSearchResults::At(int entry) const
{
    return entry >= 1 && entry <= Count() ? m_results[size_t(entry - 1)].get() : nullptr;
}

int KvSearchResults::EntryOf(const QString& section) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_results[size_t(i)]->Section() == section)
            return i + 1;
    }
    return 0;
}

void KvSearchResults::SelectEntry(int entry, KvItemView* view, bool fullPath)
{
    KV_LOG_SCOPE("KvSearchResults::SelectEntry");
    if (entry < 0 || entry > Count())
        return;
    m_selected = entry;
    // The result shown so far leaves the view; the rows stay.
    DetachCurrent();
    if (entry == 0)
        return;
    KvSearchResult* chosen = At(entry);
    chosen->AttachView(view, fullPath);
    m_entry0 = header();
    m_unsavedShown = false;
    m_current = chosen;
}

void KvSearchResults::DetachCurrent()
{
    if (m_current && m_current->View())
        m_current->AttachView(nullptr, m_current->FullPath());
    m_current = nullptr;
}

void KvSearchResults::NewCurrentSearch(const KvSearchCrit& crit)
{
    DetachCurrent();
    m_entry0 = KvSearchResultName::Automatic(crit, m_catalogue);
    m_selected = 0;
    m_unsavedShown = true;
}

KvSearchResult& KvSearchResults::SaveCurrent(const KvSearchCrit& crit, KvItemView* view,
                                             bool fullPath)
{
    KV_LOG_SCOPE("KvSearchResults::SaveCurrent");
    const QString section = m_store->NewSectionName(KvSearchResult::SectionPrefix);
    auto result = std::make_unique<KvSearchResult>(*m_store, section, KvItemList::New{});
    result->SetCriteria(crit);
    if (view)
        result->AddIds(view->RowIds());
    if (!InBatch())
        result->Save();
    KvSearchResult& saved = *result;
    DetachCurrent();
    m_results.insert(m_results.begin(), std::move(result));
    m_entry0 = header();
    m_unsavedShown = false;
    m_selected = 1;
    if (view) {
        const QString selected = view->SelectedId();
        saved.AttachView(view, fullPath);
        view->SelectId(selected);
    }
    m_current = &saved;
    return saved;
}

void KvSearchResults::DeleteEntry(int entry)
{
    KV_LOG_SCOPE("KvSearchResults::DeleteEntry");
    KvSearchResult* result = At(entry);
    if (!result)
        return;
    if (result == m_current)
        m_current = nullptr;
    // The list's rows go with it where it is shown.
    result->Remove();
    m_results.erase(m_results.begin() + (entry - 1));
    m_entry0 = header();
    m_selected = 0;
    m_current = nullptr;
    m_unsavedShown = false;
}

void KvSearchResults::RenameEntry(int entry, const QString& name)
{
    KV_LOG_SCOPE("KvSearchResults::RenameEntry");
    KvSearchResult* result = At(entry);
    if (!result)
        return;
    result->SetName(name);
    if (!InBatch())
        result->Save();
}

void KvSearchResults::RemoveIds(const QStringList& ids)
{
    if (ids.isEmpty() || m_results.empty())
        return;
    const QSet<QString> gone(ids.begin(), ids.end());
    for (const auto& r : m_results)
        r->RemoveIds(gone);
}

void KvSearchResults::Renewed(const QStringList& ids)
{
    if (m_current)
        m_current->Renewed(ids);
}

void KvSearchResults::BeginBatch()
{
    ++m_batch;
}

void KvSearchResults::EndBatch()
{
    if (m_batch > 0)
        --m_batch;
}

void KvSearchResults::EndBatch(bool save)
{
    EndBatch();
    if (save)
        SaveAll();
}

void KvSearchResults::SaveAll()
{
    KV_LOG_SCOPE("KvSearchResults::SaveAll");
    if (InBatch() || !m_writable)
        return;
    bool any = false;
    for (const auto& r : m_results)
        any = any || r->Dirty();
    if (!any)
        return;
    // Each member that changed is written once, when the store's batch ends.
    m_store->BeginBatch();
    try {
        for (const auto& r : m_results) {
            if (r->Dirty())
                r->Write();
        }
    } catch (...) {
        m_store->EndBatch();
        throw;
    }
    m_store->EndBatch();
}

void KvSearchResults::StoreCurrentEntry()
{
    if (!m_writable)
        return;
    m_store->WriteInteger(CurrentSection, CurrentKey, m_selected);
    m_store->UpdateFile();
}
