#include "app/kvoptionsg.h"
#include "app/kvpaths.h"
#include "store/texprofilefile.h"
#include "support/testenv.h"
#include "ui/kvoptionscache.h"

#include <gtest/gtest.h>

namespace {

void WriteAsk(bool ask)
{
    TexProfileFile settings(KvPaths::SettingsFile());
    settings.WriteBool(KvOptionsG::Section, u"MsgDelPage"_qs, ask);
    settings.UpdateFile();
}

// The idle pass asks for the options after every burst of events; the file is read only
// when it changed (also when a change keeps its size), and a change is seen at once,
// without an event loop in between.
TEST(OptionsCache, ReadsTheSettingsFileOnlyWhenItChanged)
{
    korvtest::SandboxEnv env;
    WriteAsk(false);
    KvOptionsCache cache;
    EXPECT_FALSE(cache.Get().MsgDelPage);
    for (int i = 0; i < 1000; ++i)
        cache.Get();
    EXPECT_EQ(cache.Reads(), 1);
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        WriteAsk(true);
        EXPECT_TRUE(cache.Get().MsgDelPage);
        WriteAsk(false);
        EXPECT_FALSE(cache.Get().MsgDelPage);
        cache.Get();
        EXPECT_EQ(cache.Reads(), 3 + 2 * round);
    }
    cache.Invalidate();
    cache.Get();
    EXPECT_EQ(cache.Reads(), 12);
}

} // namespace
