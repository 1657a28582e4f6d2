#include "ui/thyperlinkf.h"

#include "app/kvhelphook.h"
#include "app/kvpaths.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "links/kvlink.h"
#include "links/kvlinkinsert.h"
#include "platform/applog.h"
#include "store/texprofilefile.h"
#include "ui/kvdialogplace.h"
#include "ui/texcombobox.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QVBoxLayout>

namespace {

THyperlinkF* g_active = nullptr;

using Type = KvLinkInsert::Type;
using PathType = KvLinkInsert::PathType;

constexpr int kCaption = 1215;
constexpr int kLinkTo = 14000;
constexpr int kTarget = 14001;
constexpr int kFirstType = 14002; // 14002 ... 14008
constexpr int kSearch = 14010;
constexpr int kSearchHint = 14011;
constexpr int kPathType = 14018;
constexpr int kFirstPathType = 14020; // 14020 ... 14022
constexpr int kMayInsertUnchanged = 14600;
constexpr int kError = 5007;
constexpr int kKeywordRefused = 5754;
constexpr int kAllFiles = 5294;
constexpr int kChooseFile = 5755;
constexpr int kChooseFolder = 5370;
constexpr int kOk = 4000;
constexpr int kCancel = 4001;
constexpr int kHelp = 4002;
constexpr int kTypes = 7;
constexpr int kPathTypes = 3;

const QString kLinkType = u"LinkType"_qs;
const QString kPathOption = u"PathOption"_qs;

Type TypeOf(int index)
{
    return static_cast<Type>(std::clamp(index, 0, kTypes - 1));
}

// The element id in a target the element picker wrote: 11 characters from "Page" or
// "Fldr" on, after a "*".
QString ElementIdIn(const QString& target)
{
    for (const char16_t* kind : {u"*Fldr", u"*Page"}) {
        const qsizetype at = target.indexOf(QString::fromUtf16(kind));
        if (at >= 0)
            return target.mid(at + 1, 11);
    }
    return {};
}

} // namespace

THyperlinkF::THyperlinkF(const QString& dataDir, Pickers pickers, QWidget* parent)
    : QDialog(parent), m_dataDir(dataDir), m_pickers(std::move(pickers))
{
    KV_LOG_SCOPE("THyperlinkF::Create");
    setObjectName(DialogName);
    setWindowTitle(KvTexts::Text(kCaption));
    createControls();

    // The last type and path type, and the target history.
    TexProfileFile settings(KvPaths::SettingsFile());
    const int type = int(settings.ReadInteger(FormName, kLinkType, 0));
    const int pathOption = int(settings.ReadInteger(FormName, kPathOption, 0));
    m_linkCB->SetIniFile(KvPaths::SettingsFile());
    m_linkCB->SetIniSection(FormName);
    try {
        m_linkCB->RestoreHistory();
    } catch (const KvException&) {
        // No history yet.
    }
    SetPathOption(pathOption);
    SetLinkType(type);
    m_setUp = true;
    g_active = this;
}

THyperlinkF::~THyperlinkF()
{
    if (g_active == this)
        g_active = nullptr;
}

THyperlinkF* THyperlinkF::Active()
{
    return g_active;
}

void THyperlinkF::createControls()
{
    auto* layout = new QVBoxLayout(this);

    m_hyperlinkGB = new QGroupBox(KvTexts::Text(kLinkTo), this);
    m_hyperlinkGB->setObjectName(u"HyperlinkGB"_qs);
    auto* typesLayout = new QVBoxLayout(m_hyperlinkGB);
    m_types = new QButtonGroup(this);
    for (int i = 0; i < kTypes; ++i) {
        auto* b = new QRadioButton(KvTexts::Text(kFirstType + i), m_hyperlinkGB);
        b->setObjectName(u"HyperlinkRB%1"_qs.arg(i));
        m_types->addButton(b, i);
        typesLayout->addWidget(b);
    }
    layout->addWidget(m_hyperlinkGB);
    connect(m_types, &QButtonGroup::idClicked, this, &THyperlinkF::hyperlinkGBClick);

    auto* grid = new QGridLayout;
    auto* targetLbl = new QLabel(KvTexts::Text(kTarget), this);
    m_prefixE = new QLineEdit(this);
    m_prefixE->setObjectName(u"PrefixE"_qs);
    m_prefixE->setMaximumWidth(90);
    m_linkCB = new TexComboBox(this);
    m_linkCB->setObjectName(u"LinkCB"_qs);
    m_linkCB->setMinimumWidth(320);
    m_searchBB = new QPushButton(KvTexts::Text(kSearch), this);
    m_searchBB->setObjectName(u"SearchBB"_qs);
    const QString hint = KvTexts::Text(kSearchHint);
    m_searchBB->setToolTip(hint.section(u'|', 0, 0));
    m_searchBB->setStatusTip(hint.section(u'|', -1));
    targetLbl->setBuddy(m_linkCB);
    grid->addWidget(targetLbl, 0, 0, 1, 3);
    grid->addWidget(m_prefixE, 1, 0);
    grid->addWidget(m_linkCB, 1, 1);
    grid->addWidget(m_searchBB, 1, 2);
    m_pathOptionLbl = new QLabel(KvTexts::Text(kPathType), this);
    m_pathOptionLbl->setObjectName(u"PathOptionLbl"_qs);
    m_pathOptionsCoB = new QComboBox(this);
    m_pathOptionsCoB->setObjectName(u"PathOptionsCoB"_qs);
    for (int i = 0; i < kPathTypes; ++i)
        m_pathOptionsCoB->addItem(KvTexts::Text(kFirstPathType + i));
    m_pathOptionLbl->setBuddy(m_pathOptionsCoB);
    grid->addWidget(m_pathOptionLbl, 2, 0);
    grid->addWidget(m_pathOptionsCoB, 2, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    connect(m_searchBB, &QPushButton::clicked, this, &THyperlinkF::SearchBBClick);
    connect(m_linkCB, &QComboBox::editTextChanged, this, &THyperlinkF::updateControls);

    auto* buttons = new QHBoxLayout;
    m_okBtn = new QPushButton(KvTexts::Text(kOk), this);
    m_okBtn->setObjectName(u"OKBtn"_qs);
    m_okBtn->setDefault(true);
    m_cancelBtn = new QPushButton(KvTexts::Text(kCancel), this);
    m_cancelBtn->setObjectName(u"CancelBtn"_qs);
    m_helpBtn = new QPushButton(KvTexts::Text(kHelp), this);
    m_helpBtn->setObjectName(u"HelpBtn"_qs);
    buttons->addStretch(1);
    buttons->addWidget(m_okBtn);
    buttons->addWidget(m_cancelBtn);
    buttons->addWidget(m_helpBtn);
    layout->addLayout(buttons);
    connect(m_okBtn, &QPushButton::clicked, this, &THyperlinkF::OKBtnClick);
    connect(m_cancelBtn, &QPushButton::clicked, this, &THyperlinkF::reject);
    connect(m_helpBtn, &QPushButton::clicked, this, [] { KvHelpHook::ShowTopic(HelpContext); });

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(u"StatusBar"_qs);
    m_statusBar->setSizeGripEnabled(false);
    layout->addWidget(m_statusBar);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int THyperlinkF::LinkType() const
{
    return std::max(0, m_types->checkedId());
}

void THyperlinkF::SetLinkType(int type)
{
    const int t = int(TypeOf(type));
    m_types->button(t)->setChecked(true);
    hyperlinkGBClick(t);
}

int THyperlinkF::PathOption() const
{
    return std::max(0, m_pathOptionsCoB->currentIndex());
}

void THyperlinkF::SetPathOption(int option)
{
    m_pathOptionsCoB->setCurrentIndex(std::clamp(option, 0, kPathTypes - 1));
}

QString THyperlinkF::Target() const
{
    return m_linkCB->currentText();
}

void THyperlinkF::SetTarget(const QString& text)
{
    m_linkCB->setEditText(text);
}

void THyperlinkF::hyperlinkGBClick(int type)
{
    const Type t = TypeOf(type);
    m_prefixE->setText(KvLinkInsert::Prefix(t));
    m_prefixE->setReadOnly(t != Type::Other);
    m_linkCB->setEnabled(KvLinkInsert::TypedTarget(t));
    m_searchBB->setEnabled(KvLinkInsert::HasPicker(t));
    updateControls();
    // Elements and keywords come from their pickers only.
    if (m_setUp && !KvLinkInsert::TypedTarget(t))
        SearchBBClick();
}

void THyperlinkF::updateControls()
{
    const bool paths = KvLinkInsert::HasPathType(TypeOf(LinkType()));
    m_pathOptionLbl->setVisible(paths);
    m_pathOptionsCoB->setVisible(paths);
    m_okBtn->setEnabled(!Target().isEmpty());
}

void THyperlinkF::SearchBBClick()
{
    KV_LOG_SCOPE("THyperlinkF::SearchBBClick");
    QString chosen;
    switch (TypeOf(LinkType())) {
    case Type::Element:
        if (m_pickers.element) {
            const bool fileLink = m_prefixE->text() == KvLinkInsert::Prefix(Type::Element);
            chosen = m_pickers.element(fileLink ? ElementIdIn(Target()) : QString());
        }
        break;
    case Type::Keyword:
        if (m_pickers.keyword) {
            const QString keyword = m_pickers.keyword();
            if (!keyword.isEmpty() && !KvLink::KeywordFits(keyword))
                KvPrompter::ShowMessage(KvTexts::Text(kError),
                                        KvTexts::Message(kKeywordRefused, {keyword}),
                                        KvMsgKind::Error);
            else if (!keyword.isEmpty())
                chosen = KvLink::KeywordUrl(keyword).mid(KvLink::FilePrefix.size());
        }
        break;
    case Type::File: {
        const QString filter =
            KvTexts::Text(kAllFiles) + u" (*)"_qs; // "*.*" hides names without a dot
        chosen = KvPrompter::Current().ChooseOpenFile(KvTexts::Text(kChooseFile), Target(), filter);
        break;
    }
    case Type::Directory:
        chosen = KvPrompter::Current().ChooseFolder(KvTexts::Text(kChooseFolder), Target());
        break;
    default:
        break;
    }
    if (!chosen.isEmpty())
        SetTarget(chosen);
    updateControls();
}

void THyperlinkF::OKBtnClick()
{
    KV_LOG_SCOPE("THyperlinkF::OKBtnClick");
    const Type type = TypeOf(LinkType());
    QString target = Target();
    if (target.isEmpty())
        return;
    if (KvLinkInsert::HasPathType(type)) {
        const KvLinkInsert::PathTarget p =
            KvLinkInsert::ForPath(target, static_cast<PathType>(PathOption()), m_dataDir);
        if (!p.refusal.isEmpty()) {
            if (!p.mayWriteUnchanged) {
                KvPrompter::ShowMessage(KvTexts::Text(kError), p.refusal, KvMsgKind::Error);
                return;
            }
            // OK writes the target as given; Cancel goes back to the dialog.
            if (KvPrompter::ShowMessage(KvTexts::Text(kError),
                                        p.refusal + KvTexts::Text(kMayInsertUnchanged),
                                        KvMsgKind::ErrorOkCancel) != KvAnswer::Ok)
                return;
        }
        target = p.target;
    }
    m_url = KvLinkInsert::Url(type, m_prefixE->text(), target);
    remember();
    KvDialogPlace::Store(*this, FormName, false);
    accept();
}

void THyperlinkF::remember()
{
    {
        TexProfileFile settings(KvPaths::SettingsFile());
        settings.WriteInteger(FormName, kLinkType, LinkType());
        settings.WriteInteger(FormName, kPathOption, PathOption());
        settings.UpdateFile();
    }
    m_linkCB->AddToHistory();
    m_linkCB->SaveHistory();
}

QString THyperlinkF::Execute()
{
    KV_LOG_SCOPE("THyperlinkF::Execute");
    const int result = KvPrompter::Current().RunDialog(DialogName, [this] { return exec(); });
    return result == QDialog::Accepted ? m_url : QString();
}

bool THyperlinkF::event(QEvent* event)
{
    // The status bar shows the hint of the control under the mouse.
    if (event->type() == QEvent::StatusTip) {
        m_statusBar->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

void THyperlinkF::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        KvHelpHook::ShowTopic(HelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

void THyperlinkF::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        m_placed = true;
        adjustSize();
        KvDialogPlace::Restore(*this, FormName, false);
    }
    QDialog::showEvent(event);
}
