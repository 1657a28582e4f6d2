// The browse history: its operations as tables of steps, the limit, the store per user,
// and the list hooks.
#include "lists/kvbrowsehistory.h"
#include "lists/kvelementlists.h"
#include "model/modelfixture.h"

#include <QFile>

using namespace korvtest;

namespace {

class BrowseHistoryTest : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        trash = std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
        for (int i = 1; i <= 6; ++i)
            NewPage(PageId(i), top.get(), u"Seite %1"_qs.arg(i));
    }
    QString StorePath() const { return Dir() + u"history"_qs; }
};

// One step on a history and what it leaves.
struct Step
{
    std::function<QString(KvBrowseHistory&)> op; // returns what the step answers
    QString answer;
    QString entries; // letters A… for pages 1…
    int position;
};

QString Letters(const QStringList& ids)
{
    QString s;
    for (const QString& id : ids)
        s += QChar(u'A' + id.right(1).toInt() - 1);
    return s;
}

QString P(char letter)
{
    return PageId(letter - 'A' + 1);
}

// Showing page `to` while `from` is shown, as the window records a visit.
std::function<QString(KvBrowseHistory&)> Show(char from, char to)
{
    return [from, to](KvBrowseHistory& h) {
        if (from) {
            h.RemoveCurrent();
            h.AddEntry(P(from));
        }
        h.AddEntry(P(to));
        return QString();
    };
}

std::function<QString(KvBrowseHistory&)> Do(std::function<void(KvBrowseHistory&)> op)
{
    return [op](KvBrowseHistory& h) {
        op(h);
        return QString();
    };
}

TEST_F(BrowseHistoryTest, OperationsStepByStep)
{
    struct Sequence
    {
        const char* what;
        int limit;
        std::vector<Step> steps;
    };
    const Sequence sequences[] = {
        {"A, B, C, back to B, then D",
         30,
         {{Show(0, 'A'), {}, u"A"_qs, 1},
          {Show('A', 'B'), {}, u"AB"_qs, 2},
          {Show('B', 'C'), {}, u"ABC"_qs, 3},
          {[](KvBrowseHistory& h) { return h.GoToPrevious(); }, P('B'), u"ABC"_qs, 2},
          {Show('B', 'D'), {}, u"ACBD"_qs, 4}}},
        {"a fourth page drops the oldest with limit 3",
         3,
         {{Show(0, 'A'), {}, u"A"_qs, 1},
          {Show('A', 'B'), {}, u"AB"_qs, 2},
          {Show('B', 'C'), {}, u"ABC"_qs, 3},
          {Show('C', 'D'), {}, u"BCD"_qs, 3}}},
        {"a page shown again moves to the end",
         30,
         {{Do([](auto& h) {
               for (char c : {'A', 'B', 'C'})
                   h.AddEntry(P(c));
           }),
           {},
           u"ABC"_qs,
           3},
          {Show('C', 'A'), {}, u"BCA"_qs, 3}}},
        {"next, previous and positions",
         30,
         {{Do([](auto& h) {
               for (char c : {'A', 'B', 'C'})
                   h.AddEntry(P(c));
           }),
           {},
           u"ABC"_qs,
           3},
          {[](KvBrowseHistory& h) { return h.GoToNext(); }, {}, u"ABC"_qs, 3},
          {[](KvBrowseHistory& h) { return h.SetPosition(1); }, P('A'), u"ABC"_qs, 1},
          {[](KvBrowseHistory& h) { return h.GoToNext(); }, P('B'), u"ABC"_qs, 2},
          {[](KvBrowseHistory& h) { return h.SetPosition(4); }, {}, u"ABC"_qs, 2},
          {[](KvBrowseHistory& h) { return h.SetPosition(0); }, {}, u"ABC"_qs, 2},
          {[](KvBrowseHistory& h) { return h.CurrentEntry(); }, P('B'), u"ABC"_qs, 2},
          {[](KvBrowseHistory& h) { return h.GoToPrevious(); }, P('A'), u"ABC"_qs, 1},
          {[](KvBrowseHistory& h) { return h.GoToPrevious(); }, {}, u"ABC"_qs, 0},
          {[](KvBrowseHistory& h) { return h.GoToPrevious(); }, {}, u"ABC"_qs, 0}}},
        {"deleting the current entry makes the one before current, a later one keeps it",
         30,
         {{Do([](auto& h) {
               for (char c : {'A', 'B', 'C', 'D'})
                   h.AddEntry(P(c));
               h.SetPosition(3);
           }),
           {},
           u"ABCD"_qs,
           3},
          {[](KvBrowseHistory& h) { return QString::number(h.RemoveId(P('D'))); }, u"1"_qs,
           u"ABC"_qs, 3},
          {[](KvBrowseHistory& h) { return QString::number(h.RemoveId(P('C'))); }, u"1"_qs,
           u"AB"_qs, 2},
          {[](KvBrowseHistory& h) { return QString::number(h.RemoveId(P('F'))); }, u"0"_qs,
           u"AB"_qs, 2},
          {Do([](auto& h) { h.AddEntry(QString()); }), {}, u"AB"_qs, 2},
          {Do([](auto& h) { h.RemoveCurrent(); }), {}, u"A"_qs, 1},
          {Do([](auto& h) { h.Clear(); }), {}, QString(), 0},
          {Do([](auto& h) { h.RemoveCurrent(); }), {}, QString(), 0}}},
        {"lowering the limit keeps the newest entries and the current one",
         30,
         {{Do([](auto& h) {
               for (char c : {'A', 'B', 'C', 'D', 'E', 'F'})
                   h.AddEntry(P(c));
               h.SetPosition(2);
           }),
           {},
           u"ABCDEF"_qs,
           2},
          {Do([](auto& h) { h.SetLimit(3); }), {}, u"BEF"_qs, 1},
          {[](KvBrowseHistory& h) { return QString::number(h.Limit()); }, u"3"_qs, u"BEF"_qs, 1},
          {Do([](auto& h) { h.SetLimit(-4); }), {}, u"BEF"_qs, 1},
          {[](KvBrowseHistory& h) { return QString::number(h.Limit()); }, u"30"_qs, u"BEF"_qs, 1},
          {Do([](auto& h) { h.SetLimit(0); }), {}, QString(), 0},
          {Do([](auto& h) { h.AddEntry(P('A')); }), {}, QString(), 0}}},
    };
    for (const Sequence& s : sequences) {
        KvBrowseHistory h;
        h.SetLimit(s.limit);
        int n = 0;
        for (const Step& step : s.steps) {
            ++n;
            EXPECT_EQ(step.op(h), step.answer) << s.what << ", step " << n;
            EXPECT_EQ(Letters(h.Entries()), step.entries) << s.what << ", step " << n;
            EXPECT_EQ(h.Position(), step.position) << s.what << ", step " << n;
        }
    }
}

TEST_F(BrowseHistoryTest, EachUserKeepsASectionAndGoneElementsAreDropped)
{
    {
        KvBrowseHistory anna(StorePath(), u"anna"_qs);
        anna.AddEntry(PageId(1));
        anna.AddEntry(u"Page0000077"_qs);
        anna.AddEntry(PageId(2));
        // Saved when it goes, because a store path is set.
    }
    {
        KvBrowseHistory ben(StorePath(), u"ben"_qs);
        ben.AddEntry(PageId(3));
        ben.Save();
        ben.SetStorePath(QString());
    }
    EXPECT_EQ(KvBrowseHistory::ReadEntries(StorePath(), u"anna"_qs),
              (QStringList{PageId(1), u"Page0000077"_qs, PageId(2)}));
    KvBrowseHistory anna(QString(), u"anna"_qs);
    anna.SetStorePath(StorePath());
    EXPECT_EQ(anna.Entries(), (QStringList{PageId(1), PageId(2)}));
    EXPECT_EQ(anna.Position(), 2);
    KvBrowseHistory ben(QString(), u"ben"_qs);
    ben.SetStorePath(StorePath());
    EXPECT_EQ(ben.Entries(), QStringList{PageId(3)});
    // A history that is not empty does not load again.
    ben.SetStorePath(StorePath());
    EXPECT_EQ(ben.Entries(), QStringList{PageId(3)});
    // The limit applies to what is loaded.
    KvBrowseHistory short1(QString(), u"anna"_qs);
    short1.SetLimit(1);
    short1.SetStorePath(StorePath());
    EXPECT_EQ(short1.Entries(), QStringList{PageId(2)});
    short1.SetStorePath(QString());
    anna.SetStorePath(QString());
    ben.SetStorePath(QString());
}

TEST_F(BrowseHistoryTest, WithoutStorePathNothingIsReadOrWritten)
{
    {
        KvBrowseHistory h;
        h.AddEntry(PageId(1));
        h.Save();
        h.Load();
        EXPECT_EQ(h.Entries(), QStringList{PageId(1)});
    }
    EXPECT_FALSE(QFile::exists(StorePath() + u".001"_qs));
}

TEST_F(BrowseHistoryTest, HooksForgetAndWriteOnlyWithAStorePath)
{
    KvBrowseHistory::WriteEntries(StorePath(), u"anna"_qs, {PageId(1), PageId(2), PageId(3)});
    for (const bool bound : {false, true}) {
        KvBrowseHistory h(QString(), u"anna"_qs);
        h.SetStorePath(StorePath());
        if (!bound)
            h.SetStorePath(QString());
        KvElementLists lists;
        lists.Add(&h);
        lists.ForgetIds({PageId(3), PageId(9)});
        EXPECT_EQ(h.Entries(), (QStringList{PageId(1), PageId(2)}));
        EXPECT_EQ(h.Position(), 2);
        EXPECT_EQ(KvBrowseHistory::ReadEntries(StorePath(), u"anna"_qs).size(), bound ? 2 : 3);
        lists.Remove(&h);
        h.SetStorePath(QString());
    }
}

} // namespace
