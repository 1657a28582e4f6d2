#include "ui/kvelementhooks.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "lists/kvsearchthread.h"
#include "ui/tmainf.h"

KvElementHooks::KvElementHooks(TMainF& w, TexTreeView* tree)
    : pageTemplate([&w] { return w.StatusCatalogue(); }), factory(tree), window(w)
{
    lists.AddFirst(&paste);
    lists.SetReporter([](const QString& message) {
        KvPrompter::ShowMessage(KvTexts::Text(5007), message, KvMsgKind::Error);
    });
    busy.SetProgressProbe([this] { return window.Progress() != nullptr; });
    busy.SetSearchProbe([] { return KvSearchThread::AnyRunning(); });
}

KvElementHooks::~KvElementHooks()
{
    lists.Remove(&paste);
}
