#pragma once

#include <QTreeWidgetItem>

class KvObject;
class KvTreeNode;

// The side of a tree-bound element that its node talks to.
class KvTreeBound
{
public:
    using GoneHandler = void (*)(void* context, KvObject* object);

    virtual ~KvTreeBound() = default;
    KvTreeNode* Node() const { return m_node; }

    // Told about every tree-bound element that is destroyed (the window forgets it).
    static void SetGoneHandler(GoneHandler handler, void* context);
    static void ElementGone(KvObject* object);

protected:
    friend class KvTreeNode;
    // Deletes the own node without hearing about it.
    void DeleteNode();
    KvTreeNode* m_node = nullptr;
};

// A node of the navigation tree bound to one element. A node deleted by the tree itself
// (clear) tells its element, so that the element never touches a deleted node.
class KvTreeNode : public QTreeWidgetItem
{
public:
    KvTreeNode(KvObject* object, KvTreeBound* bound);
    ~KvTreeNode() override;
    KvObject* Object() const { return m_object; }
    // The element of any tree item; none for items of other kinds.
    static KvObject* ObjectOf(const QTreeWidgetItem* item);

private:
    friend class KvTreeBound;
    KvObject* m_object;
    KvTreeBound* m_bound;
};
