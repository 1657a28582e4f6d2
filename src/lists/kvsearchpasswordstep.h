#pragma once

#include "lists/kvsearchexaminer.h"

#include <QString>

// The password step of a search for a page that only the user can unlock, on the thread
// that owns the model, in examination order: the password list when the page uses it, then
// the installed password asker. The page is left as loading and unloading it would leave
// it: unlocked unless it asks at every load, the password in the list of the run. Its
// content is neither loaded nor changed.
namespace KvSearchPasswordStep {

KvSearchPassword Run(const QString& pageId);

} // namespace KvSearchPasswordStep
