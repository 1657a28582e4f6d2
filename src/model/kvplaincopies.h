#pragma once

#include <QString>

// Plain page text kept outside its page (the search's text cache) must go the moment the
// page gets a password, not only when its content file is written encrypted at the next
// Store. The keeper, in a layer above the model, installs itself; the page reports.
namespace KvPlainCopies {

using ForgetFn = void (*)(const QString& contentPath);

// The one keeper; none installed: nothing is kept.
void SetKeeper(ForgetFn forget);
// A password was set on the page whose content file this is.
void PageProtected(const QString& contentPath);

} // namespace KvPlainCopies
