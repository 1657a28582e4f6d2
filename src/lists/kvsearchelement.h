#pragma once

#include "model/kvpagepassword.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What the search workers know of one element: taken on the thread that owns the model
// when the search starts, read-only afterwards. Workers never touch the model itself.
//
// The plain text and the password data are the element's own copies, shared with nobody,
// so that Wipe overwrites them and not a copy of a copy.
struct KvSearchElement
{
    QString id;
    bool isFolder = false;
    QString name;
    int status = 0;
    QString keywordId; // whose keywords count: a referrer's target; empty: not searched

    // Pages: where the content is, unless it is in memory already.
    QString contentPath;
    QString checkValue;                // the committed check value: names the side file of a re-key
    std::optional<QString> loadedText; // a loaded page: its document's text, edits included
    std::optional<QByteArray> pendingRtf;   // content kept for a new key, not written yet
    std::optional<KvPagePassword> password; // protected pages: class, check value, a known key

    // Overwrites the page's text and password data when the element is done with; the
    // buffers stay allocated (empty) until the element goes.
    void Wipe();
};
