#include "ui/tfindreplacef.h"

#include "app/kvtexts.h"
#include "platform/applog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// A caption without the dots of its menu item: "Suchen..." is "Suchen".
QString Title(int number)
{
    QString t = KvTexts::Text(number);
    while (t.endsWith(u'.'))
        t.chop(1);
    return t;
}

template <typename W> W* Named(W* w, const char16_t* name)
{
    w->setObjectName(QString::fromUtf16(name));
    return w;
}

} // namespace

TFindReplaceF::TFindReplaceF(QWidget* parent) : QDialog(parent)
{
    setModal(false);
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* fields = new QGridLayout;
    m_term = Named(new QLineEdit(this), u"FindTextE");
    m_replacement = Named(new QLineEdit(this), u"ReplaceTextE");
    auto* termLabel = new QLabel(KvTexts::Text(5960), this);
    termLabel->setBuddy(m_term);
    m_replacementLabel = new QLabel(KvTexts::Text(5961), this);
    m_replacementLabel->setBuddy(m_replacement);
    fields->addWidget(termLabel, 0, 0);
    fields->addWidget(m_term, 0, 1);
    fields->addWidget(m_replacementLabel, 1, 0);
    fields->addWidget(m_replacement, 1, 1);
    left->addLayout(fields);
    auto* options = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    m_wholeWord = Named(new QCheckBox(KvTexts::Text(5962), this), u"WholeWordCB");
    m_matchCase = Named(new QCheckBox(KvTexts::Text(5963), this), u"MatchCaseCB");
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);
    checks->addStretch(1);
    options->addLayout(checks);
    m_direction = Named(new QGroupBox(KvTexts::Text(5964), this), u"DirectionGB");
    auto* dir = new QHBoxLayout(m_direction);
    m_up = Named(new QRadioButton(KvTexts::Text(5966), m_direction), u"UpRB");
    m_down = Named(new QRadioButton(KvTexts::Text(5967), m_direction), u"DownRB");
    m_down->setChecked(true);
    dir->addWidget(m_up);
    dir->addWidget(m_down);
    options->addWidget(m_direction);
    left->addLayout(options);
    layout->addLayout(left, 1);

    auto* buttons = new QVBoxLayout;
    m_findNext = Named(new QPushButton(KvTexts::Text(5968), this), u"FindNextBtn");
    m_replace = Named(new QPushButton(KvTexts::Text(5969), this), u"ReplaceBtn");
    m_replaceAll = Named(new QPushButton(KvTexts::Text(5970), this), u"ReplaceAllBtn");
    m_close = Named(new QPushButton(KvTexts::Text(4010), this), u"CloseBtn");
    m_findNext->setDefault(true);
    for (QPushButton* b : {m_findNext, m_replace, m_replaceAll, m_close})
        buttons->addWidget(b);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    connect(m_findNext, &QPushButton::clicked, this,
            [this] { report(&KvFindReplaceHandler::FindNext); });
    connect(m_replace, &QPushButton::clicked, this,
            [this] { report(&KvFindReplaceHandler::Replace); });
    connect(m_replaceAll, &QPushButton::clicked, this,
            [this] { report(&KvFindReplaceHandler::ReplaceAll); });
    connect(m_close, &QPushButton::clicked, this, &TFindReplaceF::close);
    auto enable = [this] {
        const bool any = !m_term->text().isEmpty();
        m_findNext->setEnabled(any);
        m_replace->setEnabled(any);
        m_replaceAll->setEnabled(any);
    };
    connect(m_term, &QLineEdit::textChanged, this, enable);
    enable();
    setReplaceMode(false);
}

TFindReplaceF::~TFindReplaceF() = default;

void TFindReplaceF::setReplaceMode(bool replace)
{
    m_replaceMode = replace;
    setObjectName(replace ? u"ReplaceDlg"_qs : u"FindDlg"_qs);
    setWindowTitle(Title(replace ? 1225 : 1217));
    for (QWidget* w : std::initializer_list<QWidget*>{m_replacementLabel, m_replacement, m_replace,
                                                      m_replaceAll})
        w->setVisible(replace);
    adjustSize();
}

void TFindReplaceF::Open(bool replace, const KvFindFields& fields, KvFindReplaceHandler& handler)
{
    KV_LOG_SCOPE("TFindReplaceF::Open");
    m_handler = &handler;
    if (!m_open) {
        m_term->setText(fields.term);
        m_replacement->setText(fields.replacement);
        m_wholeWord->setChecked(fields.wholeWord);
        m_matchCase->setChecked(fields.matchCase);
        (fields.down ? m_down : m_up)->setChecked(true);
    } else if (replace && !m_replaceMode) {
        m_replacement->setText(fields.replacement);
    }
    setReplaceMode(replace);
    m_open = true;
    show();
    raise();
    activateWindow();
    m_term->setFocus();
    m_term->selectAll();
}

KvFindFields TFindReplaceF::Fields() const
{
    KvFindFields f;
    f.term = m_term->text();
    f.replacement = m_replacement->text();
    f.wholeWord = m_wholeWord->isChecked();
    f.matchCase = m_matchCase->isChecked();
    f.down = m_down->isChecked();
    return f;
}

void TFindReplaceF::report(void (KvFindReplaceHandler::*button)(const KvFindFields&))
{
    if (m_handler)
        (m_handler->*button)(Fields());
}

void TFindReplaceF::closed()
{
    if (!m_open)
        return;
    m_open = false;
    if (m_handler)
        m_handler->Closed(Fields());
}

void TFindReplaceF::closeEvent(QCloseEvent* event)
{
    closed();
    QDialog::closeEvent(event);
}

void TFindReplaceF::reject()
{
    closed();
    QDialog::reject();
}

void TFindReplaceF::MoveOff(const QRect& hit)
{
    if (!isVisible() || QGuiApplication::platformName().startsWith(u"wayland"))
        return;
    const QRect frame = frameGeometry();
    // The hit's start and the point 20 pixels below its end must not be covered.
    const QPoint below(hit.right(), hit.bottom() + 20);
    if (!frame.contains(hit.topLeft()) && !frame.contains(below))
        return;
    const QScreen* screen = QGuiApplication::screenAt(hit.topLeft());
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
    // Above: the dialog's bottom 20 pixels above the hit's top; else below: its top 40
    // pixels below the hit's top.
    const int aboveTop = hit.top() - 20 - frame.height();
    if (aboveTop >= area.top()) {
        move(frame.left(), aboveTop);
        return;
    }
    const int belowTop = hit.top() + 40;
    if (belowTop + frame.height() <= area.bottom())
        move(frame.left(), belowTop);
}
