#include "store/kvvalueformat.h"

#include <QGuiApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

TEST(ValueFormat, WritesTheFixedForms)
{
    EXPECT_EQ(KvValueFormat::DateToText(QDate(2024, 3, 7)), u"07.03.2024"_qs);
    EXPECT_EQ(KvValueFormat::TimeToText(QTime(9, 5, 1)), u"09:05:01"_qs);
    EXPECT_EQ(KvValueFormat::DateTimeToText(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58))),
              u"31.12.2024 23:59:58"_qs);
    EXPECT_EQ(KvValueFormat::FloatToText(1.5), u"1,5"_qs);
    EXPECT_EQ(KvValueFormat::FloatToText(-0.25), u"-0,25"_qs);
    EXPECT_EQ(KvValueFormat::FloatToText(3), u"3"_qs);
}

struct DateCase
{
    const char* text;
    QDate expected; // invalid: does not convert
};

TEST(ValueFormat, ReadsDatesInEveryAcceptedForm)
{
    const DateCase cases[] = {
        {"07.03.2024", QDate(2024, 3, 7)},
        {"7.3.2024", QDate(2024, 3, 7)},
        {"2024-03-07", QDate(2024, 3, 7)},
        {" 07.03.2024 ", QDate(2024, 3, 7)},
        {"07.03.2024 10:00:00", QDate(2024, 3, 7)},
        {"31.02.2024", QDate()},
        {"", QDate()},
        {"gestern", QDate()},
    };
    for (const DateCase& c : cases) {
        bool ok = false;
        const QDate d = KvValueFormat::TextToDate(QString::fromUtf8(c.text), &ok);
        EXPECT_EQ(ok, c.expected.isValid()) << c.text;
        EXPECT_EQ(d, c.expected) << c.text;
    }
}

TEST(ValueFormat, ReadsTimesAndDateTimes)
{
    struct TimeCase
    {
        const char* text;
        QTime expected;
    } times[] = {{"09:05:01", QTime(9, 5, 1)},
                 {"9:05", QTime(9, 5)},
                 {"23:59:59.500", QTime(23, 59, 59, 500)},
                 {"25:00:00", QTime()},
                 {"x", QTime()}};
    for (const TimeCase& c : times) {
        bool ok = false;
        EXPECT_EQ(KvValueFormat::TextToTime(QString::fromUtf8(c.text), &ok), c.expected) << c.text;
        EXPECT_EQ(ok, c.expected.isValid()) << c.text;
    }
    struct DateTimeCase
    {
        const char* text;
        QDateTime expected;
    } stamps[] = {
        {"31.12.2024 23:59:58", QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58))},
        {"2024-12-31T23:59:58", QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58))},
        {"2024-12-31 23:59:58", QDateTime(QDate(2024, 12, 31), QTime(23, 59, 58))},
        {"31.12.2024", QDateTime(QDate(2024, 12, 31), QTime(0, 0))},
        {"31.12.2024 99:00", QDateTime()},
        {"", QDateTime()},
    };
    for (const DateTimeCase& c : stamps) {
        bool ok = false;
        EXPECT_EQ(KvValueFormat::TextToDateTime(QString::fromUtf8(c.text), &ok), c.expected)
            << c.text;
        EXPECT_EQ(ok, c.expected.isValid()) << c.text;
    }
}

TEST(ValueFormat, ReadsFloatsWithCommaOrPoint)
{
    struct FloatCase
    {
        const char* text;
        bool ok;
        double value;
    } cases[] = {{"1,5", true, 1.5},  {"1.5", true, 1.5}, {"-2", true, -2},
                 {"1e3", true, 1000}, {"", false, 0},     {"abc", false, 0}};
    for (const FloatCase& c : cases) {
        bool ok = !c.ok;
        EXPECT_DOUBLE_EQ(KvValueFormat::TextToFloat(QString::fromUtf8(c.text), &ok), c.value);
        EXPECT_EQ(ok, c.ok) << c.text;
    }
    bool ok = false;
    EXPECT_DOUBLE_EQ(KvValueFormat::TextToFloat(KvValueFormat::FloatToText(0.1), &ok), 0.1);
}

TEST(Color, NamesAndHexTextsRoundTrip)
{
    struct ColorCase
    {
        int value;
        const char* text;
    } cases[] = {{KvColor::clBlack, "clBlack"},
                 {KvColor::clBlue, "clBlue"},
                 {0xFF0000, "clBlue"},
                 {0x0000FF, "clRed"},
                 {KvColor::clWindowText, "clWindowText"},
                 {KvColor::clBtnFace, "clBtnFace"},
                 {KvColor::clNone, "clNone"},
                 {KvColor::clDefault, "clDefault"},
                 {0x00123456, "$00123456"},
                 {0x00ABCDEF, "$00ABCDEF"},
                 {int(0x80000001u), "$80000001"}};
    for (const ColorCase& c : cases) {
        EXPECT_EQ(KvColor::ColorToText(c.value), QString::fromUtf8(c.text));
        bool ok = false;
        EXPECT_EQ(KvColor::TextToColor(QString::fromUtf8(c.text), &ok), c.value) << c.text;
        EXPECT_TRUE(ok);
    }
    bool ok = true;
    EXPECT_EQ(KvColor::TextToColor(u"clblue"_qs, &ok), KvColor::clBlue);
    EXPECT_TRUE(ok);
    EXPECT_EQ(KvColor::TextToColor(u"255"_qs, &ok), 255);
    KvColor::TextToColor(u"notacolor"_qs, &ok);
    EXPECT_FALSE(ok);
}

TEST(Color, MapsToQColor)
{
    EXPECT_EQ(KvColor::ToQColor(KvColor::clRed), QColor(255, 0, 0));
    EXPECT_EQ(KvColor::ToQColor(KvColor::clBlue), QColor(0, 0, 255));
    EXPECT_EQ(KvColor::ToQColor(0x00332211), QColor(0x11, 0x22, 0x33));
    EXPECT_EQ(KvColor::ToQColor(KvColor::clWindowText),
              QGuiApplication::palette().color(QPalette::Active, QPalette::Text));
    EXPECT_EQ(KvColor::ToQColor(KvColor::clNone).alpha(), 0);
    EXPECT_FALSE(KvColor::ToQColor(KvColor::clDefault).isValid());
    EXPECT_EQ(KvColor::FromQColor(QColor(0x11, 0x22, 0x33)), 0x00332211);
}

} // namespace
