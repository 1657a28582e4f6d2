#include "platform/sysenv.h"

#include <gtest/gtest.h>

TEST(SysEnv, OverrideReplacesEveryRootAndResetRestoresDetection)
{
    KvSysEnvData d;
    d.programDir = u"/tmp/prog/"_qs;
    d.userName = u"tester"_qs;
    d.hostName = u"box"_qs;
    KvSysEnv::Override(d);
    EXPECT_EQ(KvSysEnv::ProgramDir(), u"/tmp/prog/"_qs);
    EXPECT_EQ(KvSysEnv::UserName(), u"tester"_qs);
    KvSysEnv::Reset();
    const KvSysEnvData real = KvSysEnv::Get();
    EXPECT_TRUE(real.programDir.endsWith(u'/'));
    EXPECT_FALSE(real.userName.isEmpty());
    EXPECT_LE(real.hostName.size(), 15);
}
