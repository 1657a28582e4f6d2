#include "cli/kvclisession.h"

#include "app/kvdirprops.h"
#include "app/kvmainformsettings.h"
#include "app/kvoptionsg.h"
#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "cli/kvclierror.h"
#include "cli/kvcliio.h"
#include "elements/kvelementrules.h"
#include "lists/kvbrowsehistory.h"
#include "lists/kvnotebooklists.h"
#include "model/kvfolder.h"
#include "model/kvnamerule.h"
#include "model/kvpage.h"
#include "platform/kvatomicfile.h"
#include "store/kvbatchjournal.h"
#include "store/texprofilefile.h"

#include <QSet>
#include <csignal>

namespace {

volatile std::sig_atomic_t g_stop = 0;
int g_sessions = 0;
struct sigaction g_oldInt;
struct sigaction g_oldTerm;

extern "C" void onStopSignal(int)
{
    g_stop = 1;
}

void installStopSignals()
{
    if (g_sessions++ > 0)
        return;
    g_stop = 0;
    struct sigaction sa = {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, &g_oldInt);
    sigaction(SIGTERM, &sa, &g_oldTerm);
}

void restoreStopSignals()
{
    if (--g_sessions > 0)
        return;
    sigaction(SIGINT, &g_oldInt, nullptr);
    sigaction(SIGTERM, &g_oldTerm, nullptr);
}

QString Kind(const KvObject& obj)
{
    return dynamic_cast<const KvPage*>(&obj) ? u"page"_qs : u"folder"_qs;
}

} // namespace

QString KvCliName(const QString& given)
{
    const QString name = KvNameRule::Clean(given);
    if (name.isEmpty())
        throw KvCliError(KvTexts::Text(5005));
    if (name.size() > KvNameRule::MaxLength)
        throw KvCliError(u"the name is longer than %1 characters: %2…"_qs.arg(
            QString::number(KvNameRule::MaxLength), name.left(20)));
    return name;
}

KvCliSession::KvCliSession(const QString& dir, KvCliIo& io)
    : m_io(io), m_lock(KvCliNotebook::RequireDataDir(dir)), m_window([] { return g_stop != 0; })
{
    const QString path = KvCliNotebook::RequireDataDir(dir);
    const KvDirProps props(path);
    if (!props.FullAccess() || !KvAtomicFile::CanReplace(m_lock.LockFile()))
        throw KvCliError(u"the data directory is read-only for this user: %1"_qs.arg(path));
    if (!m_lock.TakeLock()) {
        const KvLockEntry holder = m_lock.Entry();
        throw KvCliError(u"the data directory is locked by %1 on %2; close that instance "
                         "first"_qs.arg(holder.user, holder.machine));
    }
    // A bulk change that a crash interrupted is completed or undone first, as at start-up.
    QString detail;
    try {
        const KvBatchJournal::Outcome outcome = KvBatchJournal::Recover(path, true, &detail);
        if (outcome != KvBatchJournal::Outcome::None)
            m_io.ErrLine(u"korvnote-cli: note: "_qs + detail);
    } catch (const KvException& e) {
        throw KvCliError(
            u"cannot complete the unfinished bulk change in %1: %2"_qs.arg(path, e.Message()));
    }
    installStopSignals();
    try {
        // Built as a reading command builds: nothing is written before the checks passed.
        m_nb = std::make_unique<KvCliNotebook>(path, false);
        m_nb->Build();
    } catch (...) {
        m_nb.reset();
        restoreStopSignals();
        throw;
    }
    m_lists.AddFirst(&m_paste);
    m_lists.SetReporter([this](const QString& m) { m_io.ErrLine(m); });
    m_env.top = m_nb->Top();
    m_env.trash = m_nb->Trash();
    m_env.window = &m_window;
    m_env.factory = &m_factory;
    m_env.lists = &m_lists;
    m_env.busy = &m_busy;
    m_env.pageTemplate = &m_template;
    m_env.paste = &m_paste;
    // The user's settings decide what write protection forbids and how folders sort; no
    // question is asked.
    m_env.options = KvElementOptions::Read().WithoutQuestions();
    m_env.fullAccess = true;
}

KvCliSession::~KvCliSession()
{
    // The history was written where it changed; it is not written again as it goes.
    if (m_history) {
        m_lists.Remove(m_history.get());
        m_history->SetStorePath(QString());
        m_history.reset();
    }
    m_notebookLists.reset();
    // The model goes and the stores are written before the lock is released.
    m_nb.reset();
    restoreStopSignals();
}

void KvCliSession::BeginChanges()
{
    m_nb->Context().writable = true;
}

void KvCliSession::HookLists()
{
    m_notebookLists = std::make_unique<KvNotebookLists>(Dir(), true, &m_nb->Statuses());
    m_notebookLists->Hook(m_lists);
    if (!KvOptionsG().SaveHistory)
        return;
    m_history = std::make_unique<KvBrowseHistory>();
    m_history->SetLimit(
        KvMainFormSettings::Read(TexProfileFile(KvPaths::SettingsFile())).historyLimit);
    m_history->SetStorePath(KvNotebookLists::StorePath(Dir(), KvNotebookLists::HistoryStore));
    m_lists.Add(m_history.get());
}

KvObject& KvCliSession::Element(const QString& id) const
{
    KvObject* obj = FindObject(id);
    if (!obj || obj->IsRemoved() || (obj != &Top() && obj != &Trash() && !obj->Parent()))
        throw KvCliError(u"unknown id: %1"_qs.arg(id));
    return *obj;
}

KvFolder& KvCliSession::Folder(const QString& id) const
{
    KvObject& obj = Element(id);
    auto* folder = dynamic_cast<KvFolder*>(&obj);
    if (!folder)
        throw KvCliError(u"%1 is a page, not a folder"_qs.arg(id));
    return *folder;
}

KvPage& KvCliSession::Page(const QString& id) const
{
    KvObject& obj = Element(id);
    auto* page = dynamic_cast<KvPage*>(&obj);
    if (!page)
        throw KvCliError(u"%1 is a %2, not a page"_qs.arg(id, Kind(obj)));
    return *page;
}

QStringList KvCliSession::Outermost(const QStringList& ids) const
{
    QList<KvObject*> objects;
    QSet<QString> seen;
    for (const QString& id : ids) {
        KvObject& obj = Element(id);
        if (!seen.contains(id)) {
            seen.insert(id);
            objects.append(&obj);
        }
    }
    QStringList out;
    for (KvObject* obj : std::as_const(objects)) {
        bool below = false;
        for (KvObject* other : std::as_const(objects)) {
            if (other != obj && obj->HasAncestor(other)) {
                below = true;
                break;
            }
        }
        if (!below)
            out.append(obj->Id());
    }
    return out;
}

bool KvCliSession::StopRequested() const
{
    return g_stop != 0;
}

void KvCliSession::Print(const QString& line)
{
    m_io.OutLine(line);
    m_io.Flush();
}
