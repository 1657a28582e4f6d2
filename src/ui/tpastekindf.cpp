#include "ui/tpastekindf.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "platform/applog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

TPasteKindF* g_active = nullptr;

} // namespace

QString TPasteKindF::KindText(KvPaste::Kind kind)
{
    switch (kind) {
    case KvPaste::Kind::Rtf:
        return KvTexts::Text(5972);
    case KvPaste::Kind::Picture:
        return KvTexts::Text(5973);
    case KvPaste::Kind::Html:
        return KvTexts::Text(5974);
    case KvPaste::Kind::Text:
        return KvTexts::Text(5975);
    }
    return {};
}

TPasteKindF::TPasteKindF(const QList<KvPaste::Kind>& kinds, QWidget* parent)
    : QDialog(parent), m_kinds(kinds)
{
    setObjectName(DialogName);
    QString title = KvTexts::Text(1209);
    while (title.endsWith(u'.'))
        title.chop(1);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(u"FormatsLB"_qs);
    auto* label = new QLabel(KvTexts::Text(5971), this);
    label->setBuddy(m_list);
    for (KvPaste::Kind k : kinds)
        m_list->addItem(KindText(k));
    m_list->setCurrentRow(0);
    layout->addWidget(label);
    layout->addWidget(m_list);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(KvTexts::Text(4000), QDialogButtonBox::AcceptRole)
        ->setObjectName(u"OkBtn"_qs);
    buttons->addButton(KvTexts::Text(4001), QDialogButtonBox::RejectRole)
        ->setObjectName(u"CancelBtn"_qs);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &TPasteKindF::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TPasteKindF::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &TPasteKindF::accept);
    g_active = this;
}

TPasteKindF::~TPasteKindF()
{
    if (g_active == this)
        g_active = nullptr;
}

TPasteKindF* TPasteKindF::Active()
{
    return g_active;
}

KvPaste::Kind TPasteKindF::Chosen() const
{
    return m_kinds.value(std::max(0, m_list->currentRow()), KvPaste::Kind::Text);
}

void TPasteKindF::Choose(KvPaste::Kind kind)
{
    if (const qsizetype row = m_kinds.indexOf(kind); row >= 0)
        m_list->setCurrentRow(int(row));
}

bool TPasteKindF::Execute()
{
    KV_LOG_SCOPE("TPasteKindF::Execute");
    return KvPrompter::Current().RunDialog(DialogName, [this] { return exec(); }) ==
           QDialog::Accepted;
}
