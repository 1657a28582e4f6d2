#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QList>

class KvFolder;
class KvObject;

// The notebook as a tree model over its objects, for views that show it beside the
// navigation tree (the chooser). Rows are worked out when a view first asks for the
// children of an element, so opening it costs what is shown, not the size of the notebook.
// With foldersOnly the pages are left out. The notebook must not change while the model
// is in use (it is used inside modal dialogs).
class KvElementTreeModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    KvElementTreeModel(const QList<KvFolder*>& roots, bool foldersOnly, QObject* parent = nullptr);

    // The index of the element; invalid when the model does not show it.
    QModelIndex IndexOf(const KvObject* obj) const;
    static KvObject* ObjectAt(const QModelIndex& index);
    bool FoldersOnly() const { return m_foldersOnly; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    struct Rows
    {
        QList<KvObject*> items;
        QHash<const KvObject*, int> row;
    };
    // The rows below obj (null: the roots), worked out on first use.
    const Rows& rowsOf(const KvObject* obj) const;
    bool shows(const KvObject* obj) const;

    QList<KvFolder*> m_roots;
    bool m_foldersOnly;
    mutable QHash<const KvObject*, Rows> m_rows;
};
