#pragma once

#include <QString>

// What the selected node of the navigation tree stands for.
enum class KvNodeKind
{
    None,
    Page,
    Folder
};

// Whether the re-targeted toolbar buttons (rename, delete, move up, move down) act on
// the page or on the folder.
enum class KvButtonMode
{
    Page,
    Folder
};

// A selected node decides by its kind; without one, the current page (if any) wins.
KvButtonMode ButtonModeFor(KvNodeKind selectedNode, bool hasCurrentPage);

// The action a re-targeted button takes in a mode; empty for an unknown button.
QString ButtonAction(const QString& button, KvButtonMode mode);
