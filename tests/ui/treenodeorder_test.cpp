// The navigation tree's nodes follow a folder's children when they are put into another
// order (sorting), and keep their expanded state.
#include "elements/kvelementsort.h"
#include "model/kvdircontext.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpage.h"
#include "store/kvdirstores.h"
#include "support/testenv.h"
#include "ui/kvtreenode.h"
#include "ui/kvtvfactory.h"
#include "ui/kvtvfolder.h"
#include "ui/textreeview.h"

#include <gtest/gtest.h>

namespace {

class TreeNodeOrder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = m_env.Dir(u"data"_qs);
        KvDirStores::Reopen(m_dir);
        m_ctx.dataDir = m_dir;
        KvDirContext::SetCurrent(&m_ctx);
    }
    void TearDown() override
    {
        m_nb.Reset();
        KvDirContext::SetCurrent(nullptr);
        KvDirStores::Close();
    }

    static QStringList NodeNames(QTreeWidgetItem* node)
    {
        QStringList names;
        for (int i = 0; i < node->childCount(); ++i)
            names.append(node->child(i)->text(0));
        return names;
    }

    korvtest::SandboxEnv m_env;
    QString m_dir;
    KvDirContext m_ctx;
    TexTreeView m_tree;
    KvNotebook m_nb;
};

TEST_F(TreeNodeOrder, NodesFollowTheSortedChildrenAndStayOpen)
{
    KvTVFactory factory(&m_tree);
    m_nb = KvNotebookBuild::Build(factory);
    auto* top = dynamic_cast<KvTVFolder*>(m_nb.top.get());
    ASSERT_TRUE(top);
    top->AttachRootNode();
    KvFolder* z = factory.CreateFolder(u"Fldr0000001"_qs, top);
    z->SetName(u"z"_qs);
    KvFolder* deep = factory.CreateFolder(u"Fldr0000002"_qs, z);
    deep->SetName(u"deep"_qs);
    factory.CreatePage(u"Page0000003"_qs, deep)->SetName(u"inside"_qs);
    factory.CreatePage(u"Page0000001"_qs, top)->SetName(u"b"_qs);
    factory.CreatePage(u"Page0000002"_qs, top)->SetName(u"A"_qs);
    top->Node()->setExpanded(true);
    dynamic_cast<KvTVFolder*>(z)->Node()->setExpanded(true);
    dynamic_cast<KvTVFolder*>(deep)->Node()->setExpanded(true);
    ASSERT_EQ(NodeNames(top->Node()), (QStringList{u"z"_qs, u"b"_qs, u"A"_qs}));

    ASSERT_TRUE(KvElementSort::SortChildren(*top, 0));
    EXPECT_EQ(NodeNames(top->Node()), (QStringList{u"A"_qs, u"b"_qs, u"z"_qs}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(KvTreeNode::ObjectOf(top->Node()->child(i)), top->Children()[i]);
    EXPECT_TRUE(dynamic_cast<KvTVFolder*>(z)->Node()->isExpanded());
    EXPECT_TRUE(dynamic_cast<KvTVFolder*>(deep)->Node()->isExpanded());

    ASSERT_TRUE(KvElementSort::SortChildren(*top, 1));
    EXPECT_EQ(NodeNames(top->Node()), (QStringList{u"z"_qs, u"A"_qs, u"b"_qs}));
    EXPECT_TRUE(dynamic_cast<KvTVFolder*>(deep)->Node()->isExpanded());
}

} // namespace
