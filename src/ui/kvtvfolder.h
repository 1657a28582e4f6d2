#pragma once

#include "model/kvfolder.h"
#include "ui/kvtreenode.h"

class TexTreeView;

// A folder bound to its node in the navigation tree: the node follows name, status and
// position, and the expanded state is kept in the folder store (key "Expand").
class KvTVFolder : public KvFolder, public KvTreeBound
{
public:
    // A folder below parent; its node goes last (atEnd) or first below the parent's node.
    KvTVFolder(const QString& id, KvTVFolder* parent, quint8 kind, bool atEnd);
    // A root folder of tree. Its node joins the tree with AttachRootNode, so that a whole
    // notebook is built below it before the tree sees any of it.
    KvTVFolder(const QString& id, TexTreeView* tree, quint8 kind);
    ~KvTVFolder() override;

    void SetName(const QString& name) override;
    void Store() override;
    void Remove() override;
    void MoveUp() override;
    void ReorderChildren(const QList<KvObject*>& order) override;
    void CreateChild(const QString& id) override;
    void CreateChildOfKind(const QString& id, const QString& prefix) override;
    void SetStatus(int status) override;

    // Expanded flag := node expanded; written and flushed.
    virtual void StoreExpanded();
    virtual void LoadExpanded();

    void UpdateIcon();
    // Puts a root's node into the tree and opens every folder stored as expanded.
    void AttachRootNode();
    bool ExpandedFlag() const { return m_expanded; }
    TexTreeView* Tree() const { return m_tree; }

private:
    void createNode(QTreeWidgetItem* parentNode, bool atEnd);
    void afterNewChild();

    bool m_expanded = false;
    TexTreeView* m_tree = nullptr;
};
