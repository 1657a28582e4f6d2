// The search window: its controls, folder choice, paste, hints, keys and closing. Its
// criteria and settings: tsearchf_criteria.cpp; the search itself: tsearchf_run.cpp.
#include "ui/tsearchf.h"

#include "app/kvhelphook.h"
#include "app/kvidledriver.h"
#include "app/kvtexts.h"
#include "commands/kvclipboardwatch.h"
#include "lists/kvsearchthread.h"
#include "model/kvfolder.h"
#include "platform/applog.h"
#include "ui/kvlanguageinit.h"
#include "ui/kvmainsearch.h"
#include "ui/kvmenubuilder.h"
#include "ui/kvresultlistview.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/kvtvfolder.h"
#include "ui/texcombobox.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"
#include "ui/tobjselectf.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCompleter>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

using KvCompose::Named;

namespace {

constexpr int kHelpContext = 1200;

QCheckBox* Box(QWidget* parent, const QString& name, int caption, int hint = 0)
{
    auto* box = Named(new QCheckBox(u"#%1"_qs.arg(caption), parent), name);
    if (hint)
        box->setStatusTip(u"#%1"_qs.arg(hint));
    return box;
}

QPushButton* Button(QWidget* parent, const QString& name, int caption, int hint)
{
    auto* b = Named(new QPushButton(u"#%1"_qs.arg(caption), parent), name);
    b->setStatusTip(u"#%1"_qs.arg(hint));
    // Enter starts the search wherever the focus is; no button takes it for itself.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

} // namespace

TSearchF::TSearchF(TMainF& main) : QDialog(&main), m_main(main)
{
    KV_LOG_SCOPE("TSearchF::FormCreate");
    setObjectName(FormName);
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window takes no input while this window shows, yet nothing waits for it.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(u"#12000"_qs);
    setSizeGripEnabled(true);
    createControls();
    layoutControls();
    KvLanguageInit::ResolveWidgetTree(this);
    connectControls();
    fillStatusChoice();
    m_crit = m_main.Search().LastCriteria();
    readSettings();
    m_searchInFldrRB->setChecked(true);
    FormInitialize(defaultFolder());
    m_clipboard = new KvClipboardWatch(this);
    m_idle = new KvIdleDriver([this] { EnableCommands(); }, this);
}

TSearchF::~TSearchF()
{
    KV_LOG_SCOPE("TSearchF::FormDestroy");
    // A search still running stops and its workers are joined without reports.
    m_search.reset();
}

void TSearchF::createControls()
{
    m_searchtxtCoB = Named(new TexComboBox(this), u"SearchtxtCoB"_qs);
    m_searchtxtCoB->setStatusTip(u"#12004"_qs);
    m_fullWord1CB = Box(this, u"FullWord1CB"_qs, 12002, 12006);
    m_caseSens1CB = Box(this, u"CaseSens1CB"_qs, 12003, 12007);
    m_condCoB = Named(new QComboBox(this), u"CondCoB"_qs);
    m_condCoB->addItems({u"12030"_qs, u"12031"_qs, u"12055"_qs});
    m_searchtxt2CoB = Named(new TexComboBox(this), u"Searchtxt2CoB"_qs);
    m_searchtxt2CoB->setStatusTip(u"#12005"_qs);
    m_fullWord2CB = Box(this, u"FullWord2CB"_qs, 12002, 12006);
    m_caseSens2CB = Box(this, u"CaseSens2CB"_qs, 12003, 12007);
    for (TexComboBox* box : {m_searchtxtCoB, m_searchtxt2CoB}) {
        box->setMinimumContentsLength(30);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->SetHistoryLines(HistoryLines);
        // Earlier terms are offered, never filled in: "Vertrag" typed before Enter must not
        // search for a longer term of the history that begins with it.
        box->completer()->setCompletionMode(QCompleter::PopupCompletion);
    }

    m_searchPageNamesCB = Box(this, u"SearchPageNamesCB"_qs, 12009);
    m_searchFldrNamesCB = Box(this, u"SearchFldrNamesCB"_qs, 12010);
    m_searchTextCB = Box(this, u"SearchTextCB"_qs, 12011);
    m_searchTextPwCB = Box(this, u"SearchTextPwCB"_qs, 12012);
    m_searchPageKeywCB = Box(this, u"SearchPageKeywCB"_qs, 12013);
    m_searchFldrKeywCB = Box(this, u"SearchFldrKeywCB"_qs, 12018);

    m_searchModDateCB = Box(this, u"SearchModDateCB"_qs, 12050, 12051);
    m_modifiedCoB = Named(new QComboBox(this), u"ModifiedCoB"_qs);
    m_modifiedCoB->addItems({u"12052"_qs, u"12053"_qs, u"12054"_qs});
    m_modDateDTP = Named(new QDateEdit(QDate::currentDate(), this), u"ModDateDTP"_qs);
    m_modDateDTP->setCalendarPopup(true);
    m_modDateDTP->setDisplayFormat(u"dd.MM.yyyy"_qs);
    m_searchStatusCB = Box(this, u"SearchStatusCB"_qs, 12060, 12070);
    m_pageStatusCB = Named(new QComboBox(this), u"PageStatusCB"_qs);

    m_searchFolderE = Named(new QLineEdit(this), u"SearchFolderE"_qs);
    m_searchFolderE->setReadOnly(true);
    m_searchFldrBtn = Named(new QToolButton(this), u"SearchFldrBtn"_qs);
    m_searchFldrBtn->setText(u"..."_qs);
    m_searchFldrBtn->setStatusTip(u"#12023"_qs);
    m_lowerFldrCB = Box(this, u"LowerFldrCB"_qs, 12025);
    m_searchInFldrRB = Named(new QRadioButton(u"#12032"_qs, this), u"SearchInFldrRB"_qs);
    m_searchInResultListRB =
        Named(new QRadioButton(u"#12033"_qs, this), u"SearchInResultListRB"_qs);

    m_startBtn = Button(this, u"StartBtn"_qs, 12035, 12036);
    m_stopBtn = Button(this, u"StopBtn"_qs, 12038, 12039);
    m_pasteBtn = Button(this, u"PasteBtn"_qs, 12042, 12042);
    // The paste text is a hint only: its short part is the caption.
    m_pasteBtn->setText(KvTexts::SplitHint(KvTexts::Text(12042)).tooltip);
    m_closeBtn = Button(this, u"CloseBtn"_qs, 12040, 12040);

    m_resultLbl = Named(new QLabel(u"#12046"_qs, this), u"ResultLbl"_qs);
    m_foundLbl = Named(new QLabel(this), u"FoundLbl"_qs);
    m_resultLV = Named(new KvResultListView(this), u"ResultLV"_qs);
    m_resultLV->SetListenerName(u"TSearchF.ResultLV"_qs);
    m_resultLV->setStatusTip(u"5400"_qs);
    m_resultLV->setProperty(KvLanguageInit::BareHintProperty, true);
    m_resultLV->setContextMenuPolicy(Qt::CustomContextMenu);
    m_resultLV->setMinimumHeight(160);
    TexTreeView* tree = m_main.Controls().folderTv;
    m_resultLV->SetImageSource([tree](int image) { return tree->Image(image); });
    m_showFullPathCB = Box(this, u"ShowFullPathCB"_qs, 12044);

    m_resultPM = Named(new QMenu(this), u"ResultLVPM"_qs);
    QAction* show = m_resultPM->addAction(u"#2300"_qs);
    show->setObjectName(u"ShowPagePMI"_qs);
    QAction* link = m_resultPM->addAction(u"#2302"_qs);
    link->setObjectName(u"HyperlinkPMI"_qs);
    connect(show, &QAction::triggered, this, &TSearchF::ResultLVDblClick);
    connect(link, &QAction::triggered, this, &TSearchF::HyperlinkPMIClick);

    m_statusBar = Named(new QStatusBar(this), u"StatusBar"_qs);
    m_statusBar->setSizeGripEnabled(false);
    m_statusLbl = Named(new QLabel(this), u"StatusPanel0"_qs);
    m_statusLbl->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_statusBar->addWidget(m_statusLbl, 1);
}

void TSearchF::layoutControls()
{
    auto* form = new QVBoxLayout(this);
    form->setContentsMargins(8, 8, 8, 0);

    // The terms, their link and the options of each.
    auto* terms = new QGridLayout;
    auto* termLbl = Named(new QLabel(u"#12001"_qs, this), u"SearchtxtLbl"_qs);
    termLbl->setBuddy(m_searchtxtCoB);
    terms->addWidget(termLbl, 0, 0);
    terms->addWidget(m_searchtxtCoB, 0, 1);
    terms->addWidget(m_fullWord1CB, 0, 2);
    terms->addWidget(m_caseSens1CB, 0, 3);
    terms->addWidget(m_condCoB, 1, 1, Qt::AlignLeft);
    terms->addWidget(m_searchtxt2CoB, 2, 1);
    terms->addWidget(m_fullWord2CB, 2, 2);
    terms->addWidget(m_caseSens2CB, 2, 3);
    terms->setColumnStretch(1, 1);

    // The places to search in, beside the commands.
    auto* places = Named(new QGroupBox(u"#12008"_qs, this), u"SearchInGB"_qs);
    auto* placesGrid = new QGridLayout(places);
    placesGrid->addWidget(m_searchPageNamesCB, 0, 0);
    placesGrid->addWidget(m_searchFldrNamesCB, 1, 0);
    placesGrid->addWidget(m_searchTextCB, 2, 0);
    auto* pw = new QHBoxLayout;
    pw->addSpacing(20);
    pw->addWidget(m_searchTextPwCB);
    placesGrid->addLayout(pw, 3, 0);
    placesGrid->addWidget(m_searchPageKeywCB, 0, 1);
    placesGrid->addWidget(m_searchFldrKeywCB, 1, 1);

    auto* filters = new QGridLayout;
    filters->addWidget(m_searchModDateCB, 0, 0);
    filters->addWidget(m_modifiedCoB, 0, 1);
    filters->addWidget(m_modDateDTP, 0, 2);
    filters->addWidget(m_searchStatusCB, 1, 0);
    filters->addWidget(m_pageStatusCB, 1, 1, 1, 2);
    filters->setColumnStretch(3, 1);

    auto* folderRow = new QHBoxLayout;
    auto* folderLbl = Named(new QLabel(u"#12022"_qs, this), u"SearchFolderLbl"_qs);
    folderLbl->setBuddy(m_searchFolderE);
    folderRow->addWidget(folderLbl);
    folderRow->addWidget(m_searchFolderE, 1);
    folderRow->addWidget(m_searchFldrBtn);
    folderRow->addWidget(m_lowerFldrCB);
    auto* scopeRow = new QHBoxLayout;
    scopeRow->addWidget(m_searchInFldrRB);
    scopeRow->addWidget(m_searchInResultListRB);
    scopeRow->addStretch(1);

    auto* criteria = new QVBoxLayout;
    criteria->addWidget(places);
    criteria->addLayout(filters);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {m_startBtn, m_stopBtn, m_pasteBtn, m_closeBtn})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addLayout(criteria, 1);
    middle->addLayout(buttons);

    auto* found = new QHBoxLayout;
    found->addWidget(m_resultLbl);
    found->addWidget(m_foundLbl);
    found->addStretch(1);

    form->addLayout(terms);
    form->addLayout(middle);
    form->addLayout(folderRow);
    form->addLayout(scopeRow);
    form->addLayout(found);
    form->addWidget(m_resultLV, 1);
    form->addWidget(m_showFullPathCB);
    form->addWidget(m_statusBar);
    resize(720, 620);
}

void TSearchF::connectControls()
{
    connect(m_startBtn, &QPushButton::clicked, this, &TSearchF::StartBtnClick);
    connect(m_stopBtn, &QPushButton::clicked, this, &TSearchF::StopBtnClick);
    connect(m_pasteBtn, &QPushButton::clicked, this, &TSearchF::PasteBtnClick);
    connect(m_closeBtn, &QPushButton::clicked, this, &TSearchF::CloseBtnClick);
    connect(m_searchFldrBtn, &QToolButton::clicked, this, &TSearchF::SearchFldrBtnClick);
    connect(m_resultLV, &KvResultListView::showRequested, this, &TSearchF::ResultLVDblClick);
    connect(m_resultLV, &KvResultListView::rowsChanged, this,
            [this] { m_foundLbl->setText(KvSearchResultPanel::FoundText(m_resultLV->Count())); });
    connect(m_resultLV, &QWidget::customContextMenuRequested, this, &TSearchF::showResultMenu);
    connect(m_showFullPathCB, &QCheckBox::toggled, m_resultLV, &KvResultListView::SetFullPath);
    for (QCheckBox* box : {m_searchTextCB, m_searchTextPwCB})
        connect(box, &QCheckBox::clicked, this, [this] { placeClicked(true); });
    for (QCheckBox* box : {m_searchPageNamesCB, m_searchFldrNamesCB, m_searchPageKeywCB,
                           m_searchFldrKeywCB, m_searchModDateCB, m_searchStatusCB})
        connect(box, &QCheckBox::clicked, this, [this] { placeClicked(false); });
    // Paste goes into the term box that had the focus last.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && (now == m_searchtxtCoB || m_searchtxtCoB->isAncestorOf(now)))
            m_lastTermBoxSecond = false;
        else if (now && (now == m_searchtxt2CoB || m_searchtxt2CoB->isAncestorOf(now)))
            m_lastTermBoxSecond = true;
    });
    // Enter in a term box starts the search as anywhere in the window.
    for (TexComboBox* box : {m_searchtxtCoB, m_searchtxt2CoB}) {
        connect(box->lineEdit(), &QLineEdit::returnPressed, this, [this] {
            EnableCommands();
            if (m_startBtn->isEnabled())
                StartBtnClick();
        });
    }
    // The folder and its subfolders count only for a new search in the folder.
    connect(m_searchInFldrRB, &QRadioButton::toggled, this, [this] { EnableCommands(); });
}

void TSearchF::SearchFldrBtnClick()
{
    KV_LOG_SCOPE("TSearchF::SearchFldrBtnClick");
    QList<KvFolder*> roots;
    for (KvFolder* root : {static_cast<KvFolder*>(m_main.TopFolder()),
                           static_cast<KvFolder*>(m_main.TrashFolder())}) {
        if (root)
            roots.append(root);
    }
    TObjSelectF chooser(roots, TObjSelectF::KindFolder, m_folderId, m_main.Controls().folderTv,
                        this);
    KvObject* chosen = chooser.Execute();
    // The chosen folder among the roots and everything below them.
    auto* folder = chosen ? dynamic_cast<KvFolder*>(FindObject(chosen->Id())) : nullptr;
    if (!folder || folder->IsRemoved())
        return;
    m_folderId = folder->Id();
    m_searchFolderE->setText(folder->Name());
    m_searchFolderE->setCursorPosition(0);
}

void TSearchF::PasteBtnClick()
{
    TexComboBox* box = m_lastTermBoxSecond ? m_searchtxt2CoB : m_searchtxtCoB;
    box->lineEdit()->paste();
    box->setFocus();
}

void TSearchF::HyperlinkPMIClick()
{
    const QString links = m_resultLV->SelectedLinkTexts();
    if (!links.isEmpty())
        QGuiApplication::clipboard()->setText(links);
}

void TSearchF::showResultMenu(const QPoint& pos)
{
    const int selected = m_resultLV->SelectedCount();
    m_resultPM->findChild<QAction*>(u"ShowPagePMI"_qs)
        ->setEnabled(selected == 1 && !SearchRunning());
    m_resultPM->findChild<QAction*>(u"HyperlinkPMI"_qs)->setEnabled(selected > 0);
    m_resultPM->popup(m_resultLV->viewport()->mapToGlobal(pos));
}

void TSearchF::setStatus(const QString& text)
{
    m_statusLbl->setText(text);
}

QString TSearchF::StatusText() const
{
    return m_statusLbl->text();
}

bool TSearchF::event(QEvent* e)
{
    // The hint of the control under the mouse; while a search runs, an empty hint says so.
    if (e->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(e)->tip();
        setStatus(tip.isEmpty() && SearchRunning() ? KvTexts::Text(12015) : tip);
        return true;
    }
    return QDialog::event(e);
}

void TSearchF::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    m_idle->SetActive(true);
    m_leftWindow = false;
    // Brought up again while its search goes on: it stays when the search ends.
    m_closeWhenSearchEnds = false;
    EnableCommands();
    m_searchtxtCoB->setFocus();
}

void TSearchF::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EnableCommands();
        if (m_startBtn->isEnabled())
            StartBtnClick();
        return;
    case Qt::Key_Escape:
        if (SearchRunning())
            StopBtnClick();
        else
            CloseBtnClick();
        return;
    case Qt::Key_F1:
        KvHelpHook::ShowTopic(kHelpContext);
        return;
    default:
        QDialog::keyPressEvent(e);
    }
}

void TSearchF::reject()
{
    // Closing by other means than the close button (a forced exit closes dialogs so).
    close();
}

void TSearchF::leave()
{
    m_idle->SetActive(false);
    if (!m_main.Shell().closing)
        m_main.ShowPart(KvWindowPart::SearchResults, true);
    if (m_leftWindow)
        return;
    m_leftWindow = true;
    // The saved results' selection is refreshed here once they exist.
    if (!m_main.Shell().closing) {
        m_main.activateWindow();
        m_main.RequestIdle();
    }
}

void TSearchF::CloseBtnClick()
{
    KV_LOG_SCOPE("TSearchF::CloseBtnClick");
    m_saveSettingsOnClose = true;
    leave();
    if (!SearchRunning()) {
        close();
        return;
    }
    // The search goes on into the main window's list; this window closes at its end.
    m_closeWhenSearchEnds = true;
    SynchronizeWithMainForm();
    hide();
}

void TSearchF::closeEvent(QCloseEvent* e)
{
    if (m_closing) {
        e->accept();
        return;
    }
    KV_LOG_SCOPE("TSearchF::FormClose");
    if (m_search && m_search->InReport()) {
        // Closed from inside a report (the search asks for a password): the report must
        // return before the search can end, so the window goes at the end of the search.
        m_search->Stop();
        m_closeWhenSearchEnds = true;
        hide();
        e->ignore();
        return;
    }
    m_closing = true;
    StopAndWait();
    formClose();
    e->accept();
}

void TSearchF::formClose()
{
    leave();
    if (m_saveSettingsOnClose)
        writeSettings();
    m_main.Search().OnSearchFormClose(*this);
}
