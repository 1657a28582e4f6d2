#pragma once

#include "cli/kvclierror.h"
#include "cli/kvcliio.h"
#include "model/kvpage.h"
#include "model/kvpasswordasker.h"

// The password of a protected page for a command: the first line of standard input
// (--password-stdin) or asked on the terminal without echo. Installed while it lives.
class KvCliPasswordAsker : public KvPasswordAsker
{
public:
    KvCliPasswordAsker(KvCliIo& io, bool fromStdin) : m_io(io), m_fromStdin(fromStdin)
    {
        m_previous = KvPasswordAsker::Current();
        KvPasswordAsker::SetCurrent(this);
    }
    ~KvCliPasswordAsker() override { KvPasswordAsker::SetCurrent(m_previous); }

    bool AskPassword(KvPage& page, QString& password) override
    {
        if (m_fromStdin) {
            if (!m_io.ReadStdinLine(password))
                throw KvCliError(
                    u"page %1 is protected and standard input gave no password"_qs.arg(page.Id()));
            return true;
        }
        if (!m_io.ReadPassword(u"Password for page '%1': "_qs.arg(page.Name()), password))
            throw KvCliError(u"page %1 is protected and there is no terminal to ask for its "
                             "password (use --password-stdin)"_qs.arg(page.Id()));
        return true;
    }

private:
    KvCliIo& m_io;
    bool m_fromStdin;
    KvPasswordAsker* m_previous = nullptr;
};
