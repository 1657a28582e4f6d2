#pragma once

#include <QList>

class KvObject;

// Link texts of elements on the system clipboard.
namespace KvLinkClipboard {

// The link texts of the elements, one a line; the clipboard stays as it is for none.
void Copy(const QList<const KvObject*>& elements);

} // namespace KvLinkClipboard
