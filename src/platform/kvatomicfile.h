#pragma once

#include <QByteArray>
#include <QString>

// The one way the program replaces a file: the content goes to a temporary file in the
// destination's directory, is synced to disk and renamed over the destination, and the
// directory is synced. Readers and a crash see the old file or the new one, never a torn
// one. The new file keeps the destination's permissions and group. Until Commit the
// destination is untouched; without Commit the temporary file is removed.
// Every operation passes the failure seam (KvFileSeam) with the destination path.
class KvAtomicFile
{
public:
    enum class Access
    {
        KeepOrDefault, // the destination's mode and group, or 0666 less the umask when new
        OwnerOnly      // readable and writable by the owner only
    };

    explicit KvAtomicFile(QString destinationPath, Access access = Access::KeepOrDefault);
    ~KvAtomicFile();
    KvAtomicFile(const KvAtomicFile&) = delete;
    KvAtomicFile& operator=(const KvAtomicFile&) = delete;

    // Each returns false once anything failed; Error tells why.
    bool Open();
    bool Write(const char* data, qsizetype length);
    bool Write(const QByteArray& bytes) { return Write(bytes.constData(), bytes.size()); }
    bool Commit();

    const QString& DestinationPath() const { return m_destination; }
    // errno of the first failure; 0 when none.
    int Error() const { return m_error; }
    QString ErrorText() const { return ErrorString(m_error); }

    // The whole content in one call; on failure *error and errno receive the errno.
    static bool WriteFile(const QString& destinationPath, const QByteArray& bytes,
                          Access access = Access::KeepOrDefault, int* error = nullptr);
    // Puts a file written beside the destination (a side file) in its place: it takes the
    // destination's mode and group, is renamed over it and the directory is synced. On
    // failure *error and errno receive the errno (ENOENT: there is no such file).
    static bool RenameOver(const QString& fromPath, const QString& destinationPath,
                           int* error = nullptr);
    // Removes a file and syncs its directory; a missing file counts as removed.
    static bool Remove(const QString& path, int* error = nullptr);
    // Whether the writer may replace path: its directory is writable and the path is
    // absent or a regular file we may write. On false, errno says why.
    static bool CanReplace(const QString& path);
    // The system's text for an errno.
    static QString ErrorString(int error);

    // While one lives, Commit renames without syncing the file and its directory; the file
    // systems written are synced in one go by SyncDeferred, which the last scope's end runs
    // too (its failure then only goes to the log: call SyncDeferred first where it matters).
    // For many files that must be on disk before one other file names them (the content
    // files of a bulk change, before the member files that list their pages).
    class DeferSync
    {
    public:
        DeferSync();
        ~DeferSync();
        DeferSync(const DeferSync&) = delete;
        DeferSync& operator=(const DeferSync&) = delete;
    };
    // Within a DeferSync: what was written so far is synced, and writes sync at once again
    // while it lives (files whose order on disk matters).
    class SyncNow
    {
    public:
        SyncNow();
        ~SyncNow();
        SyncNow(const SyncNow&) = delete;
        SyncNow& operator=(const SyncNow&) = delete;
    };
    // Syncs what was written without a sync. 0, or the errno of the first failure: a
    // write-back error (EIO, ENOSPC) of any of those files shows here and nowhere else.
    static int SyncDeferred();

private:
    bool fail(int error);
    void discard();

    QString m_destination;
    Access m_access;
    QByteArray m_tmpPath;
    int m_fd = -1;
    int m_error = 0;
    bool m_opened = false;
};
