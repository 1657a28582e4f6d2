#include "lists/kvsearchexaminer.h"

#include "lists/kvcodepointorder.h"
#include "lists/kvsearchtextcache.h"
#include "model/blowfishvcl.h"
#include "model/kvpasswordbytes.h"
#include "model/kvrekeyfile.h"
#include "platform/kvwipe.h"
#include "richtext/rtfplaintext.h"

#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Pages whose check value is under the fixed key give their password to anybody: the
// search unlocks them without asking and leaves the page as it was.
bool PasswordRecoverable(const KvPagePassword& pw)
{
    return !KvPagePassword::CheckKey(pw.ProtectionClass(), QString()).isEmpty();
}

struct FileCloser
{
    int fd;
    ~FileCloser() { ::close(fd); }
};

// Overwrites the key of a page's content when the reading is done.
struct KeyWiper
{
    QByteArray& key;
    ~KeyWiper() { KvWipe::Wipe(key); }
};

// The key of a fixed-key page, recovered from its check value.
QByteArray RecoveredKey(const KvPagePassword& pw)
{
    QString plain = pw.GetPlainPassword();
    QByteArray key = KvPasswordBytes::Encode(plain);
    KvWipe::Wipe(plain);
    return key;
}

} // namespace

// One page's content, read at the first demand and matched for every term that may still
// change the outcome. Decrypted bytes and text are wiped when the page is done.
class KvSearchExaminer::Content
{
public:
    Content(const KvSearchExaminer& ex, const KvSearchElement& e, const KvSearchPassword* answer,
            KvSearchScratch& scratch, KvSearchOutcome& out, std::array<bool, 2> byName)
        : m_ex(ex), m_e(e), m_answer(answer), m_scratch(scratch), m_out(out), m_byName(byName)
    {}
    ~Content()
    {
        // A protected page's text, or one that was protected until its new key: secret.
        if (m_e.password || m_e.pendingRtf) {
            KvWipe::Wipe(m_scratch.bytes);
            KvWipe::Wipe(m_scratch.text);
        }
    }

    // Whether term i occurs in the content; none when the examination ends here (the
    // outcome tells why).
    std::optional<bool> Has(int i)
    {
        if (m_state == State::Unread)
            m_state = Read();
        if (m_state != State::Done)
            return std::nullopt;
        return m_found[i];
    }

private:
    enum class State
    {
        Unread,
        Done,
        Ended
    };

    State Read();
    State Fail(KvSearchProblem::Kind kind, int error = 0, const QString& detail = {});
    bool Decided() const;
    void Scan(const QString& text, bool complete);
    State ScanRtf(QByteArrayView rtf);

    const KvSearchExaminer& m_ex;
    const KvSearchElement& m_e;
    const KvSearchPassword* m_answer;
    KvSearchScratch& m_scratch;
    KvSearchOutcome& m_out;
    std::array<bool, 2> m_byName;
    std::array<bool, 2> m_found{};
    std::array<qsizetype, 2> m_scanned{}; // hits starting before this were ruled out
    State m_state = State::Unread;
    bool m_complete = false; // the extraction ran to the end
};

KvSearchExaminer::Content::State KvSearchExaminer::Content::Fail(KvSearchProblem::Kind kind,
                                                                 int error, const QString& detail)
{
    m_out.kind = KvSearchOutcome::NotFound;
    m_out.contentSkipped = true;
    m_out.problem = KvSearchProblem{kind, m_e.id, m_e.contentPath, error, detail};
    return State::Ended;
}

// True when the outcome is the same however the terms not found so far turn out.
bool KvSearchExaminer::Content::Decided() const
{
    std::optional<bool> outcome;
    for (int mask = 0; mask < 4; ++mask) {
        std::array<bool, 2> p{};
        bool possible = true;
        for (int i = 0; i < 2; ++i) {
            const bool content = mask & (1 << i);
            if (m_found[i] && !content)
                possible = false; // a found term stays found
            if (content && i >= m_ex.TermCount())
                possible = false;
            p[i] = m_byName[i] || content;
        }
        if (!possible)
            continue;
        const bool value = m_ex.Combine(p[0], p[1]);
        if (outcome && *outcome != value)
            return false;
        outcome = value;
    }
    return true;
}

// Matches the terms still open against the text added since the last look. Before the
// end, a hit touching the end is left for the next look: the character after it decides
// whole words.
void KvSearchExaminer::Content::Scan(const QString& text, bool complete)
{
    for (int i = 0; i < m_ex.TermCount(); ++i) {
        if (m_found[i] || m_byName[i])
            continue;
        const KvTextMatcher& term = m_ex.m_terms[i];
        const qsizetype end = complete ? text.size() : text.size() - 1;
        if (term.Find(text, m_scanned[i], end) >= 0)
            m_found[i] = true;
        else
            m_scanned[i] = std::max(m_scanned[i], end - term.Term().size() + 1);
    }
}

KvSearchExaminer::Content::State KvSearchExaminer::Content::ScanRtf(QByteArrayView rtf)
{
    const bool complete =
        KvRtfPlainText::Extract(rtf, m_scratch.text, CheckInterval, [this](const QString& soFar) {
            if (m_ex.Stopped())
                return false;
            Scan(soFar, false);
            return !Decided();
        });
    if (m_ex.Stopped())
        return State::Ended;
    m_complete = complete;
    if (complete)
        Scan(m_scratch.text, true);
    m_out.contentExamined = true;
    return State::Done;
}

KvSearchExaminer::Content::State KvSearchExaminer::Content::Read()
{
    if (m_e.loadedText) {
        Scan(*m_e.loadedText, true);
        m_out.contentExamined = true;
        return State::Done;
    }
    if (m_e.pendingRtf)
        return ScanRtf(*m_e.pendingRtf);

    QByteArray key;
    const KeyWiper keyWiper{key};
    if (m_e.password) {
        const KvPagePassword& pw = *m_e.password;
        if (m_answer) {
            if (!m_answer->given) {
                // As a wrong or missing password: the page does not match, nothing to tell.
                m_out.kind = KvSearchOutcome::NotFound;
                m_out.contentSkipped = true;
                return State::Ended;
            }
            key = KvPasswordBytes::Encode(m_answer->password);
        } else if (PasswordRecoverable(pw)) {
            key = RecoveredKey(pw);
        } else if (pw.Unlocked()) {
            key = pw.ContentKey();
        } else {
            m_out.kind = KvSearchOutcome::NeedsPassword;
            return State::Ended;
        }
    }

    // Plain POSIX calls: a worker reads many small files, and a sanitizer sees every step.
    const QString path = KvRekeyFile::ReadPath(m_e.contentPath, m_e.checkValue);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return ScanRtf({}); // a page never saved: empty
        return Fail(KvSearchProblem::Unreadable, errno);
    }
    const FileCloser closer{fd};
    struct stat st
    {
    };
    if (::fstat(fd, &st) != 0)
        return Fail(KvSearchProblem::Unreadable, errno);
    std::optional<KvSearchTextCache::Key> cacheKey;
    if (!m_e.password) {
        cacheKey =
            KvSearchTextCache::Key{path, qint64(st.st_size),
                                   qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
        if (const KvSearchTextCache::Text text = KvSearchTextCache::Find(*cacheKey)) {
            Scan(*text, true);
            m_out.contentExamined = true;
            m_out.bytesRead = cacheKey->size; // the content, though not from the disk
            return State::Done;
        }
    }
    QByteArray& bytes = m_scratch.bytes;
    bytes.resize(st.st_size);
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return Fail(KvSearchProblem::Unreadable, errno);
        if (n == 0)
            break; // shorter than it was a moment ago
        got += n;
    }
    bytes.resize(got);
    m_out.bytesRead = got;
    if (!m_e.password) {
        // Only a text extracted to its end is kept: an outcome decided early leaves it cut.
        const State state = ScanRtf(bytes);
        if (cacheKey && m_complete)
            KvSearchTextCache::Keep(*cacheKey, m_scratch.text);
        return state;
    }
    try {
        const BlowFishVCL cipher(key);
        QByteArray plain = cipher.DecryptData(bytes);
        bytes.swap(plain); // the encrypted bytes go, the scratch holds the plain ones
    } catch (const BlowFishVCL::EDecryptError&) {
        return Fail(KvSearchProblem::Corrupt);
    } catch (const KvException& e) {
        return Fail(KvSearchProblem::NotDecrypted, 0, e.Message());
    }
    return ScanRtf(bytes);
}

KvSearchExaminer::KvSearchExaminer(const KvSearchCrit& crit, std::optional<QStringList> restriction,
                                   const KvKeywords::ObjectKeywordMap& keywords,
                                   const std::atomic<bool>& stopped)
    : m_crit(crit), m_restriction(std::move(restriction)), m_keywords(keywords), m_stopped(stopped)
{
    const QDate day = QDate(1899, 12, 30).addDays(qint64(std::floor(crit.SDate)));
    m_dayStartMs = QDateTime(day, QTime(0, 0)).toMSecsSinceEpoch();
    m_dayEndMs = QDateTime(day.addDays(1), QTime(0, 0)).toMSecsSinceEpoch();
    m_terms[0] = KvTextMatcher(crit.SText1, {crit.WhWord1, crit.MtCase1});
    m_terms[1] = KvTextMatcher(crit.SText2, {crit.WhWord2, crit.MtCase2});
}

bool KvSearchExaminer::Combine(bool first, bool second) const
{
    if (TermCount() == 1)
        return first;
    switch (m_crit.Cond) {
    case KvSearchCrit::And:
        return first && second;
    case KvSearchCrit::Or:
        return first || second;
    default:
        return !second && first;
    }
}

QString KvSearchExaminer::KeywordsOf(const KvSearchElement& e) const
{
    if (e.keywordId.isEmpty())
        return {};
    const auto it = m_keywords.find(e.keywordId);
    return it == m_keywords.end() ? QString() : it->second;
}

bool KvSearchExaminer::ObjInList(const QString& id) const
{
    if (Stopped() || !m_restriction)
        return false;
    const auto it =
        std::lower_bound(m_restriction->begin(), m_restriction->end(), id, KvCodePointLess());
    return it != m_restriction->end() && *it == id;
}

bool KvSearchExaminer::ModDateFits(const KvSearchElement& e) const
{
    if (Stopped())
        return false;
    // -1 before, 0 on, 1 after the criteria's day.
    int where = 0;
    struct stat st
    {
    };
    const QString path = KvRekeyFile::ReadPath(e.contentPath, e.checkValue);
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        const qint64 ms = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1'000'000;
        where = ms < m_dayStartMs ? -1 : ms >= m_dayEndMs ? 1 : 0;
    } else {
        // A file that cannot be found counts as changed on day 0.
        const qint64 wanted = qint64(std::floor(m_crit.SDate));
        where = wanted > 0 ? -1 : wanted < 0 ? 1 : 0;
    }
    switch (m_crit.DSCond) {
    case KvSearchCrit::Before:
        return where < 0;
    case KvSearchCrit::On:
        return where == 0;
    case KvSearchCrit::After:
        return where > 0;
    default:
        return true;
    }
}

KvSearchOutcome KvSearchExaminer::Examine(const KvSearchElement& e, const KvSearchPassword* answer,
                                          KvSearchScratch& scratch) const
{
    if (!e.isFolder)
        return SearchPage(e, answer, scratch);
    if (m_crit.FldrN || m_crit.FldrK)
        return SearchFolder(e);
    return {};
}

KvSearchOutcome KvSearchExaminer::SearchFolder(const KvSearchElement& e) const
{
    KvSearchOutcome out;
    if (Stopped())
        return out;
    if (m_restriction && !ObjInList(e.id))
        return out;
    out.kind = KvSearchOutcome::NotFound;
    if (m_crit.StatusSearch && e.status != m_crit.SStatus)
        return out;
    bool found = false;
    if (m_crit.HasNoTerm()) {
        // Without a term a folder matches through the status filter only; the date filter
        // never applies to folders.
        found = m_crit.StatusSearch;
    } else {
        const QString keywords = m_crit.FldrK ? KeywordsOf(e) : QString();
        std::array<bool, 2> t{};
        for (int i = 0; i < TermCount(); ++i)
            t[i] = (m_crit.FldrN && m_terms[i].Contains(e.name)) ||
                   (m_crit.FldrK && m_terms[i].Contains(keywords));
        found = Combine(t[0], t[1]);
    }
    if (found)
        out.kind = KvSearchOutcome::Found;
    return out;
}

KvSearchOutcome KvSearchExaminer::SearchPage(const KvSearchElement& e,
                                             const KvSearchPassword* answer,
                                             KvSearchScratch& scratch) const
{
    KvSearchOutcome out;
    if (Stopped())
        return out;
    out.kind = KvSearchOutcome::NotFound;
    if (!m_crit.PageN && !m_crit.PageC && !m_crit.PageK)
        return out;
    if (m_restriction && !ObjInList(e.id))
        return out;
    if (m_crit.StatusSearch && e.status != m_crit.SStatus)
        return out;
    if (m_crit.DateSearch && !ModDateFits(e))
        return out;
    if (m_crit.HasNoTerm()) {
        out.kind = KvSearchOutcome::Found;
        return out;
    }

    const QString keywords = m_crit.PageK ? KeywordsOf(e) : QString();
    std::array<bool, 2> byName{};
    for (int i = 0; i < TermCount(); ++i)
        byName[i] = (m_crit.PageN && m_terms[i].Contains(e.name)) ||
                    (m_crit.PageK && m_terms[i].Contains(keywords));
    const bool contentAllowed = m_crit.PageC && (!e.password || m_crit.PageCPw);
    Content content(*this, e, answer, scratch, out, byName);
    // The page text test of one term; none when the examination ended inside it.
    auto test = [&](int i) -> std::optional<bool> {
        if (Stopped())
            return false;
        if (byName[i])
            return true;
        if (!contentAllowed)
            return false;
        return content.Has(i);
    };
    // The terms in the order the link tests them, with its short cuts.
    std::optional<bool> found;
    if (TermCount() == 1) {
        found = test(0);
    } else if (m_crit.Cond == KvSearchCrit::And) {
        found = test(0);
        if (found && *found)
            found = test(1);
    } else if (m_crit.Cond == KvSearchCrit::Or) {
        found = test(0);
        if (found && !*found)
            found = test(1);
    } else {
        const std::optional<bool> second = test(1);
        found = second ? (*second ? std::optional(false) : test(0)) : std::nullopt;
    }
    if (Stopped())
        return {};
    if (found)
        out.kind = *found ? KvSearchOutcome::Found : KvSearchOutcome::NotFound;
    return out;
}
