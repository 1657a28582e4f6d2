// The element chooser on a small hand-made notebook: titles and kinds, when OK may be
// pressed, preselection, double click and Esc.
#include "app/kvscriptedprompter.h"
#include "app/kvtexts.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "store/kvdirstores.h"
#include "support/testenv.h"
#include "ui/kvelementtreemodel.h"
#include "ui/tobjselectf.h"

#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

// Top: Fldr1 (Page1, Fldr2 (Page2)), Page3; trash: Page4.
class Chooser : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = env.Dir(u"data"_qs);
        KvDirStores::Reopen(dir);
        ctx.dataDir = dir;
        KvDirContext::SetCurrent(&ctx);
        KvPrompter::SetCurrent(&prompter);
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        trash = std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
        top->SetName(u"Notizen"_qs);
        trash->SetName(u"Papierkorb"_qs);
        auto* f1 = folder(u"Fldr0000001"_qs, top.get(), u"Projekte"_qs);
        page(u"Page0000001"_qs, f1, u"Plan"_qs);
        auto* f2 = folder(u"Fldr0000002"_qs, f1, u"Alt"_qs);
        page(u"Page0000002"_qs, f2, u"Archiv"_qs);
        page(u"Page0000003"_qs, top.get(), u"Einkauf"_qs);
        page(u"Page0000004"_qs, trash.get(), u"Entwurf"_qs);
    }
    void TearDown() override
    {
        top.reset();
        trash.reset();
        KvPrompter::SetCurrent(nullptr);
        KvDirContext::SetCurrent(nullptr);
        KvDirStores::Close();
    }

    static KvFolder* folder(const QString& id, KvFolder* parent, const QString& name)
    {
        auto* f = new KvFolder(id, parent, KvFolder::NormalFolder, true);
        f->SetName(name);
        return f;
    }
    static KvPage* page(const QString& id, KvFolder* parent, const QString& name)
    {
        auto* p = new KvPage(id, parent, true);
        p->SetName(name);
        return p;
    }

    std::unique_ptr<TObjSelectF> Open(const QString& kind, const QString& preselect)
    {
        auto d = std::make_unique<TObjSelectF>(QList<KvFolder*>{top.get(), trash.get()}, kind,
                                               preselect, nullptr);
        d->show();
        return d;
    }

    // Every name the chooser's tree can show, depth first.
    static QStringList Names(const QAbstractItemModel& m, const QModelIndex& parent = {})
    {
        QStringList names;
        for (int r = 0; r < m.rowCount(parent); ++r) {
            const QModelIndex i = m.index(r, 0, parent);
            names.append(i.data().toString());
            names += Names(m, i);
        }
        return names;
    }

    korvtest::SandboxEnv env;
    QString dir;
    KvDirContext ctx;
    KvScriptedPrompter prompter;
    std::unique_ptr<KvFolder> top;
    std::unique_ptr<KvFolder> trash;
};

TEST_F(Chooser, TitlesAndOkRuleByKind)
{
    EXPECT_EQ(TObjSelectF::TitleText(u"Fldr"_qs), 13001);
    EXPECT_EQ(TObjSelectF::TitleText(u"Page"_qs), 13002);
    EXPECT_EQ(TObjSelectF::TitleText(QString()), 13000);

    KvObject* aFolder = FindObject(u"Fldr0000001"_qs);
    KvObject* aPage = FindObject(u"Page0000001"_qs);
    const struct
    {
        const char16_t* kind;
        KvObject* selected;
        bool ok;
    } kCases[] = {
        {u"", nullptr, false},     {u"", aFolder, true},     {u"", aPage, true},
        {u"Fldr", nullptr, false}, {u"Fldr", aFolder, true}, {u"Page", nullptr, false},
        {u"Page", aFolder, false}, {u"Page", aPage, true},   {u"Page", top.get(), false},
    };
    for (const auto& c : kCases) {
        const QString kind = QString::fromUtf16(c.kind);
        EXPECT_EQ(TObjSelectF::OkAllowed(kind, c.selected), c.ok)
            << kind.toStdString() << " " << (c.selected ? c.selected->Id().toStdString() : "-");
    }
    for (const QString& kind : {u"Fldr"_qs, u"Page"_qs, QString()}) {
        auto d = Open(kind, QString());
        EXPECT_EQ(d->windowTitle(), KvTexts::Text(TObjSelectF::TitleText(kind)));
        EXPECT_EQ(d->Selected(), nullptr);
        EXPECT_FALSE(d->OkEnabled());
    }
}

TEST_F(Chooser, FoldersOnlyLeavesThePagesOut)
{
    auto folders = Open(u"Fldr"_qs, u"Fldr0000002"_qs);
    EXPECT_EQ(Names(*folders->Tree()->model()),
              (QStringList{u"Notizen"_qs, u"Projekte"_qs, u"Alt"_qs, u"Papierkorb"_qs}));
    // The preselected folder is selected and shown: its ancestors are open.
    ASSERT_NE(folders->Selected(), nullptr);
    EXPECT_EQ(folders->Selected()->Id(), u"Fldr0000002"_qs);
    EXPECT_TRUE(folders->OkEnabled());
    const auto* model = static_cast<const KvElementTreeModel*>(folders->Tree()->model());
    EXPECT_TRUE(folders->Tree()->isExpanded(model->IndexOf(FindObject(u"Fldr0000001"_qs))));
    EXPECT_TRUE(folders->Tree()->isExpanded(model->IndexOf(top.get())));
    // A folder without sub-folders shows no branch to open.
    EXPECT_FALSE(model->hasChildren(model->IndexOf(FindObject(u"Fldr0000002"_qs))));
    EXPECT_FALSE(model->hasChildren(model->IndexOf(trash.get())));

    // A page is no choice among folders: nothing is preselected.
    auto noPage = Open(u"Fldr"_qs, u"Page0000001"_qs);
    EXPECT_EQ(noPage->Selected(), nullptr);
    EXPECT_FALSE(noPage->OkEnabled());

    auto all = Open(QString(), u"Page0000002"_qs);
    EXPECT_EQ(Names(*all->Tree()->model()),
              (QStringList{u"Notizen"_qs, u"Projekte"_qs, u"Plan"_qs, u"Alt"_qs, u"Archiv"_qs,
                           u"Einkauf"_qs, u"Papierkorb"_qs, u"Entwurf"_qs}));
    EXPECT_EQ(all->Selected()->Id(), u"Page0000002"_qs);
}

TEST_F(Chooser, OkFollowsTheSelectionAndDoubleClickPressesIt)
{
    auto d = Open(u"Page"_qs, u"Fldr0000001"_qs);
    QTreeView* tree = d->Tree();
    EXPECT_EQ(d->Selected()->Id(), u"Fldr0000001"_qs);
    EXPECT_FALSE(d->OkEnabled());
    EXPECT_FALSE(d->findChild<QPushButton*>(u"OKBtn"_qs)->isEnabled());

    // A double click on a folder does nothing when a page is wanted.
    const auto* model = static_cast<const KvElementTreeModel*>(tree->model());
    const QModelIndex folderIndex = model->IndexOf(FindObject(u"Fldr0000001"_qs));
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {},
                       tree->visualRect(folderIndex).center());
    EXPECT_TRUE(d->isVisible());

    ASSERT_TRUE(d->Select(u"Page0000001"_qs));
    EXPECT_TRUE(d->OkEnabled());
    const QModelIndex pageIndex = model->IndexOf(FindObject(u"Page0000001"_qs));
    tree->scrollTo(pageIndex);
    const QPoint at = tree->visualRect(pageIndex).center();
    // A double click follows a click, as with a real mouse.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->Selected()->Id(), u"Page0000001"_qs);
}

TEST_F(Chooser, AMouseClickWithNothingPreselectedEnablesOk)
{
    // The click moves the current index before it selects: OK must follow the selection.
    auto d = Open(QString(), QString());
    EXPECT_FALSE(d->OkEnabled());
    QTreeView* tree = d->Tree();
    const auto* model = static_cast<const KvElementTreeModel*>(tree->model());
    const QModelIndex index = model->IndexOf(FindObject(u"Page0000003"_qs));
    ASSERT_TRUE(index.isValid());
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    ASSERT_NE(d->Selected(), nullptr);
    EXPECT_EQ(d->Selected()->Id(), u"Page0000003"_qs);
    EXPECT_TRUE(d->OkEnabled());
}

TEST_F(Chooser, EscapeCancelsAndExecuteGivesTheChoice)
{
    auto d = Open(u"Fldr"_qs, u"Fldr0000001"_qs);
    QTest::keyClick(d->Tree(), Qt::Key_Escape);
    EXPECT_EQ(d->result(), QDialog::Rejected);

    prompter.AnswerDialogWith(
        [] {
            TObjSelectF* active = TObjSelectF::Active();
            EXPECT_TRUE(active->Select(u"Fldr0000002"_qs));
            active->accept();
            return active->result();
        },
        TObjSelectF::DialogName);
    TObjSelectF chooser({top.get(), trash.get()}, u"Fldr"_qs, u"Fldr0000001"_qs, nullptr);
    KvObject* chosen = chooser.Execute();
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Id(), u"Fldr0000002"_qs);

    prompter.AnswerDialog(QDialog::Rejected, TObjSelectF::DialogName);
    TObjSelectF cancelled({top.get(), trash.get()}, u"Fldr"_qs, u"Fldr0000001"_qs, nullptr);
    EXPECT_EQ(cancelled.Execute(), nullptr);
    EXPECT_FALSE(prompter.Unexpected());
}

} // namespace
