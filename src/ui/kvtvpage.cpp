#include "ui/kvtvpage.h"

#include "app/kvtexts.h"
#include "model/kvstatusimages.h"
#include "platform/applog.h"
#include "richtext/texrichedit.h"
#include "ui/kvtvfolder.h"
#include "ui/textreeview.h"

#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

KvTVPage::KvTVPage(const QString& id, KvTVFolder* parent, bool atEnd) : KvPage(id, parent, atEnd)
{
    KV_LOG_SCOPE("KvTVPage::KvTVPage");
    QTreeWidgetItem* parentNode = parent ? parent->Node() : nullptr;
    m_tree = parent ? parent->Tree() : nullptr;
    m_node = new KvTreeNode(this, this);
    m_node->setText(0, Name());
    TexTreeView::SetNodeKind(m_node, KvNodeKind::Page);
    UpdateIcons(true);
    if (parentNode) {
        if (atEnd)
            parentNode->addChild(m_node);
        else
            parentNode->insertChild(0, m_node);
    }
}

KvTVPage::~KvTVPage()
{
    ElementGone(this);
    delete m_edit;
    delete m_notice;
    delete m_plainHolder;
    delete m_tab;
    DeleteNode();
}

KvTVFolder* KvTVPage::folder() const
{
    return dynamic_cast<KvTVFolder*>(Parent());
}

bool KvTVPage::tabsShown() const
{
    const KvTVFolder* f = folder();
    return f && f->GetTabMode() != KvFolder::NoTabs;
}

QString KvTVPage::TabCaption(const QString& name)
{
    QString caption = name;
    caption.replace(u'&', u"&&"_qs);
    return caption;
}

void KvTVPage::UpdateIcons(bool noRepaint)
{
    const int image = KvStatusImages::ForPage(GetStatus());
    const int state = GetWriteProtect() && GetWritable() ? KvStatusImages::Lock : -1;
    if (m_area && m_tab) {
        const int at = m_area->indexOf(m_tab);
        if (at >= 0 && m_tree)
            m_area->setTabIcon(at, m_tree->Image(image));
    }
    if (m_node) {
        if (m_tree) {
            m_tree->SetNodeImages(m_node, image, state);
        } else {
            m_node->setData(0, TexTreeView::ImageRole, image);
            m_node->setData(0, TexTreeView::StateImageRole, state);
        }
    }
    if (!noRepaint && m_tree)
        m_tree->viewport()->update();
    m_lastImage = image;
    m_lastState = state;
}

void KvTVPage::AttachToPageArea(QTabWidget* pageArea, bool show, bool noRepaint)
{
    KV_LOG_SCOPE("KvTVPage::AttachToPageArea");
    if (show) {
        m_area = pageArea;
        if (tabsShown() && !m_tab && m_area) {
            m_tab = new QWidget;
            auto* layout = new QVBoxLayout(m_tab);
            layout->setContentsMargins(0, 0, 0, 0);
            m_area->addTab(m_tab, TabCaption(Name()));
        }
        UpdateIcons(noRepaint);
    } else {
        if (IsLoaded())
            Unload();
        m_area = nullptr;
        delete m_edit;
        delete m_notice;
        delete m_plainHolder;
        delete m_tab;
    }
    NotifyReferrers(NameChanged);
}

QWidget* KvTVPage::holder(bool create)
{
    if (m_tab)
        return m_tab;
    if (!m_plainHolder && create && m_area) {
        m_plainHolder = new QWidget;
        auto* layout = new QVBoxLayout(m_plainHolder);
        layout->setContentsMargins(0, 0, 0, 0);
        m_area->addTab(m_plainHolder, QString());
    }
    return m_plainHolder;
}

void KvTVPage::showInArea()
{
    if (!m_area)
        return;
    if (QWidget* h = holder(true)) {
        const QSignalBlocker block(m_area);
        m_area->setCurrentWidget(h);
    }
    m_area->setVisible(true);
}

void KvTVPage::showPasswordNotice()
{
    QWidget* h = holder(true);
    if (!h)
        return;
    if (!m_notice) {
        m_notice = new QLabel(h);
        m_notice->setAlignment(Qt::AlignCenter);
        m_notice->setWordWrap(true);
        m_notice->setFont(h->font());
        h->layout()->addWidget(m_notice);
    }
    m_notice->setText(u"\r\n"_qs + KvTexts::Text(5510));
    m_notice->show();
    showInArea();
}

void KvTVPage::Load(bool show, bool keepPlainFile)
{
    KV_LOG_SCOPE("KvTVPage::Load");
    if (show)
        showInArea();
    if (m_notice)
        m_notice->hide();
    try {
        KvPage::Load(show, keepPlainFile);
    } catch (const EWrongPassword&) {
        if (show)
            showPasswordNotice();
        throw;
    }
}

void KvTVPage::Unload()
{
    KV_LOG_SCOPE("KvTVPage::Unload");
    if (m_edit) {
        m_edit->Detach();
        delete m_edit;
    }
    KvPage::Unload();
    if (!m_tab && !m_notice)
        delete m_plainHolder;
}

void KvTVPage::CreateEditor(bool show)
{
    KV_LOG_SCOPE("KvTVPage::CreateEditor");
    KvPage::CreateEditor(show);
    delete m_edit;
    if (!show)
        return;
    QWidget* h = holder(true);
    m_edit = new TexRichEdit(h);
    m_edit->setObjectName(u"PageEditor"_qs);
    if (h)
        h->layout()->addWidget(m_edit);
    m_edit->Attach(GetEditor());
    m_edit->SetAutoUrlDetect(false);
}

void KvTVPage::followName()
{
    if (m_node)
        m_node->setText(0, Name());
    if (m_area && m_tab) {
        const int at = m_area->indexOf(m_tab);
        if (at >= 0)
            m_area->setTabText(at, TabCaption(Name()));
    }
}

void KvTVPage::SetName(const QString& name)
{
    KvPage::SetName(name);
    followName();
}

void KvTVPage::SetWriteProtect(bool on)
{
    KvPage::SetWriteProtect(on);
    UpdateIcons(true);
}

void KvTVPage::SetStatus(int status)
{
    KvPage::SetStatus(status);
    UpdateIcons(true);
}

void KvTVPage::SetWritable(bool writable)
{
    KvPage::SetWritable(writable);
    UpdateIcons(true);
}

void KvTVPage::Remove()
{
    KV_LOG_SCOPE("KvTVPage::Remove");
    KvPage::Remove();
    delete m_edit;
    delete m_notice;
    delete m_plainHolder;
    delete m_tab;
    DeleteNode();
}

void KvTVPage::MoveUp()
{
    KV_LOG_SCOPE("KvTVPage::MoveUp");
    CheckRemoved();
    if (m_node && m_node->parent()) {
        QTreeWidgetItem* parentNode = m_node->parent();
        const int at = parentNode->indexOfChild(m_node);
        if (at > 0) {
            QTreeWidgetItem* previous = parentNode->child(at - 1);
            const bool previousIsPage = TexTreeView::NodeKind(previous) == KvNodeKind::Page;
            parentNode->takeChild(at);
            parentNode->insertChild(at - 1, m_node);
            if (m_area && m_area->isVisible() && m_tab && previousIsPage) {
                const int tabAt = m_area->indexOf(m_tab);
                if (tabAt > 0)
                    m_area->tabBar()->moveTab(tabAt, tabAt - 1);
            }
        }
    }
    UpdateIcons(false);
    KvPage::MoveUp();
}

void KvTVPage::OnTargetNotify(NotifyKind kind)
{
    KvPage::OnTargetNotify(kind);
    if (kind == NameChanged && !IsRemoved()) {
        followName();
        UpdateIcons(true);
    }
}

void KvTVPage::PassToTarget(NotifyKind kind)
{
    KvPage::PassToTarget(kind);
    if (kind == NameChanged && !IsRemoved()) {
        if (auto* target = dynamic_cast<KvTVPage*>(Target())) {
            target->followName();
            target->UpdateIcons(true);
        }
    }
}

void ShowPagesInTabs(KvFolder* folder, QTabWidget* pageArea, bool show)
{
    KV_LOG_SCOPE("ShowPagesInTabs");
    if (!folder || !pageArea)
        return;
    QString focusId;
    if (show) {
        for (KvObject* child : folder->Children()) {
            auto* page = dynamic_cast<KvTVPage*>(child);
            if (page && page->EditorWidget() && page->EditorWidget()->hasFocus())
                focusId = page->Id();
        }
    }
    pageArea->hide();
    const QSignalBlocker block(pageArea);
    bool any = false;
    for (KvObject* child : folder->Children()) {
        if (auto* page = dynamic_cast<KvTVPage*>(child)) {
            page->AttachToPageArea(pageArea, show, true);
            any = true;
        }
    }
    if (show && any) {
        pageArea->tabBar()->setVisible(folder->GetTabMode() != KvFolder::NoTabs);
        pageArea->setVisible(true);
        if (!focusId.isEmpty()) {
            auto* page = dynamic_cast<KvTVPage*>(FindObject(focusId));
            if (page && page->IsLoaded() && page->EditorWidget())
                page->EditorWidget()->setFocus();
        }
    }
}
