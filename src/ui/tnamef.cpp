#include "ui/tnamef.h"

#include "app/kvhelphook.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "model/kvnamerule.h"
#include "platform/applog.h"
#include "ui/kvdialogplace.h"
#include "ui/kvmenuimages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

TNameF* g_active = nullptr;

constexpr int kTextOk = 4000;
constexpr int kTextCancel = 4001;
constexpr int kTextTextAttributes = 4020;
constexpr int kTextParagraphAttributes = 4030;
constexpr int kTextNameMissingTitle = 5004;
constexpr int kTextNameMissing = 5005;
constexpr int kTextStatus = 11008;

// The style images: text attributes, paragraph attributes, both.
} // namespace

QPixmap TNameF::StyleImage(int index)
{
    const QPixmap text = KvMenuImages::OwnIcon(u"BOLD"_qs).pixmap(16, 16);
    const QPixmap para = KvMenuImages::OwnIcon(u"ALIGNLEFT"_qs).pixmap(16, 16);
    if (index == 0)
        return text;
    if (index == 1)
        return para;
    QPixmap both(32, 16);
    both.fill(Qt::transparent);
    QPainter p(&both);
    p.drawPixmap(0, 0, text);
    p.drawPixmap(16, 0, para);
    return both;
}

namespace {

QLabel* BoldLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

TNameF::TNameF(QWidget* parent, const QList<StatusEntry>& statuses) : QDialog(parent)
{
    setObjectName(DialogName);
    auto* layout = new QVBoxLayout(this);

    m_name = new QLineEdit(this);
    m_name->setObjectName(u"PageNameE"_qs);
    m_name->setMaxLength(MaxNameLength);
    m_name->setMinimumWidth(320);
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    layout->addWidget(m_name);

    // The status row; hidden rows take no room, so the dialog is shorter without them.
    auto* statusRow = new QHBoxLayout;
    m_statusLabel = new QLabel(KvTexts::Text(kTextStatus), this);
    m_statusLabel->setObjectName(u"StatusL"_qs);
    m_status = new QComboBox(this);
    m_status->setObjectName(u"StatusCB"_qs);
    for (const StatusEntry& e : statuses)
        m_status->addItem(e.icon, e.name);
    m_status->setCurrentIndex(statuses.isEmpty() ? -1 : 0);
    m_statusLabel->setBuddy(m_status);
    statusRow->addWidget(m_statusLabel);
    statusRow->addWidget(m_status, 1);
    layout->addLayout(statusRow);
    m_statusLabel->setVisible(!statuses.isEmpty());
    m_status->setVisible(!statuses.isEmpty());

    // The parts of a text style, shown in attribute mode only.
    m_attrBox = new QGroupBox(this);
    m_attrBox->setObjectName(u"AttrGB"_qs);
    auto* attr = new QGridLayout(m_attrBox);
    m_textAttr = new QCheckBox(KvTexts::Text(kTextTextAttributes), m_attrBox);
    m_textAttr->setObjectName(u"TextAttrCB"_qs);
    m_paraAttr = new QCheckBox(KvTexts::Text(kTextParagraphAttributes), m_attrBox);
    m_paraAttr->setObjectName(u"ParaAttrCB"_qs);
    m_styleImage = new QLabel(m_attrBox);
    m_styleImage->setObjectName(u"StyleImg"_qs);
    attr->addWidget(m_textAttr, 0, 0);
    attr->addWidget(m_paraAttr, 1, 0);
    attr->addWidget(m_styleImage, 0, 1, 2, 1, Qt::AlignCenter);
    layout->addWidget(m_attrBox);
    m_attrBox->hide();
    connect(m_textAttr, &QCheckBox::toggled, this, [this] { attributeToggled(m_textAttr); });
    connect(m_paraAttr, &QCheckBox::toggled, this, [this] { attributeToggled(m_paraAttr); });

    m_message = BoldLabel(this);
    m_message->setObjectName(u"MsgL"_qs);
    m_message->setWordWrap(true);
    m_message->hide();
    layout->addWidget(m_message);

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
    connect(m_ok, &QPushButton::clicked, this, &TNameF::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TNameF::reject);

    // A fixed border: the dialog keeps its designed size.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_name->setFocus();
    g_active = this;
}

TNameF::~TNameF()
{
    if (g_active == this)
        g_active = nullptr;
}

QString TNameF::Name() const
{
    return m_name->text();
}

void TNameF::SetName(const QString& name)
{
    m_name->setText(name);
    m_name->selectAll();
}

bool TNameF::HasStatus() const
{
    return m_status->count() > 0;
}

int TNameF::Status() const
{
    return std::max(0, m_status->currentIndex());
}

void TNameF::SetStatus(int status)
{
    if (status >= 0 && status < m_status->count())
        m_status->setCurrentIndex(status);
}

void TNameF::SetNameEditable(bool editable)
{
    m_name->setReadOnly(!editable);
}

void TNameF::SetMessage(const QString& text)
{
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

void TNameF::SetAttributeMode(bool textAttributes, bool paragraphAttributes)
{
    const QSignalBlocker blockText(m_textAttr);
    const QSignalBlocker blockPara(m_paraAttr);
    m_textAttr->setChecked(textAttributes || !paragraphAttributes);
    m_paraAttr->setChecked(paragraphAttributes);
    m_attrBox->show();
    updateStyleImage();
}

bool TNameF::AttributeMode() const
{
    return !m_attrBox->isHidden();
}

bool TNameF::TextAttributes() const
{
    return m_textAttr->isChecked();
}

bool TNameF::ParagraphAttributes() const
{
    return m_paraAttr->isChecked();
}

int TNameF::StyleImageIndex() const
{
    if (TextAttributes() && ParagraphAttributes())
        return 2;
    return ParagraphAttributes() ? 1 : 0;
}

void TNameF::attributeToggled(QCheckBox* changed)
{
    // Unchecking one box checks the other: a style always holds something.
    if (!changed->isChecked()) {
        QCheckBox* other = changed == m_textAttr ? m_paraAttr : m_textAttr;
        const QSignalBlocker block(other);
        other->setChecked(true);
    }
    updateStyleImage();
}

void TNameF::updateStyleImage()
{
    m_styleImage->setPixmap(StyleImage(StyleImageIndex()));
    m_styleImage->setProperty("kvImageIndex", StyleImageIndex());
}

bool TNameF::Execute()
{
    KV_LOG_SCOPE("TNameF::Execute");
    const int result = KvPrompter::Current().RunDialog(DialogName, [this] { return exec(); });
    return result == QDialog::Accepted;
}

TNameF* TNameF::Active()
{
    return g_active;
}

QString TNameF::TodayText()
{
    return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat);
}

void TNameF::accept()
{
    // The name rule: what the tree could not show becomes blanks, blanks at the ends go.
    // Nothing left is no name, and the dialog stays.
    const QString name = KvNameRule::Clean(m_name->text());
    if (name.isEmpty()) {
        m_name->setFocus();
        KvPrompter::ShowMessage(kTextNameMissingTitle, kTextNameMissing, KvMsgKind::Error);
        return;
    }
    if (name != m_name->text())
        m_name->setText(name);
    KvDialogPlace::Store(*this, PlaceSection, false);
    QDialog::accept();
}

void TNameF::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_F1:
        KvHelpHook::ShowTopic(HelpContext);
        return;
    case Qt::Key_F5:
        // Today's date at the caret; the caret follows it.
        m_name->insert(TodayText());
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TNameF::showEvent(QShowEvent* event)
{
    if (!m_placed) {
        m_placed = true;
        adjustSize();
        KvDialogPlace::Restore(*this, PlaceSection, false);
    }
    QDialog::showEvent(event);
}
