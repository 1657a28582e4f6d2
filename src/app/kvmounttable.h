#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One line of the kernel's mount table (/proc/self/mountinfo).
struct KvMount
{
    QString root;       // the directory of the file system that is mounted here
    QString mountPoint; // where it is mounted
    QString fsType;     // "ext4", "cifs", "fuse.gvfsd-fuse", ...
    QString source;     // "//server/share" for a share, "/dev/sda1", ...
};

// The mount table, for the network (UNC) names of paths on SMB shares and the way back:
// a share mounted by the kernel (cifs, smb3) or by the desktop's gvfs (its "smb-share:"
// directories). Windows colleagues read "\\server\share\rest"; here such a name opens the
// share's local mount.
class KvMountTable
{
public:
    // The table of the file KvSysEnv names; none when it cannot be read.
    static std::optional<KvMountTable> Read();
    static std::optional<KvMountTable> Read(const QString& path);
    static KvMountTable Parse(const QByteArray& text);

    const QList<KvMount>& Mounts() const { return m_mounts; }
    // The mount an absolute path lies on: the longest mount point holding it, of several on
    // the same point the last one mounted. Null when none does (an empty table).
    const KvMount* MountOf(const QString& absolutePath) const;
    // "\\server\share\rest" for an absolute path on an SMB share; empty when it is on none.
    // The path should be canonical: the table names the mount points without symbolic links.
    QString UncName(const QString& absolutePath) const;
    // The local path of server/share/rest on a mounted share (rest with "/" between its
    // parts, may be empty); empty when the share is not mounted. Share names compare
    // without regard to letter case, as SMB does.
    QString LocalPath(const QString& server, const QString& share, const QString& rest) const;

    // Splits a network name "\\server\share\rest" or "//server/share/rest" (either
    // separator); false when the text is no network name with at least a server and a share.
    static bool SplitUnc(const QString& text, QString& server, QString& share, QString& rest);

private:
    QList<KvMount> m_mounts;
};
