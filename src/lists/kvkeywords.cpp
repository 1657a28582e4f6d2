#include "lists/kvkeywords.h"

#include "model/kvdircontext.h"
#include "model/kvobject.h"
#include "platform/applog.h"
#include "store/texinifile.h"
#include "store/texmeminifile.h"

namespace {

const QString kKwds = u"Kwds"_qs;

} // namespace

bool KwdObjectList::Add(const QString& id)
{
    if (m_listed.contains(id))
        return false;
    m_listed.insert(id);
    objects.append(id);
    return true;
}

const KvKeywords::ObjectKeywordMap& KvKeywords::ObjectKeywords(bool withReferrers)
{
    KV_LOG_SCOPE("KvKeywords::ObjectKeywords");
    if (m_objectKeywordsLoaded)
        return m_objectKeywords;
    m_objectKeywordsLoaded = true;
    TexIniFile& store = KvDirContext::KwdStore();
    store.UpdateFile();
    m_objectKeywords = LoadObjectKeywords(store.FileList());
    if (!withReferrers)
        return m_objectKeywords;
    // Referrers carry the text of the element they stand for.
    ObjectKeywordMap referrers;
    for (const auto& [id, text] : m_objectKeywords) {
        if (const KvObject* obj = FindObject(id)) {
            for (const KvObject* referrer : obj->Referrers())
                referrers[referrer->Id()] = text;
        }
    }
    referrers.merge(m_objectKeywords);
    m_objectKeywords.swap(referrers);
    return m_objectKeywords;
}

KvKeywords::ObjectKeywordMap KvKeywords::LoadObjectKeywords(const QStringList& memberFiles)
{
    KV_LOG_SCOPE("KvKeywords::LoadObjectKeywords");
    ObjectKeywordMap map;
    TexMemIniFile snapshot(memberFiles);
    for (const QString& id : snapshot.ReadSections()) {
        const QString text = snapshot.ReadString(id, kKwds, QString());
        if (!text.isEmpty())
            map.emplace(id, text);
    }
    return map;
}

const KvKeywords::KeywordIndex& KvKeywords::Index(bool withReferrers)
{
    KV_LOG_SCOPE("KvKeywords::Index");
    if (m_indexBuilt)
        return m_index;
    m_indexBuilt = true;
    // The map is in id order, so walking it and keeping the ids of registered elements
    // visits the registry in id order, as the index wants.
    for (const auto& [id, text] : ObjectKeywords(withReferrers)) {
        if (!FindObject(id))
            continue;
        for (const QString& keyword : Split(text)) {
            KwdObjectList& entry = m_index[Normalize(keyword)];
            if (entry.displayText.isEmpty())
                entry.displayText = keyword;
            entry.Add(id);
        }
    }
    return m_index;
}

QString KvKeywords::Normalize(const QString& keyword)
{
    QString n = keyword.toUpper();
    n.replace(u'Ä', u"AE"_qs);
    n.replace(u'Ö', u"OE"_qs);
    n.replace(u'Ü', u"UE"_qs);
    n.replace(u'ß', u"SS"_qs);
    return n;
}

QStringList KvKeywords::Split(const QString& text)
{
    QStringList out;
    QStringView rest(text);
    while (!rest.isEmpty()) {
        const qsizetype semicolon = rest.indexOf(u';');
        const qsizetype comma = rest.indexOf(u',');
        qsizetype sep = semicolon;
        if (sep < 0 || (comma >= 0 && comma < sep))
            sep = comma;
        QString keyword;
        if (sep >= 0) {
            keyword = rest.left(sep).toString();
            rest = rest.sliced(sep + 1);
        } else {
            keyword = rest.toString();
            rest = {};
        }
        keyword.replace(u'"', u' ');
        qsizetype lead = 0;
        while (lead < keyword.size() && keyword.at(lead) == u' ')
            ++lead;
        keyword.remove(0, lead);
        if (keyword.endsWith(u' '))
            keyword.chop(1);
        if (!keyword.isEmpty())
            out.append(keyword);
    }
    return out;
}

QString KvKeywords::FromSelection(const QString& selectedText)
{
    QString k = selectedText;
    for (QChar& c : k) {
        if (c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = u' ';
    }
    return k;
}

KwdObjectList& KvKeywords::KeywordAdded(const QString& keyword, const KvObject& obj,
                                        bool hideReferrers)
{
    KV_LOG_SCOPE("KvKeywords::KeywordAdded");
    KwdObjectList& entry = m_index[Normalize(keyword)];
    if (entry.displayText.isEmpty())
        entry.displayText = keyword;
    const KvObject* carrier = obj.IsReferrer() && obj.Target() ? obj.Target() : &obj;
    entry.Add(carrier->Id());
    if (!hideReferrers) {
        for (const KvObject* referrer : carrier->Referrers())
            entry.Add(referrer->Id());
    }
    return entry;
}

QStringList KvKeywords::ElementRows(const QStringList& ids, bool hideReferrers)
{
    QStringList rows;
    QSet<QString> listed(ids.begin(), ids.end());
    for (const QString& id : ids) {
        const KvObject* obj = FindObject(id);
        if (!obj || (hideReferrers && obj->IsReferrer()))
            continue;
        rows.append(id);
        if (hideReferrers)
            continue;
        for (const KvObject* referrer : obj->Referrers()) {
            if (listed.contains(referrer->Id()))
                continue;
            listed.insert(referrer->Id());
            rows.append(referrer->Id());
        }
    }
    return rows;
}
