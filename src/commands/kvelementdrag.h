#pragma once

#include "elements/kvelementrules.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class KvObject;
class QMimeData;

// What a drag of elements carries under the program's own MIME type: the data directory,
// the process id and the ids, one a line in UTF-8. Only a drag of this process on this
// data directory may drop: ids name other elements in another notebook, and another
// process's elements cannot be moved from here.
struct KvElementDrag
{
    static inline const QString MimeType = u"application/x-korvelle-elements"_qs;

    QString dataDir;
    qint64 pid = 0;
    QStringList ids;

    QByteArray Encode() const;
    // None for bytes that are no such payload.
    static std::optional<KvElementDrag> Decode(const QByteArray& bytes);
    // New MIME data holding the payload; the caller owns it (QDrag takes it).
    QMimeData* ToMime() const;
    static std::optional<KvElementDrag> FromMime(const QMimeData* mime);

    // This process, this data directory (compared with a trailing "/").
    bool IsOurs(qint64 ownPid, const QString& ownDataDir) const;
};

// What a drop of mime on the element under the mouse (none: no node there) would do, for
// this process and data directory: a payload of ours whose first element exists is judged
// by the element rules; anything else is refused with 5010.
KvDropVerdict KvJudgeDrop(const QMimeData* mime, const KvObject* under, qint64 ownPid,
                          const QString& ownDataDir);
