#pragma once

#include "model/kvfolder.h"

#include <QDateTime>
#include <QStringList>
#include <functional>
#include <memory>

class KvPage;
class KvPropReader;
class TexMemIniFile;

// Creates the elements a build puts directly into the notebook: the two roots and the
// elements recovered from the object store. The window layer derives one that binds
// them to its navigation tree; the plain one serves headless callers.
class KvElementFactory
{
public:
    virtual ~KvElementFactory() = default;
    virtual std::unique_ptr<KvFolder> CreateRoot(const QString& id, quint8 kind);
    // A folder appended to parent, or put first (its children are not loaded here).
    virtual KvFolder* CreateFolder(const QString& id, KvFolder* parent, bool atEnd = true);
    // A page appended to parent, or put first.
    virtual KvPage* CreatePage(const QString& id, KvFolder* parent, bool atEnd = true);
};

// A notebook in memory: the top folder and the trash with everything below them, and the
// snapshot of the object store the build read (lost-element recovery reads it).
struct KvNotebook
{
    std::unique_ptr<KvFolder> top;
    std::unique_ptr<KvFolder> trash;
    std::unique_ptr<TexMemIniFile> objectSnapshot;

    KvNotebook();
    ~KvNotebook();
    KvNotebook(KvNotebook&&) noexcept;
    KvNotebook& operator=(KvNotebook&&) noexcept;
    // Destroys the elements (trash first) and the snapshot.
    void Reset();
};

// What a lost-element recovery did.
struct KvRecoveryResult
{
    KvFolder* folder = nullptr; // the recovery folder; none when nothing was lost
    QStringList recovered;      // the ids put into it, in store order
    QStringList named;          // elements whose lost name was given back (KvLostName)
    QStringList dropped;        // pages that had lost everything but their place in a list
};

namespace KvNotebookBuild {

// Reads the whole notebook of the open directory stores: snapshots of the object, folder
// and page stores serve every read while the elements are constructed, then the stores
// serve reads again. Referrers are bound and the password list of the run is emptied.
// beforeLoad runs after the roots exist and before their children are loaded.
KvNotebook Build(KvElementFactory& factory,
                 const std::function<void(KvNotebook&)>& beforeLoad = {});

// Ids of object-store sections that are folders or pages but that no child list names,
// in store order (the roots excluded).
QStringList FindLostIds(KvPropReader& objectSnapshot);

// Pages that no live element stands for although the directory holds their data: a section
// in the object store that no folder reaches, or a content file or page-store section
// without a section in the object store (a folder that lists such an id makes it live).
// Object-store order, then page-store order, then content files in name order.
QStringList FindOrphanPageIds(KvPropReader& objectSnapshot);

// Appends a new folder named with text 5070 and `when` to the top folder and puts every
// lost element (a folder with its subtree) and every orphan page into it; takes out the
// pages that hold nothing but their place in a list (no name, content file, page-store or
// keyword section, referrer); then gives every element of the notebook whose name was
// lost (a page without a name, a folder without a stored name) a name of its own
// (KvLostName). Stores what it changed and flushes. No folder is made when nothing is lost.
// The directory must be writable. storeTop stores the top folder (the window collapses a
// temporarily expanded node first); none means top.Store().
KvRecoveryResult RecoverLostElements(KvFolder& top, KvPropReader& objectSnapshot,
                                     KvElementFactory& factory, const QDateTime& when,
                                     const std::function<void(KvFolder&)>& storeTop = {});

// The name of a recovery folder made at `when`.
QString RecoveryFolderName(const QDateTime& when);

} // namespace KvNotebookBuild
