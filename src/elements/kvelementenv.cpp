#include "elements/kvelementenv.h"

#include "lists/kvbusy.h"
#include "platform/kvexception.h"

void KvElementEnv::Check() const
{
    if (!top || !trash || !window || !factory || !lists || !pageTemplate || !paste)
        throw KvException(u"KvElementEnv: the notebook or a hook is missing"_qs);
}

bool KvElementEnv::Busy() const
{
    return busy && busy->Any();
}
