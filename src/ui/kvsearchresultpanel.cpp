#include "ui/kvsearchresultpanel.h"

#include "app/kvtexts.h"
#include "ui/kvlanguageinit.h"
#include "ui/kvmenubuilder.h"
#include "ui/kvmenuimages.h"
#include "ui/kvresultlistview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using KvCompose::Named;
using KvCompose::ToolButton;

KvSearchResultPanel::KvSearchResultPanel(QWidget* parent) : QWidget(parent)
{
    setObjectName(u"SearchResP"_qs);
    m_resultLbl = Named(new QLabel(u"ResultLbl#12047"_qs, this), u"ResultLbl"_qs);
    m_foundLbl = Named(new QLabel(this), u"FoundLbl"_qs);

    m_resultLV = Named(new KvResultListView(this), u"ResultLV"_qs);
    m_resultLV->SetListenerName(u"TMainF.ResultLV"_qs);
    m_resultLV->setContextMenuPolicy(Qt::CustomContextMenu);
    m_resultLV->setProperty(KvLanguageInit::HintProperty, u"5400"_qs);

    m_showFullPathCB = Named(new QCheckBox(u"ShowFullPathCB#12044"_qs, this), u"ShowFullPathCB"_qs);
    m_showFullPathCB->setChecked(true);
    m_showFullPathCB->setProperty(KvLanguageInit::HintProperty, u"12045"_qs);
    m_stopBtn = Named(new QPushButton(u"StopBtn#12038"_qs, this), u"StopBtn"_qs);
    m_stopBtn->setProperty(KvLanguageInit::HintProperty, u"3130"_qs);
    m_stopBtn->setIcon(KvMenuImages::Icon(u"CANCEL"_qs));
    m_stopBtn->hide();
    m_searchProgress = Named(new QProgressBar(this), u"SearchProgress"_qs);
    m_searchProgress->setTextVisible(false);
    m_searchProgress->hide();
    m_newSearchBtn = Named(new QPushButton(u"NewSearchBtn#4006"_qs, this), u"NewSearchBtn"_qs);
    m_newSearchBtn->setProperty(KvLanguageInit::HintProperty, u"3200"_qs);
    m_newSearchBtn->setIcon(KvMenuImages::Icon(u"SEARCH"_qs));
    m_searchResCoB = Named(new QComboBox(this), u"SearchResCoB"_qs);
    m_searchResCoB->setProperty(KvLanguageInit::HintProperty, u"12071"_qs);
    m_searchResCoB->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_searchResCoB->setMinimumContentsLength(38); // the "none saved" text whole
    m_saveTB = ToolButton(this, u"SearchResSaveTB"_qs);
    m_deleteTB = ToolButton(this, u"SearchResDelTB"_qs);
    m_renameTB = ToolButton(this, u"SearchResRenTB"_qs);

    // Caption row, the list, and the row with the saved results.
    auto* panel = new QVBoxLayout(this);
    panel->setContentsMargins(2, 2, 2, 2);
    auto* top = new QHBoxLayout;
    top->addWidget(m_resultLbl);
    top->addWidget(m_foundLbl);
    top->addStretch(1);
    top->addWidget(m_searchProgress);
    top->addWidget(m_stopBtn);
    top->addWidget(m_newSearchBtn);
    panel->addLayout(top);
    panel->addWidget(m_resultLV, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_showFullPathCB);
    bottom->addStretch(1);
    bottom->addWidget(m_searchResCoB);
    bottom->addWidget(m_saveTB);
    bottom->addWidget(m_deleteTB);
    bottom->addWidget(m_renameTB);
    panel->addLayout(bottom);
}

void KvSearchResultPanel::SetSavedResultCommands(QAction* save, QAction* remove, QAction* rename)
{
    m_saveTB->setDefaultAction(save);
    m_deleteTB->setDefaultAction(remove);
    m_renameTB->setDefaultAction(rename);
}

void KvSearchResultPanel::LanguageInit()
{
    // The captions: label, list columns (resolved by the model), buttons, full-path box.
    m_resultLbl->setText(KvLanguageInit::Caption(m_resultLbl->text()));
    m_stopBtn->setText(KvLanguageInit::Caption(m_stopBtn->text()));
    m_newSearchBtn->setText(KvLanguageInit::Caption(m_newSearchBtn->text()));
    m_showFullPathCB->setText(KvLanguageInit::Caption(m_showFullPathCB->text()));

    // Hints written as bare numbers.
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_resultLV, m_searchResCoB, m_stopBtn, m_newSearchBtn}) {
        KvLanguageInit::ApplyHint(
            w, KvLanguageInit::Hint(w->property(KvLanguageInit::HintProperty).toString(), true));
    }
    SetFoundCount(0);
    // The full-path box has a status-bar text only.
    const QString fullPath = KvTexts::ResolveHintNumber(
        m_showFullPathCB->property(KvLanguageInit::HintProperty).toString());
    KvLanguageInit::ApplyHint(m_showFullPathCB, KvTexts::SplitHint(u'|' + fullPath));
}

QString KvSearchResultPanel::FoundText(int count)
{
    return QString::number(count) + u' ' + KvTexts::Text(12014);
}

void KvSearchResultPanel::SetFoundCount(int count)
{
    m_foundLbl->setText(FoundText(count));
}

int KvSearchResultPanel::FirstColumnWidth() const
{
    return m_resultLV->FirstColumnWidth();
}

void KvSearchResultPanel::SetFirstColumnWidth(int width)
{
    m_resultLV->SetFirstColumnWidth(width);
}
