// The editing rows of the benchmark table (bench/run): a text style and bold on a
// select-all of a 1 MB page, replace all of 10,000 hits in that page and find next across
// a 10 MB page, each on a page shown in an editor as the window shows it, the repaint the
// change causes included. Each figure is the median of several repetitions; the page is
// loaded again, untimed, before each change.
//   editing_bench   prints the rows
#include "lists/kvstyles.h"
#include "richtext/charattributes.h"
#include "richtext/kvtextsearch.h"
#include "richtext/texrichdocument.h"
#include "richtext/texrichedit.h"
#include "store/texinifile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

const char* const kTerm = "Termin";

// Word-processor-like RTF of that many paragraphs of about 420 bytes: formatted runs,
// umlauts as code-page bytes, \u characters, line spacing; each paragraph holds the term
// hitsPerParagraph times.
QByteArray GenerateRtf(int paragraphs, int hitsPerParagraph, const QByteArray& last = {})
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 "
                     "Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}\\pard\\f0\\fs20 ";
    rtf.reserve(qsizetype(paragraphs) * 440 + 4096);
    for (int p = 0; p < paragraphs; ++p) {
        rtf += "\\pard\\sa120\\sl276\\slmult1 Lorem ipsum dolor sit amet, {\\b consectetur} "
               "adipiscing elit, sed do \\'e4\\'f6\\'fc eiusmod {\\i tempor} incididunt ut "
               "\\u8364? labore {\\cf1 et dolore} magna aliqua.";
        for (int i = 0; i < hitsPerParagraph; ++i)
            rtf += QByteArray(" Ein ") + kTerm + " am Morgen,";
        for (int i = hitsPerParagraph; i < 4; ++i)
            rtf += " Ein Treffen am Morgen,";
        rtf += " Ut enim ad minim veniam, quis nostrud exercitation ullamco laboris nisi ut "
               "aliquip ex ea commodo consequat. Duis aute irure dolor in reprehenderit in "
               "voluptate.\\par\r\n";
    }
    return rtf + last + "}";
}

double medianMs(int repetitions, const std::function<void()>& prepare,
                const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        prepare();
        QElapsedTimer t;
        t.start();
        run();
        QCoreApplication::processEvents(); // the repaint
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString seconds(double ms)
{
    return QString::number(ms / 1000.0, 'f', 3) + u" s"_qs;
}

QString megabytes(qsizetype bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + u" MB"_qs;
}

void row(const QString& what, const QString& page, double ms, const QString& note)
{
    std::printf("| %s | %s | %s | %s |\n", qPrintable(what), qPrintable(page),
                qPrintable(seconds(ms)), qPrintable(note));
    std::fflush(stdout);
}

// The page in an editor on the screen.
class ShownPage
{
public:
    explicit ShownPage(const QByteArray& rtf) : m_rtf(rtf)
    {
        m_editor.resize(1000, 700);
        m_editor.Attach(&m_doc);
        m_editor.show();
        Reload();
    }
    void Reload()
    {
        m_doc.LoadRtf(m_rtf);
        QCoreApplication::processEvents();
    }
    void SelectAll()
    {
        m_editor.selectAll();
        QCoreApplication::processEvents();
    }
    TexRichEdit& Editor() { return m_editor; }
    QTextDocument& Document() { return *m_doc.Document(); }

private:
    QByteArray m_rtf;
    TexRichDocument m_doc;
    TexRichEdit m_editor;
};

int run()
{
    const int repetitions = 5;
    // 10,000 hits, four to a paragraph: about 1 MB.
    const QByteArray page = GenerateRtf(2500, 4);
    ShownPage shown(page);
    const QString size = megabytes(page.size());

    // A style with character and paragraph attributes, as the styles box applies it.
    QTemporaryDir settings;
    TexIniFile store(settings.path() + u"/Styles"_qs, 40, false);
    KvStyles styles([&store]() -> TexIniFile& { return store; });
    {
        TexRichDocument source;
        source.LoadPlainText(u"x"_qs);
        source.SetSelection(0, 1);
        KvCharAttributes chars;
        chars.name = u"DejaVu Serif"_qs;
        chars.size = 14;
        chars.italic = true;
        chars.color = 0x0000FF;
        KvParaAttributes para;
        para.alignment = KvParaAttributes::Centre;
        para.spaceAfter = 240;
        source.ApplyAttributes(chars, KvCharAttributes::Font, para, KvParaAttributes::AllFields);
        styles.Create(u"Zitat"_qs, source, 0xFFFFFF, true, true);
    }
    const KvStyle& style = *styles.Find(u"Zitat"_qs);
    const auto reloadAndSelectAll = [&] {
        shown.Reload();
        shown.SelectAll();
    };
    const double styleMs =
        medianMs(repetitions, reloadAndSelectAll, [&] { style.ApplyTo(shown.Editor()); });
    row(u"A text and paragraph style on a select-all"_qs, size, styleMs,
        u"font, size, colour, italic; alignment, spacing"_qs);

    KvCharAttributes bold;
    bold.bold = true;
    const double boldMs = medianMs(repetitions, reloadAndSelectAll, [&] {
        shown.Editor().ApplyAttributes(bold, KvCharAttributes::Bold, {}, 0);
    });
    row(u"Bold on a select-all"_qs, size, boldMs, u"one undo step"_qs);

    const KvTextSearch::Request request{QString::fromLatin1(kTerm), {false, false}, true};
    int replaced = 0;
    const double replaceMs = medianMs(
        repetitions, [&] { shown.Reload(); },
        [&] {
            replaced =
                KvTextSearch::ReplaceAll(shown.Document(), 0, request, u"Verabredung"_qs).count;
        });
    row(u"Replace all"_qs, size, replaceMs, u"%1 hits replaced, one undo step"_qs.arg(replaced));

    // About 10 MB, the only hit in the last paragraph.
    const QByteArray large = GenerateRtf(25000, 0, "\\pard Zielwort\\par\r\n");
    ShownPage big(large);
    const KvTextSearch::Request far{u"Zielwort"_qs, {false, false}, true};
    KvTextSearch::Hit hit;
    const double firstMs = medianMs(
        repetitions, [&] { big.Reload(); },
        [&] { hit = KvTextSearch::FindNext(big.Document(), 0, 0, far); });
    const bool firstFound = hit.Found();
    row(u"Find next, the only hit at the end, first search after loading"_qs,
        megabytes(large.size()), firstMs, firstFound ? u"found"_qs : u"NOT FOUND"_qs);
    const double againMs = medianMs(
        repetitions, [] {}, [&] { hit = KvTextSearch::FindNext(big.Document(), 0, 0, far); });
    row(u"Find next again from the start"_qs, megabytes(large.size()), againMs,
        hit.Found() ? u"found"_qs : u"NOT FOUND"_qs);
    return firstFound && hit.Found() && replaced == 10000 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return run();
}
