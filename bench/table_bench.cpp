// The figures of the benchmark table (bench/run), each next to the plain cost of reading
// the same bytes, measured in the same process one after the other:
//   table_bench model DIR LABEL  one row: building the whole model of the notebook in DIR
//                                from its stores, peak memory, reading the store files
//   table_bench rtf DIR          rows for the RTF reader, writer and plain-text extraction
//                                over the page files of DIR, against plain file reads of
//                                the same bytes
// Each figure is the median of several repetitions.
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "richtext/rtfplaintext.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <vector>

namespace {

double medianMs(int repetitions, const std::function<void()>& run,
                const std::function<void()>& after = {})
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        if (after)
            after();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double peakMb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0; // kilobytes on Linux
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString ms(double v)
{
    const int decimals = v >= 100 ? 0 : v >= 1 ? 1 : 2;
    return QString::number(v, 'f', decimals) + u" ms"_qs;
}

void printLine(const QString& line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

int model(const QString& dirArg, const QString& label)
{
    const QString dir = QDir(dirArg).absolutePath() + u'/';
    QStringList files;
    for (const QString& base : {u"objprps"_qs, u"Fldrprps"_qs, u"Pageprps"_qs}) {
        TexIniFile store(dir + base, 40, false);
        files += store.FileList();
    }
    qint64 bytes = 0;
    for (const QString& f : std::as_const(files))
        bytes += readFile(f).size(); // warms the file cache for both figures
    const int reps = bytes > 8 * 1024 * 1024 ? 3 : 5;

    const double readMs = medianMs(reps, [&] {
        qint64 n = 0;
        for (const QString& f : std::as_const(files))
            n += readFile(f).size();
        if (n != bytes)
            std::abort();
    });

    const double before = peakMb();
    KvDirContext ctx;
    ctx.dataDir = dir;
    ctx.writable = false;
    KvDirContext::SetCurrent(&ctx);
    std::unique_ptr<KvFolder> top;
    std::unique_ptr<KvFolder> trash;
    int elements = 0;
    const double buildMs = medianMs(
        reps,
        [&] {
            KvDirStores::Reopen(dir);
            KvSnapshotScope snapshots;
            top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
            trash =
                std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
            top->LoadChildren();
            trash->LoadChildren();
            ResolveAllReferrers();
        },
        [&] {
            elements = RegisteredObjectCount();
            top.reset();
            trash.reset();
            KvDirStores::Close();
        });
    KvDirContext::SetCurrent(nullptr);
    const double peak = peakMb();
    printLine(u"| %1 | %2 | %3 MB (+%4 MB) | %5 (%6 MB) | %7 |"_qs.arg(
        label, ms(buildMs), QString::number(peak, 'f', 0), QString::number(peak - before, 'f', 0),
        ms(readMs), QString::number(double(bytes) / 1048576.0, 'f', 1),
        QString::number(buildMs / readMs, 'f', 1) + u" × ("_qs + QString::number(elements) +
            u" objects)"_qs));
    return 0;
}

int rtf(const QString& dirArg)
{
    const QDir dir(dirArg);
    QStringList files;
    qint64 bytes = 0;
    for (const QString& name : dir.entryList({u"*.kvp"_qs}, QDir::Files, QDir::Name)) {
        const QString path = dir.absoluteFilePath(name);
        const QByteArray b = readFile(path);
        if (!b.startsWith("{\\rtf"))
            continue; // encrypted pages
        files.append(path);
        bytes += b.size();
    }
    if (files.isEmpty()) {
        std::fputs("no RTF page files\n", stderr);
        return 1;
    }
    const double mb = double(bytes) / 1048576.0;
    const int reps = 3;
    auto mbps = [&](double msValue, double megabytes) -> QString {
        return QString::number(megabytes / (msValue / 1000.0), 'f', 1) + u" MB/s"_qs;
    };

    const double plainRead = medianMs(reps, [&] {
        for (const QString& f : std::as_const(files))
            readFile(f);
    });
    const double rtfRead = medianMs(reps, [&] {
        for (const QString& f : std::as_const(files)) {
            QTextDocument doc;
            KvRtfReader::Read(readFile(f), &doc);
        }
    });
    const double extract = medianMs(reps, [&] {
        for (const QString& f : std::as_const(files))
            KvRtfPlainText::Extract(readFile(f));
    });

    // Writing: documents read beforehand, each written as RTF into memory.
    std::vector<std::unique_ptr<QTextDocument>> docs;
    for (const QString& f : std::as_const(files)) {
        docs.push_back(std::make_unique<QTextDocument>());
        KvRtfReader::Read(readFile(f), docs.back().get());
    }
    qint64 writtenBytes = 0;
    for (const auto& d : docs)
        writtenBytes += KvRtfWriter::Write(*d).size();
    const double rtfWrite = medianMs(reps, [&] {
        for (const auto& d : docs)
            KvRtfWriter::Write(*d);
    });
    const double wmb = double(writtenBytes) / 1048576.0;

    printLine(u"| RTF read into a document (file read included) | %1 | %2 | %3 × |"_qs.arg(
        mbps(rtfRead, mb), mbps(plainRead, mb), QString::number(rtfRead / plainRead, 'f', 1)));
    // Per megabyte: the RTF written is not quite as long as the RTF read.
    printLine(u"| RTF write from a document (into memory) | %1 | %2 | %3 × |"_qs.arg(
        mbps(rtfWrite, wmb), mbps(plainRead, mb),
        QString::number((rtfWrite / wmb) / (plainRead / mb), 'f', 1)));
    printLine(u"| plain-text extraction from RTF (file read included) | %1 | %2 | %3 × |"_qs.arg(
        mbps(extract, mb), mbps(plainRead, mb), QString::number(extract / plainRead, 'f', 1)));
    printLine(u"\n%1 page files, %2 MB of RTF read, %3 MB of RTF written."_qs.arg(
        QString::number(files.size()), QString::number(mb, 'f', 1), QString::number(wmb, 'f', 1)));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == u"model")
        return model(args[2], args[3]);
    if (args.size() == 3 && args[1] == u"rtf")
        return rtf(args[2]);
    std::fputs("usage: table_bench model DIR LABEL | table_bench rtf DIR\n", stderr);
    return 2;
}
