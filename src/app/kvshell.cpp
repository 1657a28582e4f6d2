#include "app/kvshell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace KvShell {

Result Open(const QString& document)
{
    Result r;
    if (document.trimmed().isEmpty()) {
        r.reason = u"Es wurde kein Ziel angegeben."_qs;
        return r;
    }
    QUrl url = QUrl::fromUserInput(document, QString(), QUrl::AssumeLocalFile);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        r.reason = u"Die Datei '%1' existiert nicht."_qs.arg(url.toLocalFile());
        return r;
    }
    if (!url.isValid()) {
        r.reason = u"'%1' ist keine gültige Adresse."_qs.arg(document);
        return r;
    }
    r.ok = QDesktopServices::openUrl(url);
    if (!r.ok)
        r.reason =
            u"Für '%1' ist kein Programm zum Öffnen eingerichtet (xdg-open)."_qs.arg(document);
    return r;
}

} // namespace KvShell
