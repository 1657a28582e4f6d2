#include "model/kvlostname.h"

#include "model/kvpage.h"
#include "richtext/rtfplaintext.h"

#include <QFile>

namespace KvLostName {

QString FirstLine(KvPage& page)
{
    if (page.IsProtected() || page.IsReferrer())
        return QString();
    QFile file(page.ContentReadPath());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QByteArray bytes = file.readAll();
    if (!bytes.trimmed().startsWith("{\\rtf"))
        return QString();
    const QString text = KvRtfPlainText::Extract(bytes);
    for (const QString& line : text.split(u'\n')) {
        QString name = line.simplified();
        // Pictures and other objects are not text.
        name.remove(QChar(QChar::ObjectReplacementCharacter));
        name = name.simplified();
        if (!name.isEmpty())
            return name.left(MaxLength).trimmed();
    }
    return QString();
}

QString For(KvObject& obj)
{
    if (auto* page = dynamic_cast<KvPage*>(&obj)) {
        const QString line = FirstLine(*page);
        if (!line.isEmpty())
            return line;
    }
    return obj.Id();
}

} // namespace KvLostName
