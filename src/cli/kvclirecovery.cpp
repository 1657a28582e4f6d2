#include "cli/kvclirecovery.h"

#include "app/kvtexts.h"
#include "cli/kvclinotebook.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "store/kvvalueformat.h"

#include <QDateTime>

namespace KvCliRecovery {

QString CollectLost(KvCliNotebook& notebook)
{
    KvFolder* top = notebook.Top();
    TexIniFile& objects = KvDirContext::ObjStore();
    const QString id = objects.NewSectionName(u"Fldr"_qs);
    auto* folder = new KvFolder(id, top, KvFolder::NormalFolder, true); // owned by top
    top->Store();
    folder->SetName(
        KvTexts::Message(5070, {KvValueFormat::DateTimeToText(QDateTime::currentDateTime())}));
    for (const QString& name : notebook.LostIds()) {
        if (name.contains(u"Page")) {
            new KvPage(name, folder, true);
        } else {
            auto* sub = new KvFolder(name, folder, KvFolder::NormalFolder, true);
            sub->LoadChildren();
        }
    }
    ResolveAllReferrers();
    folder->Store();
    // Start-up opens the new folder's node one level, and the tree folder stores that.
    KvDirContext::FldrStore().WriteBool(id, u"Expand"_qs, true);
    KvDirContext::FldrStore().UpdateFile();
    objects.UpdateFile();
    return folder->Name();
}

} // namespace KvCliRecovery
