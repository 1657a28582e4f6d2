#include "ui/tprogressf.h"

#include "app/kvtexts.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kTextCancel = 4001;
}

TProgressF::TProgressF(QWidget* parent) : QDialog(parent)
{
    setObjectName(DialogName);
    // Modal over the main window: while the operation lets events through, nothing else
    // of the window can be used.
    setWindowModality(Qt::WindowModal);
    auto* layout = new QVBoxLayout(this);
    m_text = new QLabel(this);
    m_text->setObjectName(u"TextLbl"_qs);
    m_text->setMinimumWidth(360);
    m_text->setTextFormat(Qt::PlainText);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(u"ProgressBar"_qs);
    m_cancel = new QPushButton(KvTexts::Text(kTextCancel), this);
    m_cancel->setObjectName(u"CancelBtn"_qs);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(m_cancel, &QPushButton::clicked, this, &TProgressF::Cancel);
}

void TProgressF::Start(const QString& title, int maximum)
{
    setWindowTitle(title);
    m_bar->setRange(0, std::max(0, maximum));
    m_bar->setValue(0);
    m_cancelled = false;
    show();
    raise();
}

void TProgressF::SetText(const QString& text)
{
    m_text->setText(text);
}

QString TProgressF::Text() const
{
    return m_text->text();
}

void TProgressF::Step()
{
    if (m_bar->value() < m_bar->maximum())
        m_bar->setValue(m_bar->value() + 1);
}

int TProgressF::Position() const
{
    return m_bar->value();
}

int TProgressF::Maximum() const
{
    return m_bar->maximum();
}

void TProgressF::Cancel()
{
    m_cancelled = true;
    hide();
}

void TProgressF::closeEvent(QCloseEvent* event)
{
    // Closing is cancelling; the operation ends at its next element.
    m_cancelled = true;
    QDialog::closeEvent(event);
}

void TProgressF::reject()
{
    // Esc and the window's close button.
    Cancel();
}
