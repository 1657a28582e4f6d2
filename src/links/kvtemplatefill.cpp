#include "links/kvtemplatefill.h"

#include "app/kvtexts.h"
#include "links/kvvariables.h"
#include "model/kvaddstatus.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnewpagelayout.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "richtext/texrichdocument.h"
#include "store/texinifile.h"

#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr int kUnnamed = 5800;
constexpr int kBuiltInStatuses = 14;
const QString kTrashId = u"TrashFolder"_qs;

// The tree's page of the template when there is one: it carries a password given there.
KvPage* TreePage(KvPage& templ)
{
    auto* page = dynamic_cast<KvPage*>(FindObject(templ.Id()));
    return page && page != &templ && !page->IsRemoved() ? page : &templ;
}

bool InTrash(const KvPage& page)
{
    const KvObject* trash = FindObject(kTrashId);
    return trash && page.HasAncestor(trash);
}

} // namespace

KvTemplateFill::Content::~Content()
{
    rtf.fill('\0');
    password.fill(QChar());
}

namespace KvTemplateFill {

KvPage* TemplateOf(KvFolder& folder, bool reread)
{
    KV_LOG_SCOPE("KvTemplateFill::TemplateOf");
    if (reread) {
        // The layouts it inherits from are read again too, from the top down.
        QList<KvFolder*> chain;
        for (KvFolder* f = &folder; f; f = f->ParentFolder()) {
            chain.prepend(f);
            if (!f->GetNewPageLayout()->Inherited())
                break;
        }
        for (KvFolder* f : std::as_const(chain))
            f->ResetNewPageLayout();
    }
    return folder.GetNewPageLayout()->GetTemplatePage();
}

Proposal Propose(KvFolder& folder, const KvTemplateEnv& env)
{
    KV_LOG_SCOPE("KvTemplateFill::Propose");
    Proposal p{KvTexts::Text(kUnnamed), 0};
    KvPage* templ = TemplateOf(folder, true);
    if (!templ)
        return p;
    const int statuses = kBuiltInStatuses + (env.catalogue ? env.catalogue->Count() : 0);
    if (templ->GetStatus() >= 0 && templ->GetStatus() < statuses)
        p.status = templ->GetStatus();
    if (KvVariables::Contains(templ->Name())) {
        const KvVariableValues values = KvVariableValues::ForTemplateName(
            *templ, folder, env.catalogue, env.now, env.pathDelimiter, env.dataDir);
        p.name = KvVariables::ReplaceInString(templ->Name(), values);
    }
    return p;
}

Content Read(KvPage& templ, const KvTemplateEnv& env)
{
    KV_LOG_SCOPE("KvTemplateFill::Read");
    Content c;
    KvPage& source = *TreePage(templ);
    if (InTrash(source) || !QFileInfo::exists(source.ContentReadPath()))
        return c;
    c.rtf = source.ReadContent();
    c.present = true;
    if (env.restoreCursorPos) {
        TexIniFile& store = KvDirContext::PageStore();
        c.selStart = store.ReadInteger(source.Id(), u"SelStart"_qs, 0);
        c.selLength = store.ReadInteger(source.Id(), u"SelLength"_qs, 0);
    }
    c.keywords = source.GetKeywords();
    if (source.IsProtected() && source.GetCopyPasswordProtection()) {
        c.copyPassword = true;
        c.password = source.Password().Password();
        if (c.password.isEmpty())
            c.password = source.GetPlainPassword();
        c.protectionClass = source.GetProtectionClass();
        c.askMode = source.GetPasswordAskMode();
        c.usePasswordList = source.GetUsePasswordList();
    }
    return c;
}

void FillDocument(TexRichDocument& doc, const Content& content, const KvVariableValues& values)
{
    KV_LOG_SCOPE("KvTemplateFill::FillDocument");
    QTextCursor step(doc.Document());
    step.beginEditBlock();
    doc.ReplaceContent(content.rtf);
    int start = content.selStart;
    int length = content.selLength;
    KvVariables::ReplaceInDocument(*doc.Document(), start, length, values);
    step.endEditBlock();
    doc.SetSelection(start, length);
}

void Fill(KvPage& page, const Content& content, const KvTemplateEnv& env)
{
    KV_LOG_SCOPE("KvTemplateFill::Fill");
    if (!content.present)
        return;
    page.SetKeywords(content.keywords);
    if (content.copyPassword) {
        page.SetPasswordAskMode(content.askMode);
        page.SetCopyPasswordProtection(true);
        page.SetUsePasswordList(content.usePasswordList);
        page.SetPassword(content.password, false);
        page.SetProtectionClass(content.protectionClass);
    }
    const bool wasLoaded = page.IsLoaded();
    if (!wasLoaded)
        page.Load(false, false);
    const KvVariableValues values =
        KvVariableValues::ForPage(page, env.catalogue, env.now, env.pathDelimiter, env.dataDir);
    FillDocument(*page.GetEditor(), content, values);
    page.Store();
    if (!wasLoaded)
        page.Unload();
}

} // namespace KvTemplateFill
