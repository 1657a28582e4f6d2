#include "model/blowfishvcl.h"
#include "model/kvpagelayout.h"
#include "model/kvpasswordasker.h"
#include "model/kvpasswordbytes.h"
#include "model/kvpasswordlist.h"
#include "model/kvrekeyfile.h"
#include "modelfixture.h"
#include "platform/kvfileseam.h"
#include "richtext/texrichdocument.h"

#include <QDir>
#include <QFile>
#include <QTextDocument>
#include <sys/stat.h>
#include <unistd.h>

using namespace korvtest;

namespace {

// Answers the password question from a script; an empty answer cancels.
class ScriptedAsker : public KvPasswordAsker
{
public:
    bool AskPassword(KvPage&, QString& password) override
    {
        ++asked;
        if (answers.isEmpty() || answers.first().isEmpty()) {
            if (!answers.isEmpty())
                answers.removeFirst();
            return false;
        }
        password = answers.takeFirst();
        return true;
    }
    QStringList answers;
    int asked = 0;
};

class PageTest : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        KvPasswordList::Clear();
        KvPasswordAsker::SetCurrent(&asker);
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        page = NewPage(PageId(1), top.get(), u"Seite"_qs);
    }
    void TearDown() override
    {
        KvPasswordAsker::SetCurrent(nullptr);
        ModelFixture::TearDown();
    }

    QString ContentPath(int n = 1) const { return Dir() + PageId(n) + u".kvp"_qs; }

    void SetText(KvPage* p, const QString& text)
    {
        p->GetEditor()->LoadPlainText(text);
        p->GetEditor()->SetModified(true);
    }

    QString Text(KvPage* p) { return p->GetEditor()->PlainText().trimmed(); }

    bool Has(const QString& key) { return Page().ValueExists(PageId(1), key); }

    ScriptedAsker asker;
    KvPage* page = nullptr;
};

TEST_F(PageTest, ContentFileIsNamedAfterTheIdWithTheDirectoryExtension)
{
    EXPECT_EQ(page->ContentFilePath(), ContentPath());
    Ctx().fileExt = u"rtf"_qs;
    KvPage* other = NewPage(PageId(2), top.get(), u"x"_qs);
    EXPECT_EQ(other->ContentFilePath(), Dir() + PageId(2) + u".rtf"_qs);
}

TEST_F(PageTest, ContentFileSizeAndTimeComeFromTheFile)
{
    EXPECT_EQ(page->ContentFileSize(), 0);
    EXPECT_FALSE(page->ContentFileTime().isValid());
    WriteAll(ContentPath(), "{\\rtf1 abc}");
    EXPECT_EQ(page->ContentFileSize(), 11);
    EXPECT_TRUE(page->ContentFileTime().isValid());
}

TEST_F(PageTest, WithoutADirectoryInTheContextTheStoresDirectoryIsUsed)
{
    Ctx().dataDir.clear();
    KvPage* other = NewPage(PageId(2), top.get(), u"x"_qs);
    EXPECT_EQ(other->ContentFilePath(), ContentPath(2));
}

TEST_F(PageTest, MissingContentFileLoadsEmpty)
{
    page->Load(false, false);
    EXPECT_TRUE(page->IsLoaded());
    EXPECT_EQ(Text(page), QString());
    EXPECT_EQ(page->Zoom(), 100);
}

TEST_F(PageTest, EditorOfAnUnloadedPageIsRefused)
{
    EXPECT_THROW(page->GetEditor(), KvPage::EPageNotLoaded);
    page->Load(false, false);
    page->Unload();
    EXPECT_THROW(page->GetEditor(), KvPage::EPageNotLoaded);
    EXPECT_EQ(page->Zoom(), 0);
}

TEST_F(PageTest, UnchangedTextWritesNoFileButTheAttributes)
{
    page->SetRestorePosition(true);
    page->Load(false, false);
    page->GetEditor()->SetScrollPoint(QPoint(0, 40));
    page->Store();
    EXPECT_FALSE(QFile::exists(ContentPath()));
    for (const QString& key :
         {u"WriteProtect"_qs, u"Status"_qs, u"SelStart"_qs, u"SelLength"_qs, u"ScrollPos"_qs})
        EXPECT_TRUE(Has(key)) << key.toStdString();
    EXPECT_EQ(Page().ReadString(PageId(1), u"ScrollPos"_qs, QString()), u"[0,40]"_qs);
}

TEST_F(PageTest, ChangedTextIsWrittenAndReadBackWithThePosition)
{
    page->SetRestorePosition(true);
    page->Load(false, false);
    SetText(page, u"Hallo Welt"_qs);
    page->GetEditor()->SetSelection(6, 4);
    page->Store();
    EXPECT_TRUE(ReadAll(ContentPath()).startsWith("{\\rtf"));
    EXPECT_FALSE(page->GetEditor()->IsModified());
    page->Unload();
    page->Load(false, false);
    EXPECT_EQ(Text(page), u"Hallo Welt"_qs);
    EXPECT_EQ(page->GetEditor()->SelStart(), 6);
    EXPECT_EQ(page->GetEditor()->SelLength(), 4);
}

TEST_F(PageTest, RestorePositionOffDeletesThePositionKeys)
{
    Page().WriteInteger(PageId(1), u"SelStart"_qs, 3);
    Page().WriteInteger(PageId(1), u"SelLength"_qs, 1);
    Page().WriteString(PageId(1), u"ScrollPos"_qs, u"[0,5]"_qs);
    page->Load(false, false);
    page->Store();
    EXPECT_FALSE(Has(u"SelStart"_qs));
    EXPECT_FALSE(Has(u"SelLength"_qs));
    EXPECT_FALSE(Has(u"ScrollPos"_qs));
}

TEST_F(PageTest, WriteProtectedChangedTextIsNotWritten)
{
    page->Load(false, false);
    page->SetWriteProtect(true);
    EXPECT_TRUE(page->GetEditor()->IsReadOnly());
    SetText(page, u"geändert"_qs);
    page->Store();
    EXPECT_FALSE(QFile::exists(ContentPath()));
    EXPECT_TRUE(Page().ReadBool(PageId(1), u"WriteProtect"_qs, false));
}

struct ModByCase
{
    bool groupDir;
    bool expectModBy;
};

void PrintTo(const ModByCase& c, std::ostream* os)
{
    *os << (c.groupDir ? "group directory" : "single user");
}

class ModByTest : public PageTest, public ::testing::WithParamInterface<ModByCase>
{
};

TEST_P(ModByTest, LastEditorIsRecordedInGroupDirectoriesOnly)
{
    Page().WriteString(PageId(1), u"ModBy"_qs, u"someone"_qs);
    Ctx().groupDir = GetParam().groupDir;
    page->Load(false, false);
    SetText(page, u"x"_qs);
    page->Store();
    EXPECT_EQ(Has(u"ModBy"_qs), GetParam().expectModBy);
    if (GetParam().expectModBy)
        EXPECT_EQ(Page().ReadString(PageId(1), u"ModBy"_qs, QString()), u"tester"_qs);
    EXPECT_EQ(page->LastEditor(), GetParam().expectModBy ? u"tester"_qs : QString());
}

INSTANTIATE_TEST_SUITE_P(Dirs, ModByTest,
                         ::testing::Values(ModByCase{true, true}, ModByCase{false, false}));

TEST_F(PageTest, PasswordKeysFollowTheProtection)
{
    const QStringList keys = {u"PWAskMode"_qs, u"PWBF"_qs, u"EncSCl"_qs, u"PWCopy"_qs,
                              u"PWList"_qs};
    page->SetPassword(u"geheim"_qs, false);
    page->Store();
    for (const QString& key : keys)
        EXPECT_TRUE(Has(key)) << key.toStdString();
    page->SetPassword(QString(), false);
    page->Store();
    for (const QString& key : keys)
        EXPECT_FALSE(Has(key)) << key.toStdString();
}

TEST_F(PageTest, CheckValueWithoutAskModeIsNoPasswordData)
{
    Page().WriteString(PageId(2), u"PWBF"_qs, u"0123456789abcdef"_qs);
    KvPage* p = NewPage(PageId(2), top.get(), u"x"_qs);
    EXPECT_FALSE(p->IsProtected());
}

TEST_F(PageTest, ProtectedPageIsEncryptedAndNeverWrittenInPlain)
{
    const QString tmp = m_env.Data().tempDir;
    page->SetPassword(u"geheim"_qs, false);
    page->SetPasswordAskMode(0);
    page->Load(false, false);
    SetText(page, u"Vertraulicher Text"_qs);
    page->Store();
    const QByteArray stored = ReadAll(ContentPath());
    EXPECT_FALSE(stored.contains("rtf"));
    EXPECT_FALSE(stored.contains("Vertraulich"));
    page->Unload();
    EXPECT_FALSE(page->IsUnlocked());

    asker.answers = {u"geheim"_qs};
    page->Load(false, false);
    EXPECT_EQ(asker.asked, 1);
    EXPECT_EQ(Text(page), u"Vertraulicher Text"_qs);
    EXPECT_TRUE(page->TempFilePath().isEmpty());
    const QStringList leftovers = QDir(tmp).entryList({u"enc*"_qs}, QDir::Files);
    EXPECT_TRUE(leftovers.isEmpty());
}

TEST_F(PageTest, CancelledPasswordLeavesThePageUnloaded)
{
    page->SetPassword(u"geheim"_qs, false);
    page->Store();
    DestroyModel();
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvPage* p = new KvPage(PageId(1), top.get(), true);
    asker.answers = {QString()};
    EXPECT_THROW(p->Load(false, false), KvPage::EWrongPassword);
    EXPECT_FALSE(p->IsLoaded());
    asker.answers = {u"falsch"_qs};
    EXPECT_THROW(p->Load(false, false), KvPage::EWrongPassword);
    EXPECT_FALSE(p->IsLoaded());
}

TEST_F(PageTest, PasswordListOpensWithoutAsking)
{
    page->SetPassword(u"geheim"_qs, true);
    page->SetUsePasswordList(true);
    page->Store();
    DestroyModel();
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvPage* p = new KvPage(PageId(1), top.get(), true);
    p->Load(false, false);
    EXPECT_EQ(asker.asked, 0);
    EXPECT_TRUE(p->IsLoaded());
}

TEST_F(PageTest, SavingALockedChangedProtectedPageIsRefused)
{
    page->SetPassword(u"geheim"_qs, false);
    page->Load(false, false);
    SetText(page, u"a"_qs);
    page->Store();
    const QByteArray stored = ReadAll(ContentPath());
    DestroyModel();
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvPage* p = new KvPage(PageId(1), top.get(), true);
    ASSERT_FALSE(p->IsUnlocked());
    p->CreateEditor(false);
    p->ConfigureEditor();
    SetText(p, u"b"_qs);
    EXPECT_THROW(p->Store(), KvPage::EWrongPassword);
    EXPECT_EQ(ReadAll(ContentPath()), stored);
}

// Protection switched on, changed or off for a page that is not loaded: its file follows
// the new key when the page is stored.
struct RekeyCase
{
    QString before; // password before (empty: unprotected)
    QString after;
    bool loadBetween; // loaded between the change and the store
};

void PrintTo(const RekeyCase& c, std::ostream* os)
{
    *os << '"' << c.before.toStdString() << "\" -> \"" << c.after.toStdString() << '"'
        << (c.loadBetween ? " loaded between" : "");
}

class RekeyTest : public PageTest, public ::testing::WithParamInterface<RekeyCase>
{
};

TEST_P(RekeyTest, UnloadedPageIsRewrittenUnderTheNewKey)
{
    const RekeyCase& c = GetParam();
    if (!c.before.isEmpty())
        page->SetPassword(c.before, false);
    page->Load(false, false);
    SetText(page, u"Inhalt bleibt lesbar"_qs);
    page->Store();
    page->Unload();
    if (!c.before.isEmpty())
        page->SetPassword(c.before, false); // the user gave it again

    page->SetPassword(c.after, false);
    if (c.loadBetween) {
        page->Load(false, false);
        EXPECT_EQ(Text(page), u"Inhalt bleibt lesbar"_qs);
    }
    page->Store();
    page->Unload();
    EXPECT_EQ(ReadAll(ContentPath()).startsWith("{\\rtf"), c.after.isEmpty());

    DestroyModel();
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvPage* p = new KvPage(PageId(1), top.get(), true);
    asker.answers = {c.after};
    p->Load(false, false);
    EXPECT_EQ(Text(p), u"Inhalt bleibt lesbar"_qs);
}

INSTANTIATE_TEST_SUITE_P(Changes, RekeyTest,
                         ::testing::Values(RekeyCase{QString(), u"neu"_qs, false},
                                           RekeyCase{u"alt"_qs, u"neu"_qs, false},
                                           RekeyCase{u"alt"_qs, QString(), false},
                                           RekeyCase{QString(), u"neu"_qs, true},
                                           RekeyCase{u"alt"_qs, u"alt"_qs, false}));

// The password of a page that was never opened in this run changes only with the old one:
// its content has to move to the new key.
struct LockedChangeCase
{
    const char* name;
    QString answer; // what the user gives when asked for the old password (empty: cancel)
    QString newPassword;
    bool refused;
};

class LockedPasswordChange : public PageTest, public ::testing::WithParamInterface<LockedChangeCase>
{
};

TEST_P(LockedPasswordChange, OpensWithTheNewPasswordOrStaysAsItWas)
{
    const LockedChangeCase& c = GetParam();
    page->SetPassword(u"alt"_qs, false);
    page->Load(false, false);
    SetText(page, u"Geheimer Inhalt"_qs);
    page->Store();
    DestroyModel();
    ReopenStores();
    KvPasswordList::Clear();
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvPage* p = new KvPage(PageId(1), top.get(), true);
    ASSERT_FALSE(p->IsUnlocked());

    asker.answers = {c.answer};
    if (c.refused) {
        try {
            p->SetPassword(c.newPassword, false);
            ADD_FAILURE() << "changed without the old password";
        } catch (const KvPage::EPasswordChangeRefused& e) {
            EXPECT_EQ(e.Message(), u"Das Passwort der Seite 'Seite' kann nur nach Eingabe des "
                                   "bisherigen Passwortes geändert werden."_qs);
        }
    } else {
        p->SetPassword(c.newPassword, false);
    }
    EXPECT_EQ(asker.asked, 1);
    p->Store();
    DestroyModel();
    ReopenStores();
    KvPasswordList::Clear();
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    p = new KvPage(PageId(1), top.get(), true);
    const QString opens = c.refused ? u"alt"_qs : c.newPassword;
    EXPECT_EQ(p->IsProtected(), !opens.isEmpty());
    asker.answers = {opens};
    p->Load(false, false);
    EXPECT_EQ(Text(p), u"Geheimer Inhalt"_qs);
    const QStringList side = QDir(Dir()).entryList({PageId(1) + u".kvp.*"_qs}, QDir::Files);
    EXPECT_TRUE(side.isEmpty()) << side.join(u' ').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LockedPasswordChange,
    ::testing::Values(LockedChangeCase{"OldPasswordGiven", u"alt"_qs, u"neu"_qs, false},
                      LockedChangeCase{"ProtectionRemoved", u"alt"_qs, QString(), false},
                      LockedChangeCase{"Cancelled", QString(), u"neu"_qs, true},
                      LockedChangeCase{"WrongOldPassword", u"falsch"_qs, u"neu"_qs, true}),
    [](const auto& info) { return std::string(info.param.name); });

// A password change interrupted between its steps: the content under the new key lies in
// the side file, and the page store holds the old check value (before the commit) or the
// new one (after it).
struct InterruptedChangeCase
{
    const char* name;
    bool committed;
    bool writable;
};

class InterruptedPasswordChange : public PageTest,
                                  public ::testing::WithParamInterface<InterruptedChangeCase>
{
};

TEST_P(InterruptedPasswordChange, OpensWithThePasswordTheStoreNames)
{
    const InterruptedChangeCase& c = GetParam();
    page->SetPassword(u"alt"_qs, false);
    page->Load(false, false);
    SetText(page, u"Alter Text"_qs);
    page->Store();
    const QByteArray oldFile = ReadAll(ContentPath());
    const QString newCheck = KvPagePassword::CheckValue(0, u"neu"_qs);
    const QString side = KvRekeyFile::SidePath(ContentPath(), newCheck);
    const BlowFishVCL cipher(KvPasswordBytes::Encode(u"neu"_qs));
    ASSERT_TRUE(cipher.EncryptToFile("{\\rtf1\\ansi Neuer Text\\par}", side));
    if (c.committed)
        Page().WriteString(PageId(1), u"PWBF"_qs, newCheck);
    DestroyModel();
    ReopenStores();
    KvPasswordList::Clear();
    Ctx().writable = c.writable;
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvPage* p = new KvPage(PageId(1), top.get(), true);
    asker.answers = {c.committed ? u"neu"_qs : u"alt"_qs};
    p->Load(false, false);
    EXPECT_EQ(Text(p), c.committed ? u"Neuer Text"_qs : u"Alter Text"_qs);
    EXPECT_EQ(p->ContentReadPath(), c.committed && !c.writable ? side : ContentPath());
    // A writer moves a committed side file into place; nothing else touches the files.
    EXPECT_EQ(QFile::exists(side), !(c.committed && c.writable));
    if (!c.committed || !c.writable)
        EXPECT_EQ(ReadAll(ContentPath()), oldFile);
}

INSTANTIATE_TEST_SUITE_P(States, InterruptedPasswordChange,
                         ::testing::Values(InterruptedChangeCase{"BeforeTheCommit", false, true},
                                           InterruptedChangeCase{"AfterTheCommit", true, true},
                                           InterruptedChangeCase{"AfterTheCommitReadOnly", true,
                                                                 false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A password change whose new content cannot be written changes nothing; one whose last
// rename fails after the commit opens with the new password, and a later store or load
// moves the content into place.
struct RekeyFailureCase
{
    const char* name;
    unsigned ops;
    const char* pattern;
    bool committed;
};

class RekeyFailure : public PageTest, public ::testing::WithParamInterface<RekeyFailureCase>
{
};

TEST_P(RekeyFailure, LeavesAPageThatOpens)
{
    const RekeyFailureCase& c = GetParam();
    page->SetPassword(u"alt"_qs, false);
    page->Load(false, false);
    SetText(page, u"Inhalt"_qs);
    page->Store();
    page->Unload();
    page->SetPassword(u"alt"_qs, false);
    page->SetPassword(u"neu"_qs, false);
    {
        KvFileSeam::Scope seam({c.ops, QString::fromLatin1(c.pattern), 1, ENOSPC, true});
        if (c.committed) {
            // The change took effect; that its rename waits is an error the user sees.
            try {
                page->Store();
                ADD_FAILURE() << "the failed rename was not reported";
            } catch (const KvPage::EEncryptError&) {
                ADD_FAILURE() << "reported as a failed write";
            } catch (const KvException& e) {
                EXPECT_TRUE(e.Message().contains(ContentPath())) << e.Message().toStdString();
            }
        } else {
            EXPECT_THROW(page->Store(), KvPage::EEncryptError);
        }
        EXPECT_EQ(KvFileSeam::Injected(), 1);
    }
    const QString check = KvPagePassword::CheckValue(0, c.committed ? u"neu"_qs : u"alt"_qs);
    EXPECT_EQ(Page().ReadString(PageId(1), u"PWBF"_qs, QString()), check);
    const QString side = KvRekeyFile::SidePath(ContentPath(), check);
    EXPECT_EQ(QFile::exists(side), c.committed);

    DestroyModel();
    ReopenStores();
    KvPasswordList::Clear();
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvPage* p = new KvPage(PageId(1), top.get(), true);
    asker.answers = {c.committed ? u"neu"_qs : u"alt"_qs};
    p->Load(false, false);
    EXPECT_EQ(Text(p), u"Inhalt"_qs);
    EXPECT_FALSE(QFile::exists(side)) << "moved into place by the load";
}

INSTANTIATE_TEST_SUITE_P(
    Seam, RekeyFailure,
    ::testing::Values(
        RekeyFailureCase{"SideFileNotWritten", KvFileSeam::AnyWrite, "*Page0000001.kvp.pw*", false},
        RekeyFailureCase{"RenameAfterTheCommit", KvFileSeam::Rename, "*Page0000001.kvp", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageTest, DecryptFailureNamesTheContentFile)
{
    page->SetPassword(u"geheim"_qs, false);
    page->Store();
    WriteAll(ContentPath(), QByteArray("\xff\xff\xff\xff\x01\x00\x00\x00garbage!", 16));
    try {
        page->Load(false, false);
        ADD_FAILURE() << "no error";
    } catch (const KvPage::EDecryptError& e) {
        EXPECT_EQ(e.Message(), ContentPath());
    }
}

TEST_F(PageTest, ContentFileKeepsItsPermissions)
{
    page->Load(false, false);
    SetText(page, u"eins"_qs);
    page->Store();
    QFile::setPermissions(ContentPath(), QFile::ReadOwner | QFile::WriteOwner);
    SetText(page, u"zwei"_qs);
    page->Store();
    const QFile::Permissions others =
        QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
    EXPECT_EQ(QFile::permissions(ContentPath()) & others, QFile::Permissions());
    EXPECT_EQ(QFile::permissions(ContentPath()) & QFile::ReadOwner, QFile::ReadOwner);
    const QStringList stray = QDir(Dir()).entryList(QDir::Files).filter(u".kvp"_qs);
    EXPECT_EQ(stray, QStringList{PageId(1) + u".kvp"_qs});
}

TEST_F(PageTest, ContentFileKeepsTheGroupOfASharedDirectory)
{
    const std::optional<gid_t> group = OtherGroup();
    if (!group)
        GTEST_SKIP() << "no second group to give the file";
    page->Load(false, false);
    SetText(page, u"eins"_qs);
    page->Store();
    const QByteArray path = QFile::encodeName(ContentPath());
    ASSERT_EQ(::chown(path.constData(), uid_t(-1), *group), 0);
    ASSERT_EQ(::chmod(path.constData(), 0660), 0);
    SetText(page, u"zwei"_qs);
    page->Store();
    struct stat st;
    ASSERT_EQ(::stat(path.constData(), &st), 0);
    EXPECT_EQ(st.st_gid, *group);
    EXPECT_EQ(st.st_mode & 07777, 0660u);
}

class ReferrerPageTest : public PageTest
{
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        page->Store();
        Obj().WriteString(PageId(2), u"Ref2"_qs, PageId(1));
        referrer = new KvPage(PageId(2), top.get(), true);
    }
    KvPage* referrer = nullptr;
};

TEST_F(ReferrerPageTest, ReferrerUsesTheTargetsFileAndSection)
{
    EXPECT_EQ(referrer->ContentFilePath(), ContentPath(1));
    referrer->Load(false, false);
    SetText(referrer, u"über den Verweis"_qs);
    referrer->SetStatus(5);
    referrer->Store();
    EXPECT_TRUE(QFile::exists(ContentPath(1)));
    EXPECT_FALSE(QFile::exists(ContentPath(2)));
    EXPECT_FALSE(Page().SectionExists(PageId(2)));
    EXPECT_EQ(page->GetStatus(), 5);
    page->Store();
    EXPECT_EQ(Page().ReadInteger(PageId(1), u"Status"_qs, 0), 5);
    page->Load(false, false);
    EXPECT_EQ(Text(page), u"über den Verweis"_qs);
}

TEST_F(ReferrerPageTest, AttributesAreMirroredBothWays)
{
    page->SetWriteProtect(true);
    EXPECT_TRUE(referrer->GetWriteProtect());
    referrer->SetStatus(7);
    EXPECT_EQ(page->GetStatus(), 7);
    referrer->SetPassword(u"pw"_qs, false);
    EXPECT_TRUE(page->IsProtected());
    EXPECT_TRUE(page->CheckPassword(u"pw"_qs));
}

TEST_F(ReferrerPageTest, PasswordChangedThroughTheReferrerMovesTheSharedContent)
{
    page->SetPassword(u"alt"_qs, false);
    page->Load(false, false);
    SetText(page, u"Gemeinsamer Text"_qs);
    page->Store();
    page->Unload();
    asker.answers = {u"alt"_qs};
    referrer->Load(false, false);
    referrer->SetPassword(u"neu"_qs, false);
    // Storing the referrer stores the target first, which does not hold the text.
    referrer->Store();
    EXPECT_EQ(Page().ReadString(PageId(1), u"PWBF"_qs, QString()),
              KvPagePassword::CheckValue(0, u"neu"_qs));
    page->Store();
    EXPECT_EQ(Page().ReadString(PageId(1), u"PWBF"_qs, QString()),
              KvPagePassword::CheckValue(0, u"neu"_qs))
        << "the target keeps the new key";

    DestroyModel();
    ReopenStores();
    KvPasswordList::Clear();
    top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    KvPage* p = new KvPage(PageId(1), top.get(), true);
    asker.answers = {u"neu"_qs};
    p->Load(false, false);
    EXPECT_EQ(Text(p), u"Gemeinsamer Text"_qs);
}

TEST_F(ReferrerPageTest, RemovingTheReferrerLeavesTheTargetsFile)
{
    page->Load(false, false);
    SetText(page, u"bleibt"_qs);
    page->Store();
    referrer->Remove();
    delete referrer;
    EXPECT_TRUE(QFile::exists(ContentPath(1)));
}

TEST_F(ReferrerPageTest, RemovingTheTargetDeletesItsFileAndReferrer)
{
    page->Load(false, false);
    SetText(page, u"weg"_qs);
    page->Store();
    page->Remove();
    delete page;
    EXPECT_FALSE(QFile::exists(ContentPath(1)));
    EXPECT_EQ(FindObject(PageId(2)), nullptr);
    EXPECT_FALSE(Page().SectionExists(PageId(1)));
}

TEST_F(PageTest, ReadOnlyDirectoryMakesTheEditorReadOnly)
{
    page->SetWritable(false);
    page->Load(false, false);
    EXPECT_TRUE(page->GetEditor()->IsReadOnly());
    page->SetWriteProtect(false);
    EXPECT_TRUE(page->GetEditor()->IsReadOnly());
}

} // namespace
