// The access switch of group directories: full access and read-only work in turn.
#include "app/kvdirprops.h"
#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "platform/applog.h"
#include "ui/tmainf.h"

#include <QAction>
#include <QToolBar>

void TMainF::SetSwitchAccessTB()
{
    QAction* a = Action(u"SwitchAccessA"_qs);
    if (a == nullptr)
        return;
    a->setVisible(m_shell.groupDir);
    // The separator in front of the button goes with it.
    if (auto* bar = findChild<QToolBar*>(u"MainToolbar"_qs)) {
        const QList<QAction*> items = bar->actions();
        const qsizetype at = items.indexOf(a);
        if (at > 0 && items.at(at - 1)->isSeparator())
            items.at(at - 1)->setVisible(m_shell.groupDir);
    }
    const QSignalBlocker quiet(a);
    a->setChecked(m_shell.fullAccess);
    const KvHint hint = KvTexts::SplitHint(KvTexts::Text(m_shell.fullAccess ? 3121 : 3120));
    a->setToolTip(hint.tooltip);
    a->setStatusTip(hint.statusText);
}

void TMainF::SwitchAccess()
{
    KvLogScope log("TMainF::SwitchAccess");
    QAction* a = Action(u"SwitchAccessA"_qs);
    const bool wantFull = a && a->isChecked();
    // The shown page is saved (or its text kept) before anything changes.
    if (!SaveShownPageOrRescue()) {
        SetSwitchAccessTB();
        log.Exit(1);
        return;
    }
    m_shell.switchingAccess = true;
    const QString dir = KvPaths::DataDir();
    if (wantFull) {
        m_shell.lockMessageWanted = true;
        if (!LockDirectory()) {
            SetSwitchAccessTB();
            m_shell.switchingAccess = false;
            return;
        }
    }
    KvDirProps props(dir);
    const bool before = props.FullAccess();
    props.SetFullAccess(!before);
    props.Store();
    // The stored access changed, so the directory is reopened and the same folder and
    // page are shown again.
    UpdateDirectoryAccess(dir, before);
    m_shell.switchingAccess = false;
    m_shell.returnFolderId.clear();
    m_shell.returnPageId.clear();
}
