#include "model/kvrekeyfile.h"

#include "platform/applog.h"
#include "platform/kvatomicfile.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace KvRekeyFile {

QString SidePath(const QString& contentPath, const QString& checkValue)
{
    // A digest keeps the name short for long check values; it reveals nothing that the
    // page store does not hold anyway.
    const QByteArray digest =
        QCryptographicHash::hash(checkValue.toLatin1(), QCryptographicHash::Sha1).toHex();
    return contentPath + u".pw"_qs + QString::fromLatin1(digest.left(12));
}

QString ReadPath(const QString& contentPath, const QString& storedCheckValue)
{
    const QString side = SidePath(contentPath, storedCheckValue);
    return QFileInfo::exists(side) ? side : contentPath;
}

bool Complete(const QString& contentPath, const QString& storedCheckValue, int* error)
{
    const QString side = SidePath(contentPath, storedCheckValue);
    if (!QFileInfo::exists(side)) {
        if (error)
            *error = 0;
        return false;
    }
    KV_LOG_SCOPE("KvRekeyFile::Complete");
    int err = 0;
    const bool done = KvAtomicFile::RenameOver(side, contentPath, &err);
    if (error)
        *error = err;
    return done;
}

} // namespace KvRekeyFile
