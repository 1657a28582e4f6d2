#include "commands/kvelementdrag.h"

#include "model/kvobject.h"

#include <QMimeData>

namespace {

QString WithSlash(const QString& dir)
{
    return dir.endsWith(u'/') ? dir : dir + u'/';
}

} // namespace

QByteArray KvElementDrag::Encode() const
{
    QStringList lines{dataDir, QString::number(pid)};
    lines += ids;
    return lines.join(u'\n').toUtf8();
}

std::optional<KvElementDrag> KvElementDrag::Decode(const QByteArray& bytes)
{
    const QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (lines.size() < 3 || lines[0].isEmpty())
        return std::nullopt;
    bool ok = false;
    const qint64 pid = lines[1].toLongLong(&ok);
    if (!ok || pid <= 0)
        return std::nullopt;
    KvElementDrag d;
    d.dataDir = lines[0];
    d.pid = pid;
    d.ids = lines.mid(2);
    if (d.ids.contains(QString()))
        return std::nullopt;
    return d;
}

QMimeData* KvElementDrag::ToMime() const
{
    auto* mime = new QMimeData;
    mime->setData(MimeType, Encode());
    return mime;
}

std::optional<KvElementDrag> KvElementDrag::FromMime(const QMimeData* mime)
{
    if (!mime || !mime->hasFormat(MimeType))
        return std::nullopt;
    return Decode(mime->data(MimeType));
}

bool KvElementDrag::IsOurs(qint64 ownPid, const QString& ownDataDir) const
{
    return pid == ownPid && WithSlash(dataDir) == WithSlash(ownDataDir);
}

KvDropVerdict KvJudgeDrop(const QMimeData* mime, const KvObject* under, qint64 ownPid,
                          const QString& ownDataDir)
{
    const std::optional<KvElementDrag> drag = KvElementDrag::FromMime(mime);
    if (!drag || !drag->IsOurs(ownPid, ownDataDir) || !under || under->IsRemoved())
        return {};
    const KvObject* dragged = FindObject(drag->ids.first());
    if (!dragged || dragged->IsRemoved())
        return {};
    return KvElementRules::DropVerdict(*dragged, *under);
}
