#include "cli/kvclicheck.h"

#include "app/kvdirprops.h"
#include "app/kvlockdirectory.h"
#include "cli/kvclierror.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "cli/kvclirecovery.h"
#include "model/blowfishvcl.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpagepassword.h"
#include "model/kvpasswordbytes.h"
#include "model/kvrekeyfile.h"
#include "store/kvbatchjournal.h"
#include "model/kvrescuefiles.h"
#include "store/texinifile.h"
#include "store/texmeminifile.h"
#include "store/texprofilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QtEndian>

namespace {

const QStringList kStores = {u"objprps"_qs, u"Fldrprps"_qs, u"Pageprps"_qs, u"keywords"_qs};

class Inspector
{
public:
    explicit Inspector(const QString& dir) : m_dir(KvCliNotebook::RequireDataDir(dir)) {}

    KvCliCheck::Result Run()
    {
        QStringList objFiles;
        QStringList pageFiles;
        for (const QString& base : kStores) {
            const QStringList files = MemberFiles(base);
            CheckMembers(files);
            if (base == u"objprps")
                objFiles = files;
            else if (base == u"Pageprps")
                pageFiles = files;
        }
        TexMemIniFile objects(objFiles);
        TexMemIniFile pages(pageFiles);
        m_ext = KvDirProps(m_dir).FileExt();

        for (const QString& root : {u"TopFolder"_qs, u"TrashFolder"_qs}) {
            m_seen.insert(root, QString());
            WalkFolder(objects, root);
        }
        m_result.lostIds = KvNotebookBuild::FindLostIds(objects);
        for (const QString& id : std::as_const(m_result.lostIds)) {
            Add(u"lost element: %1 '%2' is listed by no folder"_qs.arg(
                id, objects.ReadString(id, u"Name"_qs, QString())));
            m_seen.insert(id, QString());
            if (id.contains(u"Page"))
                m_pageIds.append(id);
            else
                WalkFolder(objects, id);
        }
        for (const QString& id : std::as_const(m_pageIds))
            CheckPage(objects, pages, id);
        m_result.pages = int(m_pageIds.size());
        CheckContentOwners(objects);
        CheckJournal();
        ListRescueFiles(objects);
        return m_result;
    }

private:
    void Add(const QString& finding) { m_result.findings.append(finding); }
    QString Name(const QString& file) const { return QFileInfo(file).fileName(); }

    QStringList MemberFiles(const QString& base)
    {
        TexIniFile store(m_dir + base, 40, false);
        return store.FileList();
    }

    void CheckMembers(const QStringList& files)
    {
        // Section name (letter case ignored, as the store does) -> first member holding it.
        QHash<QString, QString> first;
        for (const QString& path : files) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) {
                Add(u"unreadable member file %1: %2"_qs.arg(Name(path), f.errorString()));
                continue;
            }
            const QByteArray bytes = f.readAll();
            if (bytes.contains('\0'))
                Add(u"member file %1 holds zero bytes (not a text file)"_qs.arg(Name(path)));
            if (!bytes.isEmpty() && !bytes.endsWith('\n'))
                Add(u"member file %1 ends inside a line (truncated?)"_qs.arg(Name(path)));
            const QStringList lines = TexProfileFile::DecodeLines(bytes);
            bool inSection = false;
            QSet<QString> here;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const QString& line = lines[i];
                if (line.trimmed().isEmpty() || line.startsWith(u';'))
                    continue;
                if (line.startsWith(u'[')) {
                    const qsizetype close = line.indexOf(u']');
                    if (close < 0) {
                        Add(u"member file %1, line %2: unparsable section header"_qs.arg(
                            Name(path), QString::number(i + 1)));
                        inSection = false;
                        continue;
                    }
                    inSection = true;
                    const QString section = line.mid(1, close - 1);
                    const QString key = section.toLower();
                    if (here.contains(key)) {
                        Add(u"section %1 appears twice in member file %2"_qs.arg(section,
                                                                                 Name(path)));
                    } else if (first.contains(key)) {
                        Add(u"section %1 is in two member files: %2 and %3"_qs.arg(
                            section, Name(first.value(key)), Name(path)));
                    } else {
                        first.insert(key, path);
                    }
                    here.insert(key);
                    continue;
                }
                if (!line.contains(u'=') || !inSection)
                    Add(u"member file %1, line %2: unparsable line"_qs.arg(Name(path),
                                                                           QString::number(i + 1)));
            }
        }
    }

    // The child ids of a section chain, as the objects read them.
    QStringList ChildIds(TexMemIniFile& objects, const QString& id)
    {
        QStringList ids;
        QString section = id;
        QSet<QString> visited{id};
        while (true) {
            QString next;
            const QStringList keys = objects.ReadSection(section);
            for (const QString& key : keys) {
                if (key.contains(u"Item", Qt::CaseInsensitive))
                    ids.append(objects.ReadString(section, key, QString()));
                else if (key.contains(u"Continuation", Qt::CaseInsensitive))
                    next = objects.ReadString(section, key, QString());
            }
            if (next.isEmpty())
                return ids;
            if (visited.contains(next)) {
                Add(u"the child list of %1 continues in a loop at %2"_qs.arg(id, next));
                return ids;
            }
            if (!objects.FindSection(next)) {
                Add(u"the child list of %1 continues in %2, which has no section"_qs.arg(id, next));
                return ids;
            }
            visited.insert(next);
            section = next;
        }
    }

    void WalkFolder(TexMemIniFile& objects, const QString& folderId)
    {
        if (folderId != u"TopFolder" && folderId != u"TrashFolder")
            ++m_result.folders;
        for (const QString& child : ChildIds(objects, folderId)) {
            if (child.isEmpty())
                continue;
            if (!child.contains(u"Page") && !child.contains(u"Fldr")) {
                Add(u"%1 lists %2, which is not an element id"_qs.arg(folderId, child));
                continue;
            }
            const auto seen = m_seen.constFind(child);
            if (seen != m_seen.cend()) {
                Add(u"%1 is listed twice (by %2 and by %3)"_qs.arg(
                    child, seen->isEmpty() ? child : *seen, folderId));
                continue;
            }
            m_seen.insert(child, folderId);
            if (!objects.FindSection(child)) {
                Add(u"%1 lists %2, which has no section"_qs.arg(folderId, child));
                continue;
            }
            if (child.contains(u"Page"))
                m_pageIds.append(child);
            else
                WalkFolder(objects, child);
        }
    }

    void CheckPage(TexMemIniFile& objects, TexMemIniFile& pages, const QString& id)
    {
        const QString ref2 = objects.ReadString(id, u"Ref2"_qs, QString());
        if (!ref2.isEmpty()) {
            // A referrer's content is its target's.
            if (!objects.FindSection(ref2))
                Add(u"referrer %1: its target %2 is gone"_qs.arg(id, ref2));
            return;
        }
        const QString name = objects.ReadString(id, u"Name"_qs, QString());
        const QString check = pages.ReadInteger(id, u"PWAskMode"_qs, -1) >= 0
                                  ? pages.ReadString(id, u"PWBF"_qs, QString())
                                  : QString();
        // A password change that was stored but not moved into place: the side file counts.
        const QString path = KvRekeyFile::ReadPath(m_dir + id + u'.' + m_ext, check);
        QFile f(path);
        if (!f.exists())
            return; // an empty page: it was never written

        if (!f.open(QIODevice::ReadOnly)) {
            Add(u"page %1 '%2': content file %3 cannot be read: %4"_qs.arg(id, name, Name(path),
                                                                           f.errorString()));
            return;
        }
        const QByteArray bytes = f.readAll();
        if (!check.isEmpty()) {
            const QString fault = RecordFault(bytes);
            if (!fault.isEmpty())
                Add(u"page %1 '%2': corrupt encrypted record in %3: %4"_qs.arg(id, name, Name(path),
                                                                               fault));
            else if (pages.ReadInteger(id, u"EncSCl"_qs, 0) == 0 && !OpensWithItsKey(check, bytes))
                Add(u"page %1 '%2': content file %3 does not decrypt to RTF with the password its "
                    "check value names"_qs.arg(id, name, Name(path)));
            return;
        }
        if (!bytes.trimmed().startsWith("{\\rtf"))
            Add(u"page %1 '%2': content file %3 is not RTF"_qs.arg(id, name, Name(path)));
    }

    // An unfinished bulk change leaves its journal; the next opening with full access
    // completes it. One that could not be read was set aside.
    void CheckJournal()
    {
        QString detail;
        if (KvBatchJournal::Recover(m_dir, false, &detail) == KvBatchJournal::Outcome::Waiting)
            Add(detail);
        const QString damaged = KvBatchJournal::FileName + u".damaged"_qs;
        if (QFileInfo::exists(m_dir + damaged))
            Add(u"%1: the journal of a bulk change could not be read; the change may be "
                "incomplete"_qs.arg(damaged));
    }

    // Every page content file belongs to a page that the notebook shows: listed by a
    // folder (with or without a section of its own) or lost, and not a referrer.
    void CheckContentOwners(TexMemIniFile& objects)
    {
        const QString suffix = u'.' + m_ext;
        const QStringList files =
            QDir(m_dir).entryList({u'*' + suffix}, QDir::Files | QDir::Hidden, QDir::Name);
        for (const QString& file : files) {
            const QString id = file.chopped(suffix.size());
            if (!id.contains(u"Page"))
                continue;
            if (m_seen.contains(id) && objects.ReadString(id, u"Ref2"_qs, QString()).isEmpty())
                continue;
            Add(u"content file %1 belongs to no page"_qs.arg(file));
        }
    }

    // Protection class 0 keeps the password recoverable from the check value: the content
    // must decrypt to RTF with it. (Class 1 cannot be checked without the password.)
    static bool OpensWithItsKey(const QString& check, const QByteArray& bytes)
    {
        if (bytes.isEmpty())
            return true; // an empty page
        KvPagePassword password;
        password.SetStoredProtectionClass(0);
        password.SetStoredCheckValue(check);
        const QString plainPassword = password.GetPlainPassword();
        if (plainPassword.isEmpty() || KvPagePassword::CheckValue(0, plainPassword) != check)
            return false;
        QByteArray plain;
        try {
            plain = BlowFishVCL(KvPasswordBytes::Encode(plainPassword)).DecryptData(bytes);
        } catch (const KvException&) {
            return false;
        }
        const bool rtf = plain.trimmed().startsWith("{\\rtf");
        plain.fill('\0');
        return rtf;
    }

    // The text kept of pages that were not saved, in the running user's settings.
    void ListRescueFiles(TexMemIniFile& objects)
    {
        for (const KvRescueFiles::File& f : KvRescueFiles::List(m_dir, m_ext)) {
            const QString when = f.written.toString(u"yyyy-MM-dd HH:mm:ss"_qs);
            QString line = u"rescue file waiting: %1 (%2) "_qs.arg(f.path, when);
            if (!m_seen.contains(f.pageId)) {
                QFile file(f.path);
                const bool plain =
                    file.open(QIODevice::ReadOnly) && KvRescueFiles::IsPlainRtf(file.read(64));
                line += plain ? u"of page %1, which is gone: the next start offers it as a "
                                "new page"_qs.arg(f.pageId)
                              : u"of page %1, which is gone: encrypted, it cannot be read "
                                "without its page"_qs.arg(f.pageId);
            } else {
                const QString name = objects.ReadString(f.pageId, u"Name"_qs, QString());
                const QFileInfo content(m_dir + f.pageId + u'.' + m_ext);
                if (content.exists() && content.lastModified() > f.written)
                    line += u"of page %1 '%2', older than the page's content: the next start "
                            "removes it"_qs.arg(f.pageId, name);
                else
                    line += u"holds unsaved text of page %1 '%2': the next start offers it"_qs.arg(
                        f.pageId, name);
            }
            m_result.rescueFiles.append(line);
        }
    }

    // What is wrong with the record sequence of an encrypted file; empty when nothing.
    static QString RecordFault(const QByteArray& bytes)
    {
        qsizetype pos = 0;
        int record = 0;
        while (pos < bytes.size()) {
            ++record;
            if (bytes.size() - pos < BlowFishVCL::RecordHeaderLength)
                return u"record %1 has an incomplete header"_qs.arg(record);
            const quint32 encoded = qFromLittleEndian<quint32>(bytes.constData() + pos);
            const quint32 plain = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
            if (encoded % 8 != 0 || encoded > BlowFishVCL::MaxRecordLength)
                return u"record %1 has an invalid length %2"_qs.arg(record).arg(encoded);
            if (plain > encoded || encoded - plain >= 8)
                return u"record %1 has a plain length %2 that does not fit its length %3"_qs
                    .arg(record)
                    .arg(plain)
                    .arg(encoded);
            pos += BlowFishVCL::RecordHeaderLength;
            if (bytes.size() - pos < qsizetype(encoded))
                return u"record %1 runs past the end of the file"_qs.arg(record);
            pos += encoded;
        }
        return QString();
    }

    QString m_dir;
    QString m_ext;
    KvCliCheck::Result m_result;
    QHash<QString, QString> m_seen; // id -> the folder that listed it first
    QStringList m_pageIds;
};

void PrintResult(const QString& dir, const KvCliCheck::Result& r, KvCliIo& io)
{
    for (const QString& f : r.findings)
        io.OutLine(f);
    for (const QString& f : r.rescueFiles)
        io.OutLine(f);
    const QString waiting =
        r.rescueFiles.isEmpty()
            ? QString()
            : u", %1 rescue file(s) waiting"_qs.arg(QString::number(r.rescueFiles.size()));
    if (r.findings.isEmpty())
        io.OutLine(u"no findings in %1: %2 folders, %3 pages%4"_qs.arg(
            dir, QString::number(r.folders), QString::number(r.pages), waiting));
    else
        io.OutLine(u"%1 finding(s) in %2: %3 folders, %4 pages%5"_qs.arg(
            QString::number(r.findings.size()), dir, QString::number(r.folders),
            QString::number(r.pages), waiting));
}

} // namespace

namespace KvCliCheck {

Result Inspect(const QString& dir)
{
    return Inspector(dir).Run();
}

bool Run(const QString& dir, KvCliIo& io)
{
    const Result r = Inspect(dir);
    PrintResult(dir, r, io);
    return r.findings.isEmpty();
}

bool Repair(const QString& dir, KvCliIo& io)
{
    const QString path = KvCliNotebook::RequireDataDir(dir);
    {
        KvLockDirectory lock(path);
        if (!lock.TakeLock()) {
            const KvLockEntry holder = lock.Entry();
            throw KvCliError(u"the data directory is locked by %1 on %2; close that "
                             "instance first"_qs.arg(holder.user, holder.machine));
        }
        // A bulk change that a crash interrupted is completed or undone first.
        QString detail;
        const bool journal =
            KvBatchJournal::Recover(path, true, &detail) != KvBatchJournal::Outcome::None;
        if (journal)
            io.OutLine(detail);
        // Lines cut short by a crash elsewhere go first, so the build reads whole lines.
        bool mended = false;
        for (const QString& base : kStores) {
            TexIniFile store(path + base, 40, false);
            const QStringList members = store.FileList(); // a copy: the store's list is reused
            for (const QString& member : members) {
                TexProfileFile file(member);
                const int dropped = file.DropUnparsableLines();
                file.UpdateFile();
                if (dropped > 0) {
                    mended = true;
                    io.OutLine(u"removed %1 unreadable line(s) from %2"_qs.arg(
                        QString::number(dropped), QFileInfo(member).fileName()));
                }
            }
        }
        KvCliNotebook nb(path, true);
        nb.Build();
        const QStringList relisted = KvCliRecovery::DropDoubleListings(nb);
        if (!relisted.isEmpty())
            io.OutLine(u"stored %1 folder(s) again without the elements listed twice: %2"_qs.arg(
                QString::number(relisted.size()), relisted.join(u", "_qs)));
        const KvRecoveryResult result = KvCliRecovery::CollectLost(nb);
        if (result.folder) {
            io.OutLine(u"collected %1 lost element(s) into the folder '%2'"_qs.arg(
                QString::number(result.recovered.size()), result.folder->Name()));
        }
        if (!result.dropped.isEmpty()) {
            io.OutLine(u"removed %1 empty page(s) that had lost their section, content and "
                       "properties"_qs.arg(QString::number(result.dropped.size())));
        }
        if (!result.named.isEmpty()) {
            io.OutLine(u"named %1 element(s) whose name was lost"_qs.arg(
                QString::number(result.named.size())));
        }
        if (!journal && !mended && relisted.isEmpty() && !result.folder && result.named.isEmpty() &&
            result.dropped.isEmpty())
            io.OutLine(u"nothing to repair: no lost elements"_qs);
    } // the model is stored and destroyed, the stores flushed, then the lock released
    return Run(dir, io);
}

} // namespace KvCliCheck
