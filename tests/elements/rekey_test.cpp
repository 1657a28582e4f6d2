// A password change moves a page's content to the new key in three steps: side file, page
// store, rename. What reads the content while the rename waits, when the rename may come,
// and what a copy made meanwhile holds.
#include "elements/kvelementcopy.h"
#include "elements/kvelementedit.h"
#include "elementsfixture.h"
#include "model/blowfishvcl.h"
#include "model/kvnewids.h"
#include "model/kvpagepassword.h"
#include "model/kvpasswordasker.h"
#include "model/kvpasswordbytes.h"
#include "model/kvrekeyfile.h"
#include "platform/kvfileseam.h"
#include "richtext/texrichdocument.h"
#include "store/kvbatchjournal.h"

#include <QFile>

using namespace korvtest;

namespace {

const QByteArray kRich = "{\\rtf1\\ansi{\\header Kopf} Geheimer Text}";

class Asker : public KvPasswordAsker
{
public:
    bool AskPassword(KvPage&, QString& password) override
    {
        if (answer.isEmpty())
            return false;
        password = answer;
        return true;
    }
    QString answer;
};

class RekeyTest : public ElementsFixture
{
protected:
    void SetUp() override
    {
        ElementsFixture::SetUp();
        KvPasswordAsker::SetCurrent(&asker);
    }
    void TearDown() override
    {
        KvFileSeam::Disarm();
        KvPasswordAsker::SetCurrent(nullptr);
        ElementsFixture::TearDown();
    }

    // A page holding kRich under the password "Alt", locked after a reload.
    QString ProtectedPage(bool copyProtection, int protectionClass)
    {
        KvPage* p = AddPage(Top(), u"geheim"_qs, kRich);
        p->SetProtectionClass(protectionClass);
        p->SetPassword(u"Alt"_qs, false);
        p->SetCopyPasswordProtection(copyProtection);
        p->Store();
        const QString id = p->Id();
        Reload();
        return id;
    }

    // The text of encrypted bytes under password; empty when they do not decrypt to RTF.
    static QByteArray Open(const QByteArray& bytes, const QString& password)
    {
        try {
            const QByteArray plain =
                BlowFishVCL(KvPasswordBytes::Encode(password)).DecryptData(bytes);
            return plain.startsWith("{\\rtf") ? plain : QByteArray();
        } catch (const KvException&) {
            return {};
        }
    }

    QString StoredCheck(const QString& id)
    {
        TexIniFile fresh(Dir() + u"Pageprps"_qs, 40, true);
        return fresh.ReadString(id, u"PWBF"_qs, {});
    }

    // The password of page id becomes "Neu"; the change is stored, but its rename fails and
    // waits. The failure reaches the caller as text 5760.
    void ChangeWithRenameWaiting(const QString& id)
    {
        asker.answer = u"Alt"_qs;
        KvPage* p = Find<KvPage>(id);
        p->SetPassword(u"Neu"_qs, true);
        KvFileSeam::Failure fail;
        fail.ops = KvFileSeam::Rename;
        fail.pattern = u"*/"_qs + id + u".kvp"_qs;
        fail.error = EIO;
        fail.sticky = true;
        KvFileSeam::Scope seam(fail);
        try {
            p->Store();
            ADD_FAILURE() << "a failed rename was not reported";
        } catch (const KvException& e) {
            EXPECT_TRUE(e.Message().startsWith(
                KvTexts::Message(5760, {u"geheim"_qs, QString(), QString()}).left(40)))
                << e.Message().toStdString();
        }
        ASSERT_EQ(KvFileSeam::Injected(), 1);
    }

    Asker asker;
};

TEST_F(RekeyTest, AWaitingRenameIsReadThroughAndCompletedByTheNextWriter)
{
    const QString id = ProtectedPage(false, 1);
    ChangeWithRenameWaiting(id);
    KvPage* p = Find<KvPage>(id);
    const QString content = p->ContentFilePath();
    const QString side = KvRekeyFile::SidePath(content, p->Password().StoredCheckValue());
    // The store names the new password; the side file holds the content under it.
    EXPECT_EQ(StoredCheck(id), KvPagePassword::CheckValue(1, u"Neu"_qs));
    EXPECT_EQ(Open(ReadAll(content), u"Alt"_qs), kRich);
    EXPECT_EQ(Open(ReadAll(side), u"Neu"_qs), kRich);
    Reload();
    asker.answer = u"Neu"_qs;
    p = Find<KvPage>(id);
    EXPECT_EQ(p->ReadContent(), kRich);
    // The next writer completes the change.
    p->Store();
    EXPECT_FALSE(QFile::exists(side));
    EXPECT_EQ(Open(ReadAll(content), u"Neu"_qs), kRich);
}

TEST_F(RekeyTest, ACopyMadeWhileTheRenameWaitsHoldsTheText)
{
    for (const bool copyProtection : {false, true}) {
        SCOPED_TRACE(copyProtection ? "with PWCopy" : "without PWCopy");
        const QString id = ProtectedPage(copyProtection, 1);
        ChangeWithRenameWaiting(id);
        Reload();
        asker.answer = u"Neu"_qs;
        if (!copyProtection)
            prompter.Answer(KvAnswer::Yes); // the copy will not be protected
        KvPage* copy = KvElementCopy(env).CopyPage2Folder(*Find<KvPage>(id), Top());
        ASSERT_TRUE(copy);
        const QByteArray bytes = ReadAll(copy->ContentFilePath());
        if (copyProtection) {
            EXPECT_EQ(copy->Password().StoredCheckValue(),
                      KvPagePassword::CheckValue(1, u"Neu"_qs));
            EXPECT_EQ(Open(bytes, u"Neu"_qs), kRich);
        } else {
            EXPECT_FALSE(copy->IsProtected());
            EXPECT_EQ(bytes, kRich);
        }
    }
}

// Inside a batch the page store reaches the disk only at the end: until then the content
// file must stay under the key the stored check value names, and a batch that fails like a
// crash before its end renames nothing.
TEST_F(RekeyTest, ARekeyInsideABatchRenamesOnlyAfterTheBatchHasWritten)
{
    const QString id = ProtectedPage(false, 1);
    asker.answer = u"Alt"_qs;
    KvPage* p = Find<KvPage>(id);
    p->SetPassword(u"Neu"_qs, true);
    const QString content = p->ContentFilePath();
    {
        KvStoreBatch batch;
        p->Store();
        EXPECT_EQ(StoredCheck(id), KvPagePassword::CheckValue(1, u"Alt"_qs));
        EXPECT_EQ(Open(ReadAll(content), u"Alt"_qs), kRich);
        KvFileSeam::Failure crash;
        crash.ops = KvFileSeam::AnyWrite;
        crash.pattern = Dir() + u"*"_qs;
        crash.sticky = true;
        KvFileSeam::Scope seam(crash);
        EXPECT_THROW(batch.Commit(), TexIniFile::EIniFileFlush);
    }
    EXPECT_EQ(StoredCheck(id), KvPagePassword::CheckValue(1, u"Alt"_qs));
    EXPECT_EQ(Open(ReadAll(content), u"Alt"_qs), kRich);
    EXPECT_FALSE(KvBatchJournal::Exists(Dir()));
    // The change waited in memory: the next stores write it, then the rename follows.
    p->Store();
    p->Store();
    EXPECT_EQ(StoredCheck(id), KvPagePassword::CheckValue(1, u"Neu"_qs));
    EXPECT_EQ(Open(ReadAll(content), u"Neu"_qs), kRich);

    // A batch that ends well renames after its members.
    p->SetPassword(u"Dritt"_qs, true);
    {
        KvStoreBatch batch;
        p->Store();
        EXPECT_EQ(Open(ReadAll(content), u"Neu"_qs), kRich);
        batch.Commit();
    }
    EXPECT_EQ(StoredCheck(id), KvPagePassword::CheckValue(1, u"Dritt"_qs));
    EXPECT_EQ(Open(ReadAll(content), u"Dritt"_qs), kRich);
    EXPECT_FALSE(QFile::exists(KvRekeyFile::SidePath(content, p->Password().StoredCheckValue())));
}

// A link, bookmark or history entry that names a deleted element must not come to name a
// new one.
TEST_F(RekeyTest, IdsOfDeletedElementsAreNeverHandedOutAgain)
{
    KvElementEdit edit(env);
    KvPage* a = AddPage(Top(), u"A"_qs, "{\\rtf1 a}");
    KvFolder* f = AddFolder(Top(), u"F"_qs);
    const QString pageId = a->Id();
    const QString folderId = f->Id();
    ASSERT_TRUE(edit.DeletePage(*a));
    ASSERT_TRUE(edit.DeleteFolder(*Find<KvFolder>(folderId)));
    prompter.Answer(KvAnswer::Yes);
    edit.EmptyTrash();
    ASSERT_FALSE(Find(pageId));
    Reload();
    KvElementEdit again(env);
    EXPECT_NE(AddPage(Top(), u"B"_qs)->Id(), pageId);
    EXPECT_NE(AddFolder(Top(), u"G"_qs)->Id(), folderId);

    // A notebook written before the key existed starts above its sections and content files.
    KvDirStores::ObjectStore().EraseSection(KvNewIds::HighSection);
    KvDirStores::ObjectStore().UpdateFile();
    WriteAll(Dir() + u"Page0000040.kvp"_qs, "{\\rtf1 left behind}");
    Reload();
    m_ctx.highestContentNumber = -1;
    EXPECT_EQ(AddPage(Top(), u"C"_qs)->Id(), u"Page0000041"_qs);
}

} // namespace
