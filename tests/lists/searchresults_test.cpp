// Saved search results: automatic and display names, the store format with the criteria
// kept through every save, loading (newest first, equal times, CurrentEntry), the entries
// of the drop-down list through save, select, rename and delete, batches and the hooks.
#include "lists/kvdaynumber.h"
#include "lists/kvelementlists.h"
#include "lists/kvrowsview.h"
#include "lists/kvsearchresult.h"
#include "lists/kvsearchresultname.h"
#include "lists/kvsearchresults.h"
#include "model/kvaddstatus.h"
#include "model/modelfixture.h"
#include "platform/kvfileseam.h"
#include "store/texmeminifile.h"

#include <QLocale>
#include <QRegularExpression>

using namespace korvtest;

namespace {

const QDate kDay(2025, 3, 4);

class SearchResultsTest : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        top->SetName(u"Ordner"_qs);
        trash = std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
        for (int i = 1; i <= 5; ++i)
            NewPage(PageId(i), top.get(), u"Seite %1"_qs.arg(i));
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        ModelFixture::TearDown();
    }

    QString StorePath() const { return Dir() + u"srchres"_qs; }
    void WriteStore(const QStringList& lines)
    {
        WriteAll(StorePath() + u".001"_qs, (lines.join(u"\r\n"_qs) + u"\r\n"_qs).toUtf8());
    }
    QStringList SectionLines(const QString& section)
    {
        TexIniFile store(StorePath(), 40, false);
        TexMemIniFile snapshot(store);
        QStringList lines;
        const QStringList keys = snapshot.ReadSection(section);
        const QStringList values = snapshot.ReadSectionValues(section);
        for (qsizetype i = 0; i < keys.size(); ++i)
            lines.append(keys[i] + u'=' + values[i]);
        return lines;
    }
    static KvSearchCrit Crit(const QString& t1, const QString& t2 = QString(), int cond = 0)
    {
        KvSearchCrit c;
        c.SText1 = t1;
        c.SText2 = t2;
        c.Cond = quint8(cond);
        return c;
    }
};

TEST_F(SearchResultsTest, AutomaticNamesFollowTermsLinkDateAndStatus)
{
    const QString catalogueFile = m_env.Dir(u"cat"_qs) + u"korvnote.stg"_qs;
    WriteAll(catalogueFile, "[AdditionalStatus]\r\nEigen=eigen.png\r\n");
    const KvAddStatus catalogue(catalogueFile);
    const KvAddStatus empty(m_env.Dir(u"none"_qs) + u"korvnote.stg"_qs);
    auto with = [](KvSearchCrit c, auto change) {
        change(c);
        return c;
    };
    const double day = KvDayNumber::OfDay(kDay) + 0.75;
    struct NameCase
    {
        KvSearchCrit crit;
        const KvAddStatus* catalogue;
        QString name;
    };
    const NameCase cases[] = {
        {Crit(u"note"_qs), nullptr, u"'note'"_qs},
        {with(Crit(u"note"_qs, u"memo"_qs, 1),
              [](KvSearchCrit& c) {
                  c.StatusSearch = true;
                  c.SStatus = 1;
              }),
         nullptr, u"'note' oder 'memo' / Status: unerledigt"_qs},
        {Crit(QString(), u"memo"_qs, 0), nullptr, u"und 'memo'"_qs},
        {Crit(u"a"_qs, u"b"_qs, 2), nullptr, u"'a' und nicht 'b'"_qs},
        {Crit(u"a"_qs, u"b"_qs, 7), nullptr, u"'a' 'b'"_qs},
        {with(Crit(QString()),
              [&](KvSearchCrit& c) {
                  c.DateSearch = true;
                  c.DSCond = 1;
                  c.SDate = day;
              }),
         nullptr, u"Datum: geändert...am 04.03.25"_qs},
        {with(Crit(u"a"_qs),
              [&](KvSearchCrit& c) {
                  c.DateSearch = true;
                  c.DSCond = 2;
                  c.SDate = day;
                  c.StatusSearch = true;
                  c.SStatus = 12;
              }),
         nullptr, u"'a' / Datum: geändert...nach dem 04.03.25 / Status: Frage"_qs},
        {with(Crit(QString()),
              [](KvSearchCrit& c) {
                  c.StatusSearch = true;
                  c.SStatus = 14;
              }),
         &empty, u"Status: "_qs},
        {with(Crit(QString()),
              [](KvSearchCrit& c) {
                  c.StatusSearch = true;
                  c.SStatus = 14;
              }),
         &catalogue, u"Status: Eigen"_qs},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(KvSearchResultName::Automatic(c.crit, c.catalogue), c.name);

    const double saved = KvDayNumber::Of(QDateTime(kDay, QTime(13, 5, 9)));
    EXPECT_EQ(KvSearchResultName::Display(QString(), Crit(u"x"_qs), saved, nullptr),
              u"'x'    [04.03.25 13:05:09]"_qs);
    EXPECT_EQ(KvSearchResultName::Display(u"Mein Name"_qs, Crit(u"x"_qs), saved, nullptr),
              u"Mein Name"_qs);
}

TEST_F(SearchResultsTest, DayNumbersCountFromTheLastDayOf1899)
{
    EXPECT_EQ(KvDayNumber::OfDay(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(KvDayNumber::OfDay(QDate(2000, 1, 1)), 36526);
    const QDateTime at(QDate(2000, 1, 1), QTime(18, 0));
    EXPECT_DOUBLE_EQ(KvDayNumber::Of(at), 36526.75);
    EXPECT_EQ(KvDayNumber::DateTimeOf(36526.75), at);
    EXPECT_EQ(KvDayNumber::DayOf(36526.75), QDate(2000, 1, 1));
}

TEST_F(SearchResultsTest, CriteriaTimeAndNameSurviveEverySaveOfTheList)
{
    TexIniFile store(StorePath(), 40, false);
    KvSearchCrit crit = Crit(u"Notiz"_qs, u"Plan"_qs, 1);
    crit.WhWord1 = true;
    crit.DateSearch = true;
    crit.DSCond = 2;
    crit.SDate = KvDayNumber::OfDay(kDay) + 0.5;
    crit.StatusSearch = true;
    crit.SStatus = 3;
    crit.Fldr = FldrId(1);
    crit.PageCPw = false;
    {
        KvSearchResult result(store, u"List0000001"_qs, KvItemList::New{});
        result.SetCriteria(crit);
        QStringList ids;
        for (int i = 1; i <= 250; ++i)
            ids.append(PageId(i));
        result.AddIds(ids);
        const double before = KvDayNumber::Of(QDateTime::currentDateTime());
        result.Save();
        EXPECT_GE(result.Time(), before) << "the first save is the time of the result";
        result.SetName(u"Wichtig"_qs);
        result.Save();
    }
    QStringList lines = SectionLines(u"List0000001"_qs);
    ASSERT_EQ(lines.size(), 200 + 2 + 22);
    EXPECT_EQ(lines[200], u"Continuation=Ext0000001"_qs);
    EXPECT_EQ(lines[201], u"ActItem="_qs);
    const QStringList critLines = lines.mid(202, 20);
    EXPECT_EQ(critLines, (QStringList{u"SText1=Notiz"_qs,     u"WhWord1=1"_qs,      u"MtCase1=0"_qs,
                                      u"SText2=Plan"_qs,      u"WhWord2=0"_qs,      u"MtCase2=0"_qs,
                                      u"Cond=1"_qs,           u"DateSearch=1"_qs,   u"DSCond=2"_qs,
                                      u"SDate=45720"_qs,      u"StatusSearch=1"_qs, u"SStatus=3"_qs,
                                      u"Fldr=Fldr0000001"_qs, u"SubFldr=1"_qs,      u"PageN=1"_qs,
                                      u"PageC=1"_qs,          u"PageCPw=0"_qs,      u"PageK=1"_qs,
                                      u"FldrK=1"_qs,          u"FldrN=1"_qs}));
    EXPECT_TRUE(lines[222].contains(QRegularExpression(u"^Time=\\d+,\\d+$"_qs)))
        << lines[222].toStdString();
    EXPECT_EQ(lines[223], u"Descr=Wichtig"_qs);

    // The list is written again, shorter: the first section is replaced, the keys stay.
    const QString timeLine = lines[222];
    {
        KvSearchResult result(store, u"List0000001"_qs);
        EXPECT_EQ(result.Ids().size(), 250);
        EXPECT_EQ(result.Descr(), u"Wichtig"_qs);
        result.RemoveId(PageId(1));
        result.Save();
    }
    KvSearchResult again(store, u"List0000001"_qs);
    KvSearchCrit expected = crit;
    expected.SDate = 45720;
    EXPECT_EQ(again.Criteria(), expected);
    EXPECT_EQ(again.Descr(), u"Wichtig"_qs);
    EXPECT_EQ(SectionLines(u"List0000001"_qs).filter(u"Time="_qs), QStringList{timeLine});
    EXPECT_EQ(again.Ids().size(), 249);
    EXPECT_EQ(again.Ids().last(), PageId(250));
}

TEST_F(SearchResultsTest, StoredKeysReadWithTheirDefaults)
{
    WriteStore({u"[List0000003]"_qs, u"Item0000001=Page0000001"_qs, u"SText1=x"_qs, u"SubFldr=0"_qs,
                u"Cond=zwei"_qs});
    TexIniFile store(StorePath(), 40, false);
    const double before = KvDayNumber::Of(QDateTime::currentDateTime());
    KvSearchResult result(store, u"List0000003"_qs);
    KvSearchCrit expected;
    expected.SText1 = u"x"_qs;
    expected.SubFldr = false;
    EXPECT_EQ(result.Criteria(), expected) << "a value that does not read keeps the default";
    EXPECT_GE(result.Time(), before) << "a missing time reads as now";
    EXPECT_EQ(result.Descr(), QString());
}

TEST_F(SearchResultsTest, LoadingListsNewestFirstAndResultsOfEqualTimeBoth)
{
    WriteStore({u"[SearchResults]"_qs, u"CurrentEntry=2"_qs, u"[List0000002]"_qs,
                u"Item0000001=Page0000001"_qs, u"SText1=b"_qs, u"Time=45000,5"_qs,
                u"[Ext0000001]"_qs, u"Item0000001=Page0000002"_qs, u"[List0000001]"_qs,
                u"Item0000001=Page0000002"_qs, u"SText1=a"_qs, u"Time=45000,5"_qs,
                u"[List0000003]"_qs, u"SText1=c"_qs, u"Time=45001"_qs, u"Descr=Neu"_qs});
    KvSearchResults results(StorePath());
    ASSERT_EQ(results.Count(), 3);
    EXPECT_EQ(results.At(1)->Section(), u"List0000003"_qs);
    EXPECT_EQ(results.At(2)->Section(), u"List0000002"_qs);
    EXPECT_EQ(results.At(3)->Section(), u"List0000001"_qs);
    const QStringList entries = results.Entries();
    EXPECT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0], KvTexts::Text(12083));
    EXPECT_EQ(entries[1], u"Neu"_qs);
    EXPECT_TRUE(entries[2].startsWith(u"'b'    ["_qs)) << entries[2].toStdString();
    EXPECT_EQ(results.SelectedEntry(), 2);
    EXPECT_EQ(results.CurrentSearchResult(), nullptr) << "the window shows the selection";

    // Both results of the same time can be deleted.
    results.SetWritable(true);
    results.DeleteEntry(3);
    results.DeleteEntry(2);
    EXPECT_EQ(results.Count(), 1);
    EXPECT_EQ(KvSearchResults(StorePath()).Count(), 1);
}

TEST_F(SearchResultsTest, EntriesThroughSaveSelectRenameAndDelete)
{
    KvSearchResults results(StorePath());
    results.SetWritable(true);
    EXPECT_EQ(results.Entries(), QStringList{KvTexts::Text(12084)});
    EXPECT_EQ(results.SelectedEntry(), 0);
    EXPECT_FALSE(results.CanSave(0));

    KvRowsView view;
    view.ShowRows({PageId(3), PageId(1), u"Page0000077"_qs}, false);
    results.NewCurrentSearch(Crit(u"eins"_qs));
    EXPECT_EQ(results.Entries().first(), u"'eins'"_qs);
    EXPECT_TRUE(results.CanSave(0));

    KvSearchResult& first = results.SaveCurrent(Crit(u"eins"_qs), &view, false);
    EXPECT_EQ(first.Ids(), (QStringList{PageId(3), PageId(1)}));
    EXPECT_EQ(results.SelectedEntry(), 1);
    EXPECT_EQ(results.CurrentSearchResult(), &first);
    EXPECT_FALSE(results.CanSave(0)) << "a result is saved once";
    EXPECT_TRUE(results.CanDeleteOrRename(1));
    EXPECT_EQ(results.Entries().first(), KvTexts::Text(12083));

    view.ShowRows({PageId(2)}, false);
    results.NewCurrentSearch(Crit(u"zwei"_qs));
    EXPECT_EQ(results.CurrentSearchResult(), nullptr);
    EXPECT_EQ(first.View(), nullptr) << "a new search unbinds the saved result";
    results.SaveCurrent(Crit(u"zwei"_qs), &view, true);
    EXPECT_EQ(results.At(1)->Criteria().SText1, u"zwei"_qs) << "newest first";

    // Choosing the older one shows its rows and ends an unsaved search.
    results.NewCurrentSearch(Crit(u"drei"_qs));
    results.SelectEntry(2, &view, false);
    EXPECT_EQ(view.RowIds(), (QStringList{PageId(3), PageId(1)}));
    EXPECT_EQ(results.Entries().first(), KvTexts::Text(12083));
    EXPECT_FALSE(results.CanSave(0));
    results.SelectEntry(9, &view, false);
    EXPECT_EQ(results.SelectedEntry(), 2) << "an entry beyond the list does nothing";

    results.RenameEntry(2, u"Umbenannt"_qs);
    EXPECT_EQ(results.Entries()[2], u"Umbenannt"_qs);
    results.StoreCurrentEntry();
    {
        KvSearchResults reread(StorePath());
        EXPECT_EQ(reread.Entries()[2], u"Umbenannt"_qs);
        EXPECT_EQ(reread.SelectedEntry(), 2);
    }

    results.DeleteEntry(2);
    EXPECT_TRUE(view.RowIds().isEmpty()) << "the shown result's rows go with it";
    EXPECT_EQ(results.SelectedEntry(), 0);
    EXPECT_EQ(results.Entries().first(), KvTexts::Text(12083));
    results.DeleteEntry(1);
    EXPECT_EQ(results.Entries(), QStringList{KvTexts::Text(12084)});
    EXPECT_EQ(KvSearchResults(StorePath()).Count(), 0);
}

TEST_F(SearchResultsTest, HooksRemoveFromEveryResultAndWriteOnceAfterTheBatch)
{
    {
        KvSearchResults results(StorePath());
        results.SetWritable(true);
        KvRowsView view;
        for (int n = 1; n <= 3; ++n) {
            view.ShowRows({PageId(1), PageId(2), PageId(n + 2)}, false);
            results.SaveCurrent(Crit(QString::number(n)), &view, false);
        }
    }
    for (const bool writable : {false, true}) {
        KvSearchResults results(StorePath());
        results.SetWritable(writable);
        KvRowsView view;
        results.SelectEntry(1, &view, false);
        KvElementLists lists;
        lists.Add(&results);
        const QByteArray stored = ReadAll(StorePath() + u".001"_qs);
        {
            KvFileSeam::Scope count({KvFileSeam::Rename, u"*/srchres.0*"_qs, 1000, EIO, false});
            {
                KvElementLists::Batch batch(lists);
                lists.ForgetIds({PageId(1)});
                lists.ForgetIds({PageId(5)});
                EXPECT_EQ(KvFileSeam::Seen(), 0);
            }
            EXPECT_EQ(KvFileSeam::Seen(), writable ? 1 : 0) << "one write of the store";
        }
        EXPECT_EQ(view.RowIds(), QStringList{PageId(2)});
        if (!writable) {
            EXPECT_EQ(ReadAll(StorePath() + u".001"_qs), stored);
            lists.Remove(&results);
            continue;
        }
        KvSearchResults reread(StorePath());
        for (int entry = 1; entry <= 3; ++entry)
            EXPECT_FALSE(reread.At(entry)->Ids().contains(PageId(1)));
        EXPECT_EQ(reread.At(1)->Ids(), QStringList{PageId(2)});

        // A batch of the saved results holds back every write until it is closed.
        results.BeginBatch();
        lists.ForgetIds({PageId(2)});
        results.SaveCurrent(Crit(u"neu"_qs), &view, false);
        EXPECT_EQ(KvSearchResults(StorePath()).Count(), 3);
        results.EndBatch();
        results.EndBatch(); // never below 0
        EXPECT_FALSE(results.InBatch());
        results.SaveAll();
        KvSearchResults after(StorePath());
        EXPECT_EQ(after.Count(), 4);
        for (int entry = 1; entry <= 4; ++entry)
            EXPECT_FALSE(after.At(entry)->Ids().contains(PageId(2)));
        lists.Remove(&results);
    }
}

} // namespace
