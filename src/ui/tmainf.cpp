#include "ui/tmainf.h"

#include "app/kvidledriver.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "platform/applog.h"

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

    createStatusBar();
    createMenus();
    languageInit();

    if (BuildFolderAndPages())
        refreshOptions();
    else
        m_shell.startAborted = true;

    m_shell.constructing = false;
}

TMainF::~TMainF()
{
    detachHooks();
    if (!m_shell.savedAtExit)
        SaveAtExit();
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

void TMainF::createStatusBar()
{
    for (int i = 0; i < 5; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(u"StatusPanel%1"_qs.arg(i));
        if (i == 0)
            statusBar()->addWidget(m_panels[i], 1);
        else
            statusBar()->addPermanentWidget(m_panels[i]);
    }
    statusBar()->setObjectName(u"StatusBar"_qs);
}

void TMainF::createMenus()
{
    QMenu* page = menuBar()->addMenu(u"Datei#1000"_qs);
    page->setObjectName(u"PageM"_qs);
    QAction* exit = page->addAction(u"ExitMI#1015"_qs, this, &QWidget::close);
    exit->setObjectName(u"ExitMI"_qs);
    exit->setMenuRole(QAction::QuitRole);

    QMenu* view = menuBar()->addMenu(u"Ansicht#1300"_qs);
    view->setObjectName(u"ViewM"_qs);
    QAction* newWindow = view->addAction(u"NewWindowMI#1325"_qs, this, &TMainF::NewWindowMIClick);
    newWindow->setObjectName(u"NewWindowMI"_qs);
}

void TMainF::languageInit()
{
    KV_LOG_SCOPE("TMainF::LanguageInit");
    for (QMenu* menu : menuBar()->findChildren<QMenu*>()) {
        menu->setTitle(KvTexts::ResolveReference(menu->title()));
        for (QAction* a : menu->actions())
            a->setText(KvTexts::ResolveReference(a->text()));
    }
}

void TMainF::refreshOptions()
{
    // The title carries the product name; directory name and read-only mark join it
    // with the options.
    setWindowTitle(KvTexts::Text(9999));
}

int TMainF::MessageBox(const QString& title, const QString& text, int kind)
{
    return KvPrompter::ShowMessage(title, text, kind);
}

QString TMainF::StatusPanelText(int panel) const
{
    return panel >= 0 && panel < 5 ? m_panels[panel]->text() : QString();
}

void TMainF::SetStatusPanelText(int panel, const QString& text)
{
    if (panel >= 0 && panel < 5)
        m_panels[panel]->setText(text);
}
