#include "elements/kvelementwindow.h"

#include "model/kvfolder.h"

void KvHeadlessWindow::StoreFolder(KvFolder& folder)
{
    folder.Store();
}
