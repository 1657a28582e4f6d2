#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// The intent journal of a bulk change of a data directory ("kvjournal.dat"), which makes
// the change all or nothing after a crash. It is always replaced atomically, so it is
// either absent or complete, in one of two forms:
//  - begun: the change is under way and has written content files of new pages, whose
//    numbers start at a recorded one; no member file has changed yet. Recovery rolls the
//    change back: those content files go.
//  - redo: every member file the change writes, with its whole new content, and the
//    content files it deletes or renames afterwards. Written and synced before the first
//    member file changes; recovery rolls the change forward by writing it all again.
// The journal is removed once everything it names is done. Only the holder of the
// directory's lock writes or recovers it; a read-only opening only reports it.
namespace KvBatchJournal {

inline const QString FileName = QStringLiteral("kvjournal.dat");

struct Redo
{
    std::vector<std::pair<QString, QByteArray>> writes; // file name in the directory, bytes
    QStringList deletes;                                // file names
    QList<std::pair<QString, QString>> renames;         // from, to (file names)
    bool IsEmpty() const { return writes.empty() && deletes.isEmpty() && renames.isEmpty(); }
};

enum class Outcome
{
    None,          // no journal
    RolledBack,    // a begun change was undone
    RolledForward, // a written change was completed
    Waiting,       // a journal is there but the opening may not write
    Damaged,       // unreadable: set aside as "kvjournal.dat.damaged", nothing done
};

QString Path(const QString& dataDir);
bool Exists(const QString& dataDir);

// Each raises TexProfileFile::EIniFileFlush (text 65505) naming the journal when it cannot
// be written; nothing of the change is on disk then.
void WriteBegun(const QString& dataDir, const QString& pagePrefix, int firstNewPage);
void WriteRedo(const QString& dataDir, const Redo& redo);
// Carries out what a redo journal names (each member written atomically, then the deletes
// and renames, all synced), then removes the journal. Raises EIniFileFlush when a file
// cannot be written; the journal then stays.
void RollForward(const QString& dataDir, const Redo& redo);
// The second half of that, once the member files are written: the deletes and renames,
// then the journal goes.
void Complete(const QString& dataDir, const Redo& redo);
// Removes the journal; false (logged) when it cannot.
bool Remove(const QString& dataDir);

// Recovery at an opening: rolls a journal found back or forward when writable, else only
// reports it. *detail receives a short English description for logs and korvnote-cli.
Outcome Recover(const QString& dataDir, bool writable, QString* detail = nullptr);

} // namespace KvBatchJournal
