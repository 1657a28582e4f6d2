#include "platform/kvtexttable.h"

#include <QFile>
#include <QStringList>

static void initTextResources()
{
    Q_INIT_RESOURCE(texts);
}

namespace {

// Loaded once, on first use; function-local statics are initialised thread-safely.
const QHash<int, QString>& table()
{
    static const QHash<int, QString> texts = [] {
        initTextResources();
        QFile file(u":/korvelle/texts/de.txt"_qs);
        if (!file.open(QIODevice::ReadOnly))
            return QHash<int, QString>();
        return KvTextTable::Parse(file.readAll());
    }();
    return texts;
}

} // namespace

namespace KvTextTable {

QString Text(int number)
{
    return table().value(number);
}

QString Message(int number, const QStringList& values)
{
    static const QString kPlaceholder = u"%v%"_qs;
    QString text = Text(number);
    for (const QString& value : values) {
        const qsizetype at = text.indexOf(kPlaceholder);
        if (at < 0)
            break;
        text.replace(at, kPlaceholder.size(), value);
    }
    return text;
}

QString Unescape(const QString& text)
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

QHash<int, QString> Parse(const QByteArray& utf8)
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

} // namespace KvTextTable
