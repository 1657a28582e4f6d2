#include "elements/kvelementmove.h"

#include "elements/kvelementenv.h"

KvElementMove::KvElementMove(KvElementEnv& env) : m_env(env) {}

bool KvElementMove::MovePageConfirmed(KvPage&)
{
    return false;
}
bool KvElementMove::MoveFolderConfirmed(KvFolder&)
{
    return false;
}
bool KvElementMove::PageMoveUpDown(KvPage&, bool)
{
    return false;
}
bool KvElementMove::FolderMoveUpDown(KvFolder&, bool)
{
    return false;
}
void KvElementMove::MoveToPosition(KvObject&, int) {}
bool KvElementMove::PageMove2Folder(KvPage&)
{
    return false;
}
bool KvElementMove::FolderMove2Folder(KvFolder&)
{
    return false;
}
QStringList KvElementMove::Move(KvObject&, KvFolder&, bool)
{
    return {};
}
KvObject* KvElementMove::MoveSingle(KvObject&, KvFolder&, bool)
{
    return nullptr;
}
bool KvElementMove::SortFolder(KvFolder&)
{
    return false;
}
void KvElementMove::SortElements(KvFolder&) {}
void KvElementMove::SortFoldersBelow(KvFolder&) {}
