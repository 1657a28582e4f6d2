#pragma once

#include "model/kvpasswordasker.h"

#include <QString>
#include <optional>

class KvCliIo;

// The password of protected pages for a command while it lives: one line of standard
// input, read at the first question and given for every page, or the terminal asked for
// each page. Without an answer (no line, no terminal) the question is cancelled, or, for
// commands that cannot go on without the page, fails with a line saying why.
class KvCliAsker : public KvPasswordAsker
{
public:
    enum class Unanswered
    {
        Cancel,
        Fail
    };
    KvCliAsker(KvCliIo& io, bool fromStdin, Unanswered unanswered = Unanswered::Cancel);
    ~KvCliAsker() override;
    KvCliAsker(const KvCliAsker&) = delete;
    KvCliAsker& operator=(const KvCliAsker&) = delete;

    bool AskPassword(KvPage& page, QString& password) override;

private:
    KvCliIo& m_io;
    bool m_fromStdin;
    Unanswered m_unanswered;
    std::optional<QString> m_line;
    KvPasswordAsker* m_previous = nullptr;
};
