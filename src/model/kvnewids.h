#pragma once

#include <QString>
#include <functional>

// New ids of pages and folders. An id is never handed out twice in a notebook: a link, a
// bookmark, a saved result or another user's history that names a deleted element must not
// come to name a new one. The object store keeps the highest number handed out per prefix
// (section "HighIds", keys "Page" and "Fldr"; readers that do not know it pass it by); a
// notebook without it starts above the highest id among its sections and content files.
namespace KvNewIds {

inline const QString HighSection = QStringLiteral("HighIds");

// Inside a store batch, the first new page id also starts the batch's journal, so that a
// crash before the batch's end removes the content files of the pages it made.
QString NewPageId();
// alsoTaken: further ids to pass over (ids a list names although their section is lost).
QString NewFolderId(const std::function<bool(const QString& id)>& alsoTaken = {});
// The element's sections go for good: its number counts as handed out.
void NoteGone(const QString& id);
// The highest number handed out for prefix as the store knows it now (tests, check).
int HighWater(const QString& prefix);

} // namespace KvNewIds
