#include "links/kvlinkpaths.h"

#include "app/kvmounttable.h"
#include "app/kvpaths.h"
#include "app/kvtexts.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace {

constexpr int kReasonBase = 14500;
constexpr int kReasonOther = 14599;
constexpr int kWindowsDrive = 5752;

QString Clean(const QString& path)
{
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path
                                                      : QDir::current().absoluteFilePath(path));
}

// The part of path below dir (both cleaned, dir without its trailing "/"); none when path
// is not dir or below it.
std::optional<QString> Below(const QString& path, const QString& dir)
{
    if (path == dir)
        return QString();
    const QString prefix = dir.endsWith(u'/') ? dir : dir + u'/';
    if (!path.startsWith(prefix))
        return std::nullopt;
    return path.mid(prefix.size());
}

bool IsWindowsDrivePath(const QString& text)
{
    static const QRegularExpression re(u"^[A-Za-z]:([\\\\/]|$)"_qs);
    return re.match(text).hasMatch();
}

} // namespace

namespace KvLinkPaths {

std::optional<QString> Relative(const QString& path, const QString& dataDir)
{
    const QString cleanPath = Clean(path);
    const QString cleanDir = Clean(dataDir);
    std::optional<QString> rest = Below(cleanPath, cleanDir);
    if (!rest) {
        const QString canonicalPath = QFileInfo(cleanPath).canonicalFilePath();
        const QString canonicalDir = QFileInfo(cleanDir).canonicalFilePath();
        if (!canonicalPath.isEmpty() && !canonicalDir.isEmpty())
            rest = Below(canonicalPath, canonicalDir);
    }
    if (!rest)
        return std::nullopt;
    return u"*RelPath*\\"_qs + *rest;
}

UncResult Unc(const QString& path)
{
    UncResult r;
    QString name = path;
    r.code = KvPaths::UniversalName(name);
    if (r.code == 0)
        r.name = name;
    return r;
}

int ReasonText(int code)
{
    return code >= 1 && code <= 8 ? kReasonBase + code : kReasonOther;
}

ClickTarget ForClick(const QString& pathText, const QString& dataDir, const KvMountTable* mounts)
{
    ClickTarget t;
    QString path = pathText;
    // The data directory's marker, also in its older form; only at the start.
    if (path.startsWith(u"*RelPath*") || path.startsWith(u"<RelPath>")) {
        QString rest = path.mid(10);
        rest.replace(u'\\', u'/');
        path = KvPaths::WithTrailingSlash(dataDir) + rest;
    }
    QString server, share, rest;
    if (KvMountTable::SplitUnc(path, server, share, rest)) {
        const QString local = mounts ? mounts->LocalPath(server, share, rest) : QString();
        if (!local.isEmpty()) {
            t.target = local;
            t.isPath = true;
        } else {
            QUrl url;
            url.setScheme(u"smb"_qs);
            url.setHost(server);
            url.setPath(u'/' + share + (rest.isEmpty() ? QString() : u'/' + rest));
            t.target = url.toString(QUrl::FullyEncoded);
        }
        return t;
    }
    if (IsWindowsDrivePath(path)) {
        t.refusal = KvTexts::Message(kWindowsDrive, {path});
        return t;
    }
    if (!QDir::isAbsolutePath(path))
        path = KvPaths::WithTrailingSlash(dataDir) + path;
    path = QDir::cleanPath(path);
    // A link written as a URL ("file:///a%20b") names the decoded path.
    if (!QFileInfo::exists(path) && path.contains(u'%')) {
        const QString decoded = QUrl::fromPercentEncoding(path.toUtf8());
        if (QFileInfo::exists(decoded))
            path = decoded;
    }
    t.target = path;
    t.isPath = true;
    return t;
}

} // namespace KvLinkPaths
