// The search engine without a window, on a small notebook made by hand: criteria in, the
// reported ids out, in examination order.
#include "app/kvtexts.h"
#include "lists/kvsearchreceiver.h"
#include "lists/kvsearchtextcache.h"
#include "lists/kvsearchthread.h"
#include "model/kvpasswordasker.h"
#include "model/kvpasswordlist.h"
#include "model/modelfixture.h"
#include "platform/kvwipe.h"
#include "richtext/texrichdocument.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextDocument>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>
#include <sys/stat.h>

using namespace korvtest;

namespace {

class Collector : public KvSearchReceiver
{
public:
    void StartSearchNotify(int count) override
    {
        EXPECT_EQ(ends, 0);
        EXPECT_TRUE(reports.isEmpty());
        ++starts;
        startCount = count;
    }
    void PageSearchNotify(const QString& id, bool found) override
    {
        EXPECT_EQ(ends, 0);
        reports.append({id, found});
        if (onReport)
            onReport();
    }
    void SearchBatchDone() override { ++batches; }
    void OnSearchTerminate() override { ++ends; }

    QStringList Found() const
    {
        QStringList ids;
        for (const auto& [id, found] : reports) {
            if (found)
                ids.append(id);
        }
        return ids;
    }
    QStringList Reported() const
    {
        QStringList ids;
        for (const auto& r : reports)
            ids.append(r.first);
        return ids;
    }

    int starts = 0;
    int startCount = -1;
    int batches = 0;
    int ends = 0;
    QList<std::pair<QString, bool>> reports;
    std::function<void()> onReport;
};

class ScriptedAsker : public KvPasswordAsker
{
public:
    bool AskPassword(KvPage& page, QString& password) override
    {
        asked.append(page.Id());
        if (answer.isEmpty())
            return false;
        password = answer;
        return true;
    }
    QString answer;
    QStringList asked;
};

const QString kPw0 = u"fest"_qs;
const QString kPw1 = u"kennwort"_qs;

// Folder and page ids of the notebook:
//   TopFolder "Ordner"
//     Fldr1 "Projekte" (status 2, keywords "Kaffee;Plan")
//       Page1 "Reisebericht" (keywords "Kaffee")
//       Fldr2 "Archiv"
//         Page2 "Notizen", Page3 "Plan"
//     Page4 "Liste" (status 3), Page5 "Geheim" (class 0), Page6 "Tresor" (class 1),
//     Page7 "Kaputt" (class 0, corrupt file), Page8 (stands for Page1)
//   TrashFolder "Papierkorb"
//     Page9 "Alt"
class SearchEngineTest : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        KvSearchTextCache::Clear();
        KvPasswordList::Clear();
        KvPasswordAsker::SetCurrent(&asker);
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        top->SetName(u"Ordner"_qs);
        trash = std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
        trash->SetName(u"Papierkorb"_qs);
        projekte = NewFolder(FldrId(1), top.get(), u"Projekte"_qs);
        projekte->SetStatus(2);
        Page(1, projekte, u"Reisebericht"_qs,
             "{\\rtf1\\ansi Der Bericht \\'fcber die Reise nach \\'dcbersee.\\par}");
        archiv = NewFolder(FldrId(2), projekte, u"Archiv"_qs);
        Page(2, archiv, u"Notizen"_qs, "{\\rtf1\\ansi notes and more notes\\par}");
        Page(3, archiv, u"Plan"_qs, "{\\rtf1\\ansi Ein Pro{\\b jekt}plan f\\'fcr alle\\par}");
        liste = Page(4, top.get(), u"Liste"_qs,
                     "{\\rtf1\\ansi \\'c4pfel und \\'c4RGER in der Stra\\'dfe\\par}");
        liste->SetStatus(3);
        geheim = Protected(5, u"Geheim"_qs, u"Tresor Inhalt Klasse null"_qs, 0, kPw0, 0);
        tresor = Protected(6, u"Tresor"_qs, u"Kennwort Inhalt Klasse eins"_qs, 1, kPw1, 0);
        KvPage* kaputt = Protected(7, u"Kaputt"_qs, u"nie lesbar"_qs, 0, kPw0, 0);
        WriteAll(kaputt->ContentFilePath(), "kein gueltiger Datensatz");
        Obj().WriteString(PageId(8), u"Ref2"_qs, PageId(1));
        new KvPage(PageId(8), top.get(), true);
        Page(9, trash.get(), u"Alt"_qs, "{\\rtf1\\ansi Plan im Papierkorb\\par}");
        Kwd().WriteString(FldrId(1), u"Kwds"_qs, u"Kaffee;Plan"_qs);
        Kwd().WriteString(PageId(1), u"Kwds"_qs, u"Kaffee"_qs);
        Kwd().UpdateFile();
        for (KvObject* o : CollectDescendants(top.get()))
            o->Store();
        top->Store();
        trash->Store();
        KvPasswordList::Clear();
    }
    void TearDown() override
    {
        KvPasswordAsker::SetCurrent(nullptr);
        KvPasswordList::Clear();
        ModelFixture::TearDown();
    }

    KvPage* Page(int n, KvFolder* parent, const QString& name, const QByteArray& rtf)
    {
        KvPage* p = NewPage(PageId(n), parent, name);
        WriteAll(p->ContentFilePath(), rtf);
        return p;
    }

    KvPage* Protected(int n, const QString& name, const QString& text, int cls,
                      const QString& password, int askMode)
    {
        KvPage* p = NewPage(PageId(n), top.get(), name);
        p->Load(false, false);
        p->GetEditor()->LoadPlainText(text);
        p->GetEditor()->SetModified(true);
        p->SetPassword(password, false);
        if (cls != 0)
            p->SetProtectionClass(cls);
        p->SetPasswordAskMode(askMode);
        p->Store();
        p->Unload();
        return p;
    }

    static KvSearchCrit Crit(const QString& term)
    {
        KvSearchCrit c;
        c.SText1 = term;
        return c;
    }

    struct Run
    {
        Collector c;
        KvSearchStats stats;
        QList<KvSearchProblem> problems;
    };

    std::unique_ptr<Run> Search(const KvSearchCrit& crit, KvFolder* folder = nullptr,
                                const std::optional<QStringList>& restriction = {})
    {
        auto run = std::make_unique<Run>();
        KvSearchThread search(run->c, restriction, folder ? *folder : *top, crit);
        search.Wait();
        run->stats = search.Stats();
        run->problems = search.Problems();
        EXPECT_EQ(run->c.starts, 1);
        EXPECT_EQ(run->c.ends, 1);
        EXPECT_FALSE(search.IsRunning());
        return run;
    }

    QStringList Found(const KvSearchCrit& crit, KvFolder* folder = nullptr,
                      const std::optional<QStringList>& restriction = {})
    {
        return Search(crit, folder, restriction)->c.Found();
    }

    static void SetModified(const QString& path, const QDateTime& when)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    }

    static double Day(const QDate& d) { return double(QDate(1899, 12, 30).daysTo(d)); }

    ScriptedAsker asker;
    KvFolder* projekte = nullptr;
    KvFolder* archiv = nullptr;
    KvPage* liste = nullptr;
    KvPage* geheim = nullptr;
    KvPage* tresor = nullptr;
};

struct CritCase
{
    const char* name;
    std::function<void(KvSearchCrit&)> set;
    QStringList found;
};

TEST_F(SearchEngineTest, CriteriaGiveTheHitsInExaminationOrder)
{
    const QString p1 = PageId(1), p2 = PageId(2), p3 = PageId(3), p4 = PageId(4), p5 = PageId(5),
                  p8 = PageId(8), f1 = FldrId(1), f2 = FldrId(2);
    const CritCase cases[] = {
        {"content, referrer too", [](auto& c) { c.SText1 = u"Reise"_qs; }, {p1, p8}},
        {"folder name", [](auto& c) { c.SText1 = u"archiv"_qs; }, {f2}},
        {"folder keywords", [](auto& c) { c.SText1 = u"kaffee"_qs; }, {f1, p1, p8}},
        {"only folder names",
         [](auto& c) {
             c.SText1 = u"kaffee"_qs;
             c.PageN = c.PageC = c.PageK = c.FldrK = false;
         },
         {}},
        {"page keywords only, referrer has its target's",
         [](auto& c) {
             c.SText1 = u"Kaffee"_qs;
             c.PageN = c.PageC = c.FldrN = c.FldrK = false;
         },
         {p1, p8}},
        {"name and keywords are matched apart",
         [](auto& c) {
             c.SText1 = u"bericht Kaffee"_qs;
             c.PageC = false;
         },
         {}},
        {"substring of a word", [](auto& c) { c.SText1 = u"note"_qs; }, {p2}},
        {"whole word refuses notes",
         [](auto& c) {
             c.SText1 = u"note"_qs;
             c.WhWord1 = true;
         },
         {}},
        {"whole word finds notes",
         [](auto& c) {
             c.SText1 = u"notes"_qs;
             c.WhWord1 = true;
         },
         {p2}},
        {"umlauts fold without match case", [](auto& c) { c.SText1 = u"ärger"_qs; }, {p4}},
        {"umlauts with match case",
         [](auto& c) {
             c.SText1 = u"ärger"_qs;
             c.MtCase1 = true;
         },
         {}},
        {"umlaut whole word",
         [](auto& c) {
             c.SText1 = u"straße"_qs;
             c.WhWord1 = true;
         },
         {p4}},
        {"word split by formatting", [](auto& c) { c.SText1 = u"Projektplan"_qs; }, {p3}},
        {"and",
         [](auto& c) {
             c.SText1 = u"notes"_qs;
             c.SText2 = u"more"_qs;
         },
         {p2}},
        {"and, second missing",
         [](auto& c) {
             c.SText1 = u"notes"_qs;
             c.SText2 = u"Reise"_qs;
         },
         {}},
        {"or",
         [](auto& c) {
             c.SText1 = u"notes"_qs;
             c.SText2 = u"Reise"_qs;
             c.Cond = KvSearchCrit::Or;
         },
         {p1, p2, p8}},
        {"and not",
         [](auto& c) {
             c.SText1 = u"Plan"_qs;
             c.SText2 = u"alle"_qs;
             c.Cond = KvSearchCrit::AndNot;
         },
         {f1}},
        {"and not, both in one page",
         [](auto& c) {
             c.SText1 = u"notes"_qs;
             c.SText2 = u"more"_qs;
             c.Cond = KvSearchCrit::AndNot;
         },
         {}},
        {"second term with its own options",
         [](auto& c) {
             c.SText1 = u"notes"_qs;
             c.SText2 = u"NOTES"_qs;
             c.MtCase2 = true;
             c.Cond = KvSearchCrit::AndNot;
         },
         {p2}},
        {"status only, folders and pages",
         [](auto& c) {
             c.StatusSearch = true;
             c.SStatus = 2;
         },
         {f1}},
        {"status of a page",
         [](auto& c) {
             c.StatusSearch = true;
             c.SStatus = 3;
         },
         {p4}},
        {"status and term",
         [](auto& c) {
             c.SText1 = u"Liste"_qs;
             c.StatusSearch = true;
             c.SStatus = 2;
         },
         {}},
        {"no subfolders: their names, not their pages",
         [](auto& c) {
             c.SText1 = u"r"_qs;
             c.SubFldr = false;
             c.PageC = c.PageK = c.FldrK = false;
         },
         {u"TopFolder"_qs, f1, PageId(6), p8}},
        {"protected content without its box",
         [](auto& c) {
             c.SText1 = u"Tresor"_qs;
             c.PageCPw = false;
         },
         {PageId(6)}},
        {"class 0 content without asking", [](auto& c) { c.SText1 = u"Klasse null"_qs; }, {p5}},
        {"search folder itself first", [](auto& c) { c.SText1 = u"Ordner"_qs; }, {u"TopFolder"_qs}},
    };
    for (const CritCase& c : cases) {
        KvSearchCrit crit;
        c.set(crit);
        EXPECT_EQ(Found(crit), c.found) << c.name;
    }
}

TEST_F(SearchEngineTest, ReportsEveryPageButOnlyFoldersThatAreExamined)
{
    const std::unique_ptr<Run> run = Search(Crit(u"Plan"_qs), projekte);
    EXPECT_EQ(run->c.startCount, 5);
    EXPECT_EQ(run->c.Reported(),
              (QStringList{FldrId(1), PageId(1), FldrId(2), PageId(2), PageId(3)}));
    EXPECT_EQ(run->c.Found(), (QStringList{FldrId(1), PageId(3)}));

    KvSearchCrit pagesOnly = Crit(u"Plan"_qs);
    pagesOnly.FldrN = pagesOnly.FldrK = false;
    const std::unique_ptr<Run> pages = Search(pagesOnly, projekte);
    EXPECT_EQ(pages->c.startCount, 5);
    EXPECT_EQ(pages->c.Reported(), (QStringList{PageId(1), PageId(2), PageId(3)}));
}

TEST_F(SearchEngineTest, TrashIsSearchedWhenChosen)
{
    EXPECT_EQ(Found(Crit(u"Papierkorb"_qs)), QStringList());
    EXPECT_EQ(Found(Crit(u"Papierkorb"_qs), trash.get()),
              (QStringList{u"TrashFolder"_qs, PageId(9)}));
}

TEST_F(SearchEngineTest, RefiningExaminesOnlyListedElements)
{
    const QStringList listed = {PageId(3), FldrId(2), PageId(2)};
    const std::unique_ptr<Run> run = Search(Crit(u"a"_qs), nullptr, listed);
    // Folders outside the list are not reported, pages outside it are reported as not
    // found.
    EXPECT_EQ(run->c.Found(), (QStringList{FldrId(2), PageId(2), PageId(3)}));
    EXPECT_FALSE(run->c.Reported().contains(FldrId(1)));
    EXPECT_TRUE(run->c.Reported().contains(PageId(1)));

    // Refining an empty list finds nothing.
    EXPECT_EQ(Found(Crit(u"a"_qs), nullptr, QStringList()), QStringList());
}

TEST_F(SearchEngineTest, DateFilterByWholeDays)
{
    const QDate day(2026, 3, 14);
    SetModified(liste->ContentFilePath(), QDateTime(day, QTime(23, 59, 59)));
    const QString notizen = dynamic_cast<KvPage*>(FindObject(PageId(2)))->ContentFilePath();
    SetModified(notizen, QDateTime(day.addDays(1), QTime(0, 0)));
    // A page never saved has no file: it counts as changed on day 0.
    NewPage(PageId(10), top.get(), u"Leer"_qs);
    struct DateCase
    {
        const char* name;
        quint8 cond;
        double day;
        bool liste;
        bool notizen;
        bool leer;
    };
    const DateCase cases[] = {
        {"on the day at 23:59", KvSearchCrit::On, Day(day) + 0.75, true, false, false},
        {"on the next day at 00:00", KvSearchCrit::On, Day(day.addDays(1)), false, true, false},
        {"before the next day", KvSearchCrit::Before, Day(day.addDays(1)), true, false, true},
        {"after the day", KvSearchCrit::After, Day(day), false, true, false},
        {"unknown link lets all through", 7, Day(day), true, true, true},
        {"on day 0", KvSearchCrit::On, 0, false, false, true},
    };
    for (const DateCase& c : cases) {
        KvSearchCrit crit;
        crit.DateSearch = true;
        crit.DSCond = c.cond;
        crit.SDate = c.day;
        const QStringList found = Found(crit);
        EXPECT_EQ(found.contains(PageId(4)), c.liste) << c.name;
        EXPECT_EQ(found.contains(PageId(2)), c.notizen) << c.name;
        EXPECT_EQ(found.contains(PageId(10)), c.leer) << c.name;
        for (const QString& id : found)
            EXPECT_TRUE(id.startsWith(u"Page"_qs)) << c.name << ": never a folder";
    }
}

TEST_F(SearchEngineTest, DerivedKeyPageAsksOnlyWhenItsContentIsNeeded)
{
    // Found by its name: no question (page 5 has the word in its content).
    EXPECT_EQ(Found(Crit(u"Tresor"_qs)), (QStringList{PageId(5), PageId(6)}));
    EXPECT_TRUE(asker.asked.isEmpty());

    // Its content needed, the question cancelled: no hit, nothing unlocked.
    const std::unique_ptr<Run> cancelled = Search(Crit(u"Klasse eins"_qs));
    EXPECT_EQ(cancelled->c.Found(), QStringList());
    EXPECT_EQ(asker.asked, QStringList{PageId(6)});
    // Skipped: this page and the corrupt one, the only one that is a problem.
    EXPECT_EQ(cancelled->stats.skipped, 2);
    ASSERT_EQ(cancelled->problems.size(), 1);
    EXPECT_EQ(cancelled->problems[0].id, PageId(7));
    EXPECT_FALSE(tresor->IsUnlocked());

    // A wrong password is not taken.
    asker.answer = u"falsch"_qs;
    EXPECT_EQ(Found(Crit(u"Klasse eins"_qs)), QStringList());
    EXPECT_FALSE(tresor->IsUnlocked());
    EXPECT_TRUE(KvPasswordList::Entries().isEmpty());

    // The right one: found; asked at every load, the page is locked again afterwards and
    // the password is in the list of the run.
    asker.answer = kPw1;
    EXPECT_EQ(Found(Crit(u"Klasse eins"_qs)), QStringList{PageId(6)});
    EXPECT_FALSE(tresor->IsUnlocked());
    EXPECT_FALSE(tresor->IsLoaded());
    EXPECT_EQ(KvPasswordList::Entries(), QStringList{kPw1});
}

// The terms are tested in the link's order with its short cuts; the password question,
// asked only when a content is tested, shows which tests ran.
TEST_F(SearchEngineTest, LinksTestTermsInTheirOrder)
{
    struct OrderCase
    {
        const char* name;
        QString first;
        QString second;
        quint8 cond;
        bool found;
        bool asked;
    };
    const OrderCase cases[] = {
        {"and not: second first, found by name: first never tested", u"Kennwort"_qs, u"Tresor"_qs,
         KvSearchCrit::AndNot, false, false},
        {"and not: second needs the content", u"Tresor"_qs, u"Kennwort"_qs, KvSearchCrit::AndNot,
         false, true},
        {"or: first found by name, second not tested", u"Tresor"_qs, u"Kennwort"_qs,
         KvSearchCrit::Or, true, false},
        {"or: first needs the content", u"Kennwort"_qs, u"Tresor"_qs, KvSearchCrit::Or, true, true},
        {"and: first fails in the content, second not tested", u"nirgends"_qs, u"Tresor"_qs,
         KvSearchCrit::And, false, true},
        {"and: both by name", u"Tres"_qs, u"sor"_qs, KvSearchCrit::And, true, false},
    };
    asker.answer = kPw1;
    for (const OrderCase& c : cases) {
        asker.asked.clear();
        KvSearchCrit crit = Crit(c.first);
        crit.SText2 = c.second;
        crit.Cond = c.cond;
        EXPECT_EQ(Found(crit, nullptr, QStringList{PageId(6)}).contains(PageId(6)), c.found)
            << c.name;
        EXPECT_EQ(!asker.asked.isEmpty(), c.asked) << c.name;
    }
}

TEST(SearchCriteria, TermsToMarkLeaveOutWhatMustNotBeThere)
{
    KvSearchCrit c;
    c.SText1 = u"eins"_qs;
    c.WhWord1 = true;
    c.SText2 = u"zwei"_qs;
    c.MtCase2 = true;
    for (quint8 cond : {KvSearchCrit::And, KvSearchCrit::Or}) {
        c.Cond = cond;
        EXPECT_EQ(c.TermsToMark(),
                  (QList<KvSearchArg>{{u"eins"_qs, true, false}, {u"zwei"_qs, false, true}}));
    }
    c.Cond = KvSearchCrit::AndNot;
    EXPECT_EQ(c.TermsToMark(), (QList<KvSearchArg>{{u"eins"_qs, true, false}}));
    c.SText1.clear();
    c.SText2.clear();
    EXPECT_TRUE(c.TermsToMark().isEmpty());
}

TEST_F(SearchEngineTest, PageThatAsksOnceStaysUnlockedAndIsNotAskedAgain)
{
    tresor->SetPasswordAskMode(KvPagePassword::AskFirstLoad);
    asker.answer = kPw1;
    EXPECT_EQ(Found(Crit(u"Klasse eins"_qs)), QStringList{PageId(6)});
    EXPECT_TRUE(tresor->IsUnlocked());
    EXPECT_FALSE(tresor->IsLoaded());
    asker.answer.clear();
    EXPECT_EQ(Found(Crit(u"Klasse eins"_qs)), QStringList{PageId(6)});
    EXPECT_EQ(asker.asked.size(), 1);
}

TEST_F(SearchEngineTest, PasswordListAnswersBeforeTheUser)
{
    tresor->SetUsePasswordList(true);
    KvPasswordList::Add(kPw1);
    EXPECT_EQ(Found(Crit(u"Klasse eins"_qs)), QStringList{PageId(6)});
    EXPECT_TRUE(asker.asked.isEmpty());
    EXPECT_FALSE(tresor->IsUnlocked());
}

TEST_F(SearchEngineTest, FixedKeyPageStaysAsItWas)
{
    EXPECT_FALSE(geheim->IsUnlocked());
    const std::unique_ptr<Run> run =
        Search(Crit(u"Klasse null"_qs), nullptr, QStringList{PageId(5)});
    EXPECT_EQ(run->c.Found(), QStringList{PageId(5)});
    EXPECT_FALSE(geheim->IsUnlocked());
    EXPECT_FALSE(geheim->IsLoaded());
    EXPECT_TRUE(KvPasswordList::Entries().isEmpty());
    EXPECT_TRUE(asker.asked.isEmpty()) << asker.asked.join(u' ').toStdString();
}

TEST_F(SearchEngineTest, CorruptPageDoesNotEndTheSearch)
{
    KvSearchCrit crit = Crit(u"Inhalt"_qs);
    crit.Cond = KvSearchCrit::Or;
    crit.SText2 = u"Alt"_qs;
    const std::unique_ptr<Run> run = Search(crit);
    EXPECT_EQ(run->c.Found(), QStringList{PageId(5)});
    // Every page after the corrupt one was still examined.
    EXPECT_TRUE(run->c.Reported().contains(PageId(8)));
    ASSERT_EQ(run->problems.size(), 1);
    EXPECT_EQ(run->problems[0].id, PageId(7));
    EXPECT_EQ(run->problems[0].kind, KvSearchProblem::Corrupt);
    EXPECT_EQ(run->problems[0].path, Dir() + PageId(7) + u".kvp"_qs);
    EXPECT_EQ(run->stats.skipped, 2); // the corrupt page and the locked one (no answer)
}

TEST_F(SearchEngineTest, UnreadableFileIsAProblemNotAnEnd)
{
    // A directory where the file should be: it opens, but cannot be read (also as root).
    const QString path = Dir() + PageId(2) + u".kvp"_qs;
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path));
    KvSearchCrit crit = Crit(u"Plan"_qs);
    crit.FldrN = crit.FldrK = crit.PageN = false;
    const std::unique_ptr<Run> run = Search(crit, projekte);
    EXPECT_EQ(run->c.Found(), QStringList{PageId(3)});
    ASSERT_EQ(run->problems.size(), 1);
    EXPECT_EQ(run->problems[0].id, PageId(2));
    EXPECT_EQ(run->problems[0].kind, KvSearchProblem::Unreadable);
    EXPECT_EQ(run->problems[0].path, path);
    EXPECT_EQ(run->problems[0].error, EISDIR);
}

TEST_F(SearchEngineTest, UnreadableKeywordsAreAProblemNotAnEnd)
{
    const QString member = Dir() + u"keywords.099"_qs;
    ASSERT_TRUE(MakeSocketFile(member));
    const std::unique_ptr<Run> run = Search(Crit(u"Plan"_qs), projekte);
    // Names and contents are still searched; the folder's keyword "Plan" is not seen.
    EXPECT_EQ(run->c.Found(), QStringList{PageId(3)});
    ASSERT_EQ(run->problems.size(), 1);
    const KvSearchProblem& p = run->problems[0];
    EXPECT_EQ(p.kind, KvSearchProblem::KeywordsNotRead);
    EXPECT_TRUE(p.id.isEmpty());
    EXPECT_EQ(p.detail, KvTexts::Message(5637, {member}));
}

// The user's words for each problem come from the text table, with the system's reason.
TEST(SearchProblem, TextsComeFromTheTable)
{
    const QString path = u"/daten/Page0000001.kvp"_qs;
    struct TextCase
    {
        KvSearchProblem problem;
        QString text;
    };
    const TextCase cases[] = {
        {{KvSearchProblem::Unreadable, u"Page0000001"_qs, path, EACCES, {}},
         u"Die Datei '/daten/Page0000001.kvp' kann nicht gelesen werden: "_qs +
             QString::fromLocal8Bit(std::strerror(EACCES))},
        {{KvSearchProblem::Corrupt, u"Page0000001"_qs, path, 0, {}},
         u"Der verschl\u00FCsselte Inhalt der Datei '/daten/Page0000001.kvp' ist "
         u"besch\u00E4digt."_qs},
        {{KvSearchProblem::NotDecrypted, u"Page0000001"_qs, path, 0, {}},
         u"Die Datei '/daten/Page0000001.kvp' kann nicht entschl\u00FCsselt werden."_qs},
        {{KvSearchProblem::KeywordsNotRead, {}, {}, 0, u"Grund"_qs},
         u"Die Stichw\u00F6rter konnten nicht durchsucht werden: Grund"_qs},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.problem.Text(), c.text);
}

TEST_F(SearchEngineTest, PageFoundByItsNameIsNotRead)
{
    // Page 7's file is corrupt: reading it would be reported.
    const std::unique_ptr<Run> run = Search(Crit(u"Kaputt"_qs));
    EXPECT_EQ(run->c.Found(), QStringList{PageId(7)});
    EXPECT_TRUE(run->problems.isEmpty());

    KvSearchCrit named = Crit(u"Reisebericht"_qs);
    named.FldrN = named.FldrK = false;
    const std::unique_ptr<Run> byName = Search(named, projekte);
    EXPECT_EQ(byName->c.Found(), QStringList{PageId(1)});
    // Pages 2 and 3 were read, page 1 was not.
    EXPECT_EQ(byName->stats.texts, 2);
}

// Pages far longer than the interval at which extraction looks at the text so far: a word
// cut at such a look is neither found whole nor missed.
TEST_F(SearchEngineTest, LongPagesAreMatchedAcrossLooksAtTheText)
{
    QByteArray rtf = "{\\rtf1\\ansi ";
    for (int i = 0; i < 3000; ++i)
        rtf += "{\\b note}{\\i s} Bau{\\b plan} ";
    rtf += "Zielwort\\par}";
    WriteAll(liste->ContentFilePath(), rtf);
    struct LongCase
    {
        const char* name;
        QString first;
        bool whole1;
        QString second;
        quint8 cond;
        bool found;
    };
    const LongCase cases[] = {
        {"word at the very end", u"Zielwort"_qs, true, {}, 0, true},
        {"cut word is not whole", u"Zielwor"_qs, true, {}, 0, false},
        {"never whole though everywhere a part", u"note"_qs, true, {}, 0, false},
        {"part of a word", u"note"_qs, false, {}, 0, true},
        {"whole word split by formatting", u"notes"_qs, true, {}, 0, true},
        {"and, second at the end", u"notes"_qs, true, u"zielwort"_qs, KvSearchCrit::And, true},
        {"and not, second at the end", u"notes"_qs, true, u"zielwort"_qs, KvSearchCrit::AndNot,
         false},
        {"and not, second nowhere", u"Bauplan"_qs, true, u"Bauplane"_qs, KvSearchCrit::AndNot,
         true},
        {"or, neither", u"Bauplane"_qs, true, u"Ziel"_qs, KvSearchCrit::Or, false},
    };
    for (const LongCase& c : cases) {
        KvSearchCrit crit = Crit(c.first);
        crit.WhWord1 = c.whole1;
        crit.SText2 = c.second;
        crit.WhWord2 = true;
        crit.Cond = c.cond;
        crit.PageN = crit.PageK = false;
        EXPECT_EQ(Found(crit, nullptr, QStringList{PageId(4)}).contains(PageId(4)), c.found)
            << c.name;
    }

    // A look at the text right after "Tref": the word continues in the next group.
    const QByteArray head = "{\\rtf1\\ansi ";
    const QByteArray tail = "{\\b Tref}{\\i fer} Ende\\par}";
    const qsizetype fill = KvSearchExaminer::CheckInterval - head.size() - 1 - 4 - 4;
    WriteAll(liste->ContentFilePath(), head + QByteArray(fill, 'y') + ' ' + tail);
    KvSearchCrit cut = Crit(u"Treffer"_qs);
    cut.WhWord1 = true;
    EXPECT_EQ(Found(cut, nullptr, QStringList{PageId(4)}), QStringList{PageId(4)});
}

TEST_F(SearchEngineTest, LoadedPageIsSearchedWithItsUnsavedText)
{
    liste->Load(false, false);
    liste->GetEditor()->LoadPlainText(u"frisch getippt"_qs);
    liste->GetEditor()->SetModified(true);
    EXPECT_EQ(Found(Crit(u"getippt"_qs)), QStringList{PageId(4)});
    EXPECT_EQ(Found(Crit(u"Stra\u00DFe"_qs)), QStringList());
    EXPECT_TRUE(liste->IsLoaded());
    EXPECT_TRUE(liste->GetEditor()->IsModified());
}

TEST_F(SearchEngineTest, StatsCountWhatWasDone)
{
    KvSearchCrit crit = Crit(u"nirgends"_qs);
    crit.PageCPw = false;
    const std::unique_ptr<Run> run = Search(crit);
    EXPECT_EQ(run->stats.elements, 11);
    EXPECT_EQ(run->stats.hits, 0);
    // Pages 1, 2, 3, 4 and the referrer 8; the protected ones are not read.
    EXPECT_EQ(run->stats.texts, 5);
    qint64 bytes = 0;
    for (int n : {1, 2, 3, 4, 1})
        bytes += QFileInfo(Dir() + PageId(n) + u".kvp"_qs).size();
    EXPECT_EQ(run->stats.bytes, bytes);
}

TEST_F(SearchEngineTest, KeptTextServesOnlyTheSameFile)
{
    KvSearchCrit crit = Crit(u"Bericht"_qs);
    crit.PageN = false;
    EXPECT_EQ(Found(crit), (QStringList{PageId(1), PageId(8)}));
    EXPECT_GT(KvSearchTextCache::Bytes(), 0);
    const QString path = Dir() + PageId(1) + u".kvp"_qs;
    // Kept: the text of a plain page, never that of a protected one.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QDateTime when = file.fileTime(QFileDevice::FileModificationTime);
    file.close();
    EXPECT_EQ(Found(crit), (QStringList{PageId(1), PageId(8)}));

    // A new text in the file: found as it is now.
    WriteAll(path, "{\\rtf1\\ansi Ganz neuer Inhalt\\par}");
    SetModified(path, when.addSecs(5));
    EXPECT_EQ(Found(crit), QStringList());
    EXPECT_EQ(Found(Crit(u"neuer Inhalt"_qs)), (QStringList{PageId(1), PageId(8)}));
    const qsizetype kept = KvSearchTextCache::Bytes();
    EXPECT_EQ(Found(Crit(u"Klasse null"_qs), nullptr, QStringList{PageId(5)}),
              QStringList{PageId(5)});
    EXPECT_EQ(KvSearchTextCache::Bytes(), kept);
}

// The key under which the search keeps the text of a plain page's file as it is now.
KvSearchTextCache::Key KeyOf(const QString& path)
{
    struct stat st
    {
    };
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    return {path, qint64(st.st_size),
            qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

// A kept text goes, overwritten, as soon as it may no longer be used: its file changed,
// another directory opened, the page got a password (before the next Store writes its
// file encrypted).
TEST_F(SearchEngineTest, KeptTextGoesOverwrittenWhenItMayNoLongerServe)
{
    struct GoneCase
    {
        const char* name;
        std::function<void(const QString& path)> step;
    };
    const GoneCase cases[] = {
        {"file changed",
         [](const QString& path) {
             WriteAll(path, "{\\rtf1\\ansi anders\\par}");
             EXPECT_EQ(KvSearchTextCache::Find(KeyOf(path)), nullptr);
         }},
        {"directory changed", [](const QString&) { KvSearchTextCache::Clear(); }},
        {"password set", [this](const QString&) { liste->SetPassword(u"neu"_qs, false); }},
    };
    KvSearchCrit crit = Crit(u"nirgends"_qs);
    crit.PageN = crit.PageK = false;
    const QString path = liste->ContentFilePath();
    for (const GoneCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Found(crit, nullptr, QStringList{PageId(4)}), QStringList());
        const KvSearchTextCache::Key key = KeyOf(path);
        KvSearchTextCache::Text kept = KvSearchTextCache::Find(key);
        ASSERT_NE(kept, nullptr);
        const QString text = KvWipe::Unshared(*kept);
        const qsizetype bytes = text.size() * qsizetype(sizeof(QChar));
        const qsizetype before = KvSearchTextCache::Bytes();
        const qint64 wiped = KvWipe::BytesWiped();
        c.step(path);
        EXPECT_EQ(KvSearchTextCache::Find(key), nullptr);
        EXPECT_EQ(KvSearchTextCache::Bytes(), before - bytes);
        // A reader still holding it reads it unchanged; the last one lets it go overwritten.
        EXPECT_EQ(*kept, text);
        EXPECT_EQ(KvWipe::BytesWiped(), wiped);
        kept.reset();
        EXPECT_GE(KvWipe::BytesWiped() - wiped, bytes);
    }
    EXPECT_FALSE(liste->IsLoaded());
}

// Whether the first length units of a buffer that still has them are zero. A buffer with
// less room was let go, not overwritten: another copy still holds the secret.
template <typename Unit> bool Overwritten(const Unit* data, qsizetype capacity, qsizetype length)
{
    if (capacity < length)
        return false;
    return std::all_of(data, data + length, [](Unit u) { return u == Unit(0); });
}

// Every buffer of the search's snapshot that holds a page's plain text or a password is
// overwritten when its element is done, also when the search stops or goes first.
TEST_F(SearchEngineTest, SnapshotTextAndPasswordsAreOverwrittenWhenDone)
{
    // A class 1 page loaded with its password: its document's text and the password.
    asker.answer = kPw1;
    tresor->Load(false, false);
    // A fixed-key page that gets a new password: its content is kept, plain, for the new key.
    asker.answer = kPw0;
    geheim->SetPassword(u"anders"_qs, false);
    ASSERT_TRUE(geheim->PendingContent());
    // A locked class 1 page: the search asks, the answer is the slot's.
    Protected(10, u"Safe"_qs, u"Safe Inhalt"_qs, 1, u"safepw"_qs, 0);
    KvPasswordList::Clear();
    asker.answer = u"safepw"_qs;

    struct Secret
    {
        qsizetype text = 0; // of the loaded document
        qsizetype rtf = 0;  // kept for the new key
        qsizetype password = 0;
        qsizetype answer = 0;
    };
    std::map<QString, Secret> secrets = {
        {PageId(6), {u"Kennwort Inhalt Klasse eins"_qs.size(), 0, kPw1.size(), 0}},
        {PageId(5), {0, geheim->PendingContent()->size(), 6, 0}},
        {PageId(7), {0, 0, kPw0.size(), 0}},
        {PageId(10), {0, 0, 6, 6}},
    };
    struct Seen
    {
        int times = 0;
        bool overwritten = true;
        bool answered = false;
    };
    std::mutex mutex;
    std::map<QString, Seen> seen;
    KvSearchThread::SetWipeProbe([&](const KvSearchElement& e, const KvSearchPassword* answer) {
        const auto it = secrets.find(e.id);
        if (it == secrets.end())
            return;
        const Secret& want = it->second;
        bool ok = e.password.has_value();
        if (want.text)
            ok = ok && e.loadedText &&
                 Overwritten(e.loadedText->constData(), e.loadedText->capacity(), want.text);
        if (want.rtf)
            ok = ok && e.pendingRtf &&
                 Overwritten(e.pendingRtf->constData(), e.pendingRtf->capacity(), want.rtf);
        if (e.password) {
            const QString& pw = e.password->Password();
            ok = ok && Overwritten(pw.constData(), pw.capacity(), want.password);
        }
        if (answer)
            ok = ok && Overwritten(answer->password.constData(), answer->password.capacity(),
                                   want.answer);
        const std::lock_guard lock(mutex);
        Seen& s = seen[e.id];
        ++s.times;
        s.overwritten = s.overwritten && ok;
        s.answered = s.answered || answer;
    });
    struct EndCase
    {
        const char* name;
        std::function<void(KvSearchThread&)> run;
        bool asked;
    };
    const EndCase ends[] = {
        {"to the end", [](KvSearchThread& s) { s.Wait(); }, true},
        {"stopped at once",
         [](KvSearchThread& s) {
             s.Start();
             s.Stop();
             s.Wait();
         },
         false},
        {"gone while running", [](KvSearchThread& s) { s.Start(); }, false},
    };
    for (const EndCase& c : ends) {
        SCOPED_TRACE(c.name);
        seen.clear();
        Collector collector;
        {
            KvSearchThread search(collector, std::nullopt, *top, Crit(u"nirgends"_qs));
            c.run(search);
        }
        for (const auto& [id, secret] : secrets) {
            SCOPED_TRACE(id.toStdString());
            EXPECT_EQ(seen[id].times, 1);
            EXPECT_TRUE(seen[id].overwritten);
        }
        if (c.asked) {
            EXPECT_TRUE(seen[PageId(10)].answered);
        }
    }
    KvSearchThread::SetWipeProbe({});
    // The page's own password data are not the snapshot's: they stay.
    EXPECT_EQ(geheim->Password().Password(), u"anders"_qs);
    EXPECT_EQ(tresor->Password().Password(), kPw1);
    EXPECT_TRUE(tresor->GetEditor()->Document()->toPlainText().contains(u"Klasse eins"_qs));
    EXPECT_EQ(KvPasswordList::Entries(), QStringList{u"safepw"_qs});
}

TEST_F(SearchEngineTest, StopEndsTheReportsAndTheEndHandlerRunsOnce)
{
    Collector c;
    KvSearchThread search(c, std::nullopt, *top, Crit(u"e"_qs));
    c.onReport = [&] { search.Stop(); };
    search.Wait();
    EXPECT_EQ(c.reports.size(), 1);
    EXPECT_EQ(c.ends, 1);
    EXPECT_FALSE(search.IsRunning());
    EXPECT_FALSE(KvSearchThread::AnyRunning());
}

TEST_F(SearchEngineTest, ReportsArriveThroughTheEventLoop)
{
    Collector c;
    KvSearchThread search(c, std::nullopt, *top, Crit(u"Plan"_qs));
    search.Start();
    EXPECT_TRUE(search.IsRunning());
    EXPECT_TRUE(KvSearchThread::AnyRunning());
    // The starting thread's event loop delivers: nothing before it runs.
    EXPECT_EQ(c.starts, 0);
    QTRY_COMPARE(c.ends, 1);
    EXPECT_EQ(c.Found(), (QStringList{FldrId(1), PageId(3)}));
    EXPECT_GE(c.batches, 1);
    EXPECT_FALSE(KvSearchThread::AnyRunning());
}

TEST_F(SearchEngineTest, FoundElementRemovedMeanwhileIsStillReported)
{
    // The search sees the notebook as it was at the start; the list drops gone ids.
    Collector c;
    KvSearchThread search(c, std::nullopt, *top, Crit(u"Liste"_qs));
    search.Start();
    liste->Remove();
    search.Wait();
    EXPECT_EQ(c.Found(), QStringList{PageId(4)});
}

} // namespace
