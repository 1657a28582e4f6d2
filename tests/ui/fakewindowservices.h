#pragma once

#include "commands/kvwindowservices.h"

#include <QList>
#include <QPair>
#include <QStringList>

namespace korvtest {

// Window services without a window: records what the handlers ask for.
class FakeWindowServices : public KvWindowServices
{
public:
    KvFolder* TopFolder() const override { return top; }
    KvFolder* TrashFolder() const override { return trash; }
    KvFolder* CurrentFolder() const override { return currentFolder; }
    KvPage* CurrentPage() const override { return currentPage; }
    KvFolder* ShownFolder() const override { return currentFolder; }
    KvPage* ShownPage() const override { return currentPage; }
    bool FullAccess() const override { return fullAccess; }
    void CheckPointer(KvObject*, bool) override {}
    void InvalidatePointer(KvObject*, bool) override {}
    void ShowElement(const QString& id, const QString&) override { shown.append(id); }
    bool SelectElement(const QString&) override { return false; }
    void FolderTvChange() override {}
    void SavePage(KvPage*) override {}
    void StoreFolder(KvFolder*) override {}
    void TreeBulkUpdate(const std::function<void()>& work) override { work(); }
    void SetExpandedAll(KvFolder*, bool expanded) override { expandCalls.append(expanded); }
    void StoreExpandedStates(KvFolder*) override { ++storeExpandedCalls; }
    KvElementEnv ElementEnv() override { return env; }
    void TempActionOnNavTree(bool, const std::function<void()>& command) override
    {
        ++tempActions;
        command();
    }
    KvSearchServices* Search() override { return search; }
    KvListServices* Lists() override { return lists; }
    KvLinkServices* Links() override { return links; }
    QTabWidget* PageArea() const override { return nullptr; }
    TexRichEdit* Editor() const override { return editor; }
    int MessageBox(const QString&, const QString& text, int kind) override
    {
        messages.append({text, kind});
        return 1;
    }
    QWidget* DialogParent() override { return nullptr; }
    void RequestIdle() override {}
    void SetStatusText(int, const QString&) override {}
    void ShowPart(KvWindowPart part, bool show) override { parts.append({part, show}); }
    QComboBox* ZoomBox() const override { return zoomBox; }
    void CloseWindow() override { calls.append(u"CloseWindow"_qs); }
    void RestoreFromTray() override { calls.append(u"RestoreFromTray"_qs); }
    void OpenNewWindow() override { calls.append(u"OpenNewWindow"_qs); }
    void SwitchAccess() override { calls.append(u"SwitchAccess"_qs); }

    KvFolder* top = nullptr;
    KvFolder* trash = nullptr;
    KvFolder* currentFolder = nullptr;
    KvPage* currentPage = nullptr;
    bool fullAccess = true;
    TexRichEdit* editor = nullptr;
    QComboBox* zoomBox = nullptr;
    KvElementEnv env;
    KvSearchServices* search = nullptr;
    KvListServices* lists = nullptr;
    KvLinkServices* links = nullptr;
    int tempActions = 0;

    QStringList shown;
    QStringList calls;
    QList<bool> expandCalls;
    int storeExpandedCalls = 0;
    QList<QPair<QString, int>> messages;
    QList<QPair<KvWindowPart, bool>> parts;
};

} // namespace korvtest
