// The keyword index: splitting and cleaning keyword texts, normalized entries in code point
// order with the first spelling, referrers, adding a keyword, the dialog's element rows
// and positioning by typing.
#include "lists/kvkeywordpositioning.h"
#include "lists/kvkeywords.h"
#include "model/modelfixture.h"

using namespace korvtest;

namespace {

struct SplitCase
{
    const char* name;
    QString text;
    QStringList keywords;
};

TEST(KeywordSplit, CleansAndSplitsByTheRules)
{
    const SplitCase cases[] = {
        {"semicolon and comma",
         u"Äpfel; Apfelbaum,apfel"_qs,
         {u"Äpfel"_qs, u"Apfelbaum"_qs, u"apfel"_qs}},
        {"earlier separator first", u"a,b;c"_qs, {u"a"_qs, u"b"_qs, u"c"_qs}},
        {"trailing separator makes no empty keyword", u"Plan;"_qs, {u"Plan"_qs}},
        {"empty pieces dropped", u";;, ;Plan"_qs, {u"Plan"_qs}},
        {"one blank each side", u" x "_qs, {u"x"_qs}},
        {"two trailing blanks keep one", u"x  "_qs, {u"x "_qs}},
        {"all leading blanks go", u"   x"_qs, {u"x"_qs}},
        {"double quote shows as blank", u"Das \"Buch\""_qs, {u"Das  Buch"_qs}},
        {"quote at the start becomes a removed blank", u"\"Zitat"_qs, {u"Zitat"_qs}},
        {"inner blanks stay", u"Neue Idee"_qs, {u"Neue Idee"_qs}},
        {"empty text", QString(), {}},
    };
    for (const SplitCase& c : cases)
        EXPECT_EQ(KvKeywords::Split(c.text), c.keywords) << c.name;
}

TEST(KeywordNormalize, UpperCaseAndGermanLetters)
{
    EXPECT_EQ(KvKeywords::Normalize(u"Äpfel"_qs), u"AEPFEL"_qs);
    EXPECT_EQ(KvKeywords::Normalize(u"äpfel"_qs), u"AEPFEL"_qs);
    EXPECT_EQ(KvKeywords::Normalize(u"Größe"_qs), u"GROESSE"_qs);
    EXPECT_EQ(KvKeywords::Normalize(u"übel"_qs), u"UEBEL"_qs);
    EXPECT_EQ(KvKeywords::Normalize(u"Café"_qs), u"CAFÉ"_qs);
}

TEST(KeywordSelection, LineAndParagraphBreaksBecomeBlanks)
{
    EXPECT_EQ(KvKeywords::FromSelection(u"eins\nzwei\u2029drei\u2028vier\r\nfünf"_qs),
              u"eins zwei drei vier  fünf"_qs);
}

class KeywordIndexTest : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        folder = NewFolder(FldrId(1), top.get(), u"Obst"_qs);
        p1 = NewPage(PageId(1), folder, u"Garten"_qs);
        p3 = NewPage(PageId(3), folder, u"Markt"_qs);
        p1->Store();
        // Page 2 and 4 stand for page 1.
        for (int n : {2, 4}) {
            Obj().WriteString(PageId(n), u"Ref2"_qs, PageId(1));
            new KvPage(PageId(n), top.get(), true);
        }
        SetKeywords(PageId(1), u"Äpfel; Apfelbaum,apfel"_qs);
        SetKeywords(PageId(3), u"äpfel;Birne;"_qs);
        SetKeywords(FldrId(1), u"Obst"_qs);
        SetKeywords(u"Page0000099"_qs, u"verwaist"_qs); // no such element
    }

    void SetKeywords(const QString& id, const QString& text)
    {
        Kwd().WriteString(id, u"Kwds"_qs, text);
        Kwd().UpdateFile();
    }

    // entry display text -> element ids
    static QList<std::pair<QString, QStringList>> Entries(const KvKeywords::KeywordIndex& index)
    {
        QList<std::pair<QString, QStringList>> out;
        for (const auto& [norm, entry] : index)
            out.append({entry.displayText, entry.objects});
        return out;
    }

    KvFolder* folder = nullptr;
    KvPage* p1 = nullptr;
    KvPage* p3 = nullptr;
};

TEST_F(KeywordIndexTest, EntriesInNormalizedOrderWithTheFirstSpelling)
{
    KvKeywords kw;
    const QList<std::pair<QString, QStringList>> expected = {
        {u"Äpfel"_qs, {PageId(1), PageId(3)}},
        {u"apfel"_qs, {PageId(1)}},
        {u"Apfelbaum"_qs, {PageId(1)}},
        {u"Birne"_qs, {PageId(3)}},
        {u"Obst"_qs, {FldrId(1)}},
    };
    EXPECT_EQ(Entries(kw.Index(false)), expected);
    // Built once: later changes of the store are not seen by this object.
    SetKeywords(PageId(3), u"Zitrone"_qs);
    EXPECT_EQ(Entries(kw.Index(false)), expected);
}

TEST_F(KeywordIndexTest, ObjectKeywordsKeepUnknownIdsAndMapReferrersWhenAsked)
{
    KvKeywords without;
    const KvKeywords::ObjectKeywordMap& map = without.ObjectKeywords(false);
    EXPECT_EQ(map.size(), 4u);
    EXPECT_EQ(map.at(u"Page0000099"_qs), u"verwaist"_qs);
    EXPECT_FALSE(map.contains(PageId(2)));

    KvKeywords with;
    const KvKeywords::ObjectKeywordMap& all = with.ObjectKeywords(true);
    EXPECT_EQ(all.at(PageId(2)), u"Äpfel; Apfelbaum,apfel"_qs);
    EXPECT_EQ(all.at(PageId(4)), u"Äpfel; Apfelbaum,apfel"_qs);
    // The orphan contributes nothing to the index.
    KvKeywords idx;
    for (const auto& [norm, entry] : idx.Index(true))
        EXPECT_NE(entry.displayText, u"verwaist"_qs);
}

TEST_F(KeywordIndexTest, ReferrersListedAtTheirOwnIdsOnlyWhenShown)
{
    KvKeywords hidden;
    EXPECT_EQ(hidden.Index(false).at(u"APFELBAUM"_qs).objects, QStringList{PageId(1)});
    KvKeywords shown;
    EXPECT_EQ(shown.Index(true).at(u"AEPFEL"_qs).objects,
              (QStringList{PageId(1), PageId(2), PageId(3), PageId(4)}));
}

TEST_F(KeywordIndexTest, DialogRowsFollowTheReferrerRule)
{
    const QStringList ids = {PageId(3), PageId(1), PageId(4)};
    EXPECT_EQ(KvKeywords::ElementRows(ids, true), (QStringList{PageId(3), PageId(1)}));
    // Page 2 follows its target; page 4 is listed already.
    EXPECT_EQ(KvKeywords::ElementRows(ids, false),
              (QStringList{PageId(3), PageId(1), PageId(2), PageId(4)}));
}

TEST_F(KeywordIndexTest, AddedKeywordListsTheTargetAndItsReferrersOnce)
{
    KvKeywords kw;
    kw.Index(false);
    auto* referrer = dynamic_cast<KvPage*>(FindObject(PageId(2)));
    ASSERT_NE(referrer, nullptr);
    // A new keyword through a referrer: its target, then the referrers.
    EXPECT_EQ(kw.KeywordAdded(u"Kirsche"_qs, *referrer, false).objects,
              (QStringList{PageId(1), PageId(2), PageId(4)}));
    EXPECT_EQ(kw.Index(false).at(u"KIRSCHE"_qs).displayText, u"Kirsche"_qs);
    // An element already listed is not listed twice.
    EXPECT_EQ(kw.KeywordAdded(u"KIRSCHE"_qs, *p1, false).objects,
              (QStringList{PageId(1), PageId(2), PageId(4)}));
    EXPECT_EQ(kw.KeywordAdded(u"birne"_qs, *p1, true).objects, (QStringList{PageId(3), PageId(1)}));
    EXPECT_EQ(kw.Index(false).at(u"BIRNE"_qs).displayText, u"Birne"_qs);
}

TEST_F(KeywordIndexTest, AddKeywordKeepsTheLimit)
{
    p3->SetKeywords(QString(995, u'k'));
    EXPECT_FALSE(p3->AddKeyword(u"zehnzeiche"_qs));
    EXPECT_EQ(p3->GetKeywords().size(), 995);
    EXPECT_TRUE(p3->AddKeyword(u"vier"_qs));
}

struct PositionCase
{
    const char* name;
    QString typed;
    int row;
    bool red;
    bool buttons;
};

TEST(KeywordPositioning, TypingPositionsTheList)
{
    const QStringList rows = {u"Apfel"_qs, u"Birne"_qs, u"Felsen"_qs, u"Kartoffel"_qs,
                              u"Zwiebel"_qs};
    const PositionCase cases[] = {
        {"contains with leading star", u"*fel"_qs, 0, false, true},
        {"start only without star", u"fel"_qs, 2, false, false},
        {"lower case typed", u"bir"_qs, 1, false, false},
        {"star elsewhere means contains", u"el*"_qs, -1, true, false},
        {"no match is red", u"xyz"_qs, -1, true, false},
        {"star alone: no buttons, everything fits", u"*"_qs, -1, false, false},
        {"empty field only resets", QString(), -1, false, false},
    };
    for (const PositionCase& c : cases) {
        KvKeywordPositioning p;
        EXPECT_EQ(p.TextChanged(c.typed, rows), c.row) << c.name;
        EXPECT_EQ(p.NotFound(), c.red) << c.name;
        EXPECT_EQ(p.ShowsStepButtons(), c.buttons) << c.name;
    }
}

TEST(KeywordPositioning, NextAndPreviousStepThroughContainingRows)
{
    const QStringList rows = {u"Apfel"_qs, u"Birne"_qs, u"Felsen"_qs, u"Kartoffel"_qs,
                              u"Zwiebel"_qs};
    KvKeywordPositioning p;
    EXPECT_EQ(p.TextChanged(u"*fel"_qs, rows), 0);
    EXPECT_EQ(p.Next(rows, 0), 2);
    EXPECT_EQ(p.Next(rows, 2), 3);
    EXPECT_EQ(p.Next(rows, 3), -1);
    EXPECT_TRUE(p.NotFound());
    // Red after a forward search: the next one starts at the top again.
    EXPECT_EQ(p.Next(rows, 3), 0);
    EXPECT_FALSE(p.NotFound());
    EXPECT_EQ(p.Previous(rows, 0), -1);
    EXPECT_TRUE(p.NotFound());
    // Red after a backward search: the previous one starts at the bottom.
    EXPECT_EQ(p.Previous(rows, 0), 3);
    EXPECT_EQ(p.Previous(rows, 3), 2);
}

} // namespace
