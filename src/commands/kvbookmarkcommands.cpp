#include "commands/kvbookmarkcommands.h"

#include "commands/kvlistservices.h"
#include "commands/kvwindowservices.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"BookmarksA", "#1229", "#1230", "Ctrl+L", "BOOKMARKS", false, true},
};

} // namespace

KvBookmarkCommands::KvBookmarkCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvBookmarkCommands"_qs, services, parent)
{
    addActions(kCommands);
    onTriggered("BookmarksA", [this] {
        if (KvListServices* l = this->services().Lists())
            l->Bookmarks();
    });
}

bool KvBookmarkCommands::EnableCommands(const KvCommandContext& c)
{
    // The dialog shows the bookmarks also in read-only work.
    return applyRules({{u"BookmarksA", c.hasCurrentFolder}});
}
