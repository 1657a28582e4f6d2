#include "ui/kvtreenode.h"

namespace {
constexpr int kNodeType = QTreeWidgetItem::UserType + 7;
KvTreeBound::GoneHandler g_gone = nullptr;
void* g_goneContext = nullptr;
} // namespace

void KvTreeBound::SetGoneHandler(GoneHandler handler, void* context)
{
    g_gone = handler;
    g_goneContext = context;
}

void KvTreeBound::ElementGone(KvObject* object)
{
    if (g_gone)
        g_gone(g_goneContext, object);
}

void KvTreeBound::DeleteNode()
{
    if (!m_node)
        return;
    m_node->m_bound = nullptr;
    delete m_node;
    m_node = nullptr;
}

KvTreeNode::KvTreeNode(KvObject* object, KvTreeBound* bound)
    : QTreeWidgetItem(kNodeType), m_object(object), m_bound(bound)
{}

KvTreeNode::~KvTreeNode()
{
    if (m_bound)
        m_bound->m_node = nullptr;
}

KvObject* KvTreeNode::ObjectOf(const QTreeWidgetItem* item)
{
    if (!item || item->type() != kNodeType)
        return nullptr;
    return static_cast<const KvTreeNode*>(item)->m_object;
}
