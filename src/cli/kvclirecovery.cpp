#include "cli/kvclirecovery.h"

#include "cli/kvclinotebook.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "store/texmeminifile.h"

#include <QDateTime>

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

} // namespace KvCliRecovery
