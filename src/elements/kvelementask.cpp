#include "elements/kvelementask.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"

bool KvGoOn(const std::optional<KvQuestion>& question)
{
    if (!question)
        return true;
    return KvPrompter::ShowMessage(question->caption, question->text, KvMsgKind::AskYesNo) ==
           KvAnswer::Yes;
}

void KvShowError(const QString& text)
{
    KvPrompter::ShowMessage(KvTexts::Text(5007), text, KvMsgKind::Error);
}
