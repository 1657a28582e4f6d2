// Find and replace over page text: directions from a selection, whole words and letter case,
// replace all from a selection in both directions as one step that keeps the format.
#include "richtext/charattributes.h"
#include "richtext/kvtextsearch.h"
#include "richtext/texrichdocument.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

using KvTextSearch::Request;

Request Req(const QString& term, bool down = true, bool whole = false, bool matchCase = false)
{
    return {term, {whole, matchCase}, down};
}

struct FindCase
{
    const char* name;
    const char16_t* text;
    int selStart;
    int selLength;
    Request request;
    int expected; // position of the hit, -1 none
};

class FindNextTable : public ::testing::TestWithParam<FindCase>
{
};

TEST_P(FindNextTable, FromTheSelection)
{
    const FindCase& c = GetParam();
    TexRichDocument doc;
    doc.LoadPlainText(QString::fromUtf16(c.text));
    const KvTextSearch::Hit hit =
        KvTextSearch::FindNext(*doc.Document(), c.selStart, c.selLength, c.request);
    EXPECT_EQ(hit.position, c.expected) << c.name;
    if (hit.Found())
        EXPECT_EQ(hit.length, c.request.term.size()) << c.name;
}

const FindCase kFinds[] = {
    {"down after the selection", u"abc abc abc", 4, 3, Req(u"abc"_qs), 8},
    {"down from the caret", u"abc abc abc", 4, 0, Req(u"abc"_qs), 4},
    {"up: the hit right before the selection", u"abc abc abc", 4, 3, Req(u"abc"_qs, false), 0},
    {"up: only hits wholly before the start", u"abcabc", 4, 0, Req(u"abc"_qs, false), 0},
    {"up from the end", u"ab ab ab", 8, 0, Req(u"ab"_qs, false), 6},
    {"up at the start finds nothing", u"abc", 0, 3, Req(u"abc"_qs, false), -1},
    {"down at the end finds nothing", u"abc abc", 4, 3, Req(u"abc"_qs), -1},
    {"letter case aside", u"x ABC", 0, 0, Req(u"abc"_qs), 2},
    {"match case", u"ABC abc", 0, 0, Req(u"abc"_qs, true, false, true), 4},
    {"whole word", u"abcd abc", 0, 0, Req(u"abc"_qs, true, true), 5},
    {"whole word up", u"abc abcd", 8, 0, Req(u"abc"_qs, false, true), 0},
    {"across paragraphs", u"eins\nzwei\ndrei", 0, 0, Req(u"drei"_qs), 10},
};

INSTANTIATE_TEST_SUITE_P(Cases, FindNextTable, ::testing::ValuesIn(kFinds));

struct ReplaceCase
{
    const char* name;
    const char16_t* text;
    int from;
    Request request;
    const char16_t* replacement;
    int count;
    const char16_t* result;
};

class ReplaceAllTable : public ::testing::TestWithParam<ReplaceCase>
{
};

TEST_P(ReplaceAllTable, CountsAndChangesAsOneStep)
{
    const ReplaceCase& c = GetParam();
    TexRichDocument doc;
    doc.LoadPlainText(QString::fromUtf16(c.text));
    const QString before = doc.PlainText();
    const auto result = KvTextSearch::ReplaceAll(*doc.Document(), c.from, c.request,
                                                 QString::fromUtf16(c.replacement));
    EXPECT_EQ(result.count, c.count) << c.name;
    EXPECT_EQ(doc.PlainText(), QString::fromUtf16(c.result)) << c.name;
    if (c.count > 0) {
        EXPECT_EQ(doc.PlainText().mid(result.lastPosition, result.lastLength),
                  QString::fromUtf16(c.replacement))
            << c.name;
        doc.Document()->undo();
        EXPECT_EQ(doc.PlainText(), before) << c.name << ": one undo step";
    }
}

// "from" is where the dialog starts: the selection's start searching down, its end up.
const ReplaceCase kReplaces[] = {
    {"second of three selected, down", u"abc abc abc", 4, Req(u"abc"_qs), u"x", 2, u"abc x x"},
    {"second of three selected, up", u"abc abc abc", 7, Req(u"abc"_qs, false), u"x", 2, u"x x abc"},
    {"selection at 0, down", u"abc abc", 0, Req(u"abc"_qs), u"x", 2, u"x x"},
    {"selection at 0, up", u"abc abc", 3, Req(u"abc"_qs, false), u"x", 1, u"x abc"},
    {"a by aa down", u"a ba a", 0, Req(u"a"_qs), u"aa", 3, u"aa baa aa"},
    {"a by aa up", u"a ba a", 6, Req(u"a"_qs, false), u"aa", 3, u"aa baa aa"},
    {"whole words only", u"ab abc ab", 0, Req(u"ab"_qs, true, true), u"X", 2, u"X abc X"},
    {"match case", u"Ab ab AB", 0, Req(u"ab"_qs, true, false, true), u"X", 1, u"Ab X AB"},
    {"nothing there", u"abc", 0, Req(u"x"_qs), u"y", 0, u"abc"},
    {"by nothing", u"a-b-c", 0, Req(u"-"_qs), u"", 2, u"abc"},
    // A word boundary is judged by the text as it is after the replacement before.
    {"whole words after a replacement", u"-a-a", 0, Req(u"-a"_qs, true, true), u"b-", 2, u"b-b-"},
    {"whole words before a replacement, up", u"a-a-", 4, Req(u"a-"_qs, false, true), u"-b", 2,
     u"-b-b"},
};

INSTANTIATE_TEST_SUITE_P(Cases, ReplaceAllTable, ::testing::ValuesIn(kReplaces));

TEST(ReplaceAll, TheReplacementTakesTheReplacedFormat)
{
    TexRichDocument doc;
    doc.LoadPlainText(u"eins zwei eins"_qs);
    doc.SetSelection(0, 4);
    KvCharAttributes bold;
    bold.bold = true;
    doc.ApplyAttributes(bold, KvCharAttributes::Bold, {}, 0);
    const auto r = KvTextSearch::ReplaceAll(*doc.Document(), 0, Req(u"eins"_qs), u"drei"_qs);
    EXPECT_EQ(r.count, 2);
    doc.SetSelection(0, 4);
    EXPECT_TRUE(doc.SelectionCharAttributes().bold);
    doc.SetSelection(10, 4);
    EXPECT_EQ(doc.SelectedText(), u"drei"_qs);
    EXPECT_FALSE(doc.SelectionCharAttributes().bold);
}

TEST(ReplaceAll, ASingleReplaceKeepsTheFormatToo)
{
    TexRichDocument doc;
    doc.LoadPlainText(u"ABC def"_qs);
    doc.SetSelection(0, 3);
    KvCharAttributes italic;
    italic.italic = true;
    doc.ApplyAttributes(italic, KvCharAttributes::Italic, {}, 0);
    EXPECT_TRUE(KvTextSearch::SelectionIsTerm(doc.SelectedText(), u"abc"_qs))
        << "the selection is compared letter case aside";
    const int end = KvTextSearch::ReplaceRange(*doc.Document(), 0, 3, u"xy"_qs);
    EXPECT_EQ(end, 2);
    EXPECT_EQ(doc.PlainText(), u"xy def"_qs);
    doc.SetSelection(0, 2);
    EXPECT_TRUE(doc.SelectionCharAttributes().italic);
}

TEST(FindNext, SeesEveryChangeOfTheText)
{
    TexRichDocument doc;
    doc.LoadPlainText(u"eins"_qs);
    EXPECT_FALSE(KvTextSearch::FindNext(*doc.Document(), 0, 0, Req(u"zwei"_qs)).Found());
    QTextCursor c(doc.Document());
    c.movePosition(QTextCursor::End);
    c.insertText(u" zwei"_qs);
    EXPECT_EQ(KvTextSearch::FindNext(*doc.Document(), 0, 0, Req(u"zwei"_qs)).position, 5);
    EXPECT_EQ(KvTextSearch::FindFromEdge(*doc.Document(), Req(u"eins"_qs, false)).position, 0);
}

} // namespace
