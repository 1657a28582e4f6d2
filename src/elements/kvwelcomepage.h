#pragma once

#include <QString>

struct KvElementEnv;
class KvFolder;
class KvPage;

// The page a first start shows: the text of "welcome.rtf" (KvPaths::WelcomeFile) as a new
// last page "Willkommen!" (text 5100) of the top folder, stored and shown.
namespace KvWelcomePage {

// A first start: the window was never stored with these settings, and the current folder
// may be written and holds nothing.
bool Wanted(const KvFolder& current, bool windowStored);
// Reads file first: when it cannot be read (or is empty) nothing is made and the answer is
// null. Otherwise the page is made, filled, stored and shown.
KvPage* Create(KvElementEnv& env, const QString& file);

} // namespace KvWelcomePage
