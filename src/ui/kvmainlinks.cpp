#include "ui/kvmainlinks.h"

#include "commands/kvkeywordcommands.h"
#include "commands/kvsearchservices.h"
#include "elements/kvelementwindow.h"
#include "links/kvlink.h"
#include "model/kvdircontext.h"
#include "model/kvobject.h"
#include "ui/kvmainsearch.h"
#include "ui/thyperlinkf.h"
#include "ui/tmainf.h"

QString KvMainLinks::AskLink()
{
    THyperlinkF::Pickers pickers;
    pickers.element = [this](const QString& preselectId) -> QString {
        KvObject* preselect = preselectId.isEmpty() ? nullptr : FindObject(preselectId);
        KvObject* chosen = m_w.ElementEnv().window->ChooseElement(KvChooseKind::Any, preselect);
        if (!chosen)
            return {};
        // The dialog's prefix "file://" completes it.
        return KvLink::ElementUrl(chosen->Id(), chosen->Name()).mid(KvLink::FilePrefix.size());
    };
    pickers.keyword = [this]() -> QString {
        std::unique_ptr<KvKeywordDialog> d = m_w.Search().KeywordDialog(false);
        d->ShowSelectMode();
        return d->Run() == KvKeywordDialog::Closed ? d->SelectedKeyword() : QString();
    };
    THyperlinkF dialog(KvDirContext::Current().DataDir(), pickers, &m_w);
    return dialog.Execute();
}

void KvMainLinks::OpenLater(const QString& target)
{
    m_w.SetPendingDocument(target);
}

void KvMainLinks::ShowKeyword(const QString& keyword)
{
    if (auto* keywords = m_w.Commands().Handler<KvKeywordCommands>())
        keywords->Keywords(keyword);
}
