#include "elements/kvelementids.h"

#include "model/kvnewids.h"

namespace KvElementIds {

QString NewPageId()
{
    return KvNewIds::NewPageId();
}

QString NewFolderId()
{
    return KvNewIds::NewFolderId();
}

} // namespace KvElementIds
