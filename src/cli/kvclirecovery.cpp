#include "cli/kvclirecovery.h"

#include "app/kvtexts.h"
#include "cli/kvclinotebook.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "platform/kvatomicfile.h"
#include "store/texinifile.h"
#include "store/texmeminifile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace KvCliRecovery {

KvRecoveryResult CollectLost(KvCliNotebook& notebook)
{
    KvElementFactory factory;
    const KvRecoveryResult result = KvNotebookBuild::RecoverLostElements(
        *notebook.Top(), notebook.ObjectSnapshot(), factory, QDateTime::currentDateTime());
    if (!result.folder)
        return result;
    // Start-up opens the new folder's node one level, and the tree folder stores that.
    KvDirContext::FldrStore().WriteBool(result.folder->Id(), u"Expand"_qs, true);
    KvDirContext::FldrStore().UpdateFile();
    return result;
}

QStringList DropTornLines(const QString& dir)
{
    QStringList fixed;
    for (const QString& base : {u"objprps"_qs, u"Fldrprps"_qs, u"Pageprps"_qs, u"keywords"_qs}) {
        TexIniFile store(dir + base, 40, false);
        for (const QString& path : store.FileList()) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QByteArray bytes = f.readAll();
            f.close();
            // Line by line on the bytes, so that every kept line stays as it was.
            QList<QByteArray> lines = bytes.split('\n');
            const bool endsWithBreak = bytes.endsWith('\n');
            if (endsWithBreak)
                lines.removeLast();
            QByteArray kept;
            int dropped = 0;
            for (const QByteArray& raw : std::as_const(lines)) {
                const QByteArray line = raw.endsWith('\r') ? raw.chopped(1) : raw;
                const QByteArray t = line.trimmed();
                const bool header = t.startsWith('[') && t.contains(']');
                const bool torn = !t.isEmpty() && !t.startsWith(';') &&
                                  (t.startsWith('[') ? !header : !t.contains('='));
                if (torn) {
                    ++dropped;
                    continue;
                }
                kept += line + "\r\n";
            }
            if (dropped == 0)
                continue;
            int error = 0;
            if (!KvAtomicFile::WriteFile(path, kept, KvAtomicFile::Access::KeepOrDefault, &error))
                throw KvException(KvTexts::Message(5631, {path, KvAtomicFile::ErrorString(error)}));
            fixed.append(u"%1: %2 line(s)"_qs.arg(QFileInfo(path).fileName()).arg(dropped));
        }
    }
    return fixed;
}

QStringList DropDoubleListings(KvCliNotebook& notebook)
{
    TexMemIniFile& snapshot = notebook.ObjectSnapshot();
    QStringList stored;
    for (KvFolder* root : {notebook.Top(), notebook.Trash()}) {
        QList<KvObject*> all{root};
        all += CollectDescendants(root);
        for (KvObject* obj : std::as_const(all)) {
            auto* folder = dynamic_cast<KvFolder*>(obj);
            if (!folder)
                continue;
            // The items of the stored chain, as the build read them.
            int listed = 0;
            QString section = folder->Id();
            QSet<QString> visited{section};
            while (!section.isEmpty()) {
                QString next;
                for (const QString& key : snapshot.ReadSection(section)) {
                    if (key.contains(u"Item"_qs))
                        ++listed;
                    else if (key.contains(u"Continuation"_qs))
                        next = snapshot.ReadString(section, key, QString());
                }
                if (visited.contains(next))
                    break;
                visited.insert(next);
                section = next;
            }
            if (listed > folder->ChildCount()) {
                folder->Store();
                stored.append(folder->Id());
            }
        }
    }
    return stored;
}

} // namespace KvCliRecovery
