#include "commands/kvlinkclipboard.h"

#include "links/kvlink.h"
#include "model/kvobject.h"

#include <QClipboard>
#include <QGuiApplication>

namespace KvLinkClipboard {

void Copy(const QList<const KvObject*>& elements)
{
    QStringList texts;
    for (const KvObject* obj : elements) {
        if (obj && !obj->IsRemoved())
            texts.append(KvLink::ElementLinkText(*obj));
    }
    if (!texts.isEmpty())
        QGuiApplication::clipboard()->setText(KvLink::JoinLinkTexts(texts));
}

} // namespace KvLinkClipboard
