#include "app/kvdiraccess.h"

#include "app/kvlockdirectory.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "platform/sysenv.h"

KvLockOutcome KvTakeDirectoryLock(KvLockDirectory& lock, const KvLockRequest& request)
{
    KvLockOutcome out;
    // A lock this object holds already is kept, not released and taken again.
    if (lock.Taken())
        out.fullAccess = lock.KeepLock();
    else
        out.fullAccess = lock.IsHeld() ? false : lock.TakeLock();
    if (out.fullAccess || !request.lockMessageWanted)
        return out;

    const KvLockEntry holder = lock.Holder();
    QString text;
    if (holder.machine == KvSysEnv::HostName()) {
        text = KvTexts::Text(5041);
        if (request.constructing)
            text += KvTexts::Text(5043);
    } else {
        text = KvTexts::Text(5028);
    }
    text = KvTexts::FillPlaceholders(
        text, {request.dataDir, KvTexts::DateTimeText(holder.time), holder.machine, holder.user});
    const int kind = request.constructing ? KvMsgKind::ErrorOkCancel : KvMsgKind::Error;
    if (KvPrompter::ShowMessage(KvTexts::Text(5027), text, kind) == KvAnswer::Cancel)
        out.abortStart = true;
    return out;
}
