// Throughput of the RTF writer on a formatted document of about 1 MB of RTF, and of the
// term matcher over the text of that document.
#include "richtext/rtfwriter.h"
#include "richtext/textmatch.h"

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Paragraphs with bold, coloured and non-Latin runs, a list now and then and links.
std::unique_ptr<QTextDocument> BuildDocument(int paragraphs)
{
    auto doc = std::make_unique<QTextDocument>();
    QTextCursor c(doc.get());
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat red;
    red.setForeground(QColor(200, 0, 0));
    QTextCharFormat link;
    link.setAnchor(true);
    link.setAnchorHref(u"http://example.org/page"_qs);
    for (int i = 0; i < paragraphs; ++i) {
        if (i > 0)
            c.insertBlock(QTextBlockFormat(), plain);
        if (i % 50 == 10)
            c.createList(QTextListFormat::ListDisc);
        c.insertText(u"Lorem ipsum dolor sit amet, "_qs, plain);
        c.insertText(u"consectetur"_qs, bold);
        c.insertText(u" adipiscing elit, äöü € sed do "_qs, plain);
        c.insertText(u"eiusmod tempor"_qs, red);
        c.insertText(u" incididunt ut labore Жизнь 中文 et dolore magna aliqua. "_qs, plain);
        if (i % 20 == 0)
            c.insertText(u"a link"_qs, link);
        c.insertText(u" Ut enim ad minim veniam, quis nostrud exercitation."_qs, plain);
    }
    return doc;
}

const QTextDocument& Document()
{
    static const std::unique_ptr<QTextDocument> doc = BuildDocument(4000);
    return *doc;
}

void BM_RtfWrite(benchmark::State& state)
{
    const QTextDocument& doc = Document();
    qsizetype bytes = 0;
    for (auto _ : state) {
        const QByteArray rtf = KvRtfWriter::Write(doc);
        bytes = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_FindWholeWordInDocument(benchmark::State& state)
{
    const QTextDocument& doc = Document();
    for (auto _ : state) {
        // A term that is not there: the whole text is searched.
        const int pos = KvTextMatch::FindInDocument(doc, u"Zeitplan"_qs, 0, -1, {true, false});
        benchmark::DoNotOptimize(pos);
    }
    state.SetBytesProcessed(state.iterations() * doc.characterCount() * 2);
}

} // namespace

BENCHMARK(BM_RtfWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindWholeWordInDocument)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
