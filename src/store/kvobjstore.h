#pragma once

#include "store/texinifile.h"

#include <memory>

// Owner of the object store of the current data directory.
class KvObjStore
{
public:
    static constexpr int SizeLimitKb = 40;
    static QString BaseName() { return u"objprps"_qs; }

    // basePath: the data directory followed by "objprps"; empty for that of the current
    // data directory (KvDirStores).
    explicit KvObjStore(const QString& basePath);
    ~KvObjStore();
    KvObjStore(const KvObjStore&) = delete;
    KvObjStore& operator=(const KvObjStore&) = delete;

    TexIniFile& Store() { return *m_store; }
    // Flushes and replaces the store by one on dataDir + "objprps".
    void Reopen(const QString& dataDir);
    // Byte-wise comparison with every section name of the store.
    bool HasSection(const QString& name);

private:
    std::unique_ptr<TexIniFile> m_store;
};
