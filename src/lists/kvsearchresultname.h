#pragma once

#include <QString>

class KvAddStatus;
struct KvSearchCrit;

// The names under which searches and saved results are listed. Dates and times appear in
// the user's locale; a status of the catalogue (14 and above) is named by its entry, empty
// when there is none.
namespace KvSearchResultName {

// The terms in single quotes with their link, then the date and the status filter.
QString Automatic(const KvSearchCrit& crit, const KvAddStatus* catalogue);
// The name the user gave, else the automatic name with the time the result was saved.
QString Display(const QString& descr, const KvSearchCrit& crit, double time,
                const KvAddStatus* catalogue);
// A day number as the locale's short date.
QString DateText(double dayNumber);
// A day number with its time of day as the locale's short date, a blank and its long time
// (without a time zone).
QString DateTimeText(double dateTime);

} // namespace KvSearchResultName
