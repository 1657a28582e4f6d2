#include "model/kvpagelayout.h"

#include "model/kvdircontext.h"
#include "model/kvobject.h"
#include "platform/applog.h"
#include "richtext/texrichdocument.h"
#include "store/texinifile.h"

#include <QGuiApplication>

namespace {

const QString kFont = u"Font"_qs;
const QString kBgColor = u"BgColor"_qs;
const QString kWordWrap = u"WordWrap"_qs;

} // namespace

KvFontSpec KvPageLayout::DefaultFont()
{
    KvFontSpec spec;
    spec.font = QGuiApplication::font();
    return spec;
}

KvPageLayout::KvPageLayout(KvObject* owner) : m_owner(owner), m_font(DefaultFont())
{
    KV_LOG_SCOPE("KvPageLayout::KvPageLayout");
    m_section = owner->IsReferrer() ? owner->Ref2() : owner->Id();
    TexIniFile& store = StoreFile();
    if (store.ValueExists(m_section, kFont))
        store.ReadFont(m_section, kFont, m_font);
    bool ok = false;
    const QString colorText = store.ReadString(m_section, kBgColor, QString());
    const int color = KvColor::TextToColor(colorText, &ok);
    m_bgColor = ok ? color : DefaultBgColor;
    m_wordWrap = store.ReadBool(m_section, kWordWrap, true);
}

KvPageLayout::~KvPageLayout() = default;

TexIniFile& KvPageLayout::StoreFile() const
{
    return m_section.contains(u"Page"_qs) ? KvDirContext::PageStore() : KvDirContext::FldrStore();
}

KvFontSpec KvPageLayout::GetFont() const
{
    return m_font;
}

void KvPageLayout::SetFont(const KvFontSpec& font)
{
    KV_LOG_SCOPE("KvPageLayout::SetFont");
    m_font = font;
    m_fontChanged = true;
}

int KvPageLayout::GetBgColor() const
{
    return m_bgColor;
}

void KvPageLayout::SetBgColor(int color)
{
    KV_LOG_SCOPE("KvPageLayout::SetBgColor");
    m_bgColor = color;
    m_colorChanged = true;
}

bool KvPageLayout::GetWordWrap() const
{
    return m_wordWrap;
}

void KvPageLayout::SetWordWrap(bool wrap)
{
    KV_LOG_SCOPE("KvPageLayout::SetWordWrap");
    m_wordWrap = wrap;
    m_wordWrapChanged = true;
}

void KvPageLayout::AssignLayout(const KvPageLayout& other)
{
    KV_LOG_SCOPE("KvPageLayout::AssignLayout");
    m_font = other.GetFont();
    m_bgColor = other.GetBgColor();
    m_wordWrap = other.GetWordWrap();
    m_fontChanged = m_colorChanged = m_wordWrapChanged = true;
}

void KvPageLayout::Store()
{
    KV_LOG_SCOPE("KvPageLayout::Store");
    TexIniFile& store = StoreFile();
    store.WriteFont(m_section, kFont, m_font);
    store.WriteString(m_section, kBgColor, KvColor::ColorToText(m_bgColor));
    store.UpdateFile();
    m_fontChanged = m_colorChanged = m_wordWrapChanged = false;
}

void KvPageLayout::EraseLayout()
{
    KV_LOG_SCOPE("KvPageLayout::EraseLayout");
    TexIniFile& store = StoreFile();
    store.EraseSection(m_section);
    store.UpdateFile();
}

bool KvPageLayout::IsModified() const
{
    return m_fontChanged || m_colorChanged || m_wordWrapChanged;
}

void KvPageLayout::CopyFrom(const KvPageLayout& other)
{
    KV_LOG_SCOPE("KvPageLayout::CopyFrom");
    m_font = other.m_font;
    m_bgColor = other.m_bgColor;
    m_wordWrap = other.m_wordWrap;
    m_fontChanged = other.m_fontChanged;
    m_colorChanged = other.m_colorChanged;
    m_wordWrapChanged = other.m_wordWrapChanged;
}

void KvPageLayout::ApplyTo(TexRichDocument& editor, bool onlyChanged) const
{
    KV_LOG_SCOPE("KvPageLayout::ApplyTo");
    if (!onlyChanged || m_fontChanged) {
        editor.SetLayoutFont(GetFont());
    }
    if (!onlyChanged || m_colorChanged)
        editor.SetBackgroundColor(KvColor::ToQColor(GetBgColor()));
    if (!onlyChanged || m_wordWrapChanged)
        editor.SetWordWrap(GetWordWrap());
}
