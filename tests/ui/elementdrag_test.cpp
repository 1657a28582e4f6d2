// Dragging elements: the payload and the drop rule as tables, then drags in the window by
// synthetic events: accepted, refused, from another process, into the trash, from a press
// that moved (dropped and cancelled), from a tab, over the page area, and the auto-scroll.
#include "commands/kvelementdrag.h"
#include "elementwindow.h"
#include "ui/kvelementdragdrop.h"
#include "ui/kvelementhooks.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

namespace {

using korvtest::WaitUntil;

const qint64 kPid = QCoreApplication::applicationPid();

std::unique_ptr<QMimeData> Mime(const QString& dir, qint64 pid, const QStringList& ids)
{
    return std::unique_ptr<QMimeData>(KvElementDrag{dir, pid, ids}.ToMime());
}

TEST(ElementDragPayload, EncodesAndRefusesWhatIsNoPayload)
{
    const KvElementDrag d{u"/daten/notizen/"_qs, 4711, {u"Page0000001"_qs, u"Fldr0000002"_qs}};
    const std::optional<KvElementDrag> back = KvElementDrag::Decode(d.Encode());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->dataDir, d.dataDir);
    EXPECT_EQ(back->pid, 4711);
    EXPECT_EQ(back->ids, d.ids);

    for (const char* bad : {"", "/d/", "/d/\n12", "/d/\nzwölf\nPage0000001", "/d/\n-3\nPage0000001",
                            "\n12\nPage0000001", "/d/\n12\n", "/d/\n12\nPage0000001\n"})
        EXPECT_FALSE(KvElementDrag::Decode(QByteArray(bad))) << bad;

    QMimeData text;
    text.setText(u"Page0000001"_qs);
    EXPECT_FALSE(KvElementDrag::FromMime(&text));
    EXPECT_FALSE(KvElementDrag::FromMime(nullptr));

    const struct
    {
        const char16_t* dir;
        qint64 pid;
        bool ours;
    } kCases[] = {
        {u"/daten/notizen/", 4711, true},
        {u"/daten/notizen", 4711, true},
        {u"/daten/notizen/", 4712, false},
        {u"/daten/andere/", 4711, false},
    };
    for (const auto& c : kCases)
        EXPECT_EQ((KvElementDrag{QString::fromUtf16(c.dir), c.pid, {u"Page0000001"_qs}}.IsOurs(
                      4711, u"/daten/notizen/"_qs)),
                  c.ours)
            << QString::fromUtf16(c.dir).toStdString() << " " << c.pid;
}

TEST(ElementDragPayload, AutoScrollAtTheEdges)
{
    const struct
    {
        int y, step;
    } kCases[] = {{-10, -1}, {0, -1}, {4, -1}, {5, 0}, {100, 0}, {194, 0}, {195, 1}, {230, 1}};
    for (const auto& c : kCases)
        EXPECT_EQ(TexTreeView::AutoScrollStep(c.y, 200), c.step) << c.y;
}

class ElementDrag : public korvtest::ElementWindow
{
protected:
    void SetUp() override
    {
        ElementWindow::SetUp();
        MakeNotebook([this](KvFolder& top, KvFolder&) {
            KvElementFactory f;
            folder(f, u"Fldr0000003"_qs, top, u"Ziel"_qs);
        });
        Open();
        // Every node visible in a tree tall enough.
        Tree()->expandAll();
        window->resize(1200, 900);
        Idle();
    }

    QPoint At(const QString& id)
    {
        QTreeWidgetItem* node = NodeOf(id);
        EXPECT_NE(node, nullptr) << id.toStdString();
        Tree()->scrollToItem(node);
        return Tree()->visualItemRect(node).center();
    }
    // Qt hands drag moves and drops only to the widget that took the drag's entry.
    void Enter(const QMimeData* mime, QPoint at, QWidget* target = nullptr)
    {
        QDragEnterEvent enter(at, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target ? target : Tree()->viewport(), &enter);
    }
    // A drag move over the element's node; whether the tree accepts a drop there.
    bool MoveOver(const QMimeData* mime, const QString& id)
    {
        Enter(mime, At(id));
        QDragMoveEvent e(At(id), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Tree()->viewport(), &e);
        return e.isAccepted();
    }
    bool DropOn(const QMimeData* mime, const QString& id)
    {
        Enter(mime, At(id));
        QDropEvent e(QPointF(At(id)), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Tree()->viewport(), &e);
        return e.isAccepted();
    }
    QString Status() const { return window->StatusPanelText(0); }
    QString Parent(const QString& id) const
    {
        KvObject* obj = FindObject(id);
        return obj && obj->Parent() ? obj->Parent()->Id() : QString();
    }
    // Presses on the element's node and moves the mouse past the drag threshold, held.
    void PressAndMove(QWidget* target, QPoint at)
    {
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &press);
        const QPoint to = at + QPoint(QApplication::startDragDistance() + 2, 0);
        QMouseEvent move(QEvent::MouseMove, to, target->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }
    // Drags end in a drop on the element (or nowhere: empty), without the platform's loop.
    void DragsDropOn(const QString& id)
    {
        TexTreeView::DragRunner runner = [this, id](QDrag* drag) {
            ++dragsRun;
            dragged = KvElementDrag::FromMime(drag->mimeData())->ids;
            if (id.isEmpty())
                return Qt::IgnoreAction;
            const bool accepted = MoveOver(drag->mimeData(), id) && DropOn(drag->mimeData(), id);
            return accepted ? Qt::MoveAction : Qt::IgnoreAction;
        };
        Tree()->SetDragRunner(runner);
        window->Elements().drag->SetDragRunner(runner);
    }

    int dragsRun = 0;
    QStringList dragged;
};

TEST_F(ElementDrag, TheDropRuleOverTheTree)
{
    const struct
    {
        const char16_t* drag;
        const char16_t* over;
        bool accepted;
        int status;
    } kCases[] = {
        {u"Page0000004", u"Fldr0000003", true, 5012},  // a page onto a folder
        {u"Page0000004", u"TopFolder", true, 5012},    // onto its own folder
        {u"Page0000004", u"TrashFolder", true, 5012},  // into the trash
        {u"Page0000004", u"Page0000005", false, 5010}, // onto a page
        {u"Fldr0000001", u"Fldr0000001", false, 5010}, // a folder onto itself
        {u"Fldr0000001", u"Fldr0000002", false, 5011}, // onto its own sub-folder
        {u"Fldr0000001", u"Page0000001", false, 5011}, // onto a page inside it
        {u"Fldr0000002", u"TopFolder", true, 5012},    // onto its parent's parent
        {u"Fldr0000002", u"Fldr0000001", true, 5012},  // onto its own parent
    };
    for (const auto& c : kCases) {
        const QString drag = QString::fromUtf16(c.drag), over = QString::fromUtf16(c.over);
        SCOPED_TRACE(drag.toStdString() + " over " + over.toStdString());
        const auto mime = Mime(KvPaths::DataDir(), kPid, {drag});
        EXPECT_EQ(KvJudgeDrop(mime.get(), FindObject(over), kPid, KvPaths::DataDir()).accepted,
                  c.accepted);
        EXPECT_EQ(MoveOver(mime.get(), over), c.accepted);
        EXPECT_EQ(Status(), KvTexts::Text(c.status));
    }
    // Refused: another process, another directory, an unknown id, no node.
    const std::unique_ptr<QMimeData> refused[] = {
        Mime(KvPaths::DataDir(), kPid + 1, {u"Page0000004"_qs}),
        Mime(env.Dir(u"andere"_qs), kPid, {u"Page0000004"_qs}),
        Mime(KvPaths::DataDir(), kPid, {u"Page0009999"_qs}),
    };
    for (const auto& mime : refused) {
        EXPECT_FALSE(MoveOver(mime.get(), u"Fldr0000003"_qs));
        EXPECT_EQ(Status(), KvTexts::Text(5010));
    }
    const auto ours = Mime(KvPaths::DataDir(), kPid, {u"Page0000004"_qs});
    EXPECT_EQ(KvJudgeDrop(ours.get(), nullptr, kPid, KvPaths::DataDir()).accepted, false);
}

TEST_F(ElementDrag, AnAcceptedDropMovesARefusedOneChangesNothing)
{
    const auto page = Mime(KvPaths::DataDir(), kPid, {u"Page0000004"_qs});
    EXPECT_FALSE(DropOn(page.get(), u"Page0000005"_qs));
    const auto other = Mime(KvPaths::DataDir(), kPid + 1, {u"Page0000004"_qs});
    EXPECT_FALSE(DropOn(other.get(), u"Fldr0000003"_qs));
    const auto below = Mime(KvPaths::DataDir(), kPid, {u"Fldr0000001"_qs});
    EXPECT_FALSE(DropOn(below.get(), u"Fldr0000002"_qs));
    Idle();
    EXPECT_EQ(Parent(u"Page0000004"_qs), u"TopFolder"_qs);
    EXPECT_EQ(Parent(u"Fldr0000001"_qs), u"TopFolder"_qs);

    EXPECT_TRUE(DropOn(page.get(), u"Fldr0000003"_qs));
    ASSERT_TRUE(WaitUntil([this] { return Parent(u"Page0000004"_qs) == u"Fldr0000003"_qs; }));
    EXPECT_EQ(NodeNames(u"Fldr0000003"_qs), u"Einkauf"_qs);
    // The moved page is shown.
    EXPECT_TRUE(WaitUntil(
        [this] { return window->ShownPage() && window->ShownPage()->Id() == u"Page0000004"_qs; }));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ElementDrag, ADropIntoTheTrashAsksAsADelete)
{
    const auto folder = Mime(KvPaths::DataDir(), kPid, {u"Fldr0000002"_qs});
    prompter.Answer(KvAnswer::No);
    EXPECT_TRUE(DropOn(folder.get(), u"TrashFolder"_qs));
    ASSERT_TRUE(WaitUntil([this] { return prompter.Messages().size() == 1; }));
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Text(5003));
    Idle();
    EXPECT_EQ(Parent(u"Fldr0000002"_qs), u"Fldr0000001"_qs);

    prompter.Answer(KvAnswer::Yes);
    EXPECT_TRUE(DropOn(folder.get(), u"TrashFolder"_qs));
    ASSERT_TRUE(WaitUntil([this] { return Parent(u"Fldr0000002"_qs) == u"TrashFolder"_qs; }));
    EXPECT_EQ(Names(u"Fldr0000002"_qs), u"Archiv"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ElementDrag, APressThatMovesDragsAndDropsWithoutShowingThePressedNode)
{
    Show(u"Page0000001"_qs);
    DragsDropOn(u"Fldr0000003"_qs);
    PressAndMove(Tree()->viewport(), At(u"Page0000005"_qs));
    EXPECT_EQ(dragsRun, 1);
    EXPECT_EQ(dragged, QStringList{u"Page0000005"_qs});
    EXPECT_EQ(Parent(u"Page0000005"_qs), u"Fldr0000003"_qs);
    Idle();
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000005"_qs);

    // A cancelled drag (Esc) moves nothing and shows nothing new: the press was no click.
    DragsDropOn(QString());
    PressAndMove(Tree()->viewport(), At(u"Page0000004"_qs));
    EXPECT_EQ(dragsRun, 2);
    // A release after the drag completes no click.
    const QPoint at = At(u"Page0000004"_qs);
    QMouseEvent release(QEvent::MouseButtonRelease, at, Tree()->viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Tree()->viewport(), &release);
    Idle();
    Idle();
    EXPECT_EQ(Parent(u"Page0000004"_qs), u"TopFolder"_qs);
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000005"_qs);
    EXPECT_EQ(KvTreeNode::ObjectOf(Tree()->currentItem())->Id(), u"Page0000005"_qs);
    EXPECT_NE(Status(), KvTexts::Text(5010));
    EXPECT_NE(Status(), KvTexts::Text(5012));
}

TEST_F(ElementDrag, SomeElementsDoNotDrag)
{
    DragsDropOn(u"Fldr0000003"_qs);
    // The roots never; a write-protected page not with WPNoMousePageMove.
    for (const QString& id : {u"TopFolder"_qs, u"TrashFolder"_qs}) {
        PressAndMove(Tree()->viewport(), At(id));
        EXPECT_EQ(dragsRun, 0) << id.toStdString();
    }
    Find<KvPage>(u"Page0000004"_qs)->SetWriteProtect(true);
    PressAndMove(Tree()->viewport(), At(u"Page0000004"_qs));
    EXPECT_EQ(dragsRun, 0);
    SetOption(u"WPNoMousePageMove"_qs, false);
    prompter.Answer(KvAnswer::Yes); // the move of a write-protected page asks
    PressAndMove(Tree()->viewport(), At(u"Page0000004"_qs));
    EXPECT_EQ(dragsRun, 1);
    EXPECT_EQ(prompter.Messages().last().text, KvTexts::Text(5015) + u' ' + KvTexts::Text(5016));
    EXPECT_EQ(Parent(u"Page0000004"_qs), u"Fldr0000003"_qs);
    EXPECT_FALSE(prompter.Unexpected());
    // Read-only: nothing drags.
    Close();
    Open(u"/dr"_qs);
    Tree()->expandAll();
    DragsDropOn(u"Fldr0000003"_qs);
    PressAndMove(Tree()->viewport(), At(u"Page0000005"_qs));
    EXPECT_EQ(dragsRun, 1);
}

TEST_F(ElementDrag, ATabDragsItsPageAndThePageAreaTakesNoDrop)
{
    Show(u"Page0000002"_qs);
    auto* tabs = window->findChild<QTabWidget*>(u"PagePC"_qs);
    QTabBar* bar = tabs->tabBar();
    ASSERT_EQ(tabs->tabText(tabs->currentIndex()), u"Notiz"_qs);

    // Over the page area: refused with 5018.
    const auto mime = Mime(KvPaths::DataDir(), kPid, {u"Page0000002"_qs});
    Enter(mime.get(), bar->tabRect(0).center(), bar);
    QDragMoveEvent over(bar->tabRect(0).center(), Qt::MoveAction, mime.get(), Qt::LeftButton,
                        Qt::NoModifier);
    QApplication::sendEvent(bar, &over);
    EXPECT_FALSE(over.isAccepted());
    EXPECT_EQ(Status(), KvTexts::Text(5018));

    // A press on a tab that is not shown changes the tab, no drag.
    DragsDropOn(u"Fldr0000003"_qs);
    PressAndMove(bar, bar->tabRect(0).center());
    EXPECT_EQ(dragsRun, 0);
    QMouseEvent release(QEvent::MouseButtonRelease, bar->tabRect(0).center(),
                        bar->mapToGlobal(bar->tabRect(0).center()), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
    Idle();
    ASSERT_EQ(window->ShownPage()->Id(), u"Page0000001"_qs);
    // A press on the tab shown drags its page.
    PressAndMove(bar, bar->tabRect(bar->currentIndex()).center());
    EXPECT_EQ(dragsRun, 1);
    EXPECT_EQ(dragged, QStringList{u"Page0000001"_qs});
    EXPECT_EQ(Parent(u"Page0000001"_qs), u"Fldr0000003"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ElementDrag, ADragAtAnEdgeScrollsTheTreeByNodes)
{
    // Enough nodes to scroll: a tree a few nodes high.
    Tree()->setFixedHeight(Tree()->visualItemRect(NodeOf(u"TopFolder"_qs)).height() * 4 + 10);
    Idle();
    QScrollBar* bar = Tree()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    Tree()->scrollToTop();
    const auto mime = Mime(KvPaths::DataDir(), kPid, {u"Page0000004"_qs});
    QTreeWidgetItem* first = Tree()->itemAt(QPoint(1, 1));
    const QPoint bottom(20, Tree()->viewport()->height() - 2);
    Enter(mime.get(), QPoint(20, 20));
    QDragMoveEvent down(bottom, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Tree()->viewport(), &down);
    EXPECT_EQ(Tree()->itemAt(QPoint(1, 1)), Tree()->itemBelow(first));
    const QPoint middle(20, Tree()->viewport()->height() / 2);
    QDragMoveEvent still(middle, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Tree()->viewport(), &still);
    QDragMoveEvent up(QPoint(20, 2), Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Tree()->viewport(), &up);
    EXPECT_EQ(Tree()->itemAt(QPoint(1, 1)), first);
    QDragLeaveEvent leave;
    QApplication::sendEvent(Tree()->viewport(), &leave);
}

} // namespace
