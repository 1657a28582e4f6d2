#pragma once

#include "richtext/texrichdocument.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class KvPage;

// The typing journal: keeps the unsaved text of the shown page in its rescue file
// (KvRescueFiles) so that a crash loses at most a few seconds of typing. The page file
// itself is still written only when the page is left.
//
// A change of the followed document arms a single-shot timer QuietMs after the last
// change, but never later than LongestMs after the first change since the last write, so
// that steady typing is journaled too. When it fires and the document holds unsaved text,
// the file is replaced atomically; writing changes nothing in the document, so nothing
// re-arms the timer, and without a change nothing is written. When the document is no
// longer modified (the page was stored, or the changes were undone) the file goes.
//
// The journal replaces and removes only files it wrote or the user restored (it "owns"
// them). A file waiting for the user's decision is never touched: the journal then
// writes the page's second file beside it.
class KvPageJournal : public QObject
{
    Q_OBJECT

public:
    static constexpr int QuietMs = 3000;
    static constexpr int LongestMs = 30000;

    explicit KvPageJournal(QObject* parent = nullptr);
    ~KvPageJournal() override;

    // The data directory whose rescue folder the journal keeps, opened with full access;
    // Close (read-only work, directory closed) stops following and forgets what it owned.
    void Open(const QString& dataDir, const QString& ext);
    void Close();
    bool IsOpen() const { return !m_dataDir.isEmpty(); }

    // Follows the shown page (loaded); null, a page that may not be written or a closed
    // journal follows none. Unloading the page ends the following by itself.
    void Follow(KvPage* page);
    // Writes the page's text now (the exit's rescue when the page cannot be saved);
    // returns the file's path, empty with a reason on failure.
    QString WriteNow(KvPage& page, QString& reason);
    // The user restored the file at path for the page with content stem pageId: it is the
    // page's own until the page is stored.
    void Adopt(const QString& pageId, const QString& path);
    // The text was saved, kept elsewhere or given up: the page's own files go.
    void Drop(const QString& pageId);
    // The page was removed for good: every rescue file of it goes, waiting ones too.
    void PageRemoved(const QString& pageId);

    // Shorter delays for tests.
    void SetDelays(int quietMs, int longestMs);
    bool Armed() const { return m_timer.isActive(); }
    int Writes() const { return m_writes; }
    KvPage* Followed() const { return m_doc ? m_page : nullptr; }

private:
    void changed();
    void due();
    void modificationChanged(bool modified);
    void unfollow();
    // Where the page's text goes: the file it owns, else its usual file when that is free,
    // else a second file.
    QString target(const QString& pageId);

    QString m_dataDir;
    QString m_folder; // the directory's rescue folder, named once
    QString m_ext;
    QTimer m_timer;
    QElapsedTimer m_sinceFirstChange;
    bool m_dirty = false;
    int m_quietMs = QuietMs;
    int m_longestMs = LongestMs;
    int m_writes = 0;
    KvPage* m_page = nullptr;
    QPointer<TexRichDocument> m_doc;
    QString m_pageId;
    QList<QMetaObject::Connection> m_connections;
    QHash<QString, QStringList> m_owned; // content stem -> the files the journal may replace
};
