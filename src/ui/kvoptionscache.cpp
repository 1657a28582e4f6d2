#include "ui/kvoptionscache.h"

#include "app/kvpaths.h"

#include <QFileInfo>

const KvElementOptions& KvOptionsCache::Get()
{
    // Every write replaces the file, so its time or size changes with its content.
    const QFileInfo info(KvPaths::SettingsFile());
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (!m_valid || modified != m_modified || size != m_size) {
        m_options = KvElementOptions::Read();
        m_modified = modified;
        m_size = size;
        m_valid = true;
    }
    return m_options;
}
