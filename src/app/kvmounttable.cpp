#include "app/kvmounttable.h"

#include "platform/sysenv.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace {

// Fields of the table escape blank, tab, line feed and backslash as "\ooo".
QString Unescape(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
            field[i + 1] <= '3' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
            field[i + 3] >= '0' && field[i + 3] <= '7') {
            out +=
                char((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return QString::fromUtf8(out);
}

bool IsShareType(const QString& fsType)
{
    return fsType == u"cifs" || fsType == u"smb3" || fsType == u"smbfs";
}

bool IsGvfs(const QString& fsType)
{
    return fsType == u"fuse.gvfsd-fuse";
}

QStringList Parts(const QString& path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    return p.split(u'/', Qt::SkipEmptyParts);
}

// The path below a mount point, without a leading "/"; the path must lie on it.
QString Below(const QString& path, const QString& mountPoint)
{
    if (mountPoint == u"/")
        return path.mid(1);
    return path.mid(mountPoint.size() + 1);
}

bool Holds(const QString& mountPoint, const QString& path)
{
    if (mountPoint == u"/")
        return path.startsWith(u'/');
    return path == mountPoint ||
           (path.startsWith(mountPoint) && path.at(mountPoint.size()) == u'/');
}

// The network name parts (server, share, further directories) a share mount stands for.
QStringList ShareParts(const KvMount& m)
{
    QStringList parts = Parts(m.source);
    if (m.root != u"/")
        parts += Parts(m.root);
    return parts;
}

// Server and share of a gvfs directory name "smb-share:server=X,share=Y[,user=...]".
bool GvfsShare(const QString& name, QString& server, QString& share)
{
    static const QString prefix = u"smb-share:"_qs;
    if (!name.startsWith(prefix))
        return false;
    for (const QString& pair : name.mid(prefix.size()).split(u',')) {
        const qsizetype eq = pair.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString value = QUrl::fromPercentEncoding(pair.mid(eq + 1).toUtf8());
        if (pair.left(eq) == u"server")
            server = value;
        else if (pair.left(eq) == u"share")
            share = value;
    }
    return !server.isEmpty() && !share.isEmpty();
}

QString Unc(const QStringList& parts)
{
    return u"\\\\"_qs + parts.join(u'\\');
}

bool SamePrefix(const QStringList& prefix, const QStringList& parts)
{
    if (prefix.size() > parts.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        if (prefix[i].compare(parts[i], Qt::CaseInsensitive) != 0)
            return false;
    }
    return true;
}

} // namespace

std::optional<KvMountTable> KvMountTable::Read()
{
    return Read(KvSysEnv::Get().mountInfo);
}

std::optional<KvMountTable> KvMountTable::Read(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return Parse(f.readAll());
}

KvMountTable KvMountTable::Parse(const QByteArray& text)
{
    // id parent major:minor root mount-point options [optional fields...] - type source
    // super-options
    KvMountTable table;
    for (const QByteArray& line : text.split('\n')) {
        const QList<QByteArray> f = line.simplified().split(' ');
        const qsizetype dash = f.indexOf("-");
        if (f.size() < 6 || dash < 6 || dash + 2 >= f.size())
            continue;
        KvMount m;
        m.root = Unescape(f[3]);
        m.mountPoint = QDir::cleanPath(Unescape(f[4]));
        m.fsType = Unescape(f[dash + 1]);
        m.source = Unescape(f[dash + 2]);
        if (!m.mountPoint.startsWith(u'/'))
            continue;
        table.m_mounts.append(m);
    }
    return table;
}

const KvMount* KvMountTable::MountOf(const QString& absolutePath) const
{
    const QString path = QDir::cleanPath(absolutePath);
    const KvMount* best = nullptr;
    for (const KvMount& m : m_mounts) {
        if (Holds(m.mountPoint, path) && (!best || m.mountPoint.size() >= best->mountPoint.size()))
            best = &m;
    }
    return best;
}

QString KvMountTable::UncName(const QString& absolutePath) const
{
    const QString path = QDir::cleanPath(absolutePath);
    const KvMount* m = MountOf(path);
    if (!m)
        return {};
    const QStringList rest = Parts(Below(path, m->mountPoint));
    if (IsShareType(m->fsType)) {
        const QStringList share = ShareParts(*m);
        if (share.size() < 2)
            return {};
        return Unc(share + rest);
    }
    if (IsGvfs(m->fsType) && !rest.isEmpty()) {
        QString server, share;
        if (GvfsShare(rest.first(), server, share))
            return Unc(QStringList{server, share} + rest.mid(1));
    }
    return {};
}

QString KvMountTable::LocalPath(const QString& server, const QString& share,
                                const QString& rest) const
{
    const QStringList wanted = QStringList{server, share} + Parts(rest);
    // The kernel's share mounts: the one that stands for the longest part of the name.
    const KvMount* best = nullptr;
    qsizetype bestLength = 0;
    for (const KvMount& m : m_mounts) {
        if (!IsShareType(m.fsType))
            continue;
        const QStringList parts = ShareParts(m);
        if (parts.size() >= 2 && SamePrefix(parts, wanted) && parts.size() >= bestLength) {
            best = &m;
            bestLength = parts.size();
        }
    }
    if (best)
        return QDir::cleanPath(best->mountPoint + u'/' + wanted.mid(bestLength).join(u'/'));
    // The desktop's mounts: a directory per share below each gvfs mount point.
    for (const KvMount& m : m_mounts) {
        if (!IsGvfs(m.fsType))
            continue;
        const QStringList names = QDir(m.mountPoint).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        for (const QString& name : names) {
            QString s, sh;
            if (GvfsShare(name, s, sh) && s.compare(server, Qt::CaseInsensitive) == 0 &&
                sh.compare(share, Qt::CaseInsensitive) == 0)
                return (QStringList{m.mountPoint, name} + wanted.mid(2)).join(u'/');
        }
    }
    return {};
}

bool KvMountTable::SplitUnc(const QString& text, QString& server, QString& share, QString& rest)
{
    const bool unc = text.startsWith(u"\\\\") || text.startsWith(u"//");
    if (!unc || text.size() < 3 || text.at(2) == u'\\' || text.at(2) == u'/')
        return false;
    const QStringList parts = Parts(text);
    if (parts.size() < 2)
        return false;
    server = parts[0];
    share = parts[1];
    rest = parts.mid(2).join(u'/');
    return true;
}
