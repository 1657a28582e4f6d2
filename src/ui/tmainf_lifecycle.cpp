// Life cycle of the main window: opening the data directory, first show, activation,
// idle pass, second window, exit and reopen.
#include "app/kvdiraccess.h"
#include "app/kvdirprops.h"
#include "app/kvidledriver.h"
#include "app/kvlockdirectory.h"
#include "app/kvpaths.h"
#include "app/kvprompter.h"
#include "app/kvshell.h"
#include "app/kvtexts.h"
#include "platform/applog.h"
#include "store/kvdirstores.h"
#include "ui/tmainf.h"
#include "ui/tsplashf.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QTimer>

namespace {

// Scoped wait cursor for the window layer.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

QString TMainF::askForDataDirectory(const QString& start)
{
    return KvPrompter::Current().ChooseFolder(KvTexts::Text(5370), start);
}

bool TMainF::LockDirectory()
{
    KV_LOG_SCOPE("TMainF::LockDirectory");
    m_lock = std::make_unique<KvLockDirectory>(KvPaths::DataDir());
    const KvLockOutcome out = KvTakeDirectoryLock(
        *m_lock, {KvPaths::DataDir(), m_shell.lockMessageWanted, m_shell.constructing});
    m_shell.fullAccess = out.fullAccess;
    if (out.abortStart)
        m_shell.startAborted = true;
    if (!out.fullAccess)
        m_lock.reset(); // nothing of ours to release
    return out.fullAccess;
}

bool TMainF::BuildFolderAndPages()
{
    KvLogScope log("TMainF::BuildFolderAndPages");

    // 1. The candidate: a directory from the command line (not remembered), else the
    //    configured one.
    const bool fromCommandLine = !m_shell.startDir.isEmpty();
    QString candidate = fromCommandLine ? m_shell.startDir : KvPaths::DataDir();
    candidate = KvPaths::WithDrive(candidate);
    m_shell.startDir.clear();

    // 2. A missing directory: say so and let the user pick another one.
    if (!QFileInfo(candidate).isDir()) {
        MessageBox(KvTexts::Text(5007), KvTexts::Message(5026, {candidate}), KvMsgKind::Error);
        candidate = askForDataDirectory(candidate);
        if (candidate.isEmpty()) {
            log.Exit(1);
            return false;
        }
    }

    // 3. The directory's properties decide full or read-only access.
    KvDirProps props(candidate);
    if (m_shell.commandLine.action == u"/dr")
        props.SetFullAccess(false);
    else if (m_shell.commandLine.action == u"/dw")
        props.SetFullAccess(true);
    m_shell.commandLine.action.clear();
    m_shell.fullAccess = props.FullAccess();

    // 4. A directory without data must at least be writable.
    while (!props.HasData() && !props.WriteTest()) {
        MessageBox(KvTexts::Text(5007), KvTexts::Message(5031, {candidate}), KvMsgKind::Error);
        candidate = askForDataDirectory(candidate);
        if (candidate.isEmpty()) {
            log.Exit(2);
            return false;
        }
        props.ReadFor(candidate);
        m_shell.fullAccess = props.FullAccess();
    }

    // 5.
    if (m_shell.fullAccess && !props.WriteTest()) {
        m_shell.fullAccess = false;
        MessageBox(KvTexts::Text(5027), KvTexts::Message(5030, {candidate}), KvMsgKind::Error);
    }
    // 6.-7.
    m_shell.groupDir = props.GroupDir();
    if (m_shell.commandLine.newWindow || !m_shell.fullAccess)
        m_shell.lockMessageWanted = false;

    // 8. The candidate becomes the data directory.
    KvPaths::SetDataDir(candidate, !fromCommandLine);

    // 9.
    KvDirStores::Reopen(KvPaths::DataDir());
    KvDirStores::Open(KvPaths::SettingsDir());

    // 10.
    if (m_shell.fullAccess && !LockDirectory() && m_shell.startAborted) {
        log.Exit(3);
        return false;
    }

    // 11.-20. The trees, history, bookmarks and saved results are built by their owners
    //         as they are added.

    // 21.
    m_shell.commandLine.newWindow = false;
    m_shell.savedAtExit = false;
    log.Exit(4);
    return true;
}

void TMainF::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    FormShow();
}

void TMainF::FormShow()
{
    KV_LOG_SCOPE("TMainF::FormShow");
    if (m_shell.startAborted) {
        detachHooks();
        QTimer::singleShot(0, this, [this] {
            close();
            QCoreApplication::exit(1);
        });
        return;
    }
    if (!m_shell.firstShowPending)
        return;
    BusyCursor busy;
    // The element to show first is chosen here once the notebook is in memory.
    FormActivate();
    m_shell.firstShowPending = false;
}

void TMainF::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
    else if (event->type() == QEvent::WindowStateChange && isMinimized())
        OnMinimize();
}

void TMainF::FormActivate()
{
    if (m_shell.startAborted || !isVisible())
        return;
    setEnabled(true);
    m_idle->SetActive(true);
    m_shell.focusWanted = true;
}

void TMainF::detachHooks()
{
    if (m_idle)
        m_idle->SetActive(false);
}

bool TMainF::event(QEvent* event)
{
    if (event->type() == QEvent::StatusTip)
        OnHint();
    return QMainWindow::event(event);
}

void TMainF::OnHint()
{
    // Status tips reach panel 0 through QStatusBar itself; nothing to copy.
}

void TMainF::OnMinimize()
{
    // Hiding to the tray comes with the tray icon.
}

void TMainF::OnIdle()
{
    if (!isVisible())
        return;
    ++m_idlePasses;
    // 1. A pending element is shown once the notebook can show elements.
    if (!m_shell.pendingObjectId.isEmpty()) {
        m_shell.pendingObjectId.clear();
        m_shell.pendingSearchText.clear();
    }
    // 2.
    openPendingDocument();
    // 3. Tree clicks are completed once the tree holds the notebook.
    // 4.
    UpdateCommandStates();
    // 5.
    displayStats();
    // 6.
    m_shell.resizePending = false;
    // 7.
    if (QWidget* w = m_shell.pendingFocus) {
        if (w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus)
            w->setFocus();
    }
    m_shell.pendingFocus = nullptr;
}

void TMainF::openPendingDocument()
{
    if (m_shell.pendingDocument.isEmpty())
        return;
    const QString doc = m_shell.pendingDocument;
    m_shell.pendingDocument.clear();
    KvShell::Result r;
    {
        BusyCursor busy;
        r = KvShell::Open(doc);
    }
    if (!r.ok)
        MessageBox(KvTexts::Text(5007), KvTexts::Text(5008) + u"\r\n-> (" + r.reason + u")",
                   KvMsgKind::Error);
}

void TMainF::displayStats()
{
    // Caret position and insert mode need a loaded page; without one the panels are empty.
    SetStatusPanelText(2, QString());
    SetStatusPanelText(3, QString());
}

void TMainF::SetPendingObject(const QString& id, const QString& searchText)
{
    m_shell.pendingObjectId = id;
    m_shell.pendingSearchText = searchText;
    m_idle->Request();
}

void TMainF::SetPendingDocument(const QString& document)
{
    m_shell.pendingDocument = document;
    m_idle->Request();
}

void TMainF::NewWindowMIClick()
{
    KV_LOG_SCOPE("TMainF::NewWindowMIClick");
    BusyCursor busy;
    // The window state, the current page and folder are saved first once they exist.
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {u"/new_window"_qs});
}

void TMainF::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

bool TMainF::FormCloseQuery()
{
    KV_LOG_SCOPE("TMainF::FormCloseQuery");
    if (!m_shell.savedAtExit)
        SaveAtExit();
    m_shell.closing = true;
    return true;
}

void TMainF::FormClose()
{
    KV_LOG_SCOPE("TMainF::FormClose");
    if (!m_shell.savedAtExit)
        SaveAtExit();
    detachHooks();
}

void TMainF::SaveAtExit()
{
    KV_LOG_SCOPE("TMainF::SaveAtExit");
    // The window state is stored here once it is kept.
    m_shell.savedAtExit = true;
    ++m_exitRuns;
    DestroyFolderAndPages();
}

void TMainF::DestroyFolderAndPages()
{
    KV_LOG_SCOPE("TMainF::DestroyFolderAndPages");
    BusyCursor busy;
    TSplashF splash;
    splash.SetStatus(KvTexts::Text(5123));
    // 2.-9. The shown page, the current folder, search results, history, the trash and
    //       the trees are saved by their owners.

    // 10.
    if (m_lock) {
        m_lock->ReleaseLock();
        m_lock.reset();
    }
    KvDirStores::FlushAll();
}

void TMainF::UpdateDirectoryAccess(const QString& dir, bool previousFullAccess)
{
    KV_LOG_SCOPE("TMainF::UpdateDirectoryAccess");
    const bool sameDir = KvPaths::WithTrailingSlash(dir) == KvPaths::DataDir();
    if (sameDir && previousFullAccess == m_shell.fullAccess)
        return;
    DestroyFolderAndPages();
    Initialize();
    KvPaths::SetDataDir(dir, true);
    m_shell.lockMessageWanted = true;
    if (BuildFolderAndPages()) {
        m_shell.firstShowPending = true;
        m_shell.focusWanted = false;
        FormShow();
    } else {
        m_shell.startAborted = true;
        close();
        QCoreApplication::exit(1);
    }
}
