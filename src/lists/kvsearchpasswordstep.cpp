#include "lists/kvsearchpasswordstep.h"

#include "model/kvpage.h"
#include "model/kvpasswordasker.h"
#include "platform/applog.h"
#include "platform/kvwipe.h"

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
    // A wrong or refused text is nobody else's: it goes overwritten. A right one is shared
    // with the password list, which keeps it for the run.
    struct TextWiper
    {
        QString& text;
        ~TextWiper() { KvWipe::Wipe(text); }
    } wiper{text};
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
