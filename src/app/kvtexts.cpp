#include "app/kvtexts.h"

#include <QFile>
#include <QHash>

static void initTextResources()
{
    Q_INIT_RESOURCE(texts);
}

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

// Loaded once, on first use; function-local statics are initialised thread-safely.
const QHash<int, QString>& table()
{
    static const QHash<int, QString> texts = [] {
        initTextResources();
        QFile file(u":/korvelle/texts/de.txt"_qs);
        if (!file.open(QIODevice::ReadOnly))
            return QHash<int, QString>();
        return KvTexts::ParseTable(file.readAll());
    }();
    return texts;
}

} // namespace

QString KvTexts::Text(int number)
{
    return table().value(number);
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
    if (!text.contains(u'\\'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text.at(i + 1);
        if (next == u'r')
            out += u'\r';
        else if (next == u'n')
            out += u'\n';
        else if (next == u't')
            out += u'\t';
        else if (next == u'\\')
            out += u'\\';
        else {
            out += c; // not an escape: keep the backslash
            continue;
        }
        ++i;
    }
    return out;
}

QHash<int, QString> KvTexts::ParseTable(const QByteArray& utf8)
{
    QHash<int, QString> texts;
    const QString all = QString::fromUtf8(utf8);
    for (QStringView line : QStringView(all).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0)
            continue;
        bool ok = false;
        const int number = line.left(tab).toInt(&ok, 10);
        if (!ok)
            continue;
        texts.insert(number, Unescape(line.mid(tab + 1).toString()));
    }
    return texts;
}
