#include "model/kvpasswordasker.h"

namespace {

KvPasswordAsker* g_asker = nullptr;

} // namespace

KvPasswordAsker* KvPasswordAsker::Current()
{
    return g_asker;
}

void KvPasswordAsker::SetCurrent(KvPasswordAsker* asker)
{
    g_asker = asker;
}
