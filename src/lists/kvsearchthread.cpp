#include "lists/kvsearchthread.h"

#include "lists/kvcodepointorder.h"
#include "lists/kvsearchpasswordstep.h"
#include "lists/kvsearchreceiver.h"
#include "lists/kvsearchtextcache.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "platform/kvwipe.h"
#include "richtext/rtfplaintext.h"
#include "richtext/texrichdocument.h"
#include "store/texinifile.h"

#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

// Reports are handed over at this pace, and one hand-over takes at most about the budget,
// so that the event loop is never held up for long.
constexpr int kPumpIntervalMs = 25;
constexpr qint64 kPumpBudgetNs = 20'000'000;

std::atomic<int>& RunningSearches()
{
    static std::atomic<int> running = 0;
    return running;
}

KvSearchThread::WipeProbe& TheWipeProbe()
{
    static KvSearchThread::WipeProbe probe;
    return probe;
}

} // namespace

KvSearchThread::KvSearchThread(KvSearchReceiver& receiver, std::optional<QStringList> restriction,
                               KvFolder& folder, const KvSearchCrit& crit, QObject* parent)
    : QObject(parent), m_receiver(receiver), m_crit(crit), m_restriction(std::move(restriction)),
      m_folder(&folder)
{
    KV_LOG_SCOPE("KvSearchThread::KvSearchThread");
    if (m_restriction)
        std::sort(m_restriction->begin(), m_restriction->end(), KvCodePointLess());
}

KvSearchThread::~KvSearchThread()
{
    m_stopped = true;
    {
        const std::lock_guard lock(m_workMutex);
        m_workCv.notify_all();
    }
    for (std::thread& t : m_workers)
        t.join();
    WipeSnapshot();
    if (m_running)
        --RunningSearches();
}

bool KvSearchThread::AnyRunning()
{
    return RunningSearches() > 0;
}

int KvSearchThread::WorkerCount()
{
    return std::max(1, QThread::idealThreadCount());
}

void KvSearchThread::SetWipeProbe(WipeProbe probe)
{
    TheWipeProbe() = std::move(probe);
}

void KvSearchThread::WipeElement(int index)
{
    Slot& slot = m_slots[index];
    if (slot.wiped)
        return;
    slot.wiped = true;
    KvSearchElement& e = m_elements[index];
    e.Wipe();
    if (slot.answer)
        KvWipe::Wipe(slot.answer->password);
    if (const WipeProbe& probe = TheWipeProbe())
        probe(e, slot.answer ? &*slot.answer : nullptr);
}

void KvSearchThread::WipeSnapshot()
{
    if (!m_slots)
        return;
    for (int i = 0; i < int(m_elements.size()); ++i)
        WipeElement(i);
}

// The elements in examination order: the folder first, then everything below it in
// pre-order (or its direct children without subfolders), each with what the workers need.
void KvSearchThread::GetElements(KvFolder& folder)
{
    KV_LOG_SCOPE("KvSearchThread::GetElements");
    const bool keywords = m_crit.PageK || m_crit.FldrK;
    if (keywords) {
        TexIniFile& store = KvDirContext::KwdStore();
        store.UpdateFile();
        m_keywordFiles = store.FileList();
    }

    QList<KvObject*> objects = m_crit.SubFldr ? CollectDescendants(&folder) : folder.Children();
    objects.prepend(&folder);
    m_elements.resize(objects.size());
    for (qsizetype i = 0; i < objects.size(); ++i) {
        KvObject* obj = objects[i];
        KvSearchElement& e = m_elements[i];
        e.id = obj->Id();
        e.name = obj->Name();
        if (auto* f = dynamic_cast<KvFolder*>(obj)) {
            e.isFolder = true;
            e.status = f->GetStatus();
            if (keywords)
                e.keywordId = e.id;
            continue;
        }
        auto* page = dynamic_cast<KvPage*>(obj);
        if (!page)
            continue;
        e.status = page->GetStatus();
        if (keywords)
            e.keywordId = page->IsReferrer() ? page->Ref2() : e.id;
        e.contentPath = page->ContentFilePath();
        e.checkValue = page->Password().CommittedCheckValue();
        if (page->IsProtected()) {
            e.password = page->Password().Unshared();
            // Kept while the page was plain, protected by another program since.
            KvSearchTextCache::Forget(e.contentPath);
        }
        // The element's own copies: it overwrites them when done (DocumentText makes a
        // new text).
        if (page->IsLoaded()) {
            e.loadedText = KvRtfPlainText::DocumentText(*page->GetEditor()->Document());
        } else if (page->PendingContent()) {
            e.pendingRtf = KvWipe::Unshared(*page->PendingContent());
        }
    }
}

void KvSearchThread::Start()
{
    KV_LOG_SCOPE("KvSearchThread::Start");
    if (m_started)
        return;
    m_started = true;
    GetElements(*m_folder);
    m_stats.elements = int(m_elements.size());
    m_slots = std::make_unique<Slot[]>(m_elements.size());
    m_examiner = std::make_unique<KvSearchExaminer>(m_crit, m_restriction, m_keywords, m_stopped);
    m_running = true;
    ++RunningSearches();

    const int workers = std::max(1, std::min<int>(WorkerCount(), int(m_elements.size())));
    m_activeWorkers = workers;
    for (int i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { Execute(); });

    m_timer = new QTimer(this);
    m_timer->setInterval(kPumpIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &KvSearchThread::Pump);
    m_timer->start();
}

void KvSearchThread::Stop()
{
    KV_LOG_SCOPE("KvSearchThread::Stop");
    m_stopped = true;
    {
        const std::lock_guard lock(m_workMutex);
        m_workCv.notify_all();
    }
}

void KvSearchThread::Wait()
{
    KV_LOG_SCOPE("KvSearchThread::Wait");
    if (!m_started)
        Start();
    if (m_pumping)
        return;
    while (!m_ended) {
        Pump();
        if (m_ended)
            break;
        std::unique_lock lock(m_pumpMutex);
        m_pumpCv.wait_for(lock, std::chrono::milliseconds(kPumpIntervalMs),
                          [this] { return !Idle(); });
    }
}

bool KvSearchThread::Idle()
{
    const int cursor = m_cursor.load(std::memory_order_relaxed);
    return !m_stopped && m_activeWorkers > 0 && cursor < int(m_elements.size()) &&
           m_slots[cursor].state.load(std::memory_order_acquire) != Examined;
}

// The next element to examine; -1 when no more will come.
int KvSearchThread::TakeWork()
{
    std::unique_lock lock(m_workMutex);
    for (;;) {
        if (m_stopped)
            return -1;
        if (!m_retry.empty()) {
            const int index = m_retry.front();
            m_retry.pop_front();
            return index;
        }
        if (m_next < int(m_elements.size()))
            return m_next++;
        if (m_awaitingPassword == 0)
            return -1;
        m_workCv.wait(lock);
    }
}

void KvSearchThread::LoadKeywords()
{
    if (m_keywordFiles.isEmpty())
        return;
    try {
        m_keywords = KvKeywords::LoadObjectKeywords(m_keywordFiles);
    } catch (const KvException& e) {
        m_keywordProblem = e.Message();
    }
}

// The body of a worker thread.
void KvSearchThread::Execute()
{
    std::call_once(m_keywordsLoaded, [this] { LoadKeywords(); });
    KvSearchScratch scratch;
    for (int index = TakeWork(); index >= 0; index = TakeWork()) {
        Slot& slot = m_slots[index];
        const KvSearchPassword* answer = slot.answer ? &*slot.answer : nullptr;
        slot.outcome = m_examiner->Examine(m_elements[index], answer, scratch);
        if (slot.outcome.kind == KvSearchOutcome::NeedsPassword) {
            const std::lock_guard lock(m_workMutex);
            ++m_awaitingPassword;
        } else {
            WipeElement(index); // before the report: the starting thread reads the slot then
        }
        slot.state.store(Examined, std::memory_order_release);
        // Wait needs waking only for the element it waits for.
        if (index == m_cursor.load(std::memory_order_relaxed)) {
            const std::lock_guard lock(m_pumpMutex);
            m_pumpCv.notify_all();
        }
    }
    --m_activeWorkers;
    const std::lock_guard lock(m_pumpMutex);
    m_pumpCv.notify_all();
}

// Reports the element at the cursor; false when it is not examined yet or waits for the
// password step, which this runs.
bool KvSearchThread::Deliver(int index)
{
    Slot& slot = m_slots[index];
    if (slot.state.load(std::memory_order_acquire) != Examined)
        return false;
    const KvSearchElement& e = m_elements[index];
    const KvSearchOutcome& out = slot.outcome;
    if (out.kind == KvSearchOutcome::NeedsPassword) {
        // What was reported so far is shown before the question.
        if (std::exchange(m_unbatched, 0) > 0)
            m_receiver.SearchBatchDone();
        KvSearchPassword answer = KvSearchPasswordStep::Run(e.id);
        answer.password = KvWipe::Unshared(answer.password);
        slot.answer = std::move(answer);
        slot.state.store(Waiting, std::memory_order_relaxed);
        const std::lock_guard lock(m_workMutex);
        --m_awaitingPassword;
        m_retry.push_back(index);
        m_workCv.notify_all();
        return false;
    }
    if (out.contentExamined)
        ++m_stats.texts;
    if (out.contentSkipped)
        ++m_stats.skipped;
    m_stats.bytes += out.bytesRead;
    if (out.problem)
        m_problems.append(*out.problem);
    if (out.kind != KvSearchOutcome::NoReport) {
        const bool found = out.kind == KvSearchOutcome::Found;
        if (found)
            ++m_stats.hits;
        m_receiver.PageSearchNotify(e.id, found);
        ++m_unbatched;
    }
    return true;
}

void KvSearchThread::Pump()
{
    if (m_pumping || m_ended || !m_started)
        return;
    m_pumping = true;
    if (!m_startNotified) {
        m_startNotified = true;
        if (!m_stopped)
            m_receiver.StartSearchNotify(int(m_elements.size()));
    }
    QElapsedTimer budget;
    budget.start();
    while (!m_stopped && m_cursor < int(m_elements.size()) && Deliver(m_cursor)) {
        m_cursor.store(m_cursor + 1, std::memory_order_relaxed);
        if (budget.nsecsElapsed() > kPumpBudgetNs)
            break;
    }
    if (std::exchange(m_unbatched, 0) > 0)
        m_receiver.SearchBatchDone();
    m_pumping = false;
    if ((m_stopped || m_cursor == int(m_elements.size())) && m_activeWorkers == 0)
        Finish();
}

void KvSearchThread::Finish()
{
    KV_LOG_SCOPE("KvSearchThread::Finish");
    for (std::thread& t : m_workers)
        t.join();
    m_workers.clear();
    if (m_timer)
        m_timer->stop();
    if (!m_keywordProblem.isEmpty()) {
        KvSearchProblem keywords;
        keywords.kind = KvSearchProblem::KeywordsNotRead;
        keywords.detail = m_keywordProblem;
        m_problems.prepend(keywords);
    }
    m_ended = true;
    m_running = false;
    --RunningSearches();
    WipeSnapshot();
    m_elements.clear();
    m_receiver.OnSearchTerminate();
}
