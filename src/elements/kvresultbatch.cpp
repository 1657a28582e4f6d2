#include "elements/kvresultbatch.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementmove.h"
#include "elements/kvelementwindow.h"
#include "lists/kvsearchresults.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"

#include <exception>

namespace {

KvObject* Live(const QString& id)
{
    KvObject* obj = FindObject(id);
    return obj && !obj->IsRemoved() ? obj : nullptr;
}

} // namespace

KvResultBatch::KvResultBatch(KvElementEnv& env, KvSearchResults* results)
    : m_env(env), m_results(results)
{}

int KvResultBatch::run(const QStringList& ids, int title,
                       const std::function<void(const QString&)>& handle)
{
    QStringList handled;
    QStringList* const outerList = m_env.batchList;
    m_env.batchList = &handled;
    if (m_results)
        m_results->BeginBatch();
    const bool progress = ids.size() > 1;
    if (progress)
        m_env.window->ProgressOpen(KvTexts::Text(title), int(ids.size()));
    int done = 0;
    std::exception_ptr failure;
    try {
        m_env.window->TreeBulkUpdate([&] {
            for (const QString& id : ids) {
                if (m_env.window->StopRequested())
                    break;
                if (progress)
                    m_env.window->ProgressStep();
                if (handled.contains(id) || !Live(id))
                    continue;
                handle(id);
                ++done;
            }
        });
    } catch (...) {
        failure = std::current_exception();
    }
    // Whatever happened: the saved results written, the window back to normal.
    m_env.batchList = outerList;
    if (m_results) {
        m_results->EndBatch();
        try {
            m_results->SaveAll();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (progress)
        m_env.window->ProgressClose();
    m_env.window->CommandsChanged();
    if (failure)
        std::rethrow_exception(failure);
    return done;
}

int KvResultBatch::Delete(const QStringList& ids)
{
    KV_LOG_SCOPE("TMainF::DeleteResPMIClick");
    return run(ids, 2202, [this](const QString& id) {
        KvElementEdit edit(m_env);
        if (auto* page = dynamic_cast<KvPage*>(Live(id))) {
            m_env.window->ProgressText(KvTexts::Message(5336, {page->Name()}));
            edit.DeletePage(*page);
        } else if (auto* folder = dynamic_cast<KvFolder*>(Live(id)); folder && folder->Parent()) {
            m_env.window->ProgressText(KvTexts::Message(5337, {folder->Name()}));
            edit.DeleteFolder(*folder);
        }
    });
}

int KvResultBatch::Move(const QStringList& ids)
{
    KV_LOG_SCOPE("TMainF::MoveResPMIClick");
    auto* target =
        dynamic_cast<KvFolder*>(m_env.window->ChooseElement(KvChooseKind::Folder, nullptr));
    if (!target)
        return 0;
    const QString targetId = target->Id();
    return run(ids, 2204, [this, targetId](const QString& id) {
        // A move re-creates elements: the target is looked up anew for each one.
        auto* to = dynamic_cast<KvFolder*>(Live(targetId));
        if (!to)
            return;
        KvElementMove move(m_env);
        if (auto* page = dynamic_cast<KvPage*>(Live(id))) {
            // No question for a page that is in the target already.
            if (page->Parent() == to || !move.MovePageConfirmed(*page))
                return;
            m_env.window->ProgressText(KvTexts::Message(5338, {page->Name()}));
            move.Move(*page, *to, false);
        } else if (auto* folder = dynamic_cast<KvFolder*>(Live(id)); folder && folder->Parent()) {
            if (!move.MoveFolderConfirmed(*folder))
                return;
            if (to != folder && to->HasAncestor(folder)) {
                KvPrompter::ShowMessage(KvTexts::Text(5019) + u'\'' + folder->Name() + u"':"_qs,
                                        KvTexts::Text(5011), KvMsgKind::Error);
                return;
            }
            if (to == folder || to == folder->Parent())
                return;
            m_env.window->ProgressText(KvTexts::Message(5339, {folder->Name()}));
            move.Move(*folder, *to, false);
        }
    });
}
