#include "elements/kvelementmove.h"
#include "elements/kvelementsort.h"
#include "elementsfixture.h"

#include <QLocale>
#include <QRandomGenerator>

using namespace korvtest;

namespace {

class SortTest : public ElementsFixture
{
protected:
    // A folder holding these names in this order; "[x]" is a folder.
    KvFolder* Holding(const QStringList& names)
    {
        KvStoreBatch quick;
        KvFolder* f = AddFolder(Top(), u"holder"_qs);
        for (const QString& n : names) {
            if (n.startsWith(u'['))
                AddFolder(*f, n.mid(1, n.size() - 2));
            else
                AddPage(*f, n);
        }
        return f;
    }
};

const QStringList kFruit = {u"kiwi"_qs, u"Apfel"_qs, u"[Birne]"_qs,
                            u"Kiwi"_qs, u"äpfel"_qs, u"ähre"_qs};

TEST_F(SortTest, OrdersZeroToThree)
{
    const struct
    {
        int order;
        const char* expected;
    } cases[] = {
        {0, "ähre,Apfel,äpfel,[Birne],kiwi,Kiwi"}, {1, "[Birne],ähre,Apfel,äpfel,kiwi,Kiwi"},
        {2, "ähre,Apfel,äpfel,kiwi,Kiwi,[Birne]"}, {3, "kiwi,Apfel,[Birne],Kiwi,äpfel,ähre"},
        {7, "kiwi,Apfel,[Birne],Kiwi,äpfel,ähre"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.order);
        KvFolder* f = Holding(kFruit);
        env.options.SortOrder = c.order;
        KvElementMove(env).SortElements(*f);
        EXPECT_EQ(Names(*f), QString::fromUtf8(c.expected));
    }
}

TEST_F(SortTest, FoldersFirstOrMixedAsTheOptionsDialogSays)
{
    for (int order : {0, 1}) {
        KvFolder* f = Holding({u"b"_qs, u"A"_qs, u"[z]"_qs});
        env.options.SortOrder = order;
        KvElementMove(env).SortElements(*f);
        EXPECT_EQ(Names(*f), order == 1 ? u"[z],A,b"_qs : u"A,b,[z]"_qs);
    }
}

TEST_F(SortTest, GermanWhateverTheLocaleSaysDigitsAsCharacters)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden)); // ä after z there
    KvFolder* f = Holding({u"zebra"_qs, u"ärger"_qs, u"Seite 2"_qs, u"Seite 10"_qs});
    env.options.SortOrder = 0;
    KvElementMove(env).SortElements(*f);
    QLocale::setDefault(before);
    EXPECT_EQ(Names(*f), u"ärger,Seite 10,Seite 2,zebra"_qs);
}

TEST_F(SortTest, StableSortGivesWhatAdjacentSwapsGive)
{
    const QStringList pool = {u"a"_qs,    u"A"_qs,  u"ä"_qs,  u"b"_qs, u"[b]"_qs, u"[a]"_qs,
                              u"Ab"_qs,   u"aB"_qs, u"äb"_qs, u"ß"_qs, u"ss"_qs,  u"Zz"_qs,
                              u"[zz]"_qs, u"1"_qs,  u"10"_qs, u"2"_qs, u" x"_qs,  u"x"_qs};
    QRandomGenerator rng(11);
    const KvNameOrder names;
    for (int round = 0; round < 4; ++round) {
        QStringList picked;
        for (int i = 0; i < 25; ++i)
            picked.append(pool[rng.bounded(int(pool.size()))]);
        KvFolder* f = Holding(picked);
        for (int order = 0; order <= 3; ++order) {
            // The rule applied as adjacent swaps until none is left.
            QList<KvObject*> swapped = f->Children();
            for (bool again = true; again;) {
                again = false;
                for (qsizetype i = 0; i + 1 < swapped.size(); ++i) {
                    if (KvElementSort::ElementsToSwap(*swapped[i], *swapped[i + 1], order, names)) {
                        swapped.swapItemsAt(i, i + 1);
                        again = true;
                        break;
                    }
                }
            }
            EXPECT_EQ(KvElementSort::SortedChildren(*f, order), swapped)
                << "round " << round << " order " << order;
        }
    }
}

TEST_F(SortTest, SortFolderAsksThenStoresTheOrder)
{
    KvFolder* f = Holding({u"b"_qs, u"a"_qs});
    const QString id = f->Id();
    prompter.Answer(KvAnswer::No);
    EXPECT_FALSE(KvElementMove(env).SortFolder(*f));
    EXPECT_EQ(Names(*f), u"b,a"_qs);
    prompter.Answer(KvAnswer::Yes);
    EXPECT_TRUE(KvElementMove(env).SortFolder(*f));
    EXPECT_EQ(prompter.Asked().size(), 2);
    EXPECT_EQ(prompter.Asked().last().text, KvTexts::Text(5065));
    EXPECT_TRUE(window.calls.contains(u"tabs "_qs + id));
    Reload();
    EXPECT_EQ(Names(*Find<KvFolder>(id)), u"a,b"_qs);
}

TEST_F(SortTest, SortFoldersBelowSortsTheAutoSortedOnesOnYes)
{
    KvFolder* f = Holding({u"b"_qs, u"a"_qs, u"[s]"_qs, u"[t]"_qs});
    KvFolder* s = Find<KvFolder>(f->Children()[2]->Id());
    KvFolder* t = Find<KvFolder>(f->Children()[3]->Id());
    for (KvFolder* sub : {s, t}) {
        AddPage(*sub, u"y"_qs);
        AddPage(*sub, u"x"_qs);
    }
    s->SetSortInherited(false);
    s->SetAutoSort(true);
    t->SetSortInherited(false);
    t->SetAutoSort(false);
    prompter.Answer(KvAnswer::Yes);
    KvElementMove(env).SortFoldersBelow(*f);
    EXPECT_EQ(prompter.Asked().last().text, KvTexts::Text(5133));
    EXPECT_EQ(Names(*f), u"a,b,[s],[t]"_qs);
    EXPECT_EQ(Names(*s), u"x,y"_qs);
    EXPECT_EQ(Names(*t), u"y,x"_qs);
    const QString sid = s->Id();
    Reload();
    EXPECT_EQ(Names(*Find<KvFolder>(sid)), u"x,y"_qs);
}

} // namespace
