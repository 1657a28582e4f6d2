#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class KvPage;

// The one rule for where the unsaved text of a page is kept outside the notebook: the
// typing journal and the exit's rescue both write here, the start offers what waits here,
// and `korvnote-cli check` lists it.
//
// The folder is per user (settings directory + "rescue/") and per data directory (a
// subfolder named after the directory and a hash of its path, so notebooks never mix).
// A page's file is named after the stem of its content file (a referrer's is its
// target's) with the content file's extension; a second file of the same page, while
// the first waits for the user, gets "-yyyyMMdd-HHmmss" after the stem. The bytes are the
// page's content format: RTF, or the encrypted records under the page's key for a
// protected page. Files are written through the atomic writer, readable by the owner only.
namespace KvRescueFiles {

struct File
{
    QString path;
    QString pageId; // the content stem the file belongs to
    QDateTime written;
};

// The rescue folder of a data directory, with trailing "/" (not created).
QString Folder(const QString& dataDir);
// The usual file of the page with content stem pageId, and the second form.
QString PathFor(const QString& dataDir, const QString& pageId, const QString& ext);
QString SparePathFor(const QString& dataDir, const QString& pageId, const QString& ext,
                     const QDateTime& when);
// The content stem of a page: the base name of its content file.
QString StemOf(const KvPage& page);
// The rescue files of a data directory whose pages use extension ext, in name order.
QList<File> List(const QString& dataDir, const QString& ext);
// The files of one page in a rescue folder (as Folder gives it), both forms.
QStringList FilesOf(const QString& folder, const QString& pageId, const QString& ext);

// Writes rtf in the page's content format to path (the folder is created); false with a
// reason on failure. A protected page is encrypted under its current key, never plain.
bool Write(const KvPage& page, const QString& path, const QByteArray& rtf, QString& reason);
// Reads a file written by Write for page (decrypted under the page's key, which must be
// known); false when it cannot be read or does not hold RTF.
bool Read(const KvPage& page, const QString& path, QByteArray& rtf);
// The bytes are RTF, not encrypted records: a file whose page is gone can be read only so.
bool IsPlainRtf(const QByteArray& bytes);

} // namespace KvRescueFiles
