// The search window's criteria: the controls that hold them, the settings they are kept
// in, the search folder and the enabling rules.
#include "app/kvformres.h"
#include "app/kvoptionsg.h"
#include "app/kvpaths.h"
#include "commands/kvclipboardwatch.h"
#include "lists/kvsearchformrules.h"
#include "lists/kvsearchformsettings.h"
#include "lists/kvsearchthread.h"
#include "model/kvaddstatus.h"
#include "model/kvfolder.h"
#include "model/kvstatusimages.h"
#include "platform/applog.h"
#include "platform/kvexception.h"
#include "store/texprofilefile.h"
#include "ui/kvdialogplace.h"
#include "ui/kvmainsearch.h"
#include "ui/kvresultlistview.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/kvtvfolder.h"
#include "ui/texcombobox.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"
#include "ui/tsearchf.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>

void TSearchF::fillStatusChoice()
{
    m_pageStatusCB->clear();
    const KvAddStatus* catalogue = m_main.StatusCatalogue();
    const int count = KvStatusImages::BuiltInStatusCount + 1 + (catalogue ? catalogue->Count() : 0);
    const TexTreeView* tree = m_main.Controls().folderTv;
    for (int n = 0; n < count; ++n)
        m_pageStatusCB->addItem(tree->Image(KvStatusImages::ForPage(n)),
                                ::StatusText(n, catalogue));
}

void TSearchF::readSettings()
{
    KvFormRes res;
    KvDialogPlace::Restore(*this, FormName, true);
    const KvSearchFormSettings s = KvSearchFormSettings::Read(res.Settings(), QDate::currentDate());
    m_searchtxtCoB->SetIniFile(KvPaths::SettingsFile());
    m_searchtxtCoB->SetIniSection(FormName);
    m_searchtxt2CoB->SetIniFile(KvPaths::SettingsFile());
    m_searchtxt2CoB->SetIniSection(FormName + u"_Text2"_qs);
    m_searchtxtCoB->RestoreHistory();
    m_searchtxt2CoB->RestoreHistory();
    KvSearchCrit crit = s.crit;
    crit.SText1 = m_searchtxtCoB->currentText();
    setCriteriaControls(crit);
    m_pageStatusCB->setCurrentIndex(std::min(crit.SStatus, m_pageStatusCB->count() - 1));
    m_showFullPathCB->setChecked(s.showFullPath);
    m_resultLV->SetFullPath(s.showFullPath);
    m_resultLV->SetFirstColumnWidth(s.fldrColumnWidth);
}

void TSearchF::writeSettings()
{
    KV_LOG_SCOPE("TSearchF::SaveFormSettings");
    // The settings are a convenience: a settings file that cannot be written is logged
    // and costs the window nothing.
    try {
        KvFormRes res;
        res.Store(FormName, QRect(frameGeometry().topLeft(), size()), true, isMaximized());
        KvSearchFormSettings s;
        s.crit = CriteriaFromControls();
        s.showFullPath = m_showFullPathCB->isChecked();
        s.fldrColumnWidth = m_resultLV->FirstColumnWidth();
        s.Write(res.Settings());
        res.Settings().UpdateFile();
        m_searchtxtCoB->SaveHistory();
        m_searchtxt2CoB->SaveHistory();
    } catch (const KvException& e) {
        KvAppLog::Write(e.Message());
    }
}

void TSearchF::setCriteriaControls(const KvSearchCrit& c)
{
    m_searchtxtCoB->setEditText(c.SText1);
    m_fullWord1CB->setChecked(c.WhWord1);
    m_caseSens1CB->setChecked(c.MtCase1);
    m_condCoB->setCurrentIndex(std::min<int>(c.Cond, 2));
    m_searchtxt2CoB->setEditText(c.SText2);
    m_fullWord2CB->setChecked(c.WhWord2);
    m_caseSens2CB->setChecked(c.MtCase2);
    m_searchModDateCB->setChecked(c.DateSearch);
    m_modifiedCoB->setCurrentIndex(std::min<int>(c.DSCond, 2));
    const QDate day = KvSearchFormSettings::DayOf(c.SDate);
    m_modDateDTP->setDate(std::floor(c.SDate) != 0 && day.isValid() ? day : QDate::currentDate());
    m_searchStatusCB->setChecked(c.StatusSearch);
    if (c.StatusSearch)
        m_pageStatusCB->setCurrentIndex(std::clamp(c.SStatus, 0, m_pageStatusCB->count() - 1));
    m_lowerFldrCB->setChecked(c.SubFldr);
    m_searchPageNamesCB->setChecked(c.PageN);
    m_searchFldrNamesCB->setChecked(c.FldrN);
    m_searchTextCB->setChecked(c.PageC);
    m_searchTextPwCB->setChecked(c.PageCPw);
    m_searchPageKeywCB->setChecked(c.PageK);
    m_searchFldrKeywCB->setChecked(c.FldrK);
}

KvSearchCrit TSearchF::CriteriaFromControls() const
{
    KvSearchCrit c;
    c.SText1 = m_searchtxtCoB->currentText();
    c.WhWord1 = m_fullWord1CB->isChecked();
    c.MtCase1 = m_caseSens1CB->isChecked();
    c.Cond = quint8(std::clamp(m_condCoB->currentIndex(), 0, 2));
    c.SText2 = m_searchtxt2CoB->currentText();
    c.WhWord2 = m_fullWord2CB->isChecked();
    c.MtCase2 = m_caseSens2CB->isChecked();
    c.DateSearch = m_searchModDateCB->isChecked();
    c.DSCond = quint8(std::clamp(m_modifiedCoB->currentIndex(), 0, 2));
    c.SDate = KvSearchFormSettings::DayNumber(m_modDateDTP->date());
    c.StatusSearch = m_searchStatusCB->isChecked();
    c.SStatus = std::max(0, m_pageStatusCB->currentIndex());
    c.Fldr = m_folderId;
    c.SubFldr = m_lowerFldrCB->isChecked();
    c.PageN = m_searchPageNamesCB->isChecked();
    c.FldrN = m_searchFldrNamesCB->isChecked();
    c.PageC = m_searchTextCB->isChecked();
    c.PageCPw = m_searchTextPwCB->isChecked();
    c.PageK = m_searchPageKeywCB->isChecked();
    c.FldrK = m_searchFldrKeywCB->isChecked();
    return c;
}

void TSearchF::SetSearchCriteria(const KvSearchCrit& crit)
{
    KV_LOG_SCOPE("TSearchF::SetSearchCriteria");
    setCriteriaControls(crit);
    m_crit = crit;
    auto* folder = dynamic_cast<KvFolder*>(FindObject(crit.Fldr));
    if (!folder || folder->IsRemoved()) {
        folder = defaultFolder();
    }
    FormInitialize(folder);
}

void TSearchF::FormInitialize(KvFolder* folder)
{
    KV_LOG_SCOPE("TSearchF::FormInitialize");
    if (folder) {
        m_folderId = folder->Id();
        m_searchFolderE->setText(folder->Name());
        m_searchFolderE->setCursorPosition(0);
    }
    m_resultLV->SetIds(m_main.Search().ResultList().Ids());
    m_foundLbl->setText(KvSearchResultPanel::FoundText(m_resultLV->Count()));
    EnableCommands();
}

KvFolder* TSearchF::defaultFolder() const
{
    KvFolder* folder = nullptr;
    if (KvOptionsG().StartFldrSearch == 1)
        folder = m_main.TopFolder();
    else
        folder = m_main.CurrentFolder();
    return folder ? folder : m_main.TopFolder();
}

KvFolder* TSearchF::SearchFolder() const
{
    auto* folder = dynamic_cast<KvFolder*>(FindObject(m_folderId));
    return folder && !folder->IsRemoved() ? folder : nullptr;
}

bool TSearchF::SearchRunning() const
{
    return m_search && m_search->IsRunning();
}

void TSearchF::placeClicked(bool contentsBox)
{
    KvSearchCrit c = CriteriaFromControls();
    if (contentsBox)
        KvSearchFormRules::AfterContentsClick(c);
    else
        KvSearchFormRules::AfterOtherClick(c);
    m_searchPageNamesCB->setChecked(c.PageN);
    m_searchTextCB->setChecked(c.PageC);
    EnableCommands();
}

void TSearchF::setCriteriaEnabled(bool enabled)
{
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_searchtxtCoB, m_fullWord1CB, m_caseSens1CB, m_condCoB, m_searchtxt2CoB,
             m_fullWord2CB, m_caseSens2CB, m_searchPageNamesCB, m_searchFldrNamesCB, m_searchTextCB,
             m_searchPageKeywCB, m_searchFldrKeywCB, m_searchModDateCB, m_searchStatusCB,
             m_searchInFldrRB, m_searchInResultListRB, m_showFullPathCB})
        w->setEnabled(enabled);
}

void TSearchF::EnableCommands()
{
    const bool running = SearchRunning();
    m_startBtn->setEnabled(!running &&
                           KvSearchFormRules::StartPossible(m_searchtxtCoB->currentText(),
                                                            m_searchModDateCB->isChecked(),
                                                            m_searchStatusCB->isChecked()));
    m_stopBtn->setEnabled(running);
    m_pasteBtn->setEnabled(!running && m_clipboard && m_clipboard->Offer().text);
    const bool date = !running && m_searchModDateCB->isChecked();
    m_modifiedCoB->setEnabled(date);
    m_modDateDTP->setEnabled(date);
    m_pageStatusCB->setEnabled(!running && m_searchStatusCB->isChecked());
    m_searchTextPwCB->setEnabled(m_searchTextCB->isEnabled() && m_searchTextCB->isChecked());
    const bool inFolder = !running && m_searchInFldrRB->isChecked();
    m_lowerFldrCB->setEnabled(inFolder);
    m_searchFldrBtn->setEnabled(inFolder);
    if (!running)
        m_searchInResultListRB->setEnabled(m_resultLV->Count() > 0);
}
