#include "model/kvnewids.h"

#include "model/kvdircontext.h"
#include "model/kvsectionnames.h"
#include "platform/applog.h"
#include "store/kvstorebatch.h"
#include "store/texinifile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <dirent.h>

namespace {

const QString kPage = u"Page"_qs;
const QString kFldr = u"Fldr"_qs;

// The number of prefix + seven digits, 0 when id is not of that form.
int numberOf(const QString& id, const QString& prefix)
{
    if (!id.startsWith(prefix) || id.size() != prefix.size() + 7)
        return 0;
    bool ok = false;
    const int n = QStringView(id).mid(prefix.size()).toInt(&ok);
    return ok ? n : 0;
}

// The highest number of a page content file ("Page" + seven digits + "." + extension),
// listed once per opening: while the lock is held, only this process adds any.
int highestContentNumber()
{
    KvDirContext& ctx = KvDirContext::Current();
    if (ctx.highestContentNumber >= 0)
        return ctx.highestContentNumber;
    int highest = 0;
    if (DIR* d = ::opendir(QFile::encodeName(ctx.DataDir()).constData())) {
        const QString suffix = u'.' + ctx.fileExt;
        while (const dirent* e = ::readdir(d)) {
            const QString name = QFile::decodeName(e->d_name);
            if (name.endsWith(suffix, Qt::CaseInsensitive))
                highest = std::max(highest, numberOf(name.chopped(suffix.size()), kPage));
        }
        ::closedir(d);
    }
    ctx.highestContentNumber = highest;
    return highest;
}

int highWater(const QString& prefix)
{
    TexIniFile& objects = KvDirContext::ObjStore();
    int n = std::max(objects.ReadInteger(KvNewIds::HighSection, prefix, 0),
                     objects.HighestNumber(prefix));
    if (prefix == kPage)
        n = std::max({n, KvDirContext::PageStore().HighestNumber(kPage), highestContentNumber()});
    else if (prefix == kFldr)
        n = std::max(n, KvDirContext::FldrStore().HighestNumber(kFldr));
    return n;
}

QString next(const QString& prefix, const std::function<bool(const QString&)>& taken)
{
    int n = highWater(prefix) + 1;
    while (taken && taken(KvSectionNames::Format(prefix, n)))
        ++n;
    KvDirContext::ObjStore().WriteInteger(KvNewIds::HighSection, prefix, n);
    return KvSectionNames::Format(prefix, n);
}

} // namespace

namespace KvNewIds {

QString NewPageId()
{
    KV_LOG_SCOPE("KvNewIds::NewPageId");
    KvDirContext& ctx = KvDirContext::Current();
    const QString dir = ctx.DataDir();
    const QString ext = u'.' + ctx.fileExt;
    const QString id = next(
        kPage, [&](const QString& candidate) { return QFileInfo::exists(dir + candidate + ext); });
    const int n = numberOf(id, kPage);
    // Before any content file of the new page can be written.
    KvStoreBatch::NewPageContent(kPage, n);
    if (ctx.highestContentNumber >= 0)
        ctx.highestContentNumber = std::max(ctx.highestContentNumber, n);
    return id;
}

QString NewFolderId(const std::function<bool(const QString& id)>& alsoTaken)
{
    KV_LOG_SCOPE("KvNewIds::NewFolderId");
    return next(kFldr, alsoTaken);
}

void NoteGone(const QString& id)
{
    for (const QString& prefix : {kPage, kFldr}) {
        const int n = numberOf(id, prefix);
        if (n <= 0)
            continue;
        TexIniFile& objects = KvDirContext::ObjStore();
        if (objects.ReadInteger(HighSection, prefix, 0) < n)
            objects.WriteInteger(HighSection, prefix, n);
    }
}

int HighWater(const QString& prefix)
{
    return highWater(prefix);
}

} // namespace KvNewIds
