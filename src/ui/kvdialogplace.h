#pragma once

#include <QString>

class QWidget;

// Where a dialog of the program was last confirmed, in its section of the settings file
// (KvFormRes: Top, Left, and for resizable dialogs Width and Height). Restore before the
// dialog shows; Store when it closes with OK.
namespace KvDialogPlace {

void Restore(QWidget& dialog, const QString& section, bool resizable);
void Store(const QWidget& dialog, const QString& section, bool resizable);

} // namespace KvDialogPlace
