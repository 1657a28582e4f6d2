// The search window's settings without the window: what section "SearchF" holds, read
// and written, and the rules of its boxes.
#include "lists/kvsearchformrules.h"
#include "lists/kvsearchformsettings.h"
#include "store/texprofilefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDate kToday(2026, 12, 10);

class SearchFormSettings : public ::testing::Test
{
protected:
    QString Path() const { return dir.filePath(u"korvnote.stg"_qs); }
    void Write(const QList<std::pair<QString, QString>>& keys)
    {
        TexProfileFile f(Path());
        for (const auto& [key, value] : keys)
            f.WriteString(KvSearchFormSettings::Section, key, value);
        f.UpdateFile();
    }
    KvSearchFormSettings Read() const
    {
        const TexProfileFile f(Path());
        return KvSearchFormSettings::Read(f, kToday);
    }

    QTemporaryDir dir;
};

TEST_F(SearchFormSettings, MissingKeysTakeTheirDefaults)
{
    const KvSearchFormSettings s = Read();
    KvSearchCrit expected;
    expected.SDate = KvSearchFormSettings::DayNumber(kToday);
    EXPECT_EQ(s.crit, expected);
    EXPECT_TRUE(s.crit.SubFldr && s.crit.PageN && s.crit.FldrN && s.crit.PageC && s.crit.PageCPw &&
                s.crit.PageK && s.crit.FldrK);
    EXPECT_FALSE(s.showFullPath);
    EXPECT_EQ(s.fldrColumnWidth, 130);
}

TEST_F(SearchFormSettings, WrittenSettingsReadBackTheSame)
{
    KvSearchFormSettings s;
    KvSearchCrit& c = s.crit;
    c.WhWord1 = true;
    c.MtCase1 = true;
    c.Cond = KvSearchCrit::AndNot;
    c.SText2 = u"Übersee; \"zwei\""_qs;
    c.WhWord2 = true;
    c.DateSearch = true;
    c.DSCond = KvSearchCrit::After;
    c.SDate = KvSearchFormSettings::DayNumber(QDate(2024, 2, 29));
    c.StatusSearch = true;
    c.SStatus = 15;
    c.SubFldr = false;
    c.PageN = false;
    c.FldrK = false;
    s.showFullPath = true;
    s.fldrColumnWidth = 210;
    {
        TexProfileFile f(Path());
        s.Write(f);
        f.UpdateFile();
    }
    const KvSearchFormSettings back = Read();
    EXPECT_EQ(back.crit, c);
    EXPECT_TRUE(back.showFullPath);
    EXPECT_EQ(back.fldrColumnWidth, 210);
    // The day is kept as a whole day number.
    EXPECT_EQ(TexProfileFile(Path()).ReadString(u"SearchF"_qs, u"ModDate"_qs, {}),
              QString::number(QDate(1899, 12, 30).daysTo(QDate(2024, 2, 29))));
}

TEST_F(SearchFormSettings, StoredValuesOutOfRangeAreReadAsThePartSays)
{
    struct Case
    {
        const char* key;
        const char* value;
        std::function<bool(const KvSearchFormSettings&)> holds;
    };
    const QList<Case> cases = {
        {"SCond", "-1", [](auto& s) { return s.crit.Cond == KvSearchCrit::And; }},
        {"SCond", "7", [](auto& s) { return s.crit.Cond == KvSearchCrit::AndNot; }},
        {"ModCond", "-3", [](auto& s) { return s.crit.DSCond == KvSearchCrit::Before; }},
        {"ModCond", "1", [](auto& s) { return s.crit.DSCond == KvSearchCrit::On; }},
        {"ModDate", "0",
         [](auto& s) { return KvSearchFormSettings::DayOf(s.crit.SDate) == kToday; }},
        {"ModDate", "gestern",
         [](auto& s) { return KvSearchFormSettings::DayOf(s.crit.SDate) == kToday; }},
        {"ModDate", "45000",
         [](auto& s) { return KvSearchFormSettings::DayOf(s.crit.SDate) == QDate(2023, 3, 15); }},
        {"FldrColumnWidth", "3", [](auto& s) { return s.fldrColumnWidth == 10; }},
        {"PStatus", "-2", [](auto& s) { return s.crit.SStatus == 0; }},
        {"InclLower", "0", [](auto& s) { return !s.crit.SubFldr; }},
        {"STextPw", "0", [](auto& s) { return !s.crit.PageCPw; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        QFile::remove(Path());
        Write({{QString::fromUtf8(c.key), QString::fromUtf8(c.value)}});
        EXPECT_TRUE(c.holds(Read()));
    }
}

TEST(SearchFormRules, StartNeedsAFirstTermOrAFilter)
{
    EXPECT_FALSE(KvSearchFormRules::StartPossible({}, false, false));
    EXPECT_TRUE(KvSearchFormRules::StartPossible(u"x"_qs, false, false));
    EXPECT_TRUE(KvSearchFormRules::StartPossible({}, true, false));
    EXPECT_TRUE(KvSearchFormRules::StartPossible({}, false, true));
}

TEST(SearchFormRules, OnePlaceStaysChecked)
{
    // A click on the contents box that left nothing but page names checks page names.
    KvSearchCrit c;
    c.PageN = c.FldrN = c.PageC = c.PageK = c.FldrK = false;
    KvSearchFormRules::AfterContentsClick(c);
    EXPECT_TRUE(c.PageN);
    EXPECT_FALSE(c.PageC);
    // Any other box that left no name or keyword place checks the contents.
    c = {};
    c.PageN = c.FldrN = c.PageK = c.FldrK = false;
    c.PageC = false;
    KvSearchFormRules::AfterOtherClick(c);
    EXPECT_TRUE(c.PageC);
    // With a place left, nothing changes.
    c = {};
    c.PageN = false;
    const KvSearchCrit before = c;
    KvSearchFormRules::AfterContentsClick(c);
    KvSearchFormRules::AfterOtherClick(c);
    EXPECT_EQ(c, before);
}

} // namespace
