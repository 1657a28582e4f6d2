// Life cycle of the main window: opening the data directory, first show, activation,
// idle pass, second window, exit and reopen.
#include "app/kvdiraccess.h"
#include "app/kvdirprops.h"
#include "app/kvformres.h"
#include "app/kvidledriver.h"
#include "app/kvlockdirectory.h"
#include "app/kvmainformsettings.h"
#include "app/kvpaths.h"
#include "app/kvprompter.h"
#include "app/kvshell.h"
#include "app/kvtexts.h"
#include "elements/kvelementenv.h"
#include "elements/kvrescueoffer.h"
#include "elements/kvwelcomepage.h"
#include "lists/kvsearchcrit.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "model/kvpagejournal.h"
#include "model/kvpagerescue.h"
#include "model/kvrescuefiles.h"
#include "platform/applog.h"
#include "richtext/texrichedit.h"
#include "store/kvbatchjournal.h"
#include "store/kvdirstores.h"
#include "store/waitcrsr.h"
#include "ui/kvrestore.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/tmainf.h"
#include "ui/tsplashf.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>
#include <QTimer>

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

    // The candidate: a directory from the command line (not remembered), else the
    //    configured one.
    const bool fromCommandLine = !m_shell.startDir.isEmpty();
    QString candidate = fromCommandLine ? m_shell.startDir : KvPaths::DataDir();
    candidate = KvPaths::WithDrive(candidate);
    m_shell.startDir.clear();

    // A missing directory: say so and let the user pick another one.
    if (!QFileInfo(candidate).isDir()) {
        MessageBox(KvTexts::Text(5007), KvTexts::Message(5026, {candidate}), KvMsgKind::Error);
        candidate = askForDataDirectory(candidate);
        if (candidate.isEmpty()) {
            log.Exit(1);
            return false;
        }
    }

    // The directory's properties decide full or read-only access.
    KvDirProps props(candidate);
    if (m_shell.commandLine.action == u"/dr")
        props.SetFullAccess(false);
    else if (m_shell.commandLine.action == u"/dw")
        props.SetFullAccess(true);
    m_shell.commandLine.action.clear();
    m_shell.fullAccess = props.FullAccess();

    // A directory without data must at least be writable.
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

    // A directory that fails the write test is used read-only.
    if (m_shell.fullAccess && !props.WriteTest()) {
        m_shell.fullAccess = false;
        MessageBox(KvTexts::Text(5027), KvTexts::Message(5030, {candidate}), KvMsgKind::Error);
    }
    // The group flag; no lock message for a second window or read-only work.
    m_shell.groupDir = props.GroupDir();
    if (m_shell.commandLine.newWindow || !m_shell.fullAccess)
        m_shell.lockMessageWanted = false;

    // The candidate becomes the data directory.
    KvPaths::SetDataDir(candidate, !fromCommandLine);

    // The stores of the data directory and of the settings directory.
    KvDirStores::Reopen(KvPaths::DataDir());
    KvDirStores::Open(KvPaths::SettingsDir());

    // Full access needs the lock (an access switch may already hold it, and takes it anew
    // when its file was removed meanwhile); the user may end the program in its message.
    const bool lockHeld = m_lock && m_lock->Taken() && m_lock->KeepLock();
    if (m_shell.fullAccess && !lockHeld && !LockDirectory() && m_shell.startAborted) {
        log.Exit(3);
        return false;
    }

    // A bulk change that a crash interrupted is completed or undone before anything is read.
    recoverJournal();

    // The notebook, built into the tree, with lost elements recovered.
    buildTree(props);

    // Unsaved typing is kept only where it can be saved later.
    if (m_shell.fullAccess)
        m_journal->Open(KvPaths::DataDir(), m_dirCtx->fileExt);
    else
        m_journal->Close();

    // Built: the exit sequence has something to save from now on.
    m_shell.commandLine.newWindow = false;
    m_shell.savedAtExit = false;
    log.Exit(4);
    return true;
}

void TMainF::recoverJournal()
{
    KV_LOG_SCOPE("TMainF::recoverJournal");
    const QString dir = KvPaths::DataDir();
    QString detail;
    try {
        const KvBatchJournal::Outcome outcome =
            KvBatchJournal::Recover(dir, m_shell.fullAccess, &detail);
        if (outcome == KvBatchJournal::Outcome::RolledBack ||
            outcome == KvBatchJournal::Outcome::RolledForward) {
            KvAppLog::Write(u"TMainF: "_qs + detail);
            KvDirStores::Reopen(dir); // read what the journal wrote
        } else if (outcome == KvBatchJournal::Outcome::Waiting) {
            MessageBox(KvTexts::Text(5027), KvTexts::Message(5761, {dir}), KvMsgKind::Warning);
        }
    } catch (const KvException& e) {
        // What cannot be completed must not be written over: the directory is used read-only.
        MessageBox(KvTexts::Text(5007), e.Message(), KvMsgKind::Error);
        MessageBox(KvTexts::Text(5027), KvTexts::Message(5761, {dir}), KvMsgKind::Warning);
        m_shell.fullAccess = false;
        m_lock.reset();
    }
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
    WaitCrsr busy;
    TSplashF splash;
    splash.SetStatus(KvTexts::Text(5124));
    if (isVisible())
        splash.show(); // built but hidden, the progress text would reach nobody
    firstShowChoose();
}

void TMainF::firstShowChoose()
{
    KV_LOG_SCOPE("TMainF::FirstShowChoose");
    // Text kept of pages that were not saved is offered before anything is shown.
    offerRescueFiles();
    // Without a current folder, the top folder.
    if (!m_nav.curFolder)
        m_nav.curFolder = TopFolder();
    // A first start: the welcome page, shown; the first show comes again with the next
    // showing of the window. Without a welcome page the first show goes on.
    const bool windowStored = KvFormRes().Settings().SectionExists(KvMainFormSettings::Section);
    if (m_nav.curFolder && KvWelcomePage::Wanted(*m_nav.curFolder, windowStored)) {
        bool made = false;
        guarded([&] { made = WelcomePage(); });
        if (made)
            return;
    }
    // The element shown first: the command line's, the top folder, the one shown before an
    // access switch, or the last page.
    const QString& pending = m_shell.pendingObjectId;
    if (!pending.isEmpty()) {
        if (pending.contains(u"Page"_qs)) {
            if (auto* page = dynamic_cast<KvPage*>(FindObject(pending)); page && hasTreeNode(page))
                m_nav.curPage = page;
        } else if (pending.contains(u"Fldr"_qs)) {
            if (auto* folder = dynamic_cast<KvFolder*>(FindObject(pending));
                folder && hasTreeNode(folder))
                m_nav.curFolder = folder;
        }
        if (m_nav.curPage)
            m_nav.curFolder = dynamic_cast<KvFolder*>(m_nav.curPage->Parent());
    } else if (KvDirProps(KvPaths::DataDir()).CollapseFldrAtStart() && !m_shell.switchingAccess) {
        m_nav.curFolder = TopFolder();
    } else if (!m_shell.returnFolderId.isEmpty()) {
        if (auto* folder = dynamic_cast<KvFolder*>(FindObject(m_shell.returnFolderId)))
            m_nav.curFolder = folder;
        if (auto* page = dynamic_cast<KvPage*>(FindObject(m_shell.returnPageId)))
            m_nav.curPage = page;
    } else if (TopFolder()) {
        const QString last =
            KvDirContext::FldrStore().ReadString(TopFolder()->Id(), u"LastPage"_qs, QString());
        if (auto* page = dynamic_cast<KvPage*>(last.isEmpty() ? nullptr : FindObject(last));
            page && hasTreeNode(page)) {
            m_nav.curPage = page;
            m_nav.curFolder = dynamic_cast<KvFolder*>(page->Parent());
        }
    }
    // Activated once; the next show is no first show.
    FormActivate();
    m_shell.firstShowPending = false;
    // Still nothing chosen: the top folder and its active page (or first page).
    if (!m_nav.curFolder)
        m_nav.curFolder = TopFolder();
    if (!m_nav.curPage && m_nav.curFolder)
        m_nav.curPage = m_nav.curFolder->GetActivePage();
    // The idle pass shows the element chosen.
    if (m_nav.curPage)
        SetPendingObject(m_nav.curPage->Id());
    else if (m_nav.curFolder)
        SetPendingObject(m_nav.curFolder->Id());
}

void TMainF::offerRescueFiles()
{
    KV_LOG_SCOPE("TMainF::OfferRescueFiles");
    if (!m_shell.fullAccess || !m_journal->IsOpen() || !TopFolder())
        return;
    KvPage* first = nullptr;
    guarded([&] {
        KvElementEnv env = ElementEnv();
        first = KvRescueOffer(env, *m_journal).Run(KvPaths::DataDir(), m_dirCtx->fileExt);
    });
    // A page restored or made is shown first, unless the command line named an element.
    if (first && m_shell.pendingObjectId.isEmpty())
        m_shell.pendingObjectId = first->Id();
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
    // A pending element is shown.
    if (!m_shell.pendingObjectId.isEmpty()) {
        const QString id = m_shell.pendingObjectId;
        const QString text = m_shell.pendingSearchText;
        m_shell.pendingObjectId.clear();
        m_shell.pendingSearchText.clear();
        // A pending text is marked as a whole word, letter case aside.
        KvSearchCrit crit;
        crit.SText1 = text;
        crit.WhWord1 = true;
        guarded([&] {
            if (!SwitchToObjectWithID(id, text.isEmpty() ? nullptr : &crit))
                FolderTvChange();
        });
    }
    // A pending document is opened with the shell.
    openPendingDocument();
    // A finished click in the tree is completed.
    guarded([this] { SpecialHandlingTreeview(); });
    // Command states and the modification text follow the editor.
    StatusBarModifText(m_nav.shownPage);
    UpdateCommandStates();
    // Caret position and insert mode in the status bar.
    displayStats();
    // The pending re-layout is done by Qt's layouts.
    m_shell.resizePending = false;
    // A control that asked for the focus gets it.
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
        WaitCrsr busy;
        r = KvShell::Open(doc);
    }
    if (!r.ok)
        MessageBox(KvTexts::Text(5007), KvTexts::Text(5008) + u"\r\n-> (" + r.reason + u")",
                   KvMsgKind::Error);
}

void TMainF::displayStats()
{
    auto* page = dynamic_cast<KvTVPage*>(m_nav.shownPage);
    TexRichEdit* edit = page && page->IsLoaded() ? page->EditorWidget() : nullptr;
    if (!edit) {
        SetStatusPanelText(2, QString());
        SetStatusPanelText(3, QString());
        return;
    }
    const auto at = edit->LineColumnOf(edit->SelStart());
    QString caret = u"%1/%2"_qs.arg(at.line).arg(at.column);
    if (edit->SelLength() > 1) {
        const auto end = edit->LineColumnOf(edit->SelStart() + edit->SelLength() - 1);
        caret += u" - %1/%2"_qs.arg(end.line).arg(end.column);
    }
    SetStatusPanelText(2, caret);
    const bool editable = page->GetWritable() && !page->GetWriteProtect();
    SetStatusPanelText(3, editable ? KvTexts::Text(edit->IsOverwrite() ? 4101 : 4100) : QString());
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
    WaitCrsr busy;
    m_restore->Store();
    SavePage(m_nav.shownPage);
    if (m_nav.curFolder && m_nav.curFolder->GetWritable())
        StoreFolder(m_nav.curFolder);
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
    KvLogScope log("TMainF::FormCloseQuery");
    if (!m_shell.savedAtExit) {
        if (!SaveShownPageOrRescue()) {
            log.Exit(1);
            return false; // the user keeps the window with the unsaved text
        }
        SaveAtExit();
    }
    m_shell.closing = true;
    return true;
}

void TMainF::FormClose()
{
    KV_LOG_SCOPE("TMainF::FormClose");
    if (!m_shell.savedAtExit) {
        SaveShownPageOrRescue(); // cannot be refused any more: at worst a rescue file
        SaveAtExit();
    }
    detachHooks();
}

bool TMainF::SaveShownPageOrRescue()
{
    KV_LOG_SCOPE("TMainF::SaveShownPageOrRescue");
    KvPage* page = m_nav.shownPage;
    if (!page || !page->GetWritable() || !page->IsLoaded())
        return true;
    const bool mayAsk = !m_shell.forcedExit && !m_shell.closing;
    switch (KvPageRescue::SaveOrRescue(
        *page, [this, page] { SavePage(page); }, mayAsk,
        [this, page](QString& reason) { return m_journal->WriteNow(*page, reason); })) {
    case KvPageRescue::Outcome::Saved:
        return true;
    case KvPageRescue::Outcome::Cancelled:
        return false;
    case KvPageRescue::Outcome::SavedToFile:
    case KvPageRescue::Outcome::Discarded:
        break;
    }
    // The user kept the text in a file of their choice or gave it up: its rescue file goes.
    // Without a user the rescue file is where the text is kept.
    if (mayAsk)
        m_journal->Drop(KvRescueFiles::StemOf(*page));
    // The text is kept elsewhere or given up: the page goes without another save, which
    // would only fail again.
    m_nav.shownPage = nullptr;
    page->Unload();
    return true;
}

void TMainF::Terminate()
{
    KV_LOG_SCOPE("TMainF::Terminate");
    m_shell.forcedExit = true;
    // Nobody answers any more: questions get the answer that changes nothing.
    KvPrompter::SetCurrent(nullptr);
    closeModalWindows();
    // A dialog's event loop may still be on the stack, with the code that opened it
    // waiting below; the exit sequence runs once that stack has unwound.
    QTimer::singleShot(0, this, [this] { closeWhenUnwound(); });
}

void TMainF::closeModalWindows()
{
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog && dialog->isVisible())
            dialog->reject();
    }
}

void TMainF::closeWhenUnwound()
{
    if (QApplication::activeModalWidget() || QThread::currentThread()->loopLevel() > 1) {
        closeModalWindows();
        QTimer::singleShot(10, this, [this] { closeWhenUnwound(); });
        return;
    }
    close();
}

void TMainF::SaveAtExit()
{
    KV_LOG_SCOPE("TMainF::SaveAtExit");
    m_restore->Store();
    m_shell.savedAtExit = true;
    ++m_exitRuns;
    DestroyFolderAndPages(false);
}

void TMainF::DestroyFolderAndPages(bool keepLock)
{
    KV_LOG_SCOPE("TMainF::DestroyFolderAndPages");
    WaitCrsr busy;
    TSplashF splash;
    splash.SetStatus(KvTexts::Text(5123));
    if (isVisible())
        splash.show(); // built but hidden, the progress text would reach nobody

    // Shown page saved, folder stored, last page written, notebook destroyed; every
    // failure of the teardown is collected into one message.
    QStringList errors;
    m_collectedErrors = &errors;
    destroyTree();
    m_collectedErrors = nullptr;
    m_journal->Close();

    // The stores are written before the lock goes, so that no other instance can take
    // the directory while our last changes are still on their way.
    try {
        KvDirStores::FlushAll();
    } catch (const KvException& e) {
        errors.append(e.Message());
    }
    if (m_lock && !keepLock) {
        m_lock->ReleaseLock();
        m_lock.reset();
    }
    errors.removeDuplicates();
    if (!errors.isEmpty()) {
        const QString text = KvTexts::Text(5957) + u"\r\n\r\n" + errors.join(u"\r\n"_qs);
        if (m_shell.forcedExit)
            KvAppLog::Write(text);
        else
            MessageBox(KvTexts::Text(5007), text, KvMsgKind::Error);
    }
}

void TMainF::UpdateDirectoryAccess(const QString& dir, bool previousFullAccess)
{
    KvLogScope log("TMainF::UpdateDirectoryAccess");
    const bool sameDir = KvPaths::WithTrailingSlash(dir) == KvPaths::DataDir();
    const KvDirProps props(dir);
    m_shell.groupDir = props.GroupDir();
    if (sameDir && previousFullAccess == props.FullAccess()) {
        log.Exit(1);
        return;
    }
    if (!SaveShownPageOrRescue()) {
        log.Exit(2);
        return;
    }
    // An access switch shows the same folder and page again.
    m_shell.switchingAccess = sameDir;
    m_shell.returnFolderId = sameDir && m_nav.curFolder ? m_nav.curFolder->Id() : QString();
    m_shell.returnPageId = sameDir && m_nav.curPage ? m_nav.curPage->Id() : QString();
    // Switching to full access keeps the lock already taken for it: releasing and taking
    // it again would leave a moment for another instance.
    const bool keepLock = sameDir && props.FullAccess() && m_lock && m_lock->Taken();
    DestroyFolderAndPages(keepLock);
    Initialize();
    KvPaths::SetDataDir(dir, true);
    m_shell.lockMessageWanted = true;
    if (BuildFolderAndPages()) {
        m_shell.firstShowPending = true;
        m_shell.focusWanted = false;
        FormShow();
        m_shell.switchingAccess = false;
        m_shell.returnFolderId.clear();
        m_shell.returnPageId.clear();
        refreshOptions();
    } else {
        m_shell.startAborted = true;
        close();
        QCoreApplication::exit(1);
    }
}
