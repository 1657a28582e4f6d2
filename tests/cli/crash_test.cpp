// Crash harness: writers are killed with SIGKILL at random moments while they save pages,
// store a folder of several hundred children, change a page's password or repair a damaged
// notebook. Afterwards the directory must pass the integrity check, every write that had
// returned must be there, and every page must open with a password it had. korvnote-cli is
// killed the same way in the middle of each writing subcommand, on notebooks whose object
// store spans several member files and folders large enough that the kill lands inside the
// write (move, trash and copy of 2,000 pages). A bulk change is all or nothing: after the
// next opening (which completes or undoes it) check is clean without --repair, the notebook
// is as before the command or as after it, and every page that is still there keeps its
// content file.
//
// KORV_CRASH_ROUNDS sets the number of rounds (default 26), split evenly over the modes;
// KORV_CRASH_MODES=cli keeps only korvnote-cli's; KORV_CRASH_SEED the first seed.
#include "cli/kvclicheck.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "cli/kvclisession.h"
#include "model/kvfolder.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvpage.h"
#include "model/kvpasswordasker.h"
#include "platform/sysenv.h"
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
    CliRename,
    CliMove,
    CliTrash,
    CliDelete,
    CliCopy,
    CliReferrer,
    CliSort,
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
    case Mode::CliRename:
        return "cli rename";
    case Mode::CliMove:
        return "cli move";
    case Mode::CliTrash:
        return "cli trash";
    case Mode::CliDelete:
        return "cli delete";
    case Mode::CliCopy:
        return "cli copy";
    case Mode::CliReferrer:
        return "cli referrer";
    case Mode::CliSort:
        return "cli sort";
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
            o.trashPercent = mode == Mode::CliEmptyTrash || mode == Mode::CliDelete ? 40 : 3;
            if (mode == Mode::CliMove || mode == Mode::CliTrash || mode == Mode::CliCopy) {
                // One folder of 2,600 pages with their texts, of which 2,000 go.
                o.elements = 2601;
                o.folders = 1;
                o.trashPercent = 0;
                o.referrerPercent = 0;
            }
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
        case Mode::CliRename:
        case Mode::CliMove:
        case Mode::CliTrash:
        case Mode::CliDelete:
        case Mode::CliCopy:
        case Mode::CliReferrer:
        case Mode::CliSort:
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
        // Until it is gone: a process inside syncfs dies only when the sync returns, which on
        // a busy machine can take longer than any fixed wait.
        p.waitForFinished(-1);
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

    // The notebook's structure: every element with its place, name and content file, and
    // the elements no folder lists.
    QStringList Signature(const QString& dir)
    {
        KvCliNotebook nb(dir, false);
        nb.Build();
        QStringList lines;
        for (KvFolder* root : {nb.Top(), nb.Trash()}) {
            for (KvObject* obj : CollectDescendants(root)) {
                const QList<KvObject*> children = obj->Children();
                for (qsizetype i = 0; i < children.size(); ++i) {
                    KvObject* c = children[i];
                    auto* page = dynamic_cast<KvPage*>(c);
                    lines.append(u"%1/%2 %3 %4%5"_qs.arg(obj->Id()).arg(i).arg(
                        c->Id(), c->Name(),
                        page && QFileInfo::exists(page->ContentFilePath()) ? u" +"_qs : QString()));
                }
            }
        }
        for (const QString& id : nb.LostIds())
            lines.append(u"lost "_qs + id);
        return lines;
    }

    // The command line of this round's command on the generated notebook.
    QStringList CliArgs(QByteArray& input)
    {
        KvCliNotebook nb(m_dir, false);
        nb.Build();
        auto firstOf = [&](KvFolder* root, bool folder) -> KvObject* {
            for (KvObject* obj : CollectDescendants(root)) {
                if (obj != root && (dynamic_cast<KvFolder*>(obj) != nullptr) == folder)
                    return obj;
            }
            return nullptr;
        };
        // The pages of the one big folder.
        auto bigPages = [&](int count) {
            QStringList ids;
            for (KvObject* obj : CollectDescendants(nb.Top())) {
                auto* page = dynamic_cast<KvPage*>(obj);
                if (page && !page->GetWriteProtect() && ids.size() < count)
                    ids.append(page->Id());
            }
            return ids;
        };
        switch (m_mode) {
        case Mode::CliAdd:
            for (int i = 0; i < 2000; ++i)
                input += "Neue Seite " + QByteArray::number(i) + '\n';
            return {u"add"_qs,          m_dir,  u"--page"_qs, u"--in"_qs, u"TopFolder"_qs,
                    u"--names-from"_qs, u"-"_qs};
        case Mode::CliRename: {
            KvObject* obj = firstOf(nb.Top(), false);
            return {u"rename"_qs, m_dir, obj ? obj->Id() : QString(), u"Umbenannt"_qs};
        }
        case Mode::CliMove:
            return QStringList{u"move"_qs, m_dir} + bigPages(2000) +
                   QStringList{u"--to"_qs, u"TopFolder"_qs};
        case Mode::CliTrash:
            return QStringList{u"trash"_qs, m_dir} + bigPages(2000);
        case Mode::CliDelete: {
            // What the settings let go: no write-protected page, no folder holding one.
            QStringList args{u"delete"_qs, m_dir};
            for (KvObject* child : nb.Trash()->Children()) {
                auto* page = dynamic_cast<KvPage*>(child);
                auto* folder = dynamic_cast<KvFolder*>(child);
                if ((page && !page->GetWriteProtect()) ||
                    (folder && !folder->ContainsWriteProtectedPage()))
                    args.append(child->Id());
            }
            return args;
        }
        case Mode::CliCopy: {
            KvObject* big = firstOf(nb.Top(), true);
            return {u"copy"_qs, m_dir, big ? big->Id() : QString(), u"--to"_qs, u"TrashFolder"_qs};
        }
        case Mode::CliReferrer: {
            KvObject* page = firstOf(nb.Top(), false);
            return {u"referrer"_qs, m_dir, page ? page->Id() : QString(), u"--in"_qs,
                    u"TopFolder"_qs};
        }
        case Mode::CliSort:
            return {u"sort"_qs, m_dir, u"TopFolder"_qs, u"--order"_qs, u"1"_qs};
        case Mode::CliEmptyTrash:
            return {u"empty-trash"_qs, m_dir};
        default:
            return {};
        }
    }

    // The next start after the crash, as the program's or a changing command's: it takes
    // the lock and completes or undoes a bulk change left unfinished.
    void OpenAsNextStart()
    {
        // The same user on the same machine as the killed command, whose lock is stale now.
        KvSysEnvData as = m_env.Data();
        const KvSysEnvData real = KvSysEnv::Detect();
        as.userName = real.userName;
        as.hostName = real.hostName;
        KvSysEnv::Override(as);
        try {
            KvBufferIo io;
            KvCliSession session(m_dir, io);
        } catch (const KvException& e) {
            m_problems.append(u"the next opening fails: "_qs + e.Message());
        }
        KvSysEnv::Override(m_env.Data());
    }

    QStringList RunCli()
    {
        const std::set<QString> before = ListedPageFiles();
        QByteArray input;
        const QStringList args = CliArgs(input);
        const qsizetype needed = m_mode == Mode::CliMove         ? 2004
                                 : m_mode == Mode::CliTrash      ? 2002
                                 : m_mode == Mode::CliEmptyTrash ? 2
                                                                 : 3;
        if (args.size() < needed || args.contains(QString()))
            return {u"the generated notebook does not fit the command (%1 arguments)"_qs.arg(
                args.size())};
        const QStringList signatureBefore = Signature(m_dir);
        // A run on a copy tells how long the command takes here and what it leaves; the kill
        // lands in its second half, where the changes are made and written.
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
            p.waitForFinished(300000);
            if (p.exitCode() != 0)
                return {u"the command fails: "_qs + QString::fromUtf8(p.readAllStandardError())};
        }
        const quint32 took = quint32(timer.nsecsElapsed() / 1000);
        QStringList signatureAfter = Signature(probe);
        signatureAfter.replaceInStrings(probe, m_dir);
        Kill(kCli, args, false, input, took + took / 20, took / 2);
        OpenAsNextStart();
        const KvCliCheck::Result r = KvCliCheck::Inspect(m_dir);
        if (!r.findings.isEmpty()) {
            ++m_unclean;
            for (const QString& f : r.findings)
                m_problems.append(u"check after the next opening: "_qs + f);
        }
        const QStringList now = Signature(m_dir);
        if (now != signatureBefore && now != signatureAfter) {
            int differ = 0;
            for (const QString& line : now)
                differ += signatureBefore.contains(line) ? 0 : 1;
            m_problems.append(u"the notebook is neither as before nor as after the command "
                              "(%1 of %2 lines differ from before)"_qs.arg(differ)
                                  .arg(now.size()));
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
    int Unclean() const { return m_unclean; }
    // The program had ended by itself when the kill came.
    bool FinishedFirst() const { return m_finishedFirst; }

private:
    int m_unclean = 0;
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
                           : 26;
    const quint32 firstSeed = quint32(qEnvironmentVariableIntValue("KORV_CRASH_SEED") + 1);
    // Every writer and every writing subcommand gets as many rounds as the others.
    const QList<Mode> writerModes = {Mode::Pages, Mode::Folder, Mode::Password, Mode::Repair};
    const QList<Mode> cliModes = {Mode::CliAdd,      Mode::CliRename, Mode::CliMove,
                                  Mode::CliTrash,    Mode::CliDelete, Mode::CliCopy,
                                  Mode::CliReferrer, Mode::CliSort,   Mode::CliEmptyTrash};
    const bool cliOnly = qEnvironmentVariable("KORV_CRASH_MODES") == u"cli";
    const QList<Mode> modes = cliOnly ? cliModes : writerModes + cliModes;
    QList<std::pair<Mode, quint32>> schedule;
    for (int i = 0; i < rounds; ++i)
        schedule.append({modes[i % modes.size()], firstSeed + quint32(i)});
    std::map<Mode, int> failed;
    std::map<Mode, int> unclean;
    std::map<Mode, int> run;
    std::map<Mode, int> finished;
    for (int i = 0; i < int(schedule.size()); ++i) {
        const auto [mode, seed] = schedule[i];
        Round round(mode, seed);
        const QStringList problems = round.Run();
        ++run[mode];
        unclean[mode] += round.Unclean();
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
        std::printf("  %-16s %4d rounds, %3d ended before the kill, %3d not clean after reopening, "
                    "%3d failed\n",
                    modeName(m), run[m], finished[m], unclean[m], failed[m]);
}

} // namespace
