#pragma once

class KvOptionsG;

// The global options the element commands honour, as read for one command.
struct KvElementOptions
{
    // Questions before deleting: the master switch of each kind, then the cases that ask.
    bool MsgDelPage = true;
    bool MsgDelPageWP = false;
    bool MsgDelPageTempl = false;
    bool MsgDelPageRef = true;
    bool MsgDelFolder = true;
    bool MsgDelFldrWP = false;
    bool MsgDelFTempl = false;
    bool MsgDelFRef = true;
    bool MsgEmptyTrash = true;
    bool MsgMovePageWP = true;
    bool MsgMoveFldrWP = true;
    bool MsgSortFolder = true;
    // What write protection forbids.
    bool WPNoPageDelete = true;
    bool WPNoFolderDelete = true;
    bool WPNoPageMove = false;
    bool WPNoFolderMove = false;
    bool WPNoMousePageMove = true;
    bool WPNoMouseFolderMove = true;
    // 0 folders and pages mixed by name, 1 folders first, 2 folders last; else no sorting.
    int SortOrder = 0;
    bool RestoreCursorPos = true;
    bool EmptyTrashAtExit = false;

    static KvElementOptions FromGlobals(const KvOptionsG& options);
    // A fresh read of the settings file.
    static KvElementOptions Read();
    // The same options with every Msg… question switched off (the command line asks
    // nothing).
    KvElementOptions WithoutQuestions() const;
};
