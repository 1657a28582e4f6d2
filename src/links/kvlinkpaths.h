#pragma once

#include <QString>
#include <optional>

class KvMountTable;

// File and directory targets of links, both ways: what the hyperlink dialog writes for a
// path (absolute, relative to the data directory, or the share's network name for Windows
// colleagues), and what a click on such a link opens here.
namespace KvLinkPaths {

// "*RelPath*\" + the path below the data directory with "/" between its parts, or none
// when the path is not in or below it. Compared letter case and all, first as cleaned
// absolute paths, then with symbolic links resolved.
std::optional<QString> Relative(const QString& path, const QString& dataDir);

// The network name of the path (KvPaths::UniversalName); on failure the reason code
// (1 ... 8, 99) and no name.
struct UncResult
{
    int code = 0;
    QString name;
};
UncResult Unc(const QString& path);
// The text of a reason code: 14500 + code, 14599 for any other code.
int ReasonText(int code);

// Where a click on a file link goes. target: an absolute path, or an encoded URL (a share
// that is not mounted here: "smb://server/share/rest"); refusal: why it cannot be opened
// (a Windows drive path), then target is empty.
struct ClickTarget
{
    QString target;
    bool isPath = false;
    QString refusal;
};
// pathText: the link's text after "file://". A leading "*RelPath*" or "<RelPath>" plus the
// one character after it become the data directory, and "\" in the rest "/". A network
// name "\\server\share\rest" or "//server/share/rest" becomes the share's local mount.
// A path that is not absolute is taken relative to the data directory.
ClickTarget ForClick(const QString& pathText, const QString& dataDir, const KvMountTable* mounts);

} // namespace KvLinkPaths
