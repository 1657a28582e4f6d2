#include "links/kvlink.h"

#include "model/kvobject.h"

namespace KvLink {

QString UrlOf(const QString& linkTextOrUrl)
{
    const QString t = linkTextOrUrl.trimmed();
    if (t.size() >= 2 && t.startsWith(u'<') && t.endsWith(u'>'))
        return t.mid(1, t.size() - 2);
    return t;
}

bool IsElementUrl(const QString& url)
{
    for (const char16_t* kind : {u"Page", u"Fldr", u"Top", u"Trash"}) {
        if (url.startsWith(ElementPrefix + QString::fromUtf16(kind)))
            return true;
    }
    return false;
}

Parsed Parse(const QString& url)
{
    Parsed p;
    if (IsElementUrl(url)) {
        p.kind = Kind::Element;
        const QString rest = url.mid(ElementPrefix.size());
        const qsizetype star = rest.indexOf(u'*');
        p.id = star < 0 ? rest : rest.left(star);
        return p;
    }
    if (url.startsWith(KeywordPrefix)) {
        p.kind = Kind::Keyword;
        const QString rest = url.mid(KeywordPrefix.size());
        // A star right after the colon belongs to the keyword.
        const qsizetype star = rest.indexOf(u'*', rest.startsWith(u'*') ? 1 : 0);
        p.keyword = star < 0 ? rest : rest.left(star);
        return p;
    }
    // Only a leading "file://" makes a file link: an address may hold one further on.
    if (url.startsWith(FilePrefix, Qt::CaseInsensitive)) {
        p.kind = Kind::File;
        p.target = url.mid(FilePrefix.size());
        return p;
    }
    p.kind = Kind::Address;
    p.target = url;
    return p;
}

QString SafeName(const QString& name)
{
    QString safe = name;
    safe.replace(u'<', u'\u2039');
    safe.replace(u'>', u'\u203A');
    return safe;
}

QString ElementUrl(const QString& id, const QString& name)
{
    return ElementPrefix + id + u"*(" + SafeName(name) + u')';
}

QString ElementLinkText(const KvObject& obj)
{
    return u'<' + ElementUrl(obj.Id(), obj.Name()) + u'>';
}

QString KeywordUrl(const QString& keyword)
{
    return KeywordPrefix + keyword + u'*';
}

QString JoinLinkTexts(const QStringList& texts)
{
    return texts.join(u'\n');
}

QString InsertedText(const QString& url)
{
    return u" <"_qs + url + u'>';
}

bool KeywordFits(const QString& keyword)
{
    return !keyword.isEmpty() && !keyword.contains(u'<') && !keyword.contains(u'>') &&
           !keyword.mid(1).contains(u'*');
}

QString EncodeAddress(const QString& target)
{
    QString encoded = target;
    encoded.replace(u'<', u"%3C"_qs);
    encoded.replace(u'>', u"%3E"_qs);
    return encoded;
}

} // namespace KvLink
