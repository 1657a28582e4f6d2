#include "lists/kvsearchresult.h"

#include "lists/kvdaynumber.h"
#include "lists/kvsearchresultname.h"
#include "platform/applog.h"
#include "store/kvvalueformat.h"
#include "store/texinifile.h"

#include <QDateTime>
#include <cmath>

namespace {

// The criteria keys in their written order.
enum class Kind
{
    Text,
    Bool,
    Int
};

struct CritKey
{
    const char16_t* key;
    Kind kind;
};

constexpr CritKey kCritKeys[] = {
    {u"SText1", Kind::Text}, {u"WhWord1", Kind::Bool},      {u"MtCase1", Kind::Bool},
    {u"SText2", Kind::Text}, {u"WhWord2", Kind::Bool},      {u"MtCase2", Kind::Bool},
    {u"Cond", Kind::Int},    {u"DateSearch", Kind::Bool},   {u"DSCond", Kind::Int},
    {u"SDate", Kind::Int},   {u"StatusSearch", Kind::Bool}, {u"SStatus", Kind::Int},
    {u"Fldr", Kind::Text},   {u"SubFldr", Kind::Bool},      {u"PageN", Kind::Bool},
    {u"PageC", Kind::Bool},  {u"PageCPw", Kind::Bool},      {u"PageK", Kind::Bool},
    {u"FldrK", Kind::Bool},  {u"FldrN", Kind::Bool},
};

const QString kTime = u"Time"_qs;
const QString kDescr = u"Descr"_qs;

// The field of crit a key names, as text in the store's value form.
QString ValueText(const KvSearchCrit& c, const QString& key)
{
    auto b = [](bool v) { return v ? u"1"_qs : u"0"_qs; };
    if (key == u"SText1")
        return c.SText1;
    if (key == u"WhWord1")
        return b(c.WhWord1);
    if (key == u"MtCase1")
        return b(c.MtCase1);
    if (key == u"SText2")
        return c.SText2;
    if (key == u"WhWord2")
        return b(c.WhWord2);
    if (key == u"MtCase2")
        return b(c.MtCase2);
    if (key == u"Cond")
        return QString::number(c.Cond);
    if (key == u"DateSearch")
        return b(c.DateSearch);
    if (key == u"DSCond")
        return QString::number(c.DSCond);
    if (key == u"SDate")
        return QString::number(qint64(std::floor(c.SDate)));
    if (key == u"StatusSearch")
        return b(c.StatusSearch);
    if (key == u"SStatus")
        return QString::number(c.SStatus);
    if (key == u"Fldr")
        return c.Fldr;
    if (key == u"SubFldr")
        return b(c.SubFldr);
    if (key == u"PageN")
        return b(c.PageN);
    if (key == u"PageC")
        return b(c.PageC);
    if (key == u"PageCPw")
        return b(c.PageCPw);
    if (key == u"PageK")
        return b(c.PageK);
    if (key == u"FldrK")
        return b(c.FldrK);
    return b(c.FldrN);
}

// Sets the field of crit a key names from its stored text; a text that does not read keeps
// the default.
void SetValue(KvSearchCrit& c, const QString& key, Kind kind, const QString& text)
{
    if (kind == Kind::Text) {
        (key == u"SText1" ? c.SText1 : key == u"SText2" ? c.SText2 : c.Fldr) = text;
        return;
    }
    int n = 0;
    if (!TexProfileFile::ParseInteger(text, n))
        return;
    const bool on = n != 0;
    if (key == u"WhWord1")
        c.WhWord1 = on;
    else if (key == u"MtCase1")
        c.MtCase1 = on;
    else if (key == u"WhWord2")
        c.WhWord2 = on;
    else if (key == u"MtCase2")
        c.MtCase2 = on;
    else if (key == u"Cond")
        c.Cond = quint8(n >= 0 && n <= 255 ? n : 0);
    else if (key == u"DateSearch")
        c.DateSearch = on;
    else if (key == u"DSCond")
        c.DSCond = quint8(n >= 0 && n <= 255 ? n : 0);
    else if (key == u"SDate")
        c.SDate = n;
    else if (key == u"StatusSearch")
        c.StatusSearch = on;
    else if (key == u"SStatus")
        c.SStatus = n;
    else if (key == u"SubFldr")
        c.SubFldr = on;
    else if (key == u"PageN")
        c.PageN = on;
    else if (key == u"PageC")
        c.PageC = on;
    else if (key == u"PageCPw")
        c.PageCPw = on;
    else if (key == u"PageK")
        c.PageK = on;
    else if (key == u"FldrK")
        c.FldrK = on;
    else if (key == u"FldrN")
        c.FldrN = on;
}

double Now()
{
    return KvDayNumber::Of(QDateTime::currentDateTime());
}

} // namespace

KvSearchResult::KvSearchResult(TexIniFile& store, const QString& section)
    : KvItemList(store, section, New{})
{
    Load();
}

KvSearchResult::KvSearchResult(TexIniFile& store, const QString& section, TexMemIniFile& snapshot)
    : KvItemList(store, section, New{})
{
    LoadFrom(snapshot);
}

KvSearchResult::KvSearchResult(TexIniFile& store, const QString& section, New)
    : KvItemList(store, section, New{})
{}

TexProfileFile::KeyValues KvSearchResult::ExtraKeys() const
{
    TexProfileFile::KeyValues keys;
    for (const CritKey& k : kCritKeys) {
        const QString key = QString::fromUtf16(k.key);
        keys.append({key, ValueText(m_crit, key)});
    }
    keys.append({kTime, KvValueFormat::FloatToText(m_time)});
    keys.append({kDescr, m_descr});
    return keys;
}

void KvSearchResult::ReadExtra(const QHash<QString, QString>& first)
{
    m_crit = KvSearchCrit{};
    for (const CritKey& k : kCritKeys) {
        const QString key = QString::fromUtf16(k.key);
        const auto it = first.constFind(key);
        if (it != first.cend() && !it->isEmpty())
            SetValue(m_crit, key, k.kind, *it);
    }
    m_descr = first.value(kDescr);
    bool ok = false;
    const double time = KvValueFormat::TextToFloat(first.value(kTime), &ok);
    // A result without a time reads as saved now; a section not stored yet has none.
    m_time = ok ? time : first.isEmpty() ? 0 : Now();
    m_critChanged = false;
}

void KvSearchResult::Write()
{
    KV_LOG_SCOPE("KvSearchResult::Write");
    CheckRemoved();
    if (m_time == 0) {
        m_time = Now();
        m_critChanged = true;
    }
    if (!Changed() && m_critChanged) {
        // The list stays as it is: only the keys of the first section are written.
        for (const auto& [key, value] : ExtraKeys())
            Store().WriteString(Section(), key, value);
    }
    KvItemList::Write();
    m_critChanged = false;
}

void KvSearchResult::SetCriteria(const KvSearchCrit& crit)
{
    CheckRemoved();
    m_crit = crit;
    m_critChanged = true;
}

void KvSearchResult::SetName(const QString& descr)
{
    CheckRemoved();
    m_descr = descr;
    m_critChanged = true;
}

QString KvSearchResult::DisplayName(const KvAddStatus* catalogue) const
{
    return KvSearchResultName::Display(m_descr, m_crit, m_time, catalogue);
}
