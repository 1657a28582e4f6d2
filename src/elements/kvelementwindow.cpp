#include "elements/kvelementwindow.h"

#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "store/texinifile.h"

void KvHeadlessWindow::StoreFolder(KvFolder& folder)
{
    folder.Store();
}

void KvHeadlessWindow::FollowExpansion(KvFolder& source, KvFolder& copy)
{
    // Without a tree the stored state is the state.
    TexIniFile& store = KvDirContext::FldrStore();
    const QString key = u"Expand"_qs;
    store.WriteBool(copy.Id(), key, store.ReadBool(source.Id(), key, false));
    store.UpdateFile();
}
