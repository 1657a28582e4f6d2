#include "commands/kvelementplace.h"

#include "model/kvfolder.h"
#include "model/kvpage.h"

KvElementPlace KvPlaceOf(const KvObject* obj, const KvFolder* top, const KvFolder* trash,
                         bool fullAccess)
{
    KvElementPlace place;
    if (!obj || obj->IsRemoved())
        return place;
    place.exists = true;
    place.isTopFolder = top && obj == top;
    place.isTrash = trash && obj == trash;
    place.insideTrash = trash && obj != trash && obj->HasAncestor(trash);
    place.isReferrer = obj->IsReferrer();
    if (const auto* page = dynamic_cast<const KvPage*>(obj)) {
        place.writable = fullAccess && page->GetWritable();
        place.writeProtected = page->GetWriteProtect();
    } else if (const auto* folder = dynamic_cast<const KvFolder*>(obj)) {
        place.writable = fullAccess && folder->GetWritable();
    }
    return place;
}
