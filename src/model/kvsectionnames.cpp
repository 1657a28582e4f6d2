#include "model/kvsectionnames.h"

namespace KvSectionNames {

QString Format(const QString& prefix, int number)
{
    return prefix + QString::number(number).rightJustified(7, u'0');
}

QString ItemKey(int number)
{
    return Format(u"Item"_qs, number);
}

} // namespace KvSectionNames
