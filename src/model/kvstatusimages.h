#pragma once

#include <QString>

// The numbering of the tree's image list and the program's own images for it.
namespace KvStatusImages {

inline constexpr int TopFolder = 0;
inline constexpr int TrashFolder = 1;
inline constexpr int Folder = 2; // a folder without status
inline constexpr int Lock = 3;   // state image of a write-protected page
inline constexpr int StatusBase = 4;
inline constexpr int BuiltInStatusCount = 13;
// The first image of the status catalogue: status 14 + k has image 18 + k.
inline constexpr int FirstCatalogueImage = StatusBase + BuiltInStatusCount + 1;

// Image of a page with status n, and of a folder (status 0 shows the folder image).
inline int ForPage(int status)
{
    return StatusBase + status;
}
inline int ForFolder(int status)
{
    return status == 0 ? Folder : StatusBase + status;
}

// Key of the icon-definitions file for status n (0 to 13); forFolder picks the folder
// variant of status 0. Empty for other numbers.
QString IconKey(int status, bool forFolder);
// Keys of the fixed images.
inline const QString TopFolderKey = u"TOPFOLDER"_qs;
inline const QString TrashFolderKey = u"TRASHFOLDER"_qs;
inline const QString LockKey = u"LOCK"_qs;

// Resource path of the built-in image at index 0 to 17 (index 4 is the page without
// status); empty beyond.
QString BuiltInImage(int index);

} // namespace KvStatusImages
