#include "model/kvnotebookgenerator.h"
#include "richtext/rtfplaintext.h"
#include "support/testenv.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace korvtest;

namespace {

// Every word of a generated page's text is a word of the generator's list (or the number of
// a name, or the bullet), so that no formatting run glues two words together.
TEST(NotebookGenerator, PageTextsJoinNoWords)
{
    SandboxEnv env;
    const QString dir = env.Dir(u"data"_qs);
    KvGeneratorOptions o;
    o.elements = 200;
    o.protectedPercent = 0;
    const KvGeneratedNotebook nb = KvNotebookGenerator::Generate(dir, o);
    const QStringList& list = KvNotebookGenerator::Words();
    const QSet<QString> words(list.begin(), list.end());
    const QRegularExpression number(u"^[0-9]+$"_qs);
    const QString bullet(QChar(0x2022));
    int pages = 0;
    int checked = 0;
    for (const QString& id : nb.pageIds) {
        if (nb.referrers.contains(id))
            continue;
        const QString text = KvRtfPlainText::Extract(ReadAll(dir + id + u".kvp"_qs));
        ASSERT_FALSE(text.isEmpty()) << id.toStdString();
        ++pages;
        for (const QString& token :
             text.split(QRegularExpression(u"\\s+"_qs), Qt::SkipEmptyParts)) {
            ++checked;
            EXPECT_TRUE(words.contains(token) || number.match(token).hasMatch() || token == bullet)
                << id.toStdString() << ": \"" << token.toStdString() << "\" joins words";
        }
        if (::testing::Test::HasFailure())
            return;
    }
    EXPECT_GT(pages, 100);
    EXPECT_GT(checked, 2000);
}

} // namespace
