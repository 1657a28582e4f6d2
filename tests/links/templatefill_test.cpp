// The template step: the proposal before the name dialog, what a template gives a new
// page, and the page filled from it.
#include "app/kvtexts.h"
#include "links/kvtemplatefill.h"
#include "links/kvvariables.h"
#include "linksfixture.h"
#include "model/blowfishvcl.h"
#include "model/kvaddstatus.h"
#include "model/kvnewpagelayout.h"
#include "model/kvpagepassword.h"
#include "model/kvpasswordasker.h"
#include "model/kvpasswordbytes.h"
#include "richtext/texrichdocument.h"
#include "store/texinifile.h"

#include <QFile>
#include <QTextDocument>

namespace {

using korvtest::Rtf;
using korvtest::WriteAll;

const QDateTime kNow(QDate(2024, 6, 5), QTime(14, 3, 9));

class ScriptedAsker : public KvPasswordAsker
{
public:
    ScriptedAsker() { KvPasswordAsker::SetCurrent(this); }
    ~ScriptedAsker() override { KvPasswordAsker::SetCurrent(nullptr); }
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

class TemplateFill : public korvtest::LinksFixture
{
protected:
    void SetUp() override
    {
        LinksFixture::SetUp();
        env.catalogue = &catalogue;
        env.now = kNow;
        env.pathDelimiter = u"/"_qs;
        env.dataDir = m_dir;
        templ = page(u"Page0000010"_qs, *projects, u"Vorlage"_qs);
        WriteAll(templ->ContentFilePath(),
                 Rtf(u"Titel &TITLE, Ordner &FOLDER, \\b &date\\b0  &KEYWORDS"_qs));
        templ->SetKeywords(u"Team"_qs);
        templ->Store();
        UseTemplate(*projects, templ);
    }
    static void UseTemplate(KvFolder& folder, KvPage* page)
    {
        folder.GetNewPageLayout()->SetTemplatePage(page);
        folder.GetNewPageLayout()->Store();
    }
    // A template protected with "pw", made the projects' template; the page store holds its
    // keys before the page is made, as after a start.
    KvPage* ProtectedTemplate(const QString& id, bool copy)
    {
        TexIniFile& pages = KvDirStores::PageStore();
        pages.WriteString(id, u"PWAskMode"_qs, u"1"_qs);
        pages.WriteString(id, u"PWBF"_qs, KvPagePassword::CheckValue(0, u"pw"_qs));
        pages.WriteString(id, u"EncSCl"_qs, u"0"_qs);
        pages.WriteString(id, u"PWCopy"_qs, copy ? u"1"_qs : u"0"_qs);
        pages.WriteString(id, u"PWList"_qs, u"0"_qs);
        KvPage* p = factory.CreatePage(id, projects);
        p->SetName(u"Geheimvorlage"_qs);
        p->Store();
        projects->Store();
        const BlowFishVCL cipher(KvPasswordBytes::Encode(u"pw"_qs));
        cipher.EncryptToFile(Rtf(u"Geheim &TITLE"_qs), p->ContentFilePath(),
                             BlowFishVCL::DefaultBlockSize);
        UseTemplate(*projects, p);
        return p;
    }
    // A page as the create command leaves it: made, named, stored, without content.
    KvPage* NewPage(KvFolder& folder, const QString& name, const QString& id = u"Page0000020"_qs)
    {
        KvPage* p = factory.CreatePage(id, &folder);
        p->SetName(name);
        p->Store();
        folder.Store();
        return p;
    }

    KvAddStatus catalogue{m_env.Root() + u"none.ini"_qs};
    KvTemplateEnv env;
    KvPage* templ = nullptr;
};

TEST_F(TemplateFill, ProposedNameAndStatus)
{
    const QString unnamed = KvTexts::Text(5800);
    const struct
    {
        const char16_t* name;
        int status;
        QString proposedName;
        int proposedStatus;
    } cases[] = {
        {u"Vorlage", 3, unnamed, 3},
        {u"&DATE Bericht", 0, u"05.06.24 Bericht"_qs, 0},
        {u"&date Bericht", 0, unnamed, 0}, // letter case counts in names
        {u"&TITLE x", 2, u"&TITLE x x"_qs, 2},
        {u"&FOLDER: &PATH", 0, u"Projekte: Notizen/Projekte"_qs, 0},
        {u"&STATE", 13, KvTexts::Text(11213), 13},
        {u"Vorlage", 14, unnamed, 0}, // no such status in an empty catalogue
    };
    for (const auto& c : cases) {
        templ->SetName(QString::fromUtf16(c.name));
        templ->SetStatus(c.status);
        templ->Store();
        const KvTemplateFill::Proposal p = KvTemplateFill::Propose(*projects, env);
        EXPECT_EQ(p.name, c.proposedName) << QString::fromUtf16(c.name).toStdString();
        EXPECT_EQ(p.status, c.proposedStatus) << QString::fromUtf16(c.name).toStdString();
    }
    // Without a template.
    const KvTemplateFill::Proposal none = KvTemplateFill::Propose(*nb.top, env);
    EXPECT_EQ(none.name, unnamed);
    EXPECT_EQ(none.status, 0);
}

TEST_F(TemplateFill, TheLayoutIsReadAgainAndInheritedTemplatesCount)
{
    KvFolder* sub = factory.CreateFolder(u"Fldr0000002"_qs, projects);
    sub->SetName(u"Unter"_qs);
    sub->Store();
    projects->Store();
    EXPECT_EQ(KvTemplateFill::TemplateOf(*sub, true)->Id(), templ->Id()) << "inherited";
    // Another writer names a different template: the proposal reads it.
    KvDirStores::FolderStore().WriteString(projects->Id(), u"PageTempl"_qs, shopping->Id());
    EXPECT_EQ(KvTemplateFill::TemplateOf(*sub, false)->Id(), templ->Id()) << "not read again";
    EXPECT_EQ(KvTemplateFill::TemplateOf(*sub, true)->Id(), shopping->Id());
}

TEST_F(TemplateFill, WhatATemplateGives)
{
    KvDirStores::PageStore().WriteInteger(templ->Id(), u"SelStart"_qs, 6);
    KvDirStores::PageStore().WriteInteger(templ->Id(), u"SelLength"_qs, 2);
    KvTemplateFill::Content c =
        KvTemplateFill::Read(*KvTemplateFill::TemplateOf(*projects, true), env);
    EXPECT_TRUE(c.present);
    EXPECT_TRUE(c.rtf.contains("&TITLE"));
    EXPECT_EQ(c.keywords, u"Team"_qs);
    EXPECT_EQ(c.selStart, 6);
    EXPECT_EQ(c.selLength, 2);
    EXPECT_FALSE(c.copyPassword);
    env.restoreCursorPos = false;
    c = KvTemplateFill::Read(*templ, env);
    EXPECT_EQ(c.selStart, 0);
    EXPECT_EQ(c.selLength, 0);

    // Without a content file, or in the trash: nothing.
    QFile::remove(templ->ContentFilePath());
    EXPECT_FALSE(KvTemplateFill::Read(*templ, env).present);
    UseTemplate(*projects, old);
    EXPECT_FALSE(KvTemplateFill::Read(*KvTemplateFill::TemplateOf(*projects, true), env).present);
}

TEST_F(TemplateFill, AProtectedTemplateIsReadWithItsPassword)
{
    ScriptedAsker asker;
    ProtectedTemplate(u"Page0000011"_qs, true);
    KvPage* standIn = KvTemplateFill::TemplateOf(*projects, true);
    // The tree's page is read, so that a password given there counts.
    EXPECT_THROW(KvTemplateFill::Read(*standIn, env), KvPage::EWrongPassword);
    EXPECT_EQ(asker.asked, 1);
    asker.answer = u"pw"_qs;
    const KvTemplateFill::Content c = KvTemplateFill::Read(*standIn, env);
    EXPECT_TRUE(c.rtf.contains("Geheim"));
    EXPECT_TRUE(c.copyPassword);
    EXPECT_EQ(c.password, u"pw"_qs);
    EXPECT_EQ(c.askMode, 1);
    asker.answer.clear();
    EXPECT_TRUE(KvTemplateFill::Read(*standIn, env).present) << "not asked again";
    EXPECT_EQ(asker.asked, 2);
}

TEST_F(TemplateFill, FillingIsOneUndoStepWithTheSelectionFollowing)
{
    KvTemplateFill::Content c;
    c.present = true;
    c.rtf = Rtf(u"&TITLE: abc"_qs);
    c.selStart = 8;
    c.selLength = 2;
    KvVariableValues v;
    v.title = u"Protokoll"_qs;
    v.now = kNow;
    TexRichDocument doc;
    KvTemplateFill::FillDocument(doc, c, v);
    EXPECT_EQ(doc.PlainText(), u"Protokoll: abc"_qs);
    EXPECT_EQ(doc.SelStart(), 11);
    EXPECT_EQ(doc.SelLength(), 2);
    EXPECT_TRUE(doc.IsModified());
    doc.Document()->undo();
    EXPECT_EQ(doc.PlainText(), QString()) << "one step back to the empty page";
    EXPECT_FALSE(doc.Document()->isUndoAvailable());
}

TEST_F(TemplateFill, ANewPageFromTheTemplate)
{
    KvPage* p = NewPage(*projects, u"Protokoll"_qs);
    KvTemplateFill::Fill(*p, KvTemplateFill::Read(*templ, env), env);
    EXPECT_FALSE(p->IsLoaded()) << "loaded for the step only";
    EXPECT_EQ(p->GetKeywords(), u"Team"_qs);
    TexRichDocument stored;
    stored.LoadRtfFile(p->ContentFilePath());
    EXPECT_EQ(stored.PlainText(), u"Titel Protokoll, Ordner Projekte, 05.06.24 Team"_qs);
    EXPECT_TRUE(stored.SaveRtf().contains("\\b 05.06.24"));
    EXPECT_EQ(KvDirStores::KeywordStore().ReadString(p->Id(), u"Kwds"_qs, QString()), u"Team"_qs);
}

TEST_F(TemplateFill, APageFromAProtectedTemplateTakesItsPasswordWithPWCopy)
{
    ScriptedAsker asker;
    asker.answer = u"pw"_qs;
    for (const bool copy : {true, false}) {
        ProtectedTemplate(copy ? u"Page0000011"_qs : u"Page0000012"_qs, copy);
        KvPage* standIn = KvTemplateFill::TemplateOf(*projects, true);
        KvPage* p = NewPage(*projects, u"Neu"_qs, copy ? u"Page0000021"_qs : u"Page0000022"_qs);
        KvTemplateFill::Fill(*p, KvTemplateFill::Read(*standIn, env), env);
        EXPECT_EQ(p->IsProtected(), copy);
        QByteArray plain;
        if (copy) {
            EXPECT_TRUE(p->Password().ReadContent(p->ContentFilePath(), plain));
            EXPECT_EQ(KvDirStores::PageStore().ReadString(p->Id(), u"PWCopy"_qs, QString()),
                      u"1"_qs);
        } else {
            QFile f(p->ContentFilePath());
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            plain = f.readAll();
        }
        EXPECT_TRUE(plain.contains("Geheim Neu")) << copy;
    }
}

} // namespace
