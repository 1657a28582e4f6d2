#include "model/blowfishvcl.h"

#include "platform/applog.h"
#include "platform/kvatomicfile.h"
#include "platform/kvwipe.h"

#include <QFile>
#include <cstring>

namespace {

quint32 ReadLe32(const char* p)
{
    const auto* u = reinterpret_cast<const uchar*>(p);
    return quint32(u[0]) | quint32(u[1]) << 8 | quint32(u[2]) << 16 | quint32(u[3]) << 24;
}

void AppendLe32(QByteArray& out, quint32 v)
{
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    out.append(bytes, 4);
}

// 0 for a block size that cannot be used.
qsizetype EffectiveBlockSize(qsizetype blockSize)
{
    if (blockSize <= 0)
        return 0;
    return std::min(CBlowFish::PaddedLength(blockSize), BlowFishVCL::MaxRecordLength);
}

// Validates a record header against the bytes that are still available after it, before
// anything is allocated for the record.
void CheckRecord(quint32 encoded, quint32 plain, qint64 available)
{
    if (encoded > BlowFishVCL::MaxRecordLength || encoded % CBlowFish::BlockSize != 0 ||
        plain > encoded || qint64(encoded) > available)
        throw BlowFishVCL::EDecryptError();
}

} // namespace

BlowFishVCL::BlowFishVCL(const QByteArray& key) : m_key(key)
{
    if (m_key.isEmpty())
        throw EKeyMissing();
    Initialize(m_key);
}

BlowFishVCL::~BlowFishVCL()
{
    KvWipe::Wipe(m_key);
}

void BlowFishVCL::RequireKey() const
{
    if (!HasKey())
        throw EKeyMissing();
}

QString BlowFishVCL::EncryptString(const QByteArray& plain) const
{
    KV_LOG_SCOPE("BlowFishVCL::EncryptString");
    RequireKey();
    QByteArray data = plain;
    data.resize(PaddedLength(data.size()), '\0');
    EncryptBlocks(reinterpret_cast<uchar*>(data.data()), data.size());
    return QString::fromLatin1(data.toHex());
}

QByteArray BlowFishVCL::DecryptString(const QString& hexText) const
{
    KV_LOG_SCOPE("BlowFishVCL::DecryptString");
    RequireKey();
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    const QString upper = hexText.toUpper();
    if (upper.size() % 2 != 0)
        return {};
    QByteArray data;
    data.reserve(PaddedLength(upper.size() / 2));
    for (qsizetype i = 0; i < upper.size(); i += 2) {
        int value = 0;
        for (qsizetype k = i; k < i + 2; ++k) {
            const char16_t* hit = std::char_traits<char16_t>::find(kDigits, 16, upper[k].unicode());
            if (!hit)
                return {};
            value = value * 16 + int(hit - kDigits);
        }
        data.append(char(value));
    }
    data.resize(PaddedLength(data.size()), '\0');
    DecryptBlocks(reinterpret_cast<uchar*>(data.data()), data.size());
    const qsizetype zero = data.indexOf('\0');
    if (zero >= 0)
        data.truncate(zero);
    return data;
}

QByteArray BlowFishVCL::EncryptData(const QByteArray& plain, qsizetype blockSize) const
{
    KV_LOG_SCOPE("BlowFishVCL::EncryptData");
    RequireKey();
    const qsizetype chunk =
        EffectiveBlockSize(blockSize) ? EffectiveBlockSize(blockSize) : qsizetype(DefaultBlockSize);
    QByteArray out;
    const qsizetype records = (plain.size() + chunk - 1) / chunk;
    out.reserve(plain.size() + records * (RecordHeaderLength + BlockSize));
    for (qsizetype pos = 0; pos < plain.size(); pos += chunk) {
        const qsizetype length = std::min(chunk, plain.size() - pos);
        const qsizetype encoded = PaddedLength(length);
        AppendLe32(out, quint32(encoded));
        AppendLe32(out, quint32(length));
        const qsizetype at = out.size();
        out.append(plain.constData() + pos, length);
        out.append(encoded - length, '\0');
        EncryptBlocks(reinterpret_cast<uchar*>(out.data()) + at, encoded);
    }
    return out;
}

QByteArray BlowFishVCL::DecryptData(const QByteArray& encrypted) const
{
    KV_LOG_SCOPE("BlowFishVCL::DecryptData");
    RequireKey();
    QByteArray out;
    // The plain text never outgrows the input: reserved at once, the buffer does not move
    // and leaves no plain text behind in memory it gave back.
    out.reserve(encrypted.size());
    try {
        qsizetype pos = 0;
        while (pos < encrypted.size()) {
            if (encrypted.size() - pos < RecordHeaderLength)
                throw EDecryptError();
            const quint32 encoded = ReadLe32(encrypted.constData() + pos);
            const quint32 length = ReadLe32(encrypted.constData() + pos + 4);
            pos += RecordHeaderLength;
            CheckRecord(encoded, length, encrypted.size() - pos);
            const qsizetype at = out.size();
            out.append(encrypted.constData() + pos, encoded);
            DecryptBlocks(reinterpret_cast<uchar*>(out.data()) + at, encoded);
            out.truncate(at + length);
            pos += encoded;
        }
    } catch (...) {
        KvWipe::Wipe(out);
        throw;
    }
    return out;
}

bool BlowFishVCL::DecryptFileToMemory(const QString& sourcePath, QByteArray& plain) const
{
    KV_LOG_SCOPE("BlowFishVCL::DecryptFileToMemory");
    RequireKey();
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    QByteArray out;
    if (!ReadRecords(source, [&out](const char* data, qsizetype length) {
            out.append(data, length);
            return true;
        }))
        return false;
    plain = std::move(out);
    return true;
}

bool BlowFishVCL::EncryptToFile(const QByteArray& plain, const QString& destinationPath,
                                qsizetype blockSize, KvAtomicFile::Access access) const
{
    KV_LOG_SCOPE("BlowFishVCL::EncryptToFile");
    RequireKey();
    if (!EffectiveBlockSize(blockSize))
        return false;
    return KvAtomicFile::WriteFile(destinationPath, EncryptData(plain, blockSize), access);
}

bool BlowFishVCL::EncryptFile(const QString& sourcePath, const QString& destinationPath,
                              qsizetype blockSize) const
{
    KV_LOG_SCOPE("BlowFishVCL::EncryptFile");
    RequireKey();
    const qsizetype chunk = EffectiveBlockSize(blockSize);
    if (!chunk)
        return false;
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    KvAtomicFile destination(destinationPath, KvAtomicFile::Access::KeepOrDefault);
    if (!destination.Open())
        return false;
    QByteArray buffer(chunk + RecordHeaderLength, Qt::Uninitialized);
    bool ok = true;
    for (;;) {
        char* data = buffer.data() + RecordHeaderLength;
        const qint64 length = source.read(data, chunk);
        if (length < 0) {
            ok = false;
            break;
        }
        if (length == 0)
            break;
        const qsizetype encoded = PaddedLength(length);
        std::memset(data + length, 0, size_t(encoded - length));
        EncryptBlocks(reinterpret_cast<uchar*>(data), encoded);
        QByteArray header;
        AppendLe32(header, quint32(encoded));
        AppendLe32(header, quint32(length));
        std::memcpy(buffer.data(), header.constData(), RecordHeaderLength);
        if (!destination.Write(buffer.constData(), RecordHeaderLength + encoded)) {
            ok = false;
            break;
        }
        if (length < chunk)
            break;
    }
    KvWipe::Wipe(buffer);
    return ok && destination.Commit();
}

bool BlowFishVCL::DecryptFile(const QString& sourcePath, const QString& destinationPath) const
{
    KV_LOG_SCOPE("BlowFishVCL::DecryptFile");
    RequireKey();
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    KvAtomicFile destination(destinationPath, KvAtomicFile::Access::OwnerOnly);
    if (!destination.Open())
        return false;
    return ReadRecords(source,
                       [&destination](const char* data, qsizetype length) {
                           return destination.Write(data, length);
                       }) &&
           destination.Commit();
}

bool BlowFishVCL::ReadRecords(QFile& source,
                              const std::function<bool(const char*, qsizetype)>& sink) const
{
    const qint64 size = source.size();
    QByteArray buffer;
    struct WipeOnExit
    {
        QByteArray& bytes;
        ~WipeOnExit() { KvWipe::Wipe(bytes); }
    } wipe{buffer};
    qint64 pos = 0;
    for (;;) {
        char header[RecordHeaderLength];
        const qint64 got = source.read(header, RecordHeaderLength);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (got < RecordHeaderLength)
            throw EDecryptError();
        pos += RecordHeaderLength;
        const quint32 encoded = ReadLe32(header);
        const quint32 length = ReadLe32(header + 4);
        CheckRecord(encoded, length, size - pos);
        if (buffer.size() < qsizetype(encoded)) {
            KvWipe::Wipe(buffer); // growing moves it: what it held must not stay behind
            buffer.resize(encoded);
        }
        const qint64 read = source.read(buffer.data(), encoded);
        if (read < 0)
            return false;
        if (read != qint64(encoded))
            throw EDecryptError();
        pos += encoded;
        DecryptBlocks(reinterpret_cast<uchar*>(buffer.data()), encoded);
        if (!sink(buffer.constData(), length))
            return false;
    }
}
