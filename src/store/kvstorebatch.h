#pragma once

#include <QString>
#include <QStringList>

// One bulk change of the data directory's stores (object, folder, page and keyword store).
// While a batch is open no flush writes: each member file that changed is written once
// when the outermost batch ends, also after an error or a cancel, and new ids, lookups of
// absent sections and erased sections are served from the stores' indexes without listing
// the directory again. Files noted with DeleteAfterWrite (content files of pages removed
// for good) are deleted only after that write succeeded. A child list that spans member
// files still reaches the disk in its crash-safe order. Batches nest; inner ones do nothing.
class KvStoreBatch
{
public:
    KvStoreBatch();
    // Ends the batch unless Commit did: writes with failures only logged.
    ~KvStoreBatch();
    KvStoreBatch(const KvStoreBatch&) = delete;
    KvStoreBatch& operator=(const KvStoreBatch&) = delete;

    // Ends the batch now; raises the first store's EIniFileFlush when a member could not
    // be written (its changes stay pending, the noted files stay).
    void Commit();

    static bool Active();
    // Deletes path once the outermost batch has written; at once when no batch is open.
    static void DeleteAfterWrite(const QString& path);

private:
    bool m_open = true;
};
