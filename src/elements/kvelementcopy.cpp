#include "elements/kvelementcopy.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "elements/kvbulkscope.h"
#include "elements/kvelementask.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementids.h"
#include "elements/kvelementmove.h"
#include "elements/kvelementrules.h"
#include "elements/kvelementwindow.h"
#include "elements/kvpastesource.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnewpagelayout.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpage.h"
#include "model/kvpagelayout.h"
#include "platform/applog.h"
#include "platform/kvatomicfile.h"
#include "store/texinifile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QQueue>
#include <algorithm>
#include <memory>

namespace {

const QString kRef2 = u"Ref2"_qs;
const QString kSelStart = u"SelStart"_qs;
const QString kWriteProtect = u"WriteProtect"_qs;
const QString kSelLength = u"SelLength"_qs;
const QString kPWAskMode = u"PWAskMode"_qs;
const QString kPWCopy = u"PWCopy"_qs;
const QString kEncSCl = u"EncSCl"_qs;
const QString kPWBF = u"PWBF"_qs;
const QString kPWList = u"PWList"_qs;

// The page a referrer stands for; none when it is gone.
KvPage* TargetPage(KvObject& referrer)
{
    referrer.ResolveTarget();
    auto* target = dynamic_cast<KvPage*>(referrer.Target());
    return target && !target->IsRemoved() ? target : nullptr;
}

void WriteContent(const QString& path, const QByteArray& bytes)
{
    int error = 0;
    if (!KvAtomicFile::WriteFile(path, bytes, KvAtomicFile::Access::KeepOrDefault, &error))
        throw KvException(KvTexts::Message(5631, {path, KvAtomicFile::ErrorString(error)}));
}

// Closes the progress window when the copy ends, also by a failure.
class ProgressGuard
{
public:
    ProgressGuard(KvElementWindow& window, const QString& title, int maximum) : m_window(window)
    {
        m_window.ProgressOpen(title, maximum);
    }
    ~ProgressGuard() { m_window.ProgressClose(); }
    ProgressGuard(const ProgressGuard&) = delete;
    ProgressGuard& operator=(const ProgressGuard&) = delete;

private:
    KvElementWindow& m_window;
};

} // namespace

KvElementCopy::KvElementCopy(KvElementEnv& env) : m_env(env)
{
    m_env.Check();
}

// ---- the source

void KvElementCopy::PageCopy(KvPage& page)
{
    m_env.paste->SetCopy(page.Id());
}

void KvElementCopy::FolderCopy(KvFolder& folder)
{
    m_env.paste->SetCopy(folder.Id());
}

void KvElementCopy::CreateReferrer(KvPage& page)
{
    m_env.paste->SetReferrer(page.Id());
}

KvObject* KvElementCopy::FolderPaste(KvFolder& target)
{
    KV_LOG_SCOPE("KvElementCopy::FolderPaste");
    KvPasteSource& paste = *m_env.paste;
    if (!paste.ReferrerId().isEmpty()) {
        auto* page = dynamic_cast<KvPage*>(FindObject(paste.ReferrerId()));
        return page && !page->IsRemoved() ? NewReferrer(*page, target) : nullptr;
    }
    if (paste.CopyId().isEmpty())
        return nullptr;
    KvObject* source = FindObject(paste.CopyId());
    if (!source || source->IsRemoved())
        return nullptr;
    if (paste.CopiesPage()) {
        auto* page = dynamic_cast<KvPage*>(source);
        if (!page)
            return nullptr;
        KvBulkScope bulk(m_env);
        KvPage* copy = CopyPage2Folder(*page, target);
        if (target.GetAutoSort())
            KvElementMove(m_env).AutoSort(target);
        KvBulkScope::StoreFolder(m_env, target);
        bulk.Commit();
        return copy;
    }
    auto* folder = dynamic_cast<KvFolder*>(source);
    if (!folder)
        return nullptr;
    if (target.HasAncestor(folder)) {
        KvShowError(KvTexts::Text(5520));
        return nullptr;
    }
    if (target.Id() == folder->Id()) {
        KvShowError(KvTexts::Text(5521));
        return nullptr;
    }
    KvFolder* copy = copyTree(*folder, target);
    if (!copy)
        return nullptr;
    KvBulkScope bulk(m_env);
    KvElementMove move(m_env);
    if (copy->GetAutoSort()) {
        move.AutoSort(*copy);
        KvBulkScope::StoreFolder(m_env, *copy);
    }
    if (target.GetAutoSort()) {
        move.AutoSort(target);
        KvBulkScope::StoreFolder(m_env, target);
    }
    bulk.Commit();
    m_env.window->TabsFollowOrder(target);
    m_env.window->ShowElement(*copy);
    m_env.window->CommandsChanged();
    return copy;
}

// ---- one page

KvPage* KvElementCopy::CopyPage2Folder(KvPage& sourcePage, KvFolder& target)
{
    KV_LOG_SCOPE("KvElementCopy::CopyPage2Folder");
    KvPage* source = &sourcePage;
    if (source->IsReferrer()) {
        KvPage* original = TargetPage(*source);
        if (!original)
            throw KvException(KvTexts::Message(5522, {source->Name()}));
        // Outside the trash no referrer stands for a page in it (emptying the trash would
        // take it along): there the copy is the original's, without a question.
        const bool referrerPossible = !KvElementRules::InTrash(*original, *m_env.trash) ||
                                      KvElementRules::InTrash(target, *m_env.trash);
        bool asReferrer = referrerPossible && m_referrerCopy == ReferrerCopy::AsReferrer;
        if (referrerPossible && m_referrerCopy == ReferrerCopy::Ask)
            asReferrer = KvPrompter::ShowMessage(KvTexts::Text(5059),
                                                 KvTexts::Message(5058, {source->Name()}),
                                                 KvMsgKind::AskYesNo) == KvAnswer::Yes;
        if (!asReferrer)
            source = original;
    }
    // Without PWCopy the copy is an unprotected page; the user hears it before the copy.
    const bool plainCopy =
        !source->IsReferrer() && source->IsProtected() && !source->GetCopyPasswordProtection();
    if (plainCopy && !plainCopyWanted(5525, {source->Name()})) {
        kvLogScope_.Exit(1);
        return nullptr;
    }
    m_env.window->StatusText(KvTexts::Message(5333, {source->Name()}));
    KvBulkScope bulk(m_env);
    // The text being edited is what is copied, and a password change made since the page
    // was stored goes to the store first: the copy takes the key the store names.
    if (source->IsLoaded() || source->PendingContent()) {
        try {
            source->Store();
        } catch (const KvPage::EWrongPassword&) {
        }
    }

    TexIniFile& objStore = KvDirContext::ObjStore();
    TexIniFile& pageStore = KvDirContext::PageStore();
    const bool referrerCopy = source->IsReferrer();
    QByteArray content;
    bool hasContent = false;
    bool copyProtection = false;
    QString id;
    if (referrerCopy) {
        id = KvElementIds::NewPageId();
        objStore.WriteString(id, kRef2, source->Ref2());
    } else {
        // The content first: a page whose password is not given is not copied at all, and
        // takes no id.
        const QString section = source->Id();
        copyProtection = source->IsProtected() && source->GetCopyPasswordProtection();
        try {
            // Both read the file that holds the content now: the side file while a password
            // change waits for its rename.
            hasContent = QFileInfo::exists(source->ContentReadPath());
            if (copyProtection)
                content = source->ReadStoredBytes(); // same password, same key
            else
                content = source->ReadContent();
        } catch (const KvPage::EWrongPassword&) {
            m_skipped.append(source->Id());
            KvAppLog::Write(u"KvElementCopy: %1 not copied, no password"_qs.arg(source->Id()));
            kvLogScope_.Exit(2);
            return nullptr;
        }
        id = KvElementIds::NewPageId();
        if (copyProtection) {
            for (const QString& key : {kPWAskMode, kPWCopy, kEncSCl, kPWBF, kPWList})
                pageStore.WriteString(id, key, pageStore.ReadString(section, key, QString()));
        }
        pageStore.WriteBool(id, kWriteProtect, source->GetWriteProtect());
        for (const QString& key : {kSelStart, kSelLength}) {
            if (pageStore.ValueExists(section, key))
                pageStore.WriteString(id, key, pageStore.ReadString(section, key, QString()));
        }
    }
    // Inside a folder copy the children keep the source's order.
    const bool atEnd = m_inFolderCopy || !target.GetNewElemsFirst();
    KvPage* page = m_env.factory->CreatePage(id, &target, atEnd);
    if (!referrerCopy) {
        page->SetName(source->Name());
        page->SetStatus(source->GetStatus());
        page->SetKeywords(source->GetKeywords());
        if (hasContent)
            WriteContent(page->ContentFilePath(), content);
        content.fill('\0');
        page->GetLayout()->AssignLayout(*source->GetLayout());
        page->GetLayout()->Store();
    }
    target.SetActivePage(page);
    KvBulkScope::StoreFolder(m_env, target);
    page->Store();
    bulk.Commit();
    if (plainCopy)
        m_plainCopies.append({source->Id(), page->Id()});
    if (!m_inFolderCopy) {
        m_env.window->TabsFollowOrder(target);
        m_env.window->ShowElement(*page);
        m_env.window->CommandsChanged();
    }
    return page;
}

// ---- folders

KvFolder* KvElementCopy::CopySingleFolder2Folder(KvFolder& source, KvFolder& target)
{
    KV_LOG_SCOPE("KvElementCopy::CopySingleFolder2Folder");
    KvBulkScope bulk(m_env);
    KvFolder* folder = m_env.factory->CreateFolder(KvElementIds::NewFolderId(), &target, true);
    folder->SetName(source.Name());
    folder->SetStatus(source.GetStatus());
    KvNewPageLayout* layout = folder->GetNewPageLayout();
    layout->CopyLayout(*source.GetNewPageLayout());
    layout->Store();
    // The copy uses the source's template too.
    if (m_env.templateUsers && !layout->Inherited() && layout->GetTemplatePage())
        (*m_env.templateUsers)[layout->GetTemplatePage()->Id()].append(folder->Id());
    folder->SetTabMode(source.GetTabMode());
    folder->SetTabModeInherited(source.TabModeInherited());
    folder->SetAutoSort(source.GetAutoSort());
    folder->SetNewElemsFirst(source.GetNewElemsFirst());
    folder->SetSortInherited(source.SortInherited());
    folder->SetKeywords(source.GetKeywords());
    KvBulkScope::StoreFolder(m_env, target);
    // At once: its sub-folders read the settings they inherit from the store.
    m_env.window->StoreFolder(*folder);
    bulk.Commit();
    return folder;
}

KvFolder* KvElementCopy::CopyFolder2Folder(KvFolder& source, KvFolder& target)
{
    KV_LOG_SCOPE("KvElementCopy::CopyFolder2Folder");
    KvFolder* top = copyTree(source, target);
    if (!top)
        return nullptr;
    m_env.window->TabsFollowOrder(target);
    m_env.window->ShowElement(*top);
    m_env.window->CommandsChanged();
    return top;
}

KvFolder* KvElementCopy::copyTree(KvFolder& source, KvFolder& target)
{
    if (target.Id() == source.Id() || target.HasAncestor(&source))
        throw KvException(KvTexts::Text(target.Id() == source.Id() ? 5521 : 5520));
    const QList<KvObject*> below = CollectDescendants(&source);
    // One question for all pages whose copies will not be protected.
    const auto plain = std::count_if(below.begin(), below.end(), [](KvObject* obj) {
        auto* page = dynamic_cast<KvPage*>(obj);
        return page && !page->IsReferrer() && page->IsProtected() &&
               !page->GetCopyPasswordProtection();
    });
    if (plain > 0 && !plainCopyWanted(5526, {source.Name(), QString::number(plain)}))
        return nullptr;
    const int total = int(below.size());
    KvFolder* top = nullptr;
    QList<QPair<QString, KvFolder*>> pairs; // source id, copy
    {
        ProgressGuard progress(*m_env.window, KvTexts::Text(5303), total + 1);
        KvBulkScope bulk(m_env);
        const bool wasInFolderCopy = std::exchange(m_inFolderCopy, true);
        try {
            m_env.window->ProgressText(KvTexts::Message(5305, {source.Name()}));
            top = CopySingleFolder2Folder(source, target);
            QHash<QString, KvFolder*> copies{{source.Id(), top}};
            pairs.append({source.Id(), top});
            m_env.window->ProgressStep();
            QQueue<KvFolder*> queue;
            queue.enqueue(&source);
            bool stop = false;
            while (!queue.isEmpty() && !stop) {
                KvFolder* folder = queue.dequeue();
                const QList<KvObject*> children = folder->Children();
                for (KvObject* child : children) {
                    if (m_env.window->StopRequested()) {
                        stop = true;
                        break;
                    }
                    KvFolder* parentCopy = copies.value(folder->Id());
                    if (!parentCopy)
                        continue;
                    if (auto* page = dynamic_cast<KvPage*>(child)) {
                        m_env.window->ProgressText(KvTexts::Message(5304, {page->Name()}));
                        CopyPage2Folder(*page, *parentCopy);
                    } else if (auto* sub = dynamic_cast<KvFolder*>(child)) {
                        queue.enqueue(sub);
                        m_env.window->ProgressText(KvTexts::Message(5305, {sub->Name()}));
                        KvFolder* copy = CopySingleFolder2Folder(*sub, *parentCopy);
                        copies.insert(sub->Id(), copy);
                        pairs.append({sub->Id(), copy});
                    }
                    m_env.window->ProgressStep();
                }
            }
            for (const auto& [sourceId, copy] : std::as_const(pairs)) {
                if (auto* from = dynamic_cast<KvFolder*>(FindObject(sourceId)))
                    m_env.window->FollowExpansion(*from, *copy);
            }
        } catch (...) {
            m_inFolderCopy = wasInFolderCopy;
            throw; // the bulk scope still stores what was copied
        }
        m_inFolderCopy = wasInFolderCopy;
        bulk.Commit();
    }
    return top;
}

bool KvElementCopy::plainCopyWanted(int textNumber, const QStringList& values)
{
    if (m_plainCopy == PlainCopy::Allow)
        return true;
    if (!m_plainCopyAnswer)
        m_plainCopyAnswer =
            KvPrompter::ShowMessage(KvTexts::Text(5527), KvTexts::Message(textNumber, values),
                                    KvMsgKind::AskYesNo) == KvAnswer::Yes;
    return *m_plainCopyAnswer;
}

// ---- referrers

KvPage* KvElementCopy::NewReferrer(KvPage& targetPage, KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementCopy::NewReferrer");
    KvPage* target = &targetPage;
    if (target->IsReferrer()) {
        target = TargetPage(*target);
        if (!target)
            throw KvException(KvTexts::Message(5522, {targetPage.Name()}));
    }
    // Emptying the trash would take a referrer of a page there along, outside the trash.
    if (!KvElementRules::ReferrerPossible(targetPage, *m_env.trash))
        throw KvException(KvTexts::Message(5523, {targetPage.Name()}));
    KvPage* page = nullptr;
    {
        KvBulkScope bulk(m_env);
        const QString id = KvElementIds::NewPageId();
        KvDirContext::ObjStore().WriteString(id, kRef2, target->Id());
        page = m_env.factory->CreatePage(id, &folder, !folder.GetNewElemsFirst());
        folder.SetActivePage(page);
        if (folder.GetAutoSort())
            KvElementMove(m_env).AutoSort(folder);
        KvBulkScope::StoreFolder(m_env, folder);
        bulk.Commit();
    }
    m_env.window->TabsFollowOrder(folder);
    m_env.window->ShowElement(*page);
    m_env.window->CommandsChanged();
    return page;
}

KvPage* KvElementCopy::NewLinkMIClick(KvFolder& folder)
{
    KV_LOG_SCOPE("KvElementCopy::NewLinkMIClick");
    auto* target =
        dynamic_cast<KvPage*>(m_env.window->ChooseElement(KvChooseKind::ReferrerTarget, &folder));
    if (!target)
        return nullptr;
    return NewReferrer(*target, folder);
}
