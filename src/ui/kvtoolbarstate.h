#pragma once

#include "app/kvmainformsettings.h"

#include <QHash>
#include <QList>

class QMainWindow;
class QToolBar;

// The toolbars of a main window in the terms of the settings file: the dock a toolbar is
// in, its row there and its position in the row, or where it floats. Qt has no public
// calls that place a toolbar at a position or let it float; its own layout state does
// both, so placements are read from and written into that state (see architecture.md).
namespace KvToolbarState {

// Qt's dock areas by the names of the settings file: "TopDock", "LeftDock", "RightDock",
// "BottomDock"; Qt::NoToolBarArea for any other name.
Qt::ToolBarArea AreaOf(const QString& dockName);
QString DockName(Qt::ToolBarArea area);

struct Entry
{
    QString name;
    KvToolbarPlacement placement;
    bool shown = true;
};

// Where the window's toolbars are now (floating ones with their floating geometry).
QList<Entry> Read(const QMainWindow& window);
// Puts the named toolbars where the placements say; toolbars not named stay. A position
// never cuts a toolbar shorter than it wants to be. False when the window refused the
// placement (then the toolbars are docked in order of dock, row and position instead).
bool Apply(QMainWindow& window, const QHash<QString, KvToolbarPlacement>& placements);

} // namespace KvToolbarState
