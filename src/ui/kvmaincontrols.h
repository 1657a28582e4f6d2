#pragma once

class KvHistoryList;
class KvSearchResultPanel;
class QComboBox;
class QFontComboBox;
class QLabel;
class QMenu;
class QSplitter;
class QSystemTrayIcon;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidget;
class TexColorPicker;
class TexTreeView;

// The named controls of the main window; all owned by the window.
struct KvMainControls
{
    TexTreeView* folderTv = nullptr;
    QSplitter* fldrPageSp = nullptr;
    QWidget* rightSideP = nullptr;
    QTabWidget* pagePC = nullptr;
    QLabel* noPagesLbl = nullptr;
    QSplitter* searchResSp = nullptr;
    KvSearchResultPanel* searchResP = nullptr;
    KvHistoryList* historyLV = nullptr;
    QSystemTrayIcon* trayIcon = nullptr;

    QToolBar* mainToolbar = nullptr;
    QToolBar* editToolbar = nullptr;
    QToolBar* fontAndColorToolbar = nullptr;
    QToolBar* textAttrToolbar = nullptr;
    QToolBar* stylesToolbar = nullptr;
    QComboBox* zoomCoB = nullptr;
    QFontComboBox* fontCoB = nullptr;
    QComboBox* sizeCoB = nullptr;
    TexColorPicker* colorCB = nullptr;
    TexColorPicker* bgColorCB = nullptr;
    QComboBox* stylesCoB = nullptr;
    QToolButton* stylesTB = nullptr;
    // The buttons that act on the page or on the folder.
    QToolButton* renameTB = nullptr;
    QToolButton* deleteTB = nullptr;
    QToolButton* moveUpTB = nullptr;
    QToolButton* moveDownTB = nullptr;

    QMenu* folderTvPopupM = nullptr;
    QMenu* editPopupM = nullptr;
    QMenu* resultLVPM = nullptr;
    QMenu* historyPM = nullptr;
    QMenu* trayPM = nullptr;
    QMenu* stylesPopupM = nullptr;
};
