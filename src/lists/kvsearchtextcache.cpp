#include "lists/kvsearchtextcache.h"

#include "model/kvplaincopies.h"
#include "model/kvrekeyfile.h"
#include "platform/kvwipe.h"

#include <QHash>
#include <mutex>

namespace {

struct Entry
{
    qint64 size = 0;
    qint64 modifiedNs = 0;
    KvSearchTextCache::Text text;
};

struct Cache
{
    std::mutex mutex;
    QHash<QString, Entry> entries;
    qsizetype bytes = 0;
};

Cache& TheCache()
{
    static Cache cache;
    return cache;
}

qsizetype BytesOf(const QString& text)
{
    return text.size() * qsizetype(sizeof(QChar));
}

// A text of the cache's own, overwritten when its last holder lets it go.
KvSearchTextCache::Text OwnText(const QString& text)
{
    return KvSearchTextCache::Text(new QString(KvWipe::Unshared(text)), [](const QString* t) {
        auto* own = const_cast<QString*>(t);
        KvWipe::Wipe(*own);
        delete own;
    });
}

// With the mutex held. The text is overwritten when its last reader is done (here, when
// none reads it now).
void Erase(Cache& c, QHash<QString, Entry>::iterator it)
{
    c.bytes -= BytesOf(*it->text);
    c.entries.erase(it);
}

} // namespace

namespace KvSearchTextCache {

Text Find(const Key& key)
{
    Cache& c = TheCache();
    const std::lock_guard lock(c.mutex);
    const auto it = c.entries.find(key.path);
    if (it == c.entries.end())
        return nullptr;
    if (it->size != key.size || it->modifiedNs != key.modifiedNs) {
        Erase(c, it);
        return nullptr;
    }
    return it->text;
}

void Keep(const Key& key, const QString& text)
{
    // From the first text on, a page that gets a password takes its text away.
    static std::once_flag installed;
    std::call_once(installed, [] { KvPlainCopies::SetKeeper(&Forget); });
    Cache& c = TheCache();
    const std::lock_guard lock(c.mutex);
    const auto it = c.entries.find(key.path);
    const qsizetype old = it == c.entries.end() ? 0 : BytesOf(*it->text);
    if (c.bytes - old + BytesOf(text) > Capacity)
        return;
    c.bytes += BytesOf(text) - old;
    c.entries.insert(key.path, Entry{key.size, key.modifiedNs, OwnText(text)});
}

void Forget(const QString& contentPath)
{
    Cache& c = TheCache();
    const std::lock_guard lock(c.mutex);
    for (const QString& path : {contentPath, KvRekeyFile::SidePath(contentPath, QString())}) {
        const auto it = c.entries.find(path);
        if (it != c.entries.end())
            Erase(c, it);
    }
}

void Clear()
{
    Cache& c = TheCache();
    const std::lock_guard lock(c.mutex);
    c.entries.clear();
    c.bytes = 0;
}

qsizetype Bytes()
{
    Cache& c = TheCache();
    const std::lock_guard lock(c.mutex);
    return c.bytes;
}

} // namespace KvSearchTextCache
