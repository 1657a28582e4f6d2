#pragma once

#include "lists/kvkeywords.h"
#include "lists/kvsearchcrit.h"
#include "lists/kvsearchelement.h"
#include "lists/kvsearchproblem.h"
#include "richtext/textmatch.h"

#include <QByteArray>
#include <QStringList>
#include <array>
#include <atomic>
#include <optional>

// What the examination of one element found.
struct KvSearchOutcome
{
    enum Kind : quint8
    {
        NoReport, // skipped, outside the refinement (folders) or stopped
        NotFound,
        Found,
        NeedsPassword // the content is needed and only the user can unlock it
    };
    Kind kind = NoReport;
    bool contentExamined = false; // the page's content was matched
    bool contentSkipped = false;  // it was needed but could not be examined
    qint64 bytesRead = 0;         // bytes of the content file matched (kept text counts too)
    std::optional<KvSearchProblem> problem; // why the content could not be read
};

// The answer of the password step for a page that needed one.
struct KvSearchPassword
{
    bool given = false;
    QString password;
};

// Buffers one worker reuses from page to page; overwritten after a page whose plain text
// is secret.
struct KvSearchScratch
{
    QByteArray bytes;
    QString text;
};

// The examination of one element by the criteria, on a worker thread: the same rules for
// folders and pages as the search window promises, on the data of KvSearchElement only.
// Names and keywords are matched separately; a page's content is read only when the
// criteria still need it, and extraction stops as soon as the outcome is decided.
class KvSearchExaminer
{
public:
    // restriction: the ids of the result list being refined, sorted in code point order;
    // none when the search is not a refinement. Made on the thread that starts the search.
    // keywords: element id -> keyword text; filled before the first examination.
    KvSearchExaminer(const KvSearchCrit& crit, std::optional<QStringList> restriction,
                     const KvKeywords::ObjectKeywordMap& keywords,
                     const std::atomic<bool>& stopped);

    KvSearchOutcome Examine(const KvSearchElement& e, const KvSearchPassword* answer,
                            KvSearchScratch& scratch) const;

    KvSearchOutcome SearchFolder(const KvSearchElement& e) const;
    KvSearchOutcome SearchPage(const KvSearchElement& e, const KvSearchPassword* answer,
                               KvSearchScratch& scratch) const;
    // The content file's day of last change against the criteria's day (a missing file
    // counts as day 0).
    bool ModDateFits(const KvSearchElement& e) const;
    // The id is in the refined list.
    bool ObjInList(const QString& id) const;

    // Bytes of input between two looks at the stop flag and at the text found so far.
    static constexpr qsizetype CheckInterval = 1024;

private:
    class Content;
    int TermCount() const { return m_crit.SText2.isEmpty() ? 1 : 2; }
    // The link of the terms, given whether each term matched.
    bool Combine(bool first, bool second) const;
    bool Stopped() const { return m_stopped.load(std::memory_order_relaxed); }
    QString KeywordsOf(const KvSearchElement& e) const;

    KvSearchCrit m_crit;
    // The criteria's day as instants (ms since the epoch) of its first moment and of the
    // next day's, taken where the examiner is made: workers compare file times with them
    // and convert nothing to local time.
    qint64 m_dayStartMs = 0;
    qint64 m_dayEndMs = 0;
    std::array<KvTextMatcher, 2> m_terms;
    std::optional<QStringList> m_restriction;
    const KvKeywords::ObjectKeywordMap& m_keywords;
    const std::atomic<bool>& m_stopped;
};
