#include "model/kvaddstatus.h"

#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "platform/applog.h"
#include "store/texprofilefile.h"

#include <QDir>
#include <QFileInfo>

KvAddStatus::KvAddStatus() : m_source(KvPaths::SettingsFile())
{
    Read();
}

KvAddStatus::KvAddStatus(const QString& sourceFile) : m_source(sourceFile)
{
    Read();
}

void KvAddStatus::LoadForDirectory(const QString& dataDirectory)
{
    KV_LOG_SCOPE("KvAddStatus::LoadForDirectory");
    const QString settings = KvPaths::SettingsFile();
    const QString local =
        KvPaths::WithTrailingSlash(dataDirectory) + QFileInfo(settings).fileName();
    m_source = QFileInfo::exists(local) ? local : settings;
    Read();
}

void KvAddStatus::Read()
{
    KV_LOG_SCOPE("KvAddStatus::Read");
    m_entries.clear();
    if (m_source.isEmpty() || !QFileInfo::exists(m_source))
        return;
    const TexProfileFile file(m_source);
    const QDir base = QFileInfo(m_source).absoluteDir();
    const QStringList keys = file.ReadSection(SectionName);
    for (const QString& key : keys) {
        QString path = file.ReadString(SectionName, key, QString());
        path.replace(u'\\', u'/');
        if (!path.isEmpty() && QDir::isRelativePath(path))
            path = base.filePath(path);
        m_entries.append({key, path});
    }
}

QString KvAddStatus::NameAt(int k) const
{
    return k >= 0 && k < m_entries.size() ? m_entries[k].name : QString();
}

QString KvAddStatus::IconFileAt(int k) const
{
    return k >= 0 && k < m_entries.size() ? m_entries[k].iconFile : QString();
}

QString StatusText(int n, const KvAddStatus* catalogue)
{
    if (n < 0)
        return QString();
    if (n <= 13)
        return KvTexts::Text(11200 + n);
    if (!catalogue)
        return QString();
    return catalogue->NameAt(n - 14);
}
