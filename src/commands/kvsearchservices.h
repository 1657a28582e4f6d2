#pragma once

#include <QString>
#include <functional>
#include <memory>

class KvFolder;
class KvObject;
struct KvSearchCrit;

// The keyword dialog as the keyword commands use it.
class KvKeywordDialog
{
public:
    // The dialog's results: closed, cancelled with Esc, an element to show.
    static constexpr int Closed = 1;
    static constexpr int Cancelled = 2;
    static constexpr int ShowElement = 6;

    virtual ~KvKeywordDialog() = default;
    // The apply button runs this; without one it stays disabled.
    virtual void SetApplyHandler(std::function<void()> apply) = 0;
    // Shows the dialog modally (through the prompter) and answers its result.
    virtual int Run() = 0;
    // The selected keyword as written; empty when none.
    virtual QString SelectedKeyword() const = 0;
    // The element of the one selected row; empty when none.
    virtual QString SelectedObject() const = 0;
    // The keyword was added to obj: the dialog lists obj with it.
    virtual void KeywordAdded2Object(const QString& keyword, const KvObject& obj) = 0;
    // The positioning field's text, as if typed (a keyword link's keyword).
    virtual void SetPositioningText(const QString& text) = 0;
    // The picker of the hyperlink dialog: OK closes it with the selected keyword.
    virtual void ShowSelectMode() = 0;
};

// What the search and keyword commands use of the window: the search window, the main
// window's result list, showing an element marked, and the keyword dialog.
class KvSearchServices
{
public:
    virtual ~KvSearchServices() = default;

    // Opens the search window or brings it up; folder: the folder to search (the tree
    // menu's), null for the default one.
    virtual void PageSearch(KvFolder* folder) = 0;
    // The main result list's selected row is shown, marked with the last criteria.
    virtual void ShowSelectedResult() = 0;
    // The hyperlink texts of the main result list's selected rows go to the clipboard.
    virtual void CopyResultLinks() = 0;
    // The main result list's selected rows go (the elements stay).
    virtual void RemoveSelectedResults() = 0;
    // Shows the element (a page with its folder and tab) and, with criteria, marks the
    // first term of them that the page's text holds. False when there is no such element.
    virtual bool SwitchToObjectWithID(const QString& id, const KvSearchCrit* criteria) = 0;
    // A keyword dialog; mayShowElements: its show button may close it with ShowElement.
    virtual std::unique_ptr<KvKeywordDialog> KeywordDialog(bool mayShowElements) = 0;
};
