#pragma once

#include <QString>

// Where a search reports, on the thread that started it: the search window and the
// command-line search implement it. Reports come in examination order, in batches.
class KvSearchReceiver
{
public:
    virtual ~KvSearchReceiver() = default;
    // Once, before the first report: the number of elements to examine, the searched
    // folder included.
    virtual void StartSearchNotify(int count) = 0;
    // One examined element. A found element may no longer exist when the report arrives.
    // Folders examined by neither name nor keywords are not reported.
    virtual void PageSearchNotify(const QString& id, bool found) = 0;
    // After each batch of reports.
    virtual void SearchBatchDone() {}
    // Once, after the last report, by every way the search ends (also after a stop).
    virtual void OnSearchTerminate() = 0;
};
