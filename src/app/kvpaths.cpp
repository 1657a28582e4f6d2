#include "app/kvpaths.h"

#include "app/kvmounttable.h"
#include "app/kvtexts.h"
#include "platform/applog.h"
#include "platform/kvatomicfile.h"
#include "platform/sysenv.h"
#include "store/texprofilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

const QString kSettingsFileName = u"korvnote.stg"_qs;
const QString kMainSection = u"Korvelle"_qs;

std::optional<QString>& cachedDataDir()
{
    static std::optional<QString> dir;
    return dir;
}

bool envWantsLog()
{
    return qEnvironmentVariable("KORVELLE_APPLOG") == u"1";
}

bool sameDir(const QString& a, const QString& b)
{
    return QDir::cleanPath(a) == QDir::cleanPath(b);
}

} // namespace

namespace KvPaths {

QString BootstrapFile()
{
    return KvSysEnv::ProgramDir() + kSettingsFileName;
}

namespace {

QString settingsDir(bool create)
{
    const TexProfileFile boot(BootstrapFile());
    const QString user = KvSysEnv::UserName();
    QString configured = boot.ReadString(user, u"SettingsDir"_qs, QString());
    if (configured.isEmpty())
        configured = boot.ReadString(u"All Users"_qs, u"SettingsDir"_qs, QString());
    if (!configured.isEmpty()) {
        const QString dir = WithDrive(WithTrailingSlash(configured));
        if (QFileInfo(dir).isDir()) {
            KvAppLog::SetEnabled(envWantsLog());
            return dir;
        }
    }
    KvAppLog::SetEnabled(boot.ReadBool(user, u"Write2Applog"_qs, false) || envWantsLog());
    const QString dir = KvSysEnv::Get().configHome + u"korvelle/";
    if (create)
        QDir().mkpath(dir);
    return dir;
}

} // namespace

QString SettingsDir()
{
    return settingsDir(true);
}

QString SettingsDirUncreated()
{
    return settingsDir(false);
}

QString SettingsFile()
{
    return SettingsDir() + kSettingsFileName;
}

QString DefaultDataDir()
{
    const QString docs = KvSysEnv::Get().documentsDir;
    if (!docs.isEmpty())
        return WithTrailingSlash(docs) + u"Korvelle/";
    return KvSysEnv::ProgramDir() + u"Data/";
}

QString DataDir()
{
    auto& cache = cachedDataDir();
    if (cache)
        return *cache;
    const QString def = DefaultDataDir();
    const TexProfileFile settings(SettingsFile());
    QString dir = settings.ReadString(kMainSection, u"ActFolder"_qs, def);
    if (!QFileInfo::exists(dir) && sameDir(dir, def))
        QDir().mkpath(dir);
    cache = WithTrailingSlash(dir);
    return *cache;
}

void SetDataDir(const QString& path, bool remember)
{
    const QString dir = WithTrailingSlash(path);
    if (remember) {
        TexProfileFile settings(SettingsFile());
        settings.WriteString(kMainSection, u"ActFolder"_qs, dir);
        settings.UpdateFile();
    }
    cachedDataDir() = dir;
    WriteReadMe(dir);
}

void ResetDataDirCache()
{
    cachedDataDir().reset();
}

QString StorePath(const QString& name)
{
    if (name == u"dirprps" || name == u"Styles")
        return SettingsDir() + name;
    return DataDir() + name;
}

QString HelpFile()
{
    return KvSysEnv::ProgramDir() + u"korvnote.chm";
}

QString WithTrailingSlash(const QString& path)
{
    if (path.isEmpty() || path.endsWith(u'/'))
        return path;
    return path + u'/';
}

QString WithDrive(const QString& path)
{
    if (!path.startsWith(u'\\') || path.startsWith(u"\\\\"))
        return path;
    const QString prog = KvSysEnv::ProgramDir();
    const qsizetype colon = prog.indexOf(u':');
    if (colon < 0)
        return path;
    return prog.left(colon + 1) + path;
}

int UniversalName(QString& path)
{
    const std::optional<KvMountTable> table = KvMountTable::Read();
    if (!table)
        return 5;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return 1;
    const QString unc = table->UncName(info.canonicalFilePath());
    if (unc.isEmpty())
        return 8;
    path = unc;
    return 0;
}

QString WelcomeFile()
{
    static const QString name = u"welcome.rtf"_qs;
    QStringList candidates{KvSysEnv::ProgramDir() + name,
                           QDir::cleanPath(KvSysEnv::ProgramDir() + u"../share/korvelle/" + name)};
    for (const QString& dir : KvSysEnv::Get().dataDirs)
        candidates.append(WithTrailingSlash(dir) + u"korvelle/" + name);
    for (const QString& c : std::as_const(candidates)) {
        if (QFileInfo(c).isFile())
            return c;
    }
    return {};
}

QString ReplaceInvalidChars(const QString& text, const QString& replacement)
{
    QString result = text;
    for (const QChar c : {u'/', u'\\', u':', u'"', u'*', u'?', u'<', u'>', u'|'})
        result.replace(c, replacement);
    return result;
}

QString UserName()
{
    return KvSysEnv::UserName();
}

bool WriteReadMe(const QString& dir)
{
    const QString path = WithTrailingSlash(dir) + u"ReadMe.txt";
    if (QFileInfo::exists(path))
        return true;
    QByteArray bytes;
    for (int n = 5035; n <= 5039; ++n)
        bytes += KvTexts::Text(n).toUtf8() + "\r\n";
    return KvAtomicFile::WriteFile(path, bytes);
}

} // namespace KvPaths
