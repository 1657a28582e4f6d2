// Result rows and the list's rules: captions, folder column with and without the full
// path, icons, sorting, rebuilding and dropping rows by id.
#include "lists/kvresultlist.h"
#include "model/modelfixture.h"

using namespace korvtest;

namespace {

class ResultListTest : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        top->SetName(u"A"_qs);
        trash = std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
        trash->SetName(u"Papierkorb"_qs);
        b = NewFolder(FldrId(1), top.get(), u"B"_qs);
        c = NewFolder(FldrId(2), b, u"C"_qs);
        c->SetStatus(5);
        page = NewPage(PageId(1), c, u"seite"_qs);
        page->SetStatus(2);
        NewPage(PageId(2), top.get(), u"Seite"_qs);
        NewPage(PageId(3), b, u"apfel"_qs);
        NewPage(PageId(4), trash.get(), u"Zebra"_qs);
    }

    static QStringList Column(const KvResultList& list, int column)
    {
        QStringList out;
        for (const KvResultRow& r : list.Rows())
            out.append(column == 0 ? r.caption : r.folder);
        return out;
    }

    KvFolder* b = nullptr;
    KvFolder* c = nullptr;
    KvPage* page = nullptr;
};

TEST_F(ResultListTest, RowsShowCaptionFolderAndIcon)
{
    struct RowCase
    {
        QString id;
        bool fullPath;
        KvResultRow row;
    };
    const RowCase cases[] = {
        {PageId(1), true, {PageId(1), u"seite"_qs, u"A/B/C"_qs, 6}},
        {PageId(1), false, {PageId(1), u"seite"_qs, u"C"_qs, 6}},
        {FldrId(2), true, {FldrId(2), u"[Ordner: C]"_qs, u"A/B/C"_qs, 9}},
        {FldrId(2), false, {FldrId(2), u"[Ordner: C]"_qs, u"C"_qs, 9}},
        {FldrId(1), true, {FldrId(1), u"[Ordner: B]"_qs, u"A/B"_qs, 2}},
        {u"TopFolder"_qs, true, {u"TopFolder"_qs, u"[Ordner: A]"_qs, u"A"_qs, 0}},
        {u"TrashFolder"_qs,
         false,
         {u"TrashFolder"_qs, u"[Ordner: Papierkorb]"_qs, u"Papierkorb"_qs, 1}},
        {PageId(4), true, {PageId(4), u"Zebra"_qs, u"Papierkorb"_qs, 4}},
    };
    for (const RowCase& rc : cases) {
        const std::optional<KvResultRow> row = KvResultRow::For(rc.id, rc.fullPath);
        ASSERT_TRUE(row.has_value());
        EXPECT_EQ(*row, rc.row) << rc.id.toStdString() << " " << rc.fullPath << ": "
                                << row->caption.toStdString() << " | " << row->folder.toStdString()
                                << " | " << row->image;
    }
    EXPECT_FALSE(KvResultRow::For(u"Page0000077"_qs, false).has_value());
    EXPECT_EQ(KvResultRow::LinkText(*page), u"<file://*Page0000001*(seite)>"_qs);
}

TEST_F(ResultListTest, GoneElementsAddNoRowAndForgottenOnesLoseTheirs)
{
    KvResultList list;
    EXPECT_TRUE(list.Append(PageId(1)));
    EXPECT_FALSE(list.Append(u"Page0000077"_qs));
    EXPECT_TRUE(list.Append(PageId(2)));
    EXPECT_EQ(list.Ids(), (QStringList{PageId(1), PageId(2)}));
    EXPECT_EQ(list.Remove(PageId(1)), 1);
    EXPECT_EQ(list.Remove(PageId(1)), 0);
    EXPECT_EQ(list.Ids(), QStringList{PageId(2)});
}

TEST_F(ResultListTest, ChangedElementIsRebuiltInPlace)
{
    KvResultList list(true);
    list.SetIds({PageId(2), PageId(1), PageId(3)});
    list.SortByColumn(KvResultList::CaptionColumn);
    c->SetName(u"D"_qs);
    EXPECT_TRUE(list.Update(PageId(1)));
    EXPECT_EQ(list.SortedColumn(), -1);
    EXPECT_EQ(list.Rows()[list.IndexOf(PageId(1))].folder, u"A/B/D"_qs);
    EXPECT_FALSE(list.Update(PageId(4)));
    list.SetFullPath(false);
    // Sorted by caption: apfel, then the two pages named Seite in their former order.
    EXPECT_EQ(Column(list, 1), (QStringList{u"B"_qs, u"A"_qs, u"D"_qs}));
}

TEST_F(ResultListTest, SortingAscendingDescendingAndOtherColumn)
{
    KvResultList list(true);
    list.SetIds({PageId(2), PageId(4), PageId(1), PageId(3), FldrId(1)});
    EXPECT_EQ(list.HeaderText(0), u"Seite"_qs);

    list.SortByColumn(KvResultList::CaptionColumn);
    const QStringList ascending = Column(list, 0);
    // Upper case, code point by code point: "[" comes after "Z". "Seite" and "seite"
    // differ only in case: their order is not defined.
    EXPECT_EQ(ascending[0], u"apfel"_qs);
    EXPECT_EQ(ascending[1].toUpper(), u"SEITE"_qs);
    EXPECT_EQ(ascending[2].toUpper(), u"SEITE"_qs);
    EXPECT_EQ(ascending.mid(3), (QStringList{u"Zebra"_qs, u"[Ordner: B]"_qs}));
    EXPECT_EQ(list.HeaderText(0), u"Seite  (a..z)"_qs);
    EXPECT_EQ(list.HeaderText(1), u"Ordner"_qs);

    list.SortByColumn(KvResultList::CaptionColumn);
    QStringList reversed = ascending;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(Column(list, 0), reversed);
    EXPECT_TRUE(list.SortedDescending());
    EXPECT_EQ(list.HeaderText(0), u"Seite  (z..a)"_qs);

    // Another click after descending sorts ascending again.
    list.SortByColumn(KvResultList::CaptionColumn);
    EXPECT_FALSE(list.SortedDescending());

    list.SortByColumn(KvResultList::FolderColumn);
    EXPECT_EQ(Column(list, 1),
              (QStringList{u"A"_qs, u"A/B"_qs, u"A/B"_qs, u"A/B/C"_qs, u"Papierkorb"_qs}));
    EXPECT_EQ(list.HeaderText(0), u"Seite"_qs);
    EXPECT_EQ(list.HeaderText(1), u"Ordner  (a..z)"_qs);

    // Adding a row leaves the list unsorted.
    list.Append(PageId(1));
    EXPECT_EQ(list.SortedColumn(), -1);
    EXPECT_EQ(list.HeaderText(1), u"Ordner"_qs);
}

TEST_F(ResultListTest, LinkTextsOfRowsOneALine)
{
    KvResultList list;
    list.SetIds({PageId(1), FldrId(1)});
    EXPECT_EQ(list.LinkTexts({1, 0}),
              u"<file://*Fldr0000001*(B)>\n<file://*Page0000001*(seite)>"_qs);
}

} // namespace
