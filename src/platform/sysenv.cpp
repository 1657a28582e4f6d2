#include "platform/sysenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace {

QString withSlash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(u'/'))
        return path;
    return path + u'/';
}

std::optional<KvSysEnvData>& overridden()
{
    static std::optional<KvSysEnvData> data;
    return data;
}

QString loginName()
{
    if (const passwd* pw = getpwuid(geteuid()); pw && pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

QString shortHostName()
{
    char buf[256] = {};
    if (gethostname(buf, sizeof buf - 1) != 0)
        return QString();
    QString name = QString::fromLocal8Bit(buf);
    name = name.section(u'.', 0, 0);
    return name.left(15);
}

// $XDG_DATA_HOME (default ~/.local/share), then $XDG_DATA_DIRS (default /usr/local/share
// and /usr/share), in this order of precedence.
QStringList xdgDataDirs(const QString& home)
{
    QStringList dirs;
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    dirs.append(withSlash(dataHome.isEmpty() ? home + u".local/share" : dataHome));
    QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    if (system.isEmpty())
        system = u"/usr/local/share:/usr/share"_qs;
    for (const QString& d : system.split(u':', Qt::SkipEmptyParts))
        dirs.append(withSlash(d));
    return dirs;
}

QString documentsDir(const QString& home)
{
    // QStandardPaths answers $HOME when user-dirs.dirs names no documents folder;
    // that is "no documents directory" for us.
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty() || QDir(docs) == QDir(home))
        return QString();
    return withSlash(QDir::cleanPath(docs));
}

} // namespace

namespace KvSysEnv {

KvSysEnvData Detect()
{
    KvSysEnvData d;
    QString exe = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                               : QFileInfo(u"/proc/self/exe"_qs).symLinkTarget();
    if (QCoreApplication::instance() == nullptr)
        exe = QFileInfo(exe).absolutePath();
    d.programDir = withSlash(exe);
    d.homeDir = withSlash(QDir::homePath());
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    d.configHome = withSlash(config.isEmpty() ? d.homeDir + u".config" : config);
    d.documentsDir = documentsDir(QDir::homePath());
    d.tempDir = withSlash(QDir::tempPath());
    d.userName = loginName();
    d.hostName = shortHostName();
    d.mountInfo = u"/proc/self/mountinfo"_qs;
    d.dataDirs = xdgDataDirs(d.homeDir);
    return d;
}

const KvSysEnvData& Get()
{
    auto& o = overridden();
    if (!o)
        o = Detect();
    return *o;
}

void Override(const KvSysEnvData& data)
{
    overridden() = data;
}
void Reset()
{
    overridden().reset();
}

} // namespace KvSysEnv
