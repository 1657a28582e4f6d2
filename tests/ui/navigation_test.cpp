#include "app/kvdirprops.h"
#include "app/kvlockdirectory.h"
#include "app/kvpaths.h"
#include "app/kvscriptedprompter.h"
#include "app/kvtexts.h"
#include "model/kvdircontext.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvsectionnames.h"
#include "model/kvstatusimages.h"
#include "richtext/texrichedit.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"
#include "support/testenv.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"
#include "ui/tpasswordf.h"

#include <QDirIterator>
#include <QEventLoop>
#include <QFileInfo>
#include <QHeaderView>
#include <QMap>
#include <QSplitter>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

QMap<QString, QByteArray> Contents(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, korvtest::ReadAll(path));
    }
    return files;
}

class Navigation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
        dir = env.Dir(u"notes"_qs);
    }
    void TearDown() override
    {
        window.reset();
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
        KvLockDirectory::SetProcessCheck({});
        KvDirStores::Close();
    }

    KvGeneratedNotebook Generate(int elements, int protectedPercent = 0)
    {
        KvGeneratorOptions o;
        o.seed = 5;
        o.elements = elements;
        o.protectedPercent = protectedPercent;
        o.trashPercent = 5;
        return KvNotebookGenerator::Generate(dir, o);
    }

    TMainF& Open(const QStringList& extra = {}, const QString& mode = u"/d"_qs)
    {
        window.reset();
        window = std::make_unique<TMainF>(QStringList{mode, dir} + extra);
        window->resize(1800, 900);
        window->show();
        Settle();
        // A tree wide enough to click deep nodes.
        if (auto* sp = window->findChild<QSplitter*>(u"FldrPageSp"_qs))
            sp->setSizes({900, 900});
        Tree()->setMinimumWidth(500);
        Tree()->header()->setStretchLastSection(false);
        Tree()->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        Settle();
        return *window;
    }

    void Close()
    {
        window->close();
        window.reset();
    }

    TexTreeView* Tree() { return window->findChild<TexTreeView*>(u"FolderTv"_qs); }

    // Lets the events run until the window's idle pass has run once more: clicks are
    // completed, command states and the status bar are up to date.
    void Settle()
    {
        const int before = window->IdlePasses();
        ASSERT_TRUE(korvtest::WaitUntil([&] { return window->IdlePasses() > before; }));
    }

    // A left click on the element's node, completed by the idle pass.
    void Click(KvObject* obj)
    {
        QTreeWidgetItem* node = nullptr;
        if (auto* p = dynamic_cast<KvTVPage*>(obj))
            node = p->Node();
        else if (auto* f = dynamic_cast<KvTVFolder*>(obj))
            node = f->Node();
        ASSERT_NE(node, nullptr);
        for (QTreeWidgetItem* p = node->parent(); p; p = p->parent())
            p->setExpanded(true);
        Settle();
        Tree()->scrollToItem(node);
        Settle();
        const QRect r = Tree()->visualItemRect(node);
        const QPoint at(qMin(r.center().x(), r.x() + 8), r.center().y());
        ASSERT_TRUE(Tree()->viewport()->rect().contains(at));
        QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, at);
        Settle();
    }

    // The first page of the notebook below the top folder (depth first).
    QString FirstPage(const KvGeneratedNotebook& nb, const QString& folder = u"TopFolder"_qs,
                      const QString& except = {})
    {
        for (const QString& id : nb.children.value(folder)) {
            auto* page = dynamic_cast<KvPage*>(FindObject(id));
            if (id.contains(u"Page"_qs) && id != except && !nb.passwords.contains(id) &&
                !nb.referrers.contains(id) && (!page || !page->GetWriteProtect()))
                return id;
            if (id.contains(u"Fldr"_qs)) {
                const QString inner = FirstPage(nb, id, except);
                if (!inner.isEmpty())
                    return inner;
            }
        }
        return {};
    }

    korvtest::SandboxEnv env;
    KvScriptedPrompter prompter;
    QString dir;
    std::unique_ptr<TMainF> window;
};

void ExpectNodes(const KvGeneratedNotebook& nb, QTreeWidgetItem* node, const QString& id)
{
    const QStringList& expected = nb.children.value(id);
    ASSERT_EQ(node->childCount(), expected.size()) << id.toStdString();
    for (int i = 0; i < expected.size(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        KvObject* obj = KvTreeNode::ObjectOf(child);
        ASSERT_NE(obj, nullptr);
        ASSERT_EQ(obj->Id(), expected[i]);
        EXPECT_EQ(child->text(0), nb.names.value(expected[i]));
        const int image = child->data(0, TexTreeView::ImageRole).toInt();
        if (auto* page = dynamic_cast<KvPage*>(obj)) {
            EXPECT_EQ(image, KvStatusImages::StatusBase + page->GetStatus());
            const int state = page->GetWriteProtect() ? KvStatusImages::Lock : -1;
            EXPECT_EQ(child->data(0, TexTreeView::StateImageRole).toInt(), state);
            EXPECT_EQ(TexTreeView::NodeKind(child), KvNodeKind::Page);
        } else {
            auto* folder = dynamic_cast<KvFolder*>(obj);
            ASSERT_NE(folder, nullptr);
            EXPECT_EQ(image, KvStatusImages::ForFolder(folder->GetStatus()));
            EXPECT_EQ(TexTreeView::NodeKind(child), KvNodeKind::Folder);
            ExpectNodes(nb, child, expected[i]);
        }
        EXPECT_FALSE(child->icon(0).isNull());
    }
}

TEST_F(Navigation, TreeShowsEveryElementInOrderWithItsImages)
{
    const KvGeneratedNotebook nb = Generate(300);
    TMainF& w = Open();
    TexTreeView* tree = Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    QTreeWidgetItem* top = tree->topLevelItem(0);
    QTreeWidgetItem* trash = tree->topLevelItem(1);
    EXPECT_EQ(top->data(0, TexTreeView::ImageRole).toInt(), KvStatusImages::TopFolder);
    EXPECT_EQ(trash->data(0, TexTreeView::ImageRole).toInt(), KvStatusImages::TrashFolder);
    EXPECT_EQ(KvTreeNode::ObjectOf(top), w.TopFolder());
    ExpectNodes(nb, top, u"TopFolder"_qs);
    ExpectNodes(nb, trash, u"TrashFolder"_qs);
    int locks = 0;
    for (const QString& id : nb.pageIds) {
        auto* page = dynamic_cast<KvTVPage*>(FindObject(id));
        locks += page->Node()->data(0, TexTreeView::StateImageRole).toInt() == KvStatusImages::Lock
                     ? 1
                     : 0;
    }
    EXPECT_GT(locks, 0);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Navigation, ClickingAPageShowsItAndSwitchingSavesTheEditedText)
{
    const KvGeneratedNotebook nb = Generate(80);
    TMainF& w = Open();
    const QString first = FirstPage(nb);
    const QString second = FirstPage(nb, u"TopFolder"_qs, first);
    ASSERT_FALSE(second.isEmpty());
    auto* page = dynamic_cast<KvTVPage*>(FindObject(first));
    Click(page);
    ASSERT_EQ(w.ShownPage(), page);
    ASSERT_NE(page->EditorWidget(), nullptr);
    EXPECT_EQ(w.CurrentFolder(), page->Parent());
    EXPECT_EQ(page->EditorWidget()->toPlainText(), page->GetEditor()->PlainText());
    EXPECT_TRUE(w.StatusPanelText(0).startsWith(KvTexts::Text(11030)))
        << w.StatusPanelText(0).toStdString();

    page->EditorWidget()->setFocus();
    page->EditorWidget()->moveCursor(QTextCursor::End);
    QTest::keyClicks(page->EditorWidget(), u"Zusatz"_qs);
    Settle();
    EXPECT_EQ(w.StatusPanelText(0), KvTexts::Text(5350));
    EXPECT_TRUE(w.ModifiedIndicator());

    auto* other = dynamic_cast<KvTVPage*>(FindObject(second));
    Click(other);
    ASSERT_EQ(w.ShownPage(), other);
    EXPECT_FALSE(page->IsLoaded());
    EXPECT_TRUE(korvtest::ReadAll(page->ContentFilePath()).contains("Zusatz"));
    KvDirStores::PageStore().UpdateFile();
    EXPECT_TRUE(KvDirStores::PageStore().ValueExists(first, u"SelStart"_qs));
    EXPECT_GT(KvDirStores::PageStore().ReadInteger(first, u"SelStart"_qs, 0), 0);
}

TEST_F(Navigation, ExitSavesAndTheNextStartShowsTheLastPage)
{
    const KvGeneratedNotebook nb = Generate(60);
    QString first;
    {
        TMainF& w = Open();
        first = FirstPage(nb);
        auto* page = dynamic_cast<KvTVPage*>(FindObject(first));
        Click(page);
        ASSERT_EQ(w.ShownPage(), page);
        page->EditorWidget()->moveCursor(QTextCursor::End);
        QTest::keyClicks(page->EditorWidget(), u"Ende"_qs);
        EXPECT_TRUE(page->GetEditor()->IsModified());
        Close();
    }
    EXPECT_TRUE(korvtest::ReadAll(dir + first + u".kvp").contains("Ende"));
    TMainF& w = Open();
    ASSERT_NE(w.ShownPage(), nullptr);
    EXPECT_EQ(w.ShownPage()->Id(), first);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Navigation, CommandLineIdWinsOverTheLastPage)
{
    const KvGeneratedNotebook nb = Generate(60);
    const QString first = FirstPage(nb);
    const QString second = FirstPage(nb, u"TopFolder"_qs, first);
    TMainF& w = Open({u"/id"_qs, second});
    ASSERT_NE(second, first);
    ASSERT_NE(w.ShownPage(), nullptr);
    EXPECT_EQ(w.ShownPage()->Id(), second);
}

TEST_F(Navigation, LostElementsLandInTheRecoveryFolderOnce)
{
    const KvGeneratedNotebook nb = Generate(60);
    // Take one page and one folder out of their parents' lists, as a crash could leave them.
    QString lostPage, lostFolder;
    {
        KvDirStores::Reopen(dir);
        TexIniFile& obj = KvDirStores::ObjectStore();
        for (const QString& id : nb.children.value(u"TopFolder"_qs)) {
            if (lostFolder.isEmpty() && id.contains(u"Fldr"_qs) && !nb.children.value(id).isEmpty())
                lostFolder = id;
        }
        QString pageParent;
        for (auto it = nb.children.cbegin(); it != nb.children.cend() && lostPage.isEmpty(); ++it) {
            if (it.key() == lostFolder || it.key() == u"TrashFolder")
                continue;
            for (const QString& id : it.value()) {
                if (id.contains(u"Page"_qs) && !nb.referrers.contains(id) &&
                    !nb.referrers.values().contains(id) && !nb.passwords.contains(id)) {
                    lostPage = id;
                    pageParent = it.key();
                    break;
                }
            }
        }
        ASSERT_FALSE(lostPage.isEmpty());
        ASSERT_FALSE(lostFolder.isEmpty());
        QHash<QString, QStringList> lists = nb.children;
        const auto unlist = [&obj, &lists](const QString& parent, const QString& id) {
            QStringList& kept = lists[parent];
            kept.removeAll(id);
            for (const QString& key : obj.ReadSection(parent)) {
                if (key.startsWith(u"Item"_qs))
                    obj.DeleteKey(parent, key);
            }
            for (int i = 0; i < kept.size(); ++i)
                obj.WriteString(parent, KvSectionNames::ItemKey(i + 1), kept[i]);
        };
        unlist(u"TopFolder"_qs, lostFolder);
        unlist(pageParent, lostPage);
        obj.UpdateFile();
        KvDirStores::Close();
    }
    prompter.Answer(KvAnswer::Ok);
    TMainF& w = Open();
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].title, KvTexts::Text(5071));
    EXPECT_EQ(prompter.Messages()[0].kind, KvMsgKind::Info);
    KvObject* recovery = w.TopFolder()->Children().last();
    EXPECT_TRUE(recovery->Name().startsWith(u"Verlorene Elemente, wiederhergestellt am "_qs));
    EXPECT_TRUE(prompter.Messages()[0].text.contains(u"'" + recovery->Name() + u"'"));
    ASSERT_EQ(recovery->ChildCount(), 2);
    QStringList ids = {recovery->Children()[0]->Id(), recovery->Children()[1]->Id()};
    EXPECT_TRUE(ids.contains(lostPage));
    EXPECT_TRUE(ids.contains(lostFolder));
    EXPECT_EQ(FindObject(lostFolder)->ChildCount(), nb.children.value(lostFolder).size());
    EXPECT_EQ(w.CurrentFolder(), recovery);
    EXPECT_EQ(w.ShownFolder(), recovery);
    Close();

    prompter.Clear();
    TMainF& again = Open();
    EXPECT_TRUE(prompter.Messages().isEmpty());
    EXPECT_EQ(again.TopFolder()->Children().last()->ChildCount(), 2);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Navigation, ReadOnlySessionsChangeNoByte)
{
    const KvGeneratedNotebook nb = Generate(80);
    korvtest::WriteAll(dir + u"ReadMe.txt", "notes\r\n");
    // Read-only by the command line, and a second instance while another one holds the lock.
    for (const bool foreignLock : {false, true}) {
        SCOPED_TRACE(foreignLock ? "locked by another instance" : "/dr");
        prompter.Clear();
        if (foreignLock) {
            korvtest::WriteAll(dir + u"lockdir.dat",
                               "otherbox\r\nother\r\n10.12.2026 08:00:00\r\nN\r\n777\r\n");
            KvLockDirectory::SetProcessCheck([](qint64 pid) { return pid == 777; });
            prompter.Answer(KvAnswer::Ok);
        }
        const QMap<QString, QByteArray> before = Contents(dir);
        TMainF& w = Open({}, foreignLock ? u"/d"_qs : u"/dr"_qs);
        EXPECT_FALSE(w.Shell().fullAccess);
        int clicked = 0;
        for (const QString& id : nb.pageIds) {
            if (nb.passwords.contains(id) || clicked >= 5)
                continue;
            auto* page = dynamic_cast<KvTVPage*>(FindObject(id));
            if (!page || !page->Node())
                continue;
            Click(page);
            ASSERT_EQ(w.ShownPage(), page);
            EXPECT_EQ(w.StatusPanelText(4), KvTexts::Text(5201));
            EXPECT_EQ(page->LastStateImage(), -1);
            EXPECT_EQ(w.StatusPanelText(3), QString()) << "nothing to insert into";
            QTest::keyClicks(page->EditorWidget(), u"x"_qs);
            ++clicked;
        }
        EXPECT_EQ(clicked, 5);
        int writeProtected = 0;
        for (const QString& id : nb.pageIds) {
            auto* page = dynamic_cast<KvTVPage*>(FindObject(id));
            ASSERT_NE(page, nullptr);
            EXPECT_FALSE(page->GetWritable());
            EXPECT_EQ(page->Node()->data(0, TexTreeView::StateImageRole).toInt(), -1);
            writeProtected += page->GetWriteProtect() ? 1 : 0;
        }
        EXPECT_GT(writeProtected, 0) << "no lock image on write-protected pages";
        w.TopFolder()->Node()->setExpanded(false);
        w.TopFolder()->Node()->setExpanded(true);
        w.Action(u"FolderExpandAllA"_qs)->trigger();
        Close();
        EXPECT_EQ(Contents(dir), before);
        EXPECT_FALSE(prompter.Unexpected());
    }
}

TEST_F(Navigation, ProtectedPageAsksAndAWrongPasswordLeavesItLocked)
{
    const KvGeneratedNotebook nb = Generate(60, 40);
    QString id;
    for (const QString& p : nb.pageIds) {
        if (nb.passwords.contains(p) && !nb.referrers.contains(p) && FindObject(p) == nullptr) {
            id = p;
            break;
        }
    }
    ASSERT_FALSE(id.isEmpty());
    // The start shows some page; protected ones on the way are refused.
    for (int i = 0; i < 5; ++i)
        prompter.AnswerDialog(KvAnswer::Cancel, TPasswordF::DialogName);
    TMainF& w = Open();
    auto* page = dynamic_cast<KvTVPage*>(FindObject(id));
    ASSERT_NE(page, nullptr);
    prompter.Clear();
    prompter.AnswerDialogWith(
        [] {
            TPasswordF::Active()->SetPassword(u"falsch"_qs);
            return int(KvAnswer::Ok);
        },
        TPasswordF::DialogName);
    Click(page);
    EXPECT_EQ(w.ShownPage(), nullptr);
    EXPECT_FALSE(page->IsLoaded());
    EXPECT_FALSE(page->IsUnlocked());
    ASSERT_NE(page->PasswordNotice(), nullptr);
    EXPECT_TRUE(page->PasswordNotice()->text().contains(KvTexts::Text(5510)));
    EXPECT_EQ(w.StatusPanelText(4), QString());

    const QString right = nb.passwords.value(id);
    prompter.AnswerDialogWith(
        [right] {
            TPasswordF::Active()->SetPassword(right);
            return int(KvAnswer::Ok);
        },
        TPasswordF::DialogName);
    w.SelectObjectWithID(id);
    w.FolderTvChange();
    EXPECT_EQ(w.ShownPage(), page);
    EXPECT_TRUE(page->IsLoaded());
    EXPECT_TRUE(page->PasswordNotice()->isHidden());
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Navigation, ExpandAndCollapseAllStoreTheState)
{
    Generate(120);
    TMainF& w = Open();
    w.SelectObjectWithID(u"TopFolder"_qs);
    w.FolderTvChange();
    ASSERT_EQ(w.CurrentFolder(), w.TopFolder());
    w.UpdateCommandStates();
    ASSERT_TRUE(w.Action(u"FolderExpandAllA"_qs)->isEnabled());
    const QList<KvObject*> all = CollectDescendants(w.TopFolder());
    for (bool expand : {true, false}) {
        w.Action(expand ? u"FolderExpandAllA"_qs : u"FolderCollapseAllA"_qs)->trigger();
        int folders = 0;
        for (KvObject* obj : all) {
            auto* f = dynamic_cast<KvTVFolder*>(obj);
            if (!f)
                continue;
            ++folders;
            EXPECT_EQ(f->Node()->isExpanded(), expand) << f->Id().toStdString();
            EXPECT_EQ(KvDirStores::FolderStore().ReadBool(f->Id(), u"Expand"_qs, !expand), expand);
        }
        EXPECT_GT(folders, 0);
    }
}

TEST_F(Navigation, FoldersWithoutPagesSayWhy)
{
    TMainF& w = Open();
    auto* label = w.findChild<QLabel*>(u"NoPagesLbl"_qs);
    w.SelectObjectWithID(u"TopFolder"_qs);
    w.FolderTvChange();
    EXPECT_EQ(label->text(), u"\r\n"_qs + KvTexts::Text(5500) + u"\r\n"_qs);
    EXPECT_FALSE(label->isHidden());
    EXPECT_TRUE(w.findChild<QTabWidget*>(u"PagePC"_qs)->isHidden());

    auto* sub = new KvTVFolder(KvDirStores::ObjectStore().NewSectionName(u"Fldr"_qs), w.TopFolder(),
                               KvFolder::NormalFolder, true);
    w.SelectObjectWithID(sub->Id());
    w.FolderTvChange();
    EXPECT_EQ(w.ShownFolder(), sub);
    w.SelectObjectWithID(u"TopFolder"_qs);
    w.FolderTvChange();
    EXPECT_EQ(label->text(), u"\r\n"_qs + KvTexts::Text(5501) + u"\r\n"_qs);
}

} // namespace

namespace {

// Top: Alpha (no tabs; pages A1, A2), Beta (stored expanded; Gamma (pages "Seite & Co",
// C2)), page T1.
struct SmallNotebook
{
    QString alpha, beta, gamma, a1, a2, c1, c2, t1;
};

SmallNotebook MakeSmallNotebook(const QString& dir)
{
    SmallNotebook ids;
    KvDirStores::Reopen(dir);
    KvDirContext ctx;
    ctx.dataDir = dir;
    KvDirContext::SetCurrent(&ctx);
    {
        auto top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        auto trash =
            std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
        TexIniFile& obj = KvDirStores::ObjectStore();
        auto folder = [&obj](KvFolder* parent, const QString& name) {
            auto* f = new KvFolder(obj.NewSectionName(u"Fldr"_qs), parent, 0, true);
            f->SetName(name);
            return f;
        };
        auto page = [&obj, &dir](KvFolder* parent, const QString& name) {
            auto* p = new KvPage(obj.NewSectionName(u"Page"_qs), parent, true);
            p->SetName(name);
            korvtest::WriteAll(dir + p->Id() + u".kvp",
                               "{\\rtf1\\ansi " + name.toLatin1() + "\\par}");
            return p;
        };
        KvFolder* alpha = folder(top.get(), u"Alpha"_qs);
        alpha->SetTabModeInherited(false);
        alpha->SetTabMode(KvFolder::NoTabs);
        ids.alpha = alpha->Id();
        ids.a1 = page(alpha, u"A1"_qs)->Id();
        ids.a2 = page(alpha, u"A2"_qs)->Id();
        KvFolder* beta = folder(top.get(), u"Beta"_qs);
        ids.beta = beta->Id();
        KvFolder* gamma = folder(beta, u"Gamma"_qs);
        ids.gamma = gamma->Id();
        ids.c1 = page(gamma, u"Seite & Co"_qs)->Id();
        ids.c2 = page(gamma, u"C2"_qs)->Id();
        ids.t1 = page(top.get(), u"T1"_qs)->Id();
        for (KvObject* o : CollectDescendants(top.get()))
            o->Store();
        top->Store();
        trash->Store();
        KvDirStores::FolderStore().WriteBool(ids.beta, u"Expand"_qs, true);
        KvDirStores::FolderStore().UpdateFile();
    }
    KvDirContext::SetCurrent(nullptr);
    KvDirStores::Close();
    return ids;
}

template <class T> T* Obj(const QString& id)
{
    return dynamic_cast<T*>(FindObject(id));
}

TEST_F(Navigation, FolderWithoutTabsOpensItsNodeOnlyWhileShown)
{
    const SmallNotebook ids = MakeSmallNotebook(dir);
    TMainF& w = Open();
    auto* alpha = Obj<KvTVFolder>(ids.alpha);
    auto* beta = Obj<KvTVFolder>(ids.beta);
    ASSERT_NE(alpha, nullptr);
    EXPECT_TRUE(beta->Node()->isExpanded()) << "stored as expanded";
    EXPECT_FALSE(alpha->Node()->isExpanded());

    Click(alpha);
    auto* a1 = Obj<KvTVPage>(ids.a1);
    ASSERT_EQ(w.ShownPage(), a1);
    EXPECT_EQ(a1->Tab(), nullptr);
    EXPECT_TRUE(a1->EditorWidget()->toPlainText().startsWith(u"A1"_qs));
    EXPECT_TRUE(alpha->Node()->isExpanded());
    EXPECT_EQ(w.TempExpandedFolder(), alpha);
    EXPECT_TRUE(w.findChild<QTabWidget*>(u"PagePC"_qs)->tabBar()->isHidden());

    Click(Obj<KvTVPage>(ids.t1));
    EXPECT_EQ(w.ShownPage(), Obj<KvPage>(ids.t1));
    EXPECT_FALSE(alpha->Node()->isExpanded());
    EXPECT_EQ(w.TempExpandedFolder(), nullptr);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Navigation, TabsShowNamesLiterallyAndAClickOnATabShowsItsPage)
{
    const SmallNotebook ids = MakeSmallNotebook(dir);
    TMainF& w = Open();
    auto* c1 = Obj<KvTVPage>(ids.c1);
    auto* c2 = Obj<KvTVPage>(ids.c2);
    Click(c1);
    ASSERT_EQ(w.ShownPage(), c1);
    auto* area = w.findChild<QTabWidget*>(u"PagePC"_qs);
    ASSERT_NE(c1->Tab(), nullptr);
    EXPECT_EQ(area->tabText(area->indexOf(c1->Tab())), u"Seite && Co"_qs);
    EXPECT_EQ(area->count(), 2);
    EXPECT_FALSE(area->tabBar()->isHidden());
    EXPECT_EQ(w.StatusPanelText(1), KvTexts::Text(11200)) << "a page without status";
    c1->EditorWidget()->SetSelection(2, 0);
    Settle();
    EXPECT_EQ(w.StatusPanelText(2), u"1/3"_qs);
    EXPECT_EQ(w.StatusPanelText(3), KvTexts::Text(4100));

    area->setCurrentWidget(c2->Tab());
    EXPECT_EQ(w.ShownPage(), c2);
    EXPECT_FALSE(c1->IsLoaded());
    EXPECT_EQ(Obj<KvFolder>(ids.gamma)->ActivePageId(), ids.c2);

    // The node of the shown page clicked again reloads nothing.
    TexRichEdit* editor = c2->EditorWidget();
    Click(c2);
    EXPECT_EQ(c2->EditorWidget(), editor);
}

TEST_F(Navigation, CollapseAtStartClosesEveryFolderBelowTheTop)
{
    const SmallNotebook ids = MakeSmallNotebook(dir);
    {
        TMainF& w = Open();
        Click(Obj<KvTVPage>(ids.c1));
        ASSERT_EQ(w.ShownPage(), Obj<KvPage>(ids.c1));
        Close();
    }
    KvDirProps props(dir);
    props.SetCollapseFldrAtStart(true);
    props.Store();
    TMainF& w = Open();
    EXPECT_FALSE(Obj<KvTVFolder>(ids.beta)->Node()->isExpanded());
    EXPECT_TRUE(w.TopFolder()->Node()->isExpanded());
    EXPECT_EQ(w.CurrentFolder(), w.TopFolder()) << "the last page is not chosen";
    EXPECT_EQ(w.ShownPage(), Obj<KvPage>(ids.t1));
}

TEST_F(Navigation, ArrowKeysMoveTheHighlightAndEnterShowsIt)
{
    const SmallNotebook ids = MakeSmallNotebook(dir);
    TMainF& w = Open();
    Click(Obj<KvTVPage>(ids.c1));
    ASSERT_EQ(w.ShownPage(), Obj<KvPage>(ids.c1));
    TexTreeView* tree = Tree();
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    Settle();
    EXPECT_EQ(KvTreeNode::ObjectOf(tree->currentItem()), Obj<KvObject>(ids.c2));
    EXPECT_EQ(w.ShownPage(), Obj<KvPage>(ids.c1)) << "the highlight alone shows nothing";
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(w.ShownPage(), Obj<KvPage>(ids.c2));

    // A right click leaves the selection for the context menu.
    QTreeWidgetItem* t1 = Obj<KvTVPage>(ids.t1)->Node();
    const QRect r = tree->visualItemRect(t1);
    QTest::mouseClick(tree->viewport(), Qt::RightButton, {}, QPoint(r.x() + 8, r.center().y()));
    Settle();
    EXPECT_EQ(KvTreeNode::ObjectOf(tree->currentItem()), Obj<KvObject>(ids.c2));
    EXPECT_EQ(w.ShownPage(), Obj<KvPage>(ids.c2));
}

TEST_F(Navigation, GroupDirectoryNamesTheLastEditor)
{
    const SmallNotebook ids = MakeSmallNotebook(dir);
    KvDirProps props(dir);
    props.SetGroupDir(true);
    props.Store();
    TMainF& w = Open();
    auto* c1 = Obj<KvTVPage>(ids.c1);
    Click(c1);
    ASSERT_EQ(w.ShownPage(), c1);
    EXPECT_FALSE(w.StatusPanelText(0).contains(u'['));
    c1->EditorWidget()->moveCursor(QTextCursor::End);
    QTest::keyClicks(c1->EditorWidget(), u"neu"_qs);
    Click(Obj<KvTVPage>(ids.c2));
    Click(c1);
    ASSERT_EQ(w.ShownPage(), c1);
    const QString text = w.StatusPanelText(0);
    EXPECT_TRUE(text.startsWith(KvTexts::Text(11030) + u' ')) << text.toStdString();
    EXPECT_TRUE(text.endsWith(u" [tester]"_qs)) << text.toStdString();
}

TEST_F(Navigation, AccessSwitchShowsTheSamePageAgain)
{
    const SmallNotebook ids = MakeSmallNotebook(dir);
    TMainF& w = Open();
    Click(Obj<KvTVPage>(ids.c1));
    ASSERT_EQ(w.ShownPage(), Obj<KvPage>(ids.c1));
    KvDirProps props(dir);
    props.SetFullAccess(false);
    props.Store();
    w.UpdateDirectoryAccess(dir, true);
    Settle();
    EXPECT_FALSE(w.Shell().fullAccess);
    EXPECT_FALSE(w.Shell().switchingAccess);
    ASSERT_NE(w.ShownPage(), nullptr);
    EXPECT_EQ(w.ShownPage()->Id(), ids.c1);
    EXPECT_FALSE(w.ShownPage()->GetWritable());
    EXPECT_EQ(w.StatusPanelText(4), KvTexts::Text(5201));
    EXPECT_FALSE(QFileInfo::exists(dir + u"lockdir.dat"));
}

TEST_F(Navigation, TemporaryActionKeepsTheSelection)
{
    const SmallNotebook ids = MakeSmallNotebook(dir);
    TMainF& w = Open();
    auto* c1 = Obj<KvTVPage>(ids.c1);
    Click(c1);
    ASSERT_EQ(w.ShownPage(), c1);
    KvPage* seen = nullptr;
    w.SetTempElements(Obj<KvPage>(ids.t1), w.TopFolder());
    w.TempActionOnNavTree(true, [&] { seen = w.CurrentPage(); });
    EXPECT_EQ(seen, Obj<KvPage>(ids.t1));
    EXPECT_EQ(KvTreeNode::ObjectOf(Tree()->currentItem()), c1);
    EXPECT_EQ(w.ShownPage(), c1);
    EXPECT_EQ(w.CurrentFolder(), Obj<KvFolder>(ids.gamma));
}

TEST_F(Navigation, PointerGuardSavesAndForgetsElementsThatGo)
{
    const SmallNotebook ids = MakeSmallNotebook(dir);
    TMainF& w = Open();
    auto* c1 = Obj<KvTVPage>(ids.c1);
    Click(c1);
    ASSERT_EQ(w.ShownPage(), c1);
    c1->EditorWidget()->moveCursor(QTextCursor::End);
    QTest::keyClicks(c1->EditorWidget(), u"gesichert"_qs);
    w.CheckPointer(Obj<KvObject>(ids.beta), true);
    EXPECT_EQ(w.ShownPage(), nullptr);
    EXPECT_EQ(w.CurrentPage(), nullptr);
    EXPECT_EQ(w.CurrentFolder(), nullptr);
    EXPECT_FALSE(c1->IsLoaded());
    EXPECT_TRUE(korvtest::ReadAll(c1->ContentFilePath()).contains("gesichert"));

    // An element destroyed without the guard still leaves no pointer behind.
    auto* t1 = Obj<KvTVPage>(ids.t1);
    Click(t1);
    ASSERT_EQ(w.ShownPage(), t1);
    w.TopFolder()->RemoveChild(t1);
    delete t1;
    EXPECT_EQ(w.ShownPage(), nullptr);
    EXPECT_EQ(w.CurrentPage(), nullptr);
    Settle();
}

} // namespace
