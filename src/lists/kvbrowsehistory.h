#pragma once

#include "lists/kvelementlistener.h"

#include <QSet>
#include <QStringList>

// The pages the user has shown, oldest first, with a current position (1-based, 0 none),
// at most Limit entries. Kept per user in the history store (one section named with the
// login name, "Item" + seven digits per entry) while a store path is set; an empty path
// neither reads nor writes. As a listener of the element lists it forgets elements that go
// and, with a store path, writes itself once at the end of their batch.
class KvBrowseHistory : public KvElementListener
{
public:
    static constexpr int DefaultLimit = 30;

    // user: the section (default: the login name).
    explicit KvBrowseHistory(const QString& storePath = QString(), const QString& user = QString());
    // Saves when a store path is still set; a failure is only logged.
    ~KvBrowseHistory() override;
    KvBrowseHistory(const KvBrowseHistory&) = delete;
    KvBrowseHistory& operator=(const KvBrowseHistory&) = delete;

    // The oldest entries other than the current one go until n remain; 0 empties the
    // history, a negative n reads as the default.
    void SetLimit(int n);
    int Limit() const { return m_limit; }

    // Moves id to the end (an empty id is ignored) and makes it current; the oldest entry
    // goes beyond the limit.
    void AddEntry(const QString& id);
    // Every occurrence goes; the position moves back for each one at or before it.
    int RemoveId(const QString& id);
    int RemoveIds(const QSet<QString>& ids);
    void RemoveCurrent();
    void Clear();

    int Count() const { return int(m_entries.size()); }
    int Position() const { return m_position; }
    const QStringList& Entries() const { return m_entries; }
    QString CurrentEntry() const;
    QString GoToPrevious();
    // Empty at the newest entry.
    QString GoToNext();
    // Empty (and nothing changes) outside 1…Count.
    QString SetPosition(int n);

    // The rules of the window's commands. Next: a newer entry exists. Previous: there is a
    // current entry, and at the first one only while another page than it is shown
    // (shownPage: the id of the page shown, empty for none). The list: two entries.
    bool CanGoNext() const { return m_position < Count(); }
    bool CanGoPrevious(const QString& shownPage) const;
    bool CanShowList() const { return Count() >= 2; }
    // Where "previous" goes: back one entry while a page is shown and an older one exists,
    // else to the current entry.
    QString PreviousTarget(bool pageShown);
    // A visit: before another page is shown, the current entry gives way to the page left
    // (left, empty for none), which becomes the newest entry; then the new page is added.
    void Leave(const QString& left);

    // Remembers the path; an empty history is loaded from it.
    void SetStorePath(const QString& path);
    const QString& StorePath() const { return m_storePath; }
    const QString& User() const { return m_user; }
    // Adds the stored entries that name existing elements.
    void Load();
    void Save();

    // The entries of user as stored, without any check.
    static QStringList ReadEntries(const QString& storePath, const QString& user);
    // Replaces the stored entries of user and writes the store.
    static void WriteEntries(const QString& storePath, const QString& user, const QStringList& ids);

    // KvElementListener
    QString ListenerName() const override { return u"KvBrowseHistory"_qs; }
    void ForgetIds(const QStringList& ids) override;
    void Renewed(const QStringList&) override {}
    void EndBatch(bool save) override;

private:
    QStringList m_entries;
    int m_position = 0;
    int m_limit = DefaultLimit;
    QString m_storePath;
    QString m_user;
    bool m_forgotten = false; // the hooks removed entries since the last save
};
