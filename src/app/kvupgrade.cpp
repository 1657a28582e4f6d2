#include "app/kvupgrade.h"

#include "app/kvpaths.h"
#include "store/texprofilefile.h"

namespace {
const QString kSection = u"Korvelle"_qs;
const QString kKey = u"Version"_qs;
} // namespace

QString KvUpgrade::ProductVersion()
{
    return QStringLiteral(KORV_VERSION);
}

KvUpgrade::KvUpgrade() : m_running(ProductVersion())
{
    const TexProfileFile settings(KvPaths::SettingsFile());
    m_stored = settings.ReadString(kSection, kKey, QString());
    if (m_stored.isEmpty())
        m_stored = u"Pre-Version"_qs;
}

void KvUpgrade::StoreRunningVersion()
{
    TexProfileFile settings(KvPaths::SettingsFile());
    settings.WriteString(kSection, kKey, m_running);
    settings.UpdateFile();
    m_stored = m_running;
}
