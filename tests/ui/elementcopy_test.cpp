// Copy, paste and referrers in the window: pasting twice, a folder of three levels with its
// expansion, referrers copied as referrers or originals, protected pages with and without
// PWCopy (the copy that is not protected is said first), pasting a folder into itself or
// below it, cancelling a folder copy half-way, a referrer of a referrer, and no referrer of
// a page in the trash.
#include "elementwindow.h"
#include "ui/tprogressf.h"

#include <QApplication>

namespace {

using korvtest::Rtf;
using korvtest::WaitUntil;

class ElementCopy : public korvtest::ElementWindow
{
protected:
    // The notebook with "Ziel" (Fldr0000003) at the end of the top folder and a third
    // level below "Alt": Tief (Fldr0000004) with Grund (Page0000006).
    void MakeDeep(const std::function<void(KvFolder& top)>& extra = {})
    {
        MakeNotebook([this, extra](KvFolder& top, KvFolder&) {
            KvElementFactory f;
            folder(f, u"Fldr0000003"_qs, top, u"Ziel"_qs);
            auto* old = dynamic_cast<KvFolder*>(FindObject(u"Fldr0000002"_qs));
            KvFolder* deep = folder(f, u"Fldr0000004"_qs, *old, u"Tief"_qs);
            page(f, u"Page0000006"_qs, *deep, u"Grund"_qs);
            if (extra)
                extra(top);
        });
    }
    // The only child of folder with that name; null when there is none or several.
    static KvObject* Child(const QString& folderId, const QString& name)
    {
        KvObject* found = nullptr;
        if (KvObject* folder = FindObject(folderId)) {
            for (KvObject* c : folder->Children()) {
                if (c->Name() == name) {
                    if (found)
                        return nullptr;
                    found = c;
                }
            }
        }
        return found;
    }
    static bool ProgressShown()
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        return std::any_of(windows.begin(), windows.end(), [](QWidget* w) {
            return qobject_cast<TProgressF*>(w) && w->isVisible();
        });
    }
    static QByteArray Decrypted(const QByteArray& bytes)
    {
        return BlowFishVCL(KvPasswordBytes::Encode(u"pw"_qs)).DecryptData(bytes);
    }
};

TEST_F(ElementCopy, APageCopiedOnceIsPastedTwice)
{
    MakeDeep();
    Open();
    Show(u"Page0000001"_qs);
    Run(u"PageCopyA"_qs);
    Show(u"Fldr0000003"_qs);
    EXPECT_TRUE(A(u"FolderPasteA"_qs)->isEnabled());
    Run(u"FolderPasteA"_qs);
    Run(u"FolderPasteA"_qs);
    EXPECT_EQ(Names(u"Fldr0000003"_qs), u"Plan,Plan"_qs);
    EXPECT_EQ(NodeNames(u"Fldr0000003"_qs), u"Plan,Plan"_qs);
    const QList<KvObject*> copies = FindObject(u"Fldr0000003"_qs)->Children();
    ASSERT_EQ(copies.size(), 2);
    EXPECT_NE(copies[0]->Id(), copies[1]->Id());
    EXPECT_NE(copies[0]->Id(), u"Page0000001"_qs);
    // The last copy is shown.
    EXPECT_EQ(window->ShownPage(), copies[1]);
    for (KvObject* c : copies)
        EXPECT_EQ(Content(c->Id()), Content(u"Page0000001"_qs)) << c->Id().toStdString();
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ElementCopy, AFolderOfThreeLevelsKeepsItsExpansion)
{
    MakeDeep();
    Open();
    // Projekte and Tief open, Alt closed.
    NodeOf(u"Fldr0000001"_qs)->setExpanded(true);
    NodeOf(u"Fldr0000004"_qs)->setExpanded(true);
    NodeOf(u"Fldr0000002"_qs)->setExpanded(false);
    Show(u"Fldr0000001"_qs);
    Run(u"FolderCopyA"_qs);
    Show(u"Fldr0000003"_qs);
    Run(u"FolderPasteA"_qs);
    // No progress window is left.
    EXPECT_FALSE(ProgressShown());

    KvObject* top = Child(u"Fldr0000003"_qs, u"Projekte"_qs);
    ASSERT_NE(top, nullptr);
    EXPECT_NE(top->Id(), u"Fldr0000001"_qs);
    EXPECT_EQ(window->CurrentFolder(), top);
    EXPECT_EQ(Names(top->Id()), u"Plan,Notiz,[Alt]"_qs);
    KvObject* old = Child(top->Id(), u"Alt"_qs);
    ASSERT_NE(old, nullptr);
    EXPECT_EQ(Names(old->Id()), u"Archiv,[Tief]"_qs);
    KvObject* deep = Child(old->Id(), u"Tief"_qs);
    ASSERT_NE(deep, nullptr);
    EXPECT_EQ(Names(deep->Id()), u"Grund"_qs);
    EXPECT_EQ(Content(Child(deep->Id(), u"Grund"_qs)->Id()), Content(u"Page0000006"_qs));
    EXPECT_TRUE(NodeOf(top->Id())->isExpanded());
    EXPECT_FALSE(NodeOf(old->Id())->isExpanded());
    EXPECT_TRUE(NodeOf(deep->Id())->isExpanded());
    const QString topId = top->Id(), oldId = old->Id(), deepId = deep->Id();

    // Stored with the expansion.
    Close();
    Open();
    EXPECT_EQ(Names(topId), u"Plan,Notiz,[Alt]"_qs);
    EXPECT_EQ(Names(deepId), u"Grund"_qs);
    EXPECT_FALSE(NodeOf(oldId)->isExpanded());
    EXPECT_TRUE(Find<KvTVFolder>(deepId)->ExpandedFlag());
}

TEST_F(ElementCopy, AFolderIsNotPastedIntoItselfOrBelowIt)
{
    MakeDeep();
    Open();
    Show(u"Fldr0000001"_qs);
    Run(u"FolderCopyA"_qs);
    prompter.Answer(KvAnswer::Ok);
    Run(u"FolderPasteA"_qs);
    Show(u"Fldr0000004"_qs);
    prompter.Answer(KvAnswer::Ok);
    Run(u"FolderPasteA"_qs);
    ASSERT_EQ(prompter.Messages().size(), 2);
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Text(5521));
    EXPECT_EQ(prompter.Messages()[1].text, KvTexts::Text(5520));
    for (const auto& m : prompter.Messages()) {
        EXPECT_EQ(m.title, KvTexts::Text(5007));
        EXPECT_EQ(m.kind, KvMsgKind::Error);
    }
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"Plan,Notiz,[Alt]"_qs);
    EXPECT_EQ(Names(u"Fldr0000004"_qs), u"Grund"_qs);
    // Into the trash is allowed.
    Show(u"TrashFolder"_qs);
    Run(u"FolderPasteA"_qs);
    EXPECT_EQ(Names(u"TrashFolder"_qs), u"[Projekte]"_qs);
}

TEST_F(ElementCopy, AReferrerIsCopiedAsReferrerOrAsItsOriginal)
{
    MakeDeep([this](KvFolder&) {
        KvElementFactory f;
        referrer(f, u"Page0000007"_qs, *dynamic_cast<KvFolder*>(FindObject(u"Fldr0000001"_qs)),
                 u"Page0000004"_qs);
    });
    Open();
    Show(u"Page0000007"_qs);
    ASSERT_TRUE(window->ShownPage()->IsReferrer());
    Run(u"PageCopyA"_qs);
    Show(u"Fldr0000003"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"FolderPasteA"_qs);
    prompter.Answer(KvAnswer::No);
    Run(u"FolderPasteA"_qs);
    ASSERT_EQ(prompter.Messages().size(), 2);
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Message(5058, {u"Einkauf"_qs}));
    EXPECT_EQ(prompter.Messages()[0].title, KvTexts::Text(5059));
    const QList<KvObject*> copies = FindObject(u"Fldr0000003"_qs)->Children();
    ASSERT_EQ(copies.size(), 2);
    EXPECT_TRUE(copies[0]->IsReferrer());
    EXPECT_EQ(copies[0]->Ref2(), u"Page0000004"_qs);
    EXPECT_FALSE(copies[1]->IsReferrer());
    EXPECT_EQ(copies[1]->Name(), u"Einkauf"_qs);
    EXPECT_EQ(Content(copies[1]->Id()), Content(u"Page0000004"_qs));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ElementCopy, AReferrerOfAReferrerStandsForTheTarget)
{
    MakeDeep([this](KvFolder&) {
        KvElementFactory f;
        referrer(f, u"Page0000007"_qs, *dynamic_cast<KvFolder*>(FindObject(u"Fldr0000001"_qs)),
                 u"Page0000004"_qs);
    });
    Open();
    Show(u"Page0000007"_qs);
    Run(u"CreateReferrerA"_qs);
    Show(u"Fldr0000003"_qs);
    Run(u"FolderPasteA"_qs);
    // The new page chooser on the referrer gives a referrer of the target too.
    AnswerChoice(u"Page0000007"_qs);
    Run(u"NewLinkA"_qs);
    const QList<KvObject*> made = FindObject(u"Fldr0000003"_qs)->Children();
    ASSERT_EQ(made.size(), 2);
    for (KvObject* r : made) {
        EXPECT_TRUE(r->IsReferrer());
        EXPECT_EQ(r->Ref2(), u"Page0000004"_qs);
        EXPECT_EQ(r->Name(), u"Einkauf"_qs);
        EXPECT_EQ(NodeOf(r->Id())->text(0), u"Einkauf"_qs);
    }
    EXPECT_EQ(window->ShownPage(), made.last());
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ElementCopy, AProtectedPageIsCopiedDecryptedUnlessPWCopy)
{
    MakeDeep([this](KvFolder& top) {
        KvElementFactory f;
        page(f, u"Page0000008"_qs, top, u"Geheim"_qs);
        page(f, u"Page0000009"_qs, top, u"Tresor"_qs);
        page(f, u"Page0000014"_qs, top, u"Zu"_qs);
    });
    {
        // The page store of the closed notebook gets the password data.
        KvDirStores::Reopen(dir);
        protect(u"Page0000008"_qs, u"Geheimtext"_qs, false);
        protect(u"Page0000009"_qs, u"Tresortext"_qs, true);
        protect(u"Page0000014"_qs, u"Zutext"_qs, false);
        KvDirStores::Close();
    }
    Open();
    for (const QString& id : {u"Page0000008"_qs, u"Page0000009"_qs}) {
        AnswerPassword(u"pw"_qs);
        Show(id);
        Run(u"PageCopyA"_qs);
        Show(u"Fldr0000003"_qs);
        // The protected copy asks for its password when it is shown; the unprotected one
        // is only made after the user heard that it is not protected.
        if (id == u"Page0000009"_qs)
            AnswerPassword(u"pw"_qs);
        else
            prompter.Answer(KvAnswer::Yes);
        Run(u"FolderPasteA"_qs);
        EXPECT_EQ(prompter.Pending(), 0) << id.toStdString();
    }
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].title, KvTexts::Text(5527));
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Message(5525, {u"Geheim"_qs}));
    EXPECT_EQ(prompter.Messages()[0].kind, KvMsgKind::AskYesNo);
    const QList<KvObject*> copies = FindObject(u"Fldr0000003"_qs)->Children();
    ASSERT_EQ(copies.size(), 2);
    auto* plain = dynamic_cast<KvPage*>(copies[0]);
    auto* locked = dynamic_cast<KvPage*>(copies[1]);
    EXPECT_FALSE(plain->IsProtected());
    EXPECT_EQ(Content(plain->Id()), Rtf(u"Geheimtext"_qs));
    EXPECT_TRUE(locked->IsProtected());
    EXPECT_TRUE(locked->GetCopyPasswordProtection());
    EXPECT_FALSE(Content(locked->Id()).contains("Tresortext"));
    EXPECT_EQ(Decrypted(Content(locked->Id())), Rtf(u"Tresortext"_qs));

    EXPECT_FALSE(prompter.Unexpected());

    // No to the question: nothing is copied, and no password is asked.
    Show(u"Page0000008"_qs);
    Run(u"PageCopyA"_qs);
    Show(u"Fldr0000003"_qs);
    prompter.Answer(KvAnswer::No);
    Run(u"FolderPasteA"_qs);
    EXPECT_EQ(prompter.Messages().size(), 2);
    EXPECT_EQ(FindObject(u"Fldr0000003"_qs)->ChildCount(), 2);
    EXPECT_FALSE(prompter.Unexpected());

    // Without the password nothing is copied.
    prompter.AnswerDialog(QDialog::Rejected, TPasswordF::DialogName);
    Show(u"Page0000014"_qs);
    ASSERT_EQ(window->CurrentPage()->Id(), u"Page0000014"_qs);
    Run(u"PageCopyA"_qs);
    Show(u"Fldr0000003"_qs);
    prompter.Answer(KvAnswer::Yes);
    prompter.AnswerDialog(QDialog::Rejected, TPasswordF::DialogName);
    Run(u"FolderPasteA"_qs);
    EXPECT_EQ(FindObject(u"Fldr0000003"_qs)->ChildCount(), 2);
    EXPECT_FALSE(prompter.Unexpected());
    EXPECT_EQ(prompter.Pending(), 0);
}

TEST_F(ElementCopy, AFolderCopyTellsOnceThatCopiesOfProtectedPagesAreNotProtected)
{
    MakeDeep([this](KvFolder& top) {
        KvElementFactory f;
        KvFolder* safe = folder(f, u"Fldr0000005"_qs, top, u"Tresor"_qs);
        page(f, u"Page0000010"_qs, *safe, u"Offen"_qs);
        page(f, u"Page0000011"_qs, *safe, u"Geheim"_qs);
        KvFolder* inner = folder(f, u"Fldr0000006"_qs, *safe, u"Innen"_qs);
        page(f, u"Page0000012"_qs, *inner, u"Auch geheim"_qs);
        page(f, u"Page0000013"_qs, *inner, u"Mitgeschützt"_qs);
    });
    {
        KvDirStores::Reopen(dir);
        protect(u"Page0000011"_qs, u"Geheimtext"_qs, false);
        protect(u"Page0000012"_qs, u"Auch-Text"_qs, false);
        protect(u"Page0000013"_qs, u"Mit-Text"_qs, true);
        KvDirStores::Close();
    }
    Open();
    Show(u"Fldr0000005"_qs);
    Run(u"FolderCopyA"_qs);
    Show(u"Fldr0000003"_qs);
    // No: nothing at all is copied.
    prompter.Answer(KvAnswer::No);
    Run(u"FolderPasteA"_qs);
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].title, KvTexts::Text(5527));
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Message(5526, {u"Tresor"_qs, u"2"_qs}));
    EXPECT_EQ(FindObject(u"Fldr0000003"_qs)->ChildCount(), 0);
    EXPECT_FALSE(prompter.Unexpected());

    // Yes: one question for both pages, then their passwords.
    prompter.Answer(KvAnswer::Yes);
    AnswerPassword(u"pw"_qs);
    AnswerPassword(u"pw"_qs);
    Run(u"FolderPasteA"_qs);
    EXPECT_EQ(prompter.Messages().size(), 2);
    KvObject* copy = Child(u"Fldr0000003"_qs, u"Tresor"_qs);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Names(copy->Id()), u"Offen,Geheim,[Innen]"_qs);
    auto* plain = dynamic_cast<KvPage*>(Child(copy->Id(), u"Geheim"_qs));
    ASSERT_NE(plain, nullptr);
    EXPECT_FALSE(plain->IsProtected());
    KvObject* inner = Child(copy->Id(), u"Innen"_qs);
    ASSERT_NE(inner, nullptr);
    auto* kept = dynamic_cast<KvPage*>(Child(inner->Id(), u"Mitgeschützt"_qs));
    ASSERT_NE(kept, nullptr);
    EXPECT_TRUE(kept->IsProtected());
    EXPECT_FALSE(prompter.Unexpected());
    EXPECT_EQ(prompter.Pending(), 0);
}

TEST_F(ElementCopy, NoReferrerStandsForAPageInTheTrash)
{
    MakeDeep();
    Open();
    // Remembered while the page was outside, pasted after it was moved into the trash
    // (a deletion would have made the paste forget it).
    Show(u"Page0000004"_qs);
    Run(u"CreateReferrerA"_qs);
    AnswerChoice(u"TrashFolder"_qs);
    Run(u"PageMove2FolderA"_qs);
    ASSERT_EQ(Names(u"TrashFolder"_qs), u"Einkauf"_qs);
    ASSERT_TRUE(A(u"FolderPasteA"_qs)->isEnabled());

    // On the page in the trash the referrer commands are off; copying it is not.
    Show(u"Page0000004"_qs);
    EXPECT_FALSE(A(u"CreateReferrerA"_qs)->isEnabled());
    EXPECT_TRUE(A(u"PageCopyA"_qs)->isEnabled());
    TreeMenuOn(u"Page0000004"_qs);
    EXPECT_FALSE(A(u"CreateReferrerPMI"_qs)->isEnabled());
    EXPECT_TRUE(A(u"ElemCopyPMI"_qs)->isEnabled());
    TreeMenuOn(u"Page0000005"_qs);
    EXPECT_TRUE(A(u"CreateReferrerPMI"_qs)->isEnabled());

    Show(u"Fldr0000003"_qs);
    const int before = int(prompter.Messages().size());
    prompter.Answer(KvAnswer::Ok);
    Run(u"FolderPasteA"_qs);
    ASSERT_EQ(prompter.Messages().size(), before + 1);
    EXPECT_EQ(prompter.Messages().last().title, KvTexts::Text(5007));
    EXPECT_EQ(prompter.Messages().last().text, KvTexts::Message(5523, {u"Einkauf"_qs}));
    EXPECT_EQ(prompter.Messages().last().kind, KvMsgKind::Error);
    EXPECT_EQ(FindObject(u"Fldr0000003"_qs)->ChildCount(), 0);

    // The chooser of a new referrer offers no page of the trash.
    bool trashOffered = true;
    prompter.AnswerDialogWith(
        [&trashOffered] {
            TObjSelectF* c = TObjSelectF::Active();
            if (!c)
                return int(QDialog::Rejected);
            trashOffered = c->Select(u"Page0000004"_qs) || c->Select(u"TrashFolder"_qs);
            if (!c->Select(u"Page0000005"_qs))
                return int(QDialog::Rejected);
            c->accept();
            return c->result();
        },
        TObjSelectF::DialogName);
    Run(u"NewLinkA"_qs);
    EXPECT_FALSE(trashOffered);
    const QList<KvObject*> made = FindObject(u"Fldr0000003"_qs)->Children();
    ASSERT_EQ(made.size(), 1);
    EXPECT_EQ(made[0]->Ref2(), u"Page0000005"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(ElementCopy, ClosingTheProgressWindowStopsAFolderCopyAtTheNextElement)
{
    MakeDeep([this](KvFolder& top) {
        KvElementFactory f;
        KvFolder* many = folder(f, u"Fldr0000005"_qs, top, u"Viele"_qs);
        page(f, u"Page0000010"_qs, *many, u"A"_qs);
        page(f, u"Page0000011"_qs, *many, u"B"_qs);
        page(f, u"Page0000012"_qs, *many, u"C"_qs);
        page(f, u"Page0000013"_qs, *many, u"D"_qs);
    });
    {
        KvDirStores::Reopen(dir);
        protect(u"Page0000011"_qs, u"B-Text"_qs, false);
        KvDirStores::Close();
    }
    Open();
    Show(u"Fldr0000005"_qs);
    Run(u"FolderCopyA"_qs);
    Show(u"Fldr0000003"_qs);
    // While B's password is asked, the user closes the progress window.
    QString progressTitle;
    bool progressModal = false;
    prompter.AnswerDialogWith(
        [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* p = qobject_cast<TProgressF*>(w); p && p->isVisible()) {
                    progressTitle = p->windowTitle();
                    progressModal = p->windowModality() != Qt::NonModal;
                    EXPECT_TRUE(A(u"FolderCopyA"_qs)->isEnabled() == false);
                    p->close();
                }
            }
            return int(QDialog::Rejected);
        },
        TPasswordF::DialogName);
    // B's copy will not be protected: asked once before the copy starts.
    prompter.Answer(KvAnswer::Yes);
    Run(u"FolderPasteA"_qs);
    EXPECT_EQ(prompter.Messages().value(0).text, KvTexts::Message(5526, {u"Viele"_qs, u"1"_qs}));
    EXPECT_EQ(progressTitle, KvTexts::Text(5303));
    EXPECT_TRUE(progressModal);
    KvObject* copy = Child(u"Fldr0000003"_qs, u"Viele"_qs);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Names(copy->Id()), u"A"_qs);
    EXPECT_EQ(window->CurrentFolder(), copy);
    const QString copyId = copy->Id();
    Idle();
    EXPECT_TRUE(A(u"FolderCopyA"_qs)->isEnabled());
    // What was copied is stored.
    Close();
    Open();
    EXPECT_EQ(Names(copyId), u"A"_qs);
    EXPECT_EQ(Names(u"Fldr0000005"_qs), u"A,B,C,D"_qs);
}

} // namespace
