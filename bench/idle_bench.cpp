// The "untouched window" rows of the benchmark table (bench/run): the main window, shown
// offscreen on a 1 KB page whose font is not installed, left alone for 5 s. A row gives
// the CPU time the process spent meanwhile, in clock ticks (utime + stime of
// /proc/self/stat), which should be 0, and the idle passes that ran (1: the one asked for
// at the start). The second row has
// the caret in the page's editor, where it blinks on a timer of the toolkit's own and each
// blink's repaint is followed by an idle pass.
//   idle_bench   prints the rows (its settings and notebook live in a temporary directory)
#include "app/kvpaths.h"
#include "app/kvscriptedprompter.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpage.h"
#include "platform/sysenv.h"
#include "richtext/texrichedit.h"
#include "store/kvdirstores.h"
#include "ui/tmainf.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace {

const QString kPageId = u"Page0000001"_qs;

// About 1 KB of text in a font no machine has.
QByteArray PageRtf()
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Xyzzy Nonexistent;}}\\f0\\fs20 ";
    while (rtf.size() < 1024)
        rtf += "Eine Notiz in einer Schrift, die es nicht gibt.\\par\r\n";
    return rtf + "}";
}

// The process's CPU time so far in clock ticks: utime + stime.
long long CpuTicks()
{
    QFile f(u"/proc/self/stat"_qs);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    // The fields after the command name, which is in parentheses and may hold spaces:
    // state is the 3rd field, utime the 14th and stime the 15th.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return fields[11].toLongLong() + fields[12].toLongLong();
}

void RunLoopFor(int ms)
{
    QEventLoop loop;
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, &loop, &QEventLoop::quit);
    stop.start(ms);
    loop.exec();
}

// One folder with the page, stored in dir.
void MakeNotebook(const QString& dir)
{
    KvDirStores::Reopen(dir);
    KvDirContext ctx;
    ctx.dataDir = dir;
    KvDirContext::SetCurrent(&ctx);
    {
        KvElementFactory f;
        KvNotebook nb = KvNotebookBuild::Build(f);
        nb.top->SetName(u"Notizen"_qs);
        nb.trash->SetName(u"Papierkorb"_qs);
        KvFolder* folder = f.CreateFolder(u"Fldr0000001"_qs, nb.top.get(), true);
        folder->SetName(u"Projekte"_qs);
        KvPage* page = f.CreatePage(kPageId, folder, true);
        page->SetName(u"Plan"_qs);
        QFile content(dir + kPageId + u".kvp"_qs);
        if (content.open(QIODevice::WriteOnly))
            content.write(PageRtf());
        page->Store();
        folder->Store();
        nb.top->Store();
        nb.trash->Store();
    }
    KvDirContext::SetCurrent(nullptr);
    KvDirStores::Close();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    // Settings, documents and notebook in the temporary directory, never the user's own.
    KvSysEnvData env = KvSysEnv::Detect();
    for (const char* sub : {"prog", "home/.config", "home/Documents", "tmp", "notes"})
        QDir().mkpath(tmp.path() + u'/' + QString::fromUtf8(sub));
    env.programDir = tmp.path() + u"/prog/"_qs;
    env.homeDir = tmp.path() + u"/home/"_qs;
    env.configHome = tmp.path() + u"/home/.config/"_qs;
    env.documentsDir = tmp.path() + u"/home/Documents/"_qs;
    env.tempDir = tmp.path() + u"/tmp/"_qs;
    env.dataDirs.clear();
    KvSysEnv::Override(env);
    KvScriptedPrompter prompter;
    KvPrompter::SetCurrent(&prompter);
    const QString dir = tmp.path() + u"/notes/"_qs;
    MakeNotebook(dir);

    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    {
        TMainF window(QStringList{u"/d"_qs, dir, u"/id"_qs, kPageId});
        window.resize(1200, 800);
        window.show();
        window.activateWindow();
        // Five seconds without input, after the page was shown and the window settled; they
        // begin with one idle pass asked for, as the last event before them would.
        const auto leaveAlone = [&window] {
            RunLoopFor(1000);
            const int before = window.IdlePasses();
            const long long start = CpuTicks();
            window.RequestIdle();
            RunLoopFor(5000);
            return std::pair(CpuTicks() - start, window.IdlePasses() - before);
        };
        const auto [ticks, passes] = leaveAlone();
        std::printf("| CPU ticks over 5 s of an untouched window (a 1 KB page in a font that is "
                    "not installed; %ld ticks a second) | %lld | 0 | %d |\n",
                    ticksPerSecond, ticks, passes);
        if (auto* editor = window.findChild<TexRichEdit*>())
            editor->setFocus();
        const auto [blinkTicks, blinkPasses] = leaveAlone();
        std::printf("| the same with the caret in the page (it blinks) | %lld | 0 | %d |\n",
                    blinkTicks, blinkPasses);
        window.close();
    }
    KvPrompter::SetCurrent(nullptr);
    KvDirStores::Close();
    return 0;
}
