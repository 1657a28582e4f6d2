#include "lists/kvdaynumber.h"

#include <cmath>

namespace {

const QDate kDayZero(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

} // namespace

namespace KvDayNumber {

double Of(const QDateTime& dateTime)
{
    return OfDay(dateTime.date()) + double(dateTime.time().msecsSinceStartOfDay()) / kMsPerDay;
}

double OfDay(const QDate& day)
{
    return double(kDayZero.daysTo(day));
}

QDateTime DateTimeOf(double value)
{
    const double days = std::floor(value);
    qint64 ms = qint64(std::llround((value - days) * kMsPerDay));
    QDate day = kDayZero.addDays(qint64(days));
    // A fraction that rounds up to a whole day is the next midnight.
    if (ms >= qint64(kMsPerDay)) {
        day = day.addDays(1);
        ms = 0;
    }
    return QDateTime(day, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

QDate DayOf(double value)
{
    return kDayZero.addDays(qint64(std::floor(value)));
}

} // namespace KvDayNumber
