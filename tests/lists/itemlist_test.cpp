// Item lists: the store format with continuation sections, loading damaged chains, the
// operations on ids and rows (also where elements are gone), the selected entry, the
// removed list, copies, and the list hooks.
#include "lists/kvelementlists.h"
#include "lists/kvitemlist.h"
#include "lists/kvrowsview.h"
#include "model/modelfixture.h"
#include "platform/kvfileseam.h"
#include "store/texmeminifile.h"

#include <QFile>

using namespace korvtest;

namespace {

class ItemListTest : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        top->SetName(u"Ordner"_qs);
        trash = std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
        folder = NewFolder(FldrId(1), top.get(), u"Projekte"_qs);
        for (int i = 1; i <= 5; ++i)
            pages.append(NewPage(PageId(i), folder, u"Seite %1"_qs.arg(i)));
    }

    QString StorePath() const { return Dir() + u"bookmark"_qs; }

    // Every line of the store's members, in file order.
    QStringList StoredLines()
    {
        TexIniFile store(StorePath(), 40, false);
        return TexMemIniFile(store).Lines();
    }

    static QStringList Ids(int from, int to)
    {
        QStringList ids;
        for (int i = from; i <= to; ++i)
            ids.append(PageId(i));
        return ids;
    }

    KvFolder* folder = nullptr;
    QList<KvPage*> pages;
};

TEST_F(ItemListTest, FourHundredFiftyItemsFillTwoFullSectionsAndAThird)
{
    {
        KvItemList list(StorePath(), u"Bookmarks"_qs);
        list.AddIds(Ids(1, 450));
        list.Save();
        EXPECT_EQ(list.ContinuationSections(), (QStringList{u"Ext0000001"_qs, u"Ext0000002"_qs}));
    }
    TexIniFile store(StorePath(), 40, false);
    TexMemIniFile snapshot(store);
    struct SectionCase
    {
        QString section;
        int first;
        int last;
        QString continuation;
    };
    const SectionCase cases[] = {
        {u"Bookmarks"_qs, 1, 200, u"Ext0000001"_qs},
        {u"Ext0000001"_qs, 201, 400, u"Ext0000002"_qs},
        {u"Ext0000002"_qs, 401, 450, QString()},
    };
    for (const SectionCase& c : cases) {
        const QStringList keys = snapshot.ReadSection(c.section);
        const QStringList values = snapshot.ReadSectionValues(c.section);
        const int items = c.last - c.first + 1;
        ASSERT_GE(keys.size(), items) << c.section.toStdString();
        for (int i = 0; i < items; ++i) {
            EXPECT_EQ(keys[i], u"Item"_qs + QString::number(c.first + i).rightJustified(7, u'0'));
            EXPECT_EQ(values[i], PageId(c.first + i));
        }
        EXPECT_EQ(snapshot.ReadString(c.section, u"Continuation"_qs, QString()), c.continuation)
            << c.section.toStdString();
        if (!c.continuation.isEmpty())
            EXPECT_EQ(keys[items], u"Continuation"_qs) << "a full section ends with it";
    }
    KvItemList loaded(StorePath(), u"Bookmarks"_qs);
    EXPECT_EQ(loaded.Ids(), Ids(1, 450));
    EXPECT_FALSE(loaded.Changed());
}

TEST_F(ItemListTest, ShorterListErasesTheSectionsItNoLongerNeeds)
{
    KvItemList list(StorePath(), u"Bookmarks"_qs);
    list.AddIds(Ids(1, 450));
    list.Save();
    const QStringList gone = Ids(150, 450);
    list.RemoveIds(QSet<QString>(gone.begin(), gone.end()));
    list.Save();
    EXPECT_TRUE(list.ContinuationSections().isEmpty());
    TexIniFile store(StorePath(), 40, false);
    EXPECT_FALSE(store.SectionExists(u"Ext0000001"_qs));
    EXPECT_FALSE(store.SectionExists(u"Ext0000002"_qs));
    EXPECT_EQ(KvItemList(StorePath(), u"Bookmarks"_qs).Ids(), Ids(1, 149));
}

TEST_F(ItemListTest, DamagedChainsLoadWhatTheyCanAndEnd)
{
    struct ChainCase
    {
        const char* what;
        QStringList lines;
        QStringList ids;
        QStringList continuations;
    };
    const ChainCase cases[] = {
        {"a chain back to the first section",
         {u"[Bookmarks]"_qs, u"Item0000001=Page0000001"_qs, u"Continuation=Ext0000001"_qs,
          u"[Ext0000001]"_qs, u"Item0000002=Page0000002"_qs, u"Continuation=Ext0000002"_qs,
          u"[Ext0000002]"_qs, u"Item0000003=Page0000003"_qs, u"Continuation=Bookmarks"_qs},
         Ids(1, 3),
         {u"Ext0000001"_qs, u"Ext0000002"_qs}},
        {"a section continued by itself",
         {u"[Bookmarks]"_qs, u"Item0000001=Page0000001"_qs, u"Continuation=Ext0000001"_qs,
          u"[Ext0000001]"_qs, u"Item0000002=Page0000002"_qs, u"Continuation=ext0000001"_qs},
         Ids(1, 2),
         {u"Ext0000001"_qs}},
        {"repeated ids and an empty one",
         {u"[Bookmarks]"_qs, u"Item0000001=Page0000002"_qs, u"Item0000002=Page0000001"_qs,
          u"Item0000003=Page0000002"_qs, u"Item0000004="_qs, u"ActItem=Page0000001"_qs},
         {PageId(2), PageId(1)},
         {}},
        {"a continuation that is missing, keys after it unread",
         {u"[Bookmarks]"_qs, u"Item0000001=Page0000001"_qs, u"Continuation=Ext0000009"_qs,
          u"Item0000002=Page0000002"_qs},
         {PageId(1)},
         {u"Ext0000009"_qs}},
        {"an empty continuation read past",
         {u"[Bookmarks]"_qs, u"Item0000001=Page0000001"_qs, u"Continuation="_qs,
          u"Item0000002=Page0000002"_qs},
         Ids(1, 2),
         {}},
    };
    for (const ChainCase& c : cases) {
        QFile::remove(StorePath() + u".001"_qs);
        WriteAll(StorePath() + u".001"_qs, (c.lines.join(u"\r\n"_qs) + u"\r\n"_qs).toUtf8());
        KvItemList list(StorePath(), u"Bookmarks"_qs);
        EXPECT_EQ(list.Ids(), c.ids) << c.what;
        EXPECT_EQ(list.ContinuationSections(), c.continuations) << c.what;
    }
}

TEST_F(ItemListTest, RowsShowExistingElementsAndFollowTheOperations)
{
    KvItemList list(StorePath(), u"Bookmarks"_qs);
    list.AddIds({PageId(1), u"Page0000077"_qs, PageId(2), FldrId(1)});
    KvRowsView view;
    list.AttachView(&view, true);
    EXPECT_EQ(view.RowIds(), (QStringList{PageId(1), PageId(2), FldrId(1)}));
    EXPECT_EQ(view.List().Rows()[0].folder, u"Ordner/Projekte"_qs);

    struct OpCase
    {
        const char* what;
        std::function<void()> op;
        QStringList ids;
        QStringList rows;
        QString selected;
    };
    const OpCase cases[] = {
        {"adding a listed element only selects its row",
         [&] { EXPECT_EQ(list.Add(pages[1], true), 3); },
         {PageId(1), u"Page0000077"_qs, PageId(2), FldrId(1)},
         {PageId(1), PageId(2), FldrId(1)},
         PageId(2)},
        {"adding with show appends and selects the row",
         [&] { EXPECT_EQ(list.Add(pages[2], true), 5); },
         {PageId(1), u"Page0000077"_qs, PageId(2), FldrId(1), PageId(3)},
         {PageId(1), PageId(2), FldrId(1), PageId(3)},
         PageId(3)},
        {"adding without show leaves the rows",
         [&] { list.Add(pages[3], false); },
         {PageId(1), u"Page0000077"_qs, PageId(2), FldrId(1), PageId(3), PageId(4)},
         {PageId(1), PageId(2), FldrId(1), PageId(3)},
         PageId(3)},
        {"up swaps with the row above, passing the id of a gone element",
         [&] { EXPECT_TRUE(list.MoveRow(PageId(2), true)); },
         {PageId(2), u"Page0000077"_qs, PageId(1), FldrId(1), PageId(3), PageId(4)},
         {PageId(2), PageId(1), FldrId(1), PageId(3)},
         PageId(3)},
        {"the first row cannot go up",
         [&] { EXPECT_FALSE(list.MoveRow(PageId(2), true)); },
         {PageId(2), u"Page0000077"_qs, PageId(1), FldrId(1), PageId(3), PageId(4)},
         {PageId(2), PageId(1), FldrId(1), PageId(3)},
         PageId(3)},
        {"down swaps with the row below",
         [&] { EXPECT_TRUE(list.MoveRow(PageId(2), false)); },
         {PageId(1), u"Page0000077"_qs, PageId(2), FldrId(1), PageId(3), PageId(4)},
         {PageId(1), PageId(2), FldrId(1), PageId(3)},
         PageId(3)},
        {"removing the selected row's element takes its id, not the one at the row index",
         [&] { EXPECT_TRUE(list.RemoveId(view.RowIds().at(1))); },
         {PageId(1), u"Page0000077"_qs, FldrId(1), PageId(3), PageId(4)},
         {PageId(1), FldrId(1), PageId(3)},
         PageId(3)},
        {"MoveUp works on id positions",
         [&] { EXPECT_TRUE(list.MoveUp(1)); },
         {u"Page0000077"_qs, PageId(1), FldrId(1), PageId(3), PageId(4)},
         {PageId(1), FldrId(1), PageId(3)},
         PageId(3)},
        {"bad indexes do nothing",
         [&] {
             EXPECT_FALSE(list.MoveUp(0));
             EXPECT_FALSE(list.MoveDown(4));
             EXPECT_FALSE(list.RemoveAt(5));
             EXPECT_FALSE(list.RemoveAt(-1));
         },
         {u"Page0000077"_qs, PageId(1), FldrId(1), PageId(3), PageId(4)},
         {PageId(1), FldrId(1), PageId(3)},
         PageId(3)},
        {"clearing the ids but keeping the rows",
         [&] { list.ClearIds(true); },
         {},
         {PageId(1), FldrId(1), PageId(3)},
         PageId(3)},
        {"clearing takes the rows too", [&] { list.Clear(); }, {}, {}, QString()},
    };
    for (const OpCase& c : cases) {
        c.op();
        EXPECT_EQ(list.Ids(), c.ids) << c.what;
        EXPECT_EQ(view.RowIds(), c.rows) << c.what;
        EXPECT_EQ(view.SelectedId(), c.selected) << c.what;
        EXPECT_TRUE(list.Changed()) << c.what;
    }
    EXPECT_EQ(list.Add(nullptr, true), 0);
}

TEST_F(ItemListTest, SelectedEntryIsStoredAndSelectedAgain)
{
    KvRowsView view;
    {
        KvItemList list(StorePath(), u"Bookmarks"_qs);
        list.AddIds(Ids(1, 3));
        list.AttachView(&view, false);
        view.SelectId(PageId(2));
        list.Save(); // changed: written with the selection
        EXPECT_EQ(list.ActItem(), PageId(2));
        view.SelectId(PageId(3));
        list.Save(); // unchanged: only the selection
        list.AttachView(nullptr, false);
    }
    KvItemList list(StorePath(), u"Bookmarks"_qs);
    EXPECT_EQ(list.ActItem(), PageId(3));
    list.AttachView(&view, false);
    EXPECT_EQ(view.SelectedId(), PageId(3));
    // A selected row whose element is not listed stores no selection.
    list.ClearIds(true);
    list.Save();
    EXPECT_EQ(list.ActItem(), QString());
}

TEST_F(ItemListTest, RemovedListRefusesEveryOperation)
{
    KvItemList list(StorePath(), u"Bookmarks"_qs);
    list.AddIds(Ids(1, 250));
    list.Save();
    list.Remove();
    EXPECT_TRUE(StoredLines().isEmpty());
    const std::function<void()> ops[] = {
        [&] { list.Save(); },
        [&] { list.Load(); },
        [&] { list.Add(pages[0], true); },
        [&] { list.RemoveId(PageId(1)); },
        [&] { list.MoveUp(1); },
        [&] { list.Clear(); },
        [&] { list.Remove(); },
        [&] { list.AttachView(nullptr, false); },
        [&] { (void)list.IndexOf(PageId(1)); },
    };
    for (const auto& op : ops) {
        try {
            op();
            ADD_FAILURE() << "no exception";
        } catch (const KvItemList::EItemListRemoved& e) {
            EXPECT_EQ(e.Message(), KvTexts::Text(30004));
        }
    }
    // The hooks pass a removed list by.
    list.ForgetIds({PageId(1)});
}

TEST_F(ItemListTest, CopyRestoresTheListAsItWas)
{
    KvItemList list(StorePath(), u"Bookmarks"_qs);
    list.AddIds(Ids(1, 3));
    list.Save();
    const KvItemList before(list);
    list.RemoveId(PageId(1));
    list.Add(pages[4], false);
    list.MoveUp(1);
    list = before;
    EXPECT_EQ(list.Ids(), Ids(1, 3));
    EXPECT_FALSE(list.Changed());
    list.Save();
    EXPECT_EQ(KvItemList(StorePath(), u"Bookmarks"_qs).Ids(), Ids(1, 3));
}

TEST_F(ItemListTest, HooksForgetRebuildAndSaveOnceOnlyWhenWritable)
{
    for (const bool writable : {true, false}) {
        QFile::remove(StorePath() + u".001"_qs);
        KvItemList list(StorePath(), u"Bookmarks"_qs);
        list.AddIds(Ids(1, 5));
        list.Save();
        const QByteArray stored = ReadAll(StorePath() + u".001"_qs);
        list.SetWritable(writable);
        KvRowsView view;
        list.AttachView(&view, false);
        view.SelectId(PageId(5));
        KvElementLists lists;
        lists.Add(&list);
        {
            KvFileSeam::Scope count({KvFileSeam::Rename, u"*/bookmark.0*"_qs, 1000, EIO, false});
            {
                KvElementLists::Batch batch(lists);
                lists.ForgetIds({PageId(2), PageId(4), FldrId(9)});
                lists.ForgetIds({PageId(1)});
            }
            EXPECT_EQ(KvFileSeam::Seen(), writable ? 1 : 0) << "one write of the store";
        }
        EXPECT_EQ(list.Ids(), (QStringList{PageId(3), PageId(5)}));
        EXPECT_EQ(view.RowIds(), (QStringList{PageId(3), PageId(5)}));
        if (writable)
            EXPECT_EQ(KvItemList(StorePath(), u"Bookmarks"_qs).Ids(), list.Ids());
        else
            EXPECT_EQ(ReadAll(StorePath() + u".001"_qs), stored) << "read-only writes nothing";

        pages[4]->SetName(u"Umbenannt"_qs);
        lists.Renewed({PageId(5)});
        EXPECT_EQ(view.List().Rows().at(1).caption, u"Umbenannt"_qs);
        EXPECT_EQ(view.SelectedId(), PageId(5)) << "the selection survives the rebuild";
        pages[4]->SetName(u"Seite 5"_qs);
        lists.Remove(&list);
    }
}

} // namespace
