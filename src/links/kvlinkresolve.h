#pragma once

#include <QString>

class KvMountTable;

// What a click on a link does, decided without a window: the window and
// "korvnote-cli resolve" act on it.
struct KvLinkAction
{
    enum class Kind
    {
        ShowElement, // id
        Keyword,     // keyword: the keyword dialog, positioned there
        Open,        // target: an absolute path or an encoded URL, for the desktop
        Ask,         // target: a program, script or launcher, opened only after a Yes
        Broken,      // message: 5050 or 5051, the element is gone
        Refused      // message: why the target cannot be opened here
    };
    Kind kind = Kind::Refused;
    QString id;
    QString keyword;
    QString target;
    QString message;
};

namespace KvLinkResolve {

// url: the link's URL (or its text with the angle brackets). dataDir: the data directory
// the relative marker stands for. mounts: the mount table for network names (null: none
// is mounted).
KvLinkAction Resolve(const QString& url, const QString& dataDir, const KvMountTable* mounts);
// As above with the mount table read when a network name needs it.
KvLinkAction Resolve(const QString& url, const QString& dataDir);

// True for what may run code when the desktop opens it: a regular file with an execute
// bit, a ".desktop" launcher, or a file of an executable or script type.
bool RunsCode(const QString& path);

} // namespace KvLinkResolve
