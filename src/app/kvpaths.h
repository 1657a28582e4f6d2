#pragma once

#include <QString>

// Where everything lives: the settings directory and file, the data directory and the
// files in it, plus the small path helpers the rest of the program shares.
namespace KvPaths {

// --- settings --------------------------------------------------------------------------
// Beside the executable: per-user SettingsDir and Write2Applog.
QString BootstrapFile();
// Resolved anew on every call (a changed bootstrap file counts at once); trailing "/".
// Also switches the application log on or off when no SettingsDir is configured.
QString SettingsDir();
// The same without creating the default directory when it is missing (reading commands).
QString SettingsDirUncreated();
QString SettingsFile();

// --- data directory --------------------------------------------------------------------
QString DefaultDataDir();
// Cached after the first call; the default directory is created when it is missing.
QString DataDir();
// Makes path the data directory; remembered as the configured one when asked to.
// Writes ReadMe.txt into a directory that has none (failures ignored).
void SetDataDir(const QString& path, bool remember);
// Drops the cached data directory (tests, reopen).
void ResetDataDirCache();
// Data directory + name for the stores of a notebook, settings directory + name for
// "dirprps" and "Styles".
QString StorePath(const QString& name);
QString HelpFile();

// --- helpers ---------------------------------------------------------------------------
QString WithTrailingSlash(const QString& path);
// A path starting with a single "\" takes the drive of the program directory (up to its
// first ":"); on Linux the program directory has none, so nothing changes.
QString WithDrive(const QString& path);
// The network (universal) name "\\server\share\rest" of a path on an SMB share (mounted by
// the kernel or by the desktop's gvfs). Returns 0 and replaces path on success; otherwise
// path stays and the answer is 1 for a path that does not exist, 8 for one on no share,
// 5 when the mount table cannot be read.
int UniversalName(QString& path);
// The welcome page's text: "welcome.rtf" beside the executable, else in
// ../share/korvelle/ relative to it, else in "korvelle/" of the XDG data directories;
// empty when there is none.
QString WelcomeFile();
// Replaces / \ : " * ? < > | (in this order) by replacement.
QString ReplaceInvalidChars(const QString& text, const QString& replacement);
QString UserName();
// Writes ReadMe.txt into dir unless one is there. Returns false when writing failed.
bool WriteReadMe(const QString& dir);

} // namespace KvPaths
