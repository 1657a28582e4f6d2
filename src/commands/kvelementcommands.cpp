#include "commands/kvelementcommands.h"

#include "commands/kvwindowservices.h"
#include "elements/kvelementcopy.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementmove.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"

void KvElementCommands::show(const QString& id)
{
    if (!id.isEmpty() && m_s.SelectElement(id))
        m_s.FolderTvChange();
}

void KvElementCommands::showContextFolder()
{
    KvFolder* folder = m_s.CurrentFolder();
    if (folder && folder != m_s.ShownFolder())
        show(folder->Id());
}

void KvElementCommands::NewPage(bool fromTreeMenu)
{
    KV_LOG_SCOPE("TMainF::CreateNewPage");
    if (fromTreeMenu)
        showContextFolder();
    KvFolder* folder = m_s.CurrentFolder();
    if (!folder)
        return;
    KvElementEnv env = m_s.ElementEnv();
    KvElementEdit(env).NewPage(*folder);
}

void KvElementCommands::NewFolder(bool fromTreeMenu)
{
    KV_LOG_SCOPE("TMainF::CreateNewFolder");
    if (fromTreeMenu)
        showContextFolder();
    KvFolder* parent = m_s.CurrentFolder();
    if (!parent)
        return;
    KvElementEnv env = m_s.ElementEnv();
    KvElementEdit(env).NewFolder(*parent);
}

void KvElementCommands::RenamePage()
{
    KV_LOG_SCOPE("TMainF::RenamePage");
    if (KvPage* page = m_s.CurrentPage()) {
        KvElementEnv env = m_s.ElementEnv();
        KvElementEdit(env).RenamePage(*page);
    }
}

void KvElementCommands::RenameFolder()
{
    KV_LOG_SCOPE("TMainF::RenameFolder");
    if (KvFolder* folder = m_s.CurrentFolder()) {
        KvElementEnv env = m_s.ElementEnv();
        KvElementEdit(env).RenameFolder(*folder);
    }
}

void KvElementCommands::DeletePage(bool fromTreeMenu)
{
    KV_LOG_SCOPE("TMainF::DeletePage");
    KvPage* page = m_s.CurrentPage();
    if (!page)
        return;
    const QString folderId = page->Parent() ? page->Parent()->Id() : QString();
    KvElementEnv env = m_s.ElementEnv();
    const bool deleted = KvElementEdit(env).DeletePage(*page);
    // The page's folder is shown again (the context menu restores its own selection).
    if (deleted && !fromTreeMenu && !env.batchList)
        show(folderId);
}

void KvElementCommands::DeleteFolder(bool fromTreeMenu)
{
    KV_LOG_SCOPE("TMainF::DeleteFolder");
    KvFolder* folder = m_s.CurrentFolder();
    if (!folder || !folder->Parent())
        return;
    const QString parentId = folder->Parent()->Id();
    KvElementEnv env = m_s.ElementEnv();
    const bool deleted = KvElementEdit(env).DeleteFolder(*folder);
    if (deleted && !fromTreeMenu)
        show(parentId);
}

void KvElementCommands::EmptyTrash()
{
    KV_LOG_SCOPE("TMainF::TrashEmptyMIClick");
    KvElementEnv env = m_s.ElementEnv();
    KvElementEdit(env).EmptyTrash();
    // A current folder that was in the trash gives way to the trash itself.
    if (!m_s.CurrentFolder() && env.trash)
        show(env.trash->Id());
}

void KvElementCommands::PageMoveUpDown(bool up)
{
    KV_LOG_SCOPE("TMainF::PageMoveUpDown");
    KvPage* page = m_s.CurrentPage();
    if (!page)
        return;
    const QString id = page->Id();
    KvElementEnv env = m_s.ElementEnv();
    if (KvElementMove(env).PageMoveUpDown(*page, up))
        show(id);
}

void KvElementCommands::FolderMoveUpDown(bool up)
{
    KV_LOG_SCOPE("TMainF::FolderMoveUpDown");
    KvFolder* folder = m_s.CurrentFolder();
    if (!folder)
        return;
    const QString id = folder->Id();
    KvElementEnv env = m_s.ElementEnv();
    if (KvElementMove(env).FolderMoveUpDown(*folder, up))
        show(id);
}

void KvElementCommands::PageMove2Folder(bool fromTreeMenu)
{
    KV_LOG_SCOPE("TMainF::PageMove2Folder");
    KvPage* page = m_s.CurrentPage();
    if (!page)
        return;
    KvElementEnv env = m_s.ElementEnv();
    if (KvElementMove(env).PageMove2Folder(*page) && !fromTreeMenu)
        m_s.FolderTvChange();
}

void KvElementCommands::FolderMove2Folder(bool fromTreeMenu)
{
    KV_LOG_SCOPE("TMainF::FolderMove2Folder");
    KvFolder* folder = m_s.CurrentFolder();
    if (!folder)
        return;
    KvElementEnv env = m_s.ElementEnv();
    if (KvElementMove(env).FolderMove2Folder(*folder) && !fromTreeMenu)
        m_s.FolderTvChange();
}

void KvElementCommands::SortFolder()
{
    KV_LOG_SCOPE("TMainF::SortFolder");
    if (KvFolder* folder = m_s.CurrentFolder()) {
        KvElementEnv env = m_s.ElementEnv();
        KvElementMove(env).SortFolder(*folder);
    }
}

void KvElementCommands::PageCopy()
{
    KV_LOG_SCOPE("TMainF::PageCopy");
    if (KvPage* page = m_s.CurrentPage()) {
        KvElementEnv env = m_s.ElementEnv();
        KvElementCopy(env).PageCopy(*page);
    }
}

void KvElementCommands::FolderCopy()
{
    KV_LOG_SCOPE("TMainF::FolderCopy");
    if (KvFolder* folder = m_s.CurrentFolder()) {
        KvElementEnv env = m_s.ElementEnv();
        KvElementCopy(env).FolderCopy(*folder);
    }
}

void KvElementCommands::CreateReferrer()
{
    KV_LOG_SCOPE("TMainF::CreateReferrer");
    if (KvPage* page = m_s.CurrentPage()) {
        KvElementEnv env = m_s.ElementEnv();
        KvElementCopy(env).CreateReferrer(*page);
    }
}

void KvElementCommands::FolderPaste(bool fromTreeMenu)
{
    KV_LOG_SCOPE("TMainF::FolderPaste");
    if (fromTreeMenu)
        showContextFolder();
    if (KvFolder* folder = m_s.CurrentFolder()) {
        KvElementEnv env = m_s.ElementEnv();
        KvElementCopy(env).FolderPaste(*folder);
    }
}

void KvElementCommands::NewLink()
{
    KV_LOG_SCOPE("TMainF::NewLinkMIClick");
    if (KvFolder* folder = m_s.CurrentFolder()) {
        KvElementEnv env = m_s.ElementEnv();
        KvElementCopy(env).NewLinkMIClick(*folder);
    }
}
