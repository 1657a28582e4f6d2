#pragma once

#include "richtext/textmatch.h"

#include <QString>

class QTextDocument;

// Find and replace in page text as the find and replace dialogs and korvnote-cli do it,
// by the matching rule of KvTextMatch over the text the search sees (KvDocumentText).
// Positions are cursor positions.
namespace KvTextSearch {

struct Request
{
    QString term;
    KvMatchOptions options;
    bool down = true;
};

struct Hit
{
    int position = -1;
    int length = 0;
    bool Found() const { return position >= 0; }
};

// The next hit from a selection. Down: the first hit after the selection (from the caret
// without one). Up: the last hit that lies wholly before the selection's start.
Hit FindNext(const QTextDocument& document, int selStart, int selLength, const Request& request);
// A search begun again from the start (down) or the end (up) of the text.
Hit FindFromEdge(const QTextDocument& document, const Request& request);

// The selection holds the term, letter case aside: replace takes it as it is.
bool SelectionIsTerm(const QString& selected, const QString& term);

// Puts replacement in place of [position, position + length), in the character format
// of the first character replaced, as one step. Returns the end of the text put in.
int ReplaceRange(QTextDocument& document, int position, int length, const QString& replacement);

struct ReplaceAllResult
{
    int count = 0;
    // The last text put in, where it stands afterwards (down: the last in the text, up:
    // the first); -1 when nothing was replaced.
    int lastPosition = -1;
    int lastLength = 0;
};

// Replaces every hit from a cursor position to the end (down) or to the start (up); each
// search goes on after (before) the text just put in, so a replacement is never searched
// again, and whole words are judged by the text as it is after the replacements before.
// One step; linear in the length of the text.
ReplaceAllResult ReplaceAll(QTextDocument& document, int from, const Request& request,
                            const QString& replacement);

} // namespace KvTextSearch
