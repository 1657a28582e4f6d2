// check and check --repair on generated, hand-made and corrupted notebooks.
#include "clifixture.h"
#include "model/blowfishvcl.h"
#include "store/texinifile.h"
#include "model/kvrescuefiles.h"

#include <QDir>
#include <QFile>
#include <functional>

using namespace korvtest;

namespace {

void Replace(const QString& path, const QByteArray& from, const QByteArray& to)
{
    QByteArray bytes = ReadAll(path);
    ASSERT_TRUE(bytes.contains(from)) << path.toStdString() << " lacks " << from.toStdString();
    bytes.replace(bytes.indexOf(from), from.size(), to);
    WriteAll(path, bytes);
}

// Removes the child-list line that names id.
void RemoveListing(const QString& path, const QString& id)
{
    QByteArray bytes = ReadAll(path);
    const qsizetype at = bytes.indexOf(QByteArray('=' + id.toLatin1() + "\r\n"));
    ASSERT_GE(at, 0) << id.toStdString();
    const qsizetype start = bytes.lastIndexOf('\n', at) + 1;
    bytes.remove(start, at + id.size() + 3 - start);
    WriteAll(path, bytes);
}

// A page of the generated notebook that is neither a referrer nor protected, and one that is.
QString PlainPage(const KvGeneratedNotebook& nb)
{
    for (const QString& id : nb.pageIds) {
        if (!nb.referrers.contains(id) && !nb.passwords.contains(id))
            return id;
    }
    return QString();
}

struct Corruption
{
    const char* name;
    std::function<void(const QString& dir, const KvGeneratedNotebook& nb)> apply;
    const char* finding; // part of one finding line
};

const Corruption kCorruptions[] = {
    {"TruncatedMemberFile",
     [](const QString& dir, const KvGeneratedNotebook&) {
         QByteArray bytes = ReadAll(dir + u"objprps.001"_qs);
         const qsizetype lineStart = bytes.indexOf('\n', bytes.size() / 2) + 1;
         WriteAll(dir + u"objprps.001"_qs, bytes.left(lineStart + 3));
     },
     "member file objprps.001 ends inside a line"},
    {"LostPage",
     [](const QString& dir, const KvGeneratedNotebook& nb) {
         RemoveListing(dir + u"objprps.001"_qs, PlainPage(nb));
     },
     "lost element: Page"},
    {"CorruptEncryptedRecord",
     [](const QString& dir, const KvGeneratedNotebook& nb) {
         const QString path = dir + nb.passwords.keys().first() + u".kvp"_qs;
         QByteArray bytes = ReadAll(path);
         bytes[0] = char(bytes[0] + 3); // the encoded length is no multiple of 8 any more
         WriteAll(path, bytes);
     },
     "corrupt encrypted record"},
    {"TruncatedEncryptedFile",
     [](const QString& dir, const KvGeneratedNotebook& nb) {
         const QString path = dir + nb.passwords.keys().first() + u".kvp"_qs;
         QByteArray bytes = ReadAll(path);
         bytes.chop(5);
         WriteAll(path, bytes);
     },
     "runs past the end of the file"},
    {"SectionInTwoMemberFiles",
     [](const QString& dir, const KvGeneratedNotebook& nb) {
         WriteMember(dir + u"objprps.009"_qs, {u'[' + PlainPage(nb) + u']', u"Name=Doppelt"_qs});
     },
     "is in two member files: objprps.001 and objprps.009"},
    {"ChildWithoutSection",
     [](const QString& dir, const KvGeneratedNotebook&) {
         Replace(dir + u"objprps.001"_qs, "[TopFolder]\r\n",
                 "[TopFolder]\r\nItem0009999=Page0999999\r\n");
     },
     "TopFolder lists Page0999999, which has no section"},
    {"IdListedTwice",
     [](const QString& dir, const KvGeneratedNotebook& nb) {
         Replace(dir + u"objprps.001"_qs, "[TrashFolder]\r\n",
                 "[TrashFolder]\r\nItem0009999=" + PlainPage(nb).toLatin1() + "\r\n");
     },
     "is listed twice"},
    {"ReferrerTargetGone",
     [](const QString& dir, const KvGeneratedNotebook& nb) {
         const QString referrer = nb.referrers.keys().first();
         Replace(dir + u"objprps.001"_qs,
                 "[" + referrer.toLatin1() + "]\r\nRef2=" + nb.referrers.value(referrer).toLatin1(),
                 "[" + referrer.toLatin1() + "]\r\nRef2=Page0888888");
     },
     "its target Page0888888 is gone"},
    {"UnparsableLine",
     [](const QString& dir, const KvGeneratedNotebook&) {
         Replace(dir + u"Fldrprps.001"_qs, "[TopFolder]\r\n", "[TopFolder]\r\ngarbage\r\n");
     },
     "member file Fldrprps.001, line 2: unparsable line"},
    {"ContentUnderAnotherKey",
     [](const QString& dir, const KvGeneratedNotebook& nb) {
         // A page of protection class 0 whose content is under another password, as a copy
         // made while a password change waited once left it.
         TexIniFile pages(dir + u"Pageprps"_qs, 40, true);
         for (const QString& id : nb.passwords.keys()) {
             if (pages.ReadInteger(id, u"EncSCl"_qs, 1) != 0)
                 continue;
             WriteAll(dir + id + u".kvp"_qs,
                      BlowFishVCL(QByteArray("anders")).EncryptData("{\\rtf1 Text}"));
             return;
         }
         FAIL() << "no page of protection class 0 generated";
     },
     "does not decrypt to RTF with the password its check value names"},
    {"ContentNotRtf",
     [](const QString& dir, const KvGeneratedNotebook& nb) {
         WriteAll(dir + PlainPage(nb) + u".kvp"_qs, "\x01\x02 binary");
     },
     "is not RTF"},
};

class CheckCorrupt : public CliFixture, public ::testing::WithParamInterface<Corruption>
{
};

TEST_P(CheckCorrupt, FindsTheFaultAndChangesNothing)
{
    const KvGeneratedNotebook nb = Generate(300, 21, 10);
    ASSERT_FALSE(nb.passwords.isEmpty());
    ASSERT_FALSE(nb.referrers.isEmpty());
    ASSERT_EQ(RunCli({u"check"_qs, m_dir}).code, 0);
    GetParam().apply(m_dir, nb);
    const auto before = DirContents(m_dir);
    const CliResult r = RunCli({u"check"_qs, m_dir});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.contains(GetParam().finding)) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("finding(s) in ")) << r.out.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(DirContents(m_dir) == before);
}

INSTANTIATE_TEST_SUITE_P(Faults, CheckCorrupt, ::testing::ValuesIn(kCorruptions),
                         [](const auto& info) { return std::string(info.param.name); });

class CheckRepair : public CliFixture
{
};

TEST_F(CheckRepair, GeneratedNotebookHasNoFindings)
{
    Generate(2000, 4, 5);
    const CliResult r = RunCli({u"check"_qs, m_dir});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.startsWith("no findings in ")) << r.out.toStdString();
}

TEST_F(CheckRepair, APageWithoutContentFileIsEmptyNotAFinding)
{
    const KvGeneratedNotebook nb = Generate(300, 21, 10);
    ASSERT_TRUE(QFile::remove(m_dir + PlainPage(nb) + u".kvp"_qs));
    const CliResult r = RunCli({u"check"_qs, m_dir});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
}

TEST_F(CheckRepair, RescueFilesAreListedAsWaitingNotAsFindings)
{
    const KvGeneratedNotebook nb = Generate(300, 21, 10);
    const QString newer = PlainPage(nb);
    QString older;
    for (const QString& id : nb.pageIds) {
        if (id != newer && !nb.referrers.contains(id) && !nb.passwords.contains(id) &&
            QFile::exists(m_dir + id + u".kvp"_qs)) {
            older = id;
            break;
        }
    }
    ASSERT_FALSE(older.isEmpty());
    const QString folder = KvRescueFiles::Folder(m_dir);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QDateTime now = QDateTime::currentDateTime();
    const auto leave = [&](const QString& id, const QByteArray& bytes, const QDateTime& when) {
        const QString path = KvRescueFiles::PathFor(m_dir, id, u"kvp"_qs);
        WriteAll(path, bytes);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    };
    leave(newer, "{\\rtf1 neuer}", now.addSecs(3600));
    leave(older, "{\\rtf1 alt}", now.addSecs(-24 * 3600 * 365));
    leave(u"Page0999999"_qs, "{\\rtf1 ohne Seite}", now);
    const auto before = DirContents(m_env.Root());
    const CliResult r = RunCli({u"check"_qs, m_dir});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split(u'\n', Qt::SkipEmptyParts);
    QStringList waiting;
    for (const QString& line : lines) {
        if (line.startsWith(u"rescue file waiting: "_qs))
            waiting.append(line);
    }
    ASSERT_EQ(waiting.size(), 3) << r.out.toStdString();
    const auto lineOf = [&](const QString& id) {
        for (const QString& line : waiting) {
            if (line.contains(u'/' + id + u".kvp"_qs))
                return line;
        }
        return QString();
    };
    EXPECT_TRUE(lineOf(newer).contains(u"holds unsaved text of page "_qs + newer))
        << r.out.toStdString();
    EXPECT_TRUE(lineOf(older).contains(u"older than the page's content"_qs)) << r.out.toStdString();
    EXPECT_TRUE(lineOf(u"Page0999999"_qs).contains(u"which is gone"_qs)) << r.out.toStdString();
    EXPECT_TRUE(lines.last().startsWith(u"no findings in "_qs)) << r.out.toStdString();
    EXPECT_TRUE(lines.last().endsWith(u", 3 rescue file(s) waiting"_qs)) << r.out.toStdString();
    EXPECT_TRUE(DirContents(m_env.Root()) == before) << "check writes nothing";
}

TEST_F(CheckRepair, RepairStoresAFolderThatListsAnElementOfAnother)
{
    // A crash between the stores of two folders can leave a moved element in both lists.
    WriteHandMade();
    ASSERT_EQ(RunCli({u"check"_qs, m_dir, u"--repair"_qs}).code, 0);
    QByteArray obj = ReadAll(m_dir + u"objprps.001"_qs);
    obj.replace("[TrashFolder]\r\nName=Papierkorb\r\n",
                "[TrashFolder]\r\nName=Papierkorb\r\nItem0000000=Page0000002\r\n");
    WriteAll(m_dir + u"objprps.001"_qs, obj);
    const CliResult check = RunCli({u"check"_qs, m_dir});
    EXPECT_TRUE(check.out.contains("Page0000002 is listed twice")) << check.out.toStdString();
    const CliResult r = RunCli({u"check"_qs, m_dir, u"--repair"_qs});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    EXPECT_TRUE(r.out.startsWith("stored 1 folder(s) again without the elements listed twice: "
                                 "TrashFolder\n"))
        << r.out.toStdString();
    const QString tree = QString::fromUtf8(RunCli({u"tree"_qs, m_dir}).out);
    EXPECT_EQ(tree.count(u"- Plan"_qs), 1) << tree.toStdString();
}

TEST_F(CheckRepair, HandMadeNotebookHasOneLostPage)
{
    WriteHandMade();
    const CliResult r = RunCli({u"check"_qs, m_dir});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, "lost element: Page0000005 'Verloren' is listed by no folder\n1 finding(s) "
                     "in " +
                         m_dir.toUtf8() + ": 1 folders, 5 pages\n");
}

TEST_F(CheckRepair, RepairCollectsLostElementsOnce)
{
    WriteHandMade();
    const CliResult r = RunCli({u"check"_qs, m_dir, u"--repair"_qs});
    EXPECT_EQ(r.code, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("collected 1 lost element(s) into the folder 'Verlorene "
                                 "Elemente, wiederhergestellt am "))
        << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("no findings"));
    EXPECT_FALSE(QFile::exists(m_dir + u"lockdir.dat"_qs));
    EXPECT_FALSE(QFile::exists(m_dir + u"ReadMe.txt"_qs));

    const QString tree = QString::fromUtf8(RunCli({u"tree"_qs, m_dir, u"--ids"_qs}).out);
    EXPECT_TRUE(tree.contains(u"  + Verlorene Elemente, wiederhergestellt am "_qs))
        << tree.toStdString();
    EXPECT_TRUE(tree.contains(u"]\n    - Verloren [Page0000005]\nPapierkorb"_qs))
        << tree.toStdString();
    EXPECT_FALSE(tree.contains(u"Lost elements"_qs));
    // The recovery folder is stored open, as the window leaves it.
    EXPECT_TRUE(ReadAll(m_dir + u"Fldrprps.001"_qs).contains("[Fldr0000002]\r\n"));
    EXPECT_TRUE(ReadAll(m_dir + u"Fldrprps.001"_qs).contains("Expand=1\r\n"));

    const auto before = DirContents(m_dir);
    const CliResult again = RunCli({u"check"_qs, m_dir, u"--repair"_qs});
    EXPECT_EQ(again.code, 0);
    EXPECT_TRUE(again.out.startsWith("nothing to repair")) << again.out.toStdString();
    EXPECT_TRUE(DirContents(m_dir) == before);
}

TEST_F(CheckRepair, RepairCollectsALostFolderWithItsSubtree)
{
    const KvGeneratedNotebook nb = Generate(500, 8, 0);
    // A folder listed by the top folder, with children.
    QString lost;
    for (const QString& id : nb.children.value(u"TopFolder"_qs)) {
        if (id.contains(u"Fldr"_qs) && !nb.children.value(id).isEmpty()) {
            lost = id;
            break;
        }
    }
    ASSERT_FALSE(lost.isEmpty());
    RemoveListing(m_dir + u"objprps.001"_qs, lost);
    const CliResult check = RunCli({u"check"_qs, m_dir});
    EXPECT_EQ(check.code, 1);
    EXPECT_EQ(check.out.count('\n'), 2) << check.out.toStdString();
    EXPECT_TRUE(check.out.startsWith(QByteArray("lost element: " + lost.toLatin1())))
        << check.out.toStdString();

    const CliResult r = RunCli({u"check"_qs, m_dir, u"--repair"_qs});
    EXPECT_EQ(r.code, 0) << r.out.toStdString();
    const QString tree = QString::fromUtf8(RunCli({u"tree"_qs, m_dir, u"--ids"_qs}).out);
    const qsizetype at = tree.indexOf(u"    + "_qs + nb.names.value(lost) + u" ["_qs + lost);
    ASSERT_GE(at, 0) << tree.toStdString();
    EXPECT_TRUE(tree.lastIndexOf(u"  + Verlorene Elemente"_qs, at) >= 0);
    for (const QString& child : nb.children.value(lost))
        EXPECT_TRUE(tree.contains(u"      "_qs +
                                  (child.contains(u"Fldr"_qs) ? u"+ "_qs : u"- "_qs) +
                                  nb.names.value(child)))
            << child.toStdString();
}

// A damaged object store: after the repair every content file belongs to a page of the
// tree, and no element is left without a name.
struct StoreDamage
{
    const char* name;
    const char* pages;
    const char* folders;
    std::function<void(const QString& dir)> apply;
};

const StoreDamage kStoreDamages[] = {
    {"TruncatedMember", "300", "20",
     [](const QString& dir) { QFile::resize(dir + u"objprps.001"_qs, 10000); }},
    {"DeletedMember", "800", "30",
     [](const QString& dir) {
         // The first member holds the folders' child lists and the first pages.
         ASSERT_TRUE(QFile::exists(dir + u"objprps.002"_qs));
         ASSERT_TRUE(QFile::remove(dir + u"objprps.001"_qs));
     }},
    {"GarbageBytes", "300", "20",
     [](const QString& dir) {
         QByteArray bytes = ReadAll(dir + u"objprps.001"_qs);
         quint32 x = 2463534242u;
         for (qsizetype i = 3000; i < 7000; ++i) {
             x ^= x << 13;
             x ^= x >> 17;
             x ^= x << 5;
             bytes[i] = char(x);
         }
         WriteAll(dir + u"objprps.001"_qs, bytes);
     }},
};

class RepairDamage : public CliFixture, public ::testing::WithParamInterface<StoreDamage>
{
};

TEST_P(RepairDamage, EveryContentFileComesBackWithAName)
{
    const StoreDamage& d = GetParam();
    ASSERT_EQ(RunCli({u"generate"_qs, m_dir, u"--pages"_qs, QString::fromLatin1(d.pages),
                      u"--folders"_qs, QString::fromLatin1(d.folders)})
                  .code,
              0);
    d.apply(m_dir);
    EXPECT_EQ(RunCli({u"check"_qs, m_dir}).code, 1);

    const CliResult r = RunCli({u"check"_qs, m_dir, u"--repair"_qs});
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("named ")) << r.out.toStdString();
    EXPECT_FALSE(r.out.contains("belongs to no page")) << r.out.toStdString();

    const QString tree = QString::fromUtf8(RunCli({u"tree"_qs, m_dir, u"--ids"_qs}).out);
    EXPECT_FALSE(tree.contains(u"Lost elements"_qs));
    for (const QString& line : tree.split(u'\n', Qt::SkipEmptyParts)) {
        const QString item = line.trimmed();
        const bool unnamed = item.startsWith(u"- ["_qs) || item.startsWith(u"+ ["_qs);
        EXPECT_FALSE(unnamed) << "no name: " << line.toStdString();
    }
    const QStringList files = QDir(m_dir).entryList({u"*.kvp"_qs}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& file : files)
        EXPECT_TRUE(tree.contains(u" ["_qs + file.chopped(4) + u']'))
            << file.toStdString() << " is not in the tree";

    const auto repaired = DirContents(m_dir);
    const CliResult again = RunCli({u"check"_qs, m_dir, u"--repair"_qs});
    EXPECT_TRUE(again.out.startsWith("nothing to repair")) << again.out.toStdString();
    EXPECT_TRUE(DirContents(m_dir) == repaired) << "a second repair changes nothing";
}

INSTANTIATE_TEST_SUITE_P(Damages, RepairDamage, ::testing::ValuesIn(kStoreDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckRepair, RepairRefusesADirectoryLockedByAnotherInstance)
{
    WriteHandMade();
    WriteAll(m_dir + u"lockdir.dat"_qs,
             "otherhost\r\nsomeone\r\n10.12.2026 08:00:00\r\nN\r\n4242\r\n");
    const auto before = DirContents(m_dir);
    const CliResult r = RunCli({u"check"_qs, m_dir, u"--repair"_qs});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "korvnote-cli check: the data directory is locked by someone on otherhost; "
                     "close that instance first\n");
    EXPECT_TRUE(DirContents(m_dir) == before);
}

} // namespace
