#include "app/kvtexts.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

// The table loads on first use; the first uses here come from several threads at once.
TEST(KvTextsThreads, FirstUseFromManyThreads)
{
    std::atomic<bool> go{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&] {
            while (!go.load())
                std::this_thread::yield();
            if (KvTexts::Text(5007) != u"Fehler"_qs || KvTexts::Text(9999) != u"Korvelle"_qs)
                ++wrong;
        });
    }
    go = true;
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(wrong.load(), 0);
}

} // namespace
