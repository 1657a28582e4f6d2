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
