#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// Dates and times as variables and the date/time insertion write them: the locale's short
// date and its long time without the time-zone field that Qt's long format adds.
namespace KvDateTimeText {

QString Date(const QDate& date, const QLocale& locale = QLocale());
QString Time(const QTime& time, const QLocale& locale = QLocale());
// A point in time: its date alone at midnight, else date, a blank and time.
QString Moment(const QDateTime& moment, const QLocale& locale = QLocale());
// What the date/time insertion writes: the date when wanted, then, after a blank when a
// date was written, the time when wanted; empty when neither is.
QString Insertion(const QDateTime& now, bool date, bool time, const QLocale& locale = QLocale());
// The long time format of the locale without its time-zone field.
QString LongTimeFormat(const QLocale& locale = QLocale());

} // namespace KvDateTimeText
