#pragma once

#include <QDate>
#include <QDateTime>

// Dates as the stores keep them: days since 30 December 1899, the fraction the time of
// day (the saved results' Time, the whole day of SDate).
namespace KvDayNumber {

double Of(const QDateTime& dateTime);
double OfDay(const QDate& day);
QDateTime DateTimeOf(double value);
// The day of a value, its fraction ignored.
QDate DayOf(double value);

} // namespace KvDayNumber
