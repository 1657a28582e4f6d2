#include "ui/tparaf.h"

#include "app/kvhelphook.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "platform/applog.h"
#include "ui/kvdialogplace.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

TParaF* g_active = nullptr;

// Object names of the five length fields, in the order of KvParaDialogValues.
constexpr const char16_t* kLengthNames[] = {u"FirstIndentE", u"NextIndentE", u"RightIndentE",
                                            u"SpaceBeforeE", u"SpaceAfterE"};

QComboBox* List(QWidget* parent, const char16_t* name, std::initializer_list<int> texts)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromUtf16(name));
    for (int t : texts)
        box->addItem(KvTexts::Text(t));
    return box;
}

QLabel* Label(int text, QWidget* buddy, QWidget* parent)
{
    auto* l = new QLabel(KvTexts::Text(text), parent);
    l->setBuddy(buddy);
    return l;
}

} // namespace

TParaF::TParaF(QWidget* parent) : QDialog(parent)
{
    setObjectName(u"ParaF"_qs);
    setWindowTitle(KvTexts::Text(19000));
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 5; ++i) {
        m_lengths[i] = new QLineEdit(this);
        m_lengths[i]->setObjectName(QString::fromUtf16(kLengthNames[i]));
        m_lengths[i]->installEventFilter(this);
    }

    auto* indents = new QGroupBox(KvTexts::Text(19001), this);
    auto* ig = new QGridLayout(indents);
    ig->addWidget(Label(19004, m_lengths[0], indents), 0, 0);
    ig->addWidget(m_lengths[0], 0, 1);
    ig->addWidget(Label(19002, m_lengths[1], indents), 1, 0);
    ig->addWidget(m_lengths[1], 1, 1);
    ig->addWidget(Label(19003, m_lengths[2], indents), 2, 0);
    ig->addWidget(m_lengths[2], 2, 1);
    auto* spaces = new QGroupBox(KvTexts::Text(19005), this);
    auto* sg = new QGridLayout(spaces);
    sg->addWidget(Label(19040, m_lengths[3], spaces), 0, 0);
    sg->addWidget(m_lengths[3], 0, 1);
    sg->addWidget(Label(19041, m_lengths[4], spaces), 1, 0);
    sg->addWidget(m_lengths[4], 1, 1);
    m_lineSpacing = List(this, u"LineSpacingCB", {19006, 19007, 19008, 19009, 19010, 19011});
    sg->addWidget(Label(19012, m_lineSpacing, spaces), 2, 0);
    sg->addWidget(m_lineSpacing, 2, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(indents);
    top->addWidget(spaces);
    layout->addLayout(top);

    auto* rest = new QGridLayout;
    m_alignment = List(this, u"AlignmentCB", {19013, 19014, 19015});
    m_numbering = List(this, u"NumberingCB", {19021, 19022, 19023, 19024, 19025, 19026, 19027});
    m_numberingStyle = List(this, u"NumberingStyleCB", {19030, 19031, 19032, 19033});
    rest->addWidget(Label(19042, m_alignment, this), 0, 0);
    rest->addWidget(m_alignment, 0, 1);
    rest->addWidget(Label(19020, m_numbering, this), 1, 0);
    rest->addWidget(m_numbering, 1, 1);
    rest->addWidget(m_numberingStyle, 1, 2);
    layout->addLayout(rest);
    connect(m_numbering, &QComboBox::currentIndexChanged, this, &TParaF::numberingChanged);

    auto* buttons = new QHBoxLayout;
    m_ok = new QPushButton(KvTexts::Text(4000), this);
    m_ok->setObjectName(u"OkBtn"_qs);
    m_ok->setDefault(true);
    m_cancel = new QPushButton(KvTexts::Text(4001), this);
    m_cancel->setObjectName(u"CancelBtn"_qs);
    auto* help = new QPushButton(KvTexts::Text(4002), this);
    help->setObjectName(u"HelpBtn"_qs);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(help);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &TParaF::accept);
    connect(m_cancel, &QPushButton::clicked, this, &TParaF::reject);
    connect(help, &QPushButton::clicked, this, [] { KvHelpHook::ShowTopic(HelpContext); });
    layout->setSizeConstraint(QLayout::SetFixedSize);
    g_active = this;
}

TParaF::~TParaF()
{
    if (g_active == this)
        g_active = nullptr;
}

TParaF* TParaF::Active()
{
    return g_active;
}

void TParaF::SetValues(const KvParaDialogValues& v)
{
    m_opened = v;
    const QString* texts[] = {&v.firstIndent, &v.followingIndent, &v.rightIndent, &v.spaceBefore,
                              &v.spaceAfter};
    for (int i = 0; i < 5; ++i)
        m_lengths[i]->setText(*texts[i]);
    m_lineSpacing->setCurrentIndex(v.lineSpacing);
    m_alignment->setCurrentIndex(v.alignment);
    m_numbering->setCurrentIndex(v.numbering);
    m_numberingStyle->setCurrentIndex(v.numberingStyle);
    numberingChanged();
}

KvParaDialogValues TParaF::Values() const
{
    KvParaDialogValues v;
    QString* texts[] = {&v.firstIndent, &v.followingIndent, &v.rightIndent, &v.spaceBefore,
                        &v.spaceAfter};
    for (int i = 0; i < 5; ++i)
        *texts[i] = m_lengths[i]->text();
    v.lineSpacing = m_lineSpacing->currentIndex();
    v.alignment = m_alignment->currentIndex();
    v.numbering = std::max(0, m_numbering->currentIndex());
    v.numberingStyle = m_numberingStyle->currentIndex();
    return v;
}

void TParaF::numberingChanged()
{
    // The decoration is for numbers only.
    const bool numbers = KvParaDialogValues::HasNumberingStyle(m_numbering->currentIndex());
    m_numberingStyle->setEnabled(numbers);
    if (numbers && m_numberingStyle->currentIndex() < 0)
        m_numberingStyle->setCurrentIndex(0);
}

bool TParaF::checkField(QLineEdit* field)
{
    if (field->text().trimmed().isEmpty())
        field->setText(u"0"_qs);
    // A field left as it opened holds the paragraph's value, whatever it is.
    const int index =
        int(std::find(std::begin(m_lengths), std::end(m_lengths), field) - std::begin(m_lengths));
    const QString* opened[] = {&m_opened.firstIndent, &m_opened.followingIndent,
                               &m_opened.rightIndent, &m_opened.spaceBefore, &m_opened.spaceAfter};
    if (index < 5 && field->text() == *opened[index])
        return true;
    if (KvParaDialogValues::ParseCm(field->text()))
        return true;
    m_checking = true;
    KvPrompter::ShowMessage(
        KvTexts::Text(5600),
        KvTexts::Message(5601, {u"0"_qs, QString::number(KvParaDialogValues::MaxCm)}),
        KvMsgKind::Error);
    field->setFocus();
    field->selectAll();
    m_checking = false;
    return false;
}

bool TParaF::eventFilter(QObject* watched, QEvent* event)
{
    // Leaving a length field checks it, unless towards Cancel.
    if (event->type() == QEvent::FocusOut && !m_checking && isVisible()) {
        auto* field = qobject_cast<QLineEdit*>(watched);
        if (field && QApplication::focusWidget() != m_cancel)
            checkField(field);
    }
    return QDialog::eventFilter(watched, event);
}

void TParaF::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_F1) {
        KvHelpHook::ShowTopic(HelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TParaF::accept()
{
    for (QLineEdit* field : m_lengths) {
        if (!checkField(field))
            return;
    }
    KvDialogPlace::Store(*this, PlaceSection, false);
    QDialog::accept();
}

bool TParaF::Execute()
{
    KV_LOG_SCOPE("TParaF::Execute");
    KvDialogPlace::Restore(*this, PlaceSection, false);
    const int result = KvPrompter::Current().RunDialog(DialogName, [this] { return exec(); });
    return result == QDialog::Accepted;
}
