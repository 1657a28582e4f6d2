#include "links/kvdatetimetext.h"

namespace KvDateTimeText {

QString LongTimeFormat(const QLocale& locale)
{
    // Drop every "t" field outside quoted text, with the blanks around it.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't') {
            while (out.endsWith(u' '))
                out.chop(1);
            while (i + 1 < format.size() && format.at(i + 1) == u't')
                ++i;
            continue;
        }
        if (!quoted && c == u' ' && out.isEmpty())
            continue;
        out += c;
    }
    return out.trimmed();
}

QString Date(const QDate& date, const QLocale& locale)
{
    return locale.toString(date, QLocale::ShortFormat);
}

QString Time(const QTime& time, const QLocale& locale)
{
    return locale.toString(time, LongTimeFormat(locale));
}

QString Moment(const QDateTime& moment, const QLocale& locale)
{
    if (moment.time() == QTime(0, 0))
        return Date(moment.date(), locale);
    return Date(moment.date(), locale) + u' ' + Time(moment.time(), locale);
}

QString Insertion(const QDateTime& now, bool date, bool time, const QLocale& locale)
{
    QString text;
    if (date)
        text = Date(now.date(), locale);
    if (time) {
        if (!text.isEmpty())
            text += u' ';
        text += Time(now.time(), locale);
    }
    return text;
}

} // namespace KvDateTimeText
