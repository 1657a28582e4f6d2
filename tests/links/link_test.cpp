// The link model: the URL forms of the links, their texts, and what a URL names.
#include "links/kvlink.h"
#include "linksfixture.h"
#include "richtext/kvlinkspans.h"

namespace {

using Kind = KvLink::Kind;

TEST(Link, ParsesEveryForm)
{
    const struct
    {
        const char16_t* url;
        Kind kind;
        const char16_t* id;
        const char16_t* keyword;
        const char16_t* target;
    } cases[] = {
        {u"file://*Page0000001*(Plan)", Kind::Element, u"Page0000001", u"", u""},
        {u"file://*Fldr0000002*(Alt Ordner)", Kind::Element, u"Fldr0000002", u"", u""},
        {u"file://*TopFolder*(Notizen)", Kind::Element, u"TopFolder", u"", u""},
        {u"file://*TrashFolder*(Papierkorb)", Kind::Element, u"TrashFolder", u"", u""},
        {u"file://*Page0000001", Kind::Element, u"Page0000001", u"", u""},
        {u"file://*Keyword:Urlaub*", Kind::Keyword, u"", u"Urlaub", u""},
        {u"file://*Keyword:*wichtig*", Kind::Keyword, u"", u"*wichtig", u""},
        {u"file://*Keyword:zwei Worte*", Kind::Keyword, u"", u"zwei Worte", u""},
        {u"file://*Keyword:offen", Kind::Keyword, u"", u"offen", u""},
        {u"file:///home/anna/Brief.odt", Kind::File, u"", u"", u"/home/anna/Brief.odt"},
        {u"file://*RelPath*\\sub/x.txt", Kind::File, u"", u"", u"*RelPath*\\sub/x.txt"},
        {u"file://\\\\srv\\team\\x", Kind::File, u"", u"", u"\\\\srv\\team\\x"},
        {u"FILE:///tmp/x", Kind::File, u"", u"", u"/tmp/x"},
        {u"http://example.org/a b", Kind::Address, u"", u"", u"http://example.org/a b"},
        // Only a leading "file://" makes a file link.
        {u"http://example.org/?u=file:///etc", Kind::Address, u"", u"",
         u"http://example.org/?u=file:///etc"},
        {u"ftp://ftp.example.org/pub", Kind::Address, u"", u"", u"ftp://ftp.example.org/pub"},
        {u"news://server/group", Kind::Address, u"", u"", u"news://server/group"},
    };
    for (const auto& c : cases) {
        const QString url = QString::fromUtf16(c.url);
        const KvLink::Parsed p = KvLink::Parse(url);
        EXPECT_EQ(p.kind, c.kind) << url.toStdString();
        EXPECT_EQ(p.id, QString::fromUtf16(c.id)) << url.toStdString();
        EXPECT_EQ(p.keyword, QString::fromUtf16(c.keyword)) << url.toStdString();
        EXPECT_EQ(p.target, QString::fromUtf16(c.target)) << url.toStdString();
    }
}

TEST(Link, UrlOfLinkTexts)
{
    EXPECT_EQ(KvLink::UrlOf(u" <http://x.y>"_qs), u"http://x.y"_qs);
    EXPECT_EQ(KvLink::UrlOf(u"<file://*Page0000001*(a)>"_qs), u"file://*Page0000001*(a)"_qs);
    EXPECT_EQ(KvLink::UrlOf(u"http://x.y"_qs), u"http://x.y"_qs);
}

TEST(Link, WrittenLinksAreReadBackAsOneSpan)
{
    const struct
    {
        QString url;
        bool whole;
    } cases[] = {
        {KvLink::ElementUrl(u"Page0000001"_qs, u"a <b> c"_qs), true},
        {KvLink::ElementUrl(u"Page0000001"_qs, u"Plan mit Leerzeichen"_qs), true},
        {KvLink::KeywordUrl(u"*wichtig"_qs), true},
        {u"http://"_qs + KvLink::EncodeAddress(u"example.org/?q=<a>"_qs), true},
        {u"file:///home/a <b>.txt"_qs, false},
        {u"http://example.org/a\nb"_qs, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvLinkSpans::IsWholeSpan(c.url), c.whole) << c.url.toStdString();
    EXPECT_EQ(KvLink::ElementUrl(u"Page0000001"_qs, u"a <b>"_qs),
              u"file://*Page0000001*(a \u2039b\u203A)"_qs);
    EXPECT_EQ(KvLink::EncodeAddress(u"x<y>z"_qs), u"x%3Cy%3Ez"_qs);
    EXPECT_EQ(KvLink::InsertedText(u"http://x.y"_qs), u" <http://x.y>"_qs);
}

TEST(Link, KeywordsThatFit)
{
    const struct
    {
        const char16_t* keyword;
        bool fits;
    } cases[] = {
        {u"Urlaub", true}, {u"*wichtig", true}, {u"zwei Worte", true}, {u"a*b", false},
        {u"a<b", false},   {u"a>b", false},     {u"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvLink::KeywordFits(QString::fromUtf16(c.keyword)), c.fits)
            << QString::fromUtf16(c.keyword).toStdString();
}

class LinkTexts : public korvtest::LinksFixture
{
};

TEST_F(LinkTexts, ElementLinkTextsAndTheirJoin)
{
    projects->SetName(u"<Projekte>"_qs);
    const QString a = KvLink::ElementLinkText(*plan);
    const QString b = KvLink::ElementLinkText(*projects);
    EXPECT_EQ(a, u"<file://*Page0000001*(Plan)>"_qs);
    EXPECT_EQ(b, u"<file://*Fldr0000001*(\u2039Projekte\u203A)>"_qs);
    EXPECT_EQ(KvLink::JoinLinkTexts({a, b}), a + u'\n' + b);
    EXPECT_EQ(KvLink::Parse(KvLink::UrlOf(b)).id, u"Fldr0000001"_qs);
}

} // namespace
