#include "lists/kvsearchformsettings.h"

#include "store/texprofilefile.h"

#include <algorithm>
#include <cmath>

namespace {

const QDate kDayZero(1899, 12, 30);

// The keys, in the order of the window's controls.
const QString kFullW1 = u"FullW1"_qs;
const QString kCaseS1 = u"CaseS1"_qs;
const QString kSCond = u"SCond"_qs;
const QString kSTxt2 = u"STxt2"_qs;
const QString kFullW2 = u"FullW2"_qs;
const QString kCaseS2 = u"CaseS2"_qs;
const QString kSModDate = u"SModDate"_qs;
const QString kModCond = u"ModCond"_qs;
const QString kModDate = u"ModDate"_qs;
const QString kSStatus = u"SStatus"_qs; // the status filter's box
const QString kPStatus = u"PStatus"_qs; // the status chosen
const QString kInclLower = u"InclLower"_qs;
const QString kSNames = u"SNames"_qs;
const QString kSFldrNames = u"SFldrNames"_qs;
const QString kSText = u"SText"_qs;
const QString kSTextPw = u"STextPw"_qs;
const QString kSPageKeyw = u"SPageKeyw"_qs;
const QString kSFldrKeyw = u"SFldrKeyw"_qs;
const QString kShowFullPath = u"ShowFullPath"_qs;
const QString kFldrColumnWidth = u"FldrColumnWidth"_qs;

// An index of a choice of three: negative reads as the first, beyond the last as the last.
quint8 Choice(const TexProfileFile& f, const QString& key)
{
    return quint8(std::clamp(f.ReadInteger(KvSearchFormSettings::Section, key, 0), 0, 2));
}

} // namespace

double KvSearchFormSettings::DayNumber(const QDate& day)
{
    return double(kDayZero.daysTo(day));
}

QDate KvSearchFormSettings::DayOf(double dayNumber)
{
    return kDayZero.addDays(qint64(std::floor(dayNumber)));
}

KvSearchFormSettings KvSearchFormSettings::Read(const TexProfileFile& f, const QDate& today)
{
    const QString& s = Section;
    KvSearchFormSettings r;
    KvSearchCrit& c = r.crit;
    c.WhWord1 = f.ReadBool(s, kFullW1, false);
    c.MtCase1 = f.ReadBool(s, kCaseS1, false);
    c.Cond = Choice(f, kSCond);
    c.SText2 = f.ReadString(s, kSTxt2, QString());
    c.WhWord2 = f.ReadBool(s, kFullW2, false);
    c.MtCase2 = f.ReadBool(s, kCaseS2, false);
    c.DateSearch = f.ReadBool(s, kSModDate, false);
    c.DSCond = Choice(f, kModCond);
    const int day = f.ReadInteger(s, kModDate, 0);
    c.SDate = DayNumber(day != 0 ? kDayZero.addDays(day) : today);
    c.StatusSearch = f.ReadBool(s, kSStatus, false);
    c.SStatus = std::max(0, f.ReadInteger(s, kPStatus, 0));
    c.SubFldr = f.ReadBool(s, kInclLower, true);
    c.PageN = f.ReadBool(s, kSNames, true);
    c.FldrN = f.ReadBool(s, kSFldrNames, true);
    c.PageC = f.ReadBool(s, kSText, true);
    c.PageCPw = f.ReadBool(s, kSTextPw, true);
    c.PageK = f.ReadBool(s, kSPageKeyw, true);
    c.FldrK = f.ReadBool(s, kSFldrKeyw, true);
    r.showFullPath = f.ReadBool(s, kShowFullPath, false);
    r.fldrColumnWidth =
        std::max(f.ReadInteger(s, kFldrColumnWidth, DefaultColumnWidth), MinColumnWidth);
    return r;
}

void KvSearchFormSettings::Write(TexProfileFile& f) const
{
    const QString& s = Section;
    const KvSearchCrit& c = crit;
    f.WriteBool(s, kFullW1, c.WhWord1);
    f.WriteBool(s, kCaseS1, c.MtCase1);
    f.WriteInteger(s, kSCond, c.Cond);
    f.WriteString(s, kSTxt2, c.SText2);
    f.WriteBool(s, kFullW2, c.WhWord2);
    f.WriteBool(s, kCaseS2, c.MtCase2);
    f.WriteBool(s, kSModDate, c.DateSearch);
    f.WriteInteger(s, kModCond, c.DSCond);
    f.WriteInteger(s, kModDate, int(std::floor(c.SDate)));
    f.WriteBool(s, kSStatus, c.StatusSearch);
    f.WriteInteger(s, kPStatus, c.SStatus);
    f.WriteBool(s, kInclLower, c.SubFldr);
    f.WriteBool(s, kSNames, c.PageN);
    f.WriteBool(s, kSFldrNames, c.FldrN);
    f.WriteBool(s, kSText, c.PageC);
    f.WriteBool(s, kSTextPw, c.PageCPw);
    f.WriteBool(s, kSPageKeyw, c.PageK);
    f.WriteBool(s, kSFldrKeyw, c.FldrK);
    f.WriteBool(s, kShowFullPath, showFullPath);
    f.WriteInteger(s, kFldrColumnWidth, std::max(fldrColumnWidth, MinColumnWidth));
}
