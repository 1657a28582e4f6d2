// Styles applied to a page are what another word processor reads: the page is written as
// RTF, LibreOffice converts it to flat ODF, and the text and formats are found in its XML.
// Without LibreOffice (soffice on the PATH) the test says so and is skipped.
#include "lists/kvstyles.h"
#include "richtext/texrichdocument.h"
#include "store/texinifile.h"
#include "support/testenv.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <cmath>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

using A = KvParaAttributes;
using C = KvCharAttributes;

// One paragraph: its text and the style made for it.
struct Case
{
    const char16_t* text;
    unsigned charMask;
    KvCharAttributes chars;
    unsigned paraMask;
    KvParaAttributes para;
    // What LibreOffice's styles of the paragraph must say.
    QList<QPair<QString, QString>> expected;
};

C Chars(std::function<void(C&)> set)
{
    C c;
    c.name = u"Liberation Serif"_qs;
    c.charset = 0;
    set(c);
    return c;
}

A Para(std::function<void(A&)> set)
{
    A p;
    set(p);
    return p;
}

QList<Case> Cases()
{
    return {
        {u"Fett",
         C::Bold,
         Chars([](C& c) { c.bold = true; }),
         0,
         {},
         {{u"fo:font-weight"_qs, u"bold"_qs}}},
        {u"Kursiv",
         C::Italic,
         Chars([](C& c) { c.italic = true; }),
         0,
         {},
         {{u"fo:font-style"_qs, u"italic"_qs}}},
        {u"Gross",
         C::Size,
         Chars([](C& c) { c.size = 18; }),
         0,
         {},
         {{u"fo:font-size"_qs, u"18pt"_qs}}},
        {u"Rot",
         C::Color,
         Chars([](C& c) { c.color = KvColor::clRed; }),
         0,
         {},
         {{u"fo:color"_qs, u"#ff0000"_qs}}},
        {u"Gelb",
         C::Background,
         Chars([](C& c) { c.background = KvColor::clYellow; }),
         0,
         {},
         {{u"fo:background-color"_qs, u"#ffff00"_qs}}},
        {u"Zentriert",
         0,
         {},
         A::AlignmentField,
         Para([](A& p) { p.alignment = A::Centre; }),
         {{u"fo:text-align"_qs, u"center"_qs}}},
        {u"Rechtsbündig",
         0,
         {},
         A::AlignmentField,
         Para([](A& p) { p.alignment = A::Right; }),
         {{u"fo:text-align"_qs, u"end"_qs}}},
        {u"Eingerückt",
         0,
         {},
         A::IndentFields,
         Para([](A& p) {
             p.startIndent = 1134; // 2 cm
             p.offset = 567;
             p.rightIndent = 567;
         }),
         {{u"fo:margin-left"_qs, u"3cm"_qs},
          {u"fo:text-indent"_qs, u"-1cm"_qs},
          {u"fo:margin-right"_qs, u"1cm"_qs}}},
        {u"Anderthalb",
         0,
         {},
         A::LineSpacingField,
         Para([](A& p) { p.lineSpacingRule = A::OneAndHalf; }),
         {{u"fo:line-height"_qs, u"150%"_qs}}},
        {u"Doppelt",
         0,
         {},
         A::LineSpacingField,
         Para([](A& p) { p.lineSpacingRule = A::Double; }),
         {{u"fo:line-height"_qs, u"200%"_qs}}},
        {u"Dreifach",
         0,
         {},
         A::LineSpacingField,
         Para([](A& p) {
             p.lineSpacingRule = A::Lines;
             p.lineSpacing = 60;
         }),
         {{u"fo:line-height"_qs, u"300%"_qs}}},
        {u"Mindestens",
         0,
         {},
         A::LineSpacingField,
         Para([](A& p) {
             p.lineSpacingRule = A::AtLeast;
             p.lineSpacing = 567;
         }),
         {{u"style:line-height-at-least"_qs, u"1cm"_qs}}},
        {u"Genau",
         0,
         {},
         A::LineSpacingField,
         Para([](A& p) {
             p.lineSpacingRule = A::Exactly;
             p.lineSpacing = 567;
         }),
         {{u"fo:line-height"_qs, u"1cm"_qs}}},
        {u"Grüße über Ärger",
         C::Name | C::Charset,
         Chars([](C& c) {
             c.name = u"Arial"_qs;
             c.charset = 1;
         }),
         0,
         {},
         {{u"style:font-name"_qs, u"Arial"_qs}}},
    };
}

// A length of ODF ("1.5cm", "0.59in", "42.5pt", "150%") in centimetres, or the text itself.
QString Normalized(const QString& value)
{
    static const QRegularExpression length(u"^(-?[0-9.]+)(cm|mm|in|pt)$"_qs);
    const QRegularExpressionMatch m = length.match(value);
    if (!m.hasMatch())
        return value;
    double v = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit == u"mm")
        v /= 10;
    else if (unit == u"in")
        v *= 2.54;
    else if (unit == u"pt")
        v *= 2.54 / 72;
    // Hundredths of a centimetre are what the twips of the page carry.
    return QString::number(std::round(v * 20) / 20) + u"cm";
}

struct OdfParagraph
{
    QString text;
    QHash<QString, QString> properties; // of its paragraph style and its spans' styles
};

// The paragraphs of a flat ODF text and the properties their automatic styles give them.
QList<OdfParagraph> ReadOdf(const QByteArray& xml)
{
    QHash<QString, QHash<QString, QString>> styles;
    QList<OdfParagraph> paragraphs;
    QXmlStreamReader r(xml);
    QString style;
    int depthInP = 0;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement()) {
            const QString name = r.qualifiedName().toString();
            if (name == u"style:style") {
                style = r.attributes().value(QLatin1StringView("style:name")).toString();
            } else if ((name == u"style:text-properties" ||
                        name == u"style:paragraph-properties") &&
                       !style.isEmpty()) {
                for (const QXmlStreamAttribute& a : r.attributes())
                    styles[style].insert(a.qualifiedName().toString(), a.value().toString());
            } else if (name == u"text:p" || (depthInP > 0 && name == u"text:span")) {
                if (name == u"text:p") {
                    paragraphs.append(OdfParagraph());
                    depthInP = 0;
                }
                ++depthInP;
                const QString used =
                    r.attributes().value(QLatin1StringView("text:style-name")).toString();
                for (auto it = styles[used].cbegin(); it != styles[used].cend(); ++it)
                    paragraphs.last().properties.insert(it.key(), it.value());
            }
        } else if (r.isEndElement()) {
            const QString name = r.qualifiedName().toString();
            if (name == u"style:style")
                style.clear();
            else if (depthInP > 0 && (name == u"text:p" || name == u"text:span"))
                --depthInP;
        } else if (r.isCharacters() && depthInP > 0) {
            paragraphs.last().text += r.text();
        }
    }
    return paragraphs;
}

TEST(StylesInLibreOffice, TextAndFormatsArrive)
{
    const QString soffice = QStandardPaths::findExecutable(u"soffice"_qs);
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed: the conversion of styled pages "
                        "to ODF is NOT checked. Install libreoffice-writer-nogui to run it.";

    korvtest::SandboxEnv env;
    const QString dir = env.Dir(u"office"_qs);
    TexIniFile store(dir + u"Styles"_qs, 40, false);
    KvStyles styles([&store]() -> TexIniFile& { return store; });
    const QList<Case> cases = Cases();

    // Each style is made from a selection that has its attributes.
    TexRichDocument source;
    KvFontSpec layout;
    layout.font = QFont(u"Liberation Serif"_qs, 12);
    source.SetLayoutFont(layout);
    source.LoadPlainText(u"x"_qs);
    for (int i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        source.SetSelection(0, 1);
        source.ApplyAttributes(c.chars, c.charMask, c.para, c.paraMask);
        ASSERT_NE(styles.Create(u"S%1"_qs.arg(i), source, KvColor::clWindow, c.charMask != 0,
                                c.paraMask != 0),
                  nullptr);
        source.LoadPlainText(u"x"_qs);
    }
    // The page: one paragraph per case, each with its style.
    QStringList texts;
    for (const Case& c : cases)
        texts << QString::fromUtf16(c.text);
    TexRichDocument page;
    page.SetLayoutFont(layout);
    page.LoadPlainText(texts.join(u'\n'));
    int at = 0;
    for (int i = 0; i < cases.size(); ++i) {
        page.SetSelection(at, int(texts[i].size()));
        ASSERT_TRUE(styles.Apply(u"S%1"_qs.arg(i), page));
        at += int(texts[i].size()) + 1;
    }
    const QString rtf = dir + u"styled.rtf"_qs;
    page.SaveRtfFile(rtf);

    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(soffice,
                 {u"-env:UserInstallation=file://"_qs + dir + u"profile"_qs, u"--headless"_qs,
                  u"--convert-to"_qs, u"fodt"_qs, u"--outdir"_qs, dir, rtf});
    ASSERT_TRUE(office.waitForFinished(180000)) << "soffice did not finish";
    ASSERT_EQ(office.exitCode(), 0) << office.readAll().constData();
    const QByteArray xml = korvtest::ReadAll(dir + u"styled.fodt"_qs);
    ASSERT_FALSE(xml.isEmpty()) << office.readAll().constData();
    EXPECT_FALSE(QString::fromUtf8(xml).contains(QChar(0xFFFD))) << "no unreadable characters";

    const QList<OdfParagraph> paragraphs = ReadOdf(xml);
    ASSERT_GE(paragraphs.size(), cases.size());
    for (const Case& c : cases) {
        const QString text = QString::fromUtf16(c.text);
        const auto it = std::find_if(paragraphs.begin(), paragraphs.end(),
                                     [&](const OdfParagraph& p) { return p.text == text; });
        ASSERT_NE(it, paragraphs.end()) << "text not found: " << text.toStdString();
        for (const auto& [key, value] : c.expected) {
            EXPECT_EQ(Normalized(it->properties.value(key)), Normalized(value))
                << text.toStdString() << ": " << key.toStdString();
        }
    }
}

} // namespace
