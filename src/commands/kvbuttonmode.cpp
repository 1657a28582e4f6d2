#include "commands/kvbuttonmode.h"

KvButtonMode ButtonModeFor(KvNodeKind selectedNode, bool hasCurrentPage)
{
    switch (selectedNode) {
    case KvNodeKind::Folder:
        return KvButtonMode::Folder;
    case KvNodeKind::Page:
        return KvButtonMode::Page;
    case KvNodeKind::None:
        break;
    }
    return hasCurrentPage ? KvButtonMode::Page : KvButtonMode::Folder;
}

QString ButtonAction(const QString& button, KvButtonMode mode)
{
    struct Row
    {
        const char16_t* button;
        const char16_t* page;
        const char16_t* folder;
    };
    static constexpr Row kRows[] = {
        {u"RenameTB", u"RenamePageA", u"RenameFolderA"},
        {u"DeleteTB", u"DeletePageA", u"DeleteFolderA"},
        {u"MoveUpTB", u"PageMoveUpA", u"FolderMoveUpA"},
        {u"MoveDownTB", u"PageMoveDownA", u"FolderMoveDownA"},
    };
    for (const Row& r : kRows) {
        if (button == QStringView(r.button))
            return QString::fromUtf16(mode == KvButtonMode::Page ? r.page : r.folder);
    }
    return QString();
}
