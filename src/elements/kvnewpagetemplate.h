#pragma once

#include "elements/kvpagetemplate.h"

#include <QDateTime>
#include <functional>

class KvAddStatus;
struct KvTemplateEnv;

// New pages from the folder's template (KvTemplateFill): the proposal from the template's
// name and status, the content with the variables replaced by the new page's values. The
// options are read anew for each page.
class KvNewPageTemplate : public KvPageTemplate
{
public:
    using Catalogue = std::function<const KvAddStatus*()>;
    using Clock = std::function<QDateTime()>;

    // catalogue: the status catalogue of the open directory (none: the built-in statuses).
    explicit KvNewPageTemplate(Catalogue catalogue = {});

    Proposal Propose(KvFolder& folder) override;
    void Fill(KvFolder& folder, KvPage& page) override;

    // The time the variables use (tests); the current time by default.
    void SetClock(Clock clock) { m_clock = std::move(clock); }

private:
    KvTemplateEnv env() const;

    Catalogue m_catalogue;
    Clock m_clock;
};
