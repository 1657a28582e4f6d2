#include "store/kvvalueformat.h"

#include "store/texprofilefile.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace {

void setOk(bool* ok, bool value)
{
    if (ok)
        *ok = value;
}

QDate parseDate(QStringView t)
{
    QDate d = QDate::fromString(t.toString(), u"d.M.yyyy"_qs);
    if (!d.isValid() && t.size() == 10) // ISO parsing alone would accept a trailing time
        d = QDate::fromString(t.toString(), Qt::ISODate);
    return d;
}

QTime parseTime(QStringView t)
{
    const QString s = t.toString();
    for (const QString& form : {u"H:m:s"_qs, u"H:m:s.zzz"_qs, u"H:m"_qs}) {
        const QTime time = QTime::fromString(s, form);
        if (time.isValid())
            return time;
    }
    return QTime::fromString(s, Qt::ISODateWithMs);
}

struct NamedColor
{
    const char16_t* name;
    int value;
};

constexpr std::array<NamedColor, 23> kNames{{
    {u"clBlack", KvColor::clBlack},
    {u"clMaroon", KvColor::clMaroon},
    {u"clGreen", KvColor::clGreen},
    {u"clOlive", KvColor::clOlive},
    {u"clNavy", KvColor::clNavy},
    {u"clPurple", KvColor::clPurple},
    {u"clTeal", KvColor::clTeal},
    {u"clGray", KvColor::clGray},
    {u"clSilver", KvColor::clSilver},
    {u"clRed", KvColor::clRed},
    {u"clLime", KvColor::clLime},
    {u"clYellow", KvColor::clYellow},
    {u"clBlue", KvColor::clBlue},
    {u"clFuchsia", KvColor::clFuchsia},
    {u"clAqua", KvColor::clAqua},
    {u"clWhite", KvColor::clWhite},
    {u"clWindow", KvColor::clWindow},
    {u"clWindowText", KvColor::clWindowText},
    {u"clBtnFace", KvColor::clBtnFace},
    {u"clHighlight", KvColor::clHighlight},
    {u"clHighlightText", KvColor::clHighlightText},
    {u"clNone", KvColor::clNone},
    {u"clDefault", KvColor::clDefault},
}};

QColor fromBgr(quint32 v)
{
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

} // namespace

namespace KvValueFormat {

QString DateToText(const QDate& date)
{
    return date.toString(u"dd.MM.yyyy"_qs);
}
QString TimeToText(const QTime& time)
{
    return time.toString(u"HH:mm:ss"_qs);
}

QString DateTimeToText(const QDateTime& dateTime)
{
    return dateTime.toString(u"dd.MM.yyyy HH:mm:ss"_qs);
}

QString FloatToText(double value)
{
    QString s = QString::number(value, 'g', 15);
    s.replace(u'.', u',');
    return s;
}

QDate TextToDate(const QString& text, bool* ok)
{
    const QStringView t = QStringView(text).trimmed();
    QDate d = parseDate(t);
    if (!d.isValid()) {
        // A date-time text gives its date.
        const QDateTime dt = TextToDateTime(text);
        if (dt.isValid())
            d = dt.date();
    }
    setOk(ok, d.isValid());
    return d;
}

QTime TextToTime(const QString& text, bool* ok)
{
    const QTime t = parseTime(QStringView(text).trimmed());
    setOk(ok, t.isValid());
    return t;
}

QDateTime TextToDateTime(const QString& text, bool* ok)
{
    const QStringView t = QStringView(text).trimmed();
    QDateTime result;
    const qsizetype sep = t.indexOf(u' ');
    if (sep < 0) {
        if (const QDate d = parseDate(t); d.isValid())
            result = QDateTime(d, QTime(0, 0));
        else
            result = QDateTime::fromString(t.toString(), Qt::ISODateWithMs);
    } else {
        const QDate d = parseDate(t.left(sep));
        const QTime time = parseTime(t.mid(sep + 1).trimmed());
        if (d.isValid() && time.isValid())
            result = QDateTime(d, time);
    }
    if (!result.isValid() && t.size() > 10 && t.at(10) == u' ') {
        QString iso = t.toString();
        iso[10] = u'T';
        result = QDateTime::fromString(iso, Qt::ISODateWithMs);
    }
    setOk(ok, result.isValid());
    return result;
}

double TextToFloat(const QString& text, bool* ok)
{
    QString t = text.trimmed();
    t.replace(u',', u'.');
    bool good = false;
    const double v = t.isEmpty() ? 0.0 : t.toDouble(&good);
    setOk(ok, good);
    return good ? v : 0.0;
}

} // namespace KvValueFormat

namespace KvColor {

QString ColorToText(int color)
{
    for (const NamedColor& n : kNames) {
        if (n.value == color)
            return QString::fromUtf16(n.name);
    }
    return u'$' + QStringLiteral("%1").arg(quint32(color), 8, 16, QLatin1Char('0')).toUpper();
}

int TextToColor(const QString& text, bool* ok)
{
    const QString t = text.trimmed();
    for (const NamedColor& n : kNames) {
        if (t.compare(QStringView(n.name), Qt::CaseInsensitive) == 0) {
            setOk(ok, true);
            return n.value;
        }
    }
    int value = 0;
    const bool good = TexProfileFile::ParseInteger(t, value);
    setOk(ok, good);
    return good ? value : clBlack;
}

QColor ToQColor(int color)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    if (color == clDefault)
        return QColor();
    const quint32 v = quint32(color);
    if ((v & 0xFF000000u) != 0x80000000u)
        return fromBgr(v);
    const int index = int(v & 0xFF);
    QPalette::ColorRole role = QPalette::Window;
    quint32 fallback = 0xF0F0F0; // 00BBGGRR
    switch (index) {
    case 5:
        role = QPalette::Base;
        fallback = 0xFFFFFF;
        break;
    case 8:
        role = QPalette::Text;
        fallback = 0x000000;
        break;
    case 13:
        role = QPalette::Highlight;
        fallback = 0xD77800;
        break;
    case 14:
        role = QPalette::HighlightedText;
        fallback = 0xFFFFFF;
        break;
    case 15:
        role = QPalette::Button;
        fallback = 0xF0F0F0;
        break;
    case 18:
        role = QPalette::ButtonText;
        fallback = 0x000000;
        break;
    case 23:
        role = QPalette::ToolTipText;
        fallback = 0x000000;
        break;
    case 24:
        role = QPalette::ToolTipBase;
        fallback = 0xE1FFFF;
        break;
    default:
        role = QPalette::Window;
        break;
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return QGuiApplication::palette().color(QPalette::Active, role);
    return fromBgr(fallback);
}

int FromQColor(const QColor& color)
{
    if (!color.isValid())
        return clDefault;
    if (color.alpha() == 0)
        return clNone;
    const QColor c = color.toRgb();
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

} // namespace KvColor
