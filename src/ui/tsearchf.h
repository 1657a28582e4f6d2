#pragma once

#include "lists/kvsearchcrit.h"
#include "lists/kvsearchreceiver.h"

#include <QDialog>
#include <QPointer>
#include <memory>

class KvClipboardWatch;
class KvFolder;
class KvIdleDriver;
class KvResultListView;
class KvSearchThread;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QToolButton;
class TMainF;
class TexComboBox;

// The search window: the criteria of a search, Start and Stop, and the hits as they
// arrive, mirrored into the main window's result list. It does not block: while it shows,
// the main window takes no input (window-modal); hidden during a search, it lets the
// search go on and closes itself at the end. Closing it while a search runs (also at the
// exit) stops the search and waits for its workers first, so the end of the search is
// handled once by every path.
class TSearchF : public QDialog, public KvSearchReceiver
{
    Q_OBJECT
public:
    static inline const QString FormName = u"SearchF"_qs;
    static constexpr int HistoryLines = 15;

    // Reads the settings and shows the default folder: the top folder when the option
    // StartFldrSearch is 1, else the main window's current folder.
    explicit TSearchF(TMainF& main);
    ~TSearchF() override;

    // The folder to search and the main window's rows; Start and Stop as the search says.
    void FormInitialize(KvFolder* folder);
    // Every control from the criteria; their folder, or the default one when it is no
    // folder (any more).
    void SetSearchCriteria(const KvSearchCrit& crit);
    // The criteria as the controls hold them (the search folder's id in Fldr).
    KvSearchCrit CriteriaFromControls() const;
    // The criteria of the last start.
    const KvSearchCrit& Criteria() const { return m_crit; }
    bool SearchRunning() const;
    KvFolder* SearchFolder() const;

    void StartBtnClick();
    void StopBtnClick();
    // Closes, or hides while a search runs: the search goes on into the main window's list.
    void CloseBtnClick();
    void SearchFldrBtnClick();
    void PasteBtnClick();
    // Shows the selected row's element in the main window, marked, and closes.
    void ResultLVDblClick();
    void HyperlinkPMIClick();
    // Copies the rows, labels, buttons and criteria to the main window.
    void SynchronizeWithMainForm();
    // Stops a running search and waits for it to end (the end handler has run then).
    void StopAndWait();
    // Recomputes the enabled state of the controls (also run when the program is idle).
    void EnableCommands();

    // KvSearchReceiver
    void StartSearchNotify(int count) override;
    void PageSearchNotify(const QString& id, bool found) override;
    void SearchBatchDone() override;
    void OnSearchTerminate() override;

    // The controls, for the main window and tests.
    KvResultListView* ResultList() const { return m_resultLV; }
    TexComboBox* TermBox() const { return m_searchtxtCoB; }
    TexComboBox* Term2Box() const { return m_searchtxt2CoB; }
    QPushButton* StartButton() const { return m_startBtn; }
    QPushButton* StopButton() const { return m_stopBtn; }
    QPushButton* CloseButton() const { return m_closeBtn; }
    QCheckBox* FullPathBox() const { return m_showFullPathCB; }
    QRadioButton* InResultListButton() const { return m_searchInResultListRB; }
    QLabel* FoundLabel() const { return m_foundLbl; }
    QString StatusText() const;
    // The search in progress or the last one; null before the first start.
    KvSearchThread* Search() const { return m_search.get(); }

Q_SIGNALS:
    // The search ended, by any path (after its end handler).
    void searchEnded();

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void layoutControls();
    void connectControls();
    void fillStatusChoice();
    // The top folder when the option StartFldrSearch is 1, else the current folder.
    KvFolder* defaultFolder() const;
    void readSettings();
    void writeSettings();
    void setCriteriaControls(const KvSearchCrit& crit);
    void setCriteriaEnabled(bool enabled);
    void placeClicked(bool contentsBox);
    // Leaving the window: the main window takes input again (the first time only).
    void leave();
    void formClose();
    void showResultMenu(const QPoint& pos);
    void setStatus(const QString& text);
    void appendPendingHits();

    TMainF& m_main;
    QString m_folderId; // the search folder, named by id: it may go while the window shows
    KvSearchCrit m_crit;
    std::unique_ptr<KvSearchThread> m_search;
    KvIdleDriver* m_idle = nullptr;
    KvClipboardWatch* m_clipboard = nullptr; // Paste follows it, never asks the clipboard

    // Hits waiting for the end of a batch of reports, and the reports counted there.
    QStringList m_pendingHits;
    int m_pendingReports = 0;

    bool m_closeWhenSearchEnds = false;
    bool m_saveSettingsOnClose = false;
    bool m_leftWindow = false;
    bool m_closing = false;
    bool m_lastTermBoxSecond = false; // the term box that had the focus last, for Paste

    // Criteria
    TexComboBox* m_searchtxtCoB = nullptr;
    QCheckBox* m_fullWord1CB = nullptr;
    QCheckBox* m_caseSens1CB = nullptr;
    QComboBox* m_condCoB = nullptr;
    TexComboBox* m_searchtxt2CoB = nullptr;
    QCheckBox* m_fullWord2CB = nullptr;
    QCheckBox* m_caseSens2CB = nullptr;
    QCheckBox* m_searchPageNamesCB = nullptr;
    QCheckBox* m_searchFldrNamesCB = nullptr;
    QCheckBox* m_searchTextCB = nullptr;
    QCheckBox* m_searchTextPwCB = nullptr;
    QCheckBox* m_searchPageKeywCB = nullptr;
    QCheckBox* m_searchFldrKeywCB = nullptr;
    QCheckBox* m_searchModDateCB = nullptr;
    QComboBox* m_modifiedCoB = nullptr;
    QDateEdit* m_modDateDTP = nullptr;
    QCheckBox* m_searchStatusCB = nullptr;
    QComboBox* m_pageStatusCB = nullptr;
    QLineEdit* m_searchFolderE = nullptr;
    QToolButton* m_searchFldrBtn = nullptr;
    QCheckBox* m_lowerFldrCB = nullptr;
    QRadioButton* m_searchInFldrRB = nullptr;
    QRadioButton* m_searchInResultListRB = nullptr;
    // Commands
    QPushButton* m_startBtn = nullptr;
    QPushButton* m_stopBtn = nullptr;
    QPushButton* m_pasteBtn = nullptr;
    QPushButton* m_closeBtn = nullptr;
    // Results
    QLabel* m_resultLbl = nullptr;
    QLabel* m_foundLbl = nullptr;
    KvResultListView* m_resultLV = nullptr;
    QCheckBox* m_showFullPathCB = nullptr;
    QMenu* m_resultPM = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_statusLbl = nullptr;
    QPointer<QProgressBar> m_progress;
};
