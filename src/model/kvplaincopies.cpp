#include "model/kvplaincopies.h"

#include <atomic>

namespace {

std::atomic<KvPlainCopies::ForgetFn> g_keeper = nullptr;

} // namespace

namespace KvPlainCopies {

void SetKeeper(ForgetFn forget)
{
    g_keeper.store(forget);
}

void PageProtected(const QString& contentPath)
{
    if (const ForgetFn forget = g_keeper.load())
        forget(contentPath);
}

} // namespace KvPlainCopies
