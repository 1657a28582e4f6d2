#include "richtext/kvzoomtext.h"

#include <gtest/gtest.h>

namespace {

TEST(KvZoomText, WholePercentagesFromFiveToAThousand)
{
    const struct
    {
        const char16_t* text;
        int percent; // 0: refused
    } kCases[] = {
        {u"5", 5},      {u"5%", 5},   {u"1000%", 1000}, {u" 130 % ", 130}, {u"100%", 100},
        {u"4", 0},      {u"1001", 0}, {u"", 0},         {u"%", 0},         {u"abc", 0},
        {u"-5", 0},     {u"+50", 0},  {u"12,5", 0},     {u"1 00", 0},      {u"99999999999", 0},
    };
    for (const auto& c : kCases) {
        const std::optional<int> p = KvZoomText::Parse(QString::fromUtf16(c.text));
        EXPECT_EQ(p.value_or(0), c.percent) << QString::fromUtf16(c.text).toStdString();
    }
    EXPECT_EQ(KvZoomText::Caption(130), u"130%"_qs);
}

} // namespace
