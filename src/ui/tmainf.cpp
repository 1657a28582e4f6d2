#include "ui/tmainf.h"

#include "app/kvdirprops.h"
#include "app/kvidledriver.h"
#include "app/kvlockdirectory.h"
#include "app/kvoptionsg.h"
#include "app/kvpaths.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "model/kvaddstatus.h"
#include "model/kvdircontext.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpagejournal.h"
#include "model/kvpasswordasker.h"
#include "platform/applog.h"
#include "store/kvvalueformat.h"
#include "ui/kvelementhooks.h"
#include "ui/kvmainediting.h"
#include "ui/kvmainlists.h"
#include "ui/kvmainsearch.h"
#include "ui/kvmainservices.h"
#include "ui/kvrestore.h"
#include "ui/kvtreenode.h"
#include "ui/textreeview.h"
#include "ui/tpasswordf.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

TMainF::TMainF(const QStringList& args, QWidget* parent) : QMainWindow(parent)
{
    KV_LOG_SCOPE("TMainF::TMainF");
    m_shell.constructing = true;
    setObjectName(u"MainF"_qs);
    setMinimumSize(400, 400);

    m_shell.commandLine = KvCommandLine::Parse(args);
    m_shell.startDir = m_shell.commandLine.startDir;
    m_shell.pendingObjectId = m_shell.commandLine.pendingId;

    m_shell.lockMessageWanted = true;
    m_shell.firstShowPending = true;
    m_shell.switchingAccess = false;

    Initialize();
    m_idle = new KvIdleDriver([this] { OnIdle(); }, this);
    m_journal = std::make_unique<KvPageJournal>();

    createStatusBar();
    createMenus();
    languageInit();
    m_restore->Restore();
    setupNavigation();

    if (BuildFolderAndPages())
        refreshOptions();
    else
        m_shell.startAborted = true;

    m_shell.constructing = false;
}

TMainF::~TMainF()
{
    detachHooks();
    if (!m_shell.savedAtExit) {
        m_shell.closing = true; // too late to keep the window: at worst a rescue file
        SaveShownPageOrRescue();
        SaveAtExit();
    }
    destroyTree();
    KvTreeBound::SetGoneHandler(nullptr, nullptr);
    if (KvPasswordAsker::Current() == m_passwordAsker.get())
        KvPasswordAsker::SetCurrent(nullptr);
    // Its event filter would see the children's destruction in a window that is no longer
    // a TMainF.
    delete m_restore;
    m_restore = nullptr;
}

void TMainF::Initialize()
{
    KV_LOG_SCOPE("TMainF::Initialize");
    m_shell.pendingFocus = nullptr;
    m_shell.resizePending = false;
    m_shell.startAborted = false;
    m_shell.savedAtExit = true;
    m_shell.closing = false;
    m_shell.fullAccess = false;
}

void TMainF::refreshOptions()
{
    KV_LOG_SCOPE("TMainF::RefreshOptions");
    if (m_shell.startAborted)
        return;
    const KvOptionsG options;
    const QString dir = KvPaths::DataDir();
    const KvDirProps props(dir);
    // The window system shows titles exactly as set: an empty display name is what every
    // title ends with, so none gets " — Korvelle" appended ("Korvelle ***(Nur Lesen)***").
    QGuiApplication::setApplicationDisplayName(QString());
    setWindowTitle(KvWindowTitle(options.FolderInTitle, props.Name(), dir, !m_shell.fullAccess));
    // The selected node of the tree is drawn in the colour of the options.
    const QColor active = KvColor::ToQColor(options.BGColActNode);
    if (active.isValid()) {
        QPalette palette = m_ui.folderTv->palette();
        palette.setColor(QPalette::Active, QPalette::Highlight, active);
        palette.setColor(QPalette::Inactive, QPalette::Highlight, active);
        m_ui.folderTv->setPalette(palette);
    }
    SetSwitchAccessTB();
    // The history is kept as the options say.
    m_lists->OptionsChanged();
}

int TMainF::MessageBox(const QString& title, const QString& text, int kind)
{
    return KvPrompter::ShowMessage(title, text, kind);
}

QString TMainF::StatusPanelText(int panel) const
{
    return panel >= 0 && panel < 5 ? m_panels[panel]->text() : QString();
}

void TMainF::RequestIdle()
{
    m_idle->Request();
}

void TMainF::SetStatusPanelText(int panel, const QString& text)
{
    // The idle pass sets the panels after every burst of events: only a new text repaints.
    if (panel >= 0 && panel < 5 && m_panels[panel]->text() != text)
        m_panels[panel]->setText(text);
}
