#pragma once

// What the history, bookmark and saved-result commands use of the window: the browse
// history with its drop-down list, the bookmark dialog, the saved search results of the
// result panel and the batch commands on the result list's selected rows.
class KvListServices
{
public:
    virtual ~KvListServices() = default;

    // --- the browse history
    virtual void Browse2PreviousPage() = 0;
    virtual void Browse2NextPage() = 0;
    // Shows the history list, or hides it when it is shown.
    virtual void ShowHistory() = 0;
    // The page of the list's selected row is shown.
    virtual void HistoryLVClick() = 0;
    // The hyperlink texts of the list's selected rows go to the clipboard.
    virtual void HyperlinkHistPMIClick() = 0;

    // --- the bookmarks
    virtual void Bookmarks() = 0;

    // --- the saved search results
    virtual void SearchResSave() = 0;
    virtual void SearchResDelete() = 0;
    virtual void SearchResRename() = 0;
    // The elements of the result list's selected rows are deleted, or moved into a folder.
    virtual void DeleteResPMIClick() = 0;
    virtual void MoveResPMIClick() = 0;
};
