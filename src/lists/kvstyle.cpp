#include "lists/kvstyle.h"

#include "platform/applog.h"
#include "platform/kvtexttable.h"
#include "richtext/textselection.h"
#include "store/texinifile.h"

namespace {

// The paragraph keys in the order they are written.
const struct
{
    const char16_t* key;
    int KvParaAttributes::*field;
} kParaKeys[] = {
    {u"StartIndent", &KvParaAttributes::startIndent},
    {u"Offset", &KvParaAttributes::offset},
    {u"RightIndent", &KvParaAttributes::rightIndent},
    {u"SpaceBefore", &KvParaAttributes::spaceBefore},
    {u"SpaceAfter", &KvParaAttributes::spaceAfter},
    {u"Alignment", &KvParaAttributes::alignment},
    {u"LineSpacingRule", &KvParaAttributes::lineSpacingRule},
    {u"LineSpacing", &KvParaAttributes::lineSpacing},
    {u"NumberingStyle", &KvParaAttributes::numberingStyle},
    {u"Numbering", &KvParaAttributes::numbering},
};

bool SameColour(int a, int b)
{
    return a == b || KvColor::ToQColor(a).rgb() == KvColor::ToQColor(b).rgb();
}

} // namespace

KvStyle::EObjectRemoved::EObjectRemoved(const QString& name)
    : KvException(KvTextTable::Message(30003, {name}))
{}

KvStyle::KvStyle(Store store, const QString& section, const QString& name)
    : m_store(std::move(store)), m_section(section), m_name(name)
{
    KV_LOG_SCOPE("KvStyle::KvStyle");
    read();
}

KvStyle::~KvStyle() = default;

void KvStyle::check() const
{
    if (m_removed)
        throw EObjectRemoved(m_name);
}

void KvStyle::read()
{
    TexIniFile& store = m_store();
    if (m_name.isEmpty())
        m_name = store.ReadString(m_section, u"Descr"_qs, KvTextTable::Text(5800));
    m_textA = store.ReadBool(m_section, u"TextA"_qs, true);
    m_paraA = store.ReadBool(m_section, u"ParaA"_qs, false);
    if (m_textA) {
        KvFontSpec font = KvCharAttributes().FontSpec();
        store.ReadFont(m_section, u"Font"_qs, font);
        bool ok = false;
        int background =
            KvColor::TextToColor(store.ReadString(m_section, u"BgColor"_qs, u"clWindow"_qs), &ok);
        if (!ok)
            background = KvColor::clWindow;
        m_chars = KvCharAttributes::FromFontSpec(font, background);
    }
    if (m_paraA) {
        for (const auto& k : kParaKeys)
            m_para.*k.field = store.ReadInteger(m_section, QString::fromUtf16(k.key), 0);
    }
}

void KvStyle::SetName(const QString& name)
{
    check();
    m_name = name;
}

bool KvStyle::TextAttributes() const
{
    check();
    return m_textA;
}

void KvStyle::SetTextAttributes(bool on)
{
    check();
    m_textA = on;
}

bool KvStyle::ParaAttributes() const
{
    check();
    return m_paraA;
}

void KvStyle::SetParaAttributes(bool on)
{
    check();
    m_paraA = on;
}

int KvStyle::Kind() const
{
    check();
    return m_textA && m_paraA ? 2 : m_textA ? 0 : 1;
}

const KvCharAttributes& KvStyle::Chars() const
{
    check();
    return m_chars;
}

const KvParaAttributes& KvStyle::Para() const
{
    check();
    return m_para;
}

QList<QPair<QString, QString>> KvStyle::AttributeKeys() const
{
    check();
    QList<QPair<QString, QString>> keys;
    if (m_textA) {
        keys.append({u"Font"_qs, KvFontText::Encode(m_chars.FontSpec())});
        keys.append({u"BgColor"_qs, KvColor::ColorToText(m_chars.background)});
    }
    if (m_paraA) {
        for (const auto& k : kParaKeys)
            keys.append({QString::fromUtf16(k.key), QString::number(m_para.*k.field)});
    }
    return keys;
}

void KvStyle::Save()
{
    KV_LOG_SCOPE("KvStyle::Save");
    check();
    TexProfileFile::KeyValues keys;
    keys.append({u"Descr"_qs, m_name});
    keys.append({u"TextA"_qs, m_textA ? u"1"_qs : u"0"_qs});
    keys.append({u"ParaA"_qs, m_paraA ? u"1"_qs : u"0"_qs});
    for (const auto& [key, value] : AttributeKeys())
        keys.append({key, value});
    TexIniFile& store = m_store();
    store.RewriteSection(m_section, keys);
    store.UpdateFile();
}

void KvStyle::Remove()
{
    KV_LOG_SCOPE("KvStyle::Remove");
    check();
    TexIniFile& store = m_store();
    store.EraseSection(m_section);
    m_removed = true;
    store.UpdateFile();
}

void KvStyle::TakeFrom(const KvTextSelection& selection, int defaultBackground)
{
    check();
    if (m_textA) {
        m_chars = selection.SelectionCharAttributes();
        // The page's own background is no background of the text's.
        if (SameColour(m_chars.background, defaultBackground))
            m_chars.background = KvColor::clWindow;
    }
    if (m_paraA)
        m_para = selection.SelectionParagraph();
}

void KvStyle::ApplyTo(KvTextSelection& selection) const
{
    check();
    selection.ApplyAttributes(m_chars, m_textA ? unsigned(KvCharAttributes::All) : 0u, m_para,
                              m_paraA ? unsigned(KvParaAttributes::AllFields) : 0u);
}
