#pragma once

#include <QString>

// New ids of the object store for elements. A page never gets an id whose content file
// is still in the directory (left behind by a crash or waiting for the end of a batch):
// it would show that text as its own.
namespace KvElementIds {

QString NewPageId();
QString NewFolderId();

} // namespace KvElementIds
