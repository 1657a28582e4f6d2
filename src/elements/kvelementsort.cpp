#include "elements/kvelementsort.h"

#include "model/kvobject.h"
#include "platform/applog.h"

#include <QLocale>
#include <algorithm>

KvNameOrder::KvNameOrder() : m_collator(QLocale(QLocale::German, QLocale::Germany))
{
    // The same order on every machine: German rules whatever LANG says, letter case
    // ignored, "10" after "1" and before "2".
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    m_collator.setIgnorePunctuation(false);
}

int KvNameOrder::Compare(const QString& a, const QString& b) const
{
    return m_collator.compare(a, b);
}

QCollatorSortKey KvNameOrder::Key(const QString& name) const
{
    return m_collator.sortKey(name);
}

namespace {

bool IsPage(const KvObject& obj)
{
    return obj.Id().contains(u"Page");
}

// Folders before pages (order 1) or after them (order 2); 0 when the kinds decide nothing.
int KindRank(const KvObject& obj, int order)
{
    if (order == 1)
        return IsPage(obj) ? 1 : 0;
    if (order == 2)
        return IsPage(obj) ? 0 : 1;
    return 0;
}

} // namespace

namespace KvElementSort {

bool ElementsToSwap(const KvObject& a, const KvObject& b, int order, const KvNameOrder& names)
{
    if (order < 0 || order > 2)
        return false;
    const int ra = KindRank(a, order);
    const int rb = KindRank(b, order);
    if (ra != rb)
        return ra > rb;
    return names.Compare(a.Name(), b.Name()) > 0;
}

QList<KvObject*> SortedChildren(const KvObject& folder, int order)
{
    QList<KvObject*> children = folder.Children();
    if (order < 0 || order > 2 || children.size() < 2)
        return children;
    // One sort key per child instead of a collation per comparison; the stable sort keeps
    // elements that compare equal in their order, as adjacent swaps do.
    const KvNameOrder names;
    struct Item
    {
        int rank;
        QCollatorSortKey key;
        KvObject* obj;
    };
    std::vector<Item> items;
    items.reserve(size_t(children.size()));
    for (KvObject* child : std::as_const(children))
        items.push_back({KindRank(*child, order), names.Key(child->Name()), child});
    std::stable_sort(items.begin(), items.end(), [](const Item& x, const Item& y) {
        if (x.rank != y.rank)
            return x.rank < y.rank;
        return x.key.compare(y.key) < 0;
    });
    QList<KvObject*> sorted;
    sorted.reserve(children.size());
    for (const Item& item : items)
        sorted.append(item.obj);
    return sorted;
}

bool SortChildren(KvObject& folder, int order)
{
    KV_LOG_SCOPE("KvElementSort::SortChildren");
    const QList<KvObject*> sorted = SortedChildren(folder, order);
    if (sorted == folder.Children())
        return false;
    folder.ReorderChildren(sorted);
    return true;
}

} // namespace KvElementSort
