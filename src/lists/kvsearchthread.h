#pragma once

#include "lists/kvsearchcrit.h"
#include "lists/kvsearchelement.h"
#include "lists/kvsearchexaminer.h"
#include "lists/kvsearchproblem.h"

#include <QObject>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class KvFolder;
class KvSearchReceiver;
class QTimer;

// What a search did, counted over the reported elements.
struct KvSearchStats
{
    int elements = 0; // to examine, the searched folder included
    int hits = 0;     // found reports
    int texts = 0;    // pages whose content was matched
    qint64 bytes = 0; // bytes of content files read
    int skipped = 0;  // pages whose content was needed but not examined
};

// One search. Start runs on the thread that owns the model (the GUI thread): it takes all
// the workers will read — the elements in examination order with their names, statuses,
// keywords, content paths, loaded text and known passwords — so that the search sees the
// notebook as it was then. Worker threads, one per core, examine the elements; reports
// reach the receiver on the starting thread in examination order, in batches, from a
// timer of that thread's event loop or from Wait. A page that needs its password waits
// for the password step, run on the starting thread when the reports reach it.
//
// The snapshot's plain text and passwords (a loaded page's text, content kept for a new
// key, known passwords, the answers of password steps) are overwritten as soon as their
// element is examined, and what is left when the search ends or the object goes.
//
// Stop sets an atomic flag that the workers test between elements and every few
// kilobytes within one; no report follows it. The end handler runs once, after the
// workers have quit. The object must outlive its search: its destructor stops the workers
// and waits for them without reporting, so an owner that wants the end handler calls
// Stop and Wait first.
class KvSearchThread : public QObject
{
    Q_OBJECT

public:
    // restriction: the ids of the result list being refined; none: no refinement.
    KvSearchThread(KvSearchReceiver& receiver, std::optional<QStringList> restriction,
                   KvFolder& folder, const KvSearchCrit& crit, QObject* parent = nullptr);
    ~KvSearchThread() override;

    // Takes the snapshot and starts the workers.
    void Start();
    // The stop request; the end handler follows when the workers have quit.
    void Stop();
    // Delivers reports, password steps included, until the end handler has run. From
    // inside a report (a password step's dialog) it returns at once: the reports below it
    // cannot go on until it returns.
    void Wait();
    // A report or a password step is being handed over: the receiver is on the stack.
    bool InReport() const { return m_pumping; }

    // From Start until the end handler has run.
    bool IsRunning() const { return m_running; }
    // Some search is running: the program counts as busy.
    static bool AnyRunning();

    const KvSearchCrit& Criteria() const { return m_crit; }
    int ElementCount() const { return m_stats.elements; }
    const KvSearchStats& Stats() const { return m_stats; }
    // Pages whose content could not be read, in examination order.
    const QList<KvSearchProblem>& Problems() const { return m_problems; }

    // Worker threads a search uses here.
    static int WorkerCount();

    // For tests: called with each element (and the answer of its password step, if it had
    // one) right after its plain text and passwords were overwritten, on the thread that
    // did it. Set while no search runs.
    using WipeProbe = std::function<void(const KvSearchElement&, const KvSearchPassword*)>;
    static void SetWipeProbe(WipeProbe probe);

private:
    struct Slot
    {
        std::atomic<int> state{0};
        KvSearchOutcome outcome;
        std::optional<KvSearchPassword> answer; // its password is the slot's own copy
        bool wiped = false;
    };
    enum SlotState
    {
        Waiting = 0,
        Examined = 1
    };

    void GetElements(KvFolder& folder);
    void Execute();
    void LoadKeywords();
    int TakeWork();
    void Pump();
    bool Deliver(int index);
    // Nothing to report until a worker finishes the element at the cursor or quits.
    bool Idle();
    void Finish();
    // Overwrites the plain text and passwords of one element, or of all not done yet (after
    // the workers have quit).
    void WipeElement(int index);
    void WipeSnapshot();

    KvSearchReceiver& m_receiver;
    KvSearchCrit m_crit;
    std::optional<QStringList> m_restriction;
    KvFolder* m_folder;
    std::vector<KvSearchElement> m_elements;
    std::unique_ptr<Slot[]> m_slots;
    std::unique_ptr<KvSearchExaminer> m_examiner;
    // The keyword store's member files, named at the start; the first worker reads them
    // while the others wait, so that the starting thread does not.
    QStringList m_keywordFiles;
    KvKeywords::ObjectKeywordMap m_keywords;
    std::once_flag m_keywordsLoaded;
    QString m_keywordProblem; // why the keywords could not be read
    std::atomic<bool> m_stopped = false;

    // Work for the workers: elements in order, then those back from the password step.
    std::mutex m_workMutex;
    std::condition_variable m_workCv;
    int m_next = 0;
    std::deque<int> m_retry;
    int m_awaitingPassword = 0;

    // Wakes Wait when the element at the cursor is examined or a worker quits.
    std::mutex m_pumpMutex;
    std::condition_variable m_pumpCv;
    std::atomic<int> m_activeWorkers = 0;
    std::vector<std::thread> m_workers;

    QTimer* m_timer = nullptr;
    std::atomic<int> m_cursor = 0; // the next element to report; written by Pump only
    bool m_running = false;
    bool m_started = false;
    bool m_startNotified = false;
    bool m_pumping = false;
    int m_unbatched = 0; // reports since the last end of a batch
    bool m_ended = false;
    KvSearchStats m_stats;
    QList<KvSearchProblem> m_problems;
};
