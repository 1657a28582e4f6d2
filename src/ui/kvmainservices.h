#pragma once

#include "commands/kvwindowservices.h"

#include <memory>

class KvMainLinks;
class TMainF;

// The main window as the command handlers see it.
class KvMainServices : public KvWindowServices
{
public:
    explicit KvMainServices(TMainF& window);
    ~KvMainServices() override;

    KvFolder* TopFolder() const override;
    KvFolder* TrashFolder() const override;
    KvFolder* CurrentFolder() const override;
    KvPage* CurrentPage() const override;
    KvFolder* ShownFolder() const override;
    KvPage* ShownPage() const override;
    bool FullAccess() const override;
    void CheckPointer(KvObject* p, bool saveFirst) override;
    void InvalidatePointer(KvObject* p, bool saveFirst) override;
    void ShowElement(const QString& id, const QString& searchText) override;
    bool SelectElement(const QString& id) override;
    void FolderTvChange() override;
    void SavePage(KvPage* page) override;
    void StoreFolder(KvFolder* folder) override;
    void TreeBulkUpdate(const std::function<void()>& work) override;
    void SetExpandedAll(KvFolder* folder, bool expanded) override;
    void StoreExpandedStates(KvFolder* folder) override;
    KvElementEnv ElementEnv() override;
    void TempActionOnNavTree(bool restoreSelection, const std::function<void()>& command) override;
    KvSearchServices* Search() override;
    KvEditingServices* Editing() override;
    KvListServices* Lists() override;
    KvLinkServices* Links() override;
    QTabWidget* PageArea() const override;
    TexRichEdit* Editor() const override;
    int MessageBox(const QString& title, const QString& text, int kind) override;
    QWidget* DialogParent() override;
    void RequestIdle() override;
    void SetStatusText(int panel, const QString& text) override;
    void ShowPart(KvWindowPart part, bool show) override;
    QComboBox* ZoomBox() const override;
    void CloseWindow() override;
    void RestoreFromTray() override;
    void OpenNewWindow() override;
    void SwitchAccess() override;

private:
    TMainF& m_w;
    std::unique_ptr<KvMainLinks> m_links;
};
