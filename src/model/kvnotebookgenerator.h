#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Writes a whole notebook into an empty data directory for tests and benchmarks: the member
// files of the object, folder, page and keyword stores and the page content files, directly
// and in one pass. The same options and seed always give the same bytes.
struct KvGeneratorOptions
{
    quint32 seed = 1;
    int elements = 1000;        // folders and pages below the two roots
    int folderPercent = 10;     // share of folders among the elements
    int folders = -1;           // the number of folders instead of the share (not flat)
    int trashPercent = 3;       // share of top-level elements put into the trash
    int referrerPercent = 5;    // share of pages that are referrers
    int keywordPercent = 20;    // share of elements with keywords
    int protectedPercent = 2;   // share of pages with a password
    int layoutPercent = 10;     // share of folders and pages with a layout of their own
    int statusPercent = 30;     // share of elements with a status
    bool writePageFiles = true; // content files (else the pages are empty)
    bool flat = false;          // every element directly in the top folder
    int pageBytes = 0;          // paragraphs are added until a page's RTF has this many bytes
};

struct KvGeneratedNotebook
{
    QStringList folderIds;
    QStringList pageIds;                  // including referrers
    QHash<QString, QString> referrers;    // referrer id -> target id
    QHash<QString, QString> passwords;    // protected page id -> password
    QHash<QString, QString> names;        // id -> name (targets' names for referrers)
    QHash<QString, QStringList> children; // folder id (and the roots) -> child ids in order
};

namespace KvNotebookGenerator {

KvGeneratedNotebook Generate(const QString& dataDir, const KvGeneratorOptions& options);
// The words that names and page texts are made of.
const QStringList& Words();

} // namespace KvNotebookGenerator
