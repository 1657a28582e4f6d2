#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

// Replaces a file in one step: the content goes to a temporary file beside the
// destination, is synced to disk and renamed over it. Until Commit the destination is
// untouched; without Commit the temporary file is removed.
class KvAtomicFile
{
public:
    enum class Access
    {
        KeepOrDefault, // the destination's permissions, or the usual ones for a new file
        OwnerOnly      // readable and writable by the owner only
    };

    KvAtomicFile(QString destinationPath, Access access);
    ~KvAtomicFile();
    KvAtomicFile(const KvAtomicFile&) = delete;
    KvAtomicFile& operator=(const KvAtomicFile&) = delete;

    bool Open();
    bool Write(const char* data, qsizetype length);
    bool Write(const QByteArray& bytes) { return Write(bytes.constData(), bytes.size()); }
    bool Commit();

    // Convenience: the whole content in one call.
    static bool WriteFile(const QString& destinationPath, const QByteArray& bytes, Access access);

private:
    QString m_destination;
    Access m_access;
    QTemporaryFile m_tmp;
    bool m_ok = false;
};
