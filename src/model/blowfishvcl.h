#pragma once

#include "model/cblowfish.h"
#include "platform/kvatomicfile.h"
#include "platform/kvexception.h"

#include <QByteArray>
#include <QString>
#include <functional>

class QFile;

// The cipher as the pages use it: hex strings for password check values and the record
// format of encrypted content files.
//
// Record format, repeated to the end of the data (integers unsigned 32-bit little-endian):
//   encoded length E (a multiple of 8, at most MaxRecordLength), plain length L (<= E),
//   E bytes: the L plain bytes padded with zeros, encrypted block by block.
class BlowFishVCL : public CBlowFish
{
public:
    class EKeyMissing : public KvException
    {
    public:
        EKeyMissing() : KvException(QString()) {}
    };
    class EDecryptError : public KvException
    {
    public:
        EDecryptError() : KvException(u"Encrypted file corrupted: invalid blocksize found"_qs) {}
    };

    static constexpr qsizetype MaxRecordLength = 1048576;
    static constexpr qsizetype RecordHeaderLength = 8;
    static constexpr qsizetype DefaultBlockSize = 4096;

    // Raises EKeyMissing for an empty key: a cipher is never used without one.
    explicit BlowFishVCL(const QByteArray& key);
    ~BlowFishVCL();
    BlowFishVCL(const BlowFishVCL&) = delete;
    BlowFishVCL& operator=(const BlowFishVCL&) = delete;

    const QByteArray& Key() const { return m_key; }

    // Zero-padded to whole blocks, encrypted, two lower-case hex digits per byte.
    QString EncryptString(const QByteArray& plain) const;
    // Upper- or lower-case hex; the decrypted bytes up to the first zero byte. Text that
    // is not an even number of hex digits gives an empty result.
    QByteArray DecryptString(const QString& hexText) const;

    // One record per blockSize bytes (rounded up to a multiple of 8, kept within the
    // record limit; below 1 the default); the last record may be shorter; empty data gives
    // no record.
    QByteArray EncryptData(const QByteArray& plain, qsizetype blockSize = DefaultBlockSize) const;
    // Raises EDecryptError for data that is not a well-formed sequence of records.
    QByteArray DecryptData(const QByteArray& encrypted) const;

    // Reads the encrypted file into memory; false when it cannot be read. Raises
    // EDecryptError for a corrupt file. No plain text is written anywhere.
    bool DecryptFileToMemory(const QString& sourcePath, QByteArray& plain) const;
    // Writes the records for plain into destinationPath atomically; false on failure.
    bool EncryptToFile(const QByteArray& plain, const QString& destinationPath,
                       qsizetype blockSize = DefaultBlockSize,
                       KvAtomicFile::Access access = KvAtomicFile::Access::KeepOrDefault) const;

    // File to file. The destination is replaced atomically; a decrypted destination is
    // readable by its owner only. False when a file cannot be read or written;
    // DecryptFile raises EDecryptError for a corrupt source.
    bool EncryptFile(const QString& sourcePath, const QString& destinationPath,
                     qsizetype blockSize) const;
    bool DecryptFile(const QString& sourcePath, const QString& destinationPath) const;

private:
    void RequireKey() const;
    // Decrypts the records of source one at a time into sink; false when reading fails
    // or the sink refuses. Each length is checked against the rest of the file before
    // anything is allocated for it.
    bool ReadRecords(QFile& source, const std::function<bool(const char*, qsizetype)>& sink) const;

    QByteArray m_key;
};
