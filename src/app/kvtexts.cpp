#include "app/kvtexts.h"

#include "platform/kvtexttable.h"

#include <QHash>

namespace {

const QString kPlaceholder = u"%v%"_qs;

// A decimal integer and nothing else: an optional sign, then digits only.
bool parseNumber(const QString& text, int& number)
{
    qsizetype i = (text.startsWith(u'-') || text.startsWith(u'+')) ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i) {
        if (text.at(i) < u'0' || text.at(i) > u'9')
            return false;
    }
    bool ok = false;
    number = text.toInt(&ok, 10);
    return ok;
}

} // namespace

QString KvTexts::Text(int number)
{
    return KvTextTable::Text(number);
}

QString KvTexts::ResolveReference(const QString& text)
{
    const qsizetype hash = text.indexOf(u'#');
    if (hash < 0)
        return text;
    const QString rest = text.mid(hash + 1);
    int number = 0;
    if (parseNumber(rest, number) && number != 0)
        return Text(number);
    return rest;
}

QString KvTexts::ResolveHintNumber(const QString& hint)
{
    int number = 0;
    return parseNumber(hint, number) ? Text(number) : QString();
}

QString KvTexts::DateTimeText(const QDateTime& dateTime)
{
    return dateTime.toString(u"dd.MM.yyyy HH:mm"_qs);
}

QString KvTexts::FillPlaceholder(const QString& text, const QString& value)
{
    const qsizetype at = text.indexOf(kPlaceholder);
    if (at < 0)
        return text;
    QString result = text;
    result.replace(at, kPlaceholder.size(), value);
    return result;
}

QString KvTexts::FillPlaceholders(const QString& text, const QStringList& values)
{
    QString result = text;
    for (const QString& value : values)
        result = FillPlaceholder(result, value);
    return result;
}

QString KvTexts::Message(int number, const QStringList& values)
{
    return FillPlaceholders(Text(number), values);
}

KvHint KvTexts::SplitHint(const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    if (bar < 0)
        return {hint, hint};
    return {hint.left(bar), hint.mid(bar + 1)};
}

QString KvTexts::Unescape(const QString& text)
{
    return KvTextTable::Unescape(text);
}

QHash<int, QString> KvTexts::ParseTable(const QByteArray& utf8)
{
    return KvTextTable::Parse(utf8);
}
