#pragma once

#include <QString>

// Why a search could not examine all it should have: a page's content that could not be
// read, or the keywords. The engine reports what happened; each front end words it, the
// search window from the text table, the command line in its own English.
struct KvSearchProblem
{
    enum Kind : quint8
    {
        Unreadable,      // the content file could not be read: error
        Corrupt,         // the encrypted content is no sequence of records
        NotDecrypted,    // the content could not be decrypted otherwise: detail
        KeywordsNotRead, // the keyword store could not be read (no page): detail
    };
    Kind kind = Unreadable;
    QString id;     // the page; empty for the keywords
    QString path;   // the page's content file
    int error = 0;  // the system's error number
    QString detail; // the message of what failed

    // The user's text: the table's words, the system's reason.
    QString Text() const;
    // The system's text for an error number.
    static QString SystemReason(int error);
};
