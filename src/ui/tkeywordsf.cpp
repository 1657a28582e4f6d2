#include "ui/tkeywordsf.h"

#include "app/kvformres.h"
#include "app/kvhelphook.h"
#include "app/kvidledriver.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "lists/kvsearchformsettings.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "platform/kvexception.h"
#include "store/texprofilefile.h"
#include "store/waitcrsr.h"
#include "ui/kvdialogplace.h"
#include "ui/kvlanguageinit.h"
#include "ui/kvmenubuilder.h"
#include "ui/kvmenuimages.h"
#include "ui/kvresultlistview.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

using KvCompose::Named;

namespace {

TKeywordsF* g_active = nullptr;

constexpr int kHelpContext = 1300;
constexpr int kDefaultKeywordPanelWidth = 160;

const QString kSelKeyword = u"SelKeyword"_qs;
const QString kKeywordPWidth = u"KeywordPWidth"_qs;
const QString kFldrColumnWidth = u"FldrColumnWidth"_qs;
const QString kShowFullPath = u"ShowFullPath"_qs;
const QString kHideReferrers = u"HideReferrers"_qs;

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& hint = {})
{
    auto* b = Named(new QPushButton(caption, parent), name);
    if (!hint.isEmpty())
        b->setStatusTip(hint);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TKeywordsF::TKeywordsF(TMainF& main, bool mayShowElements, QWidget* parent)
    : QDialog(parent ? parent : &main), m_main(main), m_mayShowElements(mayShowElements)
{
    KV_LOG_SCOPE("TKeywordsF::FormCreate");
    setObjectName(DialogName);
    QString title = KvTexts::Text(11060);
    if (!main.Shell().fullAccess)
        title += u' ' + KvTexts::Text(5201);
    setWindowTitle(title);
    setSizeGripEnabled(true);
    createControls();
    KvLanguageInit::ResolveWidgetTree(this);
    readSettings();
    FillKwdList();
    // The enabled states follow the selections whenever the program is idle.
    auto* idle = new KvIdleDriver([this] { EnableCommands(); }, this);
    idle->SetActive(true);
    g_active = this;
}

TKeywordsF::~TKeywordsF()
{
    if (g_active == this)
        g_active = nullptr;
}

TKeywordsF* TKeywordsF::Active()
{
    return g_active;
}

void TKeywordsF::createControls()
{
    m_splitter = Named(new QSplitter(Qt::Horizontal, this), u"KeywordSp"_qs);
    auto* keywordP = Named(new QWidget(m_splitter), u"KeywordP"_qs);
    auto* left = new QVBoxLayout(keywordP);
    left->setContentsMargins(0, 0, 4, 0);
    m_kwdLbl = Named(new QLabel(keywordP), u"KwdLbl"_qs);
    m_positioningE = Named(new QLineEdit(keywordP), u"PositioningE"_qs);
    m_positioningE->setMaxLength(MaxPositioningLength);
    m_positioningE->setStatusTip(u"#18002"_qs);
    m_prevEntrySB = Named(new QToolButton(keywordP), u"PrevEntrySB"_qs);
    m_prevEntrySB->setArrowType(Qt::UpArrow);
    m_prevEntrySB->setStatusTip(u"#18005"_qs);
    m_nextEntrySB = Named(new QToolButton(keywordP), u"NextEntrySB"_qs);
    m_nextEntrySB->setArrowType(Qt::DownArrow);
    m_nextEntrySB->setStatusTip(u"#18004"_qs);
    m_prevEntrySB->hide();
    m_nextEntrySB->hide();
    auto* position = new QHBoxLayout;
    position->addWidget(m_positioningE, 1);
    position->addWidget(m_prevEntrySB);
    position->addWidget(m_nextEntrySB);
    m_keywordsLB = Named(new QListWidget(keywordP), u"KeywordsLB"_qs);
    m_keywordsLB->setSelectionMode(QAbstractItemView::SingleSelection);
    left->addWidget(m_kwdLbl);
    left->addLayout(position);
    left->addWidget(m_keywordsLB, 1);

    auto* objectsP = Named(new QWidget(m_splitter), u"ObjectsP"_qs);
    auto* right = new QVBoxLayout(objectsP);
    right->setContentsMargins(4, 0, 0, 0);
    m_objLbl = Named(new QLabel(objectsP), u"ObjLbl"_qs);
    m_objectsLV = Named(new KvResultListView(objectsP), u"ObjectsLV"_qs);
    m_objectsLV->SetListenerName(u"TKeywordsF.ObjectsLV"_qs);
    m_objectsLV->setContextMenuPolicy(Qt::CustomContextMenu);
    TexTreeView* tree = m_main.Controls().folderTv;
    m_objectsLV->SetImageSource([tree](int image) { return tree->Image(image); });
    // Column clicks sort only where the directory may be written.
    m_objectsLV->SetSortLocked(!m_main.Shell().fullAccess);
    m_hideReferrersCB = Named(new QCheckBox(u"#18003"_qs, objectsP), u"HideReferrersCB"_qs);
    m_showFullPathCB = Named(new QCheckBox(u"#16010"_qs, objectsP), u"ShowFullPathCB"_qs);
    m_showFullPathCB->setStatusTip(u"#16013"_qs);
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(m_hideReferrersCB);
    boxes->addWidget(m_showFullPathCB);
    boxes->addStretch(1);
    right->addWidget(m_objLbl);
    right->addWidget(m_objectsLV, 1);
    right->addLayout(boxes);
    m_splitter->setStretchFactor(1, 1);

    m_copySB = Named(new QToolButton(this), u"CopySB"_qs);
    m_copySB->setText(u"#1207"_qs);
    m_copySB->setIcon(KvMenuImages::Icon(u"COPY"_qs));
    m_copySB->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_copySB->setStatusTip(u"#18006"_qs);
    m_applyBtn = Button(this, u"ApplyBtn"_qs, u"#4007"_qs, u"#18001"_qs);
    m_showObjectBtn = Button(this, u"ShowObjectBtn"_qs, u"#16007"_qs, u"#16008"_qs);
    m_closeBtn = Button(this, u"CloseBtn"_qs, u"#12040"_qs);
    m_closeBtn->setDefault(true);
    m_showObjectBtn->setVisible(m_mayShowElements);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copySB);
    buttons->addStretch(1);
    buttons->addWidget(m_applyBtn);
    buttons->addWidget(m_showObjectBtn);
    buttons->addWidget(m_closeBtn);

    auto* form = new QVBoxLayout(this);
    form->addWidget(m_splitter, 1);
    form->addLayout(buttons);

    m_objectsPM = Named(new QMenu(this), u"ObjectsPM"_qs);
    m_showPMI = m_objectsPM->addAction(u"#16007"_qs);
    m_showPMI->setObjectName(u"ShowObjectPMI"_qs);
    m_hyperlinkPMI = m_objectsPM->addAction(u"#2302"_qs);
    m_hyperlinkPMI->setObjectName(u"HyperlinkPMI"_qs);
    m_showPMI->setVisible(m_mayShowElements);

    connect(m_positioningE, &QLineEdit::textChanged, this, &TKeywordsF::positioningChanged);
    connect(m_nextEntrySB, &QToolButton::clicked, this, &TKeywordsF::NextEntrySBClick);
    connect(m_prevEntrySB, &QToolButton::clicked, this, &TKeywordsF::PrevEntrySBClick);
    connect(m_keywordsLB, &QListWidget::currentRowChanged, this, [this] { RefreshObjectsLV(); });
    connect(m_keywordsLB, &QListWidget::itemDoubleClicked, this, [this] {
        if (m_selectMode)
            CloseBtnClick();
    });
    connect(m_objectsLV, &KvResultListView::showRequested, this, [this] {
        if (m_mayShowElements)
            ShowObjectBtnClick();
    });
    connect(m_objectsLV, &QWidget::customContextMenuRequested, this, &TKeywordsF::showObjectMenu);
    connect(m_hideReferrersCB, &QCheckBox::clicked, this, &TKeywordsF::hideReferrersClicked);
    connect(m_showFullPathCB, &QCheckBox::toggled, m_objectsLV, &KvResultListView::SetFullPath);
    connect(m_copySB, &QToolButton::clicked, this, &TKeywordsF::CopySBClick);
    connect(m_applyBtn, &QPushButton::clicked, this, [this] {
        if (m_apply)
            m_apply();
    });
    connect(m_showObjectBtn, &QPushButton::clicked, this, &TKeywordsF::ShowObjectBtnClick);
    connect(m_closeBtn, &QPushButton::clicked, this, &TKeywordsF::CloseBtnClick);
    connect(m_showPMI, &QAction::triggered, this, &TKeywordsF::ShowObjectBtnClick);
    connect(m_hyperlinkPMI, &QAction::triggered, this, &TKeywordsF::HyperlinkPMIClick);
    resize(620, 420);
}

void TKeywordsF::readSettings()
{
    KvFormRes res;
    KvDialogPlace::Restore(*this, FormName, true);
    const TexProfileFile& f = res.Settings();
    m_rememberedKeyword = f.ReadString(FormName, kSelKeyword, QString());
    const int panel = f.ReadInteger(FormName, kKeywordPWidth, kDefaultKeywordPanelWidth);
    m_splitter->setSizes({std::max(panel, 1), std::max(width() - panel, 1)});
    m_objectsLV->SetFirstColumnWidth(
        f.ReadInteger(FormName, kFldrColumnWidth, KvSearchFormSettings::DefaultColumnWidth));
    m_showFullPathCB->setChecked(f.ReadBool(FormName, kShowFullPath, false));
    m_objectsLV->SetFullPath(m_showFullPathCB->isChecked());
    m_hideReferrersCB->setChecked(f.ReadBool(FormName, kHideReferrers, true));
}

void TKeywordsF::writeSettings()
{
    KV_LOG_SCOPE("TKeywordsF::SaveFormSettings");
    // A settings file that cannot be written is logged and costs the dialog nothing.
    try {
        KvFormRes res;
        res.Store(FormName, QRect(frameGeometry().topLeft(), size()), true, isMaximized());
        TexProfileFile& f = res.Settings();
        f.WriteString(FormName, kSelKeyword, SelectedKeyword());
        f.WriteInteger(FormName, kKeywordPWidth, m_splitter->sizes().value(0));
        f.WriteInteger(FormName, kFldrColumnWidth, m_objectsLV->FirstColumnWidth());
        f.WriteBool(FormName, kShowFullPath, m_showFullPathCB->isChecked());
        f.WriteBool(FormName, kHideReferrers, m_hideReferrersCB->isChecked());
        f.UpdateFile();
    } catch (const KvException& e) {
        KvAppLog::Write(e.Message());
    }
}

void TKeywordsF::SetApplyHandler(std::function<void()> apply)
{
    m_apply = std::move(apply);
    EnableCommands();
}

int TKeywordsF::Run()
{
    return KvPrompter::Current().RunDialog(DialogName, [this] { return exec(); });
}

QString TKeywordsF::SelectedKeyword() const
{
    const QListWidgetItem* item = m_keywordsLB->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

QString TKeywordsF::SelectedObject() const
{
    return m_objectsLV->SelectedId();
}

QStringList TKeywordsF::keywordRows() const
{
    QStringList rows;
    rows.reserve(m_keywordsLB->count());
    for (int i = 0; i < m_keywordsLB->count(); ++i)
        rows.append(m_keywordsLB->item(i)->text());
    return rows;
}

void TKeywordsF::FillKwdList()
{
    KV_LOG_SCOPE("TKeywordsF::FillKwdList");
    WaitCrsr busy;
    m_keywords = std::make_unique<KvKeywords>();
    const int selected = m_keywordsLB->currentRow();
    {
        const QSignalBlocker block(m_keywordsLB);
        m_keywordsLB->clear();
        for (const auto& [normalized, entry] : m_keywords->Index(!m_hideReferrersCB->isChecked()))
            m_keywordsLB->addItem(entry.displayText);
    }
    const int count = m_keywordsLB->count();
    m_kwdLbl->setText(QString::number(count) + u' ' + KvTexts::Text(count == 1 ? 11064 : 11060));
    m_positioningE->setEnabled(count > 0);
    if (selected >= 0 && selected < count) {
        const QSignalBlocker block(m_keywordsLB);
        m_keywordsLB->setCurrentRow(selected);
    }
    RefreshObjectsLV();
}

void TKeywordsF::RefreshObjectsLV()
{
    const QString keyword = SelectedKeyword();
    QStringList ids;
    if (!keyword.isEmpty()) {
        const KvKeywords::KeywordIndex& index = m_keywords->Index(!m_hideReferrersCB->isChecked());
        if (const auto it = index.find(KvKeywords::Normalize(keyword)); it != index.end())
            ids = it->second.objects;
    }
    m_objectsLV->SetIds(KvKeywords::ElementRows(ids, m_hideReferrersCB->isChecked()));
    // The main window's current page is selected when the keyword lists it.
    if (const KvObject* page = m_main.CurrentPage())
        m_objectsLV->SelectId(page->Id());
    updateObjectCount();
    EnableCommands();
}

void TKeywordsF::hideReferrersClicked()
{
    m_objectsLV->SetIds(
        KvKeywords::ElementRows(m_objectsLV->Ids(), m_hideReferrersCB->isChecked()));
    updateObjectCount();
}

void TKeywordsF::updateObjectCount()
{
    m_objLbl->setText(KvTexts::Text(18000) + QString::number(m_objectsLV->Count()));
}

void TKeywordsF::KeywordAdded2Object(const QString& keyword, const KvObject& obj)
{
    KV_LOG_SCOPE("TKeywordsF::KeywordAdded2Object");
    m_keywords->Index(!m_hideReferrersCB->isChecked());
    m_keywords->KeywordAdded(keyword, obj, m_hideReferrersCB->isChecked());
    RefreshObjectsLV();
}

void TKeywordsF::positioningChanged(const QString& text)
{
    const int row = m_positioning.TextChanged(text, keywordRows());
    const bool steps = m_positioning.ShowsStepButtons();
    m_nextEntrySB->setVisible(steps);
    m_prevEntrySB->setVisible(steps);
    if (row >= 0)
        positionAt(row);
    updateFieldColour();
}

void TKeywordsF::updateFieldColour()
{
    // Red while nothing fits; an empty field only loses the red.
    QPalette palette = m_positioningE->palette();
    palette.setColor(QPalette::Base, m_positioning.NotFound()
                                         ? QColor(Qt::red)
                                         : QGuiApplication::palette().color(QPalette::Base));
    m_positioningE->setPalette(palette);
}

void TKeywordsF::positionAt(int row)
{
    if (row < 0 || row >= m_keywordsLB->count())
        return;
    m_keywordsLB->setCurrentRow(row);
    m_keywordsLB->scrollToItem(m_keywordsLB->item(row), QAbstractItemView::PositionAtTop);
}

void TKeywordsF::SetPositioningText(const QString& text)
{
    m_positioningE->setText(text.left(MaxPositioningLength));
}

void TKeywordsF::NextEntrySBClick()
{
    positionAt(m_positioning.Next(keywordRows(), m_keywordsLB->currentRow()));
    updateFieldColour();
}

void TKeywordsF::PrevEntrySBClick()
{
    positionAt(m_positioning.Previous(keywordRows(), m_keywordsLB->currentRow()));
    updateFieldColour();
}

void TKeywordsF::CopySBClick()
{
    const QString keyword = SelectedKeyword();
    if (!keyword.isEmpty())
        QGuiApplication::clipboard()->setText(keyword);
}

void TKeywordsF::ShowObjectBtnClick()
{
    EnableCommands();
    if (!m_showObjectBtn->isEnabled())
        return;
    m_showObjectBtn->setEnabled(false);
    writeSettings();
    done(ShowElement);
}

void TKeywordsF::CloseBtnClick()
{
    EnableCommands();
    if (!m_closeBtn->isEnabled())
        return;
    writeSettings();
    done(Closed);
}

void TKeywordsF::HyperlinkPMIClick()
{
    const QString links = m_objectsLV->SelectedLinkTexts();
    if (!links.isEmpty())
        QGuiApplication::clipboard()->setText(links);
}

void TKeywordsF::ShowSelectMode()
{
    m_selectMode = true;
    m_closeBtn->setText(KvTexts::Text(4000));
    m_closeBtn->setStatusTip(QString());
    m_closeBtn->setToolTip(QString());
    m_closeBtn->setIcon(KvMenuImages::Icon(u"OK"_qs));
    EnableCommands();
}

void TKeywordsF::EnableCommands()
{
    const bool keyword = !SelectedKeyword().isEmpty();
    const int rows = m_objectsLV->Count();
    const int selected = m_objectsLV->SelectedCount();
    m_applyBtn->setEnabled(keyword && m_apply);
    m_objectsLV->setEnabled(rows > 0);
    const bool show = m_mayShowElements && selected == 1;
    m_showObjectBtn->setEnabled(show);
    m_showPMI->setEnabled(show);
    m_hyperlinkPMI->setEnabled(selected > 0);
    m_showFullPathCB->setEnabled(m_objectsLV->isEnabled());
    m_hideReferrersCB->setEnabled(m_objectsLV->isEnabled());
    m_copySB->setEnabled(keyword);
    m_closeBtn->setEnabled(!m_selectMode || keyword);
}

void TKeywordsF::showObjectMenu(const QPoint& pos)
{
    EnableCommands();
    m_objectsPM->popup(m_objectsLV->viewport()->mapToGlobal(pos));
}

void TKeywordsF::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_positioningE->isEnabled()) {
        m_positioningE->setFocus();
        // The keyword of the last time, found as if typed; the field stays empty.
        if (m_positioningE->text().isEmpty() && !m_rememberedKeyword.isEmpty()) {
            SetPositioningText(m_rememberedKeyword);
            m_positioningE->clear();
        }
    }
    if (m_keywordsLB->currentRow() < 0 && m_keywordsLB->count() > 0)
        m_keywordsLB->setCurrentRow(0);
    EnableCommands();
}

void TKeywordsF::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Escape:
        done(Cancelled);
        return;
    case Qt::Key_F1:
        KvHelpHook::ShowTopic(kHelpContext);
        return;
    default:
        QDialog::keyPressEvent(e);
    }
}
