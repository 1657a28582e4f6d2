#include "model/kvrescuefiles.h"

#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "model/kvpage.h"
#include "platform/kvatomicfile.h"
#include "platform/kvexception.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {

const QString kStamp = u"yyyyMMdd-HHmmss"_qs;

// The directory as one path for every way of naming it (symbolic links, "..", a slash).
QString canonicalDir(const QString& dataDir)
{
    const QFileInfo info(dataDir);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// Creates dir with its parents, the last two levels readable by the owner only.
bool makeFolder(const QString& dir)
{
    if (!QDir().mkpath(dir))
        return false;
    const auto ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    QFile::setPermissions(dir, ownerOnly);
    QFile::setPermissions(QFileInfo(QDir::cleanPath(dir)).path(), ownerOnly);
    return true;
}

} // namespace

namespace KvRescueFiles {

QString Folder(const QString& dataDir)
{
    const QString path = canonicalDir(dataDir);
    QString name = KvPaths::ReplaceInvalidChars(QFileInfo(path).fileName(), u"_"_qs);
    if (name.isEmpty() || name.startsWith(u'.'))
        name.prepend(u"notes"_qs);
    const QByteArray hash =
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(8);
    return KvPaths::SettingsDirUncreated() + u"rescue/"_qs + name + u'-' +
           QString::fromLatin1(hash) + u'/';
}

QString PathFor(const QString& dataDir, const QString& pageId, const QString& ext)
{
    return Folder(dataDir) + pageId + u'.' + ext;
}

QString SparePathFor(const QString& dataDir, const QString& pageId, const QString& ext,
                     const QDateTime& when)
{
    return Folder(dataDir) + pageId + u'-' + when.toString(kStamp) + u'.' + ext;
}

QString StemOf(const KvPage& page)
{
    return QFileInfo(page.ContentFilePath()).completeBaseName();
}

QList<File> List(const QString& dataDir, const QString& ext)
{
    QList<File> files;
    const QString suffix = u'.' + ext;
    // Hidden files are the atomic writer's temporary ones.
    const QFileInfoList entries =
        QDir(Folder(dataDir)).entryInfoList({u'*' + suffix}, QDir::Files, QDir::Name);
    for (const QFileInfo& info : entries) {
        const QString stem = info.fileName().chopped(suffix.size()).section(u'-', 0, 0);
        if (!stem.contains(u"Page"))
            continue;
        files.append({info.filePath(), stem, info.lastModified()});
    }
    return files;
}

QStringList FilesOf(const QString& folder, const QString& pageId, const QString& ext)
{
    QStringList files;
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({pageId + u'.' + ext, pageId + u"-*."_qs + ext}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        files.append(dir.filePath(name));
    return files;
}

bool Write(const KvPage& page, const QString& path, const QByteArray& rtf, QString& reason)
{
    const QString dir = QFileInfo(path).path();
    if (!makeFolder(dir)) {
        reason = KvTexts::Message(5632, {dir, QString()});
        return false;
    }
    if (page.IsProtected()) {
        // Never a plain copy of a protected page: its content format under its key.
        bool ok = false;
        try {
            ok = page.Password().WriteContent(path, rtf, KvAtomicFile::Access::OwnerOnly);
        } catch (const KvException& e) {
            reason = e.Message();
            return false;
        }
        if (!ok)
            reason = KvAtomicFile::ErrorString(errno);
        return ok;
    }
    int error = 0;
    if (KvAtomicFile::WriteFile(path, rtf, KvAtomicFile::Access::OwnerOnly, &error))
        return true;
    reason = KvAtomicFile::ErrorString(error);
    return false;
}

bool Read(const KvPage& page, const QString& path, QByteArray& rtf)
{
    QByteArray bytes;
    if (page.IsProtected()) {
        try {
            if (!page.Password().ReadContent(path, bytes))
                return false;
        } catch (const KvException&) {
            return false;
        }
    } else {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        bytes = file.readAll();
    }
    // A wrong key gives bytes, not an error: only RTF counts as the page's text.
    if (!IsPlainRtf(bytes)) {
        bytes.fill('\0');
        return false;
    }
    rtf = std::move(bytes);
    return true;
}

bool IsPlainRtf(const QByteArray& bytes)
{
    return bytes.trimmed().startsWith("{\\rtf");
}

} // namespace KvRescueFiles
