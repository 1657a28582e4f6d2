#include "app/kvcommandline.h"

#include <QFileInfo>

bool KvCommandLine::IsAcceptableId(const QString& id)
{
    for (const char16_t* marker : {u"TopFolder", u"TrashFolder", u"Fldr", u"Page"}) {
        if (id.contains(QStringView(marker)))
            return true;
    }
    return false;
}

namespace {

// On Linux a page file's path starts with "/" too, so only the exact action words
// count as actions.
bool isAction(const QString& arg)
{
    return arg == u"/new_window" || arg == u"/d" || arg == u"/dr" || arg == u"/dw";
}

} // namespace

KvCommandLine KvCommandLine::Parse(const QStringList& args)
{
    KvCommandLine cl;
    QStringList effective = args;

    if (args.size() == 1 && !isAction(args.first())) {
        const QFileInfo page(args.first());
        if (page.fileName().contains(u"Page")) {
            QString dir = page.absolutePath();
            if (!dir.endsWith(u'/'))
                dir += u'/';
            effective = {u"/d"_qs, dir, u"/id"_qs, page.completeBaseName()};
        }
    }

    const QString action = effective.value(0);
    if (action == u"/new_window") {
        cl.action = action;
        cl.newWindow = true;
        return cl;
    }
    if (!isAction(action))
        return cl;
    const QString dir = effective.value(1);
    if (dir.isEmpty())
        return cl; // "/d" without a directory: the configured directory opens
    cl.action = action;
    cl.startDir = dir;
    if (effective.value(2) == u"/id" && IsAcceptableId(effective.value(3)))
        cl.pendingId = effective.value(3);
    return cl;
}
