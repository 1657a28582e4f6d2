// The enabling rules of the element commands and of the tree's context menu, over command
// contexts, without a window.
#include "commands/kvfoldercommands.h"
#include "commands/kvpagecommands.h"
#include "fakewindowservices.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

// The element commands a handler enables in a context, by name.
QStringList EnabledOf(const KvCommandHandler& h, const QStringList& names)
{
    QStringList on;
    for (const QString& n : names) {
        if (h.Action(n)->isEnabled())
            on.append(n);
    }
    return on;
}

const QStringList kPageCommands = {
    u"CreateNewPageA"_qs,   u"NewLinkA"_qs,    u"RenamePageA"_qs,
    u"DeletePageA"_qs,      u"PageMoveUpA"_qs, u"PageMoveDownA"_qs,
    u"PageMove2FolderA"_qs, u"PageCopyA"_qs,   u"CreateReferrerA"_qs};
const QStringList kFolderCommands = {
    u"CreateNewFolderA"_qs, u"RenameFolderA"_qs,      u"DeleteFolderA"_qs, u"FolderMoveUpA"_qs,
    u"FolderMoveDownA"_qs,  u"FolderMove2FolderA"_qs, u"FolderCopyA"_qs,   u"FolderPasteA"_qs,
    u"SortFolderA"_qs,      u"EmptyTrashA"_qs};
const QStringList kTreeItems = {u"PageNewTVPMI"_qs,
                                u"FolderNewTVPMI"_qs,
                                u"RenPMI"_qs,
                                u"DelPMI"_qs,
                                u"MovePMI"_qs,
                                u"ElemCopyPMI"_qs,
                                u"CreateReferrerPMI"_qs,
                                u"FolderPastePMI"_qs,
                                u"PropsPMI"_qs,
                                u"PrintTVPMI"_qs,
                                u"CreLinkPMI"_qs,
                                u"SearchTVPMI"_qs,
                                u"TrashEmptyPMI"_qs};

// A writable page in the middle of an ordinary folder of three children, a copy waiting,
// something in the trash, all rules saying yes.
KvCommandContext Everything()
{
    KvCommandContext c;
    c.fullAccess = true;
    c.hasCurrentFolder = c.hasCurrentPage = true;
    c.folder = {true, false, false, false, false, true, false};
    c.page = {true, false, false, false, false, true, false};
    c.deletePagePossible = c.deleteFolderPossible = true;
    c.movePagePossible = c.moveFolderPossible = true;
    c.folderChildCount = 3;
    c.trashHasChildren = true;
    c.pasteWaiting = true;
    return c;
}

TEST(ElementEnabling, CommandsFollowTheContext)
{
    korvtest::FakeWindowServices services;
    KvPageCommands pages(services);
    KvFolderCommands folders(services);
    const struct
    {
        const char* name;
        std::function<void(KvCommandContext&)> change;
        QStringList pagesOff;
        QStringList foldersOff;
    } kCases[] = {
        {"everything", [](KvCommandContext&) {}, {}, {}},
        {"read-only",
         [](KvCommandContext& c) {
             c = KvCommandContext{};
             c.hasCurrentFolder = c.hasCurrentPage = true;
         },
         kPageCommands, kFolderCommands},
        {"no page",
         [](KvCommandContext& c) {
             c.hasCurrentPage = false;
             c.deletePagePossible = c.movePagePossible = false;
         },
         {u"RenamePageA"_qs, u"DeletePageA"_qs, u"PageMoveUpA"_qs, u"PageMoveDownA"_qs,
          u"PageMove2FolderA"_qs, u"PageCopyA"_qs, u"CreateReferrerA"_qs},
         {}},
        {"first page", [](KvCommandContext& c) { c.pageFirst = true; }, {u"PageMoveUpA"_qs}, {}},
        {"last page", [](KvCommandContext& c) { c.pageLast = true; }, {u"PageMoveDownA"_qs}, {}},
        {"rules say no",
         [](KvCommandContext& c) {
             c.deletePagePossible = c.movePagePossible = c.deleteFolderPossible =
                 c.moveFolderPossible = false;
         },
         {u"DeletePageA"_qs, u"PageMove2FolderA"_qs},
         {u"DeleteFolderA"_qs, u"FolderMove2FolderA"_qs}},
        {"top folder",
         [](KvCommandContext& c) {
             c.folder.isTopFolder = true;
             c.folderFirst = c.folderLast = true;
         },
         {},
         {u"FolderMoveUpA"_qs, u"FolderMoveDownA"_qs, u"FolderCopyA"_qs}},
        {"the trash",
         [](KvCommandContext& c) { c.folder.isTrash = true; },
         {},
         {u"FolderMoveUpA"_qs, u"FolderMoveDownA"_qs, u"FolderCopyA"_qs}},
        {"busy",
         [](KvCommandContext& c) { c.progressOpen = true; },
         {},
         {u"FolderCopyA"_qs, u"EmptyTrashA"_qs}},
        {"one child", [](KvCommandContext& c) { c.folderChildCount = 1; }, {}, {u"SortFolderA"_qs}},
        {"empty trash",
         [](KvCommandContext& c) { c.trashHasChildren = false; },
         {},
         {u"EmptyTrashA"_qs}},
        {"nothing to paste",
         [](KvCommandContext& c) { c.pasteWaiting = false; },
         {},
         {u"FolderPasteA"_qs}},
    };
    for (const auto& k : kCases) {
        SCOPED_TRACE(k.name);
        KvCommandContext c = Everything();
        k.change(c);
        pages.EnableCommands(c);
        folders.EnableCommands(c);
        QStringList pagesOn = kPageCommands, foldersOn = kFolderCommands;
        for (const QString& off : k.pagesOff)
            pagesOn.removeAll(off);
        for (const QString& off : k.foldersOff)
            foldersOn.removeAll(off);
        EXPECT_EQ(EnabledOf(pages, kPageCommands), pagesOn);
        EXPECT_EQ(EnabledOf(folders, kFolderCommands), foldersOn);
    }
}

TEST(ElementEnabling, TreeMenuFollowsItsElement)
{
    korvtest::FakeWindowServices services;
    KvFolderCommands folders(services);
    folders.EnableCommands(Everything());
    KvTreeMenuContext all;
    all.writable = all.deletePossible = all.movePossible = all.pasteWaiting = true;
    all.shownAndLoaded = true;
    all.newPage = all.newFolder = all.folderProps = all.emptyTrash = true;
    // The search and link items are always on, read-only too.
    const QStringList common = {u"PageNewTVPMI"_qs, u"FolderNewTVPMI"_qs, u"RenPMI"_qs,
                                u"DelPMI"_qs,       u"MovePMI"_qs,        u"ElemCopyPMI"_qs,
                                u"SearchTVPMI"_qs,  u"CreLinkPMI"_qs};
    const struct
    {
        const char* name;
        std::function<void(KvTreeMenuContext&)> set;
        QStringList on;
    } kCases[] = {
        {"a page", [](KvTreeMenuContext& m) { m.kind = KvNodeKind::Page; },
         common + QStringList{u"CreateReferrerPMI"_qs, u"TrashEmptyPMI"_qs}},
        {"a folder", [](KvTreeMenuContext& m) { m.kind = KvNodeKind::Folder; },
         common + QStringList{u"FolderPastePMI"_qs, u"TrashEmptyPMI"_qs}},
        {"a root",
         [](KvTreeMenuContext& m) {
             m.kind = KvNodeKind::Folder;
             m.isRoot = true;
             m.deletePossible = m.movePossible = false;
         },
         {u"PageNewTVPMI"_qs, u"FolderNewTVPMI"_qs, u"RenPMI"_qs, u"FolderPastePMI"_qs,
          u"TrashEmptyPMI"_qs, u"SearchTVPMI"_qs, u"CreLinkPMI"_qs}},
        {"a page the rules keep",
         [](KvTreeMenuContext& m) {
             m.kind = KvNodeKind::Page;
             m.deletePossible = m.movePossible = false;
         },
         {u"PageNewTVPMI"_qs, u"FolderNewTVPMI"_qs, u"RenPMI"_qs, u"ElemCopyPMI"_qs,
          u"CreateReferrerPMI"_qs, u"TrashEmptyPMI"_qs, u"SearchTVPMI"_qs, u"CreLinkPMI"_qs}},
        {"read-only",
         [](KvTreeMenuContext& m) {
             m = KvTreeMenuContext{};
             m.kind = KvNodeKind::Page;
         },
         {u"SearchTVPMI"_qs, u"CreLinkPMI"_qs}},
        {"no node",
         [](KvTreeMenuContext& m) { m.kind = KvNodeKind::None; },
         {u"TrashEmptyPMI"_qs, u"SearchTVPMI"_qs, u"CreLinkPMI"_qs}},
    };
    for (const auto& k : kCases) {
        SCOPED_TRACE(k.name);
        KvTreeMenuContext m = all;
        k.set(m);
        folders.PrepareTreeMenu(m);
        QStringList on = EnabledOf(folders, kTreeItems);
        QStringList expected = k.on;
        std::sort(on.begin(), on.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(on, expected);
    }
    // The menu keeps its element through the next pass of the window.
    KvTreeMenuContext page = all;
    page.kind = KvNodeKind::Page;
    folders.PrepareTreeMenu(page);
    folders.EnableCommands(Everything());
    EXPECT_TRUE(folders.Action(u"CreateReferrerPMI"_qs)->isEnabled());
    EXPECT_FALSE(folders.Action(u"FolderPastePMI"_qs)->isEnabled());
}

// The items run their command on the element through the window's temporary action.
TEST(ElementEnabling, TreeMenuItemsRunThroughTheTemporaryAction)
{
    korvtest::FakeWindowServices services;
    KvFolderCommands folders(services);
    KvTreeMenuContext m;
    m.kind = KvNodeKind::Folder;
    m.writable = true;
    folders.PrepareTreeMenu(m);
    // Without a current element the commands do nothing, but they go through the action.
    for (const QString& item : {u"RenPMI"_qs, u"ElemCopyPMI"_qs}) {
        const int before = services.tempActions;
        folders.Action(item)->trigger();
        EXPECT_EQ(services.tempActions, before + 1) << item.toStdString();
    }
}

} // namespace
