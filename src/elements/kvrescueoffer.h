#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct KvElementEnv;
class KvFolder;
class KvPage;
class KvPageJournal;

// What waits in the rescue folder of a data directory, offered once when it opens with
// full access (KvRescueFiles). A file newer than its page's content asks (text 5640):
// restore (the text is loaded as an unsaved change when the page is next shown, and its
// file goes when the page is stored), discard (the file goes) or keep both (a new page
// "<name> (wiederhergestellt)" in the page's folder holds the text, under the same
// password for a protected page; the file goes). A file older than the content was saved
// after it and goes without a question. A protected page asks its password first; without
// it, or when the box is closed otherwise, the file waits for the next start. A file
// whose page is gone asks (text 5644) to keep it as a new page of the top folder or to
// discard it; an encrypted one of a page that is gone cannot be read and waits.
class KvRescueOffer
{
public:
    enum Answer
    {
        Restore = 0,
        Discard = 1,
        KeepBoth = 2,
        Later = 3
    };
    enum GoneAnswer
    {
        KeepAsNew = 0,
        DiscardGone = 1,
        LaterGone = 2
    };

    KvRescueOffer(KvElementEnv& env, KvPageJournal& journal);

    // Offers every rescue file of the directory; the page to show first (the last one
    // restored or made), null when none.
    KvPage* Run(const QString& dataDir, const QString& ext);

private:
    KvPage* offerForPage(KvPage& page, const QString& path, const QDateTime& written);
    KvPage* offerGone(const QString& pageId, const QString& path, const QDateTime& written);
    // A new page of folder holding rtf, stored (under like's password when like is
    // protected).
    KvPage* makePage(KvFolder& folder, const QString& name, const QByteArray& rtf,
                     const KvPage* like);

    KvElementEnv& m_env;
    KvPageJournal& m_journal;
};
