#include "cli/kvclitree.h"

#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"

namespace {

struct Printer
{
    const KvCliNotebook& nb;
    bool withIds;
    KvCliIo& io;

    QString StatusName(int status) const
    {
        if (status <= 0)
            return QString();
        const QString text = StatusText(status, &nb.Statuses());
        return text.isEmpty() ? u"Status %1"_qs.arg(status) : text;
    }

    QString Line(const KvObject* obj, int depth) const
    {
        QString line(depth * 2, u' ');
        const auto* folder = dynamic_cast<const KvFolder*>(obj);
        const auto* page = dynamic_cast<const KvPage*>(obj);
        if (depth > 0 || !folder || folder->Kind() == KvFolder::NormalFolder)
            line += folder ? u"+ "_qs : u"- "_qs;
        line += obj->Name();
        if (withIds)
            line += u" ["_qs + obj->Id() + u']';
        int status = 0;
        if (folder)
            status = const_cast<KvFolder*>(folder)->GetStatus();
        else if (page)
            status = page->GetStatus();
        const QString statusName = StatusName(status);
        if (!statusName.isEmpty())
            line += u" {"_qs + statusName + u'}';
        if (obj->IsReferrer()) {
            line += withIds ? u" (referrer -> "_qs + obj->Ref2() + u')' : u" (referrer)"_qs;
            if (!obj->Target())
                line += u" (target missing)"_qs;
        }
        if (page && page->IsProtected())
            line += u" (protected)"_qs;
        return line;
    }

    void Walk(const KvObject* obj, int depth) const
    {
        io.OutLine(Line(obj, depth));
        for (const KvObject* child : obj->Children())
            Walk(child, depth + 1);
    }
};

} // namespace

namespace KvCliTree {

void Print(const KvCliNotebook& notebook, bool withIds, KvCliIo& io)
{
    const Printer p{notebook, withIds, io};
    p.Walk(notebook.Top(), 0);
    p.Walk(notebook.Trash(), 0);
    if (notebook.Lost().empty())
        return;
    io.OutLine(u"Lost elements (listed by no folder):"_qs);
    for (const auto& obj : notebook.Lost())
        p.Walk(obj.get(), 1);
}

} // namespace KvCliTree
