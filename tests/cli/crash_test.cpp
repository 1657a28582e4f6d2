// Crash harness: writers are killed with SIGKILL at random moments while they save pages,
// store a folder of several hundred children, change a page's password or repair a damaged
// notebook. Afterwards the directory must pass the integrity check, every write that had
// returned must be there, and every page must open with a password it had. korvnote-cli is
// killed the same way in the middle of add, move, trash, copy and empty-trash on notebooks
// whose object store spans several member files: afterwards check is clean or check
// --repair makes it clean, and every page that is still there keeps its content file.
//
// KORV_CRASH_ROUNDS sets the number of rounds (default 24); KORV_CRASH_SEED the first seed.
#include "cli/kvclicheck.h"
#include "cli/kvclinotebook.h"
#include "model/kvfolder.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvpage.h"
#include "model/kvpasswordasker.h"
#include "richtext/texrichdocument.h"
#include "support/testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <gtest/gtest.h>
#include <map>
#include <set>

namespace {

const QString kWriter = QStringLiteral(KORV_CRASHWRITER);
const QString kCli = QStringLiteral(KORVELLE_TEST_BIN_DIR "/bin/korvnote-cli");

enum class Mode
{
    Pages,
    Folder,
    Password,
    Repair,
    CliAdd,
    CliMove,
    CliTrash,
    CliCopy,
    CliEmptyTrash
};

const char* modeName(Mode m)
{
    switch (m) {
    case Mode::Pages:
        return "pages";
    case Mode::Folder:
        return "folder";
    case Mode::Password:
        return "password";
    case Mode::Repair:
        return "repair";
    case Mode::CliAdd:
        return "cli add";
    case Mode::CliMove:
        return "cli move";
    case Mode::CliTrash:
        return "cli trash";
    case Mode::CliCopy:
        return "cli copy";
    case Mode::CliEmptyTrash:
        return "cli empty-trash";
    }
    return "?";
}

class ListAsker : public KvPasswordAsker
{
public:
    bool AskPassword(KvPage&, QString& password) override
    {
        password = next;
        return true;
    }
    QString next;
};

// Text of a page in a read-only notebook, trying each password in turn; a null string when
// none opens it.
QString pageText(const QString& dir, const QString& id, const QStringList& passwords)
{
    ListAsker asker;
    KvPasswordAsker::SetCurrent(&asker);
    QString text;
    const QStringList tries = passwords.isEmpty() ? QStringList{QString()} : passwords;
    for (const QString& pw : tries) {
        KvCliNotebook nb(dir, false);
        nb.Build();
        auto* page = dynamic_cast<KvPage*>(FindObject(id));
        if (!page)
            break;
        asker.next = pw;
        try {
            page->Load(false, false);
            text = page->GetEditor()->PlainText();
            page->Unload();
            break;
        } catch (const KvPage::EWrongPassword&) {
            continue;
        } catch (const KvException&) {
            break;
        }
    }
    KvPasswordAsker::SetCurrent(nullptr);
    return text;
}

QStringList journalLines(const QString& path)
{
    QStringList lines = QString::fromUtf8(korvtest::ReadAll(path)).split(u'\n');
    // A line being written when the writer died is not complete.
    if (!lines.isEmpty())
        lines.removeLast();
    return lines;
}

QStringList contentFiles(const QString& dir)
{
    QStringList files;
    QDirIterator it(dir, {u"*.kvp"_qs}, QDir::Files);
    while (it.hasNext())
        files.append(QFileInfo(it.next()).fileName());
    files.sort();
    return files;
}

class Round
{
public:
    Round(Mode mode, quint32 seed) : m_mode(mode), m_rng(seed)
    {
        m_dir = m_env.Dir(u"notes"_qs);
        KvGeneratorOptions o;
        o.seed = seed;
        o.elements = mode == Mode::Folder ? 450 : 40;
        o.flat = mode == Mode::Folder;
        o.protectedPercent = mode == Mode::Password ? 20 : 0;
        o.referrerPercent = mode == Mode::Pages || mode == Mode::Password ? 0 : 5;
        o.trashPercent = 0;
        if (IsCli()) {
            // Large enough for several member files per store.
            o.elements = 1500;
            o.trashPercent = mode == Mode::CliEmptyTrash ? 40 : 3;
        }
        m_nb = KvNotebookGenerator::Generate(m_dir, o);
    }

    QStringList Run()
    {
        QStringList args;
        switch (m_mode) {
        case Mode::Pages: {
            KvCliNotebook nb(m_dir, false);
            nb.Build();
            for (const QString& id : m_nb.pageIds) {
                auto* page = dynamic_cast<KvPage*>(FindObject(id));
                if (page && !page->IsReferrer() && !page->IsProtected() &&
                    !page->GetWriteProtect() && m_pages.size() < 6)
                    m_pages.append(id);
            }
        }
            args = QStringList{u"pages"_qs, m_dir, Journal()} + m_pages;
            break;
        case Mode::Folder:
            args = {u"folder"_qs, m_dir, Journal()};
            for (const QString& id : m_nb.children.value(u"TopFolder"_qs))
                m_children.insert(id);
            break;
        case Mode::Password: {
            m_locked = m_nb.passwords.keys().value(0);
            if (m_locked.isEmpty())
                return {u"no protected page generated"_qs};
            m_password = m_nb.passwords.value(m_locked);
            m_text = pageText(m_dir, m_locked, {m_password});
            if (m_text.isNull())
                return {u"the protected page does not open before the round"_qs};
            args = {u"password"_qs, m_dir, Journal(), m_locked, m_password};
            break;
        }
        case Mode::Repair:
            return RunRepair();
        case Mode::CliAdd:
        case Mode::CliMove:
        case Mode::CliTrash:
        case Mode::CliCopy:
        case Mode::CliEmptyTrash:
            return RunCli();
        }
        if (!Kill(kWriter, args))
            return m_problems;
        Verify();
        return m_problems;
    }

    // Keeps the directory of a failed round for inspection (KORV_CRASH_KEEP names where).
    void Keep(int round) const
    {
        const QString keep = qEnvironmentVariable("KORV_CRASH_KEEP");
        if (keep.isEmpty())
            return;
        const QString target = keep + u"/round-"_qs + QString::number(round) + u'/';
        QDir().mkpath(target);
        QDirIterator it(m_env.Root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString rel = path.mid(m_env.Root().size());
            QDir().mkpath(QFileInfo(target + rel).absolutePath());
            QFile::copy(path, target + rel);
        }
    }

private:
    QString Journal() const { return m_env.Root() + u"journal"_qs; }

    bool IsCli() const { return m_mode >= Mode::CliAdd; }

    // Starts the program, waits for it to be under way, kills it; false when it never got
    // going. A program that does not say when it is ready is killed after up to maxWaitUs.
    bool Kill(const QString& program, const QStringList& args, bool waitReady = true,
              const QByteArray& stdinText = {}, quint32 maxWaitUs = 300000, quint32 minWaitUs = 0)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::SeparateChannels);
        QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
        pe.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        pe.insert(u"HOME"_qs, m_env.Data().homeDir);
        pe.insert(u"XDG_CONFIG_HOME"_qs, m_env.Data().configHome);
        p.setProcessEnvironment(pe);
        p.start(program, args);
        if (!p.waitForStarted(10000)) {
            m_problems.append(u"cannot start "_qs + program);
            return false;
        }
        if (!stdinText.isEmpty()) {
            p.write(stdinText);
            p.closeWriteChannel();
        }
        if (waitReady) {
            while (!p.canReadLine()) {
                if (!p.waitForReadyRead(10000)) {
                    m_problems.append(u"writer never ready: "_qs +
                                      QString::fromLocal8Bit(p.readAllStandardError()));
                    p.kill();
                    p.waitForFinished();
                    return false;
                }
            }
        }
        QThread::usleep(waitReady ? m_rng.bounded(300000u)
                                  : minWaitUs + m_rng.bounded(std::max(1u, maxWaitUs - minWaitUs)));
        if (p.state() != QProcess::Running && waitReady) {
            m_problems.append(u"writer ended by itself: "_qs +
                              QString::fromLocal8Bit(p.readAllStandardError()));
            return false;
        }
        m_finishedFirst = p.state() != QProcess::Running;
        p.kill();
        p.waitForFinished(10000);
        return true;
    }

    void CheckClean()
    {
        const KvCliCheck::Result r = KvCliCheck::Inspect(m_dir);
        for (const QString& f : r.findings)
            m_problems.append(u"check: "_qs + f);
    }

    void Verify()
    {
        CheckClean();
        const QStringList lines = journalLines(Journal());
        switch (m_mode) {
        case Mode::Pages: {
            std::map<QString, qint64> last;
            for (const QString& line : lines)
                last[line.section(u' ', 0, 0)] = line.section(u' ', 1).toLongLong();
            // A page written after the journal's last line may hold the next generation.
            for (const QString& id : std::as_const(m_pages)) {
                const qint64 n = last.count(id) ? last[id] : 0;
                const QString text = pageText(m_dir, id, {});
                const qint64 seen =
                    text.startsWith(u"gen:"_qs) ? text.section(u' ', 0, 0).mid(4).toLongLong() : 0;
                if (seen != n && seen != n + 1)
                    m_problems.append(
                        u"%1 holds generation %2, journal says %3"_qs.arg(id).arg(seen).arg(n));
            }
            break;
        }
        case Mode::Folder: {
            KvCliNotebook nb(m_dir, false);
            nb.Build();
            std::set<QString> now;
            for (KvObject* child : nb.Top()->Children())
                now.insert(child->Id());
            if (now != m_children || nb.Top()->ChildCount() != int(m_children.size()))
                m_problems.append(
                    u"the top folder lists %1 children instead of %2"_qs.arg(nb.Top()->ChildCount())
                        .arg(m_children.size()));
            break;
        }
        case Mode::Password: {
            const qint64 n = lines.isEmpty() ? 0 : lines.last().toLongLong();
            QStringList candidates;
            candidates << (n == 0 ? m_password : m_password + QString::number(n))
                       << m_password + QString::number(n + 1);
            const QString text = pageText(m_dir, m_locked, candidates);
            if (text.isNull())
                m_problems.append(
                    u"%1 opens with neither %2"_qs.arg(m_locked, candidates.join(u" nor "_qs)));
            else if (text != m_text)
                m_problems.append(u"%1 opens with other text"_qs.arg(m_locked));
            break;
        }
        default: // the repair and the command line's rounds check on their own
            break;
        }
    }

    QStringList RunRepair()
    {
        const QStringList before = contentFiles(m_dir);
        // Damage the object store as a crash of a foreign writer could.
        QFile member(m_dir + u"objprps.001"_qs);
        if (!member.open(QIODevice::ReadWrite) || !member.resize(member.size() / 2))
            return {u"cannot damage objprps.001"_qs};
        member.close();
        Kill(kCli, {u"check"_qs, u"--repair"_qs, m_dir}, false);
        // A finished repair afterwards must leave a clean notebook that lost no page file.
        QProcess p;
        p.start(kCli, {u"check"_qs, u"--repair"_qs, m_dir});
        p.waitForFinished(60000);
        if (p.exitCode() != 0)
            m_problems.append(u"repair after the kill: "_qs +
                              QString::fromUtf8(p.readAllStandardOutput()) +
                              QString::fromUtf8(p.readAllStandardError()));
        CheckClean();
        const QStringList after = contentFiles(m_dir);
        for (const QString& f : before) {
            if (!after.contains(f))
                m_problems.append(u"content file lost: "_qs + f);
        }
        return m_problems;
    }

    // Pages and folders outside the trash that the user's write protection lets move and
    // delete, in tree order.
    QStringList Movable(bool folders)
    {
        KvCliNotebook nb(m_dir, false);
        nb.Build();
        QStringList ids;
        for (KvObject* obj : CollectDescendants(nb.Top())) {
            if (auto* page = dynamic_cast<KvPage*>(obj)) {
                if (!folders && !page->GetWriteProtect())
                    ids.append(page->Id());
            } else if (auto* folder = dynamic_cast<KvFolder*>(obj)) {
                if (folders && !folder->ContainsWriteProtectedPage())
                    ids.append(folder->Id());
            }
        }
        return ids;
    }

    // Content files by page, of the pages the notebook lists.
    std::set<QString> ListedPageFiles()
    {
        KvCliNotebook nb(m_dir, false);
        nb.Build();
        std::set<QString> files;
        for (KvFolder* root : {nb.Top(), nb.Trash()}) {
            for (KvObject* obj : CollectDescendants(root)) {
                auto* page = dynamic_cast<KvPage*>(obj);
                if (page && !page->IsReferrer() && QFileInfo::exists(page->ContentFilePath()))
                    files.insert(QFileInfo(page->ContentFilePath()).fileName());
            }
        }
        return files;
    }

    QStringList RunCli()
    {
        const std::set<QString> before = ListedPageFiles();
        QStringList args;
        QByteArray input;
        quint32 maxWait = 1500000;
        switch (m_mode) {
        case Mode::CliAdd:
            args = {u"add"_qs,          m_dir,  u"--page"_qs, u"--in"_qs, u"TopFolder"_qs,
                    u"--names-from"_qs, u"-"_qs};
            for (int i = 0; i < 2000; ++i)
                input += "Neue Seite " + QByteArray::number(i) + '\n';
            break;
        case Mode::CliMove:
        case Mode::CliTrash: {
            const QStringList pages = Movable(false);
            const QStringList folders = Movable(true);
            if (pages.size() < 300 || folders.size() < 2)
                return {u"too few movable elements generated"_qs};
            args = {m_mode == Mode::CliMove ? u"move"_qs : u"trash"_qs, m_dir};
            for (int i = 0; i < 300; ++i)
                args.append(pages[(i * 7) % pages.size()]);
            args.append(folders.last());
            if (m_mode == Mode::CliMove) {
                // A folder that none of the moved ones contains.
                args.removeLast();
                args << u"--to"_qs << folders.last();
            }
            break;
        }
        case Mode::CliCopy: {
            // The folder with the largest subtree below the top folder.
            KvCliNotebook nb(m_dir, false);
            nb.Build();
            QString biggest;
            qsizetype most = -1;
            for (KvObject* child : nb.Top()->Children()) {
                const qsizetype n = CollectDescendants(child).size();
                if (dynamic_cast<KvFolder*>(child) && n > most) {
                    most = n;
                    biggest = child->Id();
                }
            }
            if (biggest.isEmpty())
                return {u"no folder generated"_qs};
            args = {u"copy"_qs, m_dir, biggest, u"--to"_qs, u"TrashFolder"_qs};
            break;
        }
        case Mode::CliEmptyTrash:
            args = {u"empty-trash"_qs, m_dir};
            maxWait = 800000;
            break;
        default:
            break;
        }
        Q_UNUSED(maxWait);
        // A run on a copy tells how long the command takes here; the kill lands in its last
        // third, where the changes are made and written.
        const QString probe = m_env.Dir(u"probe"_qs);
        for (const QString& name : QDir(m_dir).entryList(QDir::Files))
            QFile::copy(m_dir + name, probe + name);
        QStringList probeArgs = args;
        probeArgs.replace(probeArgs.indexOf(m_dir), probe);
        QElapsedTimer timer;
        timer.start();
        {
            QProcess p;
            p.setProcessEnvironment(Environment());
            p.start(kCli, probeArgs);
            p.write(input);
            p.closeWriteChannel();
            p.waitForFinished(120000);
            if (p.exitCode() != 0)
                return {u"the command fails: "_qs + QString::fromUtf8(p.readAllStandardError())};
        }
        const quint32 took = quint32(timer.nsecsElapsed() / 1000);
        Kill(kCli, args, false, input, took + took / 20, took * 2 / 3);
        if (!KvCliCheck::Inspect(m_dir).findings.isEmpty()) {
            ++m_repaired;
            QProcess p;
            p.setProcessEnvironment(Environment());
            p.start(kCli, {u"check"_qs, u"--repair"_qs, m_dir});
            p.waitForFinished(120000);
            if (p.exitCode() != 0)
                m_problems.append(u"repair after the kill: "_qs +
                                  QString::fromUtf8(p.readAllStandardOutput()) +
                                  QString::fromUtf8(p.readAllStandardError()));
            CheckClean();
        }
        // Every page still there has the content file it had.
        const std::set<QString> after = ListedPageFiles();
        for (const QString& f : before) {
            if (after.count(f))
                continue;
            const QString id = f.section(u'.', 0, 0);
            KvCliNotebook nb(m_dir, false);
            nb.Build();
            auto* page = dynamic_cast<KvPage*>(FindObject(id));
            if (page && page->Parent())
                m_problems.append(u"content file lost: "_qs + f);
        }
        return m_problems;
    }

    QProcessEnvironment Environment()
    {
        QProcessEnvironment pe = QProcessEnvironment::systemEnvironment();
        pe.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        pe.insert(u"HOME"_qs, m_env.Data().homeDir);
        pe.insert(u"XDG_CONFIG_HOME"_qs, m_env.Data().configHome);
        return pe;
    }

public:
    int Repaired() const { return m_repaired; }
    // The program had ended by itself when the kill came.
    bool FinishedFirst() const { return m_finishedFirst; }

private:
    int m_repaired = 0;
    bool m_finishedFirst = false;
    Mode m_mode;
    QRandomGenerator m_rng;
    korvtest::SandboxEnv m_env;
    QString m_dir;
    KvGeneratedNotebook m_nb;
    QStringList m_problems;
    QStringList m_pages;
    std::set<QString> m_children;
    QString m_locked;
    QString m_password;
    QString m_text;
};

TEST(CrashHarness, KilledWritersLeaveConsistentNotebooks)
{
    if (!QFileInfo::exists(kWriter) || !QFileInfo::exists(kCli))
        GTEST_SKIP() << "writer or korvnote-cli not built";
    const int rounds = qEnvironmentVariableIntValue("KORV_CRASH_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("KORV_CRASH_ROUNDS")
                           : 24;
    const quint32 firstSeed = quint32(qEnvironmentVariableIntValue("KORV_CRASH_SEED") + 1);
    // The writers' rounds, then those of korvnote-cli: KORV_CRASH_CLI_ROUNDS of them
    // (default one per command); KORV_CRASH_MODES=cli runs only these, KORV_CRASH_ROUNDS
    // of them.
    const QList<Mode> writerModes = {Mode::Pages, Mode::Folder, Mode::Password, Mode::Repair};
    const QList<Mode> cliModes = {Mode::CliAdd, Mode::CliMove, Mode::CliTrash, Mode::CliCopy,
                                  Mode::CliEmptyTrash};
    const bool cliOnly = qEnvironmentVariable("KORV_CRASH_MODES") == u"cli";
    int cliRounds = int(cliModes.size());
    if (cliOnly)
        cliRounds = rounds;
    else if (qEnvironmentVariableIntValue("KORV_CRASH_CLI_ROUNDS") > 0)
        cliRounds = qEnvironmentVariableIntValue("KORV_CRASH_CLI_ROUNDS");
    QList<std::pair<Mode, quint32>> schedule;
    if (!cliOnly) {
        for (int i = 0; i < rounds; ++i)
            schedule.append({writerModes[i % writerModes.size()], firstSeed + quint32(i)});
    }
    for (int i = 0; i < cliRounds; ++i)
        schedule.append({cliModes[i % cliModes.size()], firstSeed + quint32(i)});
    const QList<Mode> modes = cliOnly ? cliModes : writerModes + cliModes;
    std::map<Mode, int> failed;
    std::map<Mode, int> repaired;
    std::map<Mode, int> run;
    std::map<Mode, int> finished;
    for (int i = 0; i < int(schedule.size()); ++i) {
        const auto [mode, seed] = schedule[i];
        Round round(mode, seed);
        const QStringList problems = round.Run();
        ++run[mode];
        repaired[mode] += round.Repaired();
        finished[mode] += round.FinishedFirst() ? 1 : 0;
        if (!problems.isEmpty()) {
            ++failed[mode];
            round.Keep(i);
        }
        EXPECT_TRUE(problems.isEmpty())
            << "round " << i << " (" << modeName(mode) << ", seed " << seed << "):\n"
            << problems.join(u'\n').toStdString();
    }
    std::printf("crash rounds: %d\n", int(schedule.size()));
    for (Mode m : modes)
        std::printf("  %-16s %4d rounds, %3d ended before the kill, %3d needed check --repair, "
                    "%3d failed\n",
                    modeName(m), run[m], finished[m], repaired[m], failed[m]);
}

} // namespace
