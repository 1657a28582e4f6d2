#include "store/kvobjstore.h"

#include "platform/applog.h"
#include "store/kvdirstores.h"

namespace {

QString withSlash(const QString& dir)
{
    return dir.isEmpty() || dir.endsWith(u'/') ? dir : dir + u'/';
}

} // namespace

KvObjStore::KvObjStore(const QString& basePath)
    : m_store(std::make_unique<TexIniFile>(basePath, SizeLimitKb, true))
{}

KvObjStore::~KvObjStore() = default;

void KvObjStore::Reopen(const QString& dataDir)
{
    KV_LOG_SCOPE("KvObjStore::Reopen");
    m_store->TryUpdateFile(); // a failure was reported to the Store that made the change
    m_store.reset();
    m_store = std::make_unique<TexIniFile>(withSlash(dataDir) + BaseName(), SizeLimitKb, true);
}

bool KvObjStore::HasSection(const QString& name)
{
    KV_LOG_SCOPE("KvObjStore::HasSection");
    const QStringList sections = m_store->ReadSections();
    return sections.contains(name, Qt::CaseSensitive);
}
