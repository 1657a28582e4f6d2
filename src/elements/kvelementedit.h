#pragma once

#include <QStringList>

struct KvElementEnv;
class KvFolder;
class KvObject;
class KvPage;

// Creating, renaming and deleting elements, the trash and template references. Questions
// go through the prompt seam (KvPrompter), the dialogs and the window through the env's
// window. Operations that show their result say so.
class KvElementEdit
{
public:
    explicit KvElementEdit(KvElementEnv& env);

    // --- create
    // The whole command: the template proposes name and status, TNameF asks (title 1002,
    // with status); on OK CreateNewPage. Null on Cancel (nothing else happens).
    KvPage* NewPage(KvFolder& folder);
    // The names of CreateNewPage, CreateNewFolder and both renames pass the name rule
    // (KvNameRule::Clean); a name with nothing left raises 5005 before anything changes.
    //
    // The part after the dialog: a new page with a fresh id (never one whose content file
    // is left over) under folder, first when its NewElemsFirst is set, else last; name and
    // status set; its folder's active page; the folder sorted when AutoSort, and stored; the
    // folder's new-page layout copied and stored; the page stored; the template fills it.
    // The window shows it (its tab where the folder's order puts it).
    KvPage* CreateNewPage(KvFolder& folder, const QString& name, int status);
    // TNameF (title 1102, no status), then CreateNewFolder. Null on Cancel.
    KvFolder* NewFolder(KvFolder& parent);
    // A new folder under parent as for pages; the parent sorted when AutoSort and stored;
    // the new folder stored. The window shows it.
    KvFolder* CreateNewFolder(KvFolder& parent, const QString& name);

    // --- rename
    // TNameF (1004 / 1104) preset with the name, then the rename below. False on Cancel.
    bool RenamePage(KvPage& page);
    bool RenameFolder(KvFolder& folder);
    // Sets the name and stores (a page's missing password is no error: the name changes);
    // the lists renew the element (a folder: everything below it too); the parent is sorted
    // and stored when its AutoSort is set.
    void RenamePage(KvPage& page, const QString& name);
    void RenameFolder(KvFolder& folder, const QString& name);

    // --- confirmations (KvElementRules gives the question; asked here)
    bool DeletePageConfirmed(KvPage& page);
    bool DeleteFolderConfirmed(KvFolder& folder);

    // --- template references
    KvFolder* TemplateInFolder(const KvPage& page);
    // Every folder that uses page as template loses it (layout stored).
    void RemoveTemplUsage(KvPage& page);
    // Folders of the main tree (not the trash) whose template lies below folder lose it.
    void RemoveTemplUsage(KvFolder& folder);

    // Template references dropped, then the lists forget everything below element, the
    // element, and the referrers of all these; returns those ids. saveLists: the lists are
    // saved when the command's batch ends.
    QStringList DeleteElemsFromLists(KvObject& element, bool saveLists);

    // --- delete
    // Confirmation, lists, then: in the trash removed for good (content file deleted after
    // the stores are written; the parent and every folder that lost a referrer stored),
    // else moved into the trash with its referrers. False when the confirmation said no.
    bool DeletePage(KvPage& page);
    bool DeleteFolder(KvFolder& folder);
    // Removes obj (in the trash) for good without a question; the lists forget it first.
    void RemoveForGood(KvObject& obj);

    // --- the trash
    // Asks 5032 when MsgEmptyTrash is set (5524 when referrers outside the trash go with
    // their targets); cleans every element of the lists, then removes them all and stores
    // the trash. Returns the number of elements removed (everything below the trash); 0 when
    // the question said no. Stops after the current element when a stop is requested: what
    // was removed stays removed. referrersOutside receives the ids of the referrers outside
    // the trash that went with their targets.
    int EmptyTrash(QStringList* referrersOutside = nullptr);
    // When the directory closes: empties the trash if EmptyTrashAtExit is set, the trash
    // holds something and may be written. A forced exit (a signal) never asks: with
    // MsgEmptyTrash set the trash then stays.
    int EmptyTrashAtExit(bool forced);

private:
    KvElementEnv& m_env;
};
