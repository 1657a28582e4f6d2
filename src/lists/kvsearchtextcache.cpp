#include "lists/kvsearchtextcache.h"

#include <QHash>
#include <mutex>

namespace {

struct Entry
{
    qint64 size = 0;
    qint64 modifiedNs = 0;
    QString text;
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

} // namespace

namespace KvSearchTextCache {

std::optional<QString> Find(const Key& key)
{
    Cache& c = TheCache();
    const std::lock_guard lock(c.mutex);
    const auto it = c.entries.constFind(key.path);
    if (it == c.entries.constEnd() || it->size != key.size || it->modifiedNs != key.modifiedNs)
        return std::nullopt;
    return it->text;
}

void Keep(const Key& key, const QString& text)
{
    Cache& c = TheCache();
    const std::lock_guard lock(c.mutex);
    const auto it = c.entries.find(key.path);
    const qsizetype old = it == c.entries.end() ? 0 : BytesOf(it->text);
    if (c.bytes - old + BytesOf(text) > Capacity)
        return;
    c.bytes += BytesOf(text) - old;
    c.entries.insert(key.path, Entry{key.size, key.modifiedNs, text});
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
