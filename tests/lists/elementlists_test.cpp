#include "lists/kvelementlists.h"
#include "platform/kvexception.h"

#include <gtest/gtest.h>

namespace {

// Writes every call into one shared journal.
class Journal : public KvElementListener
{
public:
    Journal(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) {}
    QString ListenerName() const override { return m_name; }
    void ForgetIds(const QStringList& ids) override
    {
        if (throws)
            throw KvException(m_name + u" failed"_qs);
        m_log.append(m_name + u" forget "_qs + ids.join(u','));
    }
    void Renewed(const QStringList& ids) override
    {
        if (throws)
            throw std::runtime_error("renew failed");
        m_log.append(m_name + u" renew "_qs + ids.join(u','));
    }
    void BeginBatch() override { m_log.append(m_name + u" begin"_qs); }
    void EndBatch(bool save) override
    {
        m_log.append(m_name + (save ? u" end save"_qs : u" end"_qs));
    }
    bool throws = false;

private:
    QString m_name;
    QStringList& m_log;
};

class ElementListsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        lists.Add(&b);
        lists.AddFirst(&a); // the paste source's place
        lists.SetReporter([this](const QString& m) { reports.append(m); });
    }

    QStringList log;
    QStringList reports;
    Journal a{u"a"_qs, log};
    Journal b{u"b"_qs, log};
    KvElementLists lists;
};

TEST_F(ElementListsTest, ACallOutsideABatchIsABatchOfItsOwnWithOneSave)
{
    lists.ForgetIds({u"Page0000001"_qs});
    EXPECT_EQ(log, (QStringList{u"a begin"_qs, u"b begin"_qs, u"a forget Page0000001"_qs,
                                u"b forget Page0000001"_qs, u"a end save"_qs, u"b end save"_qs}));
}

TEST_F(ElementListsTest, NestedBatchesBeginAndEndOnceAndSaveWhenAnyAsked)
{
    {
        KvElementLists::Batch outer(lists, false);
        lists.ForgetIds({u"x"_qs});
        {
            KvElementLists::Batch inner(lists, true);
            lists.Renewed({u"y"_qs});
        }
        lists.Renewed({u"z"_qs});
    }
    EXPECT_EQ(log, (QStringList{u"a begin"_qs, u"b begin"_qs, u"a forget x"_qs, u"b forget x"_qs,
                                u"a renew y"_qs, u"b renew y"_qs, u"a renew z"_qs, u"b renew z"_qs,
                                u"a end save"_qs, u"b end save"_qs}));
    log.clear();
    {
        KvElementLists::Batch quiet(lists, false);
        lists.Renewed({u"w"_qs});
    }
    EXPECT_EQ(log.last(), u"b end"_qs);
}

TEST_F(ElementListsTest, AFailingListenerIsReportedOnceTheOthersGoOn)
{
    a.throws = true;
    {
        KvElementLists::Batch batch(lists);
        lists.ForgetIds({u"x"_qs});
        lists.Renewed({u"y"_qs});
        EXPECT_TRUE(reports.isEmpty()); // reported when the command ends
    }
    EXPECT_EQ(reports, QStringList{u"a failed"_qs});
    EXPECT_TRUE(log.contains(u"b forget x"_qs));
    EXPECT_TRUE(log.contains(u"b renew y"_qs));
    EXPECT_EQ(log.last(), u"b end save"_qs);
    // The next command starts without the old failure.
    a.throws = false;
    lists.ForgetIds({u"z"_qs});
    EXPECT_EQ(reports.size(), 1);
}

TEST_F(ElementListsTest, RemovedListenersHearNothing)
{
    lists.Remove(&a);
    lists.Renewed({u"x"_qs});
    for (const QString& line : std::as_const(log))
        EXPECT_FALSE(line.startsWith(u"a "_qs));
}

} // namespace
