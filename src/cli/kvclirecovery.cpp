#include "cli/kvclirecovery.h"

#include "cli/kvclinotebook.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "store/texmeminifile.h"

#include <QDateTime>
#include <QSet>

namespace KvCliRecovery {

KvRecoveryResult CollectLost(KvCliNotebook& notebook)
{
    KvElementFactory factory;
    const KvRecoveryResult result = KvNotebookBuild::RecoverLostElements(
        *notebook.Top(), notebook.ObjectSnapshot(), factory, QDateTime::currentDateTime());
    if (!result.folder)
        return result;
    // Start-up opens the new folder's node one level, and the tree folder stores that.
    KvDirContext::FldrStore().WriteBool(result.folder->Id(), u"Expand"_qs, true);
    KvDirContext::FldrStore().UpdateFile();
    return result;
}

QStringList DropDoubleListings(KvCliNotebook& notebook)
{
    TexMemIniFile& snapshot = notebook.ObjectSnapshot();
    QStringList stored;
    for (KvFolder* root : {notebook.Top(), notebook.Trash()}) {
        QList<KvObject*> all{root};
        all += CollectDescendants(root);
        for (KvObject* obj : std::as_const(all)) {
            auto* folder = dynamic_cast<KvFolder*>(obj);
            if (!folder)
                continue;
            // The items of the stored chain, as the build read them.
            int listed = 0;
            QString section = folder->Id();
            QSet<QString> visited{section};
            while (!section.isEmpty()) {
                QString next;
                for (const QString& key : snapshot.ReadSection(section)) {
                    if (key.contains(u"Item"_qs))
                        ++listed;
                    else if (key.contains(u"Continuation"_qs))
                        next = snapshot.ReadString(section, key, QString());
                }
                if (visited.contains(next))
                    break;
                visited.insert(next);
                section = next;
            }
            if (listed > folder->ChildCount()) {
                folder->Store();
                stored.append(folder->Id());
            }
        }
    }
    return stored;
}

} // namespace KvCliRecovery
