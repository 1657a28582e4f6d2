#pragma once

#include "lists/kvbrowsehistory.h"

#include <QObject>

class KvPage;
class TMainF;
struct KvCommandContext;

// The main window's side of the browse history: it records the pages shown, binds the
// history to the directory's store as the options and the access allow, and runs the
// previous/next commands and the history list (HistoryLV) with its menu.
class KvMainHistory : public QObject
{
    Q_OBJECT
public:
    explicit KvMainHistory(TMainF& window);
    ~KvMainHistory() override;

    KvBrowseHistory& History() { return m_history; }
    const KvBrowseHistory& History() const { return m_history; }
    // Connects the history list and its menu once the window's controls exist.
    void AttachList();

    // A directory was opened: the history starts empty, is read from the store when the
    // options keep it, and stays bound (written at the close) only with full access.
    void OpenDirectory(bool fullAccess);
    // The options changed: bound when they keep the history and the access allows.
    void OptionsChanged(bool fullAccess);
    // The directory closes: a bound history is written and unbound.
    void CloseDirectory();

    // The window shows another page: before it, and once it is shown.
    void PageShowing(const KvPage& page);
    void PageShown(const KvPage& page);
    bool Recording() const { return m_recording; }

    void Context(KvCommandContext& c) const;

    void Browse2PreviousPage();
    void Browse2NextPage();
    void ShowHistory();
    void HistoryLVExit();
    void HistoryLVClick();
    void HyperlinkHistPMIClick();

private:
    // Shows id with recording off.
    void showUnrecorded(const QString& id);
    void fillList();
    void placeList();
    QString shownPageId() const;

    TMainF& m_w;
    KvBrowseHistory m_history;
    bool m_recording = true;
    QString m_lastShown; // the page shown last, also after it was unloaded
};
