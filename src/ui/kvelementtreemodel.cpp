#include "ui/kvelementtreemodel.h"

#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "ui/kvtreenode.h"

#include <QIcon>

namespace {

// The navigation tree's node of an element, when it has one: its text and image are
// what the user knows the element by.
const QTreeWidgetItem* NodeOf(const KvObject* obj)
{
    const auto* bound = dynamic_cast<const KvTreeBound*>(obj);
    return bound ? bound->Node() : nullptr;
}

} // namespace

KvElementTreeModel::KvElementTreeModel(const QList<KvFolder*>& roots, bool foldersOnly,
                                       QObject* parent)
    : QAbstractItemModel(parent), m_roots(roots), m_foldersOnly(foldersOnly)
{
    m_roots.removeAll(nullptr);
}

bool KvElementTreeModel::shows(const KvObject* obj) const
{
    return obj && !obj->IsRemoved() && (!m_foldersOnly || dynamic_cast<const KvFolder*>(obj));
}

const KvElementTreeModel::Rows& KvElementTreeModel::rowsOf(const KvObject* obj) const
{
    auto it = m_rows.constFind(obj);
    if (it != m_rows.cend())
        return *it;
    Rows rows;
    const auto add = [&](KvObject* o) {
        if (!shows(o))
            return;
        rows.row.insert(o, int(rows.items.size()));
        rows.items.append(o);
    };
    if (!obj) {
        for (KvFolder* root : m_roots)
            add(root);
    } else {
        for (KvObject* child : obj->Children())
            add(child);
    }
    return *m_rows.insert(obj, std::move(rows));
}

KvObject* KvElementTreeModel::ObjectAt(const QModelIndex& index)
{
    return index.isValid() ? static_cast<KvObject*>(index.internalPointer()) : nullptr;
}

QModelIndex KvElementTreeModel::IndexOf(const KvObject* obj) const
{
    if (!shows(obj))
        return {};
    // Only what lies below a root of the model has a row: a chooser without the trash
    // offers nothing in it.
    const KvObject* top = obj;
    while (top->Parent())
        top = top->Parent();
    if (!m_roots.contains(top))
        return {};
    const KvObject* parent = m_roots.contains(obj) ? nullptr : obj->Parent();
    if (!parent && !m_roots.contains(obj))
        return {};
    const int row = rowsOf(parent).row.value(obj, -1);
    return row < 0 ? QModelIndex() : createIndex(row, 0, const_cast<KvObject*>(obj));
}

QModelIndex KvElementTreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    const Rows& rows = rowsOf(ObjectAt(parent));
    if (row >= rows.items.size())
        return {};
    return createIndex(row, 0, rows.items[row]);
}

QModelIndex KvElementTreeModel::parent(const QModelIndex& child) const
{
    const KvObject* obj = ObjectAt(child);
    if (!obj || m_roots.contains(obj))
        return {};
    return IndexOf(obj->Parent());
}

int KvElementTreeModel::rowCount(const QModelIndex& parent) const
{
    if (parent.column() > 0)
        return 0;
    const KvObject* obj = ObjectAt(parent);
    if (obj && !dynamic_cast<const KvFolder*>(obj))
        return 0;
    return int(rowsOf(obj).items.size());
}

int KvElementTreeModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool KvElementTreeModel::hasChildren(const QModelIndex& parent) const
{
    const KvObject* obj = ObjectAt(parent);
    if (!obj)
        return !m_roots.isEmpty();
    if (!dynamic_cast<const KvFolder*>(obj) || obj->ChildCount() == 0)
        return false;
    // Without pages only a sub-folder counts; with them, any child.
    return !m_foldersOnly || !rowsOf(obj).items.isEmpty();
}

QVariant KvElementTreeModel::data(const QModelIndex& index, int role) const
{
    const KvObject* obj = ObjectAt(index);
    if (!obj)
        return {};
    const QTreeWidgetItem* node = NodeOf(obj);
    switch (role) {
    case Qt::DisplayRole:
        return node ? node->text(0) : obj->Name();
    case Qt::DecorationRole:
        return node ? node->icon(0) : QIcon();
    default:
        return {};
    }
}
