#include "elements/kvelementoptions.h"

#include "app/kvoptionsg.h"

KvElementOptions KvElementOptions::FromGlobals(const KvOptionsG& g)
{
    KvElementOptions o;
    o.MsgDelPage = g.MsgDelPage;
    o.MsgDelPageWP = g.MsgDelPageWP;
    o.MsgDelPageTempl = g.MsgDelPageTempl;
    o.MsgDelPageRef = g.MsgDelPageRef;
    o.MsgDelFolder = g.MsgDelFolder;
    o.MsgDelFldrWP = g.MsgDelFldrWP;
    o.MsgDelFTempl = g.MsgDelFTempl;
    o.MsgDelFRef = g.MsgDelFRef;
    o.MsgEmptyTrash = g.MsgEmptyTrash;
    o.MsgMovePageWP = g.MsgMovePageWP;
    o.MsgMoveFldrWP = g.MsgMoveFldrWP;
    o.MsgSortFolder = g.MsgSortFolder;
    o.WPNoPageDelete = g.WPNoPageDelete;
    o.WPNoFolderDelete = g.WPNoFolderDelete;
    o.WPNoPageMove = g.WPNoPageMove;
    o.WPNoFolderMove = g.WPNoFolderMove;
    o.WPNoMousePageMove = g.WPNoMousePageMove;
    o.WPNoMouseFolderMove = g.WPNoMouseFolderMove;
    o.SortOrder = g.SortOrder;
    o.RestoreCursorPos = g.RestoreCursorPos;
    o.EmptyTrashAtExit = g.EmptyTrashAtExit;
    return o;
}

KvElementOptions KvElementOptions::Read()
{
    const KvOptionsG g;
    return FromGlobals(g);
}

KvElementOptions KvElementOptions::WithoutQuestions() const
{
    KvElementOptions o = *this;
    o.MsgDelPage = false;
    o.MsgDelFolder = false;
    o.MsgEmptyTrash = false;
    o.MsgMovePageWP = false;
    o.MsgMoveFldrWP = false;
    o.MsgSortFolder = false;
    return o;
}
