// The built program: standard streams, exit statuses, and reading a data directory while
// another running instance holds its lock.
#include "clifixture.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <pwd.h>
#include <unistd.h>

using namespace korvtest;

namespace {

const QString kBin = QStringLiteral(KORVELLE_TEST_BIN_DIR "/bin/korvnote-cli");

class CliProgram : public CliFixture
{
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        if (!QFileInfo::exists(kBin))
            GTEST_SKIP() << "korvnote-cli not built at " << kBin.toStdString();
    }

    void Prepare(QProcess& p)
    {
        QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
        pe.insert(u"HOME"_qs, m_env.Data().homeDir);
        pe.insert(u"XDG_CONFIG_HOME"_qs, m_env.Data().configHome);
        pe.remove(u"QT_QPA_PLATFORM"_qs);
        pe.remove(u"DISPLAY"_qs);
        pe.remove(u"WAYLAND_DISPLAY"_qs);
        p.setProcessEnvironment(pe);
    }

    CliResult Run(const QStringList& args, const QByteArray& stdinText = {})
    {
        QProcess p;
        Prepare(p);
        p.start(kBin, args);
        EXPECT_TRUE(p.waitForStarted(10000));
        p.write(stdinText);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << args.join(u' ').toStdString();
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
};

TEST_F(CliProgram, RunsHeadlessWithTheStandardStreams)
{
    WriteHandMade();
    const CliResult tree = Run({u"tree"_qs, m_dir});
    EXPECT_EQ(tree.code, 0) << tree.err.toStdString();
    EXPECT_TRUE(tree.err.isEmpty()) << tree.err.toStdString();
    EXPECT_TRUE(tree.out.startsWith("Ordner\n  + Projekte"));

    const CliResult show =
        Run({u"show"_qs, m_dir, u"Page0000001"_qs, u"--password-stdin"_qs}, "geheim\n");
    EXPECT_EQ(show.code, 0) << show.err.toStdString();
    EXPECT_EQ(show.out, "Willkommen im Notizbuch\n");

    struct Case
    {
        QStringList args;
        int code;
    };
    const Case errors[] = {
        {{u"tree"_qs, m_env.Root() + u"nowhere"_qs}, 1},
        {{u"show"_qs, m_dir, u"Page0000001"_qs}, 1}, // no terminal in a test
        {{u"show"_qs, m_dir, u"Page0000001"_qs, u"--password-stdin"_qs}, 1},
        {{u"nothing"_qs}, 2},
        {{u"check"_qs, m_dir}, 1},
    };
    for (const Case& c : errors) {
        const CliResult r = Run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(u' ').toStdString();
        if (c.args.first() != u"check") {
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        }
    }
}

TEST_F(CliProgram, AsksOnTheTerminalWithoutEcho)
{
    // script(1) gives the program a terminal whose input is our standard input.
    const QString script = QStandardPaths::findExecutable(u"script"_qs);
    if (script.isEmpty())
        GTEST_SKIP() << "script(1) is not installed";
    WriteHandMade();
    QProcess p;
    Prepare(p);
    const QString command = kBin + u" show "_qs + m_dir + u" Page0000001"_qs;
    p.start(script, {u"-qec"_qs, command, u"/dev/null"_qs});
    ASSERT_TRUE(p.waitForStarted(10000));
    p.waitForReadyRead(20000); // the prompt
    p.write("geheim\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    const QByteArray out = p.readAllStandardOutput();
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains("Password for page 'Willkommen': ")) << out.toStdString();
    EXPECT_TRUE(out.contains("Willkommen im Notizbuch")) << out.toStdString();
    EXPECT_FALSE(out.contains("geheim")) << out.toStdString();
}

TEST_F(CliProgram, ReadsWhileAnotherInstanceHoldsTheLock)
{
    const KvGeneratedNotebook nb = Generate(600, 12, 10);
    ASSERT_FALSE(nb.passwords.isEmpty());
    const QString protectedPage = nb.passwords.keys().first();

    // A running instance: it waits for a password on its standard input.
    QProcess holder;
    Prepare(holder);
    holder.start(kBin, {u"show"_qs, m_dir, protectedPage, u"--password-stdin"_qs});
    ASSERT_TRUE(holder.waitForStarted(10000));
    // This user on this host: only a live instance keeps such a lock from being stale.
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const passwd* pw = ::getpwuid(::geteuid());
    const QByteArray user = pw ? QByteArray(pw->pw_name) : qgetenv("USER");
    WriteAll(m_dir + u"lockdir.dat"_qs, QByteArray(host).split('.').first().left(15) + "\r\n" +
                                            user + "\r\n10.12.2026 08:00:00\r\nN\r\n" +
                                            QByteArray::number(holder.processId()) + "\r\n");
    const auto before = DirContents(m_dir);

    const CliResult tree = Run({u"tree"_qs, m_dir, u"--ids"_qs});
    EXPECT_EQ(tree.code, 0) << tree.err.toStdString();
    EXPECT_TRUE(tree.out.contains(protectedPage.toUtf8()));
    const CliResult show = Run({u"show"_qs, m_dir, protectedPage, u"--password-stdin"_qs},
                               nb.passwords.value(protectedPage).toUtf8() + '\n');
    EXPECT_EQ(show.code, 0) << show.err.toStdString();
    EXPECT_TRUE(show.out.startsWith(nb.names.value(protectedPage).toUtf8()));
    const CliResult check = Run({u"check"_qs, m_dir});
    EXPECT_EQ(check.code, 0) << check.out.toStdString();
    const CliResult repair = Run({u"check"_qs, m_dir, u"--repair"_qs});
    EXPECT_EQ(repair.code, 1);
    EXPECT_TRUE(repair.err.contains("locked by")) << repair.err.toStdString();
    EXPECT_TRUE(DirContents(m_dir) == before);

    // The holder still runs; given its password it shows the page and ends.
    EXPECT_EQ(holder.state(), QProcess::Running);
    holder.write(nb.passwords.value(protectedPage).toUtf8() + '\n');
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(60000));
    EXPECT_EQ(holder.exitCode(), 0) << holder.readAllStandardError().toStdString();
    EXPECT_TRUE(DirContents(m_dir) == before);
}

TEST_F(CliProgram, ASignalStopsAfterTheCurrentElementWithWhatWasDoneStored)
{
    WriteHandMade();
    ASSERT_EQ(Run({u"check"_qs, m_dir, u"--repair"_qs}).code, 0);
    for (int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        QByteArray names;
        for (int i = 0; i < 20000; ++i)
            names += "Name " + QByteArray::number(i) + '\n';
        QProcess p;
        Prepare(p);
        p.start(kBin, {u"add"_qs, m_dir, u"--page"_qs, u"--in"_qs, u"TopFolder"_qs,
                       u"--names-from"_qs, u"-"_qs});
        ASSERT_TRUE(p.waitForStarted(10000));
        p.write(names);
        p.closeWriteChannel();
        // The first new id means the changes have begun.
        QByteArray out;
        while (!out.contains('\n') && p.state() == QProcess::Running) {
            p.waitForReadyRead(100);
            out += p.readAllStandardOutput();
        }
        ASSERT_TRUE(out.contains('\n'));
        ::kill(pid_t(p.processId()), signal);
        ASSERT_TRUE(p.waitForFinished(60000));
        out += p.readAllStandardOutput();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(p.exitCode(), 130) << p.readAllStandardError().toStdString();
        const qsizetype made = out.count('\n');
        EXPECT_GT(made, 0);
        EXPECT_LT(made, 20000);
        // Stored as far as it went, consistent, and the lock is free again.
        const CliResult check = Run({u"check"_qs, m_dir});
        EXPECT_EQ(check.code, 0) << check.out.toStdString();
        const QString tree = QString::fromUtf8(Run({u"tree"_qs, m_dir, u"--ids"_qs}).out);
        for (const QByteArray& id : out.trimmed().split('\n'))
            EXPECT_TRUE(tree.contains(u'[' + QString::fromLatin1(id) + u']')) << id.toStdString();
        EXPECT_FALSE(QFileInfo::exists(m_dir + u"lockdir.dat"_qs));
    }
}

} // namespace
