#include "cli/kvclinotebook.h"

#include "app/kvdirprops.h"
#include "cli/kvclierror.h"
#include "cli/kvcliio.h"
#include "model/kvfolder.h"
#include "model/kvobject.h"
#include "model/kvpage.h"
#include "store/kvbatchjournal.h"
#include "store/kvdirstores.h"

#include <QDir>
#include <QFileInfo>

namespace {

KvCliIo* g_notices = nullptr;

} // namespace

void KvCliNotebook::SetNotices(KvCliIo* io)
{
    g_notices = io;
}

bool KvCliNotebook::HoldsNotebook(const QString& dir)
{
    const QDir d(dir);
    for (const QString& name : d.entryList({u"objprps.*"_qs}, QDir::Files | QDir::Hidden)) {
        bool ok = false;
        const int n = name.mid(8).toInt(&ok);
        if (ok && n > 0)
            return true;
    }
    return false;
}

QString KvCliNotebook::RequireDataDir(const QString& dir)
{
    const QFileInfo info(dir);
    if (!info.exists())
        throw KvCliError(u"no such directory: %1"_qs.arg(dir));
    if (!info.isDir())
        throw KvCliError(u"not a directory: %1"_qs.arg(dir));
    QString path = info.absoluteFilePath();
    if (!path.endsWith(u'/'))
        path += u'/';
    if (!HoldsNotebook(path))
        throw KvCliError(u"not a data directory (no objprps member files): %1"_qs.arg(dir));
    return path;
}

KvCliNotebook::KvCliNotebook(const QString& dir, bool writable) : m_dir(RequireDataDir(dir))
{
    m_ctx.dataDir = m_dir;
    const KvDirProps props(m_dir);
    m_ctx.fileExt = props.FileExt();
    m_ctx.groupDir = props.GroupDir();
    m_ctx.writable = writable;
    if (!writable && g_notices) {
        QString detail;
        if (KvBatchJournal::Recover(m_dir, false, &detail) == KvBatchJournal::Outcome::Waiting)
            g_notices->ErrLine(u"korvnote-cli: note: "_qs + detail);
    }
    m_statuses.LoadForDirectory(m_dir);
    KvDirStores::Reopen(m_dir);
    KvDirContext::SetCurrent(&m_ctx);
}

KvCliNotebook::~KvCliNotebook()
{
    m_lost.clear();
    m_nb.Reset();
    KvDirContext::SetCurrent(nullptr);
    // Close takes the settings stores along but keeps their directory, so that a later
    // KvDirProps would find them closed: they are opened again (which reads nothing).
    const QString settings = KvDirStores::SettingsDir();
    KvDirStores::Close();
    if (!settings.isEmpty())
        KvDirStores::Open(settings);
}

void KvCliNotebook::Build()
{
    KvElementFactory factory;
    m_nb = KvNotebookBuild::Build(factory);
    m_lostIds = KvNotebookBuild::FindLostIds(*m_nb.objectSnapshot);
    if (m_ctx.writable)
        return;
    for (const QString& id : std::as_const(m_lostIds)) {
        if (FindObject(id))
            continue; // below a lost folder shown already
        if (id.contains(u"Page")) {
            m_lost.push_back(std::make_unique<KvPage>(id, nullptr, true));
        } else {
            auto folder = std::make_unique<KvFolder>(id, nullptr, KvFolder::NormalFolder, true);
            folder->LoadChildren();
            m_lost.push_back(std::move(folder));
        }
    }
    ResolveAllReferrers();
}
