#include "richtext/rtfplaintext.h"
#include "richtext/rtfreader.h"
#include "rtfcorpus.h"

#include <QTextDocument>
#include <gtest/gtest.h>
#include <random>

namespace {

// A deterministic mutation of input: byte flips, truncation, inserted braces and control
// words, deleted or duplicated ranges.
QByteArray Mutate(const QByteArray& input, std::mt19937& rng)
{
    static const char* const snippets[] = {
        "{",         "}",      "\\",     "{\\*",      "\\bin999999 ",  "\\u-1",           "\\uc9 ",
        "\\'",       "\\par",  "\\cell", "\\row",     "\\intbl",       "\\trowd\\cellx9", "{\\pict",
        "\\fldrslt", "\\upr{", "\\ls1",  "\\u55357 ", "\\f99999999999"};
    QByteArray out = input;
    const int steps = 1 + static_cast<int>(rng() % 4);
    for (int s = 0; s < steps; ++s) {
        const qsizetype size = out.size();
        const qsizetype pos = size > 0 ? static_cast<qsizetype>(rng() % size) : 0;
        switch (rng() % 6) {
        case 0:
            if (size > 0)
                out[pos] = static_cast<char>(rng());
            break;
        case 1:
            out.truncate(pos);
            break;
        case 2:
            out.insert(pos, rng() % 2 ? '{' : '}');
            break;
        case 3:
            out.insert(pos, snippets[rng() % std::size(snippets)]);
            break;
        case 4:
            out.remove(pos, static_cast<qsizetype>(rng() % 64));
            break;
        case 5:
            out.insert(pos, out.mid(pos, static_cast<qsizetype>(rng() % 256)));
            break;
        }
    }
    return out;
}

TEST(RtfShortFuzz, MutatedCorpusFilesReadSafely)
{
    KORV_REQUIRE_RTF_CORPUS(dir);
    const QStringList files = korvtest::RtfCorpusFiles(dir);
    ASSERT_FALSE(files.isEmpty());
    std::mt19937 rng(20261210);
    constexpr int kMutationsPerFile = 60;
    for (const QString& path : files) {
        const QByteArray original = korvtest::ReadFileBytes(path);
        for (int i = 0; i < kMutationsPerFile; ++i) {
            const QByteArray rtf = Mutate(original, rng);
            QTextDocument doc;
            KvRtfReader::Read(rtf, &doc);
            const QString docText = KvRtfPlainText::DocumentText(doc);
            const QString extracted = KvRtfPlainText::Extract(rtf);
            // Table rows may add empty cells: at most 64 per row.
            ASSERT_LE(docText.size(), 64 * rtf.size() + 64) << path.toStdString() << " #" << i;
            ASSERT_EQ(extracted.toStdString(), docText.toStdString())
                << path.toStdString() << " mutation #" << i;
        }
    }
}

} // namespace
