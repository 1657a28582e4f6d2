#pragma once

#include <QString>
#include <QStringList>

// A list that names elements by id (paste source, bookmarks, history, result lists, saved
// results) and must follow what the element commands do to them. Calls come from
// KvElementLists, always inside a batch: BeginBatch, any number of ForgetIds/Renewed,
// EndBatch.
class KvElementListener
{
public:
    virtual ~KvElementListener() = default;

    // The name in log lines and error reports.
    virtual QString ListenerName() const = 0;
    // These elements leave every list: removed for good, or deleted into the trash. The
    // ids come as DeleteElemsFromLists collects them: everything below an element, the
    // element, then the referrers of each of these.
    virtual void ForgetIds(const QStringList& ids) = 0;
    // These elements were re-created under a new parent or renamed: rows and texts built
    // from them are built again from the live objects.
    virtual void Renewed(const QStringList& ids) = 0;
    // A command begins; changes may be held until EndBatch.
    virtual void BeginBatch() {}
    // The command ended (also after an error). save: write the list once now.
    virtual void EndBatch(bool save) { (void)save; }
};
