#include "lists/kvsearchpasswordstep.h"

#include "model/kvpage.h"
#include "model/kvpasswordasker.h"
#include "platform/applog.h"

KvSearchPassword KvSearchPasswordStep::Run(const QString& pageId)
{
    KV_LOG_SCOPE("KvSearchPasswordStep::Run");
    KvSearchPassword answer;
    auto* page = dynamic_cast<KvPage*>(FindObject(pageId));
    if (!page || page->IsRemoved() || !page->IsProtected())
        return answer;
    const KvPagePassword& current = page->Password();
    if (current.Unlocked()) {
        answer.given = true;
        answer.password = current.Password();
        return answer;
    }
    // A copy tries the password: the page itself changes only as a load would change it.
    KvPagePassword trial = current;
    QString text;
    if (trial.UsePasswordList() && trial.TryPasswordList()) {
        text = trial.Password();
    } else {
        KvPasswordAsker* asker = KvPasswordAsker::Current();
        if (!asker || !asker->AskPassword(*page, text) || !trial.CheckPassword(text))
            return answer;
    }
    if (current.AskMode() != KvPagePassword::AskEveryLoad)
        page->SetPassword(text, true);
    answer.given = true;
    answer.password = text;
    return answer;
}
