#include "lists/kvstyles.h"

#include "platform/applog.h"
#include "store/texinifile.h"

#include <algorithm>

KvStyles::KvStyles(KvStyle::Store store) : m_store(std::move(store))
{
    KV_LOG_SCOPE("KvStyles::KvStyles");
    for (const QString& section : m_store().ReadSections()) {
        auto style = std::make_unique<KvStyle>(m_store, section);
        const QString name = style->Name();
        m_styles[name] = std::move(style);
    }
}

KvStyles::~KvStyles() = default;

QString KvStyles::SortKey(const QString& name)
{
    QString key = name.toUpper();
    key.replace(u"Ä"_qs, u"AE"_qs);
    key.replace(u"Ö"_qs, u"OE"_qs);
    key.replace(u"Ü"_qs, u"UE"_qs);
    key.replace(u"ß"_qs, u"SS"_qs);
    key.replace(u"ẞ"_qs, u"SS"_qs);
    return key + QChar(1) + name;
}

QList<KvStyles::Entry> KvStyles::List() const
{
    QList<Entry> entries;
    for (const auto& [name, style] : m_styles)
        entries.append({name, style->Kind()});
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return SortKey(a.name) < SortKey(b.name); });
    return entries;
}

bool KvStyles::NameExists(const QString& name) const
{
    return m_styles.count(name) > 0;
}

KvStyle* KvStyles::Find(const QString& name) const
{
    const auto it = m_styles.find(name);
    return it == m_styles.end() ? nullptr : it->second.get();
}

QString KvStyles::SectionOf(const QString& name) const
{
    const KvStyle* style = Find(name);
    return style ? style->Section() : QString();
}

KvStyle* KvStyles::Create(const QString& name, const KvTextSelection& selection,
                          int defaultBackground, bool textAttributes, bool paraAttributes)
{
    KV_LOG_SCOPE("KvStyles::Create");
    if (NameExists(name))
        return nullptr;
    // Another process (korvnote-cli, a second instance) may have written sections since
    // this store was read: a number its file holds on disk is passed over.
    TexIniFile& current = m_store();
    TexIniFile onDisk(current.BasePath(), current.SizeLimitKb(), false);
    const QString section = current.NewSectionName(
        KvStyle::SectionPrefix, [&onDisk](const QString& id) { return onDisk.SectionExists(id); });
    auto style = std::make_unique<KvStyle>(m_store, section, name);
    style->SetTextAttributes(textAttributes);
    style->SetParaAttributes(paraAttributes);
    style->TakeFrom(selection, defaultBackground);
    style->Save();
    KvStyle* created = style.get();
    m_styles[name] = std::move(style);
    return created;
}

bool KvStyles::Rename(const QString& oldName, const QString& newName)
{
    KV_LOG_SCOPE("KvStyles::Rename");
    const auto it = m_styles.find(oldName);
    if (it == m_styles.end())
        return false;
    KvStyle* style = it->second.get();
    style->SetName(newName);
    try {
        style->Save();
    } catch (...) {
        style->SetName(oldName); // nothing changed
        throw;
    }
    auto node = m_styles.extract(it);
    node.key() = newName;
    m_styles.insert_or_assign(newName, std::move(node.mapped()));
    return true;
}

bool KvStyles::Delete(const QString& name)
{
    KV_LOG_SCOPE("KvStyles::Delete");
    const auto it = m_styles.find(name);
    if (it == m_styles.end())
        return false;
    it->second->Remove();
    m_styles.erase(it);
    return true;
}

bool KvStyles::Redefine(const QString& name, const KvTextSelection& selection,
                        int defaultBackground, bool textAttributes, bool paraAttributes)
{
    KV_LOG_SCOPE("KvStyles::Redefine");
    KvStyle* style = Find(name);
    if (!style)
        return false;
    style->SetTextAttributes(textAttributes);
    style->SetParaAttributes(paraAttributes);
    style->TakeFrom(selection, defaultBackground);
    style->Save();
    return true;
}

bool KvStyles::Apply(const QString& name, KvTextSelection& selection) const
{
    KV_LOG_SCOPE("KvStyles::Apply");
    const KvStyle* style = Find(name);
    if (!style)
        return false;
    style->ApplyTo(selection);
    return true;
}
