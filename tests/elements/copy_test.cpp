#include "elements/kvelementcopy.h"
#include "elements/kvelementrules.h"
#include "elementsfixture.h"
#include "model/kvpasswordasker.h"
#include "richtext/texrichdocument.h"

#include <QFile>

using namespace korvtest;

namespace {

// RTF our reader would not give back byte for byte: a header and a table width.
const QByteArray kRich = "{\\rtf1\\ansi{\\header Kopf}\\trowd\\cellx1234 Zelle\\cell\\row Text}";

class ScriptedAsker : public KvPasswordAsker
{
public:
    bool AskPassword(KvPage&, QString& password) override
    {
        ++asked;
        if (answer.isEmpty())
            return false;
        password = answer;
        return true;
    }
    QString answer;
    int asked = 0;
};

class CopyTest : public ElementsFixture
{
protected:
    void SetUp() override
    {
        ElementsFixture::SetUp();
        KvPasswordAsker::SetCurrent(&asker);
    }
    void TearDown() override
    {
        KvPasswordAsker::SetCurrent(nullptr);
        ElementsFixture::TearDown();
    }
    KvElementCopy Copier() { return KvElementCopy(env); }

    // A protected page with kRich as its text, locked after a reload.
    QString ProtectedPage(bool copyProtection)
    {
        KvPage* p = AddPage(Top(), u"geheim"_qs, kRich);
        p->SetPassword(u"Sesam"_qs, false);
        p->SetCopyPasswordProtection(copyProtection);
        p->Store();
        return p->Id();
    }

    ScriptedAsker asker;
};

TEST_F(CopyTest, PastingAPageTwiceGivesTwoCopiesWithTheSourcesBytes)
{
    KvPage* src = AddPage(Top(), u"Quelle"_qs, kRich);
    src->SetStatus(4);
    src->SetKeywords(u"eins;zwei"_qs);
    src->Store();
    KvFolder* to = AddFolder(Top(), u"to"_qs);
    Copier().PageCopy(*src);
    auto* c1 = dynamic_cast<KvPage*>(Copier().FolderPaste(*to));
    auto* c2 = dynamic_cast<KvPage*>(Copier().FolderPaste(*to));
    ASSERT_TRUE(c1 && c2);
    EXPECT_NE(c1->Id(), c2->Id());
    for (KvPage* c : {c1, c2}) {
        EXPECT_EQ(c->Name(), u"Quelle"_qs);
        EXPECT_EQ(c->GetStatus(), 4);
        EXPECT_EQ(c->GetKeywords(), u"eins;zwei"_qs);
        EXPECT_EQ(ReadAll(c->ContentFilePath()), kRich);
        EXPECT_TRUE(window.calls.contains(u"show "_qs + c->Id()));
    }
    const QString id = c2->Id();
    Reload();
    EXPECT_EQ(Find<KvPage>(id)->GetStatus(), 4);
    EXPECT_EQ(Find<KvPage>(id)->GetKeywords(), u"eins;zwei"_qs);
}

TEST_F(CopyTest, AReferrersCopyIsAReferrerOnYesAndTheOriginalOnNo)
{
    KvPage* target = AddPage(Top(), u"Ziel"_qs, kRich);
    KvPage* r = AddReferrer(Top(), *target);
    KvFolder* to = AddFolder(Top(), u"to"_qs);
    prompter.Answer(KvAnswer::Yes).Answer(KvAnswer::No);
    KvPage* yes = Copier().CopyPage2Folder(*r, *to);
    KvPage* no = Copier().CopyPage2Folder(*r, *to);
    ASSERT_EQ(prompter.Asked().size(), 2);
    EXPECT_EQ(prompter.Asked()[0].title, KvTexts::Text(5059));
    EXPECT_TRUE(yes->IsReferrer());
    EXPECT_EQ(yes->Target(), target);
    EXPECT_FALSE(no->IsReferrer());
    EXPECT_EQ(no->Name(), u"Ziel"_qs);
    EXPECT_EQ(ReadAll(no->ContentFilePath()), kRich);
    // Decided beforehand (the command line's --original): nothing asked.
    KvElementCopy original(env);
    original.SetReferrerCopy(KvElementCopy::ReferrerCopy::AsOriginal);
    EXPECT_FALSE(original.CopyPage2Folder(*r, *to)->IsReferrer());
    EXPECT_EQ(prompter.Asked().size(), 2);
}

TEST_F(CopyTest, AReferrerWhoseTargetIsGoneIsAClearErrorAndNothingIsCopied)
{
    const QString id = KvElementIds::NewPageId();
    KvDirStores::ObjectStore().WriteString(id, u"Ref2"_qs, u"Page0000999"_qs);
    KvPage* orphan = factory.CreatePage(id, &Top());
    KvFolder* to = AddFolder(Top(), u"to"_qs);
    try {
        Copier().CopyPage2Folder(*orphan, *to);
        ADD_FAILURE() << "no error";
    } catch (const KvException& e) {
        EXPECT_EQ(e.Message(), KvTexts::Message(5522, {orphan->Name()}));
    }
    EXPECT_EQ(to->ChildCount(), 0);
    EXPECT_TRUE(prompter.Asked().isEmpty());
}

TEST_F(CopyTest, ProtectedPagesWithAndWithoutPasswordCopy)
{
    const QString plainSource = ProtectedPage(false);
    const QString keptSource = ProtectedPage(true);
    KvFolder* to = AddFolder(Top(), u"to"_qs);
    const QString toId = to->Id();
    Reload();
    to = Find<KvFolder>(toId);
    // Without PWCopy: an unprotected copy holding the decrypted bytes, made after the user
    // heard that it is not protected.
    asker.answer = u"Sesam"_qs;
    prompter.Answer(KvAnswer::Yes);
    KvElementCopy told(env);
    KvPage* plain = told.CopyPage2Folder(*Find<KvPage>(plainSource), *to);
    ASSERT_TRUE(plain);
    ASSERT_EQ(prompter.Asked().size(), 1);
    EXPECT_EQ(prompter.Asked()[0].title, KvTexts::Text(5527));
    EXPECT_EQ(prompter.Asked()[0].text, KvTexts::Message(5525, {u"geheim"_qs}));
    ASSERT_EQ(told.PlainCopies().size(), 1);
    EXPECT_EQ(told.PlainCopies()[0].sourceId, plainSource);
    EXPECT_EQ(told.PlainCopies()[0].copyId, plain->Id());
    EXPECT_EQ(asker.asked, 1);
    EXPECT_FALSE(plain->IsProtected());
    EXPECT_EQ(ReadAll(plain->ContentFilePath()), kRich);
    // With PWCopy: the same password, the encrypted bytes as they are.
    KvPage* src = Find<KvPage>(keptSource);
    KvPage* kept = Copier().CopyPage2Folder(*src, *to);
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->IsProtected());
    EXPECT_TRUE(kept->GetCopyPasswordProtection());
    EXPECT_EQ(kept->Password().StoredCheckValue(), src->Password().StoredCheckValue());
    EXPECT_EQ(ReadAll(kept->ContentFilePath()), ReadAll(src->ContentFilePath()));
    EXPECT_NE(ReadAll(kept->ContentFilePath()), kRich);
    EXPECT_EQ(prompter.Asked().size(), 1);
    // Not wanted: nothing copied, no password asked.
    const QString keptId = kept->Id();
    prompter.Answer(KvAnswer::No);
    KvElementCopy declined(env);
    EXPECT_EQ(declined.CopyPage2Folder(*Find<KvPage>(plainSource), *Find<KvFolder>(toId)), nullptr);
    EXPECT_TRUE(declined.Skipped().isEmpty());
    EXPECT_EQ(asker.asked, 1);
    EXPECT_EQ(Find<KvFolder>(toId)->ChildCount(), 2);
    // Refused: nothing copied, the page named as skipped. Allowed beforehand (the command
    // line): nothing asked.
    Reload();
    asker.answer.clear();
    KvElementCopy refused(env);
    refused.SetPlainCopy(KvElementCopy::PlainCopy::Allow);
    EXPECT_EQ(refused.CopyPage2Folder(*Find<KvPage>(plainSource), *Find<KvFolder>(toId)), nullptr);
    EXPECT_EQ(refused.Skipped(), QStringList{plainSource});
    EXPECT_TRUE(refused.PlainCopies().isEmpty());
    EXPECT_EQ(Find<KvFolder>(toId)->ChildCount(), 2);
    EXPECT_EQ(prompter.Asked().size(), 2);
    EXPECT_FALSE(prompter.Unexpected());
    // The copy opens with the source's password.
    asker.answer = u"Sesam"_qs;
    KvPage* reopened = Find<KvPage>(keptId);
    reopened->Load(false, false);
    EXPECT_TRUE(reopened->GetEditor()->PlainText().contains(u"Text"_qs));
}

class FolderCopyTest : public CopyTest
{
protected:
    void SetUp() override
    {
        CopyTest::SetUp();
        KvStoreBatch quick;
        src = AddFolder(Top(), u"src"_qs);
        src->SetSortInherited(false);
        src->SetNewElemsFirst(true); // copies must still keep the source's order
        src->Store();
        AddPage(*src, u"p1"_qs, "{\\rtf1 1}");
        KvFolder* l2 = AddFolder(*src, u"l2"_qs);
        AddPage(*src, u"p2"_qs, "{\\rtf1 2}");
        AddPage(*l2, u"q1"_qs);
        KvFolder* l3 = AddFolder(*l2, u"l3"_qs);
        AddPage(*l3, u"r1"_qs);
        AddPage(*l3, u"r2"_qs);
        to = AddFolder(Top(), u"to"_qs);
    }

    static QString Tree(const KvObject& f)
    {
        QStringList parts;
        for (const KvObject* c : f.Children()) {
            const auto* folder = dynamic_cast<const KvFolder*>(c);
            parts.append(folder ? c->Name() + u'(' + Tree(*c) + u')' : c->Name());
        }
        return parts.join(u',');
    }

    KvFolder* src = nullptr;
    KvFolder* to = nullptr;
};

TEST_F(FolderCopyTest, ThreeLevelsInTheSourcesOrderShownOnceAtTheEnd)
{
    const QString expected = Tree(*src);
    Copier().FolderCopy(*src);
    window.calls.clear();
    auto* copy = dynamic_cast<KvFolder*>(Copier().FolderPaste(*to));
    ASSERT_TRUE(copy);
    EXPECT_EQ(Tree(*copy), expected);
    EXPECT_TRUE(copy->GetNewElemsFirst());
    EXPECT_EQ(window.CallsStarting(u"show "_qs), QStringList{u"show "_qs + copy->Id()});
    EXPECT_EQ(window.CallsStarting(u"expand "_qs).size(), 3);
    EXPECT_EQ(window.progressSteps, int(CollectDescendants(src).size()) + 1);
    EXPECT_FALSE(window.progressOpen);
    const QString id = copy->Id();
    Reload();
    EXPECT_EQ(Tree(*Find<KvFolder>(id)), expected);
    EXPECT_TRUE(KvNotebookBuild::FindLostIds(*nb.objectSnapshot).isEmpty());
}

TEST_F(FolderCopyTest, AStopKeepsWhatWasCopiedStoredAndConsistent)
{
    window.stopAfter = 3; // three children copied, then the stop
    KvFolder* copy = Copier().CopyFolder2Folder(*src, *to);
    ASSERT_TRUE(copy);
    EXPECT_EQ(Tree(*copy), u"p1,l2(),p2"_qs);
    EXPECT_FALSE(window.progressOpen);
    const QString id = copy->Id();
    Reload();
    EXPECT_EQ(Tree(*Find<KvFolder>(id)), u"p1,l2(),p2"_qs);
    EXPECT_TRUE(KvNotebookBuild::FindLostIds(*nb.objectSnapshot).isEmpty());
}

TEST_F(FolderCopyTest, PastingIntoItselfOrBelowIsRefused)
{
    Copier().FolderCopy(*src);
    KvFolder* l2 = Find<KvFolder>(src->Children()[1]->Id());
    const qsizetype before = CollectDescendants(&Top()).size();
    EXPECT_EQ(Copier().FolderPaste(*src), nullptr);
    EXPECT_EQ(Copier().FolderPaste(*l2), nullptr);
    ASSERT_EQ(prompter.Asked().size(), 2);
    EXPECT_EQ(prompter.Asked()[0].text, KvTexts::Text(5521));
    EXPECT_EQ(prompter.Asked()[1].text, KvTexts::Text(5520));
    EXPECT_EQ(prompter.Asked()[1].title, KvTexts::Text(5007));
    EXPECT_EQ(CollectDescendants(&Top()).size(), before);
    // The trash is an ordinary target.
    EXPECT_TRUE(Copier().FolderPaste(Trash()));
}

TEST_F(FolderCopyTest, PastingIntoAnAutoSortedFolderSortsIt)
{
    AddPage(*to, u"zz"_qs);
    to->SetSortInherited(false);
    to->SetAutoSort(true);
    to->Store();
    Copier().FolderCopy(*src);
    Copier().FolderPaste(*to);
    EXPECT_EQ(Names(*to), u"[src],zz"_qs);
}

TEST_F(CopyTest, NoNewReferrerStandsForAPageInTheTrash)
{
    KvPage* gone = AddPage(Trash(), u"weg"_qs);
    KvPage* outside = AddPage(Top(), u"da"_qs);
    // A referrer outside whose target lies in the trash (an older notebook).
    KvPage* stale = AddReferrer(Top(), *gone);
    KvPage* fine = AddReferrer(Trash(), *outside);
    KvFolder* to = AddFolder(Top(), u"to"_qs);
    EXPECT_FALSE(KvElementRules::ReferrerPossible(*gone, Trash()));
    EXPECT_FALSE(KvElementRules::ReferrerPossible(*stale, Trash()));
    EXPECT_FALSE(KvElementRules::ReferrerPossible(*fine, Trash()));
    EXPECT_TRUE(KvElementRules::ReferrerPossible(*outside, Trash()));
    for (KvPage* page : {gone, stale, fine}) {
        SCOPED_TRACE(page->Name().toStdString());
        try {
            Copier().NewReferrer(*page, *to);
            ADD_FAILURE() << "no error";
        } catch (const KvException& e) {
            EXPECT_EQ(e.Message(), KvTexts::Message(5523, {page->Name()}));
        }
    }
    EXPECT_EQ(to->ChildCount(), 0);
    EXPECT_EQ(KvElementRules::ReferrersOutside(Trash()), QList<KvObject*>{stale});
    // Into the trash is fine, for a page outside.
    ASSERT_TRUE(Copier().NewReferrer(*outside, Trash()));
    EXPECT_EQ(KvElementRules::ReferrersOutside(Trash()), QList<KvObject*>{stale});

    // A copy of a referrer of a page in the trash: outside the trash a copy of the page,
    // without the question; inside it the question as ever.
    KvPage* inTrash = AddReferrer(Trash(), *gone);
    KvElementCopy copier(env);
    copier.SetReferrerCopy(KvElementCopy::ReferrerCopy::AsReferrer);
    KvPage* outsideCopy = copier.CopyPage2Folder(*inTrash, *to);
    ASSERT_TRUE(outsideCopy);
    EXPECT_FALSE(outsideCopy->IsReferrer());
    EXPECT_EQ(outsideCopy->Name(), u"weg"_qs);
    EXPECT_TRUE(prompter.Asked().isEmpty());
    prompter.Answer(KvAnswer::Yes);
    KvPage* trashCopy = Copier().CopyPage2Folder(*inTrash, Trash());
    ASSERT_TRUE(trashCopy);
    EXPECT_TRUE(trashCopy->IsReferrer());
    EXPECT_EQ(prompter.Asked().size(), 1);
    EXPECT_EQ(KvElementRules::ReferrersOutside(Trash()), QList<KvObject*>{stale});
}

TEST_F(CopyTest, AReferrerOfAReferrerStandsForTheTarget)
{
    KvPage* target = AddPage(Top(), u"t"_qs);
    KvPage* r = AddReferrer(Top(), *target);
    KvFolder* to = AddFolder(Top(), u"to"_qs);
    Copier().CreateReferrer(*r);
    auto* rr = dynamic_cast<KvPage*>(Copier().FolderPaste(*to));
    ASSERT_TRUE(rr);
    EXPECT_EQ(rr->Ref2(), target->Id());
    EXPECT_EQ(rr->Name(), u"t"_qs);
    EXPECT_TRUE(window.calls.contains(u"show "_qs + rr->Id()));
    window.choices = {r->Id()};
    KvPage* viaChooser = Copier().NewLinkMIClick(*to);
    ASSERT_TRUE(viaChooser);
    EXPECT_EQ(viaChooser->Ref2(), target->Id());
}

} // namespace
