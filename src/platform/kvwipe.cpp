#include "platform/kvwipe.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<qint64> g_bytesWiped = 0;

// The buffer from the first character to the end of its allocation: what was cut off by
// an earlier resize is overwritten too.
template <typename Array> void WipeBuffer(Array& a)
{
    if (!a.isDetached()) {
        // Shared, or no buffer of its own (empty, or text of the program's image).
        a = Array();
        return;
    }
    auto& d = a.data_ptr();
    const size_t bytes = size_t(d.size + d.freeSpaceAtEnd()) * sizeof(*d.data());
    explicit_bzero(d.data(), bytes);
    a.resize(0); // keeps the allocation
    g_bytesWiped.fetch_add(qint64(bytes), std::memory_order_relaxed);
}

} // namespace

namespace KvWipe {

void Wipe(QByteArray& bytes)
{
    WipeBuffer(bytes);
}

void Wipe(QString& text)
{
    WipeBuffer(text);
}

QByteArray Unshared(const QByteArray& bytes)
{
    return bytes.isNull() ? QByteArray() : QByteArray(bytes.constData(), bytes.size());
}

QString Unshared(const QString& text)
{
    return text.isNull() ? QString() : QString(text.constData(), text.size());
}

qint64 BytesWiped()
{
    return g_bytesWiped.load(std::memory_order_relaxed);
}

} // namespace KvWipe
