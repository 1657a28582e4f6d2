#pragma once

#include "store/kvstorefont.h"

#include <QString>
#include <memory>

class TexProfileFile;

// The user's global options, section "Globals" of the settings file. Read anew where
// they are needed; the main window refreshes its copy after the options dialog.
class KvOptionsG
{
public:
    // Opens the settings file and reads every key.
    KvOptionsG();
    ~KvOptionsG();
    KvOptionsG(const KvOptionsG&) = delete;
    KvOptionsG& operator=(const KvOptionsG&) = delete;

    void Read();
    // Writes every key except PathDelimiter, which only a hand edit changes.
    void Store();
    // The settings file, for the keys other parts keep there.
    TexProfileFile& Settings() { return *m_settings; }
    // IconDefinitions when UseOwnIcons is set, else empty.
    QString IconFile() const { return UseOwnIcons ? IconDefinitions : QString(); }

    // Fonts: hasFont* is false while the key is absent (the standard font stays).
    KvFontSpec FontNavTree, FontTabSheets, FontLists;
    bool HasFontNavTree = false, HasFontTabSheets = false, HasFontLists = false;

    int StartMode = 2;       // 0 minimized, 1 maximized, 2 normal, 3 hidden in the tray
    int StartFldrSearch = 0; // 0 current folder, 1 top folder
    bool TreeLines = true;
    int BGColActNode = 10789024;
    bool MinimizeTNA = false;
    bool EmptyTrashAtExit = false;
    bool RestoreCursorPos = true;
    bool SaveHistory = false;
    bool AutoAdjustToolbars = true;
    bool DateInsert = true;
    bool TimeInsert = true;
    int SortOrder = 0; // 0 mixed, 1 folders first, 2 folders last
    bool FolderInTitle = false;
    int LeftMargin = 2000, RightMargin = 2000, TopMargin = 2000, BottomMargin = 2000;
    bool MsgEmptyTrash = true;
    bool MsgDelFolder = true;
    bool MsgDelFldrWP = false;
    bool MsgDelFTempl = false;
    bool MsgDelFRef = true;
    bool MsgDelPage = true;
    bool MsgDelPageWP = false;
    bool MsgDelPageTempl = false;
    bool MsgDelPageRef = true;
    bool MsgMovePageWP = true;
    bool MsgMoveFldrWP = true;
    bool DelSearchRes = true;
    bool MsgSortFolder = true;
    bool UseOwnIcons = false;
    QString IconDefinitions;
    bool WPNoPageDelete = true;
    bool WPNoMousePageMove = true;
    bool WPNoPageMove = false;
    bool WPNoFolderDelete = true;
    bool WPNoMouseFolderMove = true;
    bool WPNoFolderMove = false;
    bool WPNoStatusModify = false;
    bool WPNoPasswModify = false;
    bool WPNoKeywModify = false;
    QString PathDelimiter = u"/"_qs;

    static const QString Section;

private:
    std::unique_ptr<TexProfileFile> m_settings;
};

// The main window's title for the options, the directory's display name and access.
QString KvWindowTitle(bool folderInTitle, const QString& dirName, const QString& dataDir,
                      bool readOnly);
