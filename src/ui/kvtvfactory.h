#pragma once

#include "model/kvnotebookbuild.h"

class TexTreeView;

// Builds tree-bound folders and pages on the navigation tree.
class KvTVFactory : public KvElementFactory
{
public:
    explicit KvTVFactory(TexTreeView* tree) : m_tree(tree) {}
    std::unique_ptr<KvFolder> CreateRoot(const QString& id, quint8 kind) override;
    KvFolder* CreateFolder(const QString& id, KvFolder* parent, bool atEnd = true) override;
    KvPage* CreatePage(const QString& id, KvFolder* parent, bool atEnd = true) override;

private:
    TexTreeView* m_tree;
};
