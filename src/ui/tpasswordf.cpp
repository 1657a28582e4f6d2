#include "ui/tpasswordf.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "model/kvpage.h"
#include "platform/applog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
TPasswordF* g_active = nullptr;
}

TPasswordF::TPasswordF(const QString& pageName, QWidget* parent) : QDialog(parent)
{
    setObjectName(DialogName);
    setWindowTitle(pageName);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(pageName, this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(u"PasswordEd"_qs);
    m_edit->setEchoMode(QLineEdit::Password);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(m_edit);
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
