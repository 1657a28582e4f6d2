#include "elements/kvrescueoffer.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementenv.h"
#include "elements/kvpagetemplate.h"
#include "model/kvfolder.h"
#include "model/kvobject.h"
#include "model/kvpage.h"
#include "model/kvpagejournal.h"
#include "model/kvrescuefiles.h"
#include "platform/applog.h"
#include "richtext/texrichdocument.h"

#include <QFile>

namespace {

constexpr int kTitle = 5647;
constexpr int kAskPage = 5640;
constexpr int kAskGone = 5644;
constexpr int kUnreadable = 5648;

void forget(const QString& path, const char* why)
{
    QFile::remove(path);
    KvAppLog::Write(u"KvRescueOffer: %1 removed (%2)"_qs.arg(path, QLatin1String(why)));
}

void waits(const QString& path, const char* why)
{
    KvAppLog::Write(u"KvRescueOffer: %1 waits (%2)"_qs.arg(path, QLatin1String(why)));
}

} // namespace

KvRescueOffer::KvRescueOffer(KvElementEnv& env, KvPageJournal& journal)
    : m_env(env), m_journal(journal)
{}

KvPage* KvRescueOffer::Run(const QString& dataDir, const QString& ext)
{
    KV_LOG_SCOPE("KvRescueOffer::Run");
    KvPage* first = nullptr;
    for (const KvRescueFiles::File& f : KvRescueFiles::List(dataDir, ext)) {
        auto* page = dynamic_cast<KvPage*>(FindObject(f.pageId));
        KvPage* shown = page && !page->IsRemoved() ? offerForPage(*page, f.path, f.written)
                                                   : offerGone(f.pageId, f.path, f.written);
        if (shown)
            first = shown;
    }
    return first;
}

KvPage* KvRescueOffer::offerForPage(KvPage& page, const QString& path, const QDateTime& written)
{
    const QDateTime stored = page.ContentFileTime();
    if (stored.isValid() && stored > written) {
        forget(path, "the page was stored after it");
        return nullptr;
    }
    if (!page.Unlock()) {
        waits(path, "no password");
        return nullptr;
    }
    QByteArray rtf;
    if (!KvRescueFiles::Read(page, path, rtf)) {
        KvPrompter::ShowMessage(KvTexts::Text(5007),
                                KvTexts::Message(kUnreadable, {page.Name(), path}),
                                KvMsgKind::Error);
        waits(path, "unreadable");
        return nullptr;
    }
    const QStringList buttons{KvTexts::Text(5641), KvTexts::Text(5642), KvTexts::Text(5643)};
    const int answer = KvPrompter::Current().Choose(
        KvTexts::Text(kTitle),
        KvTexts::Message(kAskPage, {page.Name(), KvTexts::DateTimeText(written)}), buttons, Later);
    KvPage* shown = nullptr;
    switch (answer) {
    case Restore:
        // Nothing is written now: the page shows the text as a change of its own.
        page.RestoreText(rtf);
        m_journal.Adopt(KvRescueFiles::StemOf(page), path);
        shown = &page;
        break;
    case Discard:
        forget(path, "discarded");
        break;
    case KeepBoth:
        if (auto* folder = dynamic_cast<KvFolder*>(page.Parent())) {
            shown = makePage(*folder, KvTexts::Message(5646, {page.Name()}), rtf, &page);
            forget(path, "kept as a new page");
        }
        break;
    default:
        waits(path, "no decision");
        break;
    }
    rtf.fill('\0');
    return shown;
}

KvPage* KvRescueOffer::offerGone(const QString& pageId, const QString& path,
                                 const QDateTime& written)
{
    QByteArray rtf;
    {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            rtf = file.readAll();
    }
    // Encrypted under the password of a page that is gone: nothing can read it here.
    if (!KvRescueFiles::IsPlainRtf(rtf) || !m_env.top) {
        waits(path, "its page is gone and it cannot be read");
        return nullptr;
    }
    const QString when = KvTexts::DateTimeText(written);
    const QStringList buttons{KvTexts::Text(5645), KvTexts::Text(5642)};
    const int answer = KvPrompter::Current().Choose(
        KvTexts::Text(kTitle), KvTexts::Message(kAskGone, {when, pageId}), buttons, LaterGone);
    KvPage* shown = nullptr;
    switch (answer) {
    case KeepAsNew:
        shown = makePage(*m_env.top, KvTexts::Message(5649, {when}), rtf, nullptr);
        forget(path, "kept as a new page");
        break;
    case DiscardGone:
        forget(path, "discarded");
        break;
    default:
        waits(path, "no decision");
        break;
    }
    return shown;
}

KvPage* KvRescueOffer::makePage(KvFolder& folder, const QString& name, const QByteArray& rtf,
                                const KvPage* like)
{
    KV_LOG_SCOPE("KvRescueOffer::MakePage");
    // The folder's template fills nothing here: the page holds the rescued text only.
    KvPageTemplate none;
    KvElementEnv env = m_env;
    env.pageTemplate = &none;
    KvPage* page = KvElementEdit(env).CreateNewPage(folder, name, 0);
    if (like && like->IsProtected()) {
        // The rescued text of a protected page stays under its password.
        page->SetPasswordAskMode(like->Password().AskMode());
        page->SetCopyPasswordProtection(like->Password().CopyProtection());
        page->SetUsePasswordList(like->Password().UsePasswordList());
        page->SetPassword(like->Password().Password(), false);
        page->SetProtectionClass(like->Password().ProtectionClass());
    }
    const bool loaded = page->IsLoaded();
    if (!loaded)
        page->Load(false, false);
    page->GetEditor()->LoadRtf(rtf);
    page->GetEditor()->SetModified(true);
    page->Store();
    if (!loaded)
        page->Unload();
    return page;
}
