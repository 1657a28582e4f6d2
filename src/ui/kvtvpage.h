#pragma once

#include "model/kvpage.h"
#include "richtext/texrichedit.h"
#include "ui/kvtreenode.h"

#include <QLabel>
#include <QPointer>
#include <QTabWidget>

class KvTVFolder;
class TexTreeView;

// A page bound to its node in the navigation tree and, while its folder is shown, to the
// page area: its tab, its editor widget and the notice shown for a locked page.
class KvTVPage : public KvPage, public KvTreeBound
{
public:
    KvTVPage(const QString& id, KvTVFolder* parent, bool atEnd);
    ~KvTVPage() override;

    void SetName(const QString& name) override;
    void Remove() override;
    void MoveUp() override;
    void OnTargetNotify(NotifyKind kind) override;
    void PassToTarget(NotifyKind kind) override;
    void Load(bool show, bool keepPlainFile) override;
    void Unload() override;
    void SetWriteProtect(bool on) override;
    void SetStatus(int status) override;
    void SetWritable(bool writable) override;
    void CreateEditor(bool show) override;

    // Attaches the page to the page area (a tab unless the folder shows no tabs) or
    // detaches it (unloads it, destroys the tab and the notice).
    void AttachToPageArea(QTabWidget* pageArea, bool show, bool noRepaint);
    void UpdateIcons(bool noRepaint);

    QTabWidget* PageArea() const { return m_area; }
    QWidget* Tab() const { return m_tab; }
    TexRichEdit* EditorWidget() const { return m_edit; }
    QLabel* PasswordNotice() const { return m_notice; }
    int LastImage() const { return m_lastImage; }
    int LastStateImage() const { return m_lastState; }
    // Tab captions show "&" literally.
    static QString TabCaption(const QString& name);

private:
    KvTVFolder* folder() const;
    bool tabsShown() const;
    // The widget that holds the editor or the notice: the tab, else the page area's own
    // page for folders without tabs.
    QWidget* holder(bool create);
    void showInArea();
    void showPasswordNotice();
    void followName();

    TexTreeView* m_tree = nullptr;
    QPointer<QTabWidget> m_area;
    QPointer<QWidget> m_tab;
    QPointer<QWidget> m_plainHolder; // the page area's page without a tab (tab mode 3)
    QPointer<TexRichEdit> m_edit;
    QPointer<QLabel> m_notice;
    int m_lastImage = -1;
    int m_lastState = -1;
};

// Attaches (show) or detaches all pages of a folder to or from the page area.
void ShowPagesInTabs(KvFolder* folder, QTabWidget* pageArea, bool show);
