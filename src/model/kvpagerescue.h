#pragma once

#include <QString>
#include <functional>

class KvPage;

// Keeps the typed text of a page whose save fails when the notebook closes (exit, access
// switch): the user may retry, write the text to a file of their choice, discard it, or
// cancel the closing. That file is plain RTF; for a protected page the question says so
// (5528) before the file is chosen. Without a user to ask (an exit forced by a signal) the
// text goes to the page's rescue file (KvRescueFiles, written by the typing journal), in
// the page's own content format (encrypted for a protected page), which the next start
// offers back, so nothing typed is lost either way.
class KvPageRescue
{
public:
    enum class Outcome
    {
        Saved,       // the page was stored normally
        SavedToFile, // its text went to a file; the page itself is unchanged on disk
        Discarded,   // the user gave the text up
        Cancelled    // the user wants to keep the window open
    };

    // Writes the page's rescue file; returns its path, empty with a reason on failure.
    using Keep = std::function<QString(QString& reason)>;

    // save stores the page (it throws on failure). With mayAsk false the questions are
    // skipped and keep writes the rescue file.
    static Outcome SaveOrRescue(KvPage& page, const std::function<void()>& save, bool mayAsk,
                                const Keep& keep);

    // Writes the page's current text to path as RTF; false with a reason on failure.
    static bool WriteText(KvPage& page, const QString& path, QString& reason);
};
