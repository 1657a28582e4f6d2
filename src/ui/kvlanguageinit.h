#pragma once

#include "app/kvtexts.h"

#include <QString>

class QAction;
class QMenu;
class QObject;
class QWidget;

// Turns the text references of a window (captions "Label#1000", "#4001", hints in the
// form short|long) into the texts of the table when the window is created.
//
// Where a hint is written: the dynamic property "kvHint" when set, else the statusTip,
// else a toolTip that holds a reference ("#"). A hint that the window marks with the
// property "kvBareHint" (true) is a bare number.
namespace KvLanguageInit {

inline constexpr const char* HintProperty = "kvHint";
inline constexpr const char* BareHintProperty = "kvBareHint";

// The caption a reference stands for.
QString Caption(const QString& written);
// An item of a choice list: a bare number names a text; anything else is a reference.
QString ChoiceItem(const QString& written);
// The hint a written hint stands for, split into tooltip and status-bar text. A bare
// hint that is not a number becomes empty.
KvHint Hint(const QString& written, bool bareNumber = false);

// Caption and hint of one action (a menu item); each action is resolved only once, so an
// action shared by menus, toolbars and the action list keeps its texts.
void ResolveAction(QAction* action);
// Every item of a menu and of its submenus, down to depth levels.
void ResolveMenu(QMenu* menu, int depth = 4);
// The window's title and the captions, items and hints of all its widgets and actions.
void ResolveWidgetTree(QWidget* root);
// Puts hint on the object: the tooltip gets the short part, the status tip the long one.
void ApplyHint(QObject* target, const KvHint& hint);

} // namespace KvLanguageInit
