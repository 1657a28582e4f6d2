#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <array>

// The Blowfish block cipher: 16 rounds, ECB, 8-byte blocks. A block is read as two
// 32-bit words in little-endian byte order (left half = bytes 0-3) and written back the
// same way, so that content files written by earlier versions stay readable.
class CBlowFish
{
public:
    static constexpr qsizetype BlockSize = 8;
    // Key bytes beyond this count have no effect on the schedule.
    static constexpr qsizetype MaxUsedKeyLength = 72;

    CBlowFish();
    ~CBlowFish();
    CBlowFish(const CBlowFish&) = default;
    CBlowFish& operator=(const CBlowFish&) = default;

    // Runs the key schedule; an empty key leaves the object without a key.
    void Initialize(QByteArrayView key);
    bool HasKey() const { return m_keyed; }

    void EncryptWords(quint32& left, quint32& right) const;
    void DecryptWords(quint32& left, quint32& right) const;
    // In place; the length must be a multiple of BlockSize.
    void EncryptBlocks(uchar* data, qsizetype length) const;
    void DecryptBlocks(uchar* data, qsizetype length) const;

    // The length rounded up to a multiple of BlockSize.
    static qsizetype PaddedLength(qsizetype length);

private:
    quint32 F(quint32 x) const;
    void Reset();

    std::array<quint32, 18> m_p{};
    std::array<std::array<quint32, 256>, 4> m_s{};
    bool m_keyed = false;
};
