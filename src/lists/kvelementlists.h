#pragma once

#include "lists/kvelementlistener.h"

#include <QList>
#include <functional>

// The hooks through which the element commands reach every list that names elements.
// Listeners are called in order (the paste source first); a listener that throws is
// logged, the others still run, and the first failure of a batch is reported once when
// the batch ends. Every call runs inside a batch: the commands open one per command, and a
// call outside any batch gets one of its own.
class KvElementLists
{
public:
    // Shows a failure to the user (the window: message box; the command line: stderr).
    using Reporter = std::function<void(const QString& message)>;

    KvElementLists();
    ~KvElementLists();
    KvElementLists(const KvElementLists&) = delete;
    KvElementLists& operator=(const KvElementLists&) = delete;

    // Listeners are not owned and must be removed before they go.
    void Add(KvElementListener* listener);
    void AddFirst(KvElementListener* listener);
    void Remove(KvElementListener* listener);
    const QList<KvElementListener*>& Listeners() const { return m_listeners; }

    void SetReporter(Reporter reporter);

    void ForgetIds(const QStringList& ids);
    void Renewed(const QStringList& ids);

    // One command's batch: the listeners' BeginBatch when the outermost one opens, their
    // EndBatch (one save each when any scope asked for it) when it closes, whatever
    // happened in between.
    class Batch
    {
    public:
        explicit Batch(KvElementLists& lists, bool save = true);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // Whether the lists are saved when the batch ends.
        void SetSave(bool save);

    private:
        KvElementLists& m_lists;
    };

    bool InBatch() const { return m_depth > 0; }

private:
    void begin(bool save);
    void end();
    // Runs call for every listener, catching and noting each failure.
    void each(const char* what, const std::function<void(KvElementListener&)>& call);

    QList<KvElementListener*> m_listeners;
    Reporter m_reporter;
    int m_depth = 0;
    bool m_save = false;
    QString m_firstFailure;
};
