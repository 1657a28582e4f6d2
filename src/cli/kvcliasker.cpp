#include "cli/kvcliasker.h"

#include "cli/kvclierror.h"
#include "cli/kvcliio.h"
#include "model/kvpage.h"

KvCliAsker::KvCliAsker(KvCliIo& io, bool fromStdin, Unanswered unanswered)
    : m_io(io), m_fromStdin(fromStdin), m_unanswered(unanswered)
{
    m_previous = KvPasswordAsker::Current();
    KvPasswordAsker::SetCurrent(this);
}

KvCliAsker::~KvCliAsker()
{
    KvPasswordAsker::SetCurrent(m_previous);
    if (m_line)
        m_line->fill(QChar(0));
}

bool KvCliAsker::AskPassword(KvPage& page, QString& password)
{
    if (m_fromStdin) {
        if (!m_line) {
            QString line;
            m_line = m_io.ReadStdinLine(line) ? line : QString();
        }
        password = *m_line;
        if (m_line->isEmpty() && m_unanswered == Unanswered::Fail)
            throw KvCliError(
                u"page %1 is protected and standard input gave no password"_qs.arg(page.Id()));
        return !m_line->isEmpty();
    }
    if (m_io.ReadPassword(u"Password for page '%1': "_qs.arg(page.Name()), password))
        return true;
    if (m_unanswered == Unanswered::Fail)
        throw KvCliError(u"page %1 is protected and there is no terminal to ask for its "
                         "password (use --password-stdin)"_qs.arg(page.Id()));
    return false;
}
