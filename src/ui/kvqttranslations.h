#pragma once

class QCoreApplication;

// Loads Qt's own German translations (qtbase_de from Qt's translations directory, Debian
// package qt6-translations-l10n), so that standard buttons and Qt's dialogs (folder
// chooser, file dialogs, colour and font dialogs) speak German like the rest of the
// program. False when the files are not installed; Qt then stays English.
bool KvInstallQtTranslations(QCoreApplication& app);
