#pragma once

#include <QStringList>
#include <functional>

struct KvElementEnv;
class KvSearchResults;

// The commands on the selected rows of the main result list: every element deleted, or
// moved into one folder, as one batch. The saved results hold their writes back until the
// end; an element handled already as part of an earlier folder is skipped (the batch list);
// with more than one element the progress window shows, and closing it stops the batch
// before the next element. At the end — also after an error, which ends the loop and is
// raised afterwards — the tree redraws again, every saved result is written and the
// progress window closes.
class KvResultBatch
{
public:
    // results: null when none are open.
    KvResultBatch(KvElementEnv& env, KvSearchResults* results);

    // Deletes each element with its confirmations (pages and folders as their delete
    // commands do). Returns how many elements were handled.
    int Delete(const QStringList& ids);
    // Asks the target folder first (nothing happens without one), then moves each element
    // the move rules allow; a folder cannot go below itself (5019, 5011).
    int Move(const QStringList& ids);

private:
    // Runs handle for each id, as the batch rules say.
    int run(const QStringList& ids, int title, const std::function<void(const QString&)>& handle);

    KvElementEnv& m_env;
    KvSearchResults* m_results;
};
