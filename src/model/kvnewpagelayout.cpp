#include "model/kvnewpagelayout.h"

#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "store/texinifile.h"

namespace {

const QString kFont = u"Font"_qs;
const QString kBgColor = u"BgColor"_qs;
const QString kWordWrap = u"WordWrap"_qs;
const QString kPageTempl = u"PageTempl"_qs;

} // namespace

KvNewPageLayout::KvNewPageLayout(KvFolder* owner) : KvPageLayout(owner)
{
    KV_LOG_SCOPE("KvNewPageLayout::KvNewPageLayout");
    m_inherited = !StoreFile().ValueExists(m_section, kFont) && owner->Parent() != nullptr;
    if (m_inherited) {
        if (const KvNewPageLayout* parent = ParentLayout()) {
            m_font = parent->GetFont();
            m_bgColor = parent->GetBgColor();
            m_wordWrap = parent->GetWordWrap();
        }
    }
    ReadTemplate();
}

KvNewPageLayout::~KvNewPageLayout() = default;

KvNewPageLayout* KvNewPageLayout::ParentLayout() const
{
    auto* parent = dynamic_cast<KvFolder*>(m_owner->Parent());
    return parent ? parent->GetNewPageLayout() : nullptr;
}

KvFontSpec KvNewPageLayout::GetFont() const
{
    if (m_inherited) {
        const KvNewPageLayout* parent = ParentLayout();
        return parent ? parent->GetFont() : DefaultFont();
    }
    return m_font;
}

void KvNewPageLayout::SetFont(const KvFontSpec& font)
{
    KvPageLayout::SetFont(font);
    m_inherited = false;
}

int KvNewPageLayout::GetBgColor() const
{
    if (m_inherited) {
        const KvNewPageLayout* parent = ParentLayout();
        return parent ? parent->GetBgColor() : DefaultBgColor;
    }
    return m_bgColor;
}

void KvNewPageLayout::SetBgColor(int color)
{
    KvPageLayout::SetBgColor(color);
    m_inherited = false;
}

bool KvNewPageLayout::GetWordWrap() const
{
    if (m_inherited) {
        const KvNewPageLayout* parent = ParentLayout();
        return parent ? parent->GetWordWrap() : false;
    }
    return m_wordWrap;
}

void KvNewPageLayout::SetWordWrap(bool wrap)
{
    KvPageLayout::SetWordWrap(wrap);
    m_inherited = false;
}

void KvNewPageLayout::AssignLayout(const KvPageLayout& other)
{
    KV_LOG_SCOPE("KvNewPageLayout::AssignLayout");
    KvPageLayout::AssignLayout(other);
    if (const auto* layout = dynamic_cast<const KvNewPageLayout*>(&other)) {
        const KvPage* templ = layout->GetTemplatePage();
        SetTemplateId(templ ? templ->Id() : QString());
        m_templateChanged = true;
    }
}

void KvNewPageLayout::Store()
{
    KV_LOG_SCOPE("KvNewPageLayout::Store");
    TexIniFile& store = StoreFile();
    if (m_inherited) {
        store.DeleteKey(m_section, kFont);
        store.DeleteKey(m_section, kBgColor);
        store.DeleteKey(m_section, kWordWrap);
        store.DeleteKey(m_section, kPageTempl);
    } else {
        store.WriteFont(m_section, kFont, m_font);
        store.WriteString(m_section, kBgColor, KvColor::ColorToText(m_bgColor));
        store.WriteBool(m_section, kWordWrap, m_wordWrap);
        if (m_templatePage)
            store.WriteString(m_section, kPageTempl, m_templatePage->Id());
        else
            store.DeleteKey(m_section, kPageTempl);
    }
    store.UpdateFile();
    m_fontChanged = m_colorChanged = m_wordWrapChanged = false;
    m_templateChanged = false;
}

void KvNewPageLayout::EraseLayout()
{
    KvPageLayout::EraseLayout();
}

bool KvNewPageLayout::IsModified() const
{
    return KvPageLayout::IsModified() || m_templateChanged;
}

void KvNewPageLayout::CopyFrom(const KvPageLayout& other)
{
    KvPageLayout::CopyFrom(other);
}

KvPage* KvNewPageLayout::GetTemplatePage() const
{
    if (m_inherited) {
        const KvNewPageLayout* parent = ParentLayout();
        return parent ? parent->GetTemplatePage() : nullptr;
    }
    return m_templatePage.get();
}

void KvNewPageLayout::SetTemplatePage(KvObject* object)
{
    KV_LOG_SCOPE("KvNewPageLayout::SetTemplatePage");
    QString id;
    if (object) {
        id = object->Id();
        if (object->IsReferrer() && object->Ref2().contains(u"Page"_qs))
            id = object->Ref2();
    }
    SetTemplateId(id);
    m_templateChanged = true;
    m_inherited = false;
}

void KvNewPageLayout::CopyLayout(const KvNewPageLayout& other)
{
    KV_LOG_SCOPE("KvNewPageLayout::CopyLayout");
    CopyFrom(other);
    m_inherited = other.m_inherited;
    SetTemplateId(other.m_templatePage ? other.m_templatePage->Id() : QString());
    m_templateChanged = other.m_templateChanged;
}

void KvNewPageLayout::ReadTemplate()
{
    KV_LOG_SCOPE("KvNewPageLayout::ReadTemplate");
    const QString id = StoreFile().ReadString(m_section, kPageTempl, QString());
    SetTemplateId(id);
    m_templateChanged = false;
}

void KvNewPageLayout::SetTemplateId(const QString& id)
{
    m_templatePage.reset();
    if (id.isEmpty())
        return;
    // The stand-in is never a referrer itself (it would join its target's referrers and be
    // destroyed with them); a stored referrer id stands for its target.
    QString pageId = id;
    const QString ref2 = KvDirContext::ObjReader().ReadString(id, u"Ref2"_qs, QString());
    if (!ref2.isEmpty())
        pageId = ref2;
    // Nor may it create a section for a page that is gone.
    KvReadOnlyConstruction readOnly;
    m_templatePage = std::make_unique<KvPage>(pageId, nullptr, true);
}

void KvNewPageLayout::SetInherited(bool inherited)
{
    KV_LOG_SCOPE("KvNewPageLayout::SetInherited");
    m_inherited = inherited;
    if (inherited) {
        if (const KvNewPageLayout* parent = ParentLayout()) {
            // Copy the values first, then mark inheritance again: AssignLayout does not
            // touch the flag, but the copied values are what is written when it is switched off.
            KvPageLayout::AssignLayout(*parent);
            const KvPage* templ = parent->GetTemplatePage();
            SetTemplateId(templ ? templ->Id() : QString());
            m_templateChanged = true;
        }
    }
}
