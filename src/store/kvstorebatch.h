#pragma once

#include <QString>
#include <QStringList>

// One bulk change of the data directory's stores (object, folder, page and keyword store).
// While a batch is open no flush writes: each member file that changed is written once
// when the outermost batch ends, also after an error or a cancel, and new ids, lookups of
// absent sections and erased sections are served from the stores' indexes without listing
// the directory again. Files noted with DeleteAfterWrite (content files of pages removed
// for good) are deleted and those noted with RenameAfterWrite renamed only after that write
// succeeded. The end is all or nothing after a crash (KvBatchJournal): the content files
// written in the batch are synced, a journal naming every member file's new content and
// the deletes and renames is written and synced, then the members are written. A batch
// that fails before its journal writes nothing and keeps its changes pending; one whose
// members fail after it leaves the journal, which completes the change before the stores
// write again, or at the next opening. Batches nest; inner ones do nothing.
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
    // Inside a batch: renames fromPath over toPath (KvAtomicFile::RenameOver) once the batch
    // has written, and answers true. False outside a batch: the caller renames.
    static bool RenameAfterWrite(const QString& fromPath, const QString& toPath);
    // Inside a batch, before the content file of a new page (prefix + number, numbers
    // rising) is written: the first call writes the begun journal, so that a crash before
    // the batch's end removes the content files from number on. Raises EIniFileFlush when the
    // journal cannot be written.
    static void NewPageContent(const QString& prefix, int number);
    // A batch's journal waits because its member files could not all be written.
    static bool Outstanding();
    // Rolls such a journal forward now; raises when it still cannot.
    static void CompleteOutstanding();
    // The data directory closes: a waiting journal is left to the next opening.
    static void Forget();

private:
    bool m_open = true;
};
