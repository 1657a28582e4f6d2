#pragma once

#include "model/kvaddstatus.h"
#include "model/kvdircontext.h"
#include "model/kvnotebookbuild.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class KvCliIo;
class KvFolder;
class KvObject;

// A data directory opened for a command: the process-wide stores on it and the model
// context, never the program's data-directory setting (which would write ReadMe.txt).
// Read-only unless asked otherwise: objects then never write, whatever they find.
class KvCliNotebook
{
public:
    // The directory with trailing "/"; raises KvCliError when it does not exist or holds no
    // notebook (no member file of the object store).
    static QString RequireDataDir(const QString& dir);
    // True when dir holds member files of the object store.
    static bool HoldsNotebook(const QString& dir);
    // Where a reading command says that it found an unfinished bulk change (it changes
    // nothing); nullptr: nowhere.
    static void SetNotices(KvCliIo* io);

    KvCliNotebook(const QString& dir, bool writable);
    ~KvCliNotebook();
    KvCliNotebook(const KvCliNotebook&) = delete;
    KvCliNotebook& operator=(const KvCliNotebook&) = delete;

    // Both roots with everything below them, built as start-up builds them; then, for a
    // read-only notebook, the lost elements as stand-alone objects with their subtrees.
    void Build();

    const QString& Dir() const { return m_dir; }
    KvDirContext& Context() { return m_ctx; }
    KvFolder* Top() const { return m_nb.top.get(); }
    KvFolder* Trash() const { return m_nb.trash.get(); }
    // The object-store snapshot the build read.
    TexMemIniFile& ObjectSnapshot() const { return *m_nb.objectSnapshot; }
    // Ids of the sections that no folder lists, as start-up would collect them.
    const QStringList& LostIds() const { return m_lostIds; }
    const std::vector<std::unique_ptr<KvObject>>& Lost() const { return m_lost; }
    const KvAddStatus& Statuses() const { return m_statuses; }

private:
    QString m_dir;
    KvDirContext m_ctx;
    KvAddStatus m_statuses;
    KvNotebook m_nb;
    QStringList m_lostIds;
    std::vector<std::unique_ptr<KvObject>> m_lost;
};
