// Throughput of the RTF reader and the plain-text extractor on generated documents of
// 1 MB and 10 MB, against a plain read of the same bytes from a file.
#include "richtext/rtfplaintext.h"
#include "richtext/rtfreader.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryFile>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

// Word-processor-like RTF: formatted runs, code-page bytes, \u characters, links and tables.
QByteArray GenerateRtf(qsizetype targetBytes)
{
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl{\\f0\\fswiss\\fcharset0 "
        "Arial;}{\\f1\\froman\\fcharset204 Times New Roman;}}{\\colortbl ;\\red255\\green0"
        "\\blue0;\\red0\\green0\\blue255;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    rtf.reserve(targetBytes + 4096);
    for (int i = 0; rtf.size() < targetBytes; ++i) {
        rtf += "\\pard\\sa120\\sl276\\slmult1 Lorem ipsum dolor sit amet, {\\b consectetur} "
               "adipiscing elit, sed do \\'e4\\'f6\\'fc eiusmod {\\i tempor} incididunt ut "
               "\\u8364? labore {\\cf1 et dolore} magna aliqua. Ut enim ad minim veniam, quis "
               "nostrud exercitation {\\f1 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2} ullamco laboris.";
        if (i % 20 == 0)
            rtf += " {\\field{\\*\\fldinst HYPERLINK \"https://example.org/page\"}{\\fldrslt "
                   "{\\ul\\cf2 a link}}} and";
        rtf += " nisi ut aliquip ex ea commodo consequat.\\par\r\n";
        if (i % 100 == 99)
            rtf +=
                "\\trowd\\cellx3000\\cellx6000\\pard\\intbl one\\cell two\\cell\\row"
                "\\trowd\\cellx3000\\cellx6000\\pard\\intbl three\\cell four\\cell\\row\\pard\r\n";
    }
    rtf += "}";
    return rtf;
}

const QByteArray& Rtf(qsizetype megabytes)
{
    static std::map<qsizetype, QByteArray> cache;
    auto it = cache.find(megabytes);
    if (it == cache.end())
        it = cache.emplace(megabytes, GenerateRtf(megabytes * 1024 * 1024)).first;
    return it->second;
}

void BM_RtfRead(benchmark::State& state)
{
    const QByteArray& rtf = Rtf(state.range(0));
    for (auto _ : state) {
        auto doc = std::make_unique<QTextDocument>();
        KvRtfReader::Read(rtf, doc.get());
        benchmark::DoNotOptimize(doc->characterCount());
        state.PauseTiming(); // tearing the document down is not part of reading
        doc.reset();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void BM_RtfExtractText(benchmark::State& state)
{
    const QByteArray& rtf = Rtf(state.range(0));
    for (auto _ : state) {
        const QString text = KvRtfPlainText::Extract(rtf);
        benchmark::DoNotOptimize(text.size());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

void BM_PlainFileRead(benchmark::State& state)
{
    const QByteArray& rtf = Rtf(state.range(0));
    QTemporaryFile file;
    if (!file.open() || file.write(rtf) != rtf.size()) {
        state.SkipWithError("cannot write the temporary file");
        return;
    }
    file.close();
    for (auto _ : state) {
        QFile f(file.fileName());
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        benchmark::DoNotOptimize(bytes.size());
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}

BENCHMARK(BM_RtfRead)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RtfExtractText)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainFileRead)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
