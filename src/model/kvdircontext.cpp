#include "model/kvdircontext.h"

#include "store/kvdirstores.h"

namespace {

KvDirContext* g_current = nullptr;

KvDirContext& Fallback()
{
    static KvDirContext ctx;
    return ctx;
}

} // namespace

KvDirContext& KvDirContext::Current()
{
    return g_current ? *g_current : Fallback();
}

void KvDirContext::SetCurrent(KvDirContext* ctx)
{
    g_current = ctx;
}

QString KvDirContext::DataDir() const
{
    // Never a relative path: page files must not land in the working directory.
    return dataDir.isEmpty() ? KvDirStores::DataDir() : dataDir;
}

TexIniFile& KvDirContext::ObjStore()
{
    return KvDirStores::ObjectStore();
}

TexIniFile& KvDirContext::FldrStore()
{
    return KvDirStores::FolderStore();
}

TexIniFile& KvDirContext::PageStore()
{
    return KvDirStores::PageStore();
}

TexIniFile& KvDirContext::KwdStore()
{
    return KvDirStores::KeywordStore();
}

KvPropReader& KvDirContext::ObjReader()
{
    return KvReadSources::Object();
}

KvPropReader& KvDirContext::FldrReader()
{
    return KvReadSources::Folder();
}

KvPropReader& KvDirContext::PageReader()
{
    return KvReadSources::Page();
}
