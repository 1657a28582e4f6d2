// The search rows of the benchmark table (bench/run): the program's search over the
// notebook in DIR next to grep -rlF over each page's text as a plain file, in one process.
//   search_bench DIR TEXTDIR LABEL NO_HIT_WORD HIT_WORD
// TEXTDIR receives one UTF-8 file per content file first. Then, for a word in no page and
// for one with many hits: the first search of the process and the median of three more,
// each beside the median of three grep runs; the case-sensitive search of names and texts
// against grep's files; and, driven by an event loop as in the window: the first row, the
// longest gap between rows, the longest pause of the loop, how long a stop takes, and
// the peak memory.
#include "lists/kvsearchreceiver.h"
#include "lists/kvsearchthread.h"
#include "model/kvdircontext.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpage.h"
#include "richtext/rtfplaintext.h"
#include "store/kvdirstores.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <vector>

namespace {

class Hits : public KvSearchReceiver
{
public:
    void StartSearchNotify(int) override {}
    void PageSearchNotify(const QString& id, bool found) override
    {
        if (!found)
            return;
        ids.append(id);
        if (!firstRow.isValid())
            firstRow.start();
        if (onRow)
            onRow();
    }
    void SearchBatchDone() override
    {
        if (onBatch)
            onBatch();
    }
    void OnSearchTerminate() override
    {
        ended = true;
        if (onEnd)
            onEnd();
    }

    QStringList ids;
    QElapsedTimer firstRow;
    bool ended = false;
    std::function<void()> onRow, onBatch, onEnd;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

QString Ms(double v)
{
    return QString::number(v, 'f', v >= 100 ? 0 : 1) + u" ms"_qs;
}

void PrintLine(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

double PeakMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

struct Grep
{
    double ms = 0;
    QSet<QString> files; // stems of the matching text files
};

Grep RunGrep(const QString& word, const QString& textDir)
{
    std::vector<double> times;
    Grep g;
    for (int i = 0; i < 3; ++i) {
        QProcess p;
        QElapsedTimer t;
        t.start();
        p.start(u"grep"_qs, {u"-rlF"_qs, word, textDir});
        p.waitForFinished(-1);
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        if (i == 0) {
            for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
                if (!line.isEmpty())
                    g.files.insert(QFileInfo(line).completeBaseName());
            }
        }
    }
    g.ms = Median(times);
    return g;
}

QStringList SearchIds(KvNotebook& nb, const KvSearchCrit& crit, double* ms = nullptr)
{
    QStringList ids;
    for (KvFolder* root : {nb.top.get(), nb.trash.get()}) {
        Hits hits;
        KvSearchThread search(hits, std::nullopt, *root, crit);
        QElapsedTimer t;
        t.start();
        search.Wait();
        if (ms)
            *ms += double(t.nsecsElapsed()) / 1e6;
        ids += hits.ids;
    }
    return ids;
}

// Each content file's text as TEXTDIR/<stem>.txt; answers the megabytes of text.
double WriteTexts(const QString& dir, const QString& textDir)
{
    QDir().mkpath(textDir);
    qint64 bytes = 0;
    const QString ext = u"*."_qs + KvDirContext::Current().fileExt;
    for (const QFileInfo& fi : QDir(dir).entryInfoList({ext}, QDir::Files)) {
        QFile in(fi.absoluteFilePath());
        if (!in.open(QIODevice::ReadOnly))
            continue;
        const QByteArray text = KvRtfPlainText::Extract(in.readAll()).toUtf8();
        QFile out(textDir + fi.completeBaseName() + u".txt"_qs);
        if (out.open(QIODevice::WriteOnly))
            out.write(text);
        bytes += text.size();
    }
    return double(bytes) / 1048576.0;
}

void TimingRows(KvNotebook& nb, const QString& label, const QString& word, const QString& what,
                const QString& textDir)
{
    KvSearchCrit crit;
    crit.SText1 = word;
    crit.Fldr = u"TopFolder"_qs;
    const Grep grep = RunGrep(word, textDir);
    double first = 0;
    const int hits = int(SearchIds(nb, crit, &first).size());
    std::vector<double> again;
    for (int i = 0; i < 3; ++i) {
        double ms = 0;
        SearchIds(nb, crit, &ms);
        again.push_back(ms);
    }
    const double repeated = Median(again);
    const QString name = u"%1: '%2', %3 (%4 hits)"_qs.arg(label, word, what).arg(hits);
    PrintLine(u"| %1, first in the process | %2 | %3 | %4 × |"_qs.arg(
        name, Ms(first), Ms(grep.ms), QString::number(first / grep.ms, 'f', 1)));
    PrintLine(u"| %1, repeated | %2 | %3 | %4 × |"_qs.arg(
        name, Ms(repeated), Ms(grep.ms), QString::number(repeated / grep.ms, 'f', 1)));
}

// A case-sensitive search of names and texts finds the pages of exactly grep's files
// (a referrer stands for its target's file).
QString SameAsGrep(KvNotebook& nb, const QString& word, const QString& textDir)
{
    KvSearchCrit crit;
    crit.SText1 = word;
    crit.MtCase1 = true;
    crit.FldrN = crit.FldrK = crit.PageK = false;
    QSet<QString> files;
    for (const QString& id : SearchIds(nb, crit)) {
        const auto* page = dynamic_cast<const KvPage*>(FindObject(id));
        if (page && QFile::exists(page->ContentFilePath()))
            files.insert(QFileInfo(page->ContentFilePath()).completeBaseName());
    }
    const Grep grep = RunGrep(word, textDir);
    return files == grep.files
               ? u"same %1 files as grep"_qs.arg(files.size())
               : u"DIFFERENT: %1 files, grep %2"_qs.arg(files.size()).arg(grep.files.size());
}

// Driven by the event loop as in the window: first row, longest gap between rows, longest
// pause of the loop (the start's snapshot included), stop time.
QString Responsiveness(KvNotebook& nb, const QString& hitWord, const QString& noHitWord)
{
    double longestPause = 0, longestRowGap = 0, firstRow = -1;
    {
        KvSearchCrit crit;
        crit.SText1 = hitWord;
        Hits hits;
        QEventLoop loop;
        QElapsedTimer sinceTick, sinceRow, total;
        hits.onRow = [&] {
            if (firstRow < 0)
                firstRow = double(total.nsecsElapsed()) / 1e6;
            longestRowGap = std::max(longestRowGap, double(sinceRow.nsecsElapsed()) / 1e6);
            sinceRow.restart();
        };
        hits.onEnd = [&] { loop.quit(); };
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestPause = std::max(longestPause, double(sinceTick.nsecsElapsed()) / 1e6);
            sinceTick.restart();
        });
        KvSearchThread search(hits, std::nullopt, *nb.top, crit);
        total.start();
        sinceTick.start();
        sinceRow.start();
        tick.start();
        search.Start();
        loop.exec();
    }
    double stopMs = 0;
    {
        KvSearchCrit crit;
        crit.SText1 = noHitWord;
        Hits hits;
        QEventLoop loop;
        QElapsedTimer sinceStop;
        hits.onEnd = [&] {
            stopMs = double(sinceStop.nsecsElapsed()) / 1e6;
            loop.quit();
        };
        KvSearchThread search(hits, std::nullopt, *nb.top, crit);
        // Stopped at the first batch of reports, well before the end.
        hits.onBatch = [&] {
            if (sinceStop.isValid())
                return;
            sinceStop.start();
            search.Stop();
        };
        search.Start();
        loop.exec();
    }
    return u"Driven by the event loop: first row after %1, longest gap between rows %2, "
           "longest pause of the loop %3 (the start included), stop after %4; peak memory "
           "%5 MB."_qs.arg(Ms(firstRow), Ms(longestRowGap), Ms(longestPause), Ms(stopMs),
                           QString::number(PeakMb(), 'f', 0));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 6) {
        std::fputs("usage: search_bench DIR TEXTDIR LABEL NO_HIT_WORD HIT_WORD\n", stderr);
        return 2;
    }
    const QString dir = QDir(args[1]).absolutePath() + u'/';
    const QString textDir = QDir(args[2]).absolutePath() + u'/';
    const QString label = args[3];

    KvDirContext ctx;
    ctx.dataDir = dir;
    ctx.writable = false;
    KvDirContext::SetCurrent(&ctx);
    KvDirStores::Reopen(dir);
    const double textMb = WriteTexts(dir, textDir);
    KvElementFactory factory;
    KvNotebook nb = KvNotebookBuild::Build(factory);

    TimingRows(nb, label, args[4], u"in no page"_qs, textDir);
    TimingRows(nb, label, args[5], u"in many pages"_qs, textDir);
    PrintLine(u"\n%1: %2 MB of text in %3 files; case-sensitive search of names and texts "
              "for '%4': %5. %6 worker threads. %7"_qs
                  .arg(label, QString::number(textMb, 'f', 0),
                       QString::number(QDir(textDir).count() - 2), args[5],
                       SameAsGrep(nb, args[5], textDir))
                  .arg(KvSearchThread::WorkerCount())
                  .arg(Responsiveness(nb, args[5], args[4])));
    nb.Reset();
    KvDirContext::SetCurrent(nullptr);
    KvDirStores::Close();
    return 0;
}
