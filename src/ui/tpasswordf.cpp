#include "ui/tpasswordf.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "model/kvpage.h"
#include "platform/applog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
TPasswordF* g_active = nullptr;
}

TPasswordF::TPasswordF(const QString& pageName, QWidget* parent) : QDialog(parent)
{
    setObjectName(DialogName);
    // "Passwort für Seite '...'" over the notice that the page is protected.
    setWindowTitle(KvTexts::Message(17000, {pageName}));
    auto* layout = new QVBoxLayout(this);
    auto* notice = new QLabel(KvTexts::Text(17006), this);
    notice->setObjectName(u"NoticeLbl"_qs);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(KvTexts::Text(17010), this);
    label->setObjectName(u"PasswordLbl"_qs);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(u"PasswordEd"_qs);
    m_edit->setEchoMode(QLineEdit::Password);
    m_edit->setToolTip(KvTexts::Text(17002));
    m_edit->setMinimumWidth(220);
    label->setBuddy(m_edit);
    row->addWidget(label);
    row->addWidget(m_edit, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(KvTexts::Text(4000));
    buttons->button(QDialogButtonBox::Cancel)->setText(KvTexts::Text(4001));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(notice);
    layout->addLayout(row);
    layout->addWidget(buttons);
    g_active = this;
}

TPasswordF::~TPasswordF()
{
    if (g_active == this)
        g_active = nullptr;
}

QString TPasswordF::Password() const
{
    return m_edit->text();
}

void TPasswordF::SetPassword(const QString& text)
{
    m_edit->setText(text);
}

TPasswordF* TPasswordF::Active()
{
    return g_active;
}

bool KvDialogPasswordAsker::AskPassword(KvPage& page, QString& password)
{
    KV_LOG_SCOPE("KvDialogPasswordAsker::AskPassword");
    TPasswordF dialog(page.Name(), m_parent);
    const int result = KvPrompter::Current().RunDialog(TPasswordF::DialogName,
                                                       [&dialog] { return dialog.exec(); });
    if (result != QDialog::Accepted)
        return false;
    password = dialog.Password();
    return true;
}
