#include "platform/kvfileseam.h"
#include "store/kvdirstores.h"
#include "store/kvstorebatch.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using korvtest::ReadAll;
using korvtest::WriteAll;

namespace {

// The bytes of every file of the directory, by name.
QMap<QString, QByteArray> Snapshot(const QString& dir)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        files.insert(name, ReadAll(dir + name));
    return files;
}

class StoreBatchTest : public ::testing::Test
{
protected:
    void SetUp() override { KvDirStores::Reopen(data); }
    void TearDown() override { KvDirStores::Close(); }

    // Counts the files the writer puts in place in the data directory (never fails).
    KvFileSeam::Failure Counting() const
    {
        KvFileSeam::Failure f;
        f.ops = KvFileSeam::Rename;
        f.pattern = data + u"*"_qs;
        f.nth = 1 << 30;
        return f;
    }

    // Fills the object store's first member up to its size limit, so that new sections go
    // to a second one.
    void FillFirstMember()
    {
        QByteArray bytes;
        for (int i = 1; bytes.size() < 41 * 1024; ++i)
            bytes += QStringLiteral("[Fill%1]\r\nName=%2\r\n")
                         .arg(i, 7, 10, QLatin1Char('0'))
                         .arg(QString(40, u'x'))
                         .toUtf8();
        WriteAll(data + u"objprps.001"_qs, bytes);
        KvDirStores::Reopen(data);
    }

    korvtest::SandboxEnv env;
    QString data = env.Dir(u"data"_qs);
};

TEST_F(StoreBatchTest, NothingReachesTheDiskBeforeTheEndThenEachMemberOnce)
{
    FillFirstMember();
    TexIniFile& obj = KvDirStores::ObjectStore();
    TexIniFile& page = KvDirStores::PageStore();
    obj.WriteString(u"Fill0000001"_qs, u"Name"_qs, u"before"_qs);
    obj.UpdateFile();
    const auto before = Snapshot(data);
    KvFileSeam::Scope count(Counting());
    {
        KvStoreBatch batch;
        for (int i = 1; i <= 50; ++i) {
            const QString id = obj.NewSectionName(u"Page"_qs);
            obj.WriteString(id, u"Name"_qs, u"page %1"_qs.arg(i));
            obj.UpdateFile();
            page.WriteInteger(id, u"Status"_qs, i);
            page.UpdateFile();
            // A section of the full first member changes too: two object members change.
            obj.WriteString(u"Fill0000001"_qs, u"Name"_qs, u"changed %1"_qs.arg(i));
            obj.UpdateFile();
        }
        EXPECT_EQ(Snapshot(data), before);
        EXPECT_EQ(KvFileSeam::Seen(), 0);
        batch.Commit();
    }
    // objprps.001, objprps.002 and Pageprps.001: one write each, after the journal that
    // names them.
    EXPECT_EQ(KvFileSeam::Seen(), 4);
    KvDirStores::Reopen(data);
    EXPECT_EQ(KvDirStores::ObjectStore().ReadString(u"Page0000050"_qs, u"Name"_qs, {}),
              u"page 50"_qs);
    EXPECT_EQ(KvDirStores::ObjectStore().ReadString(u"Fill0000001"_qs, u"Name"_qs, {}),
              u"changed 50"_qs);
    EXPECT_EQ(KvDirStores::PageStore().ReadInteger(u"Page0000050"_qs, u"Status"_qs, 0), 50);
    EXPECT_TRUE(QFile::exists(data + u"objprps.002"_qs));
}

TEST_F(StoreBatchTest, NewIdsAbsentAndErasedSectionsListTheDirectoryOnce)
{
    FillFirstMember();
    TexIniFile& obj = KvDirStores::ObjectStore();
    obj.ReadSections(); // the index is built
    // Outside a batch every lookup of an absent section lists the directory.
    int scans = obj.DirectoryScans();
    for (int i = 0; i < 5; ++i)
        obj.ReadString(u"Absent%1"_qs.arg(i), u"Name"_qs, {});
    EXPECT_GE(obj.DirectoryScans() - scans, 5);

    KvStoreBatch batch;
    scans = obj.DirectoryScans();
    for (int i = 1; i <= 200; ++i) {
        const QString id = obj.NewSectionName(u"Page"_qs);
        obj.ReadString(id, u"Name"_qs, {}); // absent
        obj.WriteString(id, u"Name"_qs, u"p"_qs);
        obj.EraseSection(id);
        obj.WriteString(id, u"Name"_qs, u"again"_qs);
        obj.UpdateFile();
    }
    EXPECT_LE(obj.DirectoryScans() - scans, 1);
    batch.Commit();
    KvDirStores::Reopen(data);
    EXPECT_EQ(KvDirStores::ObjectStore().ReadString(u"Page0000200"_qs, u"Name"_qs, {}),
              u"again"_qs);
}

TEST_F(StoreBatchTest, MembersStayBelowTheSizeLimitInsideABatch)
{
    TexIniFile& obj = KvDirStores::ObjectStore();
    {
        KvStoreBatch batch;
        for (int i = 1; i <= 3000; ++i) {
            const QString id = obj.NewSectionName(u"Page"_qs);
            obj.WriteString(id, u"Name"_qs, QString(20, u'n'));
        }
        batch.Commit();
    }
    const QStringList members = obj.FileList();
    ASSERT_GE(members.size(), 2);
    for (const QString& path : members)
        EXPECT_LT(QFileInfo(path).size(), 41 * 1024 + 200) << path.toStdString();
    TexIniFile fresh(data + u"objprps"_qs, 40, true);
    EXPECT_EQ(fresh.ReadSections().size(), 3000);
}

TEST_F(StoreBatchTest, TheEndWritesAlsoAfterAnError)
{
    TexIniFile& obj = KvDirStores::ObjectStore();
    try {
        KvStoreBatch batch;
        obj.WriteString(u"Page0000001"_qs, u"Name"_qs, u"done before the error"_qs);
        throw std::runtime_error("cancelled");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(KvStoreBatch::Active());
    TexIniFile fresh(data + u"objprps"_qs, 40, true);
    EXPECT_EQ(fresh.ReadString(u"Page0000001"_qs, u"Name"_qs, {}), u"done before the error"_qs);
}

TEST_F(StoreBatchTest, NotedFilesGoOnlyAfterTheStoresAreWritten)
{
    TexIniFile& obj = KvDirStores::ObjectStore();
    const QString content = data + u"Page0000001.kvp"_qs;
    // Outside a batch at once.
    WriteAll(content, "{\\rtf1 x}");
    KvStoreBatch::DeleteAfterWrite(content);
    EXPECT_FALSE(QFile::exists(content));

    WriteAll(content, "{\\rtf1 x}");
    {
        KvStoreBatch batch;
        obj.EraseSection(u"Page0000001"_qs);
        obj.WriteString(u"TopFolder"_qs, u"Name"_qs, u"Ordner"_qs);
        KvStoreBatch::DeleteAfterWrite(content);
        EXPECT_TRUE(QFile::exists(content));
        batch.Commit();
    }
    EXPECT_FALSE(QFile::exists(content));

    // A write that fails keeps the file: the stores still name the page.
    WriteAll(content, "{\\rtf1 x}");
    KvFileSeam::Failure fail;
    fail.ops = KvFileSeam::Rename;
    fail.pattern = data + u"objprps.*"_qs;
    fail.error = ENOSPC;
    fail.sticky = true;
    {
        KvStoreBatch batch;
        obj.WriteString(u"TopFolder"_qs, u"Name"_qs, u"Neu"_qs);
        KvStoreBatch::DeleteAfterWrite(content);
        KvFileSeam::Scope seam(fail);
        EXPECT_THROW(batch.Commit(), TexIniFile::EIniFileFlush);
    }
    EXPECT_TRUE(QFile::exists(content));
    obj.UpdateFile(); // the change stayed pending and goes now
    TexIniFile fresh(data + u"objprps"_qs, 40, true);
    EXPECT_EQ(fresh.ReadString(u"TopFolder"_qs, u"Name"_qs, {}), u"Neu"_qs);
}

TEST_F(StoreBatchTest, NewSectionNamePassesOverTakenIds)
{
    TexIniFile& obj = KvDirStores::ObjectStore();
    obj.WriteString(u"Page0000001"_qs, u"Name"_qs, u"a"_qs);
    obj.WriteString(u"Page0000003"_qs, u"Name"_qs, u"c"_qs);
    const QSet<QString> leftovers{u"Page0000002"_qs, u"Page0000004"_qs, u"Page0000005"_qs};
    auto taken = [&](const QString& id) { return leftovers.contains(id); };
    EXPECT_EQ(obj.NewSectionName(u"Page"_qs), u"Page0000002"_qs);
    EXPECT_EQ(obj.NewSectionName(u"Page"_qs, taken), u"Page0000006"_qs);
    TexIniFile plain(data + u"objprps"_qs, 40, false);
    obj.UpdateFile();
    EXPECT_EQ(plain.NewSectionName(u"Page"_qs, taken), u"Page0000006"_qs);
}

} // namespace
