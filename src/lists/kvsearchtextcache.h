#pragma once

#include <QString>
#include <optional>

// The plain text of unprotected page files, kept for later searches of the process: a
// text is found again only for the same path, size and time of last change. At most
// Capacity bytes of text; when full, new texts are not kept (a search reads its pages in
// one order every time, so evicting the oldest would only throw away what the next search
// needs first). Protected pages never come here. Safe for several threads.
namespace KvSearchTextCache {

inline constexpr qsizetype Capacity = 32 * 1024 * 1024;

struct Key
{
    QString path;
    qint64 size = 0;
    qint64 modifiedNs = 0;
};

std::optional<QString> Find(const Key& key);
void Keep(const Key& key, const QString& text);
// Forgets every text; when another data directory opens.
void Clear();
// Bytes of text held.
qsizetype Bytes();

} // namespace KvSearchTextCache
