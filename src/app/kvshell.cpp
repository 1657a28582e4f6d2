#include "app/kvshell.h"

#include "app/kvtexts.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace KvShell {

Result Open(const QString& document)
{
    Result r;
    if (document.trimmed().isEmpty()) {
        r.reason = KvTexts::Text(5634);
        return r;
    }
    QUrl url = QUrl::fromUserInput(document, QString(), QUrl::AssumeLocalFile);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        r.reason = KvTexts::Message(5311, {url.toLocalFile()});
        return r;
    }
    if (!url.isValid()) {
        r.reason = KvTexts::Message(5635, {document});
        return r;
    }
    r.ok = QDesktopServices::openUrl(url);
    if (!r.ok)
        r.reason = KvTexts::Message(5636, {document});
    return r;
}

} // namespace KvShell
