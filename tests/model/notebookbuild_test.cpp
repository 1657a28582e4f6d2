#include "model/kvnotebookgenerator.h"
#include "modelfixture.h"
#include "richtext/texrichdocument.h"
#include "store/kvdirstores.h"

#include <QDirIterator>
#include <QMap>

using namespace korvtest;

namespace {

// Every file below dir with its bytes.
QMap<QString, QByteArray> Contents(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, ReadAll(path));
    }
    return files;
}

class NotebookBuildTest : public ModelFixture
{
protected:
    KvGeneratedNotebook Generate(int elements, quint32 seed = 7)
    {
        KvGeneratorOptions o;
        o.seed = seed;
        o.elements = elements;
        o.protectedPercent = 5;
        return KvNotebookGenerator::Generate(Dir(), o);
    }

    // Builds from snapshots, as the opening of a directory does.
    void BuildFromSnapshots()
    {
        KvSnapshotScope snapshots;
        Build();
    }

    void ExpectChildren(const KvGeneratedNotebook& nb, const KvObject* folder)
    {
        const QStringList& expected = nb.children.value(folder->Id());
        ASSERT_EQ(folder->ChildCount(), expected.size()) << folder->Id().toStdString();
        for (int i = 0; i < expected.size(); ++i) {
            const KvObject* child = folder->Children()[i];
            ASSERT_EQ(child->Id(), expected[i]);
            EXPECT_EQ(child->Name(), nb.names.value(expected[i])) << expected[i].toStdString();
            if (nb.referrers.contains(expected[i]))
                EXPECT_EQ(child->Target(), FindObject(nb.referrers.value(expected[i])));
            ExpectChildren(nb, child);
        }
    }
};

TEST_F(NotebookBuildTest, GeneratedNotebookBuildsAsGenerated)
{
    const KvGeneratedNotebook nb = Generate(1500);
    ReopenStores();
    BuildFromSnapshots();
    ExpectChildren(nb, top.get());
    ExpectChildren(nb, trash.get());
}

TEST_F(NotebookBuildTest, GeneratorIsDeterministicForASeed)
{
    Generate(300, 11);
    const QMap<QString, QByteArray> first = Contents(Dir());
    const QString other = m_env.Dir(u"other"_qs);
    KvGeneratorOptions o;
    o.seed = 11;
    o.elements = 300;
    o.protectedPercent = 5;
    KvNotebookGenerator::Generate(other, o);
    const QMap<QString, QByteArray> second = Contents(other);
    ASSERT_EQ(first.size(), second.size());
    for (auto it = first.cbegin(), jt = second.cbegin(); it != first.cend(); ++it, ++jt) {
        EXPECT_EQ(QFileInfo(it.key()).fileName(), QFileInfo(jt.key()).fileName());
        EXPECT_EQ(it.value(), jt.value()) << it.key().toStdString();
    }
}

TEST_F(NotebookBuildTest, ReadOnlyBuildChangesNoByte)
{
    Generate(800);
    // Elements whose construction would write in a writable directory: a folder without a
    // name that lists children, a listed folder and page without any section.
    {
        TexIniFile obj(Dir() + u"objprps"_qs, 40, true);
        obj.WriteString(u"TopFolder"_qs, u"Item9999990"_qs, FldrId(9000));
        obj.WriteString(u"TopFolder"_qs, u"Item9999991"_qs, PageId(9000));
        obj.WriteString(u"TopFolder"_qs, u"Item9999992"_qs, FldrId(9001));
        obj.WriteString(FldrId(9001), u"Item0000001"_qs, PageId(9001));
        obj.WriteString(PageId(9001), u"Name"_qs, u"kept"_qs);
        obj.EraseSection(u"TrashFolder"_qs);
        obj.UpdateFile();
    }
    ReopenStores();
    const QMap<QString, QByteArray> before = Contents(Dir());

    Ctx().writable = false;
    BuildFromSnapshots();
    top->SetWritable(false);
    EXPECT_EQ(trash->Name(), u"Papierkorb"_qs);
    KvObject* unnamed = FindObject(FldrId(9001));
    ASSERT_NE(unnamed, nullptr);
    EXPECT_EQ(unnamed->Name(), u"*unbenannt*"_qs);
    EXPECT_EQ(unnamed->ChildCount(), 1);
    DestroyModel();
    CloseStores();

    const QMap<QString, QByteArray> after = Contents(Dir());
    EXPECT_EQ(before.keys(), after.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_TRUE(after.value(it.key()) == it.value()) << it.key().toStdString();
    OpenStores();
}

TEST_F(NotebookBuildTest, WritableBuildGivesNewElementsTheirSections)
{
    Generate(50);
    {
        TexIniFile obj(Dir() + u"objprps"_qs, 40, true);
        obj.WriteString(u"TopFolder"_qs, u"Item9999990"_qs, FldrId(9000));
        obj.UpdateFile();
    }
    ReopenStores();
    BuildFromSnapshots();
    EXPECT_EQ(Obj().ReadString(FldrId(9000), u"Name"_qs, QString()), u"*unbenannt*"_qs);
}

TEST_F(NotebookBuildTest, ProtectedGeneratedPagesOpenWithTheirPassword)
{
    const KvGeneratedNotebook nb = Generate(400);
    ASSERT_FALSE(nb.passwords.isEmpty());
    ReopenStores();
    BuildFromSnapshots();
    for (auto it = nb.passwords.cbegin(); it != nb.passwords.cend(); ++it) {
        auto* page = dynamic_cast<KvPage*>(FindObject(it.key()));
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(page->IsProtected());
        EXPECT_TRUE(page->CheckPassword(it.value()));
        page->SetPassword(it.value(), false);
        page->Load(false, false);
        EXPECT_TRUE(page->GetEditor()->PlainText().startsWith(nb.names.value(it.key())));
        page->Unload();
    }
}

} // namespace
