#include "model/cblowfish.h"

#include "model/cblowfishtables.h"

#include <cstring>

namespace {

quint32 ReadLe(const uchar* p)
{
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

void WriteLe(uchar* p, quint32 v)
{
    p[0] = uchar(v);
    p[1] = uchar(v >> 8);
    p[2] = uchar(v >> 16);
    p[3] = uchar(v >> 24);
}

} // namespace

CBlowFish::CBlowFish()
{
    Reset();
}

CBlowFish::~CBlowFish()
{
    // The schedule is derived from the password; do not leave it in freed memory.
    explicit_bzero(m_p.data(), sizeof(m_p));
    explicit_bzero(m_s.data(), sizeof(m_s));
}

void CBlowFish::Reset()
{
    std::memcpy(m_p.data(), kBlowFishInitP, sizeof(m_p));
    std::memcpy(m_s.data(), kBlowFishInitS, sizeof(m_s));
    m_keyed = false;
}

quint32 CBlowFish::F(quint32 x) const
{
    return ((m_s[0][x >> 24] + m_s[1][(x >> 16) & 0xff]) ^ m_s[2][(x >> 8) & 0xff]) +
           m_s[3][x & 0xff];
}

void CBlowFish::Initialize(QByteArrayView key)
{
    Reset();
    if (key.isEmpty())
        return;
    const auto* k = reinterpret_cast<const uchar*>(key.data());
    const qsizetype n = key.size();
    qsizetype j = 0;
    for (quint32& p : m_p) {
        quint32 word = 0;
        for (int b = 0; b < 4; ++b) {
            word = (word << 8) | k[j];
            j = (j + 1) % n;
        }
        p ^= word;
    }
    quint32 l = 0;
    quint32 r = 0;
    for (size_t i = 0; i < m_p.size(); i += 2) {
        EncryptWords(l, r);
        m_p[i] = l;
        m_p[i + 1] = r;
    }
    for (auto& box : m_s) {
        for (size_t i = 0; i < box.size(); i += 2) {
            EncryptWords(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
    m_keyed = true;
}

void CBlowFish::EncryptWords(quint32& left, quint32& right) const
{
    quint32 l = left;
    quint32 r = right;
    for (int i = 0; i < kBlowFishRounds; i += 2) {
        l ^= m_p[i];
        r ^= F(l);
        r ^= m_p[i + 1];
        l ^= F(r);
    }
    l ^= m_p[16];
    r ^= m_p[17];
    left = r;
    right = l;
}

void CBlowFish::DecryptWords(quint32& left, quint32& right) const
{
    quint32 l = left;
    quint32 r = right;
    for (int i = kBlowFishRounds + 1; i > 1; i -= 2) {
        l ^= m_p[i];
        r ^= F(l);
        r ^= m_p[i - 1];
        l ^= F(r);
    }
    l ^= m_p[1];
    r ^= m_p[0];
    left = r;
    right = l;
}

void CBlowFish::EncryptBlocks(uchar* data, qsizetype length) const
{
    Q_ASSERT(length % BlockSize == 0);
    for (qsizetype i = 0; i + BlockSize <= length; i += BlockSize) {
        quint32 l = ReadLe(data + i);
        quint32 r = ReadLe(data + i + 4);
        EncryptWords(l, r);
        WriteLe(data + i, l);
        WriteLe(data + i + 4, r);
    }
}

void CBlowFish::DecryptBlocks(uchar* data, qsizetype length) const
{
    Q_ASSERT(length % BlockSize == 0);
    for (qsizetype i = 0; i + BlockSize <= length; i += BlockSize) {
        quint32 l = ReadLe(data + i);
        quint32 r = ReadLe(data + i + 4);
        DecryptWords(l, r);
        WriteLe(data + i, l);
        WriteLe(data + i + 4, r);
    }
}

qsizetype CBlowFish::PaddedLength(qsizetype length)
{
    return (length + BlockSize - 1) / BlockSize * BlockSize;
}
