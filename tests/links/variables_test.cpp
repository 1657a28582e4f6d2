// The variables: each value, the letter-case rules of the two forms, repeated and
// self-containing values, the weekdays, the path delimiter and the selection.
#include "app/kvtexts.h"
#include "links/kvdatetimetext.h"
#include "links/kvvariables.h"
#include "linksfixture.h"
#include "model/kvaddstatus.h"

#include <QTextCursor>
#include <QTextDocument>

namespace {

// Wednesday, 5 June 2024, 14:03:09.
const QDateTime kNow(QDate(2024, 6, 5), QTime(14, 3, 9));

KvVariableValues Values()
{
    KvVariableValues v;
    v.user = u"anna"_qs;
    v.title = u"Protokoll"_qs;
    v.folder = u"Projekte"_qs;
    v.path = u"Notizen/Projekte"_qs;
    v.dir = u"/home/anna/Notizen/"_qs;
    v.state = u"erledigt"_qs;
    v.now = kNow;
    v.modified = QDateTime(QDate(2024, 1, 2), QTime(8, 0, 1));
    v.keywords = u"Team; Woche"_qs;
    return v;
}

class Variables : public korvtest::LinksFixture
{
};

TEST_F(Variables, EachValue)
{
    const KvVariableValues v = Values();
    const struct
    {
        const char16_t* name;
        QString value;
    } cases[] = {
        {u"&USER", u"anna"_qs},
        {u"&TITLE", u"Protokoll"_qs},
        {u"&FOLDER", u"Projekte"_qs},
        {u"&PATH", u"Notizen/Projekte"_qs},
        {u"&DIR", u"/home/anna/Notizen/"_qs},
        {u"&STATE", u"erledigt"_qs},
        {u"&DATE", u"05.06.24"_qs},
        {u"&MODDATETIME", u"02.01.24 08:00:01"_qs},
        {u"&TIME", u"14:03:09"_qs},
        {u"&KEYWORDS", u"Team; Woche"_qs},
        {u"&DAY", u"Mittwoch"_qs},
    };
    ASSERT_EQ(KvVariables::Names().size(), std::size(cases));
    for (int i = 0; i < KvVariables::Names().size(); ++i) {
        EXPECT_EQ(KvVariables::Names()[i], QString::fromUtf16(cases[i].name)) << "table order";
        EXPECT_EQ(v.Value(i), cases[i].value) << KvVariables::Names()[i].toStdString();
        EXPECT_EQ(KvVariables::ReplaceInString(u"[%1]"_qs.arg(KvVariables::Names()[i]), v),
                  u"[%1]"_qs.arg(cases[i].value));
    }
}

TEST_F(Variables, WeekdaysSundayFirst)
{
    KvVariableValues v = Values();
    const int day = int(KvVariables::Names().indexOf(u"&DAY"_qs));
    const char16_t* names[] = {u"Montag",  u"Dienstag", u"Mittwoch", u"Donnerstag",
                               u"Freitag", u"Samstag",  u"Sonntag"};
    for (int i = 0; i < 7; ++i) {
        v.now = QDateTime(QDate(2024, 6, 3).addDays(i), QTime(9, 0)); // Monday 3 June on
        EXPECT_EQ(v.Value(day), QString::fromUtf16(names[i])) << i;
    }
}

TEST_F(Variables, ModificationTimeAtMidnightIsADateAndWithoutAFileTheCurrentTime)
{
    KvVariableValues v = Values();
    const int mod = int(KvVariables::Names().indexOf(u"&MODDATETIME"_qs));
    v.modified = QDateTime(QDate(2024, 1, 2), QTime(0, 0));
    EXPECT_EQ(v.Value(mod), u"02.01.24"_qs);
    v.modified = QDateTime();
    EXPECT_EQ(v.Value(mod), u"05.06.24 14:03:09"_qs) << "no content file yet";
}

TEST_F(Variables, DetectionAndTheStringFormAreCaseSensitiveAndReplaceTheFirstOnly)
{
    const KvVariableValues v = Values();
    EXPECT_TRUE(KvVariables::Contains(u"Bericht &DATE"_qs));
    EXPECT_FALSE(KvVariables::Contains(u"Bericht &date"_qs));
    EXPECT_FALSE(KvVariables::Contains(u"Bericht"_qs));
    EXPECT_EQ(KvVariables::ReplaceInString(u"&DATE Bericht"_qs, v), u"05.06.24 Bericht"_qs);
    EXPECT_EQ(KvVariables::ReplaceInString(u"&date Bericht"_qs, v), u"&date Bericht"_qs);
    EXPECT_EQ(KvVariables::ReplaceInString(u"&TITLE und &TITLE"_qs, v), u"Protokoll und &TITLE"_qs);
    // A name holding its own variable: the value goes in once.
    KvVariableValues own = v;
    own.title = u"&TITLE x"_qs;
    EXPECT_EQ(KvVariables::ReplaceInString(u"&TITLE x"_qs, own), u"&TITLE x x"_qs);
}

TEST_F(Variables, TheRichFormReplacesEveryOccurrenceInAnyCase)
{
    const KvVariableValues v = Values();
    const struct
    {
        const char16_t* text;
        const char16_t* result;
    } cases[] = {
        {u"&TITLE am &date, &Title", u"Protokoll am 05.06.24, Protokoll"},
        {u"&DAYS &day", u"MittwochS Mittwoch"},
        {u"&MODDATETIME|&DATE|&TIME", u"02.01.24 08:00:01|05.06.24|14:03:09"},
        {u"&PATH > &FOLDER", u"Notizen/Projekte > Projekte"},
        {u"ohne", u"ohne"},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        doc.setPlainText(QString::fromUtf16(c.text));
        int s = 0, l = 0;
        KvVariables::ReplaceInDocument(doc, s, l, v);
        EXPECT_EQ(doc.toPlainText(), QString::fromUtf16(c.result));
    }
}

TEST_F(Variables, ValuesHoldingVariablesEndAndLaterVariablesAreReplacedInside)
{
    KvVariableValues v = Values();
    v.title = u"&TITLE am &DATE"_qs;
    QTextDocument doc;
    doc.setPlainText(u"&TITLE / &TITLE"_qs);
    int s = 0, l = 0;
    KvVariables::ReplaceInDocument(doc, s, l, v);
    EXPECT_EQ(doc.toPlainText(), u"&TITLE am 05.06.24 / &TITLE am 05.06.24"_qs);
}

TEST_F(Variables, TheSelectionFollowsTheText)
{
    const KvVariableValues v = Values(); // &USER -> "anna" (-1), &TITLE -> "Protokoll" (+3)
    const struct
    {
        const char16_t* text;
        int start, length;
        int newStart, newLength;
    } cases[] = {
        {u"&USER xyz", 6, 3, 5, 3},         // after a replaced name
        {u"xyz &USER", 0, 3, 0, 3},         // before it
        {u"&USER", 0, 0, 0, 0},             // at its start: stays before the value
        {u"&USER", 5, 0, 4, 0},             // at its end
        {u"a&USERb", 3, 0, 1, 0},           // inside: to the value's start
        {u"a&USERb", 3, 3, 1, 4},           // from inside to after: the value and "b"
        {u"a&USERb", 0, 4, 0, 5},           // from before into it: up to the value's end
        {u"&TITLE &USER ab", 13, 2, 15, 2}, // shifts add up
        {u"&USER", 0, 99, 0, 4},            // beyond the end: clamped
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        doc.setPlainText(QString::fromUtf16(c.text));
        int s = c.start, l = c.length;
        KvVariables::ReplaceInDocument(doc, s, l, v);
        EXPECT_EQ(s, c.newStart) << QString::fromUtf16(c.text).toStdString() << " " << c.start;
        EXPECT_EQ(l, c.newLength) << QString::fromUtf16(c.text).toStdString() << " " << c.start;
        EXPECT_GE(s, 0);
        EXPECT_LE(s + l, doc.characterCount() - 1);
    }
}

TEST_F(Variables, ValuesTakeTheFormatOfTheirName)
{
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(u"Titel: "_qs);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(u"&TITLE"_qs, bold);
    int s = 0, l = 0;
    KvVariables::ReplaceInDocument(doc, s, l, Values());
    QTextCursor inside(&doc);
    inside.setPosition(9);
    EXPECT_EQ(doc.toPlainText(), u"Titel: Protokoll"_qs);
    EXPECT_EQ(inside.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(Variables, PageValuesFromTheModel)
{
    KvAddStatus empty(m_env.Root() + u"none.ini"_qs);
    plan->SetStatus(14);
    plan->SetKeywords(u"Team"_qs);
    const KvVariableValues v = KvVariableValues::ForPage(*plan, &empty, kNow, u" > "_qs, m_dir);
    EXPECT_EQ(v.user, u"tester"_qs);
    EXPECT_EQ(v.title, u"Plan"_qs);
    EXPECT_EQ(v.folder, u"Projekte"_qs);
    EXPECT_EQ(v.path, u"Notizen > Projekte"_qs);
    EXPECT_EQ(v.dir, m_dir);
    EXPECT_EQ(v.state, QString()) << "status 14 with an empty catalogue";
    EXPECT_EQ(v.keywords, u"Team"_qs);
    EXPECT_EQ(v.modified, plan->ContentFileTime());
    // A page directly in the top folder: the top folder's name.
    EXPECT_EQ(KvVariableValues::ForPage(*shopping, &empty, kNow, u" > "_qs, m_dir).path,
              u"Notizen"_qs);
    shopping->SetStatus(3);
    EXPECT_EQ(KvVariableValues::ForPage(*shopping, &empty, kNow, u"/"_qs, m_dir).state,
              KvTexts::Text(11203));
}

TEST(DateTimeText, LocaleFormatsWithoutTimeZone)
{
    const QLocale de(QLocale::German, QLocale::Germany);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    EXPECT_FALSE(KvDateTimeText::LongTimeFormat(de).contains(u't'));
    EXPECT_EQ(KvDateTimeText::Time(QTime(14, 3, 9), de), u"14:03:09"_qs);
    const QString usTime = KvDateTimeText::Time(QTime(14, 3, 9), us);
    EXPECT_TRUE(usTime.startsWith(u"2:03:09"_qs)) << usTime.toStdString();
    EXPECT_TRUE(usTime.endsWith(u"PM"_qs)) << usTime.toStdString();
    EXPECT_EQ(KvDateTimeText::Date(QDate(2024, 6, 5), de), u"05.06.24"_qs);
    const struct
    {
        bool date, time;
        const char16_t* text;
    } cases[] = {
        {true, true, u"05.06.24 14:03:09"},
        {true, false, u"05.06.24"},
        {false, true, u"14:03:09"}, // no leading blank
        {false, false, u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KvDateTimeText::Insertion(kNow, c.date, c.time, de), QString::fromUtf16(c.text));
}

} // namespace
