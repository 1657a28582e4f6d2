#pragma once

#include "model/kvobject.h"

#include <memory>

class KvNewPageLayout;
class KvPage;

// A folder: ordered pages and sub-folders, the page shown last, a status, how its pages
// show as tabs, its sort settings and the layout of new pages. Kind 1 is the top folder,
// kind 2 the trash.
class KvFolder : public KvObject
{
public:
    enum Kind : quint8
    {
        NormalFolder = 0,
        TopFolder = 1,
        TrashFolder = 2
    };
    enum TabMode : quint8
    {
        TabsMultiLine = 1,
        TabsSingleLine = 2,
        NoTabs = 3
    };

    KvFolder(const QString& id, KvFolder* parent, quint8 kind, bool atEnd);
    ~KvFolder() override;

    void Store() override;
    void Remove() override;
    void RemoveChild(KvObject* child) override;
    void CreateChild(const QString& id) override;
    void CreateChildOfKind(const QString& id, const QString& prefix) override;

    virtual bool ContainsWriteProtectedPage();
    virtual bool HasSubfolders();
    virtual bool HasPages();
    virtual int GetStatus();
    virtual void SetStatus(int status);

    quint8 Kind() const;
    KvPage* GetActivePage() const;
    void SetActivePage(KvPage* page);
    const QString& ActivePageId() const;

    quint8 GetTabMode() const;
    void SetTabMode(quint8 mode);
    bool TabModeInherited() const;
    void SetTabModeInherited(bool inherited);
    void ReadTabMode();

    bool GetAutoSort() const;
    void SetAutoSort(bool on);
    bool GetNewElemsFirst() const;
    void SetNewElemsFirst(bool on);
    bool SortInherited() const;
    void SetSortInherited(bool inherited);
    void ReadSortSettings();

    KvNewPageLayout* GetNewPageLayout();
    void ResetNewPageLayout();

    bool GetWritable() const;
    void SetWritable(bool writable);

    // The parent as a folder; none for the roots.
    KvFolder* ParentFolder() const;

protected:
    // True when id may become a child read from the store: not listed twice, not built
    // under another folder already, and not this folder or one of its ancestors (a cycle in
    // the stored lists).
    bool AcceptsChildId(const QString& id) const;

private:
    quint8 m_kind;
    QString m_activePage;
    std::unique_ptr<KvNewPageLayout> m_newPageLayout;
    quint8 m_tabMode = TabsMultiLine;
    bool m_tabModeInherited = false;
    bool m_autoSort = false;
    bool m_newElemsFirst = false;
    bool m_sortInherited = false;
    bool m_writable = true;
    int m_status = 0;
};
