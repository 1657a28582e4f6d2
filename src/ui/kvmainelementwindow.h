#pragma once

#include "elements/kvelementwindow.h"

#include "ui/tprogressf.h"

#include <QPointer>

class TMainF;

// The main window as the element operations see it: its pointer guard, tree, tabs and
// status bar, the name dialog, the chooser and the progress window.
class KvMainElementWindow : public KvElementWindow
{
public:
    explicit KvMainElementWindow(TMainF& window) : m_w(window) {}
    ~KvMainElementWindow() override;

    void CheckPointer(KvObject& obj, bool saveFirst) override;
    void StoreFolder(KvFolder& folder) override;
    bool AskName(KvNameRequest& request) override;
    KvObject* ChooseElement(KvChooseKind kind, KvObject* preselect) override;
    void ShowElement(KvObject& obj) override;
    void SelectElement(KvObject& obj) override;
    void FollowExpansion(KvFolder& source, KvFolder& copy) override;
    void TabsFollowOrder(KvFolder& folder) override;
    void StatusText(const QString& text) override;
    void CommandsChanged() override;
    void TreeBulkUpdate(const std::function<void()>& work) override;
    void ProgressOpen(const QString& title, int maximum) override;
    void ProgressText(const QString& text) override;
    void ProgressStep() override;
    void ProgressClose() override;
    bool StopRequested() override;

    // The progress window while one is open.
    TProgressF* Progress() const { return m_progress; }

private:
    TMainF& m_w;
    QPointer<TProgressF> m_progress;
};
