#include "richtext/rtfplaintext.h"
#include "richtext/rtfreader.h"
#include "richtext/textmatch.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>
#include <random>

namespace {

struct MatchCase
{
    const char* name;
    QString text;
    QString term;
    int from;
    bool wholeWord;
    bool matchCase;
    int expected;
};

class TextMatchFind : public ::testing::TestWithParam<MatchCase>
{
};

TEST_P(TextMatchFind, FindsPerRule)
{
    const MatchCase& c = GetParam();
    EXPECT_EQ(KvTextMatch::Find(c.text, c.term, c.from, {c.wholeWord, c.matchCase}), c.expected)
        << c.name;
}

const MatchCase kCases[] = {
    {"plain hit", u"ein Plan hier"_qs, u"Plan"_qs, 0, false, false, 4},
    {"ignores case", u"ein PLAN hier"_qs, u"plan"_qs, 0, false, false, 4},
    {"match case misses", u"ein PLAN hier"_qs, u"plan"_qs, 0, false, true, -1},
    {"match case skips to exact", u"PLAN plan"_qs, u"plan"_qs, 0, false, true, 5},
    {"substring without whole word", u"Planung"_qs, u"plan"_qs, 0, false, false, 0},
    {"whole word refuses prefix", u"Planung"_qs, u"plan"_qs, 0, true, false, -1},
    {"whole word refuses suffix", u"Bauplan"_qs, u"plan"_qs, 0, true, false, -1},
    {"whole word finds later hit", u"Planung;Plan"_qs, u"plan"_qs, 0, true, false, 8},
    {"semicolon and blank separate", u"x;plan idee"_qs, u"plan"_qs, 0, true, false, 2},
    {"underscore is a word char", u"my_plan"_qs, u"plan"_qs, 0, true, false, -1},
    {"digit is a word char", u"plan2"_qs, u"plan"_qs, 0, true, false, -1},
    {"umlaut is a word char", u"Äplan"_qs, u"plan"_qs, 0, true, false, -1},
    {"umlauts fold case", u"große ÄRGER"_qs, u"ärger"_qs, 0, true, false, 6},
    {"punctuation separates", u"(plan)."_qs, u"plan"_qs, 0, true, false, 1},
    {"from skips earlier hit", u"plan plan"_qs, u"plan"_qs, 1, false, false, 5},
    {"from beyond end", u"plan"_qs, u"plan"_qs, 9, false, false, -1},
    {"empty term never found", u"plan"_qs, QString(), 0, false, false, -1},
    {"term longer than text", u"pl"_qs, u"plan"_qs, 0, false, false, -1},
    {"astral letter is a word char", u"\U0001D400plan"_qs, u"plan"_qs, 0, true, false, -1},
    {"emoji is a separator", u"\U0001F600plan"_qs, u"plan"_qs, 0, true, false, 2},
    {"term with non-word edge", u"C++ und C"_qs, u"C++"_qs, 0, true, true, 0},
};

INSTANTIATE_TEST_SUITE_P(Table, TextMatchFind, ::testing::ValuesIn(kCases));

// The prepared matcher scans for candidates four code units at a time; every position it
// answers, and every one it passes over, must agree with comparing the slice there.
TEST(TextMatcher, AgreesWithTheSliceComparisonEverywhere)
{
    // Case variants, letters with three cases (Kelvin sign, long s, final sigma), umlauts,
    // a surrogate pair and separators.
    const QString alphabet = u"kK\u212AsS\u017F\u03C3\u03A3\u03C2\u00E4\u00C4_ .;1"_qs +
                             QString::fromUcs4(U"\U0001D400", 1);
    std::mt19937 rng(7);
    auto randomText = [&](int maxLen) {
        QString s;
        const int n = int(rng() % maxLen);
        for (int i = 0; i < n; ++i)
            s += alphabet.at(int(rng() % alphabet.size()));
        return s;
    };
    auto reference = [](const QString& text, const QString& term, qsizetype from, qsizetype to,
                        KvMatchOptions o, bool backward) -> qsizetype {
        const qsizetype len = term.size();
        const qsizetype end = to < 0 ? text.size() : to;
        QList<qsizetype> hits;
        for (qsizetype pos = std::max<qsizetype>(0, from); len > 0 && pos + len <= end; ++pos) {
            const bool same = QStringView(text).sliced(pos, len).compare(
                                  term, o.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
            if (!same)
                continue;
            if (o.wholeWord) {
                const QString before = text.left(pos);
                const QString after = text.mid(pos + len);
                const char32_t b = before.isEmpty() ? 0 : before.toUcs4().last();
                const char32_t a = after.isEmpty() ? 0 : after.toUcs4().first();
                if (KvTextMatch::IsWordChar(b) || KvTextMatch::IsWordChar(a))
                    continue;
            }
            hits.append(pos);
        }
        if (hits.isEmpty())
            return -1;
        return backward ? hits.last() : hits.first();
    };
    for (int round = 0; round < 4000; ++round) {
        const QString text = randomText(40);
        QString term = randomText(4);
        if (term.isEmpty())
            term = alphabet.left(1);
        const KvMatchOptions o{bool(rng() % 2), bool(rng() % 2)};
        const qsizetype from = rng() % 5;
        const qsizetype to = rng() % 3 == 0 ? -1 : qsizetype(rng() % (text.size() + 1));
        const bool backward = rng() % 2;
        const KvTextMatcher m(term, o);
        ASSERT_EQ(m.Find(text, from, to, backward), reference(text, term, from, to, o, backward))
            << "text '" << text.toStdString() << "' term '" << term.toStdString() << "'";
    }
}

TEST(TextMatcher, FoldsEveryCaseOfTheFirstLetter)
{
    const KvTextMatcher kelvin(u"kilo"_qs, {});
    EXPECT_EQ(kelvin.Find(u"ein \u212Ailo"_qs), 4);
    const KvTextMatcher sigma(u"\u03A3ofa"_qs, {});
    EXPECT_EQ(sigma.Find(u"x \u03C2ofa"_qs), 2);
    EXPECT_EQ(KvTextMatcher(u"kilo"_qs, {false, true}).Find(u"\u212Ailo kilo"_qs), 5);
}

TEST(TextMatchRange, ForwardAndBackwardStayInsideTheRange)
{
    const QString text = u"ab ab ab ab"_qs; // hits at 0, 3, 6, 9
    const KvMatchOptions o{true, false};
    EXPECT_EQ(KvTextMatch::FindInRange(text, u"ab"_qs, 1, -1, o, false), 3);
    EXPECT_EQ(KvTextMatch::FindInRange(text, u"ab"_qs, 0, 8, o, true), 6);
    EXPECT_EQ(KvTextMatch::FindInRange(text, u"ab"_qs, 0, 7, o, true), 3);
    EXPECT_EQ(KvTextMatch::FindInRange(text, u"ab"_qs, 0, -1, o, true), 9);
    EXPECT_EQ(KvTextMatch::FindInRange(text, u"ab"_qs, 4, 8, o, false), 6);
    EXPECT_EQ(KvTextMatch::FindInRange(text, u"ab"_qs, 4, 7, o, false), -1);
    EXPECT_EQ(KvTextMatch::FindInRange(text, u"ab"_qs, 0, 1, o, true), -1);
    // A hit cut by the range's end is not whole, but the text beyond still decides words.
    EXPECT_EQ(KvTextMatch::FindInRange(u"abc"_qs, u"ab"_qs, 0, 2, o, false), -1);
}

TEST(TextMatchDocument, ParagraphsAndCellsSeparateWords)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(u"erste Zeile"_qs);
    c.insertBlock();
    c.insertText(u"Zeile"_qs);
    const int tableStart = c.position();
    QTextTable* t = c.insertTable(1, 2);
    t->cellAt(0, 0).firstCursorPosition().insertText(u"foo"_qs);
    t->cellAt(0, 1).firstCursorPosition().insertText(u"bar"_qs);
    const KvMatchOptions o{true, true};
    EXPECT_EQ(KvTextMatch::FindInDocument(doc, u"Zeile"_qs, 0, -1, o), 6);
    EXPECT_EQ(KvTextMatch::FindInDocument(doc, u"Zeile"_qs, 7, -1, o), 12);
    EXPECT_EQ(KvTextMatch::FindInDocument(doc, u"Zeile"_qs, 0, -1, o, true), 12);
    const int bar = KvTextMatch::FindInDocument(doc, u"bar"_qs, tableStart, -1, o);
    ASSERT_GT(bar, tableStart);
    QTextCursor sel(&doc);
    sel.setPosition(bar);
    sel.setPosition(bar + 3, QTextCursor::KeepAnchor);
    EXPECT_EQ(sel.selectedText(), u"bar"_qs);
    EXPECT_EQ(KvTextMatch::FindInDocument(doc, u"foobar"_qs, 0, -1, {false, false}), -1);
}

// What the search finds in a page's extracted text, the document finds too: hidden text
// does not count, a non-breaking space is a blank; the hit's length covers hidden text
// inside it.
TEST(TextMatchDocument, FindsWhatTheExtractedTextHas)
{
    const QByteArray rtf = "{\\rtf1\\ansi Pro{\\v geheim}jekt und a\\~b\\par Ende\\par}";
    QTextDocument doc;
    KvRtfReader::Read(rtf, &doc);
    ASSERT_EQ(KvRtfPlainText::Extract(rtf), u"Projekt und a b\nEnde"_qs);
    struct DocCase
    {
        const char* name;
        QString term;
        KvMatchOptions options;
        int from;
        int pos;
        int length;
    };
    const DocCase cases[] = {
        {"word around hidden text", u"Projekt"_qs, {true, false}, 0, 0, 13},
        {"hidden text is not found", u"geheim"_qs, {}, 0, -1, 0},
        {"non-breaking space as blank", u"a b"_qs, {true, false}, 0, 18, 3},
        {"after the hidden text", u"jekt"_qs, {}, 0, 9, 4},
        {"range start inside hidden text", u"jekt"_qs, {}, 5, 9, 4},
        {"range start after a hit", u"Pro"_qs, {}, 1, -1, 0},
        {"next paragraph", u"Ende"_qs, {true, true}, 0, 22, 4},
    };
    for (const DocCase& c : cases) {
        int length = 0;
        EXPECT_EQ(KvTextMatch::FindInDocument(doc, c.term, c.from, -1, c.options, false, &length),
                  c.pos)
            << c.name;
        if (c.pos >= 0) {
            EXPECT_EQ(length, c.length) << c.name;
        }
    }
    int length = 0;
    EXPECT_EQ(KvTextMatch::FindInDocument(doc, u"jekt"_qs, 0, 13, {}, true, &length), 9);
    EXPECT_EQ(KvTextMatch::FindInDocument(doc, u"jekt"_qs, 0, 12, {}, true, &length), -1);
}

} // namespace
