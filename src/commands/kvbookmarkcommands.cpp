#include "commands/kvbookmarkcommands.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"BookmarksA", "#1229", "#1230", "Ctrl+L", "BOOKMARKS", false, false},
};

} // namespace

KvBookmarkCommands::KvBookmarkCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvBookmarkCommands"_qs, services, parent)
{
    addActions(kCommands);
}
