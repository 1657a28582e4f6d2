#include "lists/kvresultrow.h"

#include "app/kvtexts.h"
#include "links/kvlink.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"

namespace {

constexpr int kStatusImageBase = 4;

} // namespace

KvResultRow KvResultRow::For(const KvObject& obj, bool fullPath)
{
    KvResultRow row;
    row.id = obj.Id();
    const KvObject* parent = obj.Parent();
    if (auto* folder = dynamic_cast<KvFolder*>(const_cast<KvObject*>(&obj))) {
        row.caption = u'[' + KvTexts::Text(5001) + u": "_qs + obj.Name() + u']';
        row.folder = fullPath && parent ? obj.PathText(true, u"/"_qs) : obj.Name();
        const int status = folder->GetStatus();
        if (status != 0)
            row.image = kStatusImageBase + status;
        else
            row.image = folder->Kind() == KvFolder::TopFolder     ? 0
                        : folder->Kind() == KvFolder::TrashFolder ? 1
                                                                  : 2;
    } else {
        row.caption = obj.Name();
        if (parent)
            row.folder = fullPath ? obj.PathText(false, u"/"_qs) : parent->Name();
        if (auto* page = dynamic_cast<const KvPage*>(&obj))
            row.image = kStatusImageBase + page->GetStatus();
    }
    return row;
}

std::optional<KvResultRow> KvResultRow::For(const QString& id, bool fullPath)
{
    const KvObject* obj = FindObject(id);
    if (!obj || obj->IsRemoved())
        return std::nullopt;
    return For(*obj, fullPath);
}

QString KvResultRow::LinkText(const KvObject& obj)
{
    return KvLink::ElementLinkText(obj);
}
