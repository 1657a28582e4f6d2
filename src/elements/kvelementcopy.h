#pragma once

#include <QList>
#include <QStringList>
#include <optional>

struct KvElementEnv;
class KvFolder;
class KvObject;
class KvPage;

// Copying pages and folders and making referrers. The copy commands only remember the
// source (KvPasteSource); FolderPaste makes the copy or the referrer in a folder.
class KvElementCopy
{
public:
    // What a copy of a referrer becomes: asked (5058), or decided beforehand.
    enum class ReferrerCopy
    {
        Ask,
        AsReferrer, // Yes of 5058
        AsOriginal  // No of 5058
    };

    // A copy of a protected page whose PWCopy is off is not protected (the page's setting
    // says so); the user is told first: asked (5525 for a page, 5526 once for a folder that
    // holds such pages), or allowed beforehand (the command line, which reports the copies).
    enum class PlainCopy
    {
        Ask,
        Allow
    };
    // A copy made without the protection of its protected source.
    struct PlainCopyMade
    {
        QString sourceId;
        QString copyId;
    };

    explicit KvElementCopy(KvElementEnv& env);
    void SetReferrerCopy(ReferrerCopy mode) { m_referrerCopy = mode; }
    void SetPlainCopy(PlainCopy mode) { m_plainCopy = mode; }

    // --- remembering the source
    void PageCopy(KvPage& page);
    void FolderCopy(KvFolder& folder);
    void CreateReferrer(KvPage& page);

    // Pastes the source into target: a referrer (NewReferrer), a page copy, or a folder
    // copy (5520 into a folder below the source, 5521 into the source itself: nothing
    // copied). Returns the new element; null when nothing was made.
    KvObject* FolderPaste(KvFolder& target);

    // A copy of source in target: name, status, keywords, layout, selection, write
    // protection and the content file's bytes (decrypted for a protected source without
    // PWCopy, after the question of PlainCopy). A referrer's copy is a referrer of the same
    // target, or a copy of the target (5058); always the copy of the target when the target
    // lies in the trash and target does not. Null when the source's password was not given,
    // the unprotected copy was not wanted, or the source is a referrer whose target is gone
    // (a clear error is raised for that). The window shows the copy unless it is part of a
    // folder copy.
    KvPage* CopyPage2Folder(KvPage& source, KvFolder& target);
    // One folder level: an ordinary folder with the source's name, status, new-page
    // layout, tab mode, sort settings and keywords, appended to target.
    KvFolder* CopySingleFolder2Folder(KvFolder& source, KvFolder& target);
    // The whole tree, level by level, children in the source's order, with progress:
    // a stop requested between elements ends the copy, what was copied stays stored. The
    // copies keep the sources' expanded state. The window shows only the finished copy.
    // Null when the unprotected copies of its protected pages were not wanted (5526).
    KvFolder* CopyFolder2Folder(KvFolder& source, KvFolder& target);

    // A new referrer in folder standing for target (for the target's target when target is
    // itself a referrer); the folder sorted when AutoSort and stored; shown by the window.
    // Refused with 5523 (nothing made) when either lies in the trash
    // (KvElementRules::ReferrerPossible).
    KvPage* NewReferrer(KvPage& target, KvFolder& folder);
    // NewLinkMIClick: the page chooser (pages outside the trash), then NewReferrer. Null on
    // Cancel.
    KvPage* NewLinkMIClick(KvFolder& folder);

    // Pages skipped because their password was not given, in the order met.
    const QStringList& Skipped() const { return m_skipped; }
    // The unprotected copies of protected pages, in the order made.
    const QList<PlainCopyMade>& PlainCopies() const { return m_plainCopies; }

private:
    // The folder tree copied without showing it; null when the question said no.
    KvFolder* copyTree(KvFolder& source, KvFolder& target);
    // Whether an unprotected copy may be made: asked once per command.
    bool plainCopyWanted(int textNumber, const QStringList& values);

    KvElementEnv& m_env;
    ReferrerCopy m_referrerCopy = ReferrerCopy::Ask;
    PlainCopy m_plainCopy = PlainCopy::Ask;
    std::optional<bool> m_plainCopyAnswer;
    QStringList m_skipped;
    QList<PlainCopyMade> m_plainCopies;
    bool m_inFolderCopy = false;
};
