#include "cli/kvcliasker.h"

#include "cli/kvcliio.h"
#include "model/kvpage.h"

KvCliAsker::KvCliAsker(KvCliIo& io, bool fromStdin) : m_io(io), m_fromStdin(fromStdin)
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
        return !m_line->isEmpty();
    }
    return m_io.ReadPassword(u"Password for page '%1': "_qs.arg(page.Name()), password);
}
