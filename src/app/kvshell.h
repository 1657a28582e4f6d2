#pragma once

#include <QString>

// Opening documents and addresses with the desktop's default handler.
namespace KvShell {

struct Result
{
    bool ok = false;
    QString reason; // why it failed, in words the user can act on
};

// Opens a file, directory or address (xdg-open behind QDesktopServices).
Result Open(const QString& document);

} // namespace KvShell
