#include "elements/kvelementids.h"

#include "model/kvdircontext.h"
#include "store/texinifile.h"

#include <QFileInfo>

namespace KvElementIds {

QString NewPageId()
{
    const KvDirContext& ctx = KvDirContext::Current();
    const QString dir = ctx.DataDir();
    const QString ext = u'.' + ctx.fileExt;
    return KvDirContext::ObjStore().NewSectionName(
        u"Page"_qs, [&](const QString& id) { return QFileInfo::exists(dir + id + ext); });
}

QString NewFolderId()
{
    return KvDirContext::ObjStore().NewSectionName(u"Fldr"_qs);
}

} // namespace KvElementIds
