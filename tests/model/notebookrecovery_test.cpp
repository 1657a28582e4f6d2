#include "model/kvnotebookbuild.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvpagepassword.h"
#include "model/kvpasswordlist.h"
#include "model/kvsectionnames.h"
#include "modelfixture.h"
#include "store/kvdirstores.h"
#include "store/texmeminifile.h"

using namespace korvtest;

namespace {

class NotebookRecovery : public ModelFixture
{
protected:
    // Top folder: page 1, folder 2 (page 3, folder 4 (page 5)), page 6. Stored.
    void MakeNotebook()
    {
        Build();
        NewPage(PageId(1), top.get(), u"Eins"_qs);
        KvFolder* f2 = NewFolder(FldrId(2), top.get(), u"Zwei"_qs);
        NewPage(PageId(3), f2, u"Drei"_qs);
        KvFolder* f4 = NewFolder(FldrId(4), f2, u"Vier"_qs);
        NewPage(PageId(5), f4, u"Fünf"_qs);
        NewPage(PageId(6), top.get(), u"Sechs"_qs);
        for (KvObject* obj : CollectDescendants(top.get()))
            obj->Store();
        top->Store();
        trash->Store();
    }

    // Takes an element out of its parent's list and stores the parent, leaving its
    // sections behind.
    void Lose(const QString& id)
    {
        KvObject* obj = FindObject(id);
        KvObject* parent = obj->Parent();
        parent->RemoveChild(obj);
        delete obj;
        parent->Store();
    }

    KvNotebook Rebuild()
    {
        DestroyModel();
        ReopenStores();
        KvElementFactory plain;
        return KvNotebookBuild::Build(plain);
    }

    const QDateTime when{QDate(2026, 12, 10), QTime(4, 5)};
};

TEST_F(NotebookRecovery, BuildReadsFromSnapshotsAndRemovesThemAfterwards)
{
    MakeNotebook();
    KvPasswordList::Add(u"alt"_qs);
    KvNotebook nb = Rebuild();
    EXPECT_FALSE(KvReadSources::SnapshotsInstalled());
    ASSERT_NE(nb.top, nullptr);
    ASSERT_NE(nb.trash, nullptr);
    ASSERT_NE(nb.objectSnapshot, nullptr);
    ASSERT_EQ(nb.top->ChildCount(), 3);
    EXPECT_EQ(nb.top->Children()[1]->Children()[1]->Children()[0]->Name(), u"Fünf"_qs);
    EXPECT_TRUE(KvPasswordList::Entries().isEmpty());
    EXPECT_TRUE(KvNotebookBuild::FindLostIds(*nb.objectSnapshot).isEmpty());
}

TEST_F(NotebookRecovery, LostPageAndFolderComeBackWithTheSubtreeOnce)
{
    MakeNotebook();
    Lose(PageId(6));
    Lose(FldrId(4));
    KvNotebook nb = Rebuild();
    // Store order: the folder's section was written before the page's.
    EXPECT_EQ(KvNotebookBuild::FindLostIds(*nb.objectSnapshot),
              (QStringList{FldrId(4), PageId(6)}));
    KvElementFactory plain;
    const KvRecoveryResult r =
        KvNotebookBuild::RecoverLostElements(*nb.top, *nb.objectSnapshot, plain, when);
    ASSERT_NE(r.folder, nullptr);
    EXPECT_EQ(r.folder->Name(), u"Verlorene Elemente, wiederhergestellt am 10.12.2026 04:05"_qs);
    EXPECT_EQ(nb.top->Children().last(), r.folder);
    EXPECT_EQ(r.recovered, (QStringList{FldrId(4), PageId(6)}));
    ASSERT_EQ(r.folder->ChildCount(), 2);
    EXPECT_EQ(r.folder->Children()[0]->Children()[0]->Id(), PageId(5));
    const QString recoveryId = r.folder->Id();
    nb.Reset();

    KvNotebook again = Rebuild();
    EXPECT_TRUE(KvNotebookBuild::FindLostIds(*again.objectSnapshot).isEmpty());
    KvObject* recovered = FindObject(recoveryId);
    ASSERT_NE(recovered, nullptr);
    EXPECT_EQ(recovered->Parent(), again.top.get());
    EXPECT_EQ(recovered->ChildCount(), 2);
    const KvRecoveryResult none =
        KvNotebookBuild::RecoverLostElements(*again.top, *again.objectSnapshot, plain, when);
    EXPECT_EQ(none.folder, nullptr);
}

TEST_F(NotebookRecovery, OnlyFoldersAndPagesCountAsLost)
{
    MakeNotebook();
    Obj().WriteString(u"Fremd"_qs, u"Name"_qs, u"x"_qs);
    Obj().WriteString(u"Ext0000009"_qs, u"Item0000001"_qs, PageId(1));
    Obj().UpdateFile();
    KvNotebook nb = Rebuild();
    EXPECT_TRUE(KvNotebookBuild::FindLostIds(*nb.objectSnapshot).isEmpty());
}

// Elements whose sections were lost: listed ids without a section, and pages known only by
// their content file or page-store section. Each comes back with a name of its own, but a
// page that holds nothing at all (a former referrer) is taken out.
TEST_F(NotebookRecovery, ElementsWithoutSectionsComeBackNamed)
{
    const QString longLine = QString(u"Wort "_qs).repeated(30).trimmed();
    struct Case
    {
        const char* name;
        QString id;
        bool listed;      // the top folder still lists it
        QByteArray file;  // content file (empty: none)
        bool pageSection; // a page-store section is left
        QString expected; // the name it gets (empty: taken out)
    };
    const Case cases[] = {
        {"FirstLineOfTheText", PageId(1), true,
         "{\\rtf1\\ansi\\par  Erste Zeile \\par Zweite\\par}", false, u"Erste Zeile"_qs},
        {"LongLineIsCut", PageId(2), true, "{\\rtf1\\ansi " + longLine.toUtf8() + "\\par}", false,
         longLine.left(100).trimmed()},
        {"NothingLeft", PageId(3), true, {}, false, QString()},
        {"OnlyProperties", PageId(9), true, {}, true, PageId(9)},
        {"NotRtf", PageId(4), true, "\x01\x02 binary", false, PageId(4)},
        {"ProtectedPage", PageId(5), true, QByteArray("\x08\0\0\0\x02\0\0\0abcdefgh", 16), true,
         PageId(5)},
        {"FolderWithoutSection", FldrId(6), true, {}, false, FldrId(6)},
        {"OrphanContentFile", PageId(7), false, "{\\rtf1\\ansi Verwaist\\par}", false,
         u"Verwaist"_qs},
        {"OrphanPageSection", PageId(8), false, {}, true, PageId(8)},
    };
    Obj().WriteString(u"TopFolder"_qs, u"Name"_qs, u"Ordner"_qs);
    int item = 0;
    for (const Case& c : cases) {
        if (c.listed)
            Obj().WriteString(u"TopFolder"_qs, KvSectionNames::ItemKey(++item), c.id);
        if (!c.file.isEmpty())
            WriteAll(Dir() + c.id + u".kvp"_qs, c.file);
        if (c.pageSection) {
            Page().WriteInteger(c.id, u"PWAskMode"_qs, 0);
            Page().WriteString(c.id, u"PWBF"_qs, KvPagePassword::CheckValue(0, u"pw"_qs));
        }
    }
    KvNotebook nb = Rebuild();
    KvElementFactory plain;
    const KvRecoveryResult r =
        KvNotebookBuild::RecoverLostElements(*nb.top, *nb.objectSnapshot, plain, when);
    ASSERT_NE(r.folder, nullptr);
    EXPECT_EQ(r.recovered, (QStringList{PageId(8), PageId(7)})) << "page store, then files";
    EXPECT_NE(r.folder->Id(), FldrId(6)) << "an id that a list still names is not reused";
    EXPECT_EQ(r.dropped, QStringList{PageId(3)});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KvObject* obj = FindObject(c.id);
        if (c.expected.isEmpty()) {
            EXPECT_EQ(obj, nullptr);
            EXPECT_FALSE(Obj().SectionExists(c.id));
            EXPECT_FALSE(Obj().ReadSectionValues(u"TopFolder"_qs).join(u' ').contains(c.id));
            continue;
        }
        ASSERT_NE(obj, nullptr);
        EXPECT_EQ(obj->Parent(), c.listed ? nb.top.get() : r.folder);
        EXPECT_EQ(obj->Name(), c.expected);
        EXPECT_TRUE(r.named.contains(c.id));
    }
    nb.Reset();

    KvNotebook again = Rebuild();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.expected.isEmpty())
            continue;
        ASSERT_NE(FindObject(c.id), nullptr);
        EXPECT_EQ(FindObject(c.id)->Name(), c.expected) << "the name was stored";
    }
    const KvRecoveryResult none =
        KvNotebookBuild::RecoverLostElements(*again.top, *again.objectSnapshot, plain, when);
    EXPECT_EQ(none.folder, nullptr);
    EXPECT_TRUE(none.named.isEmpty());
    EXPECT_TRUE(none.dropped.isEmpty());
}

// A referrer whose Ref2 was cut short names nothing: nothing of it can be shown, so the
// repair takes it out; a referrer of a live page stays.
TEST_F(NotebookRecovery, ReferrerWhoseTargetLeftNoTraceIsTakenOut)
{
    Obj().WriteString(u"TopFolder"_qs, u"Name"_qs, u"Ordner"_qs);
    Obj().WriteString(u"TopFolder"_qs, KvSectionNames::ItemKey(1), PageId(1));
    Obj().WriteString(u"TopFolder"_qs, KvSectionNames::ItemKey(2), PageId(2));
    Obj().WriteString(u"TopFolder"_qs, KvSectionNames::ItemKey(3), PageId(3));
    Obj().WriteString(PageId(1), u"Name"_qs, u"Ziel"_qs);
    Obj().WriteString(PageId(2), u"Ref2"_qs, PageId(1));
    Obj().WriteString(PageId(3), u"Ref2"_qs, u"Page00"_qs);
    WriteAll(Dir() + PageId(1) + u".kvp"_qs, "{\\rtf1\\ansi Ziel\\par}");
    KvNotebook nb = Rebuild();
    KvElementFactory plain;
    const KvRecoveryResult r =
        KvNotebookBuild::RecoverLostElements(*nb.top, *nb.objectSnapshot, plain, when);
    EXPECT_EQ(r.dropped, QStringList{PageId(3)});
    EXPECT_EQ(FindObject(PageId(3)), nullptr);
    ASSERT_NE(FindObject(PageId(2)), nullptr);
    EXPECT_EQ(FindObject(PageId(2))->Target(), FindObject(PageId(1)));
    EXPECT_EQ(nb.top->ChildCount(), 2);
}

TEST_F(NotebookRecovery, GeneratedNotebookHasNothingLost)
{
    KvGeneratorOptions o;
    o.elements = 500;
    KvNotebookGenerator::Generate(Dir(), o);
    KvNotebook nb = Rebuild();
    EXPECT_TRUE(KvNotebookBuild::FindLostIds(*nb.objectSnapshot).isEmpty());
    EXPECT_GT(CollectDescendants(nb.top.get()).size(), 300);
}

} // namespace
