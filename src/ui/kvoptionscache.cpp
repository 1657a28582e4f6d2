#include "ui/kvoptionscache.h"

#include "app/kvpaths.h"

const KvElementOptions& KvOptionsCache::Get()
{
    // The settings directory comes from the bootstrap file: looked up once, not per pass.
    if (!m_watch)
        m_watch = std::make_unique<KvFileWatch>(KvPaths::SettingsFile());
    // Asked before reading: a change during the read is reported next time.
    const bool changed = m_watch->Changed();
    if (changed || !m_valid) {
        m_options = KvElementOptions::Read();
        m_valid = true;
        ++m_reads;
    }
    return m_options;
}
