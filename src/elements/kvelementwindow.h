#pragma once

#include <QString>
#include <functional>

class KvFolder;
class KvObject;

// What the name dialog TNameF is asked for, and what it answers.
struct KvNameRequest
{
    int titleText = 0;       // text number of the title: 1002, 1102, 1004, 1104
    QString name;            // preset; the name typed on OK
    bool withStatus = false; // the status selector is shown (new pages)
    int status = 0;          // preselected status index; the chosen one on OK
};

// What the chooser TObjSelectF offers.
enum class KvChooseKind
{
    Any,
    Folder,
    Page,
    ReferrerTarget // a page outside the trash: the chooser does not offer the trash
};

// The narrow part of the main window the element operations reach. The window implements
// it over its tree, tabs, editor and dialogs; the command line fills it with nothing
// (KvHeadlessWindow). Every operation keeps the model and the stores consistent on its
// own; these calls only keep the window in step.
class KvElementWindow
{
public:
    virtual ~KvElementWindow() = default;

    // --- the pointer guard
    // Called before obj is moved or removed: the window forgets obj and everything below
    // it. With saveFirst, a page of them that it shows is saved and unloaded, and a folder
    // of them that it shows is stored, before it is forgotten.
    virtual void CheckPointer(KvObject& obj, bool saveFirst) = 0;
    // Stores a folder (the window first collapses a node it expanded only for a moment).
    virtual void StoreFolder(KvFolder& folder) = 0;

    // --- dialogs
    // TNameF; false on Cancel.
    virtual bool AskName(KvNameRequest& request) = 0;
    // TObjSelectF with preselect selected; the chosen element, null on Cancel.
    virtual KvObject* ChooseElement(KvChooseKind kind, KvObject* preselect) = 0;

    // --- showing
    // Makes obj current and shows it (a page in the editor among its folder's tabs, a
    // folder with its pages), its node selected.
    virtual void ShowElement(KvObject& obj) = 0;
    // Selects obj's node without change events and without showing it.
    virtual void SelectElement(KvObject& obj) = 0;
    // A folder copy: copy's node takes the expanded state of source's node, and copy
    // stores it.
    virtual void FollowExpansion(KvFolder& source, KvFolder& copy) = 0;
    // The pages of folder were added, removed or reordered: its tabs follow its order.
    virtual void TabsFollowOrder(KvFolder& folder) = 0;
    // The first status-bar panel.
    virtual void StatusText(const QString& text) = 0;
    // The enabled state of commands (up/down among them) is to be computed again.
    virtual void CommandsChanged() = 0;
    // Runs work with the tree's redrawing and change events suspended; both come back
    // also when work throws.
    virtual void TreeBulkUpdate(const std::function<void()>& work) = 0;

    // --- progress of long operations (TProgressF)
    virtual void ProgressOpen(const QString& title, int maximum) = 0;
    virtual void ProgressText(const QString& text) = 0;
    // One element done: the bar advances by one.
    virtual void ProgressStep() = 0;
    // Closes it; also after a failure or a cancel.
    virtual void ProgressClose() = 0;
    // Lets pending events run and answers whether the operation is to stop after the
    // current element: the user closed the progress window, or the process was asked to
    // end. Checked between elements also where no progress window is open.
    virtual bool StopRequested() = 0;
};

// The window of the command line: shows nothing and asks nothing; folders store directly;
// a stop is requested when the probe says so (SIGINT, SIGTERM).
class KvHeadlessWindow : public KvElementWindow
{
public:
    using StopProbe = std::function<bool()>;
    explicit KvHeadlessWindow(StopProbe stop = {}) : m_stop(std::move(stop)) {}

    void CheckPointer(KvObject&, bool) override {}
    void StoreFolder(KvFolder& folder) override;
    bool AskName(KvNameRequest&) override { return false; }
    KvObject* ChooseElement(KvChooseKind, KvObject*) override { return nullptr; }
    void ShowElement(KvObject&) override {}
    void SelectElement(KvObject&) override {}
    void FollowExpansion(KvFolder& source, KvFolder& copy) override;
    void TabsFollowOrder(KvFolder&) override {}
    void StatusText(const QString&) override {}
    void CommandsChanged() override {}
    void TreeBulkUpdate(const std::function<void()>& work) override { work(); }
    void ProgressOpen(const QString&, int) override {}
    void ProgressText(const QString&) override {}
    void ProgressStep() override {}
    void ProgressClose() override {}
    bool StopRequested() override { return m_stop && m_stop(); }

private:
    StopProbe m_stop;
};
