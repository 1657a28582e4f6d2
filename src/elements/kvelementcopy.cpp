#include "elements/kvelementcopy.h"

#include "elements/kvelementenv.h"

KvElementCopy::KvElementCopy(KvElementEnv& env) : m_env(env) {}

void KvElementCopy::PageCopy(KvPage&) {}
void KvElementCopy::FolderCopy(KvFolder&) {}
void KvElementCopy::CreateReferrer(KvPage&) {}
KvObject* KvElementCopy::FolderPaste(KvFolder&)
{
    return nullptr;
}
KvPage* KvElementCopy::CopyPage2Folder(KvPage&, KvFolder&)
{
    return nullptr;
}
KvFolder* KvElementCopy::CopySingleFolder2Folder(KvFolder&, KvFolder&)
{
    return nullptr;
}
KvFolder* KvElementCopy::CopyFolder2Folder(KvFolder&, KvFolder&)
{
    return nullptr;
}
KvPage* KvElementCopy::NewReferrer(KvPage&, KvFolder&)
{
    return nullptr;
}
KvPage* KvElementCopy::NewLinkMIClick(KvFolder&)
{
    return nullptr;
}
