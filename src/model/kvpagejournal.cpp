#include "model/kvpagejournal.h"

#include "app/kvtexts.h"
#include "model/kvdircontext.h"
#include "model/kvpage.h"
#include "model/kvrescuefiles.h"
#include "platform/applog.h"
#include "richtext/texrichdocument.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

KvPageJournal::KvPageJournal(QObject* parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &KvPageJournal::due);
}

KvPageJournal::~KvPageJournal()
{
    unfollow();
}

void KvPageJournal::Open(const QString& dataDir, const QString& ext)
{
    Close();
    m_dataDir = dataDir;
    m_folder = KvRescueFiles::Folder(dataDir);
    m_ext = ext;
}

void KvPageJournal::Close()
{
    unfollow();
    m_owned.clear();
    m_dataDir.clear();
    m_folder.clear();
}

void KvPageJournal::SetDelays(int quietMs, int longestMs)
{
    m_quietMs = quietMs;
    m_longestMs = longestMs;
}

void KvPageJournal::Follow(KvPage* page)
{
    unfollow();
    if (!IsOpen() || !page || page->IsRemoved() || !page->IsLoaded() || !page->GetWritable())
        return;
    TexRichDocument* doc = page->GetEditor();
    m_page = page;
    m_doc = doc;
    m_pageId = KvRescueFiles::StemOf(*page);
    m_connections.append(
        connect(doc, &TexRichDocument::contentsChanged, this, &KvPageJournal::changed));
    m_connections.append(connect(doc, &TexRichDocument::modificationChanged, this,
                                 &KvPageJournal::modificationChanged));
    m_connections.append(
        connect(doc, &TexRichDocument::aboutToBeDestroyed, this, &KvPageJournal::unfollow));
}

void KvPageJournal::unfollow()
{
    for (const QMetaObject::Connection& c : std::as_const(m_connections))
        disconnect(c);
    m_connections.clear();
    m_timer.stop();
    m_dirty = false;
    m_page = nullptr;
    m_doc = nullptr;
    m_pageId.clear();
}

void KvPageJournal::changed()
{
    if (!m_doc)
        return;
    // Back at the stored text (undone): nothing unsaved to keep.
    if (!m_doc->IsModified()) {
        m_timer.stop();
        m_dirty = false;
        return;
    }
    if (!m_dirty) {
        m_dirty = true;
        m_sinceFirstChange.start();
    }
    const qint64 left = m_longestMs - m_sinceFirstChange.elapsed();
    m_timer.start(int(std::clamp<qint64>(left, 0, m_quietMs)));
}

void KvPageJournal::due()
{
    if (!m_doc || !m_dirty)
        return;
    m_dirty = false;
    if (!m_doc->IsModified()) {
        Drop(m_pageId);
        return;
    }
    QString reason;
    if (WriteNow(*m_page, reason).isEmpty())
        KvAppLog::Write(u"KvPageJournal: %1 not kept: %2"_qs.arg(m_pageId, reason));
}

void KvPageJournal::modificationChanged(bool modified)
{
    if (modified)
        return;
    // Stored, or every change undone: nothing unsaved is left to keep.
    m_timer.stop();
    m_dirty = false;
    Drop(m_pageId);
}

QString KvPageJournal::target(const QString& pageId)
{
    const QStringList owned = m_owned.value(pageId);
    if (!owned.isEmpty())
        return owned.first();
    const KvDirContext& ctx = KvDirContext::Current();
    const QString dir = IsOpen() ? m_dataDir : ctx.DataDir();
    const QString ext = IsOpen() ? m_ext : ctx.fileExt;
    const QString usual = KvRescueFiles::PathFor(dir, pageId, ext);
    if (!QFileInfo::exists(usual))
        return usual;
    // The usual file waits for the user's decision: a second one beside it.
    QDateTime when = QDateTime::currentDateTime();
    QString spare = KvRescueFiles::SparePathFor(dir, pageId, ext, when);
    while (QFileInfo::exists(spare)) {
        when = when.addSecs(1);
        spare = KvRescueFiles::SparePathFor(dir, pageId, ext, when);
    }
    return spare;
}

QString KvPageJournal::WriteNow(KvPage& page, QString& reason)
{
    KvLogScope log("KvPageJournal::Write");
    if (page.IsRemoved() || !page.IsLoaded()) {
        reason = KvTexts::Text(5958);
        log.Exit(1);
        return QString();
    }
    const QString pageId = KvRescueFiles::StemOf(page);
    const QString path = target(pageId);
    if (!KvRescueFiles::Write(page, path, page.GetEditor()->SaveRtf(), reason)) {
        log.Exit(2);
        return QString();
    }
    QStringList& owned = m_owned[pageId];
    if (!owned.contains(path))
        owned.append(path);
    ++m_writes;
    return path;
}

void KvPageJournal::Adopt(const QString& pageId, const QString& path)
{
    QStringList& owned = m_owned[pageId];
    if (!owned.contains(path))
        owned.append(path);
}

void KvPageJournal::Drop(const QString& pageId)
{
    const QStringList owned = m_owned.take(pageId);
    for (const QString& path : owned)
        QFile::remove(path);
}

void KvPageJournal::PageRemoved(const QString& pageId)
{
    Drop(pageId);
    if (!IsOpen())
        return;
    for (const QString& path : KvRescueFiles::FilesOf(m_folder, pageId, m_ext))
        QFile::remove(path);
}
