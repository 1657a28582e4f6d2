// The name rule: what a one-line name cannot show becomes blanks, blanks at the ends go,
// and nothing left is no name.
#include "model/kvnamerule.h"

#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

TEST(NameRule, InvisibleAndBreakingCharactersBecomeBlanksAndTheEndsAreTrimmed)
{
    const struct
    {
        const char* name;
        QString typed;
        QString stored;
    } kCases[] = {
        {"plain", u"Plan"_qs, u"Plan"_qs},
        {"inner blanks stay", u"Plan  B"_qs, u"Plan  B"_qs},
        {"blanks at the ends", u"  Plan B  "_qs, u"Plan B"_qs},
        {"blanks only", u"   "_qs, QString()},
        {"empty", QString(), QString()},
        {"line separator", u"Plan\u2028B"_qs, u"Plan B"_qs},
        {"paragraph separator", u"Plan\u2029B"_qs, u"Plan B"_qs},
        {"line feed and carriage return", u"Plan\r\nB"_qs, u"Plan  B"_qs},
        {"tab", u"Plan\tB"_qs, u"Plan B"_qs},
        {"next line", u"Plan\u0085B"_qs, u"Plan B"_qs},
        {"other controls", u"a\u0001b\u007Fc\u009Fd"_qs, u"a b c d"_qs},
        {"zero width space", u"Plan\u200BB"_qs, u"Plan B"_qs},
        {"zero width non-joiner", u"Plan\u200CB"_qs, u"Plan B"_qs},
        {"zero width joiner", u"Plan\u200DB"_qs, u"Plan B"_qs},
        {"word joiner", u"Plan\u2060B"_qs, u"Plan B"_qs},
        {"byte order mark", u"\uFEFFPlan"_qs, u"Plan"_qs},
        {"invisible only", u"\u2028\u2029\uFEFF\u200B\u200C\u200D\u2060\t\n"_qs, QString()},
        {"no-break and ideographic blanks at the ends", u"\u00A0Plan\u3000"_qs, u"Plan"_qs},
        {"no-break blank inside stays", u"Plan\u00A0B"_qs, u"Plan\u00A0B"_qs},
        {"umlauts and quotes stay", u"Äpfel ‹neu›"_qs, u"Äpfel ‹neu›"_qs},
        {"a character beyond the basic plane", u"Notiz \U0001F600"_qs, u"Notiz \U0001F600"_qs},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(KvNameRule::Clean(c.typed), c.stored);
    }
}

TEST(NameRule, WhatShowsAsABlank)
{
    for (char16_t c : {u'\t', u'\n', u'\r', u'\u0085', u'\u2028', u'\u2029', u'\u200B', u'\u200C',
                       u'\u200D', u'\u2060', u'\uFEFF'})
        EXPECT_TRUE(KvNameRule::ShownAsBlank(QChar(c))) << int(c);
    for (char16_t c : {u'a', u' ', u'\u00A0', u'\u00E4', u'\u2039', u'\u00AD'})
        EXPECT_FALSE(KvNameRule::ShownAsBlank(QChar(c))) << int(c);
}

} // namespace
