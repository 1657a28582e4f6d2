#include "elements/kvelementedit.h"

#include "elements/kvelementenv.h"

KvElementEdit::KvElementEdit(KvElementEnv& env) : m_env(env) {}

KvPage* KvElementEdit::NewPage(KvFolder&)
{
    return nullptr;
}
KvPage* KvElementEdit::CreateNewPage(KvFolder&, const QString&, int)
{
    return nullptr;
}
KvFolder* KvElementEdit::NewFolder(KvFolder&)
{
    return nullptr;
}
KvFolder* KvElementEdit::CreateNewFolder(KvFolder&, const QString&)
{
    return nullptr;
}
bool KvElementEdit::RenamePage(KvPage&)
{
    return false;
}
bool KvElementEdit::RenameFolder(KvFolder&)
{
    return false;
}
void KvElementEdit::RenamePage(KvPage&, const QString&) {}
void KvElementEdit::RenameFolder(KvFolder&, const QString&) {}
bool KvElementEdit::DeletePageConfirmed(KvPage&)
{
    return false;
}
bool KvElementEdit::DeleteFolderConfirmed(KvFolder&)
{
    return false;
}
KvFolder* KvElementEdit::TemplateInFolder(const KvPage&)
{
    return nullptr;
}
void KvElementEdit::RemoveTemplUsage(KvPage&) {}
void KvElementEdit::RemoveTemplUsage(KvFolder&) {}
QStringList KvElementEdit::DeleteElemsFromLists(KvObject&, bool)
{
    return {};
}
bool KvElementEdit::DeletePage(KvPage&)
{
    return false;
}
bool KvElementEdit::DeleteFolder(KvFolder&)
{
    return false;
}
void KvElementEdit::RemoveForGood(KvObject&) {}
int KvElementEdit::EmptyTrash()
{
    return 0;
}
int KvElementEdit::EmptyTrashAtExit(bool)
{
    return 0;
}
