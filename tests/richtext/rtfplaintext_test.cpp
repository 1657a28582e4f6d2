#include "richtext/rtfplaintext.h"
#include "richtext/rtfproperties.h"
#include "richtext/rtfreader.h"
#include "rtfcorpus.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QString DocumentTextOf(const QByteArray& rtf)
{
    QTextDocument doc;
    KvRtfReader::Read(rtf, &doc);
    return KvRtfPlainText::DocumentText(doc);
}

TEST(RtfPlainText, ExtractorEqualsDocumentTextOnCorpus)
{
    KORV_REQUIRE_RTF_CORPUS(dir);
    const QStringList files = korvtest::RtfCorpusFiles(dir);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        const QByteArray rtf = korvtest::ReadFileBytes(path);
        EXPECT_EQ(KvRtfPlainText::Extract(rtf).toStdString(), DocumentTextOf(rtf).toStdString())
            << path.toStdString();
    }
}

// Checkpoints see a growing beginning of the text and change nothing; one that answers
// false ends the extraction early.
TEST(RtfPlainText, CheckpointsSeeTheTextGrowAndCanStopIt)
{
    KORV_REQUIRE_RTF_CORPUS(dir);
    const QStringList files = korvtest::RtfCorpusFiles(dir);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& path : files) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray rtf = korvtest::ReadFileBytes(path);
        const QString whole = KvRtfPlainText::Extract(rtf);
        QString text;
        int calls = 0;
        qsizetype seen = 0;
        const bool complete = KvRtfPlainText::Extract(rtf, text, 97, [&](const QString& soFar) {
            ++calls;
            EXPECT_GE(soFar.size(), seen);
            seen = soFar.size();
            return true;
        });
        EXPECT_TRUE(complete);
        EXPECT_EQ(text, whole);
        EXPECT_EQ(calls > 0, rtf.size() > 97);

        int left = 3;
        const bool stopped =
            !KvRtfPlainText::Extract(rtf, text, 97, [&](const QString&) { return --left > 0; });
        EXPECT_EQ(stopped, calls >= 3);
        EXPECT_LE(text.size(), whole.size());
    }
    QByteArray words = "{\\rtf1\\ansi ";
    for (int i = 0; i < 1000; ++i)
        words += "{\\b Wort" + QByteArray::number(i) + "} ";
    words += '}';
    QString text;
    EXPECT_FALSE(KvRtfPlainText::Extract(words, text, 100, [](const QString&) { return false; }));
    EXPECT_TRUE(text.startsWith(u"Wort0 Wort1"_qs)) << text.toStdString();
    EXPECT_FALSE(text.contains(u"Wort999"_qs));
}

TEST(RtfPlainText, DocumentTextFollowsToPlainTextWithoutHiddenText)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat hidden;
    hidden.setProperty(KvRtfProp::Hidden, true);
    c.insertText(u"a\u00A0b"_qs);
    c.insertText(u"secret"_qs, hidden);
    c.insertText(u"c\u2028d"_qs, QTextCharFormat());
    c.insertBlock();
    c.insertText(u"e\tf"_qs);
    EXPECT_EQ(doc.toPlainText(), u"a bsecretc\nd\ne\tf"_qs);
    EXPECT_EQ(KvRtfPlainText::DocumentText(doc), u"a bc\nd\ne\tf"_qs);

    QTextDocument table;
    QTextCursor t(&table);
    t.insertText(u"x"_qs);
    t.insertTable(1, 2);
    EXPECT_EQ(KvRtfPlainText::DocumentText(table), table.toPlainText());
}

TEST(RtfPlainText, ExtractorEqualsDocumentTextOnGeneratedStructures)
{
    // Structures where the document's block layout is easy to get wrong.
    const QByteArray cases[] = {
        "{\\rtf1 \\trowd\\cellx1\\cellx2\\intbl a\\cell\\row}",
        "{\\rtf1 \\trowd\\cellx1\\intbl a\\cell\\row\\pard\\par\\par x\\par}",
        "{\\rtf1 x\\trowd\\cellx1\\cellx2\\intbl a\\par b\\cell\\cell\\row\\intbl c}",
        "{\\rtf1 {\\v hidden\\par}shown\\par{\\v\\par}}",
        "{\\rtf1 {\\pict\\pngblip 00}\\par{\\object{\\*\\objdata 00}}}",
        "{\\rtf1 {\\pntext 1.\\tab}a\\par{\\pntext 2.\\tab}{\\*\\pn\\pndec}b\\par}",
        "{\\rtf1 a\\cell b\\row c\\nestcell d\\nestrow e}",
        "{\\rtf1 \\u8233?\\u64976?\\u65532?\\'0d x}",
        "{\\pict\\*0}",
        "\\pict\\upr{\\ud}",
        "\\intbl\\listtext a",
        "{\\rtf1 {\\pict\\ansicpg1251\\pngblip 00}\\'cf}",
    };
    for (const QByteArray& rtf : cases)
        EXPECT_EQ(KvRtfPlainText::Extract(rtf), DocumentTextOf(rtf)) << rtf.constData();
}

} // namespace
