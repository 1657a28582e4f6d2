// A search whose workers run while the thread that owns the model renames and creates
// elements and the application log is written from every thread. The search sees the
// notebook as it was when it started. Run it in a ThreadSanitizer build to check that the
// workers touch nothing the model's thread changes (tests/tsan.supp).
#include "lists/kvsearchreceiver.h"
#include "lists/kvsearchthread.h"
#include "model/kvnotebookbuild.h"
#include "model/kvnotebookgenerator.h"
#include "model/modelfixture.h"
#include "platform/applog.h"

#include <QCoreApplication>
#include <QTest>

using namespace korvtest;

namespace {

class Collector : public KvSearchReceiver
{
public:
    void StartSearchNotify(int) override {}
    void PageSearchNotify(const QString& id, bool found) override
    {
        if (found)
            hits.append(id);
    }
    void OnSearchTerminate() override { ++ends; }

    QStringList hits;
    int ends = 0;
};

class SearchThreadsTest : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        KvGeneratorOptions o;
        o.seed = 21;
        o.elements = 1500;
        o.protectedPercent = 10;
        o.keywordPercent = 40;
        KvNotebookGenerator::Generate(Dir(), o);
        ReopenStores();
        KvElementFactory factory;
        nb = KvNotebookBuild::Build(factory);
        KvAppLog::SetDirectoryResolver([this] { return m_env.Dir(u"log"_qs); });
        KvAppLog::SetEnabled(true);
    }
    void TearDown() override
    {
        KvAppLog::SetEnabled(false);
        KvAppLog::Close();
        KvAppLog::SetDirectoryResolver({});
        nb.Reset();
        ModelFixture::TearDown();
    }

    KvNotebook nb;
};

TEST_F(SearchThreadsTest, ModelChangesDuringTheSearchDoNotReachIt)
{
    KvSearchCrit crit;
    crit.SText1 = u"Vertrag"_qs;
    crit.Cond = KvSearchCrit::AndNot;
    crit.SText2 = u"Budget"_qs;
    // Every file is younger than its first day: the filter only makes the workers look.
    crit.DateSearch = true;
    crit.DSCond = KvSearchCrit::After;
    crit.SDate = 1;
    Collector before;
    KvSearchThread first(before, std::nullopt, *nb.top, crit);
    first.Wait();
    ASSERT_FALSE(before.hits.isEmpty());

    Collector during;
    KvSearchThread search(during, std::nullopt, *nb.top, crit);
    search.Start();
    const QList<KvObject*> elements = CollectDescendants(nb.top.get());
    int n = 0;
    while (during.ends == 0) {
        KvObject* obj = elements[n % elements.size()];
        obj->SetName(u"Vertrag umbenannt %1"_qs.arg(n));
        if (n % 50 == 0) {
            auto* folder = dynamic_cast<KvFolder*>(obj);
            if (folder)
                new KvPage(u"Page9%1"_qs.arg(n, 6, 10, QChar(u'0')), folder, true);
        }
        ++n;
        QCoreApplication::processEvents();
    }
    EXPECT_GT(n, 0);
    EXPECT_EQ(during.hits, before.hits);
    EXPECT_EQ(during.ends, 1);
}

} // namespace
