#pragma once

#include <QString>

// The order in which a page's content moves to a new key (a password set, changed or
// removed), so that a crash at any moment leaves a page that opens with the old or with the
// new password, never with neither:
//  - first the content under the new key is written to a side file beside the content
//    file, named after the new check value (SidePath);
//  - then the page store receives the new check value (the commit): from here on the side
//    file holds the content;
//  - last the side file is renamed over the content file (Complete).
// Before the commit the page store still names the old check value and the content file is
// still under the old key; a side file named after another check value than the stored one
// is left over from a change that never committed and is never read. Between the commit
// and the rename readers take the side file named after the stored check value (ReadPath),
// and the next writer does the rename.
namespace KvRekeyFile {

// The side file of a content file for a check value (empty: unprotected content).
QString SidePath(const QString& contentPath, const QString& checkValue);
// The file that holds the content for the stored check value: the side file while the
// rename is outstanding, else the content file.
QString ReadPath(const QString& contentPath, const QString& storedCheckValue);
// The rename for the stored check value: the side file, with the content file's permissions
// and group, replaces the content file. False when there is no side file (*error 0) or the
// rename fails (*error the errno; the side file then stays the one to read).
bool Complete(const QString& contentPath, const QString& storedCheckValue, int* error = nullptr);

} // namespace KvRekeyFile
