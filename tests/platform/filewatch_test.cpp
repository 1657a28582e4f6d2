#include "platform/kvatomicfile.h"
#include "platform/kvfilewatch.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

class FileWatch : public ::testing::Test
{
protected:
    static void Append(const QString& path, const QByteArray& bytes)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(bytes);
    }

    korvtest::SandboxEnv env;
    QString dir = env.Dir(u"config"_qs);
    QString path = dir + u"korvnote.stg"_qs;
};

TEST_F(FileWatch, ReportsWhatChangesTheFileAndNothingElse)
{
    korvtest::WriteAll(path, "[Globals]\r\n");
    KvFileWatch watch(path);
    EXPECT_TRUE(watch.Watching());
    EXPECT_TRUE(watch.Changed()); // the first question: nothing is known yet
    EXPECT_FALSE(watch.Changed());

    const struct
    {
        const char* what;
        bool changes;
        std::function<void()> act;
    } steps[] = {
        {"replaced by rename", true,
         [&] { ASSERT_TRUE(KvAtomicFile::WriteFile(path, "[Globals]\r\nA=1\r\n")); }},
        {"replaced again: the watch outlives the file it watched", true,
         [&] { ASSERT_TRUE(KvAtomicFile::WriteFile(path, "[Globals]\r\nA=2\r\n")); }},
        {"written in place", true, [&] { korvtest::WriteAll(path, "[Globals]\r\nA=3\r\n"); }},
        {"read", false, [&] { korvtest::ReadAll(path); }},
        {"another file replaced", false,
         [&] { ASSERT_TRUE(KvAtomicFile::WriteFile(dir + u"dirprps"_qs, "x")); }},
        {"another file appended to, as the log is", false,
         [&] { Append(dir + u"applog.txt"_qs, "line\r\n"); }},
        {"removed", true, [&] { ASSERT_TRUE(QFile::remove(path)); }},
        {"created", true, [&] { korvtest::WriteAll(path, "[Globals]\r\n"); }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        EXPECT_EQ(watch.Changed(), step.changes);
        EXPECT_FALSE(watch.Changed()); // told once
    }
}

TEST_F(FileWatch, ADirectoryThatGoesAndComesBackIsWatchedAgain)
{
    korvtest::WriteAll(path, "[Globals]\r\n");
    KvFileWatch watch(path);
    EXPECT_TRUE(watch.Changed());
    ASSERT_TRUE(QDir(dir).removeRecursively());
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Watching());
    // Without a directory nothing is watched; the stamp says nothing changed.
    EXPECT_FALSE(watch.Changed());
    ASSERT_TRUE(QDir().mkpath(dir));
    korvtest::WriteAll(path, "[Globals]\r\nA=1\r\n");
    EXPECT_TRUE(watch.Changed());
    EXPECT_TRUE(watch.Watching());
    EXPECT_FALSE(watch.Changed());
    ASSERT_TRUE(KvAtomicFile::WriteFile(path, "[Globals]\r\nA=2\r\n"));
    EXPECT_TRUE(watch.Changed());
}

TEST_F(FileWatch, AMissingDirectoryIsWatchedOnceItExists)
{
    const QString later = env.Root() + u"later/korvnote.stg"_qs;
    KvFileWatch watch(later);
    EXPECT_FALSE(watch.Watching());
    EXPECT_TRUE(watch.Changed());
    EXPECT_FALSE(watch.Changed());
    ASSERT_TRUE(QDir().mkpath(env.Root() + u"later"_qs));
    EXPECT_TRUE(watch.Changed()); // watched from now on; what came before is unknown
    EXPECT_TRUE(watch.Watching());
    EXPECT_FALSE(watch.Changed());
    korvtest::WriteAll(later, "[Globals]\r\n");
    EXPECT_TRUE(watch.Changed());
}

} // namespace
