#pragma once

#include <QStringList>

struct KvElementEnv;
class KvFolder;
class KvObject;
class KvPage;

// Moving elements among siblings, into other folders and into and out of the trash, and
// sorting. A move re-creates the element (and its subtree) under the target with the same
// id: nothing may keep a pointer across it.
class KvElementMove
{
public:
    explicit KvElementMove(KvElementEnv& env);

    // --- confirmations
    bool MovePageConfirmed(KvPage& page);
    bool MoveFolderConfirmed(KvFolder& folder);

    // --- up / down among the siblings (tree node and tab along); a folder's parent is
    // stored. False when the element is already first / last or is a root.
    bool PageMoveUpDown(KvPage& page, bool up);
    bool FolderMoveUpDown(KvFolder& folder, bool up);
    // Puts obj at the 1-based position pos among its siblings (the last one when pos is
    // larger) and stores the parent. For the command line.
    void MoveToPosition(KvObject& obj, int pos);

    // --- into another folder
    // Confirmation, the folder chooser, then Move. False when nothing moved.
    bool PageMove2Folder(KvPage& page);
    // Confirmation, the folder chooser (asked again after 5011 for a folder below the
    // moved one; Cancel ends), then Move unless the choice is the folder or its parent.
    bool FolderMove2Folder(KvFolder& folder);

    // Moves element into target: with its referrers that are outside the trash when the
    // target is the trash (or below it); with the targets of its referrers that lie in the
    // trash when it leaves the trash. The element is stored first (a missing password is
    // ignored), the shown page saved and the shown folder stored; the target is sorted
    // when AutoSort is set and stored. Returns the ids moved: element first, then the
    // referrers or targets that went along. select: the window selects the moved element.
    QStringList Move(KvObject& element, KvFolder& target, bool select);
    // One element: the window forgets it (its shown page saved), the old parent is stored,
    // the element re-created under target (first with NewElemsFirst, a page as the target's
    // active page) with its subtree; the lists renew it. Returns the new object.
    KvObject* MoveSingle(KvObject& element, KvFolder& target, bool select);

    // --- sorting
    // Asks 5065 when MsgSortFolder is set, then SortElements. The new order is stored with
    // the folder's next store. False when the question said no.
    bool SortFolder(KvFolder& folder);
    // Sorts by SortOrder (read once); the tree and tabs follow. Not stored here.
    void SortElements(KvFolder& folder);
    // Sorts a folder whose AutoSort is set after elements arrived: at the end of the bulk
    // command when one runs, once however many arrived (the same order a sort after each
    // would give), else now.
    void AutoSort(KvFolder& folder);
    // After AutoSort was set for folder: the folder sorted and stored; when folders lie
    // below it, asks 5133 and on Yes sorts and stores every one below whose AutoSort is set.
    void SortFoldersBelow(KvFolder& folder);

private:
    KvElementEnv& m_env;
};
