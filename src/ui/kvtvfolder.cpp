#include "ui/kvtvfolder.h"

#include "model/kvdircontext.h"
#include "model/kvstatusimages.h"
#include "platform/applog.h"
#include "store/texinifile.h"
#include "ui/kvtvpage.h"
#include "ui/textreeview.h"

namespace {
const QString kExpand = u"Expand"_qs;
}

KvTVFolder::KvTVFolder(const QString& id, KvTVFolder* parent, quint8 kind, bool atEnd)
    : KvFolder(id, parent, kind, atEnd)
{
    KV_LOG_SCOPE("KvTVFolder::KvTVFolder");
    m_tree = parent ? parent->m_tree : nullptr;
    LoadExpanded();
    createNode(parent ? parent->Node() : nullptr, atEnd);
}

KvTVFolder::KvTVFolder(const QString& id, TexTreeView* tree, quint8 kind)
    : KvFolder(id, nullptr, kind, true), m_tree(tree)
{
    KV_LOG_SCOPE("KvTVFolder::KvTVFolder");
    LoadExpanded();
    createNode(nullptr, true);
}

KvTVFolder::~KvTVFolder()
{
    // The children's nodes go with the own node; the children follow in ~KvObject.
    ElementGone(this);
    DeleteNode();
}

void KvTVFolder::createNode(QTreeWidgetItem* parentNode, bool atEnd)
{
    // The node is complete before it joins the tree: one insertion, no data changes.
    m_node = new KvTreeNode(this, this);
    m_node->setText(0, Name());
    TexTreeView::SetNodeKind(m_node, KvNodeKind::Folder);
    UpdateIcon();
    if (parentNode) {
        if (atEnd)
            parentNode->addChild(m_node);
        else
            parentNode->insertChild(0, m_node);
    }
}

void KvTVFolder::AttachRootNode()
{
    KV_LOG_SCOPE("KvTVFolder::AttachRootNode");
    if (!m_node || !m_tree || m_node->treeWidget())
        return;
    m_tree->addTopLevelItem(m_node);
    if (m_expanded && m_node->childCount() > 0)
        m_node->setExpanded(true);
    for (KvObject* obj : CollectDescendants(this)) {
        auto* f = dynamic_cast<KvTVFolder*>(obj);
        if (f && f->m_expanded && f->m_node && f->m_node->childCount() > 0)
            f->m_node->setExpanded(true);
    }
}

void KvTVFolder::UpdateIcon()
{
    if (!m_node)
        return;
    int image = KvStatusImages::ForFolder(GetStatus());
    if (Kind() == TopFolder)
        image = KvStatusImages::TopFolder;
    else if (Kind() == TrashFolder)
        image = KvStatusImages::TrashFolder;
    if (m_tree)
        m_tree->SetNodeImages(m_node, image, -1);
    else
        m_node->setData(0, TexTreeView::ImageRole, image);
}

void KvTVFolder::SetName(const QString& name)
{
    KvFolder::SetName(name);
    if (m_node)
        m_node->setText(0, Name());
}

void KvTVFolder::SetStatus(int status)
{
    KvFolder::SetStatus(status);
    UpdateIcon();
}

void KvTVFolder::Store()
{
    KV_LOG_SCOPE("KvTVFolder::Store");
    KvFolder::Store();
    StoreExpanded();
}

void KvTVFolder::StoreExpanded()
{
    KV_LOG_SCOPE("KvTVFolder::StoreExpanded");
    CheckRemoved();
    if (m_node)
        m_expanded = m_node->isExpanded();
    TexIniFile& store = KvDirContext::FldrStore();
    store.WriteBool(Id(), kExpand, m_expanded);
    store.UpdateFile();
}

void KvTVFolder::LoadExpanded()
{
    m_expanded = KvDirContext::FldrReader().ReadBool(Id(), kExpand, false);
}

void KvTVFolder::Remove()
{
    KV_LOG_SCOPE("KvTVFolder::Remove");
    const bool normal = Kind() == NormalFolder;
    KvFolder::Remove();
    if (normal)
        DeleteNode();
}

void KvTVFolder::MoveUp()
{
    KV_LOG_SCOPE("KvTVFolder::MoveUp");
    CheckRemoved();
    if (m_node && m_node->parent()) {
        QTreeWidgetItem* parentNode = m_node->parent();
        const int at = parentNode->indexOfChild(m_node);
        if (at > 0) {
            QTreeWidgetItem* previous = parentNode->child(at - 1);
            const bool previousExpanded = previous->isExpanded();
            parentNode->takeChild(at);
            parentNode->insertChild(at - 1, m_node);
            previous->setExpanded(previousExpanded);
            m_node->setExpanded(m_expanded);
        }
    }
    KvFolder::MoveUp();
}

void KvTVFolder::ReorderChildren(const QList<KvObject*>& order)
{
    KV_LOG_SCOPE("KvTVFolder::ReorderChildren");
    KvFolder::ReorderChildren(order);
    // The nodes follow the children's order. A node taken out of the tree loses the
    // expanded state of itself and of the nodes below it, so those are put back.
    if (!m_node)
        return;
    QList<QTreeWidgetItem*> nodes;
    for (KvObject* child : order) {
        auto* bound = dynamic_cast<KvTreeBound*>(child);
        QTreeWidgetItem* node = bound ? bound->Node() : nullptr;
        if (node && node->parent() == m_node)
            nodes.append(node);
    }
    QList<QTreeWidgetItem*> expanded;
    QList<QTreeWidgetItem*> pending = nodes;
    while (!pending.isEmpty()) {
        QTreeWidgetItem* node = pending.takeLast();
        if (node->isExpanded())
            expanded.append(node);
        for (int i = 0; i < node->childCount(); ++i)
            pending.append(node->child(i));
    }
    for (QTreeWidgetItem* node : std::as_const(nodes))
        m_node->removeChild(node);
    m_node->insertChildren(0, nodes);
    for (QTreeWidgetItem* node : std::as_const(expanded))
        node->setExpanded(true);
}

void KvTVFolder::afterNewChild()
{
    if (m_expanded && m_node && !m_node->isExpanded())
        m_node->setExpanded(true);
}

void KvTVFolder::CreateChild(const QString& id)
{
    CheckRemoved();
    if (!AcceptsChildId(id))
        return;
    if (id.contains(u"Page"_qs)) {
        new KvTVPage(id, this, true); // owned by this folder's child list
    } else if (id.contains(u"Fldr"_qs)) {
        auto* folder = new KvTVFolder(id, this, NormalFolder, true);
        folder->LoadChildren();
    } else {
        return;
    }
    afterNewChild();
}

void KvTVFolder::CreateChildOfKind(const QString& id, const QString& prefix)
{
    CheckRemoved();
    if (!AcceptsChildId(id))
        return;
    if (id.contains(u"Page"_qs)) {
        new KvTVPage(id, this, true);
    } else if (id.contains(u"Fldr"_qs)) {
        auto* folder = new KvTVFolder(id, this, NormalFolder, true);
        folder->LoadChildrenOfKind(prefix);
    } else {
        return;
    }
    afterNewChild();
}
