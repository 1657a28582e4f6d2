#pragma once

#include <QString>
#include <memory>

// The plain text of unprotected page files, kept for later searches of the process: a
// text is found again only for the same path, size and time of last change. At most
// Capacity bytes of text; when full, new texts are not kept (a search reads its pages in
// one order every time, so evicting the oldest would only throw away what the next search
// needs first). Protected pages never come here, and a page leaves the moment it gets a
// password. Safe for several threads.
//
// Every text the cache lets go (replaced, out of date, forgotten, cleared) is overwritten
// once its last reader is done with it: the cache holds its own copy and hands out
// references to it, which readers must not copy.
namespace KvSearchTextCache {

inline constexpr qsizetype Capacity = 32 * 1024 * 1024;

struct Key
{
    QString path;
    qint64 size = 0;
    qint64 modifiedNs = 0;
};

// A kept text, shared by the cache and its readers.
using Text = std::shared_ptr<const QString>;

// None when no text is kept for the key; a text kept for another size or time is out of
// date and goes.
Text Find(const Key& key);
void Keep(const Key& key, const QString& text);
// Forgets the text of a page's content file (also read from its side file); when the page
// gets a password.
void Forget(const QString& contentPath);
// Forgets every text; when another data directory opens.
void Clear();
// Bytes of text held.
qsizetype Bytes();

} // namespace KvSearchTextCache
