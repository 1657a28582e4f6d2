#pragma once

#include "commands/kvlistservices.h"

#include <QObject>
#include <memory>

class KvItemList;
class KvMainHistory;
class KvMainSavedResults;
class KvNotebookLists;
class KvObject;
class KvPage;
class TMainF;
struct KvCommandContext;

// The lists of the main window that name elements: the browse history (for the window's
// lifetime), and the bookmarks and saved search results of the open directory, hooked into
// the element lists. The window owns one; the commands reach it as KvListServices.
class KvMainLists : public QObject, public KvListServices
{
    Q_OBJECT
public:
    explicit KvMainLists(TMainF& window);
    ~KvMainLists() override;

    // Connects the history list, the saved results' drop-down list and their menus once the
    // window's controls exist.
    void AttachControls();

    // Opening a directory: the history binds itself (after the notebook is built), then
    // the bookmarks and the saved results are loaded and the selected result is shown.
    void BindHistory();
    void LoadLists();
    // The options changed: the history binds itself as they say.
    void OptionsChanged();
    // Closing a directory: the saved results and the history are written (before the
    // trash may be emptied), then the bookmarks and saved results go.
    void StoreAtExit();
    void CloseDirectory();

    void Context(KvCommandContext& c) const;

    KvMainHistory& History() const { return *m_history; }
    KvMainSavedResults& SavedResults() const { return *m_saved; }
    // The bookmarks of the open directory; null while none is open.
    KvItemList* BookmarkList() const;

    // The properties dialogs' bookmark box: whether obj is a bookmark, and setting it (a
    // new one selected in the dialog's list), saved at once; nothing in read-only work.
    bool IsBookmark(const KvObject& obj) const;
    void SetBookmark(const KvObject& obj, bool on);

    // The window shows another page (the history records the visit).
    void PageShowing(const KvPage& page);
    void PageShown(const KvPage& page);

    // KvListServices
    void Browse2PreviousPage() override;
    void Browse2NextPage() override;
    void ShowHistory() override;
    void HistoryLVClick() override;
    void HyperlinkHistPMIClick() override;
    void Bookmarks() override;
    void SearchResSave() override;
    void SearchResDelete() override;
    void SearchResRename() override;
    void DeleteResPMIClick() override;
    void MoveResPMIClick() override;

private:
    TMainF& m_w;
    KvMainHistory* m_history = nullptr;    // child object
    KvMainSavedResults* m_saved = nullptr; // child object
    std::unique_ptr<KvNotebookLists> m_lists;
};
