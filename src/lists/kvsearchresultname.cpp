#include "lists/kvsearchresultname.h"

#include "app/kvtexts.h"
#include "lists/kvdaynumber.h"
#include "lists/kvsearchcrit.h"
#include "model/kvaddstatus.h"

#include <QLocale>
#include <QRegularExpression>

namespace KvSearchResultName {

QString Automatic(const KvSearchCrit& crit, const KvAddStatus* catalogue)
{
    QString name;
    if (!crit.SText1.isEmpty())
        name = u'\'' + crit.SText1 + u'\'';
    if (!crit.SText2.isEmpty()) {
        const int link = crit.Cond == KvSearchCrit::And      ? 12030
                         : crit.Cond == KvSearchCrit::Or     ? 12031
                         : crit.Cond == KvSearchCrit::AndNot ? 12055
                                                             : 0;
        if (link)
            name += u' ' + KvTexts::Text(link);
        name += u" '"_qs + crit.SText2 + u'\'';
    }
    if (!name.isEmpty() && (crit.DateSearch || crit.StatusSearch))
        name += u" /"_qs;
    if (crit.DateSearch) {
        name += u' ' + KvTexts::Text(12050);
        if (crit.DSCond <= KvSearchCrit::After)
            name += KvTexts::Text(12052 + crit.DSCond);
        name += u' ' + DateText(crit.SDate);
        if (crit.StatusSearch)
            name += u" /"_qs;
    }
    if (crit.StatusSearch)
        name += u' ' + KvTexts::Text(12060) + u' ' + StatusText(crit.SStatus, catalogue);
    qsizetype blanks = 0;
    while (blanks < name.size() && name.at(blanks) == u' ')
        ++blanks;
    return name.mid(blanks);
}

QString Display(const QString& descr, const KvSearchCrit& crit, double time,
                const KvAddStatus* catalogue)
{
    if (!descr.isEmpty())
        return descr;
    return Automatic(crit, catalogue) + u"    ["_qs + DateTimeText(time) + u']';
}

QString DateText(double dayNumber)
{
    return QLocale().toString(KvDayNumber::DayOf(dayNumber), QLocale::ShortFormat);
}

QString DateTimeText(double dateTime)
{
    const QLocale locale;
    const QDateTime at = KvDayNumber::DateTimeOf(dateTime);
    // Qt's long time format ends with the time zone, which a stored time does not have.
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(u"\\s*t+\\s*$"_qs));
    format.remove(QRegularExpression(u"^\\s*t+\\s*"_qs));
    return locale.toString(at.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(at.time(), format.trimmed());
}

} // namespace KvSearchResultName
