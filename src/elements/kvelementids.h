#pragma once

#include <QString>

// New ids of the object store for elements (KvNewIds): never an id that an element had
// before, nor one whose content file is still in the directory (left behind by a crash or
// waiting for the end of a batch), which would show that text as its own.
namespace KvElementIds {

QString NewPageId();
QString NewFolderId();

} // namespace KvElementIds
