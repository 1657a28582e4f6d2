#include "app/kvtexts.h"

#include <gtest/gtest.h>

// Readable failure output for Qt strings.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

struct RefCase
{
    QString written;
    QString expected;
};

TEST(KvTextsReference, ResolvesByTheRules)
{
    const RefCase cases[] = {
        {u"Datei#1000"_qs, u"Datei"_qs},
        {u"OptionsGF#10000"_qs, KvTexts::Text(10000)},
        {u"#4001"_qs, u"Abbrechen"_qs},
        {u"#0"_qs, u"0"_qs},
        {u"Label#0"_qs, u"0"_qs},
        {u"Label#abc"_qs, u"abc"_qs},
        {u"x#"_qs, QString()},
        {u"#"_qs, QString()},
        {u"Abbrechen"_qs, u"Abbrechen"_qs},
        {QString(), QString()},
        {u"a#b#5007"_qs, u"b#5007"_qs},   // only the first "#" counts
        {u"Label#1039"_qs, QString()},    // a number without text
        {u"Label#12abc"_qs, u"12abc"_qs}, // not a whole number
        {u"Label# 5007"_qs, u" 5007"_qs}, // blanks make it no number
        {u"Label#-5"_qs, QString()},      // a number other than 0, but no text
        {u"Label#5007 "_qs, u"5007 "_qs},
        {u"Label#+0"_qs, u"+0"_qs},
        {u"Label#99999999999"_qs, u"99999999999"_qs}, // out of range: no number
        {u"Hint#3114"_qs, u"Textformate|Textformate anwenden / verwalten"_qs},
    };
    for (const RefCase& c : cases)
        EXPECT_EQ(KvTexts::ResolveReference(c.written), c.expected) << c.written.toStdString();
}

TEST(KvTextsReference, BareNumberHints)
{
    EXPECT_EQ(KvTexts::ResolveHintNumber(u"16006"_qs), KvTexts::Text(16006));
    EXPECT_EQ(KvTexts::ResolveHintNumber(u"5007"_qs), u"Fehler"_qs);
    EXPECT_TRUE(KvTexts::ResolveHintNumber(u"Stop"_qs).isEmpty());
    EXPECT_TRUE(KvTexts::ResolveHintNumber(u"#5007"_qs).isEmpty());
    EXPECT_TRUE(KvTexts::ResolveHintNumber(QString()).isEmpty());
    EXPECT_TRUE(KvTexts::ResolveHintNumber(u"1039"_qs).isEmpty());
    EXPECT_TRUE(KvTexts::ResolveHintNumber(u" 5007"_qs).isEmpty());
}

TEST(KvTextsPlaceholder, FillsFirstOccurrence)
{
    const QString two = u"%v% / %v%"_qs;
    EXPECT_EQ(KvTexts::FillPlaceholder(KvTexts::FillPlaceholder(two, u"a"_qs), u"b"_qs),
              u"a / b"_qs);
    // A value that itself holds a placeholder is filled by the next call.
    EXPECT_EQ(KvTexts::FillPlaceholder(KvTexts::FillPlaceholder(two, u"%v%"_qs), u"b"_qs),
              u"b / %v%"_qs);
    EXPECT_EQ(KvTexts::FillPlaceholder(u"kein Platzhalter"_qs, u"x"_qs), u"kein Platzhalter"_qs);
    EXPECT_EQ(KvTexts::FillPlaceholder(u"%v"_qs, u"x"_qs), u"%v"_qs);
    EXPECT_EQ(KvTexts::FillPlaceholder(u"%v%"_qs, QString()), QString());
}

TEST(KvTextsPlaceholder, FillsSeveralInReadingOrder)
{
    EXPECT_EQ(KvTexts::FillPlaceholders(u"%v% / %v%"_qs, {u"a"_qs, u"b"_qs}), u"a / b"_qs);
    EXPECT_EQ(KvTexts::FillPlaceholders(u"%v% / %v%"_qs, {u"a"_qs}), u"a / %v%"_qs);
    EXPECT_EQ(KvTexts::FillPlaceholders(u"%v%"_qs, {u"a"_qs, u"b"_qs}), u"a"_qs);
    EXPECT_EQ(
        KvTexts::Message(5028, {u"/daten/"_qs, u"10.12.2026 08:00:00"_qs, u"pc1"_qs, u"anna"_qs}),
        u"Das Verzeichnis '/daten/' wird seit 10.12.2026 08:00:00 von Rechner pc1, "
        u"Anwender anna verwendet. Sie können daher z.Z. die Daten dieses Verzeichnisses "
        u"nur lesen, aber nicht ändern."_qs);
}

struct HintCase
{
    QString hint;
    QString tooltip;
    QString status;
};

TEST(KvTextsHint, SplitsShortAndLong)
{
    const HintCase cases[] = {
        {u"Textformate|Textformate anwenden / verwalten"_qs, u"Textformate"_qs,
         u"Textformate anwenden / verwalten"_qs},
        {u"|Nur Statuszeile"_qs, QString(), u"Nur Statuszeile"_qs},
        {u"Nur Tooltip|"_qs, u"Nur Tooltip"_qs, QString()},
        {u"Beides"_qs, u"Beides"_qs, u"Beides"_qs},
        {u"a|b|c"_qs, u"a"_qs, u"b|c"_qs},
        {QString(), QString(), QString()},
    };
    for (const HintCase& c : cases) {
        const KvHint h = KvTexts::SplitHint(c.hint);
        EXPECT_EQ(h.tooltip, c.tooltip) << c.hint.toStdString();
        EXPECT_EQ(h.statusText, c.status) << c.hint.toStdString();
    }
    const KvHint bookmarks = KvTexts::SplitHint(KvTexts::Text(16006));
    EXPECT_TRUE(bookmarks.tooltip.isEmpty());
    EXPECT_EQ(bookmarks.statusText,
              u"Mit einem Doppelklick wird die Seite bzw. der Ordner angezeigt"_qs);
}

} // namespace
