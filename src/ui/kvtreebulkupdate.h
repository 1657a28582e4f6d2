#pragma once

#include <QTreeWidget>

// Suspends the tree's redrawing and signals while it lives; both come back, also after
// an exception.
class KvTreeBulkUpdate
{
public:
    explicit KvTreeBulkUpdate(QTreeWidget* tree)
        : m_tree(tree), m_updates(tree->updatesEnabled()), m_blocked(tree->blockSignals(true))
    {
        m_tree->setUpdatesEnabled(false);
    }
    ~KvTreeBulkUpdate()
    {
        m_tree->blockSignals(m_blocked);
        m_tree->setUpdatesEnabled(m_updates);
    }
    KvTreeBulkUpdate(const KvTreeBulkUpdate&) = delete;
    KvTreeBulkUpdate& operator=(const KvTreeBulkUpdate&) = delete;

private:
    QTreeWidget* m_tree;
    bool m_updates;
    bool m_blocked;
};
