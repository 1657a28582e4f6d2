#include "ui/kvresultlistview.h"

#include "lists/kvsearchformsettings.h"
#include "model/kvobject.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSet>

namespace {

// A folder's rows, and the rows below it, show its name.
bool NamesFolder(const QString& id)
{
    return id.contains(u"Fldr"_qs) || id == u"TopFolder"_qs || id == u"TrashFolder"_qs;
}

} // namespace

KvResultListView::KvResultListView(QWidget* parent) : QTreeView(parent)
{
    m_model = new KvElementListModel({m_list.HeaderText(0), m_list.HeaderText(1)}, this);
    setModel(m_model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->resizeSection(0, KvSearchFormSettings::DefaultColumnWidth);
    connect(header(), &QHeaderView::sectionClicked, this, &KvResultListView::SortByColumn);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            Q_EMIT showRequested();
    });
}

KvResultListView::~KvResultListView() = default;

void KvResultListView::SetImageSource(std::function<QIcon(int)> images)
{
    m_images = std::move(images);
    showList(SelectedIds());
}

KvElementListModel::Row KvResultListView::modelRow(const KvResultRow& row) const
{
    return {row.id, row.caption, row.folder, m_images ? m_images(row.image) : QIcon()};
}

void KvResultListView::showList(const QStringList& keep)
{
    QList<KvElementListModel::Row> rows;
    rows.reserve(m_list.Count());
    for (const KvResultRow& r : m_list.Rows())
        rows.append(modelRow(r));
    m_model->SetRows(rows);
    updateHeaders();
    if (keep.isEmpty())
        return;
    const QSet<QString> wanted(keep.begin(), keep.end());
    QItemSelection selection;
    int current = -1;
    for (int i = 0; i < m_list.Count(); ++i) {
        if (!wanted.contains(m_list.Rows()[i].id))
            continue;
        selection.select(m_model->index(i, 0), m_model->index(i, m_model->columnCount() - 1));
        if (current < 0)
            current = i;
    }
    if (current < 0)
        return;
    selectionModel()->setCurrentIndex(m_model->index(current, 0), QItemSelectionModel::NoUpdate);
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void KvResultListView::updateHeaders()
{
    m_model->SetHeaders({m_list.HeaderText(KvResultList::CaptionColumn),
                         m_list.HeaderText(KvResultList::FolderColumn)});
}

void KvResultListView::AppendIds(const QStringList& ids)
{
    const int before = Count();
    for (const QString& id : ids)
        m_list.Append(id);
    QList<KvElementListModel::Row> rows;
    for (int i = before; i < Count(); ++i)
        rows.append(modelRow(m_list.Rows()[i]));
    m_model->AppendRows(rows);
    updateHeaders();
}

void KvResultListView::SetIds(const QStringList& ids)
{
    const QStringList keep = SelectedIds();
    m_list.SetIds(ids);
    showList(keep);
}

void KvResultListView::Clear()
{
    m_list.Clear();
    showList({});
}

void KvResultListView::SetFullPath(bool fullPath)
{
    const QStringList keep = SelectedIds();
    m_list.SetFullPath(fullPath);
    showList(keep);
}

bool KvResultListView::UpdateRow(const QString& id)
{
    const qsizetype at = m_list.IndexOf(id);
    if (at < 0)
        return false;
    const int countBefore = Count();
    m_list.Update(id);
    if (Count() == countBefore)
        m_model->ReplaceRow(int(at), modelRow(m_list.Rows()[at]));
    else
        m_model->RemoveRowAt(int(at)); // the element is gone
    updateHeaders();
    return true;
}

void KvResultListView::SortByColumn(int column)
{
    if (m_sortLocked || Count() <= 1)
        return;
    const QStringList keep = SelectedIds();
    m_list.SortByColumn(column);
    showList(keep);
    if (const QModelIndex current = currentIndex(); current.isValid())
        scrollTo(current);
}

QStringList KvResultListView::SelectedIds() const
{
    QList<int> rows;
    if (const QItemSelectionModel* sel = selectionModel()) {
        for (const QModelIndex& index : sel->selectedRows())
            rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    QStringList ids;
    for (int row : rows)
        ids.append(m_model->IdAt(row));
    return ids;
}

int KvResultListView::SelectedCount() const
{
    return selectionModel() ? int(selectionModel()->selectedRows().size()) : 0;
}

QString KvResultListView::SelectedId() const
{
    const QStringList ids = SelectedIds();
    return ids.size() == 1 ? ids.first() : QString();
}

QString KvResultListView::CurrentId() const
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isRowSelected(current.row(), QModelIndex()))
        return m_model->IdAt(current.row());
    return SelectedId();
}

bool KvResultListView::SelectId(const QString& id)
{
    const qsizetype at = m_list.IndexOf(id);
    if (at < 0)
        return false;
    const QModelIndex index = m_model->index(int(at), 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
    return true;
}

QString KvResultListView::SelectedLinkTexts() const
{
    QList<qsizetype> rows;
    for (const QString& id : SelectedIds())
        rows.append(m_list.IndexOf(id));
    return m_list.LinkTexts(rows);
}

int KvResultListView::FirstColumnWidth() const
{
    return header()->sectionSize(0);
}

void KvResultListView::SetFirstColumnWidth(int width)
{
    header()->resizeSection(0, std::max(width, KvSearchFormSettings::MinColumnWidth));
}

void KvResultListView::ForgetIds(const QStringList& ids)
{
    qsizetype removed = 0;
    for (const QString& id : ids)
        removed += m_list.Remove(id);
    m_renewed.removeIf([&ids](const QString& id) { return ids.contains(id); });
    if (removed == 0)
        return;
    if (m_batchDepth > 0) {
        m_changedInBatch = true;
        return;
    }
    showList(SelectedIds());
    Q_EMIT rowsChanged();
}

void KvResultListView::Renewed(const QStringList& ids)
{
    m_renewed.append(ids);
    if (m_batchDepth == 0)
        applyRenewed();
}

void KvResultListView::applyRenewed()
{
    const QStringList ids = std::exchange(m_renewed, {});
    bool changed = false;
    bool folder = false;
    for (const QString& id : ids) {
        folder = folder || NamesFolder(id);
        changed = m_list.Update(id) || changed;
    }
    // A folder's name shows in the rows below it too.
    if (folder && Count() > 0) {
        m_list.Refresh();
        changed = true;
    }
    if (!changed && !m_changedInBatch)
        return;
    m_changedInBatch = false;
    showList(SelectedIds());
    Q_EMIT rowsChanged();
}

void KvResultListView::BeginBatch()
{
    ++m_batchDepth;
}

void KvResultListView::EndBatch(bool)
{
    if (m_batchDepth > 0)
        --m_batchDepth;
    if (m_batchDepth == 0)
        applyRenewed();
}

void KvResultListView::keyPressEvent(QKeyEvent* event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
        Q_EMIT showRequested();
        return;
    }
    QTreeView::keyPressEvent(event);
}
