#pragma once

#include <QIcon>
#include <QPixmap>
#include <QStringList>

// The menu and toolbar images of the main window, by the image names of the icon
// definitions ("NEWPAGE", "RENAME", ...). The desktop theme's icon is used where it has
// one; otherwise a drawn image of our own.
namespace KvMenuImages {

// The image names in image-list order (0 to 47).
const QStringList& Names();
// The image with a faded grey variant for the disabled state.
QIcon Icon(const QString& name);
// A pale grey, mostly transparent copy: how a disabled command's image looks.
QPixmap Faded(const QPixmap& pixmap);
// The image drawn by the program itself (no theme lookup); null for an unknown name.
QIcon OwnIcon(const QString& name);

} // namespace KvMenuImages
