// New pages from templates in the window (proposal, content, keywords, caret, variables,
// one undo step, protected templates with PWCopy) and the welcome page of a first start.
#include "app/kvformres.h"
#include "app/kvmainformsettings.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementmove.h"
#include "links/kvdatetimetext.h"
#include "model/kvnewpagelayout.h"
#include "richtext/texrichdocument.h"
#include "ui/elementwindow.h"
#include "ui/kvelementhooks.h"

#include <QFile>
#include <QLocale>

using namespace korvtest;

namespace {

const QDateTime kNow(QDate(2024, 6, 5), QTime(14, 3, 9)); // a Wednesday

class Templates : public ElementWindow
{
protected:
    void SetUp() override
    {
        ElementWindow::SetUp();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void TearDown() override
    {
        ElementWindow::TearDown();
        QLocale::setDefault(QLocale::system());
    }
    // The notebook with Page0000005 "&DATE Protokoll" (status 2, keyword "Team", caret
    // stored at 8) as the template of Projekte.
    void MakeTemplateNotebook(const QByteArray& rtf, bool protectedTemplate = false)
    {
        MakeNotebook([&](KvFolder& top, KvFolder&) {
            KvPage* t = Find<KvPage>(u"Page0000005"_qs);
            t->SetName(u"&DATE Protokoll"_qs);
            t->SetStatus(2);
            t->SetKeywords(u"Team"_qs);
            KvDirStores::PageStore().WriteInteger(t->Id(), u"SelStart"_qs, 8);
            KvDirStores::PageStore().WriteInteger(t->Id(), u"SelLength"_qs, 0);
            auto* projects = Find<KvFolder>(u"Fldr0000001"_qs);
            projects->GetNewPageLayout()->SetTemplatePage(t);
            projects->GetNewPageLayout()->Store();
            Q_UNUSED(top);
        });
        if (!protectedTemplate) {
            WriteAll(dir + u"Page0000005.kvp"_qs, Rtf(QString::fromUtf8(rtf)));
            return;
        }
        // The page store of the closed notebook gets the password data.
        KvDirStores::Reopen(dir);
        protect(u"Page0000005"_qs, QString::fromUtf8(rtf), true);
        KvDirStores::Close();
    }
    // Opens the window with the template step's clock at kNow.
    void OpenAtNow()
    {
        Open();
        window->Elements().pageTemplate.SetClock([] { return kNow; });
    }
    QString Text() const { return Editor()->document()->toPlainText(); }
};

TEST_F(Templates, ANewPageStartsFromTheTemplate)
{
    MakeTemplateNotebook("Am &DATE (&DAY) von &USER in &FOLDER, &PATH: &TITLE / &title. "
                         "{\\b &STATE} &KEYWORDS");
    OpenAtNow();
    Show(u"Fldr0000001"_qs);
    AnswerName(QString());
    Run(u"CreateNewPageA"_qs);
    ASSERT_EQ(named.size(), 1);
    EXPECT_EQ(named[0].preset, u"05.06.24 Protokoll"_qs) << "the template's name, replaced";
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"Plan,Notiz,[Alt]"_qs) << "cancelled: nothing made";

    AnswerName(u"Sitzung &TITLE"_qs);
    Run(u"CreateNewPageA"_qs);
    KvPage* page = window->ShownPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Name(), u"Sitzung &TITLE"_qs);
    EXPECT_EQ(page->GetStatus(), 2) << "the template's status preselected";
    EXPECT_EQ(Text(), u"Am 05.06.24 (Mittwoch) von tester in Projekte, Notizen/Projekte: "
                      "Sitzung &TITLE / Sitzung &TITLE. in Bearbeitung Team"_qs);
    EXPECT_EQ(page->GetKeywords(), u"Team"_qs);
    EXPECT_EQ(Editor()->SelStart(), 11) << "the template's caret behind the replaced date";
    // Stored, with the values.
    TexRichDocument stored;
    stored.LoadRtfFile(page->ContentFilePath());
    EXPECT_EQ(stored.PlainText(), Text());
    EXPECT_TRUE(stored.SaveRtf().contains("\\b in Bearbeitung")) << "formats kept";
    // One undo step back to the empty page.
    Editor()->undo();
    EXPECT_EQ(Text(), QString());
    EXPECT_FALSE(Editor()->CanUndo());
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Templates, ATemplateWithoutVariablesOrContent)
{
    MakeTemplateNotebook("Nur Text");
    OpenAtNow();
    // The name without a variable proposes "*unbenannt*".
    KvElementEnv e = window->ElementEnv();
    KvElementEdit(e).RenamePage(*Find<KvPage>(u"Page0000005"_qs), u"Vorlage"_qs);
    Show(u"Fldr0000001"_qs);
    AnswerName(u"Eins"_qs);
    Run(u"CreateNewPageA"_qs);
    EXPECT_EQ(named.last().preset, KvTexts::Text(5800));
    EXPECT_EQ(Text(), u"Nur Text"_qs);
    // Without its content file the new page starts empty.
    QFile::remove(dir + u"Page0000005.kvp"_qs);
    Show(u"Fldr0000001"_qs);
    AnswerName(u"Zwei"_qs);
    Run(u"CreateNewPageA"_qs);
    EXPECT_EQ(window->ShownPage()->Name(), u"Zwei"_qs);
    EXPECT_EQ(Text(), QString());
    EXPECT_TRUE(window->ShownPage()->GetKeywords().isEmpty());
}

TEST_F(Templates, ATemplateInTheTrashGivesNothing)
{
    MakeTemplateNotebook("Alt &DATE");
    OpenAtNow();
    KvElementEnv e = window->ElementEnv();
    KvElementMove(e).Move(*Find<KvObject>(u"Page0000005"_qs), *window->TrashFolder(), false);
    // Moving it into the trash drops it as template; name it again.
    auto* projects = Find<KvFolder>(u"Fldr0000001"_qs);
    projects->GetNewPageLayout()->SetTemplatePage(Find<KvPage>(u"Page0000005"_qs));
    projects->GetNewPageLayout()->Store();
    Show(u"Fldr0000001"_qs);
    AnswerName(u"Neu"_qs);
    Run(u"CreateNewPageA"_qs);
    EXPECT_EQ(named.last().preset, u"05.06.24 Protokoll"_qs);
    EXPECT_EQ(Text(), QString());
}

TEST_F(Templates, AProtectedTemplateGivesItsPasswordWithPWCopy)
{
    MakeTemplateNotebook("Geheim &TITLE", true);
    OpenAtNow();
    Show(u"Fldr0000001"_qs);
    AnswerName(u"Tresor"_qs);
    AnswerPassword(u"pw"_qs);
    Run(u"CreateNewPageA"_qs);
    KvPage* page = window->ShownPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(Text(), u"Geheim Tresor"_qs);
    EXPECT_TRUE(page->IsProtected());
    EXPECT_FALSE(Content(page->Id()).contains("Geheim")) << "encrypted";
    QByteArray plain;
    EXPECT_TRUE(page->Password().ReadContent(page->ContentFilePath(), plain));
    EXPECT_TRUE(plain.contains("Geheim Tresor"));
    // Without the password the new page is made, empty (an unprotected page shown last).
    Show(u"Page0000001"_qs);
    Close();
    Open();
    Show(u"Fldr0000001"_qs);
    AnswerName(u"Leer"_qs);
    prompter.AnswerDialog(QDialog::Rejected, TPasswordF::DialogName);
    Run(u"CreateNewPageA"_qs);
    EXPECT_EQ(window->ShownPage()->Name(), u"Leer"_qs);
    EXPECT_EQ(Text(), QString());
    EXPECT_FALSE(window->ShownPage()->IsProtected());
    EXPECT_FALSE(prompter.Unexpected());
}

class WelcomePage : public ElementWindow
{
protected:
    QString WelcomeFile() { return env.Data().programDir + u"welcome.rtf"_qs; }
    static bool WindowStored()
    {
        return KvFormRes().Settings().SectionExists(KvMainFormSettings::Section);
    }
};

TEST_F(WelcomePage, AFirstStartShowsItOnce)
{
    WriteAll(WelcomeFile(), Rtf(u"Willkommen im neuen Notizbuch"_qs));
    ASSERT_FALSE(WindowStored());
    Open();
    EXPECT_EQ(Names(u"TopFolder"_qs), KvTexts::Text(5100));
    KvPage* page = window->ShownPage();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->Name(), KvTexts::Text(5100));
    EXPECT_EQ(Editor()->document()->toPlainText(), u"Willkommen im neuen Notizbuch"_qs);
    EXPECT_EQ(window->CurrentFolder(), window->TopFolder());
    EXPECT_EQ(window->TopFolder()->GetActivePage(), page);
    EXPECT_TRUE(Content(page->Id()).contains("Willkommen im neuen Notizbuch")) << "stored";
    // The next showing of the window runs the first show again, without a new page.
    window->hide();
    window->show();
    Idle();
    EXPECT_EQ(Names(u"TopFolder"_qs), KvTexts::Text(5100));
    Close();
    EXPECT_TRUE(WindowStored());
    // A new, empty directory: the window was stored with these settings, no welcome page.
    dir = env.Dir(u"notes2"_qs);
    Open();
    EXPECT_EQ(Names(u"TopFolder"_qs), QString());
}

TEST_F(WelcomePage, NotWithoutAFileNorInANotebookThatHasPagesNorReadOnly)
{
    // No file.
    Open();
    EXPECT_EQ(Names(u"TopFolder"_qs), QString());
    EXPECT_EQ(window->CurrentFolder(), window->TopFolder()) << "the first show goes on";
    Close();
    QFile::remove(KvPaths::SettingsFile());
    // An empty file is no welcome page: no empty "Willkommen!" page.
    WriteAll(WelcomeFile(), QByteArray());
    Open();
    EXPECT_EQ(Names(u"TopFolder"_qs), QString());
    Close();
    QFile::remove(KvPaths::SettingsFile());
    // Read-only: nothing.
    WriteAll(WelcomeFile(), Rtf(u"Hallo"_qs));
    Open(u"/dr"_qs);
    EXPECT_EQ(Names(u"TopFolder"_qs), QString());
    Close();
    QFile::remove(KvPaths::SettingsFile());
    // A notebook with pages: nothing.
    MakeNotebook();
    Open();
    EXPECT_EQ(Names(u"TopFolder"_qs), u"[Projekte],Einkauf,Rezepte"_qs);
}

} // namespace
