#include "modelfixture.h"
#include "platform/kvfileseam.h"
#include "store/texmeminifile.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>
#include <csignal>
#include <functional>
#include <memory>
#include <vector>

using namespace korvtest;

namespace {

constexpr int kChildren = 450;

// The child list of a folder as a reader of the files finds it: items in key order,
// following the continuation chain.
QStringList ChildListOnDisk(const QString& dir, const QString& id)
{
    QStringList files;
    for (const QString& name : QDir(dir).entryList({u"objprps.*"_qs}, QDir::Files, QDir::Name))
        files.append(dir + name);
    TexMemIniFile snap(files);
    QStringList ids;
    QString section = id;
    QStringList seen{section};
    while (snap.FindSection(section)) {
        const QStringList keys = snap.ReadSection(section);
        QString next;
        for (const QString& key : keys) {
            if (key.startsWith(u"Item"_qs))
                ids.append(snap.ReadString(section, key, QString()));
            else if (key == u"Continuation"_qs)
                next = snap.ReadString(section, key, QString());
        }
        if (next.isEmpty() || seen.contains(next))
            break;
        seen.append(next);
        section = next;
    }
    return ids;
}

// The big folder's children as the fixture has them.
QStringList Original()
{
    QStringList ids;
    for (int i = 1; i <= kChildren; ++i)
        ids.append(PageId(i));
    return ids;
}

// A folder of 450 pages whose list spans three members: the folder's own section in a full
// objprps.001, the two continuation sections in objprps.002 and objprps.003. A second folder
// holds 100 more pages.
class ChildListCrash : public ModelFixture
{
protected:
    void WriteFixture()
    {
        for (const QString& name : QDir(Dir()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(Dir() + name);
        QByteArray first = "[Filler]\r\nfill=" + QByteArray(41 * 1024, 'x') + "\r\n";
        first += "[TopFolder]\r\nName=Top\r\nItem0000001=" + FldrId(1).toUtf8() +
                 "\r\nItem0000002=" + FldrId(2).toUtf8() + "\r\n";
        first += "[" + FldrId(1).toUtf8() + "]\r\nName=Gross\r\n";
        QByteArray second;
        QByteArray third;
        QByteArray* part = &first;
        for (int i = 1; i <= kChildren; ++i) {
            if (i == 201) {
                first += "Continuation=Ext0000001\r\n";
                second += "[Ext0000001]\r\n";
                part = &second;
            } else if (i == 401) {
                second += "Continuation=Ext0000002\r\n";
                third += "[Ext0000002]\r\n";
                part = &third;
            }
            *part += Item(i, i);
        }
        third += "[" + FldrId(2).toUtf8() + "]\r\nName=Rest\r\n";
        for (int i = kChildren + 1; i <= kChildren + 100; ++i)
            third += Item(i - kChildren, i);
        for (int i = 1; i <= kChildren + 100; ++i)
            second += "[" + PageId(i).toUtf8() + "]\r\nName=S" + QByteArray::number(i) + "\r\n";
        WriteAll(Dir() + u"objprps.001"_qs, first);
        WriteAll(Dir() + u"objprps.002"_qs, second);
        WriteAll(Dir() + u"objprps.003"_qs, third);
    }

    static QByteArray Item(int number, int page)
    {
        return "Item" + QByteArray::number(number).rightJustified(7, '0') + "=" +
               PageId(page).toUtf8() + "\r\n";
    }

    // Children taken out of the list belong to the test.
    std::vector<std::unique_ptr<KvObject>> m_taken;
};

TEST_F(ChildListCrash, FixtureSpansThreeMembers)
{
    WriteFixture();
    EXPECT_EQ(ChildListOnDisk(Dir(), FldrId(1)), Original());
    ReopenStores();
    Build();
    ASSERT_EQ(top->ChildCount(), 2);
    EXPECT_EQ(top->Children()[0]->ChildCount(), kChildren);
}

struct ListChange
{
    const char* name;
    // Changes the list of the big folder; the other folder is the second argument.
    std::function<void(KvObject&, KvObject&, std::vector<std::unique_ptr<KvObject>>&)> change;
    std::function<QStringList()> expected;
};

void PrintTo(const ListChange& c, std::ostream* os)
{
    *os << c.name;
}

const ListChange kChanges[] = {
    {"first child to the end: every section changes",
     [](KvObject& f, KvObject&, auto&) {
         KvObject* first = f.Children()[0];
         f.RemoveChild(first);
         f.AddChild(first, true);
     },
     [] {
         QStringList ids;
         for (int i = 2; i <= kChildren; ++i)
             ids.append(PageId(i));
         return ids << PageId(1);
     }},
    {"first two swapped: only the folder's own section changes",
     [](KvObject& f, KvObject&, auto&) { f.Children()[0]->MoveDown(); },
     [] {
         QStringList ids{PageId(2), PageId(1)};
         for (int i = 3; i <= kChildren; ++i)
             ids.append(PageId(i));
         return ids;
     }},
    {"shrunk to 150: the continuations go",
     [](KvObject& f, KvObject&, auto& taken) {
         while (f.ChildCount() > 150) {
             KvObject* last = f.Children().last();
             f.RemoveChild(last);
             taken.emplace_back(last);
         }
     },
     [] {
         QStringList ids;
         for (int i = 1; i <= 150; ++i)
             ids.append(PageId(i));
         return ids;
     }},
    {"grown by 100: a third continuation",
     [](KvObject& f, KvObject& other, auto&) {
         while (other.ChildCount() > 0) {
             KvObject* moved = other.Children().first();
             other.RemoveChild(moved);
             f.AddChild(moved, true);
         }
     },
     [] {
         QStringList ids;
         for (int i = 1; i <= kChildren + 100; ++i)
             ids.append(PageId(i));
         return ids;
     }},
    {"one appended: the last section changes in place",
     [](KvObject& f, KvObject& other, auto&) {
         KvObject* moved = other.Children().first();
         other.RemoveChild(moved);
         f.AddChild(moved, true);
     },
     [] { return Original() << PageId(kChildren + 1); }},
    {"last removed: the last section changes in place",
     [](KvObject& f, KvObject&, auto& taken) {
         KvObject* last = f.Children().last();
         f.RemoveChild(last);
         taken.emplace_back(last);
     },
     [] { return Original().mid(0, kChildren - 1); }},
    {"two swapped in the middle section only",
     [](KvObject& f, KvObject&, auto&) { f.Children()[250]->MoveDown(); },
     [] {
         QStringList ids = Original();
         ids.swapItemsAt(250, 251);
         return ids;
     }},
    {"first and last sections change, the middle one not",
     [](KvObject& f, KvObject&, auto& taken) {
         f.Children()[0]->MoveDown();
         KvObject* last = f.Children().last();
         f.RemoveChild(last);
         taken.emplace_back(last);
     },
     [] {
         QStringList ids = Original().mid(0, kChildren - 1);
         ids.swapItemsAt(0, 1);
         return ids;
     }},
};

class ChildListCrashAt : public ChildListCrash, public ::testing::WithParamInterface<ListChange>
{
};

// Every write of the object store from the nth on fails, as if the process died there; what
// the files hold then must be the old list or the new one, never a part of either.
TEST_P(ChildListCrashAt, AnyWriteLeavesTheOldOrTheNewList)
{
    const ListChange& c = GetParam();
    const QStringList changed = c.expected();
    bool completed = false;
    for (int nth = 1; nth < 200 && !completed; ++nth) {
        CloseStores();
        WriteFixture();
        OpenStores();
        Build();
        c.change(*top->Children()[0], *top->Children()[1], m_taken);
        {
            KvFileSeam::Scope crash({KvFileSeam::AnyWrite, u"*/objprps.*"_qs, nth, EIO, true});
            try {
                top->Children()[0]->KvObject::Store();
            } catch (const KvException&) {
            }
            completed = KvFileSeam::Injected() == 0;
            // Nothing more reaches the disk: the stores go with their changes.
            m_taken.clear();
            DestroyModel();
            CloseStores();
        }
        const QStringList onDisk = ChildListOnDisk(Dir(), FldrId(1));
        if (completed)
            EXPECT_EQ(onDisk, changed) << "write " << nth;
        else
            EXPECT_TRUE(onDisk == Original() || onDisk == changed)
                << "crash at write " << nth << ": " << onDisk.size() << " children";
        OpenStores();
        if (HasFailure())
            return;
    }
    EXPECT_TRUE(completed);
}

INSTANTIATE_TEST_SUITE_P(Changes, ChildListCrashAt, ::testing::ValuesIn(kChanges));

// A real writer process, killed at random moments while it stores the big folder again and
// again, each time with the first child moved to the end.
TEST_F(ChildListCrash, KilledWriterLeavesACompleteList)
{
    CloseStores();
    WriteFixture();
    const QStringList original = Original();
    QRandomGenerator rng(20260310);
    for (int round = 0; round < 30; ++round) {
        QProcess child;
        child.start(QString::fromUtf8(KORV_CHILDLISTCHILD), {Dir()});
        ASSERT_TRUE(child.waitForStarted(10000));
        if (round % 5 != 0) {
            ASSERT_TRUE(child.waitForReadyRead(30000)) << "the writer never stored the folder";
        }
        QThread::msleep(rng.bounded(0, 80));
        ::kill(pid_t(child.processId()), SIGKILL);
        ASSERT_TRUE(child.waitForFinished(10000));

        for (const QString& name : QDir(Dir()).entryList({u"objprps.*"_qs}, QDir::Files)) {
            const QByteArray bytes = ReadAll(Dir() + name);
            // A member whose sections all moved on is written empty; anything else ends a line.
            EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n"))
                << "round " << round << ": torn " << name.toStdString();
        }
        // Some rotation of the original list, whole.
        const QStringList onDisk = ChildListOnDisk(Dir(), FldrId(1));
        ASSERT_EQ(onDisk.size(), original.size()) << "round " << round;
        const qsizetype shift = original.indexOf(onDisk.first());
        ASSERT_GE(shift, 0);
        EXPECT_EQ(onDisk, original.mid(shift) + original.first(shift)) << "round " << round;
        if (HasFailure())
            return;
    }
    OpenStores();
}

TEST_F(ChildListCrash, AppendingAChildRewritesOnlyTheLastMember)
{
    WriteFixture();
    ReopenStores();
    Build();
    const QByteArray first = ReadAll(Dir() + u"objprps.001"_qs);
    const QByteArray second = ReadAll(Dir() + u"objprps.002"_qs);
    KvObject* folder = top->Children()[0];
    KvObject* other = top->Children()[1];
    KvObject* moved = other->Children().first();
    other->RemoveChild(moved);
    folder->AddChild(moved, true);
    KvFileSeam::Scope count({KvFileSeam::AnyWrite, u"*/objprps.*"_qs, 1000, EIO, false});
    folder->KvObject::Store();
    EXPECT_EQ(KvFileSeam::Seen(), 4) << "one member: open, write, sync, rename";
    EXPECT_EQ(ReadAll(Dir() + u"objprps.001"_qs), first);
    EXPECT_EQ(ReadAll(Dir() + u"objprps.002"_qs), second);
    EXPECT_EQ(ChildListOnDisk(Dir(), FldrId(1)), Original() << PageId(kChildren + 1));
}

TEST_F(ChildListCrash, StoringAnUnchangedListWritesNothing)
{
    WriteFixture();
    ReopenStores();
    Build();
    const QByteArray before = ReadAll(Dir() + u"objprps.001"_qs) +
                              ReadAll(Dir() + u"objprps.002"_qs) +
                              ReadAll(Dir() + u"objprps.003"_qs);
    KvFileSeam::Scope seam({KvFileSeam::AnyWrite, u"*/objprps.*"_qs, 1, EIO, true});
    top->Children()[0]->KvObject::Store();
    top->Children()[1]->KvObject::Store();
    EXPECT_EQ(KvFileSeam::Seen(), 0);
    EXPECT_EQ(ReadAll(Dir() + u"objprps.001"_qs) + ReadAll(Dir() + u"objprps.002"_qs) +
                  ReadAll(Dir() + u"objprps.003"_qs),
              before);
}

} // namespace
