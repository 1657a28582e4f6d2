#include "model/kvstatusimages.h"

#include <QStringList>

// Outside any namespace: the resource's init function is a global symbol.
static void InitResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(icons);
        return true;
    }();
    Q_UNUSED(done);
}

namespace KvStatusImages {

QString IconKey(int status, bool forFolder)
{
    static const QStringList keys = {
        QString(),           u"STAT_NOTFINISHED"_qs, u"STAT_INPROCESS"_qs,
        u"STAT_FINISHED"_qs, u"STAT_NOTCRITICAL"_qs, u"STAT_PROBLEMATIC"_qs,
        u"STAT_CRITICAL"_qs, u"STAT_LOWPRIO"_qs,     u"STAT_NORMPRIO"_qs,
        u"STAT_HIGHPRIO"_qs, u"STAT_IMPORTANT"_qs,   u"STAT_CONCLUSION"_qs,
        u"STAT_QUESTION"_qs, u"STAT_INFORMATION"_qs};
    if (status == 0)
        return forFolder ? u"STAT_UNDEF_FOLDER"_qs : u"STAT_UNDEF_PAGE"_qs;
    if (status < 0 || status >= keys.size())
        return QString();
    return keys[status];
}

QString BuiltInImage(int index)
{
    static const QStringList files = {u"topfolder"_qs,   u"trashfolder"_qs, u"folder"_qs,
                                      u"lock"_qs,        u"page"_qs,        u"notfinished"_qs,
                                      u"inprocess"_qs,   u"finished"_qs,    u"notcritical"_qs,
                                      u"problematic"_qs, u"critical"_qs,    u"lowprio"_qs,
                                      u"normprio"_qs,    u"highprio"_qs,    u"important"_qs,
                                      u"conclusion"_qs,  u"question"_qs,    u"information"_qs};
    if (index < 0 || index >= files.size())
        return QString();
    InitResources();
    return u":/korvelle/model/icons/"_qs + files[index] + u".svg"_qs;
}

} // namespace KvStatusImages
