#include "richtext/rtfplaintext.h"
#include "richtext/rtfreader.h"
#include "rtfcorpus.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

QString DocumentTextOf(const QByteArray& rtf)
{
    QTextDocument doc;
    KvRtfReader::Read(rtf, &doc);
    return KvRtfPlainText::DocumentText(doc);
}

// The document's text with the numbers of list items in front, as striprtf keeps them.
QString TextWithListMarkers(const QByteArray& rtf)
{
    QTextDocument doc;
    KvRtfReader::Read(rtf, &doc);
    QString out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b != doc.begin())
            out += u'\n';
        if (QTextList* list = b.textList())
            out += list->itemText(b) + u' ';
        out += b.text();
    }
    return out;
}

QStringList Words(const QString& text)
{
    QStringList words;
    QString word;
    for (const QChar c : text) {
        if (c.isSpace() || c.category() == QChar::Separator_Space || c == u'|' ||
            c == QChar::ObjectReplacementCharacter) {
            if (!word.isEmpty())
                words << std::exchange(word, QString());
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

std::string AsciiOnly(const QString& text)
{
    std::string out;
    for (const QChar c : text) {
        if (c.unicode() < 0x80 && c.isLetterOrNumber())
            out += static_cast<char>(c.unicode());
    }
    return out;
}

// Empty when equal, else the first difference with some context.
std::string FirstDifference(const QStringList& actual, const QStringList& expected)
{
    qsizetype i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i])
        ++i;
    if (i == actual.size() && i == expected.size())
        return {};
    const qsizetype from = std::max<qsizetype>(0, i - 5);
    const QString msg = u"at word "_qs + QString::number(i) + u":\n  actual:   "_qs +
                        actual.mid(from, 15).join(u' ') + u"\n  expected: "_qs +
                        expected.mid(from, 15).join(u' ');
    return msg.toStdString();
}

// Words without striprtf's cell separators.

QString NoSpace(const QString& text)
{
    return Words(text).join(QString());
}

// The text events of an rtfparserkit dump outside the tables, info and ignorable groups.
QString XmlText(const QByteArray& xml)
{
    // Headers and footers are not part of the page text we read.
    static const QStringList skipFirst = {
        u"fonttbl"_qs, u"colortbl"_qs, u"stylesheet"_qs, u"info"_qs,    u"*"_qs,
        u"header"_qs,  u"headerl"_qs,  u"headerr"_qs,    u"headerf"_qs, u"footer"_qs,
        u"footerl"_qs, u"footerr"_qs,  u"footerf"_qs};
    static const QHash<QString, QString> symbols = {
        {u"emdash"_qs, u"\u2014"_qs},    {u"endash"_qs, u"\u2013"_qs},
        {u"bullet"_qs, u"\u2022"_qs},    {u"lquote"_qs, u"\u2018"_qs},
        {u"rquote"_qs, u"\u2019"_qs},    {u"ldblquote"_qs, u"\u201C"_qs},
        {u"rdblquote"_qs, u"\u201D"_qs}, {u"par"_qs, u"\n"_qs},
        {u"line"_qs, u"\n"_qs},          {u"tab"_qs, u"\t"_qs},
    };
    // Some dumps carry raw control characters (list level texts) that XML forbids.
    QByteArray clean = xml;
    clean.removeIf(
        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t'; });
    QXmlStreamReader r(clean);
    QList<bool> skipped; // per open group
    QList<bool> first;   // no command seen yet in the group
    QString out;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"group") {
            skipped.append(!skipped.isEmpty() && skipped.last());
            first.append(true);
        } else if (r.isEndElement() && r.name() == u"group") {
            skipped.removeLast();
            first.removeLast();
        } else if (r.isStartElement() && r.name() == u"command") {
            const QString name = r.attributes().value(u"name"_qs).toString();
            if (!first.isEmpty() && first.last()) {
                first.last() = false;
                if (skipFirst.contains(name) || r.attributes().value(u"optional"_qs) == u"true")
                    skipped.last() = true;
            }
            if ((skipped.isEmpty() || !skipped.last()) && symbols.contains(name))
                out += symbols.value(name);
        } else if (r.isStartElement() && r.name() == u"chars") {
            const QString chars = r.readElementText();
            if (skipped.isEmpty() || !skipped.last())
                out += chars;
        }
    }
    return out;
}

// striprtf's conventions: cells end with "|", links read text("url").
QString StripRtfExpected(const QString& text)
{
    QString t = text;
    t.replace(QRegularExpression(u"\\(\"[^\"]*\"\\)"_qs), QString());
    return t;
}

// Files whose expected text was produced while ignoring decoding errors.
const QStringList kLossyExpected = {u"encoding"_qs, u"issue_15"_qs, u"issue_28"_qs};

class RtfCorpusTest : public ::testing::Test
{
};

TEST_F(RtfCorpusTest, EveryFileLoads)
{
    KORV_REQUIRE_RTF_CORPUS(dir);
    const QStringList files = korvtest::RtfCorpusFiles(dir);
    EXPECT_GE(files.size(), 57);
    for (const QString& path : files) {
        const QByteArray rtf = korvtest::ReadFileBytes(path);
        QTextDocument doc;
        const KvRtfReadResult r = KvRtfReader::Read(rtf, &doc);
        EXPECT_TRUE(r.ok) << path.toStdString();
        EXPECT_LE(KvRtfPlainText::DocumentText(doc).size(), rtf.size()) << path.toStdString();
    }
}

TEST_F(RtfCorpusTest, StripRtfTextsMatch)
{
    KORV_REQUIRE_RTF_CORPUS(dir);
    const QStringList files = korvtest::RtfCorpusFiles(dir + u"/striprtf/rtf"_qs);
    ASSERT_FALSE(files.isEmpty());
    int compared = 0;
    for (const QString& path : files) {
        const QString name = QFileInfo(path).completeBaseName();
        const QString expectedPath = dir + u"/striprtf/expected-text/"_qs + name + u".txt"_qs;
        if (!QFile::exists(expectedPath))
            continue;
        ++compared;
        const QString expected =
            StripRtfExpected(QString::fromUtf8(korvtest::ReadFileBytes(expectedPath)));
        const QString actual = TextWithListMarkers(korvtest::ReadFileBytes(path));
        if (kLossyExpected.contains(name)) {
            // The expected text lost its undecodable bytes: compare the ASCII letters only.
            // "encoding" holds a second RTF document after the first one's closing brace;
            // reading ends with the first document, so its text is a prefix of the expected.
            const std::string a = AsciiOnly(actual), e = AsciiOnly(expected);
            EXPECT_GT(a.size(), 20u) << name.toStdString();
            if (name == u"encoding")
                EXPECT_EQ(e.substr(0, a.size()), a) << name.toStdString();
            else
                EXPECT_EQ(a, e) << name.toStdString();
            continue;
        }
        EXPECT_EQ(FirstDifference(Words(actual), Words(expected)), std::string())
            << name.toStdString();
    }
    EXPECT_GT(compared, 0);
}

TEST_F(RtfCorpusTest, RtfParserKitTextsMatch)
{
    KORV_REQUIRE_RTF_CORPUS(dir);
    const QStringList files = korvtest::RtfCorpusFiles(dir + u"/rtfparserkit"_qs);
    int compared = 0;
    for (const QString& path : files) {
        const QString xmlPath = path.chopped(4) + u".xml"_qs;
        if (!QFile::exists(xmlPath))
            continue;
        ++compared;
        const QString expected = XmlText(korvtest::ReadFileBytes(xmlPath));
        const QString actual = DocumentTextOf(korvtest::ReadFileBytes(path));
        EXPECT_EQ(NoSpace(actual).toStdString(), NoSpace(expected).toStdString())
            << path.toStdString();
    }
    EXPECT_GT(compared, 0);
    const QString conv = dir + u"/rtfparserkit/converter-text/testTextConversion"_qs;
    const QString expected = QString::fromUtf8(korvtest::ReadFileBytes(conv + u".txt"_qs));
    EXPECT_EQ(
        Words(DocumentTextOf(korvtest::ReadFileBytes(conv + u".rtf"_qs))).join(u' ').toStdString(),
        Words(expected).join(u' ').toStdString());
}

} // namespace
