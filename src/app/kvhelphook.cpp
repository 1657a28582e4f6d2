#include "app/kvhelphook.h"

#include "platform/applog.h"

namespace {

KvHelpHook::Handler& handler()
{
    static KvHelpHook::Handler h;
    return h;
}

int g_lastTopic = 0;

} // namespace

void KvHelpHook::ShowTopic(int topic)
{
    KV_LOG_SCOPE("KvHelpHook::ShowTopic");
    g_lastTopic = topic;
    if (handler())
        handler()(topic);
}

void KvHelpHook::SetHandler(Handler h)
{
    handler() = std::move(h);
}

int KvHelpHook::LastTopic()
{
    return g_lastTopic;
}
