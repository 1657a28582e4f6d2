#include "ui/tobjselectf.h"

#include "app/kvhelphook.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "store/waitcrsr.h"
#include "ui/kvdialogplace.h"
#include "ui/kvelementtreemodel.h"
#include "ui/kvtreenode.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

TObjSelectF* g_active = nullptr;

constexpr int kTextOk = 4000;
constexpr int kTextCancel = 4001;

} // namespace

TObjSelectF::TObjSelectF(const QList<KvFolder*>& roots, const QString& kind,
                         const QString& preselectId, const QTreeWidget* look, QWidget* parent)
    : QDialog(parent), m_kind(kind)
{
    KV_LOG_SCOPE("TObjSelectF::Create");
    WaitCrsr busy;
    setObjectName(DialogName);
    setWindowTitle(KvTexts::Text(TitleText(kind)));
    auto* layout = new QVBoxLayout(this);

    m_model = new KvElementTreeModel(roots, kind == KindFolder, this);
    m_tree = new QTreeView(this);
    m_tree->setObjectName(u"FolderTV"_qs);
    m_tree->setHeaderHidden(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setExpandsOnDoubleClick(false);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setTextElideMode(Qt::ElideNone);
    if (look) {
        m_tree->setFont(look->font());
        m_tree->setIndentation(look->indentation());
        m_tree->setIconSize(look->iconSize());
        m_tree->setRootIsDecorated(look->rootIsDecorated());
    }
    m_tree->setModel(m_model);
    // Names are never cut: the tree scrolls sideways instead.
    m_tree->header()->setStretchLastSection(false);
    m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_tree->setMinimumSize(300, 340);
    layout->addWidget(m_tree, 1);

    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton(KvTexts::Text(kTextOk), this);
    m_ok->setObjectName(u"OKBtn"_qs);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(KvTexts::Text(kTextCancel), this);
    m_cancel->setObjectName(u"CancelBtn"_qs);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &TObjSelectF::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TObjSelectF::reject);
    // A mouse press moves the current index before it selects, so the selection's own
    // signal decides.
    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TObjSelectF::updateOk);
    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TObjSelectF::updateOk);
    connect(m_tree, &QTreeView::doubleClicked, this, [this] {
        if (OkEnabled())
            accept();
    });

    // Folders open as in the navigation tree; the preselected element is selected.
    expandAsIn(look);
    if (!Select(preselectId))
        updateOk();
    g_active = this;
}

TObjSelectF::~TObjSelectF()
{
    if (g_active == this)
        g_active = nullptr;
}

int TObjSelectF::TitleText(const QString& kind)
{
    if (kind == KindFolder)
        return 13001;
    if (kind == KindPage)
        return 13002;
    return 13000;
}

bool TObjSelectF::OkAllowed(const QString& kind, const KvObject* selected)
{
    if (!selected)
        return false;
    if (kind == KindPage)
        return dynamic_cast<const KvPage*>(selected) != nullptr;
    return kind.isEmpty() || kind == KindFolder;
}

KvObject* TObjSelectF::Selected() const
{
    const QModelIndexList rows = m_tree->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? nullptr : KvElementTreeModel::ObjectAt(rows.first());
}

bool TObjSelectF::Select(const QString& id)
{
    const QModelIndex index = id.isEmpty() ? QModelIndex() : m_model->IndexOf(FindObject(id));
    if (!index.isValid())
        return false;
    for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
        m_tree->setExpanded(p, true);
    m_tree->setCurrentIndex(index);
    m_tree->scrollTo(index);
    updateOk();
    return true;
}

bool TObjSelectF::OkEnabled() const
{
    return m_ok->isEnabled();
}

void TObjSelectF::updateOk()
{
    m_ok->setEnabled(OkAllowed(m_kind, Selected()));
}

void TObjSelectF::expandAsIn(const QTreeWidget* look)
{
    if (!look)
        return;
    // Only the open nodes are walked: what is closed there stays closed here.
    QList<const QTreeWidgetItem*> open;
    for (int i = 0; i < look->topLevelItemCount(); ++i)
        open.append(look->topLevelItem(i));
    while (!open.isEmpty()) {
        const QTreeWidgetItem* node = open.takeLast();
        if (!node->isExpanded())
            continue;
        const QModelIndex index = m_model->IndexOf(KvTreeNode::ObjectOf(node));
        if (!index.isValid())
            continue;
        m_tree->setExpanded(index, true);
        for (int i = 0; i < node->childCount(); ++i) {
            const QTreeWidgetItem* child = node->child(i);
            if (child->childCount() > 0)
                open.append(child);
        }
    }
}

KvObject* TObjSelectF::Execute()
{
    KV_LOG_SCOPE("TObjSelectF::Execute");
    const int result = KvPrompter::Current().RunDialog(DialogName, [this] { return exec(); });
    return result == QDialog::Accepted ? Selected() : nullptr;
}

TObjSelectF* TObjSelectF::Active()
{
    return g_active;
}

void TObjSelectF::accept()
{
    if (!OkEnabled())
        return;
    KvDialogPlace::Store(*this, PlaceSection, true);
    QDialog::accept();
}

void TObjSelectF::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        KvHelpHook::ShowTopic(HelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TObjSelectF::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        m_placed = true;
        KvDialogPlace::Restore(*this, PlaceSection, true);
    }
    QDialog::showEvent(event);
    if (const QModelIndex current = m_tree->currentIndex(); current.isValid())
        m_tree->scrollTo(current);
}
