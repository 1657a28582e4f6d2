#include "elements/kvnewpagetemplate.h"

#include "app/kvoptionsg.h"
#include "links/kvtemplatefill.h"
#include "model/kvdircontext.h"
#include "model/kvpage.h"
#include "platform/applog.h"

KvNewPageTemplate::KvNewPageTemplate(Catalogue catalogue) : m_catalogue(std::move(catalogue)) {}

KvTemplateEnv KvNewPageTemplate::env() const
{
    const KvOptionsG options;
    KvTemplateEnv e;
    e.catalogue = m_catalogue ? m_catalogue() : nullptr;
    e.now = m_clock ? m_clock() : QDateTime::currentDateTime();
    e.pathDelimiter = options.PathDelimiter;
    e.dataDir = KvDirContext::Current().DataDir();
    e.restoreCursorPos = options.RestoreCursorPos;
    return e;
}

KvPageTemplate::Proposal KvNewPageTemplate::Propose(KvFolder& folder)
{
    const KvTemplateFill::Proposal p = KvTemplateFill::Propose(folder, env());
    return {p.name, p.status};
}

void KvNewPageTemplate::Fill(KvFolder& folder, KvPage& page)
{
    KV_LOG_SCOPE("KvNewPageTemplate::Fill");
    KvPage* templ = KvTemplateFill::TemplateOf(folder, false);
    if (!templ)
        return;
    const KvTemplateEnv e = env();
    KvTemplateFill::Content content;
    try {
        content = KvTemplateFill::Read(*templ, e);
    } catch (const KvPage::EWrongPassword&) {
        // Without the template's password the new page starts empty.
        KvAppLog::Write(
            u"KvNewPageTemplate: template %1 not read, no password"_qs.arg(templ->Id()));
        kvLogScope_.Exit(1);
        return;
    }
    KvTemplateFill::Fill(page, content, e);
}
