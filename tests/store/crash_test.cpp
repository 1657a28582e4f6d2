#include "store/texprofilefile.h"
#include "support/testenv.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <map>

namespace {

constexpr int kSections = 12;

// Generation of a value "g<n>-padding"; -1 when the value has another form.
long long generationOf(const QString& value)
{
    if (!value.startsWith(u'g') || !value.endsWith(u"-padding"_qs))
        return -1;
    bool ok = false;
    const long long n = value.mid(1, value.size() - 9).toLongLong(&ok);
    return ok ? n : -1;
}

// Checks every member left behind and returns the generation of each section found.
std::map<QString, long long> checkMembers(const QString& dir, int round)
{
    std::map<QString, long long> found;
    const QStringList members = QDir(dir).entryList({u"objprps.*"_qs}, QDir::Files);
    for (const QString& name : members) {
        const QString path = dir + name;
        const QByteArray bytes = korvtest::ReadAll(path);
        EXPECT_FALSE(bytes.isEmpty()) << "round " << round << ": empty member " << qPrintable(name);
        EXPECT_TRUE(bytes.endsWith("\r\n"))
            << "round " << round << ": torn member " << qPrintable(name);
        for (const QString& line : TexProfileFile::DecodeLines(bytes)) {
            const bool header = !TexProfileFile::HeaderName(line).isNull();
            EXPECT_TRUE(header || line.contains(u'='))
                << "round " << round << ": bad line " << qPrintable(line);
        }
        TexProfileFile file(path);
        for (const QString& section : file.ReadSections()) {
            EXPECT_EQ(found.count(section), 0u)
                << "round " << round << ": " << qPrintable(section) << " in two members";
            const long long gen = generationOf(file.ReadString(section, u"k0"_qs, {}));
            EXPECT_GT(gen, 0) << "round " << round << ": " << qPrintable(section);
            for (int k = 1; k < 10; ++k) {
                EXPECT_EQ(generationOf(file.ReadString(section, u"k"_qs + QString::number(k), {})),
                          gen)
                    << "round " << round << ": " << qPrintable(section) << " mixes generations";
            }
            if (file.ValueExists(section, u"extra"_qs)) {
                EXPECT_EQ(gen % 2, 1) << "round " << round << ": extra survived its deletion";
                EXPECT_EQ(generationOf(file.ReadString(section, u"extra"_qs, {})), gen);
            } else {
                EXPECT_EQ(gen % 2, 0)
                    << "round " << round << ": extra missing in " << qPrintable(section);
            }
            found[section] = gen;
        }
    }
    return found;
}

TEST(StoreCrash, KilledWriterLeavesEverySectionWhole)
{
    korvtest::SandboxEnv env;
    const QString dir = env.Dir(u"data"_qs);
    std::map<QString, long long> previous;
    QRandomGenerator rng(20240229);
    const int rounds = 40;
    for (int round = 0; round < rounds; ++round) {
        const long long start = (round + 1) * 1000000LL;
        QProcess child;
        child.start(QString::fromUtf8(KORV_CRASHCHILD),
                    {dir + u"objprps"_qs, QString::number(start), QString::number(kSections)});
        ASSERT_TRUE(child.waitForStarted(10000));
        // Kill before, during or after the first complete generation.
        if (round % 4 != 0) {
            ASSERT_TRUE(child.waitForReadyRead(20000)) << "writer never got through a generation";
        }
        QThread::msleep(rng.bounded(0, 60));
        ::kill(pid_t(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10000));

        const std::map<QString, long long> found = checkMembers(dir, round);
        for (const auto& [section, gen] : previous) {
            const auto it = found.find(section);
            ASSERT_NE(it, found.end())
                << "round " << round << ": " << qPrintable(section) << " lost";
            EXPECT_GE(it->second, gen)
                << "round " << round << ": " << qPrintable(section) << " went back";
        }
        if (::testing::Test::HasFailure())
            return;
        previous = found;
    }
    EXPECT_EQ(previous.size(), size_t(kSections));
}

} // namespace
