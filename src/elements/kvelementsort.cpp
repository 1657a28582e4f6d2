#include "elements/kvelementsort.h"

#include "model/kvobject.h"

KvNameOrder::KvNameOrder() {}

int KvNameOrder::Compare(const QString& a, const QString& b) const
{
    return m_collator.compare(a, b);
}

namespace KvElementSort {

bool ElementsToSwap(const KvObject&, const KvObject&, int, const KvNameOrder&)
{
    return false;
}
QList<KvObject*> SortedChildren(const KvObject& folder, int)
{
    return folder.Children();
}
bool SortChildren(KvObject&, int)
{
    return false;
}

} // namespace KvElementSort
